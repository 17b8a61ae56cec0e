#include "platform/executable_path.h"

#define WIN32_LEAN_AND_MEAN
#include <windows.h>

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
