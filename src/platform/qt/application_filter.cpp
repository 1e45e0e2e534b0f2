#include "platform/qt/application_filter.h"

#include "platform/qt/program_window.h"

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QKeyEvent>

namespace tessaly {

ApplicationFilter::ApplicationFilter(EventQueue& queue) : queue_(queue) {
    qApp->installEventFilter(this);
}

ApplicationFilter::~ApplicationFilter() {
    if (qApp != nullptr) qApp->removeEventFilter(this);
}

bool ApplicationFilter::escapeHeld() {
    const bool held = escapeDown_ || escapePressed_;
    escapePressed_ = false;
    return held;
}

// A key event passes here once for every receiver it is offered to on its way up the
// parent chain, so each update only sets the state and never toggles it.
bool ApplicationFilter::eventFilter(QObject* watched, QEvent* event) {
    const auto isEscape = [event] {
        const auto* key = static_cast<QKeyEvent*>(event);
        return key->key() == Qt::Key_Escape && !key->isAutoRepeat();
    };
    switch (event->type()) {
    case QEvent::KeyPress:
        if (escapeDown_ || !isEscape() || !watched->isWidgetType()) break;
        if (QApplication::activePopupWidget() != nullptr) break;
        if (QApplication::activeModalWidget() != nullptr) break;
        if (qobject_cast<ProgramWindow*>(static_cast<QWidget*>(watched)->window()) == nullptr)
            break;
        escapeDown_ = escapePressed_ = true;
        // Wakes the program's wait, which then finds the key held.
        queue_.push_back(Event{});
        break;
    case QEvent::KeyRelease:
        if (isEscape()) escapeDown_ = false;
        break;
    case QEvent::ApplicationStateChange:
        // The release would go to another application and never be seen here.
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
            Qt::ApplicationActive)
            escapeDown_ = escapePressed_ = false;
        break;
    case QEvent::Quit:
        if (watched == qApp) quitRequested = true;
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace tessaly
