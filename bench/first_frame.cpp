// Starts a program and ends it at its first frame: the moment it first draws into a window of
// the X display, as the server's Damage extension reports it. Prints the milliseconds from the
// start to that frame, and the processor time the program and what it started had used by its
// end, which waiting for other work on the machine does not count. The program is neither
// changed nor told: it is ended from outside.
// Usage: first_frame <program> [arguments...]
#include <xcb/damage.h>
#include <xcb/xcb.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int GiveUpAfterMs = 60000;

double millisecondsSince(const timespec& start)
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec - start.tv_sec) * 1e3 + double(now.tv_nsec - start.tv_nsec) / 1e6;
}

// The process that owns a window, as the toolkit announces it; 0 when it does not.
pid_t ownerOf(xcb_connection_t* c, xcb_window_t window)
{
    const char name[] = "_NET_WM_PID";
    std::unique_ptr<xcb_intern_atom_reply_t, decltype(&free)> atom(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 1, sizeof name - 1, name), nullptr), &free);
    if (!atom || atom->atom == XCB_NONE)
        return 0;
    std::unique_ptr<xcb_get_property_reply_t, decltype(&free)> pid(
        xcb_get_property_reply(
            c, xcb_get_property(c, 0, window, atom->atom, XCB_ATOM_CARDINAL, 0, 1), nullptr),
        &free);
    if (!pid || xcb_get_property_value_length(pid.get()) != 4)
        return 0;
    return pid_t(*static_cast<const uint32_t*>(xcb_get_property_value(pid.get())));
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s <program> [arguments...]\n", argv[0]);
        return 2;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "first_frame: cannot open the display\n");
        return 1;
    }
    const xcb_query_extension_reply_t* damage = xcb_get_extension_data(c, &xcb_damage_id);
    if (!damage || !damage->present) {
        std::fprintf(stderr, "first_frame: the X server has no Damage extension\n");
        return 1;
    }
    free(xcb_damage_query_version_reply(c, xcb_damage_query_version(c, 1, 1), nullptr));
    // Every new top-level window is announced, so that its drawing can be watched from the
    // moment it exists; the round trip makes sure of that before the program starts.
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t events = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &events);
    free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    const int fd = xcb_get_file_descriptor(c);
    fcntl(fd, F_SETFD, FD_CLOEXEC);

    timespec start{};
    clock_gettime(CLOCK_MONOTONIC, &start);
    const pid_t child = fork();
    if (child == 0) {
        // A group of its own, so that whatever it starts can be ended with it.
        setpgid(0, 0);
        execvp(argv[1], argv + 1);
        std::perror(argv[1]);
        _exit(127);
    }
    if (child < 0) {
        std::perror("fork");
        return 1;
    }

    for (;;) {
        pollfd ready{fd, POLLIN, 0};
        if (poll(&ready, 1, 100) < 0 && errno != EINTR)
            break;
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "first_frame: %s ended before it drew anything\n", argv[1]);
            return 1;
        }
        if (millisecondsSince(start) > GiveUpAfterMs) {
            std::fprintf(stderr, "first_frame: %s drew nothing in %d s\n", argv[1],
                         GiveUpAfterMs / 1000);
            break;
        }
        while (xcb_generic_event_t* e = xcb_poll_for_event(c)) {
            const uint8_t type = e->response_type & 0x7f;
            if (type == XCB_CREATE_NOTIFY) {
                const auto* created = reinterpret_cast<xcb_create_notify_event_t*>(e);
                xcb_damage_create(c, xcb_generate_id(c), created->window,
                                  XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
                xcb_flush(c);
            } else if (type == damage->first_event + XCB_DAMAGE_NOTIFY) {
                const double ms = millisecondsSince(start);
                const auto* drawn = reinterpret_cast<xcb_damage_notify_event_t*>(e);
                const pid_t owner = ownerOf(c, drawn->drawable);
                // The window's own process; the program's whole group if it does not say.
                kill(owner > 0 ? owner : -child, SIGKILL);
                rusage used{};
                wait4(child, &status, 0, &used);
                const auto msOf = [](const timeval& t) {
                    return double(t.tv_sec) * 1e3 + double(t.tv_usec) / 1e3;
                };
                std::printf("%.1f %.1f\n", ms, msOf(used.ru_utime) + msOf(used.ru_stime));
                free(e);
                return 0;
            }
            free(e);
        }
        if (xcb_connection_has_error(c))
            break;
    }
    if (xcb_connection_has_error(c))
        std::fprintf(stderr, "first_frame: lost the display\n");
    kill(-child, SIGKILL);
    waitpid(child, nullptr, 0);
    return 1;
}
