#include "assets/dib_convert.h"

#include <cstring>

namespace {

// Colour-table entries as the 3 target bytes (blue, green, red) plus one spare byte, so that a
// pixel can be written with one 4-byte store. Indexes past the source's table stay black.
struct Palette {
    uint8_t entry[256][4];
};

void BuildPalette(const DibSource& source, uint32_t usable, Palette& palette) {
    std::memset(&palette, 0, sizeof palette);
    uint32_t count = source.colorCount < usable ? source.colorCount : usable;
    for (uint32_t i = 0; i < count; i++) {
        palette.entry[i][0] = source.colors[i].blue;
        palette.entry[i][1] = source.colors[i].green;
        palette.entry[i][2] = source.colors[i].red;
    }
}

// One row of indexed pixels. Every pixel but the last is written with a 4-byte store whose spare
// byte the next pixel overwrites; the last one gets exactly 3 bytes, so nothing past the row's
// pixels is touched.
template <typename IndexAt>
void IndexedRow(uint8_t* out, int32_t width, const Palette& palette, IndexAt indexAt) {
    int32_t last = width - 1;
    for (int32_t x = 0; x < last; x++) std::memcpy(out + 3 * x, palette.entry[indexAt(x)], 4);
    std::memcpy(out + 3 * last, palette.entry[indexAt(last)], 3);
}

// A bit-field channel: the value under the mask, scaled from 0..max to 0..255 with rounding
// (v * 255 + max / 2) / max, so that a 5-bit 31 gives 255 and 16 gives 132.
struct Channel {
    uint32_t mask;
    uint32_t shift;
    uint32_t max;
    uint8_t table[256]; // the scaled values when max fits in it
};

void BuildChannel(uint32_t mask, Channel& channel) {
    channel.mask = mask;
    channel.shift = 0;
    if (mask) {
        while (!((mask >> channel.shift) & 1u)) channel.shift++;
    }
    channel.max = mask >> channel.shift;
    if (channel.max && channel.max <= 255) {
        for (uint32_t v = 0; v <= channel.max; v++)
            channel.table[v] = static_cast<uint8_t>((v * 255 + channel.max / 2) / channel.max);
    }
}

inline uint8_t ChannelValue(const Channel& channel, uint32_t pixel) {
    uint32_t v = (pixel & channel.mask) >> channel.shift;
    if (channel.max <= 255) return channel.max ? channel.table[v] : 0;
    return static_cast<uint8_t>((uint64_t{v} * 255 + channel.max / 2) / channel.max);
}

struct Masks {
    Channel red;
    Channel green;
    Channel blue;
};

template <int BytesPerPixel>
void MaskedRow(uint8_t* out, const uint8_t* in, int32_t width, const Masks& masks) {
    for (int32_t x = 0; x < width; x++, in += BytesPerPixel, out += 3) {
        uint32_t pixel = in[0] | (in[1] << 8);
        if (BytesPerPixel == 4) pixel |= (uint32_t{in[2]} << 16) | (uint32_t{in[3]} << 24);
        out[0] = ChannelValue(masks.blue, pixel);
        out[1] = ChannelValue(masks.green, pixel);
        out[2] = ChannelValue(masks.red, pixel);
    }
}

// Uncompressed rows: each source row padded to a multiple of 4 bytes. The rows must all be in
// the source, except that the last row's padding may be missing (some writers drop it).
uint32_t ConvertPlain(const DibSource& source, uint8_t* target, uint64_t stride, uint32_t rows) {
    const BitmapInfoHeader& header = *source.header;
    int32_t width = header.width;
    uint32_t bitCount = header.bitCount;
    uint64_t rowBits = uint64_t(width) * bitCount;
    uint64_t sourceStride = (rowBits + 31) / 32 * 4;
    uint64_t rowBytes = (rowBits + 7) / 8;
    // Compared by division: a product of header values may not fit in 64 bits.
    if (source.bitsSize < rowBytes || (rows - 1) > (source.bitsSize - rowBytes) / sourceStride) return 0;

    Palette palette;
    Masks masks{};
    if (bitCount <= 8) {
        BuildPalette(source, 1u << bitCount, palette);
    } else if (bitCount == 16 || (bitCount == 32 && header.compression == BI_BITFIELDS)) {
        const uint32_t fiveFiveFive[3] = {0x7C00, 0x03E0, 0x001F};
        const uint32_t* m = header.compression == BI_BITFIELDS ? source.masks : fiveFiveFive;
        // A 16-bit pixel has no bits above 15, so mask bits there carry no value.
        uint32_t reach = bitCount == 16 ? 0xFFFFu : 0xFFFFFFFFu;
        BuildChannel(m[0] & reach, masks.red);
        BuildChannel(m[1] & reach, masks.green);
        BuildChannel(m[2] & reach, masks.blue);
    }

    for (uint32_t row = 0; row < rows; row++) {
        const uint8_t* in = source.bits + row * sourceStride;
        uint8_t* out = target + row * stride;
        switch (bitCount) {
        case 1:
            IndexedRow(out, width, palette, [in](int32_t x) { return (in[x >> 3] >> (7 - (x & 7))) & 1; });
            break;
        case 4:
            IndexedRow(out, width, palette,
                       [in](int32_t x) { return (in[x >> 1] >> ((x & 1) ? 0 : 4)) & 15; });
            break;
        case 8:
            IndexedRow(out, width, palette, [in](int32_t x) { return in[x]; });
            break;
        case 16:
            MaskedRow<2>(out, in, width, masks);
            break;
        case 24:
            std::memcpy(out, in, size_t(width) * 3);
            break;
        case 32:
            if (header.compression == BI_BITFIELDS) {
                MaskedRow<4>(out, in, width, masks);
            } else {
                for (int32_t x = 0; x < width; x++) {
                    out[3 * x] = in[4 * x];
                    out[3 * x + 1] = in[4 * x + 1];
                    out[3 * x + 2] = in[4 * x + 2];
                }
            }
            break;
        }
    }
    return rows;
}

// Run-length encoded indexes (RLE8 or RLE4), always bottom row first. Codes come in byte pairs:
// a count > 0 repeats the second byte's index (RLE4: its two nibbles, high first, alternating);
// count 0 is an escape: 0 end of line, 1 end of bitmap, 2 a move right and up by the next two
// bytes, 3..255 that many indexes stored as they are, padded to a 16-bit boundary.
// Pixels beyond the right edge are dropped, a move past the top row ends the picture, and a stream
// that ends without its end-of-bitmap code ends the picture where it stops.
uint32_t ConvertRunLength(const DibSource& source, uint8_t* target, uint64_t stride, uint32_t rows) {
    const BitmapInfoHeader& header = *source.header;
    bool four = header.compression == BI_RLE4;
    uint64_t width = uint64_t(header.width);
    Palette palette;
    BuildPalette(source, four ? 16 : 256, palette);

    const uint8_t* in = source.bits;
    const uint8_t* end = source.bits + source.bitsSize;
    uint64_t x = 0;
    uint64_t y = 0;
    auto put = [&](uint8_t index) {
        if (x < width) std::memcpy(target + y * stride + 3 * x, palette.entry[index], 3);
        x++;
    };
    while (end - in >= 2 && y < rows) {
        uint32_t count = in[0];
        uint8_t value = in[1];
        in += 2;
        if (count) {
            if (four) {
                uint8_t pair[2] = {uint8_t(value >> 4), uint8_t(value & 15)};
                for (uint32_t i = 0; i < count && x < width; i++) put(pair[i & 1]);
            } else {
                for (uint32_t i = 0; i < count && x < width; i++) put(value);
            }
            continue;
        }
        if (value == 0) {
            x = 0;
            y++;
        } else if (value == 1) {
            break;
        } else if (value == 2) {
            if (end - in < 2) break;
            x += in[0];
            y += in[1];
            in += 2;
        } else {
            uint32_t bytes = four ? (value + 1) / 2 : value;
            if (uint64_t(end - in) < bytes) break;
            for (uint32_t i = 0; i < value && x < width; i++)
                put(four ? uint8_t((in[i >> 1] >> ((i & 1) ? 0 : 4)) & 15) : in[i]);
            in += bytes;
            if ((bytes & 1) && in < end) in++;
        }
    }
    return rows;
}

} // namespace

