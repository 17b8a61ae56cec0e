#include "support/test_support.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <unistd.h>

#include "scene/help_overlay.h"
#include "scene/random.h"
#include "scene/scene_state.h"

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "quorvane-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) ADD_FAILURE() << "mkdtemp failed";
    path = pattern;
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

ScopedEnv::ScopedEnv(const char* name, const char* value) : name(name) {
    if (const char* old = std::getenv(name)) previous = old;
    if (value)
        setenv(name, value, 1);
    else
        unsetenv(name);
}

ScopedEnv::~ScopedEnv() {
    if (previous)
        setenv(name, previous->c_str(), 1);
    else
        unsetenv(name);
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
    ResetHelpOverlay();
}

void StartOffscreenVideo() {
    static bool started = false;
    if (started) return;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    std::string error;
    if (!SdlPlatform::StartVideo(true, error)) {
        std::fprintf(stderr, "offscreen video: %s\n", error.c_str());
        std::abort();
    }
    started = true;
}

GlContext::GlContext(int width, int height) {
    StartOffscreenVideo();
    platform = std::make_unique<SdlPlatform>();
    WindowClass windowClass;
    windowClass.className = "GlTestContext";
    windowClass.procedure = [](WindowHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t { return 0; };
    platform->RegisterClass(windowClass);
    window =
        platform->CreateWindow(0, "GlTestContext", "test", WS_OVERLAPPEDWINDOW, 0, 0, width, height, nullptr);
    DeviceContext dc = platform->GetDC(window);
    PixelFormatRequest request{
        40, 1, PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER, 16, 0, 0, 16, 0, 0};
    platform->SetPixelFormat(dc, platform->ChoosePixelFormat(dc, request), request);
    context = platform->CreateContext(dc);
    if (!context || !platform->MakeCurrent(dc, context)) {
        std::fprintf(stderr, "no offscreen OpenGL context\n");
        std::abort();
    }
}

GlContext::~GlContext() {
    platform->MakeCurrent(nullptr, nullptr);
    platform->DeleteContext(context);
    platform->DestroyWindow(window);
    platform->UnregisterClass("GlTestContext", nullptr);
}

ScriptedWithGl::ScriptedWithGl() {
    StartOffscreenVideo();
    ResetProgramState();
    real = std::make_unique<SdlPlatform>();
    scripted.real = real.get();
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
