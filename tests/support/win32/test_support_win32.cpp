// The test support that differs by platform, for the Windows build.
#include "platform/win32_headers.h"

#include "support/test_support.h"

#include "platform/win32_platform.h"

namespace {

// Windows sends its own messages (creation, size, activation, focus) to a window straight into
// the class's procedure. Windows made for tests leave those to the default handling, so that
// only the input a test scripts reaches the program's window procedure.
class TestWin32Platform : public Win32Platform {
  public:
    bool RegisterClass(const WindowClass& windowClass) override {
        WindowClass quiet = windowClass;
        quiet.procedure = [](WindowHandle window, uint32_t message, uintptr_t wParam,
                             intptr_t lParam) -> intptr_t {
            return DefWindowProcA(reinterpret_cast<HWND>(window), message, wParam, lParam);
        };
        return Win32Platform::RegisterClass(quiet);
    }
};

// One argument of a command line, quoted as the C runtime splits command lines again.
std::string Quoted(const std::string& arg) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (char c : arg) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        // Backslashes count double only in front of a quote.
        quoted.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(2 * backslashes, '\\');
    return quoted + "\"";
}

} // namespace

void StartRealPlatform() {}

bool RunningUnderWine() {
    // Wine's ntdll tells its version; Windows' has no such function.
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

std::unique_ptr<Platform> NewRealPlatform() {
    return std::make_unique<TestWin32Platform>();
}

RenderContext CreateTestContext(Platform& platform, DeviceContext dc, bool shareWithCurrent) {
    HGLRC current = wglGetCurrentContext();
    RenderContext context = platform.CreateContext(dc);
    // WGL joins two contexts' lists while the new one has none of its own yet.
    if (context && shareWithCurrent && current) wglShareLists(current, reinterpret_cast<HGLRC>(context));
    return context;
}

int RunProgram(const std::vector<std::string>& argv, const std::string& directory, std::string* output,
               double seconds) {
    // The program's output goes to a temporary file that it inherits as both standard streams.
    char folder[MAX_PATH], name[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, folder) || !GetTempFileNameA(folder, "qvr", 0, name)) return -1;
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    HANDLE file =
        CreateFileA(name, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                    CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (file == INVALID_HANDLE_VALUE) return -1;

    std::string commandLine;
    for (const std::string& arg : argv) commandLine += (commandLine.empty() ? "" : " ") + Quoted(arg);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    PROCESS_INFORMATION process{};
    // Without an extension in the program's name, CreateProcessA adds ".exe".
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, directory.c_str(),
                        &startup, &process)) {
        CloseHandle(file);
        return -1;
    }
    // The program gets a deadline of its own, well inside the test's, so that a hang is reported
    // as this program's and its output is still read.
    bool ended = WaitForSingleObject(process.hProcess, static_cast<DWORD>(seconds * 1000)) == WAIT_OBJECT_0;
    if (!ended) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD code = 0;
    bool exited = ended && GetExitCodeProcess(process.hProcess, &code) != FALSE;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);

    if (output) {
        output->clear();
        SetFilePointer(file, 0, nullptr, FILE_BEGIN);
        char buffer[4096];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) output->append(buffer, got);
    }
    CloseHandle(file);
    if (!ended && output) *output += "\n(killed: still running after " + std::to_string(seconds) + " s)";
    return exited ? static_cast<int>(code) : -1;
}
