// LoadBitmapImage side by side with SDL_LoadBMP and stb_image's stbi_load, each loading the same
// 2048 x 2048 files (24 bits; 8 bits with a palette; 8 bits run-length encoded) from a temporary
// folder written at start-up. Each iteration is a whole load: open, decode, free.
//
// SDL_LoadBMP keeps the file's own pixel format (BGR, or indexes with a palette); the "SDL+RGB24"
// rows add the conversion to the red, green, blue bytes that the loader and stbi_load return.
// stb_image has no run-length decoder, so it has no row for that file.
#include <benchmark/benchmark.h>

#include <SDL.h>

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_BMP
#include <stb_image.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <unistd.h>

#include "assets/bitmap_loader.h"

#include "common/little_endian.h"

namespace {

constexpr int Side = 2048;

std::string folder;

void WriteBitmap(const std::string& name, uint16_t bitCount, uint32_t compression,
                 const std::vector<uint8_t>& table, const std::vector<uint8_t>& bits) {
    std::vector<uint8_t> out = {'B', 'M'};
    uint32_t offBits = 14 + 40 + uint32_t(table.size());
    Put32(out, offBits + uint32_t(bits.size()));
    Put32(out, 0);
    Put32(out, offBits);
    Put32(out, 40);
    Put32(out, Side);
    Put32(out, Side);
    Put16(out, 1);
    Put16(out, bitCount);
    Put32(out, compression);
    Put32(out, uint32_t(bits.size()));
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, uint32_t(table.size() / 4));
    Put32(out, 0);
    out.insert(out.end(), table.begin(), table.end());
    out.insert(out.end(), bits.begin(), bits.end());
    FILE* file = std::fopen((folder + "/" + name).c_str(), "wb");
    std::fwrite(out.data(), 1, out.size(), file);
    std::fclose(file);
}

// Indexes with long flat bands and, every few hundred pixels, a stretch of noise.
uint8_t BandIndex(int x, int y, uint32_t& noise) {
    if (x % 320 < 24) {
        noise = noise * 1664525u + 1013904223u;
        return uint8_t(noise >> 24);
    }
    return uint8_t(x / 45 + y / 29);
}

// RLE8: runs of 3 or more become encoded runs, the pixels between them absolute runs (3 to 255
// of them, padded to 16 bits) or encoded runs of 1 or 2.
void EncodeRow(const uint8_t* row, std::vector<uint8_t>& out) {
    int x = 0;
    while (x < Side) {
        int run = 1;
        while (x + run < Side && run < 255 && row[x + run] == row[x]) run++;
        if (run >= 3) {
            out.insert(out.end(), {uint8_t(run), row[x]});
            x += run;
            continue;
        }
        int start = x;
        while (x < Side && x - start < 255) {
            if (x + 2 < Side && row[x] == row[x + 1] && row[x] == row[x + 2]) break;
            x++;
        }
        int count = x - start;
        if (count < 3) {
            for (int i = 0; i < count; i++) out.insert(out.end(), {1, row[start + i]});
        } else {
            out.insert(out.end(), {0, uint8_t(count)});
            out.insert(out.end(), row + start, row + x);
            if (count & 1) out.push_back(0);
        }
    }
    out.insert(out.end(), {0, 0});
}

void WriteFiles() {
    std::vector<uint8_t> bits(size_t(Side) * Side * 3);
    for (int y = 0; y < Side; y++)
        for (int x = 0; x < Side; x++) {
            uint8_t* p = &bits[(size_t(y) * Side + x) * 3];
            p[0] = uint8_t(x);
            p[1] = uint8_t(y);
            p[2] = uint8_t((x * y) >> 7);
        }
    WriteBitmap("rgb24.bmp", 24, 0, {}, bits);

    std::vector<uint8_t> table;
    for (int i = 0; i < 256; i++)
        table.insert(table.end(), {uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0});
    std::vector<uint8_t> indexes(size_t(Side) * Side);
    uint32_t noise = 1;
    for (int y = 0; y < Side; y++)
        for (int x = 0; x < Side; x++) indexes[size_t(y) * Side + x] = BandIndex(x, y, noise);
    WriteBitmap("pal8.bmp", 8, 0, table, indexes);

    std::vector<uint8_t> rle;
    for (int y = 0; y < Side; y++) EncodeRow(&indexes[size_t(y) * Side], rle);
    rle.insert(rle.end(), {0, 1});
    WriteBitmap("rle8.bmp", 8, 1, table, rle);
}

