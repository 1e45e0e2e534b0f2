// The floor for the editor's press-to-pixels time (bench/latency.py): the least a Qt
// Widgets program does per press. A press fills one 32 x 32 rectangle of its picture, black
// for the left button and white for the right, and updates that rectangle alone.

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWidget>

#include <algorithm>

namespace {

class FloorWidget : public QWidget {
  public:
    FloorWidget() : image_(128, 128, QImage::Format_RGB32) {
        image_.fill(Qt::white);
        setFixedSize(image_.size());
        setAttribute(Qt::WA_OpaquePaintEvent);
        setWindowTitle(QStringLiteral("latency floor"));
    }

  protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter painter(this);
        painter.drawImage(event->rect(), image_, event->rect());
    }

    void mousePressEvent(QMouseEvent* event) override {
        const QRgb colour = event->button() == Qt::LeftButton ? qRgb(0, 0, 0) : qRgb(255, 255, 255);
        const QRect square(32, 32, 32, 32);
        for (int y = square.top(); y <= square.bottom(); ++y) {
            auto* row = reinterpret_cast<QRgb*>(image_.scanLine(y));
            std::fill(row + square.left(), row + square.right() + 1, colour);
        }
        update(square);
    }

    // The second press of a double click comes only as this event.
    void mouseDoubleClickEvent(QMouseEvent* event) override { mousePressEvent(event); }

  private:
    QImage image_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    FloorWidget window;
    window.move(0, 0);
    window.show();
    return QApplication::exec();
}
