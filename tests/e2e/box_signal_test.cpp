// SIGTERM and SIGINT while a message box is up: the box goes, a question counts as No, the
// program closes as on a close request, within a second, and leaves no process behind.
#include <gtest/gtest.h>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <dirent.h>
#include <signal.h>
#include <sys/stat.h>

#include <chrono>
#include <fstream>
#include <iterator>
#include <thread>

#include "program_fixture.h"

namespace {

using Clock = std::chrono::steady_clock;

// The parent and the state of a process from /proc/PID/stat; false once it is gone.
bool ReadStat(pid_t pid, pid_t& parent, char& state) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    size_t close = text.rfind(')'); // the command name may hold spaces
    if (close == std::string::npos || close + 4 > text.size()) return false;
    state = text[close + 2];
    parent = static_cast<pid_t>(std::atol(text.c_str() + close + 4));
    return true;
}

bool Alive(pid_t pid) {
    pid_t parent = 0;
    char state = 0;
    return ReadStat(pid, parent, state) && state != 'Z';
}

// The living descendants of a process, children before grandchildren.
std::vector<pid_t> Descendants(pid_t root) {
    std::vector<pid_t> found{root};
    for (size_t i = 0; i < found.size(); ++i) {
        DIR* proc = opendir("/proc");
        while (dirent* entry = proc ? readdir(proc) : nullptr) {
            pid_t pid = static_cast<pid_t>(std::atol(entry->d_name));
            pid_t parent = 0;
            char state = 0;
            if (pid > 0 && ReadStat(pid, parent, state) && parent == found[i] && state != 'Z')
                found.push_back(pid);
        }
        if (proc) closedir(proc);
    }
    found.erase(found.begin());
    return found;
}

// A top-level window of this title, or 0. SDL names its boxes in UTF-8, which XFetchName does not
// read; the bytes are compared instead.
unsigned long FindBox(const std::string& display, const std::string& title) {
    Display* connection = XOpenDisplay(display.c_str());
    if (!connection) return 0;
    Window root = 0, parent = 0, *children = nullptr, found = 0;
    unsigned int count = 0;
    if (XQueryTree(connection, DefaultRootWindow(connection), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i) {
            XTextProperty name{};
            if (XGetWMName(connection, children[i], &name) && name.value && name.format == 8 &&
                title == std::string(reinterpret_cast<const char*>(name.value), name.nitems))
                found = children[i];
            if (name.value) XFree(name.value);
        }
        if (children) XFree(children);
    }
    XCloseDisplay(connection);
    return found;
}

// How long the program may take from the signal to its exit. The sanitizer build runs its leak
// check on the way out, which alone takes longer than a second.
#ifdef QUORVANE_SANITIZED_BUILD
constexpr double ExitSeconds = 15.0;
#else
constexpr double ExitSeconds = 1.0;
#endif

struct BoxCase {
    const char* name;
    bool badT1;   // data/t1.bmp is not a bitmap: the loader's "Error" box at start
    bool badStar; // data/star.bmp neither: then "Initialize OpenGL failed" follows
    bool viaF1;   // the running program's F1 on a screen without 640 x 480: the question
    int signal;
    const char* caption;  // of the box that is up when the signal comes
    const char* followUp; // text of a box that would have followed; it goes to standard error
};

void PrintTo(const BoxCase& c, std::ostream* out) {
    *out << c.name;
}

class BoxSignalTest : public ProgramTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(BoxSignalTest, EndsTheBoxAndTheProgramWithNothingLeft) {
    const BoxCase& c = GetParam();
    dataFolder = std::make_unique<TempDir>();
    auto garbage = [](const std::string& path) {
        return static_cast<bool>(std::ofstream(path) << "not a bitmap");
    };
    auto copy = [](const char* name) {
        return [name](const std::string& path) {
            std::ifstream in(std::string(QUORVANE_SOURCE_DIR) + "/data/" + name, std::ios::binary);
            std::ofstream out(path, std::ios::binary);
            return static_cast<bool>(out << in.rdbuf());
        };
    };
    std::string data = dataFolder->Path() + "/data";
    ASSERT_EQ(mkdir(data.c_str(), 0755), 0);
    ASSERT_TRUE(c.badT1 ? garbage(data + "/t1.bmp") : copy("t1.bmp")(data + "/t1.bmp"));
    ASSERT_TRUE(c.badStar ? garbage(data + "/star.bmp") : copy("star.bmp")(data + "/star.bmp"));

    if (c.viaF1) {
        ASSERT_TRUE(Launch(1024, 768, dataFolder->Path()));
        ASSERT_TRUE(run->KeyDown("F1"));
    } else {
        server = std::make_unique<XvfbServer>(1024, 768);
        ASSERT_TRUE(server->Ok()) << server->Error();
        run = std::make_unique<QuorvaneRun>(*server);
        std::string error;
        ASSERT_TRUE(run->Start(dataFolder->Path(), error)) << error;
    }
    ended = true;
    unsigned long box = 0;
    for (auto deadline = Clock::now() + std::chrono::seconds(30);
         !box && Clock::now() < deadline && run->Running();)
        if (!(box = FindBox(server->Name(), c.caption)))
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_NE(box, 0u) << "no box captioned " << c.caption << "; output:\n" << run->Output();
    std::vector<pid_t> helpers = Descendants(run->Pid());
    ASSERT_FALSE(helpers.empty()) << "the box has no process of its own";

    auto signalled = Clock::now();
    ASSERT_EQ(kill(run->Pid(), c.signal), 0);
    std::optional<ExitStatus> status = run->WaitExit(ExitSeconds);
    double seconds = std::chrono::duration<double>(Clock::now() - signalled).count();
    ASSERT_TRUE(status) << "still running " << ExitSeconds << " s after the signal; output:\n"
                        << run->Output();
    EXPECT_TRUE(status->exited && status->code == 0) << status->Describe() << "; output:\n" << run->Output();
    EXPECT_LE(seconds, ExitSeconds);
    EXPECT_NE(run->Output().find(c.followUp), std::string::npos) << run->Output();
    EXPECT_EQ(FindBox(server->Name(), c.caption), 0u) << "the box is still on the screen";
    for (pid_t pid : helpers) EXPECT_FALSE(Alive(pid)) << "process " << pid << " of the box is left";
}

INSTANTIATE_TEST_SUITE_P(
    Boxes, BoxSignalTest,
    ::testing::Values(
        BoxCase{"FullscreenQuestionSigterm", false, false, true, SIGTERM, "Initialization Error",
                "Unable to continue fullscreen, program aborted"},
        BoxCase{"FullscreenQuestionSigint", false, false, true, SIGINT, "Initialization Error",
                "Unable to continue fullscreen, program aborted"},
        // The scene still starts on the other picture, and the close follows.
        BoxCase{"LoaderErrorSigterm", true, false, false, SIGTERM, "Error", "Unknown DIB file format."},
        BoxCase{"StartupFailureSigint", true, true, false, SIGINT, "Error", "Initialize OpenGL failed"}),
    [](const ::testing::TestParamInfo<BoxCase>& info) { return std::string(info.param.name); });

} // namespace
