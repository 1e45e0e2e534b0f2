#include "platform/qt/canvas_widget.h"

#include <QCursor>
#include <QEnterEvent>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QWheelEvent>

#include <cmath>
#include <cstring>

namespace tessaly {

namespace {

constexpr Colour white = rgb(255, 255, 255);

int buttonBits(Qt::MouseButtons buttons) {
    int bits = 0;
    if (buttons & Qt::LeftButton) bits |= ButtonLeft;
    if (buttons & Qt::RightButton) bits |= ButtonRight;
    if (buttons & Qt::MiddleButton) bits |= ButtonMiddle;
    return bits;
}

// Rounds down, so that a pointer just left of or above the area lies outside it.
QPoint pixelOf(QPointF position) {
    return {static_cast<int>(std::floor(position.x())), static_cast<int>(std::floor(position.y()))};
}

Key keyOf(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left:
        return Key::Left;
    case Qt::Key_Up:
        return Key::Up;
    case Qt::Key_Right:
        return Key::Right;
    case Qt::Key_Down:
        return Key::Down;
    case Qt::Key_Insert:
        return Key::Insert;
    case Qt::Key_Delete:
        return Key::Delete;
    case Qt::Key_Escape:
        return Key::Escape;
    default:
        return Key::Other;
    }
}

EventType downType(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return EventType::LeftButtonDown;
    case Qt::RightButton:
        return EventType::RightButtonDown;
    case Qt::MiddleButton:
        return EventType::MiddleButtonDown;
    default:
        return EventType::None;
    }
}

EventType upType(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return EventType::LeftButtonUp;
    case Qt::RightButton:
        return EventType::RightButtonUp;
    case Qt::MiddleButton:
        return EventType::MiddleButtonUp;
    default:
        return EventType::None;
    }
}

} // namespace

CanvasWidget::CanvasWidget(EventQueue& queue, int window, int id, QSize size, int border,
                           bool keyboard, QWidget* parent)
    : QWidget(parent), queue_(queue), window_(window), id_(id), border_(border),
      keyboard_(keyboard) {
    setFixedSize(size);
    setMouseTracking(true);
    setFocusPolicy(keyboard ? Qt::ClickFocus : Qt::NoFocus);
    // Every pixel comes from the surface, so Qt need not clear the background first.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

Surface& CanvasWidget::surface() {
    if (surface_.empty()) surface_ = Surface(width(), height(), white);
    return surface_;
}

// A press changes a few pixels, and repainting only those keeps its way to the screen
// short: a whole overview or map would be converted to the screen's pixel format and sent
// to the display server on every change. The changed rows are found a row at a time, and
// consecutive changed rows make one rectangle spanning their changed columns.
void CanvasWidget::showChanges() {
    if (surface_.empty()) return;
    if (shown_.empty()) {
        shown_ = surface_;
        update();
        return;
    }
    const int width = surface_.width();
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(std::uint32_t);
    QRegion changed;
    QRect band;
    for (int y = 0; y < surface_.height(); ++y) {
        const std::uint32_t* now = surface_.row(y);
        std::uint32_t* was = shown_.row(y);
        if (std::memcmp(now, was, rowBytes) == 0) {
            if (!band.isNull()) changed += band;
            band = QRect();
            continue;
        }
        int left = 0;
        while (now[left] == was[left])
            ++left;
        int right = width - 1;
        while (now[right] == was[right])
            --right;
        std::memcpy(was + left, now + left, (right - left + 1) * sizeof(std::uint32_t));
        band |= QRect(left, y, right - left + 1, 1);
    }
    if (!band.isNull()) changed += band;
    if (!changed.isEmpty()) update(changed);
}

void CanvasWidget::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (surface_.empty()) {
        painter.fillRect(event->rect(), Qt::white);
        return;
    }
    const QImage image(reinterpret_cast<const uchar*>(surface_.data()), surface_.width(),
                       surface_.height(), surface_.width() * 4, QImage::Format_RGBX8888);
    painter.drawImage(event->rect(), image, event->rect());
}

