#include "gl/glu_mipmaps.h"

#include <cmath>

// The nearest power of two as GLU picks it: down, unless the next bit is also set.
int GluNearestPower(int value) {
    if (value < 1) return 1; // never asked: gluBuild2DMipmaps refuses such sizes first
    int power = 1;
    for (;;) {
        if (value == 1) return power;
        if (value == 3) return power * 4;
        value >>= 1;
        power *= 2;
    }
}

// GLU's halving of a level: the mean of 2 x 2 texels rounded half up; of 2 texels rounded down
// when one side is already 1.
void GluHalve(const uint8_t* in, int width, int height, int components, uint8_t* out) {
    if (width == 1 || height == 1) {
        const int count = (width > height ? width : height) / 2;
        for (int i = 0; i < count * components; i++) {
            const int texel = i / components, k = i % components;
            out[i] = static_cast<uint8_t>(
                (in[2 * texel * components + k] + in[(2 * texel + 1) * components + k]) / 2);
        }
        return;
    }
    const int row = width * components;
    for (int y = 0; y < height / 2; y++)
        for (int x = 0; x < width / 2; x++)
            for (int k = 0; k < components; k++) {
                const uint8_t* t = in + 2 * y * row + 2 * x * components + k;
                out[(y * (width / 2) + x) * components + k] =
                    static_cast<uint8_t>((t[0] + t[components] + t[row] + t[row + components] + 2) / 4);
            }
}

// GLU's box filter from any size to another: each texel the area-weighted mean of the input
// texels under it, in float, truncated.
void GluScale(const uint8_t* in, int widthIn, int heightIn, int components, uint8_t* out, int widthOut,
              int heightOut) {
    if (widthIn == widthOut * 2 && heightIn == heightOut * 2) {
        GluHalve(in, widthIn, heightIn, components, out);
        return;
    }
    const int row = widthIn * components;
    const float convy = static_cast<float>(heightIn) / heightOut;
    const float convx = static_cast<float>(widthIn) / widthOut;
    const int convyInt = static_cast<int>(std::floor(convy));
    const float convyFloat = convy - convyInt;
    const int convxInt = static_cast<int>(std::floor(convx));
    const float convxFloat = convx - convxInt;
    const float area = convx * convy;
    // When the x ratio is whole, the last column's right edge falls on the texel just past the row,
    // with a weight of 0: read the row's last texel in its place, never past the input.
    auto texel = [&](int x, int y, int k) -> float {
        return in[y * row + (x < widthIn ? x : widthIn - 1) * components + k];
    };

    int lowyInt = 0, highyInt = convyInt;
    float lowyFloat = 0, highyFloat = convyFloat;
    for (int i = 0; i < heightOut; i++) {
        if (highyInt >= heightIn) highyInt = heightIn - 1; // never past the input
        int lowxInt = 0, highxInt = convxInt;
        float lowxFloat = 0, highxFloat = convxFloat;
        for (int j = 0; j < widthOut; j++) {
            float totals[4] = {};
            for (int k = 0; k < components; k++) {
                float& total = totals[k];
                if (highyInt > lowyInt && highxInt > lowxInt) {
                    // The first and the last row, each with its partial first and last texel.
                    float yPercent = 1 - lowyFloat;
                    total += texel(lowxInt, lowyInt, k) * (yPercent * (1 - lowxFloat));
                    for (int l = lowxInt + 1; l < highxInt; l++) total += texel(l, lowyInt, k) * yPercent;
                    total += texel(highxInt, lowyInt, k) * (yPercent * highxFloat);
                    yPercent = highyFloat;
                    total += texel(lowxInt, highyInt, k) * (yPercent * (1 - lowxFloat));
                    for (int l = lowxInt + 1; l < highxInt; l++) total += texel(l, highyInt, k) * yPercent;
                    total += texel(highxInt, highyInt, k) * (yPercent * highxFloat);
                    // The first and the last column between them.
                    for (int m = lowyInt + 1; m < highyInt; m++)
                        total += texel(lowxInt, m, k) * (1 - lowxFloat) + texel(highxInt, m, k) * highxFloat;
                } else if (highyInt > lowyInt) {
                    const float xPercent = highxFloat - lowxFloat;
                    total += texel(lowxInt, lowyInt, k) * ((1 - lowyFloat) * xPercent);
                    for (int m = lowyInt + 1; m < highyInt; m++) total += texel(lowxInt, m, k) * xPercent;
                    total += texel(lowxInt, highyInt, k) * (xPercent * highyFloat);
                } else if (highxInt > lowxInt) {
                    const float yPercent = highyFloat - lowyFloat;
                    total += texel(lowxInt, lowyInt, k) * ((1 - lowxFloat) * yPercent);
                    for (int l = lowxInt + 1; l < highxInt; l++) total += texel(l, lowyInt, k) * yPercent;
                    total += texel(highxInt, lowyInt, k) * (yPercent * highxFloat);
                } else {
                    total +=
                        texel(lowxInt, lowyInt, k) * ((highyFloat - lowyFloat) * (highxFloat - lowxFloat));
                }
                // The texels wholly inside.
                for (int m = lowyInt + 1; m < highyInt; m++)
                    for (int l = lowxInt + 1; l < highxInt; l++) total += texel(l, m, k);
                out[(i * widthOut + j) * components + k] = static_cast<uint8_t>(total / area);
            }
            lowxInt = highxInt;
            lowxFloat = highxFloat;
            highxInt += convxInt;
            highxFloat += convxFloat;
            if (highxFloat > 1) {
                highxFloat -= 1.0f;
                highxInt++;
            }
        }
        lowyInt = highyInt;
        lowyFloat = highyFloat;
        highyInt += convyInt;
        highyFloat += convyFloat;
        if (highyFloat > 1) {
            highyFloat -= 1.0f;
            highyInt++;
        }
    }
}
