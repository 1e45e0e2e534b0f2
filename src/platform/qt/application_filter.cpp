#include "platform/qt/application_filter.h"

#include "platform/qt/program_window.h"

#include <QApplication>
#include <QApplicationStateChangeEvent>
#include <QKeyEvent>

namespace tessaly {

ApplicationFilter::ApplicationFilter(EventQueue& queue) : queue_(queue) {
    qApp->installEventFilter(this);
    frame_.setSingleShot(true);
    frame_.setInterval(frameMs);
    connect(&frame_, &QTimer::timeout, this, [this] { queue_.push_back(Event{}); });
}

ApplicationFilter::~ApplicationFilter() {
    if (qApp != nullptr) qApp->removeEventFilter(this);
}

void ApplicationFilter::wakeAfterFrame() {
    if (!frame_.isActive()) frame_.start();
}

// A key event passes here once for every receiver it is offered to on its way up the
// parent chain: each press and release is reported once.
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
        escapeDown_ = true;
        queue_.push_back(keyEvent(EventKind::KeyDown, Key::Escape));
        break;
    case QEvent::KeyRelease:
        if (!escapeDown_ || !isEscape()) break;
        escapeDown_ = false;
        queue_.push_back(keyEvent(EventKind::KeyUp, Key::Escape));
        break;
    case QEvent::ApplicationStateChange:
        // A release would go to another application and never be seen here.
        if (static_cast<QApplicationStateChangeEvent*>(event)->applicationState() !=
            Qt::ApplicationActive) {
            escapeDown_ = false;
            queue_.push_back(keyEvent(EventKind::KeyboardLost));
        }
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
