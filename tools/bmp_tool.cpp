// quorvane-bmp FILE [OUT.png|OUT.ppm]
//
// Loads FILE with the scene's own bitmap loader and tells what kind of bitmap it is, or the
// message the scene would show for it (exit code 1). With OUT, writes the decoded picture, top row
// first, as PNG (or binary PPM when OUT ends in ".ppm").
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "assets/bitmap_loader.h"
#include "assets/dib_convert.h"
#include "common/png_file.h"
#include "platform/file_view.h"
#include "common/loader_errors.h"

namespace {

uint32_t Read32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}
uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

const char* CompressionName(uint32_t compression) {
    switch (compression) {
    case BI_RGB:
        return "BI_RGB";
    case BI_RLE8:
        return "BI_RLE8";
    case BI_RLE4:
        return "BI_RLE4";
    case BI_BITFIELDS:
        return "BI_BITFIELDS";
    default:
        return nullptr;
    }
}

// One line about the headers of a file the loader accepted (so they are known to be there).
void Describe(const char* path) {
    FileView view;
    if (!OpenFileView(path, view)) return;
    bool fileHeader = view.size >= 2 && view.data[0] == 'B' && view.data[1] == 'M';
    const uint8_t* info = view.data + (fileHeader ? 14 : 0);
    uint32_t headerSize = Read32(info);
    bool core = headerSize == 12;
    int64_t width = core ? Read16(info + 4) : int32_t(Read32(info + 4));
    int64_t height = core ? Read16(info + 6) : int32_t(Read32(info + 8));
    uint16_t bitCount = Read16(info + (core ? 10 : 14));
    uint32_t compression = core ? BI_RGB : Read32(info + 16);
    const char* name = CompressionName(compression);
    std::printf("%s: %u-byte info header %s file header, %lld x %lld%s, %u bits per pixel, ", path,
                headerSize, fileHeader ? "with" : "without", static_cast<long long>(width),
                static_cast<long long>(height < 0 ? -height : height), height < 0 ? " (top-down)" : "",
                bitCount);
    if (name)
        std::printf("%s\n", name);
    else
        std::printf("compression %u\n", compression);
    CloseFileView(view);
}

bool EndsWith(const std::string& text, const char* ending) {
    size_t length = std::strlen(ending);
    return text.size() >= length && text.compare(text.size() - length, length, ending) == 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: quorvane-bmp FILE [OUT.png|OUT.ppm]\n");
        return 2;
    }
    // The loader's failure text is printed instead of shown in a box.
    std::string text;
    RgbImage* image = LoadBitmapForTool(argv[1], text);
    if (!image) {
        if (!EndsWith(text, "\n")) text += "\n";
        std::fprintf(stderr, "%s: %s", argv[1], text.c_str());
        return 1;
    }
    Describe(argv[1]);

    int status = 0;
    if (argc == 3) {
        // The loader gives the bottom row first; picture files start at the top.
        RgbPicture picture;
        picture.width = image->width;
        picture.height = image->height;
        size_t rowBytes = size_t(image->width) * 3;
        picture.pixels.resize(rowBytes * size_t(image->height));
        for (int32_t row = 0; row < image->height; row++)
            std::memcpy(&picture.pixels[(size_t(image->height) - 1 - row) * rowBytes],
                        image->pixels + row * rowBytes, rowBytes);
        std::string out = argv[2];
        std::string error;
        bool written = EndsWith(out, ".ppm") ? WritePpm(out, picture, error) : WritePng(out, picture, error);
        if (!written) {
            std::fprintf(stderr, "quorvane-bmp: %s\n", error.c_str());
            status = 1;
        }
    }
    std::free(image->pixels);
    std::free(image);
    return status;
}
