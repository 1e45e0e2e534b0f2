#pragma once

#include "platform/qt/event_queue.h"
#include "platform/surface.h"

#include <QWidget>

// The drawing area of a canvas control. It shows its Surface as it is and turns the
// mouse, wheel, key and focus events it receives into the program's canvas events:
// positions in drawing-area pixels (outside the area, negative included, while a button
// pressed over it is held), a click only after a release inside the area or past its
// right or bottom edge by up to twice the border, a double click's second press as a
// button down, the first move after entering as a mouse enter, and key up only for real
// releases. The wheel is reported and also left to the widgets around the canvas, so that
// a scroll area holding it scrolls.

namespace tessaly {

class CanvasWidget : public QWidget {
    Q_OBJECT

  public:
    // `border`: the width of the frame around the drawing area, 0 for none.
    CanvasWidget(EventQueue& queue, int window, int id, QSize size, int border, bool keyboard,
                 QWidget* parent);

    // The pixels, made white at the first call: a canvas nobody draws on (the map's, until
    // its window is first shown) takes no memory.
    Surface& surface();
    // Repaints the pixels that changed since the last call, and only those.
    void showChanges();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void push(EventType type, QPoint position, Qt::MouseButtons buttons, Key key = Key::None);
    void pushAtCursor(EventType type, Key key = Key::None);

    EventQueue& queue_;
    int window_;
    int id_;
    int border_;
    bool keyboard_;
    bool entered_ = false; // the next move is the first one since the pointer came in
    Surface surface_;
    // The surface as last shown, to find what a drawing changed.
    Surface shown_;
};

} // namespace tessaly
