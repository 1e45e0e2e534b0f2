#include "platform/qt/program_window.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QGuiApplication>
#include <QMenuBar>
#include <QScreen>
#include <QThread>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace tessaly {

ProgramWindow::ProgramWindow(EventQueue& queue, int id, QSize clientSize)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      queue_(queue), id_(id), layout_(new QVBoxLayout(this)), client_(new QWidget(this)),
      controlArea_(client_) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(client_);
    setFixedSize(clientSize);
}

void ProgramWindow::setMenuBar(QMenuBar* bar) {
    menuBar_ = bar;
    layout_->setMenuBar(bar);
    layout_->activate();
}

void ProgramWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    Event close;
    close.kind = EventKind::CloseWindow;
    close.window = id_;
    queue_.push(close);
}

void centreOnScreen(QWidget* window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) return;
    const QRect area = screen->geometry();
    const QSize outer = window->frameGeometry().size();
    const int left = area.x() + (area.width() - std::min(area.width(), outer.width())) / 2;
    const int top = area.y() + (area.height() - std::min(area.height(), outer.height())) / 2;
    window->move(left, top);
}

void waitUntilExposed(QWidget* window, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        const QWindow* handle = window->windowHandle();
        if ((handle != nullptr && handle->isExposed()) || deadline.hasExpired()) return;
        QThread::msleep(5);
    }
}

} // namespace tessaly
