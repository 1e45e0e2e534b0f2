#include "platform/qt/quit_watcher.h"

#include <QCoreApplication>
#include <QEvent>

namespace tessaly {

QuitWatcher::QuitWatcher() {
    qApp->installEventFilter(this);
}

QuitWatcher::~QuitWatcher() {
    if (qApp != nullptr) qApp->removeEventFilter(this);
}

bool QuitWatcher::eventFilter(QObject* watched, QEvent* event) {
    if (watched == qApp && event->type() == QEvent::Quit) quitRequested_ = true;
    return QObject::eventFilter(watched, event);
}

} // namespace tessaly
