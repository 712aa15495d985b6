// Starts the real lyrinth-demo with the real library on an X display (run under xvfb-run), clicks
// Get Version, closes the version box and then the window as a window manager would, and checks
// that the program ends with status 0. Usage: demo_on_display <path to lyrinth-demo>
#include "XSession.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// Get Version spans the window's top row: 8 px from the left and top, 569 by 25 px.
constexpr int getVersionX = 8 + 569 / 2;
constexpr int getVersionY = 8 + 25 / 2;

int fail(pid_t demo, const char* what) {
    std::fprintf(stderr, "demo_on_display: FAILED: %s\n", what);
    if (demo > 0) {
        kill(demo, SIGKILL);
        waitpid(demo, nullptr, 0);
    }
    return 1;
}

// The exit status once the process has ended, or -1 if it is still running after `timeout`.
int waitForExit(pid_t demo, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (waitpid(demo, &status, WNOHANG) == demo) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        std::this_thread::sleep_for(50ms);
    }
    return -1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: demo_on_display <path to lyrinth-demo>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);

    XSession session;
    if (!session.connected()) {
        return fail(0, "no X display (run under xvfb-run)");
    }

    pid_t demo = 0;
    char* demoArgv[] = {argv[1], nullptr};
    if (posix_spawn(&demo, argv[1], nullptr, nullptr, demoArgv, environ) != 0) {
        return fail(0, "cannot start the demo");
    }

    const Window window = session.waitForWindow("Lyrinth.dll active", 20s);
    if (window == 0) {
        return fail(demo, "no window captioned \"Lyrinth.dll active\" appeared");
    }
    std::printf("demo_on_display: the window \"Lyrinth.dll active\" is shown\n");
    std::this_thread::sleep_for(300ms); // let the toolkit finish its first paint

    session.click(window, getVersionX, getVersionY);
    const Window box = session.waitForWindow("LyrinthGetVersion result", 10s);
    if (box == 0) {
        return fail(demo, "clicking Get Version showed no \"LyrinthGetVersion result\" box");
    }
    std::printf("demo_on_display: Get Version shows its box\n");

    session.requestClose(box);
    if (!session.waitForWindowGone("LyrinthGetVersion result", 10s)) {
        return fail(demo, "the version box did not close");
    }

    session.requestClose(window);
    const int status = waitForExit(demo, 20s);
    if (status == -1) {
        return fail(demo, "the demo did not end after its window was closed");
    }
    if (status != 0) {
        std::fprintf(stderr, "demo_on_display: FAILED: the demo ended with status %d\n", status);
        return 1;
    }
    std::printf("demo_on_display: the window closed and the demo ended with status 0\n");
    return 0;
}
