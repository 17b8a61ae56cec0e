#include "assets/bitmap_loader.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "assets/dib_convert.h"
#include "platform/file_view.h"
#include "platform/platform.h"

bool errorPopupsEnabled = true;

namespace {

void ShowErrorBox(const char* text) {
    Platform& platform = CurrentPlatform();
    platform.MessageBox(platform.GetFocus(), text, "Error", MB_OK);
}

LoaderErrorSink errorSink = ShowErrorBox;

const char OutOfMemory[] = "Out of memory.";
const char UnknownFormat[] = "Unknown DIB file format.";
const char ConversionError[] = "Image file conversion error.";

void ShowError(const char* text) {
    if (errorPopupsEnabled) errorSink(text);
}

void ShowOpenFailure(const char* path) {
    // The text goes into a 256-character buffer. A long path is cut so that the text still ends
    // with its ".\n", and the cut falls between UTF-8 characters so the box gets valid text.
    char message[256];
    const char prefix[] = "Failed to open DIB file ";
    const char suffix[] = ".\n";
    size_t room = sizeof message - 1 - (sizeof prefix - 1) - (sizeof suffix - 1);
    size_t length = std::strlen(path);
    if (length > room) {
        length = room;
        while (length > 0 && (static_cast<uint8_t>(path[length]) & 0xC0) == 0x80) length--;
    }
    std::snprintf(message, sizeof message, "Failed to open DIB file %.*s.\n", static_cast<int>(length), path);
    ShowError(message);
}

// Fields are little-endian and, after a 14-byte file header, unaligned: read them byte by byte.
uint16_t Read16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Read32(const uint8_t* p) {
    return uint32_t{p[0]} | (uint32_t{p[1]} << 8) | (uint32_t{p[2]} << 16) | (uint32_t{p[3]} << 24);
}

// What one call holds; released in this order: the converted header, then the pixel block (which
// also holds the target) when no record took it.
struct Scratch {
    uint8_t* converted = nullptr; // converted header followed by its colour table
    uint8_t* pixels = nullptr;
    RgbImage* record = nullptr;
};

RgbImage* Release(Scratch& scratch) {
    std::free(scratch.converted);
    if (!scratch.record) std::free(scratch.pixels);
    return scratch.record;
}

RgbImage* Fail(Scratch& scratch, const char* text) {
    ShowError(text);
    return Release(scratch);
}

// Blue, green, red pixels to red, green, blue. `out` may be `in` or lie before it: every group of
// pixels is read before it is written.
void SwapRow(const uint8_t* in, uint8_t* out, uint32_t count) {
    uint32_t x = 0;
#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_LITTLE_ENDIAN__
    // Four pixels at a time as three 32-bit words: b0 g0 r0 b1 | g1 r1 b2 g2 | r2 b3 g3 r3 becomes
    // r0 g0 b0 r1 | g1 b1 r2 g2 | b2 r3 g3 b3. This pass runs over every pixel of every picture.
    for (; x + 4 <= count; x += 4, in += 12, out += 12) {
        uint32_t a, b, c;
        std::memcpy(&a, in, 4);
        std::memcpy(&b, in + 4, 4);
        std::memcpy(&c, in + 8, 4);
        uint32_t p = ((a >> 16) & 0xFF) | (a & 0xFF00) | ((a & 0xFF) << 16) | ((b << 16) & 0xFF000000);
        uint32_t q = (b & 0xFF) | ((a >> 16) & 0xFF00) | ((c & 0xFF) << 16) | (b & 0xFF000000);
        uint32_t r = ((b >> 16) & 0xFF) | ((c >> 16) & 0xFF00) | (c & 0xFF0000) | ((c << 16) & 0xFF000000);
        std::memcpy(out, &p, 4);
        std::memcpy(out + 4, &q, 4);
        std::memcpy(out + 8, &r, 4);
    }
#endif
    for (; x < count; x++, in += 3, out += 3) {
        uint8_t blue = in[0], green = in[1], red = in[2];
        out[0] = red;
        out[1] = green;
        out[2] = blue;
    }
}

// The copy from the target (blue, green, red; rows filled out to `stride` bytes; in the source's
// order) to red, green, blue rows without gaps, bottom row first whichever way the source ran.
// The target is either the source itself or the pixel block: then each packed row lands at or
// before the padded row it comes from, so the rows are packed in place, front to back, and a
// top-down picture is turned over afterwards.
void CopyTargetRows(const uint8_t* target, uint64_t stride, int32_t width, int32_t height, uint8_t* pixels) {
    uint32_t rows = height < 0 ? uint32_t(-int64_t(height)) : uint32_t(height);
    size_t rowBytes = size_t(uint32_t(width)) * 3;
    bool inPlace = target == pixels;
    for (uint32_t row = 0; row < rows; row++) {
        uint32_t from = height > 0 || inPlace ? row : rows - 1 - row;
        SwapRow(target + from * stride, pixels + row * rowBytes, uint32_t(width));
    }
    if (inPlace && height < 0) {
        for (uint32_t row = 0; row < rows / 2; row++)
            std::swap_ranges(pixels + row * rowBytes, pixels + (row + 1) * rowBytes,
                             pixels + size_t(rows - 1 - row) * rowBytes);
    }
}

} // namespace