void CanvasWidget::mousePressEvent(QMouseEvent* event) {
    const EventType type = downType(event->button());
    if (type == EventType::None) return;
    push(type, pixelOf(event->position()), event->buttons());
}

// The second press of a double click comes only as this event: report it as the press it
// is, then as the double click.
void CanvasWidget::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
    if (event->button() == Qt::LeftButton)
        push(EventType::LeftDoubleClick, pixelOf(event->position()), event->buttons());
    else if (event->button() == Qt::RightButton)
        push(EventType::RightDoubleClick, pixelOf(event->position()), event->buttons());
}

void CanvasWidget::mouseReleaseEvent(QMouseEvent* event) {
    const EventType type = upType(event->button());
    if (type == EventType::None) return;
    const QPoint position = pixelOf(event->position());
    push(type, position, event->buttons());
    // The release always comes here, wherever the pointer went after the press. A click
    // counts when it lies at positions 0 up to the control's outer size, counted from the
    // drawing area's origin: over the area and, for a bordered canvas, over its right or
    // bottom border and the border's width past it, but never over the left or top border.
    if (!rect().adjusted(0, 0, 2 * border_, 2 * border_).contains(position)) return;
    if (event->button() == Qt::LeftButton)
        push(EventType::LeftClick, position, event->buttons());
    else if (event->button() == Qt::RightButton)
        push(EventType::RightClick, position, event->buttons());
}

void CanvasWidget::mouseMoveEvent(QMouseEvent* event) {
    const EventType type = entered_ ? EventType::MouseEnter : EventType::MouseMove;
    entered_ = false;
    push(type, pixelOf(event->position()), event->buttons());
}

// The canvas has no use for the wheel itself: left unaccepted, the event goes on to the
// widgets around it, and a scroll area among them scrolls.
void CanvasWidget::wheelEvent(QWheelEvent* event) {
    push(EventType::Wheel, pixelOf(event->position()), event->buttons());
    event->ignore();
}

void CanvasWidget::enterEvent(QEnterEvent*) {
    entered_ = true;
}

void CanvasWidget::leaveEvent(QEvent*) {
    entered_ = false;
    pushAtCursor(EventType::MouseLeave);
}

void CanvasWidget::keyPressEvent(QKeyEvent* event) {
    if (!keyboard_) {
        event->ignore();
        return;
    }
    pushAtCursor(EventType::KeyDown, keyOf(event->key()));
    if (!event->text().isEmpty()) pushAtCursor(EventType::Character, keyOf(event->key()));
}

void CanvasWidget::keyReleaseEvent(QKeyEvent* event) {
    if (!keyboard_) {
        event->ignore();
        return;
    }
    // Auto-repeat sends a release before each repeated press; only the last one is real.
    if (event->isAutoRepeat()) return;
    pushAtCursor(EventType::KeyUp, keyOf(event->key()));
}

void CanvasWidget::focusInEvent(QFocusEvent* event) {
    QWidget::focusInEvent(event);
    pushAtCursor(EventType::FocusGained);
}

void CanvasWidget::focusOutEvent(QFocusEvent* event) {
    QWidget::focusOutEvent(event);
    pushAtCursor(EventType::FocusLost);
}

void CanvasWidget::push(EventType type, QPoint position, Qt::MouseButtons buttons, Key key) {
    Event event = controlEvent(window_, id_, type);
    event.mouseX = position.x();
    event.mouseY = position.y();
    event.buttons = buttonBits(buttons);
    event.key = key;
    queue_.push(event);
}

// Events without a pointer position of their own carry where the pointer is now.
void CanvasWidget::pushAtCursor(EventType type, Key key) {
    push(type, mapFromGlobal(QCursor::pos()), QGuiApplication::mouseButtons(), key);
}

} // namespace tessaly
