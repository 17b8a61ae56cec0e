#include "support/test_support.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "app/frame_counter.h"
#include "overlay/help_panel.h"
#include "scene/random.h"
#include "scene/scene_state.h"

TempDir::TempDir() {
    // A name nobody has taken: the folder is made only where none exists yet, so two tests (or two
    // test programs) never share one.
    static uint64_t counter = 0;
    uint64_t seed = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 100; ++attempt) {
        uint64_t mixed = (seed + ++counter) * 0x9E3779B97F4A7C15ull;
        std::filesystem::path candidate = base / ("quorvane-test-" + std::to_string(mixed % 1000000007ull));
        std::error_code error;
        if (std::filesystem::create_directory(candidate, error)) {
            path = candidate.string();
            return;
        }
    }
    ADD_FAILURE() << "no temporary folder could be made under " << base;
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path, ignored);
}

ScopedChdir::ScopedChdir(const std::string& dir) {
    previous = std::filesystem::current_path().string();
    std::filesystem::current_path(dir);
}

ScopedChdir::~ScopedChdir() {
    std::filesystem::current_path(previous);
}

namespace {

void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : ""); // an empty value removes the variable
#else
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
#endif
}

} // namespace

ScopedEnv::ScopedEnv(const char* name, const char* value) : name(name) {
    if (const char* old = std::getenv(name)) previous = old;
    SetEnv(name, value);
}

ScopedEnv::~ScopedEnv() {
    SetEnv(name, previous ? previous->c_str() : nullptr);
}

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<unsigned char> ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void ResetProgramState() {
    ResetSceneState();
    ResetRandom();
    ResetHelpPanel();
    ResetFrameCounter();
}

GlContext::GlContext(int width, int height, bool shareWithCurrent) {
    platform = NewRealPlatform();
    WindowClass windowClass;
    windowClass.className = "GlTestContext";
    windowClass.procedure = [](WindowHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; };
    platform->RegisterClass(windowClass);
    // The size is the client area's, which is what GL draws into.
    WindowRect rect{0, 0, width, height};
    platform->AdjustWindowRect(rect, WS_OVERLAPPEDWINDOW, 0);
    window = platform->CreateWindow(0, "GlTestContext", "test", WS_OVERLAPPEDWINDOW, 0, 0,
                                    rect.right - rect.left, rect.bottom - rect.top, nullptr);
    dc = platform->GetDC(window);
    const PixelFormatRequest& request = ProgramPixelFormat;
    platform->SetPixelFormat(dc, platform->ChoosePixelFormat(dc, request), request);
    context = CreateTestContext(*platform, dc, shareWithCurrent);
    if (!context || !platform->MakeCurrent(dc, context)) {
        std::fprintf(stderr, "no OpenGL context\n");
        std::abort();
    }
}

void GlContext::MakeCurrent() {
    platform->MakeCurrent(dc, context);
}

GlContext::~GlContext() {
    platform->MakeCurrent(nullptr, nullptr);
    platform->DeleteContext(context);
    platform->ReleaseDC(window, dc);
    platform->DestroyWindow(window);
    platform->UnregisterClass("GlTestContext", nullptr);
}

ScriptedWithGl::ScriptedWithGl() : real(NewRealPlatform()), scripted(*real) {
    ResetProgramState();
    SetCurrentPlatform(&scripted);
}

ScriptedWithGl::~ScriptedWithGl() {
    SetCurrentPlatform(nullptr);
}

ScriptedOnly::ScriptedOnly() {
    ResetProgramState();
    SetCurrentPlatform(&scripted);
}

ScriptedOnly::~ScriptedOnly() {
    SetCurrentPlatform(nullptr);
}
