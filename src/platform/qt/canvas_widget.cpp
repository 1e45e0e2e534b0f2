#include "platform/qt/canvas_widget.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>

#include <cmath>

namespace tessaly {

namespace {

Button buttonOf(Qt::MouseButton button) {
    if (button == Qt::LeftButton) return Button::Left;
    return button == Qt::RightButton ? Button::Right : Button::None;
}

Key keyOf(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left: return Key::Left;
    case Qt::Key_Up: return Key::Up;
    case Qt::Key_Right: return Key::Right;
    case Qt::Key_Down: return Key::Down;
    case Qt::Key_Insert: return Key::Insert;
    case Qt::Key_Delete: return Key::Delete;
    case Qt::Key_Escape: return Key::Escape;
    default: return Key::Other;
    }
}

} // namespace

CanvasWidget::CanvasWidget(EventQueue& queue, int window, int id, QSize size, bool keyboard,
                           QWidget* parent)
    : QWidget(parent), queue_(queue), window_(window), id_(id) {
    setFixedSize(size);
    setMouseTracking(true);
    setFocusPolicy(keyboard ? Qt::ClickFocus : Qt::NoFocus);
    // Every pixel comes from the surface, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

Surface& CanvasWidget::surface() {
    if (surface_.empty()) surface_ = Surface(width(), height(), rgb(255, 255, 255));
    return surface_;
}

// A press changes a few pixels, and repainting only those keeps its way to the screen
// short: a whole large canvas would be converted to the screen's pixel format and sent
// to the display server on every change.
void CanvasWidget::showChanges() {
    QRegion changed;
    for (const Rect& r : surface_.takeChanges(shown_)) changed += QRect(r.x, r.y, r.w, r.h);
    if (!changed.isEmpty()) update(changed);
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (surface_.empty()) {
        painter.fillRect(event->rect(), Qt::white);
        return;
    }
    const Surface& pixels = surface_; // read only, so that no row is noted as written
    const QImage image(reinterpret_cast<const uchar*>(pixels.data()), pixels.width(),
                       pixels.height(), pixels.width() * 4, QImage::Format_RGBX8888);
    painter.drawImage(event->rect(), image, event->rect());
}

void CanvasWidget::leaveEvent(QEvent*) {
    queue_.push_back(eventOf(EventKind::PointerLeave, window_, id_));
}

void CanvasWidget::push(EventKind kind, QMouseEvent* event) {
    Event e = eventOf(kind, window_, id_);
    e.button = buttonOf(event->button());
    // The middle button's presses and releases are left out.
    if (kind != EventKind::PointerMove && e.button == Button::None) return;
    // Rounded down, so that a pointer just left of or above the area lies outside it.
    e.x = static_cast<int>(std::floor(event->position().x()));
    e.y = static_cast<int>(std::floor(event->position().y()));
    e.buttons = (event->buttons() & Qt::LeftButton ? ButtonLeft : 0) |
                (event->buttons() & Qt::RightButton ? ButtonRight : 0);
    queue_.push_back(e);
}

// A held key repeats its press and release; only the first press and the last release
// are reported.
void CanvasWidget::pushKey(EventKind kind, QKeyEvent* event) {
    if (event->isAutoRepeat()) return;
    Event e = eventOf(kind, window_, id_);
    e.key = keyOf(event->key());
    queue_.push_back(e);
}

} // namespace tessaly
