// startprobe PROGRAM [ARGS...]: starts the program on the display of
// $DISPLAY and prints the seconds from the start until its first top-level
// window is mapped (MapNotify on the root window, so without a window
// manager), then ends the program. Exit status 1 when the program ends or
// 20 s pass without a window.
#include <X11/Xlib.h>

#include <chrono>
#include <cstdio>
#include <csignal>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: startprobe PROGRAM [ARGS...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "startprobe: cannot open the display\n");
        return 2;
    }
    XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
    XSync(display, False);

    const auto start = std::chrono::steady_clock::now();
    const pid_t child = fork();
    if (child == 0) {
        execvp(argv[1], argv + 1);
        _exit(127);
    }
    int result = 1;
    const int fd = ConnectionNumber(display);
    while (std::chrono::steady_clock::now() - start < std::chrono::seconds(20)) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && !event.xmap.override_redirect) {
                const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
                std::printf("%.4f\n", took.count());
                result = 0;
                break;
            }
        }
        if (result == 0 || waitpid(child, nullptr, WNOHANG) == child)
            break;
        pollfd p{fd, POLLIN, 0};
        poll(&p, 1, 50);
    }
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    XCloseDisplay(display);
    return result;
}
