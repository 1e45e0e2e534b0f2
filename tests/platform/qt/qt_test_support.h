#pragma once

// Set-up and helpers shared by the Qt platform tests. The tests give windows and controls
// ids and names of their own; widgets are found by the names, as the platform sets them as
// object names.

#include "platform/qt/qt_platform.h"

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <functional>
#include <memory>
#include <type_traits>

namespace tessaly {

enum : int { Main = 0, Map = 1 };

inline WindowSpec windowSpec(int id, const char* name, int x, int y, int width, int height,
                             bool centred = false, bool hidden = false) {
    return {id, name, x, y, width, height, name, centred, hidden};
}

inline ControlSpec controlSpec(ControlKind kind, int window, int id, const char* name, Rect r) {
    ControlSpec spec;
    spec.kind = kind;
    spec.window = window;
    spec.id = id;
    spec.name = name;
    spec.rect = r;
    return spec;
}

inline MenuEntry item(int command, const char* text, bool checked = false) {
    return {MenuEntry::Kind::Item, text, command, checked, {}};
}
inline MenuEntry separator() {
    return {MenuEntry::Kind::Separator, {}, -1, false, {}};
}
inline MenuEntry submenu(const char* text, std::vector<MenuEntry> entries) {
    return {MenuEntry::Kind::Submenu, text, -1, false, std::move(entries)};
}

// A platform whose main window, 640 x 480, is open, centred and active; null when that fails.
inline std::unique_ptr<QtPlatform> platformWithMainWindow() {
    auto platform = std::make_unique<QtPlatform>(std::vector<std::string>{}, "/");
    if (!platform->openWindow(windowSpec(Main, "main", 0, 0, 640, 480, true)) ||
        !QTest::qWaitForWindowActive(qApp->activeWindow()))
        return nullptr;
    return platform;
}

// The window or control of that name (a canvas's drawing area); null when there is none.
inline QWidget* widget(const QString& name) {
    for (QWidget* w : QApplication::allWidgets()) {
        if (w->objectName() == name) return w;
    }
    return nullptr;
}

inline QWindow* handle(const QString& window) {
    return widget(window)->windowHandle();
}

// Every event queued so far, after processing what Qt has pending.
inline std::vector<Event> drain(QtPlatform& platform) {
    std::vector<Event> events;
    while (auto e = platform.pollEvent())
        events.push_back(*e);
    return events;
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
