// Helpers shared by the tests: temporary folders, the working directory, a fresh program state and
// a real OpenGL context from SDL's offscreen driver.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/scripted_platform.h"
#include "platform/sdl_platform.h"

// A new empty folder under the system's temporary folder, removed with everything in it.
class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& Path() const { return path; }
    std::string File(const std::string& name) const { return path + "/" + name; }

  private:
    std::string path;
};

// Changes the working directory for the lifetime of the object.
class ScopedChdir {
  public:
    explicit ScopedChdir(const std::string& dir);
    ~ScopedChdir();

  private:
    std::string previous;
};

// Sets (or, with nullptr, removes) an environment variable for the lifetime of the object.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value);
    ~ScopedEnv();
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

  private:
    const char* name;
    std::optional<std::string> previous;
};

void WriteFile(const std::string& path, const std::vector<unsigned char>& bytes);
std::vector<unsigned char> ReadFile(const std::string& path);

// Puts the scene state and the random source back to program start.
void ResetProgramState();

// Starts SDL's video on the offscreen driver once per test program.
void StartOffscreenVideo();

// A window with a current OpenGL context of its own, for tests that call GL directly.
class GlContext {
  public:
    GlContext(int width = 640, int height = 480);
    ~GlContext();
    SdlPlatform& Platform() { return *platform; }

  private:
    std::unique_ptr<SdlPlatform> platform;
    WindowHandle window = nullptr;
    RenderContext context = nullptr;
};

// A scripted platform whose windows and contexts are real (offscreen), installed as the current
// platform for the lifetime of the object.
class ScriptedWithGl {
  public:
    ScriptedWithGl();
    ~ScriptedWithGl();
    ScriptedPlatform scripted;

  private:
    std::unique_ptr<SdlPlatform> real;
};

// A scripted platform with made-up handles (no OpenGL), installed as the current platform.
class ScriptedOnly {
  public:
    ScriptedOnly();
    ~ScriptedOnly();
    ScriptedPlatform scripted;
};
