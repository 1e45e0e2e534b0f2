#include "platform/qt/scroll_area.h"

#include <QWheelEvent>

namespace tessaly {

void ScrollArea::wheelEvent(QWheelEvent* event) {
    const bool sideways = (event->modifiers() & Qt::ShiftModifier) &&
                          event->angleDelta().x() == 0 && event->angleDelta().y() != 0;
    if (!sideways) {
        QScrollArea::wheelEvent(event);
        return;
    }
    // Qt would page up and down with Shift; the same turn without Shift along the other
    // axis scrolls the horizontal bar in single steps. Turning down goes right.
    QWheelEvent turned(event->position(), event->globalPosition(), event->pixelDelta().transposed(),
                       event->angleDelta().transposed(), event->buttons(),
                       event->modifiers() & ~Qt::ShiftModifier, event->phase(), event->inverted(),
                       event->source());
    QScrollArea::wheelEvent(&turned);
    event->setAccepted(turned.isAccepted());
}

} // namespace tessaly
