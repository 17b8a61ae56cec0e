#include "common/png_file.h"

#include <fstream>

bool WritePpm(const std::string& path, const RgbPicture& picture, std::string& error) {
    std::ofstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot write " + path;
        return false;
    }
    file << "P6\n" << picture.width << ' ' << picture.height << "\n255\n";
    file.write(reinterpret_cast<const char*>(picture.pixels.data()),
               static_cast<std::streamsize>(picture.pixels.size()));
    if (!file.flush()) {
        error = "short write to " + path;
        return false;
    }
    return true;
}
