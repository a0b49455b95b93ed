// Measures a program's start-up from outside, the same way for any program:
//
//   first_frame [--wayland] PROGRAM [ARGUMENTS...]
//
// starts PROGRAM and waits on the X server for the first complete frame of its window: the moment every pixel
// of the window has been drawn, as the server's DAMAGE extension reports the drawing. With --wayland the
// program runs as a client of the Wayland compositor that WAYLAND_DISPLAY names, and the first frame is the
// moment it commits the first buffer to a window's surface, read from its protocol log (WAYLAND_DEBUG=client,
// which costs any client alike, a few microseconds a message). It prints
// "first_frame_ms=<from just before starting the process to that frame> cpu_ms=<processor time the program
// had used by then> peak_rss_kb=<VmHWM a moment later>"
// and ends the program. Nothing in the program measured is changed or told that it is being measured.

#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

extern char **environ;

namespace {

double seconds()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

// Processor time that all the process's threads have used so far, in milliseconds.
double cpuMs(pid_t pid)
{
    double total = 0;
    std::error_code error;
    for (const auto &task :
         std::filesystem::directory_iterator("/proc/" + std::to_string(pid) + "/task", error)) {
        long long ns = 0;
        std::ifstream(task.path() / "schedstat") >> ns;
        total += double(ns) / 1e6;
    }
    return total;
}

long peakResidentKb(pid_t pid)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmHWM:", 0) == 0)
            return std::strtol(line.c_str() + 6, nullptr, 10);
    }
    return -1;
}

struct Drawn {
    int left = 0, top = 0, right = 0, bottom = 0; // the union of what was drawn, as a bounding box
    bool any = false;

    void add(const xcb_rectangle_t &r)
    {
        if (!any) {
            left = r.x, top = r.y, right = r.x + r.width, bottom = r.y + r.height;
            any = true;
            return;
        }
        left = std::min<int>(left, r.x);
        top = std::min<int>(top, r.y);
        right = std::max<int>(right, r.x + r.width);
        bottom = std::max<int>(bottom, r.y + r.height);
    }
    bool covers(const xcb_rectangle_t &window) const
    {
        return any && left <= 0 && top <= 0 && right >= window.width && bottom >= window.height;
    }
};

int fail(const char *message)
{
    std::fprintf(stderr, "first_frame: %s\n", message);
    return 1;
}

