// Measures a program's start-up on the X display in $DISPLAY: from the moment
// it is started (just before fork) to the first Expose of its window titled
// TITLE, that is the window mapped and viewable, seen as X events on the root
// (SubstructureNotify) and on each new window, never by polling. Then waits
// IDLE_SECONDS, reads the program's resident memory and ends it.
//
//   startup_probe TITLE IDLE_SECONDS PROGRAM [ARGUMENTS...]
//
// Prints one line: "MILLISECONDS RSS_KIB RESOLUTION_MS". The resolution is
// how late this probe can see an event: the clock's own resolution, or the
// median round trip from mapping a window of its own to reading that
// window's MapNotify, whichever is larger.
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <memory>
#include <set>
#include <string>
#include <vector>

namespace {

constexpr double kGiveUpMs = 60000;

double NowMs() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

// A free()d reply, or null.
template <typename T>
Reply<T> Own(T* reply) {
    return Reply<T>(reply, &std::free);
}

xcb_atom_t Atom(xcb_connection_t* c, const char* name) {
    auto reply =
        Own(xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::string Title(xcb_connection_t* c, xcb_window_t window, xcb_atom_t netName, xcb_atom_t utf8) {
    for (const auto& [property, type] :
         {std::pair{netName, utf8},
          std::pair<xcb_atom_t, xcb_atom_t>{XCB_ATOM_WM_NAME, XCB_ATOM_STRING}}) {
        auto reply = Own(xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, property, type, 0, 1024), nullptr));
        if (reply && xcb_get_property_value_length(reply.get()) > 0) {
            return std::string(
                static_cast<const char*>(xcb_get_property_value(reply.get())),
                static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
        }
    }
    return {};
}

// Helper windows a toolkit names after the program (a tray icon's, an
// invisible leader) are a pixel or so in size: not the window looked for.
bool IsWindowSized(xcb_connection_t* c, xcb_window_t window) {
    auto geometry = Own(xcb_get_geometry_reply(c, xcb_get_geometry(c, window), nullptr));
    return geometry && geometry->width > 1 && geometry->height > 1;
}

// Median round trip from mapping a window of our own (override-redirect, so
// no window manager stands between) to reading its MapNotify.
double EventRoundTripMs(xcb_connection_t* c, xcb_screen_t* screen) {
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t values[] = {1, XCB_EVENT_MASK_STRUCTURE_NOTIFY};
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                      XCB_CW_OVERRIDE_REDIRECT | XCB_CW_EVENT_MASK, values);
    std::vector<double> trips;
    for (int i = 0; i < 21; ++i) {
        const double start = NowMs();
        xcb_map_window(c, window);
        xcb_flush(c);
        bool mapped = false;
        while (!mapped) {
            auto event = Own(xcb_wait_for_event(c));
            if (!event) {
                return -1;
            }
            mapped = (event->response_type & 0x7f) == XCB_MAP_NOTIFY;
        }
        trips.push_back(NowMs() - start);
        xcb_unmap_window(c, window);
        xcb_flush(c);
    }
    xcb_destroy_window(c, window);
    xcb_flush(c);
    std::sort(trips.begin(), trips.end());
    return trips[trips.size() / 2];
}

long ResidentKib(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::atol(line.c_str() + 6);
        }
    }
    return -1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: %s TITLE IDLE_SECONDS PROGRAM [ARGUMENTS...]\n", argv[0]);
        return 2;
    }
    const std::string title = argv[1];
    const double idleSeconds = std::atof(argv[2]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "startup_probe: cannot open the display\n");
        return 1;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    const xcb_atom_t netName = Atom(c, "_NET_WM_NAME");
    const xcb_atom_t utf8 = Atom(c, "UTF8_STRING");
    timespec clockResolution{};
    clock_getres(CLOCK_MONOTONIC, &clockResolution);
    const double resolution = std::max(clockResolution.tv_sec * 1e3 + clockResolution.tv_nsec / 1e6,
                                       EventRoundTripMs(c, screen));

    const std::uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, screen->root, XCB_CW_EVENT_MASK, &rootMask);
    // The selection is in force before the program starts.
    std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));

    const double start = NowMs();
    const pid_t child = fork();
    if (child == 0) {
        // The program's own output stays out of the probe's line.
        const int quiet = open("/dev/null", O_WRONLY);
        dup2(quiet, STDOUT_FILENO);
        dup2(quiet, STDERR_FILENO);
        execvp(argv[3], argv + 3);
        std::_Exit(127);
    }
    if (child < 0) {
        std::perror("startup_probe: fork");
        return 1;
    }

    // Every window created from now on is watched for its own map and
    // exposure; the first exposure of a window with the title ends the wait.
    const std::uint32_t windowMask = XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_EXPOSURE;
    std::set<xcb_window_t> watched;
    double shown = -1;
    auto watch = [&](xcb_window_t window) {
        if (!watched.insert(window).second) {
            return;
        }
        xcb_change_window_attributes(c, window, XCB_CW_EVENT_MASK, &windowMask);
        // Mapped before the selection took effect (no window manager in
        // between): counts as shown now.
        auto attributes =
            Own(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, window), nullptr));
        if (attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
            Title(c, window, netName, utf8) == title && IsWindowSized(c, window)) {
            shown = NowMs();
        }
    };
    while (shown < 0) {
        auto event = Own(xcb_poll_for_event(c));
        if (!event) {
            // Sleeps until the server writes; wakes now and then only to see
            // whether the program is still there.
            if (xcb_connection_has_error(c)) {
                std::fprintf(stderr, "startup_probe: the display closed\n");
                kill(child, SIGKILL);
                return 1;
            }
            int status = 0;
            if (waitpid(child, &status, WNOHANG) == child) {
                std::fprintf(stderr, "startup_probe: %s ended before its window showed\n", argv[3]);
                return 1;
            }
            if (NowMs() - start > kGiveUpMs) {
                std::fprintf(stderr, "startup_probe: no window \"%s\" after %.0f ms\n",
                             title.c_str(), kGiveUpMs);
                kill(child, SIGKILL);
                waitpid(child, nullptr, 0);
                return 1;
            }
            pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
            poll(&fd, 1, 200);
            continue;
        }
        const double at = NowMs();
        switch (event->response_type & 0x7f) {
            case XCB_CREATE_NOTIFY: {
                const auto* e = reinterpret_cast<xcb_create_notify_event_t*>(event.get());
                watch(e->window);
                break;
            }
            case XCB_REPARENT_NOTIFY: {
                const auto* e = reinterpret_cast<xcb_reparent_notify_event_t*>(event.get());
                watch(e->window);
                break;
            }
            case XCB_EXPOSE: {
                const auto* e = reinterpret_cast<xcb_expose_event_t*>(event.get());
                if (watched.count(e->window) && Title(c, e->window, netName, utf8) == title &&
                    IsWindowSized(c, e->window)) {
                    shown = at;
                }
                break;
            }
            default:
                break;
        }
    }

    timespec idle{static_cast<time_t>(idleSeconds),
                  static_cast<long>((idleSeconds - static_cast<time_t>(idleSeconds)) * 1e9)};
    nanosleep(&idle, nullptr);
    const long rss = ResidentKib(child);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    xcb_disconnect(c);
    std::printf("%.3f %ld %.3f\n", shown - start, rss, resolution);
    return 0;
}
