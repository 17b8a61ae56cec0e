#include "platform/file_paths.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

// Paths stay in the ANSI code page throughout, as GetModuleFileNameA gives them and fopen takes
// them: std::filesystem would convert them through the C library's locale, which knows no
// letters beyond ASCII and throws where it fails.

const char PathSeparator = '\\';

std::string ExecutableDirectory() {
    // A buffer of MAX_PATH is cut short silently on long paths: grow it until the name fits.
    std::string file(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetModuleFileNameA(nullptr, &file[0], static_cast<DWORD>(file.size()));
        if (length == 0) return std::string();
        if (length < file.size()) {
            file.resize(length);
            break;
        }
        if (file.size() >= 32768) return std::string(); // longer than any Windows path
        file.resize(file.size() * 2);
    }
    size_t separator = file.find_last_of("\\/");
    if (separator == std::string::npos) return std::string();
    return file.substr(0, separator);
}

bool IsFolder(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::string AbsolutePath(const std::string& path) {
    // GetFullPathNameA also works out "." and ".." in the text.
    std::string full(MAX_PATH, '\0');
    for (;;) {
        DWORD length = GetFullPathNameA(path.c_str(), static_cast<DWORD>(full.size()), &full[0], nullptr);
        if (length == 0) return path;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length); // the size needed, terminator included
    }
}
