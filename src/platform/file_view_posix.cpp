#include "platform/file_view.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

bool OpenFileView(const char* path, FileView& view) {
    view = FileView{};
    // O_NONBLOCK so that opening a FIFO by mistake cannot hang the caller; it is refused below.
    int descriptor = open(path, O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (descriptor < 0) return false;

    struct stat info;
    if (fstat(descriptor, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
        close(descriptor);
        return false;
    }
    size_t size = static_cast<size_t>(info.st_size);
    // MAP_POPULATE reads the whole file in one go instead of one page fault per page: the loader
    // walks every byte of it anyway.
    void* data = mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, descriptor, 0);
    if (data == MAP_FAILED) {
        close(descriptor);
        return false;
    }
    view.data = static_cast<const uint8_t*>(data);
    view.size = size;
    view.file = descriptor;
    return true;
}

void CloseFileView(FileView& view) {
    if (view.data) munmap(const_cast<uint8_t*>(view.data), view.size);
    if (view.file >= 0) close(static_cast<int>(view.file));
    view = FileView{};
}