// Starts the program with its standard output discarded and its standard error too, or sent to `errors`; 0 if
// it could not start.
pid_t spawn(char *const command[], int errors = -1, char *const environment[] = environ)
{
    posix_spawn_file_actions_t quiet;
    posix_spawn_file_actions_init(&quiet);
    posix_spawn_file_actions_addopen(&quiet, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    if (errors < 0)
        posix_spawn_file_actions_addopen(&quiet, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    else
        posix_spawn_file_actions_adddup2(&quiet, errors, STDERR_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, command[0], &quiet, nullptr, command, environment);
    posix_spawn_file_actions_destroy(&quiet);
    return spawned == 0 ? pid : 0;
}

// What the program used by its first frame, and its peak memory a moment later, once it has ended.
int report(pid_t pid, double started, double framed, double cpu)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    const long peak = peakResidentKb(pid);
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
    std::printf("first_frame_ms=%.1f cpu_ms=%.1f peak_rss_kb=%ld\n", (framed - started) * 1000, cpu, peak);
    return 0;
}

// The first frame on Wayland: the first buffer attached to a window's surface and committed. The program's
// protocol log comes through a pipe, read line by line as the program writes it; objects are named as
// wl_surface@7 by the Wayland library of Debian 12, as wl_surface#7 by later ones.
int waylandFirstFrame(char *const command[])
{
    int log[2];
    if (pipe2(log, O_CLOEXEC) != 0)
        return fail("cannot make a pipe");
    std::vector<char *> environment;
    for (char **variable = environ; *variable; ++variable)
        environment.push_back(*variable);
    std::string debug = "WAYLAND_DEBUG=client";
    environment.push_back(debug.data());
    environment.push_back(nullptr);

    const double started = seconds();
    const pid_t pid = spawn(command, log[1], environment.data());
    close(log[1]);
    if (!pid)
        return fail("cannot start the program");

    static const std::regex window(
        R"(-> xdg_wm_base[@#]\d+\.get_xdg_surface\(new id [^,]*, wl_surface[@#](\d+)\))");
    static const std::regex attach(R"(-> wl_surface[@#](\d+)\.attach\(wl_buffer[@#])");
    static const std::regex commit(R"(-> wl_surface[@#](\d+)\.commit\(\))");
    std::set<std::string> windows;
    std::set<std::string> attached;
    std::string pending;
    double framed = 0;
    double cpu = 0;
    const double deadline = started + 30;
    pollfd fd{log[0], POLLIN, 0};
    char buffer[65536];
    while (framed == 0) {
        if (seconds() > deadline || waitpid(pid, nullptr, WNOHANG) == pid) {
            kill(pid, SIGKILL);
            return fail("the program committed no frame");
        }
        if (poll(&fd, 1, 100) <= 0)
            continue;
        const ssize_t got = read(log[0], buffer, sizeof buffer);
        if (got <= 0)
            continue;
        pending.append(buffer, std::size_t(got));
        std::size_t begin = 0;
        for (std::size_t end; framed == 0 && (end = pending.find('\n', begin)) != std::string::npos;
             begin = end + 1) {
            const std::string line = pending.substr(begin, end - begin);
            std::smatch found;
            if (std::regex_search(line, found, window)) {
                windows.insert(found[1]);
            } else if (std::regex_search(line, found, attach) && windows.count(found[1])) {
                attached.insert(found[1]);
            } else if (std::regex_search(line, found, commit) && attached.count(found[1])) {
                framed = seconds();
                cpu = cpuMs(pid);
            }
        }
        pending.erase(0, begin);
    }
    // The program goes on logging; the pipe is drained so that it never waits on a full one.
    std::thread drain([fd = log[0]] {
        char rest[65536];
        while (read(fd, rest, sizeof rest) > 0) {
        }
    });
    const int status = report(pid, started, framed, cpu);
    drain.join();
    close(log[0]);
    return status;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc < 2)
        return fail("usage: first_frame [--wayland] PROGRAM [ARGUMENTS...]");
    if (std::string_view(argv[1]) == "--wayland")
        return argc > 2 ? waylandFirstFrame(argv + 2)
                        : fail("usage: first_frame [--wayland] PROGRAM [ARGUMENTS...]");
    xcb_connection_t *x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x))
        return fail("cannot connect to the X server");
    const xcb_query_extension_reply_t *damage = xcb_get_extension_data(x, &xcb_damage_id);
    if (!damage || !damage->present)
        return fail("the X server has no DAMAGE extension");
    free(xcb_damage_query_version_reply(x, xcb_damage_query_version(x, 1, 1), nullptr));

    // Every window created on the screen is announced; the first one after the start is the program's,
    // and its resource-id base tells the program's windows from the window manager's frames.
    const xcb_setup_t *setup = xcb_get_setup(x);
    const xcb_window_t root = xcb_setup_roots_iterator(setup).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, root, XCB_CW_EVENT_MASK, &mask);
    free(xcb_get_input_focus_reply(x, xcb_get_input_focus(x), nullptr)); // the selection is in force

    const double started = seconds();
    // The program's own output is not ours to print.
    const pid_t pid = spawn(argv + 1);
    if (!pid)
        return fail("cannot start the program");

    std::optional<uint32_t> clientBase;
    std::map<xcb_window_t, Drawn> windows;
    double framed = 0;
    double cpu = 0;
    const double deadline = started + 30;
    pollfd fd{xcb_get_file_descriptor(x), POLLIN, 0};
    while (framed == 0) {
        if (seconds() > deadline || waitpid(pid, nullptr, WNOHANG) == pid) {
            kill(pid, SIGKILL);
            return fail("the program showed no complete frame");
        }
        poll(&fd, 1, 100);
        while (xcb_generic_event_t *event = xcb_poll_for_event(x)) {
            const uint8_t type = event->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto *created = reinterpret_cast<xcb_create_notify_event_t *>(event);
                const uint32_t base = created->window & ~setup->resource_id_mask;
                if (!clientBase)
                    clientBase = base;
                if (base == *clientBase && !created->override_redirect) {
                    windows[created->window] = {};
                    xcb_damage_create(x, xcb_generate_id(x), created->window,
                                      XCB_DAMAGE_REPORT_LEVEL_RAW_RECTANGLES);
                    xcb_flush(x);
                }
            } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
                const auto *notify = reinterpret_cast<xcb_damage_notify_event_t *>(event);
                const auto found = windows.find(notify->drawable);
                // Only a real window counts, not the toolkit's tiny helper windows.
                if (found != windows.end() && notify->geometry.width >= 32 && notify->geometry.height >= 32) {
                    found->second.add(notify->area);
                    if (found->second.covers(notify->geometry) && framed == 0) {
                        framed = seconds();
                        cpu = cpuMs(pid);
                    }
                }
            }
            free(event);
        }
        if (xcb_connection_has_error(x))
            return fail("lost the X server");
    }

    xcb_disconnect(x);
    return report(pid, started, framed, cpu);
}
