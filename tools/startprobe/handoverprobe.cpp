// handoverprobe [together|apart|free] [SECONDS]: the floor of the credits'
// tick without Qt or X. A thread of the idle class sleeps to 25 ms
// deadlines on a futex and hands each tick over through an eventfd to the
// main thread, which waits in poll, reads, does a few microseconds of work
// and ends the tick; the thread waits for the tick's end together with its
// next deadline. "together" moves the thread to the CPU the main thread
// ran the last tick on (as the program's ticker does), "apart" keeps the
// two on different CPUs (the main thread on the last CPU it may use, the
// thread on the first), "free" (the default) leaves both to the kernel.
// Measure it from outside (schedstat, perf stat) over SECONDS (default 12).
#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <thread>

#include <linux/futex.h>
#include <poll.h>
#include <pthread.h>
#include <sched.h>
#include <sys/eventfd.h>
#include <sys/syscall.h>
#include <time.h>
#include <unistd.h>

namespace {

std::atomic<uint32_t> word{0};
std::atomic<int> mainCpu{-1};
std::atomic<bool> handingOver{false};
int tickFd = -1;

long futex(int op, uint32_t value, const timespec *timeout)
{
    return ::syscall(SYS_futex, reinterpret_cast<uint32_t *>(&word), op, value, timeout, nullptr,
                     FUTEX_BITSET_MATCH_ANY);
}

void pinTo(int cpu)
{
    cpu_set_t set;
    CPU_ZERO(&set);
    CPU_SET(cpu, &set);
    ::sched_setaffinity(0, sizeof set, &set);
}

enum class Mode { Free, Together, Apart };

void ticker(Mode mode, int firstCpu, cpu_set_t allowed)
{
    sched_param param{};
    pthread_setschedparam(pthread_self(), SCHED_IDLE, &param);
    pthread_setname_np(pthread_self(), "TThreadTimer");
    if (mode == Mode::Apart)
        pinTo(firstCpu);
    timespec next;
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (;;) {
        next.tv_nsec += 25000000;
        if (next.tv_nsec >= 1000000000) {
            next.tv_nsec -= 1000000000;
            ++next.tv_sec;
        }
        for (;;) {
            const uint32_t seen = word.load();
            if (futex(FUTEX_WAIT_BITSET_PRIVATE, seen, &next) == -1 && errno == ETIMEDOUT)
                break;
        }
        if (handingOver.load())
            continue;  // the last tick has not run: this deadline is skipped
        handingOver.store(true);
        eventfd_write(tickFd, 1);
        const int cpu = mainCpu.load();
        if (mode == Mode::Together && cpu >= 0 && cpu != sched_getcpu()) {
            pinTo(cpu);
            ::sched_setaffinity(0, sizeof allowed, &allowed);
        }
    }
}

} // namespace

int main(int argc, char **argv)
{
    const char *modeName = argc > 1 ? argv[1] : "free";
    const Mode mode = !std::strcmp(modeName, "together") ? Mode::Together
        : !std::strcmp(modeName, "apart")                ? Mode::Apart
                                                         : Mode::Free;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 12;
    cpu_set_t allowed;
    ::sched_getaffinity(0, sizeof allowed, &allowed);
    int firstCpu = -1, lastCpu = -1;
    for (int c = 0; c < CPU_SETSIZE; ++c)
        if (CPU_ISSET(c, &allowed)) {
            if (firstCpu < 0)
                firstCpu = c;
            lastCpu = c;
        }
    if (mode == Mode::Apart)
        pinTo(lastCpu);
    tickFd = eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
    std::thread(ticker, mode, firstCpu, allowed).detach();

    timespec end;
    clock_gettime(CLOCK_MONOTONIC, &end);
    end.tv_sec += seconds;
    volatile unsigned work = 0;
    for (;;) {
        pollfd fd{tickFd, POLLIN, 0};
        ::poll(&fd, 1, 1000);
        eventfd_t value;
        eventfd_read(tickFd, &value);
        for (unsigned i = 0; i < 20000; ++i)
            work = work + i;
        mainCpu.store(sched_getcpu());
        handingOver.store(false);
        timespec now;
        clock_gettime(CLOCK_MONOTONIC, &now);
        if (now.tv_sec > end.tv_sec || (now.tv_sec == end.tv_sec && now.tv_nsec >= end.tv_nsec))
            break;
    }
    _exit(0);
}