std::string Path(const benchmark::State& state) {
    static const char* names[] = {"rgb24.bmp", "pal8.bmp", "rle8.bmp"};
    return folder + "/" + names[state.range(0)];
}

void Ours(benchmark::State& state) {
    std::string path = Path(state);
    for (auto _ : state) {
        RgbImage* image = LoadBitmapImage(path.c_str());
        if (!image) state.SkipWithError("not loaded");
        benchmark::DoNotOptimize(image);
        std::free(image->pixels);
        std::free(image);
    }
}

void Sdl(benchmark::State& state) {
    std::string path = Path(state);
    for (auto _ : state) {
        SDL_Surface* surface = SDL_LoadBMP(path.c_str());
        if (!surface) state.SkipWithError(SDL_GetError());
        benchmark::DoNotOptimize(surface);
        SDL_FreeSurface(surface);
    }
}

void SdlRgb24(benchmark::State& state) {
    std::string path = Path(state);
    for (auto _ : state) {
        SDL_Surface* surface = SDL_LoadBMP(path.c_str());
        SDL_Surface* rgb = surface ? SDL_ConvertSurfaceFormat(surface, SDL_PIXELFORMAT_RGB24, 0) : nullptr;
        if (!rgb) state.SkipWithError(SDL_GetError());
        benchmark::DoNotOptimize(rgb);
        SDL_FreeSurface(rgb);
        SDL_FreeSurface(surface);
    }
}

void Stb(benchmark::State& state) {
    std::string path = Path(state);
    for (auto _ : state) {
        int width, height, components;
        stbi_uc* pixels = stbi_load(path.c_str(), &width, &height, &components, 3);
        if (!pixels) state.SkipWithError(stbi_failure_reason());
        benchmark::DoNotOptimize(pixels);
        stbi_image_free(pixels);
    }
}

// The loaders must agree on what the files hold before their speeds mean anything.
bool SameResults() {
    bool same = true;
    for (const char* name : {"rgb24.bmp", "pal8.bmp", "rle8.bmp"}) {
        std::string path = folder + "/" + name;
        RgbImage* ours = LoadBitmapImage(path.c_str());
        SDL_Surface* loaded = SDL_LoadBMP(path.c_str());
        SDL_Surface* sdl = loaded ? SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_RGB24, 0) : nullptr;
        size_t rowBytes = size_t(Side) * 3;
        for (int y = 0; ours && sdl && y < Side; y++) {
            // SDL's surfaces and stbi_load start at the top row, the loader at the bottom one.
            const uint8_t* row = ours->pixels + size_t(Side - 1 - y) * rowBytes;
            if (std::memcmp(row, static_cast<uint8_t*>(sdl->pixels) + size_t(y) * sdl->pitch, rowBytes) !=
                0) {
                std::fprintf(stderr, "%s: row %d differs from SDL's\n", name, y);
                same = false;
                break;
            }
        }
        int width, height, components;
        stbi_uc* stb = stbi_load(path.c_str(), &width, &height, &components, 3);
        for (int y = 0; stb && ours && y < Side; y++)
            if (std::memcmp(ours->pixels + size_t(Side - 1 - y) * rowBytes, stb + size_t(y) * rowBytes,
                            rowBytes)) {
                std::fprintf(stderr, "%s: row %d differs from stb_image's\n", name, y);
                same = false;
                break;
            }
        if (!ours || !sdl) same = false;
        stbi_image_free(stb);
        SDL_FreeSurface(sdl);
        SDL_FreeSurface(loaded);
        if (ours) std::free(ours->pixels);
        std::free(ours);
    }
    return same;
}

} // namespace

BENCHMARK(Ours)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(Sdl)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(SdlRgb24)->DenseRange(0, 2)->Unit(benchmark::kMillisecond);
BENCHMARK(Stb)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    char pattern[] = "/tmp/quorvane-bench-XXXXXX";
    if (!mkdtemp(pattern)) return 1;
    folder = pattern;
    errorPopupsEnabled = false;
    WriteFiles();
    int status = 1;
    if (SameResults()) {
        std::printf("files in %s: 0 = rgb24.bmp, 1 = pal8.bmp, 2 = rle8.bmp\n", folder.c_str());
        benchmark::Initialize(&argc, argv);
        benchmark::RunSpecifiedBenchmarks();
        benchmark::Shutdown();
        status = 0;
    }
    for (const char* name : {"rgb24.bmp", "pal8.bmp", "rle8.bmp"}) std::remove((folder + "/" + name).c_str());
    rmdir(folder.c_str());
    return status;
}