uint64_t DibTargetStride(int32_t width) {
    if (width <= 0) return 0;
    return uint64_t(width) * 3 + uint64_t(width) % 4;
}

const uint8_t* DibRowsInPlace(const DibSource& source) {
    if (!source.header || !source.bits) return nullptr;
    const BitmapInfoHeader& header = *source.header;
    if (header.planes != 1 || header.bitCount != 24 || header.compression != BI_RGB || header.width <= 0 ||
        header.height == 0)
        return nullptr;
    uint64_t rows = header.height < 0 ? uint64_t(-int64_t(header.height)) : uint64_t(header.height);
    uint64_t stride = DibTargetStride(header.width);
    uint64_t rowBytes = uint64_t(header.width) * 3;
    if (source.bitsSize < rowBytes || (rows - 1) > (source.bitsSize - rowBytes) / stride) return nullptr;
    return source.bits;
}

uint32_t ConvertDibRows(const DibSource& source, uint8_t* target, size_t targetSize) {
    if (!source.header || !target) return 0;
    const BitmapInfoHeader& header = *source.header;
    if (header.planes != 1 || header.width <= 0 || header.height == 0) return 0;
    uint64_t rows = header.height < 0 ? uint64_t(-int64_t(header.height)) : uint64_t(header.height);
    uint64_t stride = DibTargetStride(header.width);
    if (rows > UINT32_MAX || rows > targetSize / stride) return 0;
    if (source.bitsSize && !source.bits) return 0;
    if (source.colorCount && !source.colors) return 0;

    switch (header.compression) {
    case BI_RGB:
        if (header.bitCount == 1 || header.bitCount == 4 || header.bitCount == 8 || header.bitCount == 16 ||
            header.bitCount == 24 || header.bitCount == 32)
            return ConvertPlain(source, target, stride, uint32_t(rows));
        return 0;
    case BI_BITFIELDS:
        if (header.bitCount == 16 || header.bitCount == 32)
            return ConvertPlain(source, target, stride, uint32_t(rows));
        return 0;
    case BI_RLE8:
    case BI_RLE4:
        // Run-length data is defined bottom row first only; a top-down one is refused.
        if (header.height < 0 || source.bitsSize < 2) return 0;
        if (header.bitCount != (header.compression == BI_RLE8 ? 8 : 4)) return 0;
        return ConvertRunLength(source, target, stride, uint32_t(rows));
    default:
        return 0;
    }
}
