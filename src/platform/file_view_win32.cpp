#include "platform/win32_headers.h"

#include "platform/file_view.h"

bool OpenFileView(const char* path, FileView& view) {
    view = FileView{};
    // Read sharing only: while the picture is mapped nobody can write to it or cut it short.
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;

    // An empty file has nothing to map: the mapping itself is refused.
    HANDLE mapping = CreateFileMappingA(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    if (!mapping) {
        CloseHandle(file);
        return false;
    }
    const void* data = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
    LARGE_INTEGER size{};
    if (!data || !GetFileSizeEx(file, &size) || size.QuadPart <= 0) {
        if (data) UnmapViewOfFile(data);
        CloseHandle(mapping);
        CloseHandle(file);
        return false;
    }
    view.data = static_cast<const uint8_t*>(data);
    view.size = static_cast<size_t>(size.QuadPart);
    view.file = reinterpret_cast<intptr_t>(file);
    view.mapping = reinterpret_cast<intptr_t>(mapping);
    return true;
}

void CloseFileView(FileView& view) {
    if (view.data) UnmapViewOfFile(view.data);
    if (view.mapping != -1) CloseHandle(reinterpret_cast<HANDLE>(view.mapping));
    if (view.file != -1) CloseHandle(reinterpret_cast<HANDLE>(view.file));
    view = FileView{};
}
