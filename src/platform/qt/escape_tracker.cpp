#include "platform/qt/escape_tracker.h"

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QKeyEvent>

#include <algorithm>

namespace tessaly {

EscapeTracker::EscapeTracker(EventQueue& queue) : queue_(queue) {
    qApp->installEventFilter(this);
}

EscapeTracker::~EscapeTracker() {
    if (qApp != nullptr) qApp->removeEventFilter(this);
}

void EscapeTracker::watchWindow(QWidget* window) {
    windows_.emplace_back(window);
}

bool EscapeTracker::countsAsProgramWindow(const QObject* receiver) const {
    if (!receiver->isWidgetType()) return false;
    if (QApplication::activePopupWidget() != nullptr) return false;
    if (QApplication::activeModalWidget() != nullptr) return false;
    const QWidget* window = static_cast<const QWidget*>(receiver)->window();
    return std::any_of(windows_.begin(), windows_.end(),
                       [window](const QPointer<QWidget>& w) { return w == window; });
}

// A key event passes here once for every receiver it is offered to on its way up the
// parent chain, so each update only sets the state and never toggles it.
bool EscapeTracker::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() != Qt::Key_Escape || key->isAutoRepeat()) break;
        if (held_ || !countsAsProgramWindow(watched)) break;
        held_ = true;
        // Wake the program's wait, which then finds the key held.
        queue_.push(Event{});
        break;
    }
    case QEvent::KeyRelease: {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Escape && !key->isAutoRepeat()) held_ = false;
        break;
    }
    case QEvent::ApplicationStateChange:
        // The release would go to another application and never be seen here.
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
            Qt::ApplicationActive)
            held_ = false;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tessaly