void SetLoaderErrorSink(LoaderErrorSink sink) {
    errorSink = sink ? sink : ShowErrorBox;
}

uint16_t CountPaletteEntries(const uint8_t* infoHeader) {
    uint16_t bitCount;
    if (Read32(infoHeader) == 12) {
        bitCount = Read16(infoHeader + 10);
    } else {
        uint32_t used = Read32(infoHeader + 32);
        if (used) return static_cast<uint16_t>(used);
        bitCount = Read16(infoHeader + 14);
    }
    switch (bitCount) {
    case 1:
        return 2;
    case 4:
        return 16;
    case 8:
        return 256;
    default:
        return 0;
    }
}

RgbImage* DecodeBitmapImage(const uint8_t* data, size_t size) {
    Scratch scratch;
    if (!data) size = 0;

    // Where the info header lies; the pixel data's place is known now only with a file header.
    bool fileHeader = size >= 2 && data[0] == 'B' && data[1] == 'M';
    size_t infoOffset = fileHeader ? 14 : 0;
    // Nothing of the info header is read before it is known to lie in the file: its size field,
    // then the 12 or 40 bytes that the palette count reads.
    if (size < infoOffset + 4) return Fail(scratch, UnknownFormat);
    const uint8_t* info = data + infoOffset;
    uint32_t headerSize = Read32(info);
    if (size - infoOffset < (headerSize == 12 ? 12u : 40u)) return Fail(scratch, UnknownFormat);
    uint64_t bitsOffset = fileHeader ? Read32(data + 10) : 0;

    uint16_t n = CountPaletteEntries(info);

    // Sizes and the colour table are checked before anything is allocated: a picture without
    // pixels cannot be converted, one too large for memory is refused as such, and the table has
    // to lie in the file.
    if (headerSize == 12 || headerSize == 40) {
        bool core = headerSize == 12;
        int64_t width = core ? Read16(info + 4) : int32_t(Read32(info + 4));
        int64_t height = core ? Read16(info + 6) : int32_t(Read32(info + 8));
        if (width <= 0 || height == 0) return Fail(scratch, ConversionError);
        uint64_t rows = height < 0 ? uint64_t(-height) : uint64_t(height);
        if (rows > MaxBitmapBytes / DibTargetStride(int32_t(width))) return Fail(scratch, OutOfMemory);
        uint64_t tableEnd = infoOffset + headerSize + uint64_t(n) * (core ? 3 : 4);
        if (tableEnd > size) return Fail(scratch, ConversionError);
    }

    scratch.converted = static_cast<uint8_t*>(std::malloc(sizeof(BitmapInfoHeader) + 4 * size_t(n)));
    if (!scratch.converted) return Fail(scratch, OutOfMemory);
    BitmapInfoHeader* header = reinterpret_cast<BitmapInfoHeader*>(scratch.converted);
    RgbQuad* colors = reinterpret_cast<RgbQuad*>(scratch.converted + sizeof(BitmapInfoHeader));

    DibSource source;
    if (headerSize == 12) {
        header->size = 40;
        header->width = Read16(info + 4); // unsigned 16 bits: never negative
        header->height = Read16(info + 6);
        header->planes = Read16(info + 8);
        header->bitCount = Read16(info + 10);
        header->compression = BI_RGB;
        header->sizeImage = 0;
        header->xPelsPerMeter = 0;
        header->yPelsPerMeter = 0;
        header->clrUsed = n;
        header->clrImportant = n;
        for (uint32_t i = 0; i < n; i++) {
            const uint8_t* triple = info + 12 + 3 * i;
            colors[i] = RgbQuad{triple[0], triple[1], triple[2], 0};
        }
        if (!fileHeader) bitsOffset = 12 + 3 * uint64_t(n);
    } else if (headerSize == 40) {
        header->size = 40;
        header->width = int32_t(Read32(info + 4));
        header->height = int32_t(Read32(info + 8));
        header->planes = Read16(info + 12);
        header->bitCount = Read16(info + 14);
        header->compression = Read32(info + 16);
        header->sizeImage = Read32(info + 20);
        header->xPelsPerMeter = int32_t(Read32(info + 24));
        header->yPelsPerMeter = int32_t(Read32(info + 28));
        header->clrUsed = Read32(info + 32);
        header->clrImportant = Read32(info + 36);
        std::memcpy(colors, info + 40, 4 * size_t(n));
        uint64_t masksBytes = 0;
        if (header->compression == BI_BITFIELDS) {
            // The red, green and blue masks follow the header, ahead of any colour table.
            masksBytes = 12;
            if (size - infoOffset < 40 + masksBytes) return Fail(scratch, ConversionError);
            for (int i = 0; i < 3; i++) source.masks[i] = Read32(info + 40 + 4 * i);
        }
        if (!fileHeader) bitsOffset = 40 + masksBytes + 4 * uint64_t(n);
    } else {
        return Fail(scratch, UnknownFormat);
    }

    // The converted header, normalised. sizeImage is kept for completeness; the conversion takes
    // the data's extent from the file, never from this field.
    if (header->sizeImage == 0) {
        int64_t rowBytes = (int64_t(header->bitCount) * header->width + 7) / 8;
        header->sizeImage = static_cast<uint32_t>(rowBytes * header->height);
    }
    if (header->clrUsed == 0) header->clrUsed = n;

    source.header = header;
    source.colors = colors;
    source.colorCount = n;
    if (bitsOffset < size) {
        source.bits = data + bitsOffset;
        source.bitsSize = size - size_t(bitsOffset);
    }

    // The rows are converted by the project's own code on every platform, Windows included, and
    // not by GDI's SetDIBits: GDI takes the extent of the pixel data from the headers and would
    // read past the end of a short file, while this conversion is bounded by the file's size and
    // gives the same pixels in every build.
    // The 24-bit target lives in the pixel block, which is as large as the target: the conversion
    // fills it and the copy packs it in place, so a picture costs one block of memory and no
    // more. A source whose rows are target rows already is copied from where it lies. For
    // run-length sources the block starts zero-filled: pixels that they skip stay black.
    uint64_t stride = DibTargetStride(header->width);
    uint64_t rows = header->height < 0 ? uint64_t(-int64_t(header->height)) : uint64_t(header->height);
    size_t targetSize = size_t(stride * rows);
    bool runLength = header->compression == BI_RLE8 || header->compression == BI_RLE4;
    scratch.pixels = static_cast<uint8_t*>(runLength ? std::calloc(targetSize, 1) : std::malloc(targetSize));
    if (!scratch.pixels) return Fail(scratch, OutOfMemory);
    const uint8_t* target = DibRowsInPlace(source);
    if (!target) {
        if (ConvertDibRows(source, scratch.pixels, targetSize) == 0) return Fail(scratch, ConversionError);
        target = scratch.pixels;
    }
    CopyTargetRows(target, stride, header->width, header->height, scratch.pixels);

    scratch.record = static_cast<RgbImage*>(std::malloc(sizeof(RgbImage)));
    if (!scratch.record) return Fail(scratch, OutOfMemory);
    scratch.record->width = header->width;
    scratch.record->height = int32_t(rows); // bottom row first now, whichever way the file ran
    scratch.record->pixels = scratch.pixels;
    return Release(scratch);
}

RgbImage* LoadBitmapImage(const char* path) {
    if (!path) path = "";
    FileView view;
    if (!OpenFileView(path, view)) {
        ShowOpenFailure(path);
        return nullptr;
    }
    RgbImage* image = DecodeBitmapImage(view.data, view.size);
    CloseFileView(view);
    return image;
}
