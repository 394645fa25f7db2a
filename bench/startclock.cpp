// Times one start of a program until its first window is shown, for bench/startup:
//
//   pellwerk-startclock offscreen|xcb PROGRAM [ARGUMENTS...]
//
// offscreen: the program runs on Qt's offscreen platform with PELLWERK_EXIT_WHEN_SHOWN set, so it
//   ends right after its first window was exposed and painted; the time is from just before the
//   fork until the program has ended.
// xcb: the program runs on the X server named by DISPLAY (one without a window manager, so that a
//   mapped window is viewable at once); the time is from just before the fork until the server
//   reports the first top-level window mapped. The program is then killed.
//
// Prints the milliseconds on standard output. Fails (exit status 1, a reason on standard error)
// when the program ends otherwise, or shows nothing within ten seconds.

#include <X11/Xlib.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

namespace {

constexpr int TimeoutMs = 10'000;

double nowMs()
{
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

pid_t start(char **argv)
{
    const pid_t pid = fork();
    if (pid == 0) {
        execv(argv[0], argv);
        std::perror(argv[0]);
        _exit(127);
    }
    return pid;
}

int fail(const char *reason, pid_t child)
{
    if (child > 0) {
        kill(child, SIGKILL);
        waitpid(child, nullptr, 0);
    }
    std::fprintf(stderr, "startclock: %s\n", reason);
    return 1;
}

int offscreen(char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("PELLWERK_EXIT_WHEN_SHOWN", "1", 1);
    sigset_t childEnded;
    sigemptyset(&childEnded);
    sigaddset(&childEnded, SIGCHLD);
    sigprocmask(SIG_BLOCK, &childEnded, nullptr);
    const double begin = nowMs();
    const pid_t child = start(argv);
    const timespec timeout{TimeoutMs / 1000, 0};
    if (sigtimedwait(&childEnded, nullptr, &timeout) < 0)
        return fail("nothing shown in time", child);
    int status = 0;
    waitpid(child, &status, 0);
    const double end = nowMs();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        return fail("the program ended without showing a window", -1);
    std::printf("%.2f\n", end - begin);
    return 0;
}

int xcb(char **argv)
{
    setenv("QT_QPA_PLATFORM", "xcb", 1);
    unsetenv("PELLWERK_EXIT_WHEN_SHOWN");
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return fail("no X server at DISPLAY", -1);
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);
    const double begin = nowMs();
    const pid_t child = start(argv);
    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    while (nowMs() - begin < TimeoutMs) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                const double mapped = nowMs();
                kill(child, SIGKILL);
                waitpid(child, nullptr, 0);
                XCloseDisplay(display);
                std::printf("%.2f\n", mapped - begin);
                return 0;
            }
        }
        if (waitpid(child, nullptr, WNOHANG) == child)
            return fail("the program ended without showing a window", -1);
        poll(&connection, 1, 50);
    }
    return fail("nothing shown in time", child);
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 3 || (std::strcmp(argv[1], "offscreen") != 0 && std::strcmp(argv[1], "xcb") != 0)) {
        std::fprintf(stderr, "usage: %s offscreen|xcb PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    return std::strcmp(argv[1], "offscreen") == 0 ? offscreen(argv + 2) : xcb(argv + 2);
}
