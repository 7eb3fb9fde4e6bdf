// speedprobe [SECONDS]: how fast the CPU runs a small fixed piece of work
// from moment to moment. Every 25 ms (the credits' tick) it times a loop
// of 100 000 additions that makes no system call, and prints each second
// the median, shortest and longest time. Run beside a measurement, it
// shows whether the machine itself was in a slow phase meanwhile.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <thread>

int main(int argc, char **argv)
{
    using Clock = std::chrono::steady_clock;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    volatile unsigned long sum = 0;
    for (int second = 0; second < seconds; ++second) {
        std::array<double, 40> us{};
        for (double &time : us) {
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
            const auto start = Clock::now();
            for (unsigned long i = 0; i < 100000; ++i)
                sum = sum + i;
            time = std::chrono::duration<double, std::micro>(Clock::now() - start).count();
        }
        std::sort(us.begin(), us.end());
        const std::time_t now = std::time(nullptr);
        char stamp[16];
        std::strftime(stamp, sizeof stamp, "%H:%M:%S", std::gmtime(&now));
        std::printf("%s median %.0f us, shortest %.0f, longest %.0f\n", stamp, us[us.size() / 2], us.front(),
                    us.back());
        std::fflush(stdout);
    }
    return 0;
}
