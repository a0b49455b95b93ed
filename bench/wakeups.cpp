// Watches a running process for a while and prints how often its threads woke up and how much processor time
// they used:
//
//   wakeups PID SECONDS
//
// prints "wakeups_per_s=<voluntary context switches of all threads, per second> cpu_s_per_hour=<their
// processor time (utime + stime, in nanoseconds from schedstat), extrapolated to an hour>". Each voluntary
// switch is a thread going to sleep, so it counts the wake-up that ends that sleep. The window starts a
// quarter of a second after one of the main thread's wake-ups, between two of a timer's ticks, so that a
// whole number of periods falls into it.

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <thread>

namespace {

struct Usage {
    long long switches = 0;
    long long cpuNs = 0;
};

using Clock = std::chrono::steady_clock;

long long field(const std::filesystem::path &status, const std::string &name)
{
    std::ifstream in(status);
    for (std::string line; std::getline(in, line);) {
        if (line.rfind(name, 0) == 0)
            return std::atoll(line.c_str() + name.size());
    }
    return -1;
}

// Per thread, so that a thread that starts in the window counts from zero.
std::map<std::string, Usage> sample(const std::string &pid)
{
    std::map<std::string, Usage> threads;
    std::error_code error;
    for (const auto &task : std::filesystem::directory_iterator("/proc/" + pid + "/task", error)) {
        Usage usage;
        usage.switches = field(task.path() / "status", "voluntary_ctxt_switches:");
        std::ifstream(task.path() / "schedstat") >> usage.cpuNs;
        if (usage.switches >= 0)
            threads[task.path().filename()] = usage;
    }
    return threads;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: wakeups PID SECONDS\n");
        return 2;
    }
    const std::string pid = argv[1];
    const double seconds = std::atof(argv[2]);
    const std::filesystem::path mainThread = "/proc/" + pid + "/task/" + pid + "/status";

    const long long before = field(mainThread, "voluntary_ctxt_switches:");
    if (before < 0) {
        std::fprintf(stderr, "wakeups: no process %s\n", pid.c_str());
        return 1;
    }
    const auto giveUp = Clock::now() + std::chrono::milliseconds(1500);
    while (field(mainThread, "voluntary_ctxt_switches:") == before && Clock::now() < giveUp)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    std::this_thread::sleep_for(std::chrono::milliseconds(250));

    const auto started = Clock::now();
    const auto first = sample(pid);
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    const auto last = sample(pid);
    const double elapsed = std::chrono::duration<double>(Clock::now() - started).count();

    Usage used;
    for (const auto &[thread, end] : last) {
        const auto start = first.find(thread);
        const Usage begin = start == first.end() ? Usage{} : start->second;
        used.switches += end.switches - begin.switches;
        used.cpuNs += end.cpuNs - begin.cpuNs;
    }
    std::printf("wakeups_per_s=%.2f cpu_s_per_hour=%.2f\n", double(used.switches) / elapsed,
                double(used.cpuNs) / 1e9 / elapsed * 3600);
    return 0;
}
