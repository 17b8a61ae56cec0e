// Helpers shared by the tests: temporary folders, the working directory, running a program, a fresh
// program state and a real OpenGL context from the build's own platform (SDL's offscreen driver,
// or Win32).
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "support/scripted_platform.h"

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

// Runs a program (argv[0] is its path) in `directory` and returns its exit code, or -1 when it
// could not be started, did not exit normally or was still running after `seconds` (then it is
// killed). Standard output and error go to `output`.
int RunProgram(const std::vector<std::string>& argv, const std::string& directory,
               std::string* output = nullptr, double seconds = 30.0);

// Puts the scene state and the random source back to program start.
void ResetProgramState();

// Starts the build's own platform once per test program: SDL's video on its offscreen driver (no
// X server needed); Windows needs nothing started.
void StartRealPlatform();
// The build's own platform for tests that need real windows and OpenGL contexts, started. The
// system's own messages to its windows get the default handling and never reach the program's
// window procedure: the tests script the input.
std::unique_ptr<Platform> NewRealPlatform();

// True in a Windows build running under Wine, which differs from Windows itself where a test says.
bool RunningUnderWine();

// A new OpenGL context for `dc`, sharing display lists and textures with the current one when asked
// (SDL asks for that before creating it, WGL joins them after).
RenderContext CreateTestContext(Platform& platform, DeviceContext dc, bool shareWithCurrent);

// A window with a current OpenGL context of its own, for tests that call GL directly. With
// `shareWithCurrent` the context shares display lists and textures with the one current before,
// and keeps them alive when that one is deleted.
class GlContext {
  public:
    GlContext(int width = 640, int height = 480, bool shareWithCurrent = false);
    ~GlContext();
    DeviceContext Dc() const { return dc; }
    void MakeCurrent();

  private:
    std::unique_ptr<Platform> platform;
    WindowHandle window = nullptr;
    DeviceContext dc = nullptr;
    RenderContext context = nullptr;
};

// A scripted platform whose windows and contexts are real, installed as the current platform for
// the lifetime of the object.
class ScriptedWithGl {
  public:
    ScriptedWithGl();
    ~ScriptedWithGl();

  private:
    std::unique_ptr<Platform> real;

  public:
    ScriptedPlatform scripted;
};

// A scripted platform with made-up handles (no OpenGL), installed as the current platform.
class ScriptedOnly {
  public:
    ScriptedOnly();
    ~ScriptedOnly();
    ScriptedPlatform scripted;
};
