// bench/window_mapped RUNS PROGRAM [ARGS...]
// Starts PROGRAM RUNS times on $DISPLAY and prints, for each run, the time
// from the fork to the first top-level window being mapped (the X server's
// MapNotify), in milliseconds; then the median. Each run is ended with
// SIGTERM once its window is mapped.
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {
double nowMs() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return ts.tv_sec * 1e3 + ts.tv_nsec / 1e6;
}

// The window's title (_NET_WM_NAME), to show which window was mapped.
std::string title(xcb_connection_t* c, xcb_window_t w) {
    const char name[] = "_NET_WM_NAME";
    xcb_intern_atom_reply_t* atom =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, sizeof name - 1, name), nullptr);
    if (!atom) return {};
    xcb_get_property_reply_t* prop = xcb_get_property_reply(
        c, xcb_get_property(c, 0, w, atom->atom, XCB_GET_PROPERTY_TYPE_ANY, 0, 256), nullptr);
    std::string out;
    if (prop)
        out.assign(static_cast<const char*>(xcb_get_property_value(prop)),
                   xcb_get_property_value_length(prop));
    free(prop);
    free(atom);
    return out;
}

// Milliseconds to the first mapped top-level window, or -1.
double oneRun(char** argv, std::string& mappedTitle) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "window_mapped: no X display\n");
        std::exit(2);
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const std::uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &mask);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));  // round trip

    const double t0 = nowMs();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[0], argv);
        _exit(127);
    }
    double took = -1;
    const int fd = xcb_get_file_descriptor(c);
    while (took < 0) {
        xcb_generic_event_t* ev = xcb_poll_for_event(c);
        if (!ev) {
            pollfd p{fd, POLLIN, 0};
            if (poll(&p, 1, 20000) <= 0) break;  // nothing within 20 s
            continue;
        }
        if ((ev->response_type & 0x7f) == XCB_MAP_NOTIFY) {
            auto* map = reinterpret_cast<xcb_map_notify_event_t*>(ev);
            if (!map->override_redirect) {
                took = nowMs() - t0;
                mappedTitle = title(c, map->window);
            }
        }
        free(ev);
    }
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    xcb_disconnect(c);
    return took;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: window_mapped RUNS PROGRAM [ARGS...]\n");
        return 2;
    }
    const int runs = std::max(1, std::atoi(argv[1]));
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        std::string mapped;
        const double ms = oneRun(argv + 2, mapped);
        if (ms < 0) {
            std::fprintf(stderr, "window_mapped: run %d: no window within 20 s\n", i + 1);
            return 1;
        }
        std::printf("run %d: %.1f ms  \"%s\"\n", i + 1, ms, mapped.c_str());
        times.push_back(ms);
    }
    std::sort(times.begin(), times.end());
    std::printf("median: %.1f ms\n", times[times.size() / 2]);
    return 0;
}
