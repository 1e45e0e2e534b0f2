// Times presses to pixels for bench/latency.py: presses a mouse button through XTest and
// waits for the X server's first damage report (XDamage) on the pressed window. Xlib in C
// rather than Python, so that the figures resolve well below 0.1 ms.
//
// Usage: latency_probe PRESSES TURN WINDOW X Y [WINDOW X Y...]
// The windows take turns of TURN presses each until each has had PRESSES. A turn moves the
// pointer to the window's point (X, Y on the screen) and starts with one press that is not
// counted, since it may also activate the window. Per window the presses alternate the
// left button and the right one. Prints one line per window: the times in milliseconds.

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <poll.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct Target {
    Window window = 0;
    int x = 0;
    int y = 0;
    Damage damage = 0;
    int pressed = 0; // presses so far, the uncounted ones included
    std::vector<double> times;
};

int damageEventBase = 0;

// Waits until `deadline` for a damage report on `window`, taking every event that comes
// before it; true when one came.
bool waitForDamage(Display* display, Window window, Clock::time_point deadline) {
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == damageEventBase + XDamageNotify &&
                reinterpret_cast<XDamageNotifyEvent*>(&event)->drawable == window)
                return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() < 0) return false;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, static_cast<int>(left.count()) + 1);
    }
}

// Takes damage reports until none has come for `quiet`: the repaints a press or release
// set off are over.
void settle(Display* display, Window window, std::chrono::milliseconds quiet) {
    const auto end = Clock::now() + std::chrono::seconds(1);
    while (Clock::now() < end && waitForDamage(display, window, Clock::now() + quiet)) {
    }
}

// One press and release; the milliseconds from the press to the first damage, or a
// negative value when none came.
double press(Display* display, Target& t) {
    const unsigned button = t.pressed % 2 == 0 ? 1 : 3;
    ++t.pressed;
    XSync(display, False);
    settle(display, t.window, std::chrono::milliseconds(2));
    const auto start = Clock::now();
    XTestFakeButtonEvent(display, button, True, CurrentTime);
    XFlush(display);
    const bool damaged = waitForDamage(display, t.window, start + std::chrono::seconds(2));
    const auto end = Clock::now();
    XTestFakeButtonEvent(display, button, False, CurrentTime);
    XFlush(display);
    settle(display, t.window, std::chrono::milliseconds(30));
    return damaged ? std::chrono::duration<double, std::milli>(end - start).count() : -1.0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 6 || (argc - 3) % 3 != 0) {
        std::fprintf(stderr, "usage: latency_probe PRESSES TURN WINDOW X Y [WINDOW X Y...]\n");
        return 2;
    }
    const int presses = std::atoi(argv[1]);
    const int turn = std::atoi(argv[2]);
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        std::fprintf(stderr, "latency_probe: cannot open the display\n");
        return 1;
    }
    int errorBase = 0, major = 0, minor = 0;
    if (!XDamageQueryExtension(display, &damageEventBase, &errorBase) ||
        !XTestQueryExtension(display, &errorBase, &errorBase, &major, &minor)) {
        std::fprintf(stderr, "latency_probe: the server lacks DAMAGE or XTEST\n");
        return 1;
    }
    std::vector<Target> targets;
    for (int i = 3; i + 2 < argc; i += 3) {
        Target t;
        t.window = static_cast<Window>(std::strtoul(argv[i], nullptr, 0));
        t.x = std::atoi(argv[i + 1]);
        t.y = std::atoi(argv[i + 2]);
        t.damage = XDamageCreate(display, t.window, XDamageReportRawRectangles);
        targets.push_back(t);
    }
    for (bool more = true; more;) {
        more = false;
        for (Target& t : targets) {
            if (static_cast<int>(t.times.size()) >= presses) continue;
            XTestFakeMotionEvent(display, -1, t.x, t.y, CurrentTime);
            XSync(display, False);
            settle(display, t.window, std::chrono::milliseconds(50));
            press(display, t); // activates the window and sets off its repaints
            for (int k = 0; k < turn && static_cast<int>(t.times.size()) < presses; ++k) {
                const double ms = press(display, t);
                if (ms < 0) {
                    std::fprintf(stderr, "latency_probe: no damage on window 0x%lx\n", t.window);
                    return 1;
                }
                t.times.push_back(ms);
            }
            more = more || static_cast<int>(t.times.size()) < presses;
        }
    }
    for (const Target& t : targets) {
        for (std::size_t i = 0; i < t.times.size(); ++i)
            std::printf(i == 0 ? "%.4f" : " %.4f", t.times[i]);
        std::printf("\n");
    }
    XCloseDisplay(display);
    return 0;
}
