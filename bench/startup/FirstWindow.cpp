// Starts a program and times its first visible window, as a user at the screen sees it.
//
//   bench_first_window <settle ms> <program> [argument...]
//
// Run it on an X server whose root window is black (Xvfb -br) with nothing else on it.
// It watches the root window for the first top-level window of at least 200 x 200 pixels
// to be mapped, then reads the window's middle row from the server every half millisecond
// until the row has content drawn into it (pixels that are no longer the black root
// beneath). That moment is the first visible window; the clock starts just before the
// program is started. After <settle ms> more it reads the program's resident memory and
// ends it. Prints one line: "first_window_ms=<ms> rss_kb=<kB>".
#include <xcb/xcb.h>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kMinSide = 200;
constexpr int kDrawnPixels = 16; // pixels of the row that must differ from the black root
constexpr auto kGiveUp = std::chrono::seconds(20);

int Fail(const char* what) {
    std::fprintf(stderr, "bench_first_window: %s\n", what);
    return 1;
}

long ResidentKb(pid_t pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0) return std::strtol(line.c_str() + 6, nullptr, 10);
    return -1;
}

// Counts the pixels of the window's middle row that are not black.
int DrawnPixels(xcb_connection_t* c, xcb_window_t window, int width, int height) {
    xcb_get_image_cookie_t cookie =
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, static_cast<int16_t>(height / 2),
                      static_cast<uint16_t>(width), 1, ~0u);
    std::unique_ptr<xcb_get_image_reply_t, decltype(&std::free)> reply(
        xcb_get_image_reply(c, cookie, nullptr), &std::free);
    if (!reply) return 0;
    const uint8_t* data = xcb_get_image_data(reply.get());
    const int length = xcb_get_image_data_length(reply.get());
    const int bytesPerPixel = length / width;
    int drawn = 0;
    for (int x = 0; x < width && bytesPerPixel > 0; ++x) {
        const uint8_t* p = data + x * bytesPerPixel;
        if ((p[0] | p[1] | p[2]) != 0) ++drawn;
    }
    return drawn;
}

void Stop(pid_t pid) {
    kill(pid, SIGTERM);
    for (int i = 0; i < 200; ++i) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) return;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 3) return Fail("usage: bench_first_window <settle ms> <program> [argument...]");
    const int settleMs = std::atoi(argv[1]);
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) return Fail("cannot reach the X server (DISPLAY)");
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(c);

    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) return Fail("cannot fork");
    if (pid == 0) {
        execvp(argv[2], argv + 2);
        std::perror("bench_first_window: exec");
        _exit(127);
    }

    xcb_window_t window = XCB_NONE;
    int width = 0, height = 0;
    while (window == XCB_NONE) {
        if (Clock::now() - start > kGiveUp) {
            Stop(pid);
            return Fail("no window was mapped");
        }
        pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
        poll(&fd, 1, 50);
        while (xcb_generic_event_t* event = xcb_poll_for_event(c)) {
            if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY && window == XCB_NONE) {
                const xcb_window_t mapped =
                    reinterpret_cast<xcb_map_notify_event_t*>(event)->window;
                std::unique_ptr<xcb_get_geometry_reply_t, decltype(&std::free)> geometry(
                    xcb_get_geometry_reply(c, xcb_get_geometry(c, mapped), nullptr), &std::free);
                if (geometry && geometry->width >= kMinSide && geometry->height >= kMinSide) {
                    window = mapped;
                    width = geometry->width;
                    height = geometry->height;
                }
            }
            std::free(event);
        }
        if (xcb_connection_has_error(c)) return Fail("lost the X server");
    }

    while (DrawnPixels(c, window, width, height) < kDrawnPixels) {
        if (Clock::now() - start > kGiveUp) {
            Stop(pid);
            return Fail("the window was mapped but never drawn");
        }
        std::this_thread::sleep_for(std::chrono::microseconds(500));
    }
    const double firstWindowMs =
        std::chrono::duration<double, std::milli>(Clock::now() - start).count();

    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long rssKb = ResidentKb(pid);
    Stop(pid);
    xcb_disconnect(c);
    std::printf("first_window_ms=%.1f rss_kb=%ld window=%dx%d\n", firstWindowMs, rssKb, width,
                height);
    return 0;
}
