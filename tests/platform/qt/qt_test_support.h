#pragma once

// Set-up and helpers shared by the Qt platform tests.

#include "app/ids.h"
#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>
#include <type_traits>

namespace tessaly {

// A platform whose main window is open, centred and active; null when that fails.
inline std::unique_ptr<QtPlatform> platformWithMainWindow() {
    auto platform = std::make_unique<QtPlatform>(std::vector<std::string>{}, "/");
    if (!platform->openWindow(WindowMain, 0, 0, 640, 480, "main", {true, false}) ||
        !QTest::qWaitForWindowActive(platform->windowWidget(WindowMain)))
        return nullptr;
    return platform;
}

inline QWindow* handle(QtPlatform& platform, int window) {
    return platform.windowWidget(window)->windowHandle();
}

// Every event queued so far, after processing what Qt has pending.
inline std::vector<Event> drain(QtPlatform& platform) {
    std::vector<Event> events;
    while (auto e = platform.pollEvent())
        events.push_back(*e);
    return events;
}

inline std::vector<int> commands(QtPlatform& platform) {
    std::vector<int> ids;
    for (const Event& e : drain(platform)) {
        if (e.kind == EventKind::Command) ids.push_back(e.command);
    }
    return ids;
}

// Calls `open`, which shows a modal dialog or a popup menu and returns once it closes, and
// runs `act` on it while it is open. Whatever `act` leaves open is closed, so that a
// failing check cannot hang the test. True when `act` ran on a T.
template <class T = QWidget>
bool whileOpen(const std::function<void()>& open,
               const std::type_identity_t<std::function<void(T*)>>& act) {
    bool ran = false;
    QObject context; // drops the timer should `open` return without showing anything
    QTimer::singleShot(0, &context, [&] {
        QWidget* shown = QApplication::activePopupWidget();
        if (shown == nullptr) shown = QApplication::activeModalWidget();
        if (T* widget = qobject_cast<T*>(shown)) {
            act(widget);
            ran = true;
        }
        if (shown != nullptr && shown->isVisible()) QTimer::singleShot(0, shown, &QWidget::close);
    });
    open();
    return ran;
}

} // namespace tessaly
