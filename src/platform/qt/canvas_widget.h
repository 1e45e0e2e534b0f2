#pragma once

#include "platform/event.h"
#include "platform/surface.h"

#include <QWidget>

// The drawing area of a canvas control. It shows its Surface as it is and reports the
// mouse's presses, releases, moves and leaves (positions in drawing-area pixels; outside
// the area, negative included, while a button pressed over it is held) and, when it takes
// the keyboard, the keys going down and really coming up. The wheel goes on to the widgets
// around it, so that a scroll area holding it scrolls.

namespace tessaly {

class CanvasWidget : public QWidget {
    Q_OBJECT

  public:
    CanvasWidget(EventQueue& queue, int window, int id, QSize size, bool keyboard, QWidget* parent);

    // The pixels, made white at the first call: a canvas nobody draws on (one in a window
    // not shown yet, say) takes no memory.
    Surface& surface();
    // Repaints the pixels that changed since the last call, and only those.
    void showChanges();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override { push(EventKind::PointerDown, event); }
    // The second press of a double click comes only as this event.
    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }
    // It comes here wherever the pointer went after the press.
    void mouseReleaseEvent(QMouseEvent* event) override { push(EventKind::PointerUp, event); }
    void mouseMoveEvent(QMouseEvent* event) override { push(EventKind::PointerMove, event); }
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override { pushKey(EventKind::KeyDown, event); }
    void keyReleaseEvent(QKeyEvent* event) override { pushKey(EventKind::KeyUp, event); }

  private:
    void push(EventKind kind, QMouseEvent* event);
    void pushKey(EventKind kind, QKeyEvent* event);

    EventQueue& queue_;
    int window_;
    int id_;
    Surface surface_;
    // The surface as last shown, to find what a drawing changed.
    Surface shown_;
};

} // namespace tessaly
