#include "platform/qt/program_window.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QVBoxLayout>

namespace tessaly {

ProgramWindow::ProgramWindow(EventQueue& queue, int id, QSize clientSize)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                           Qt::WindowCloseButtonHint),
      queue_(queue), id_(id), layout_(new QVBoxLayout(this)), controlArea_(new QWidget(this)) {
    layout_->setContentsMargins(0, 0, 0, 0);
    layout_->setSpacing(0);
    layout_->addWidget(controlArea_);
    setFixedSize(clientSize);
}

void ProgramWindow::setMenuBar(QMenuBar* bar) {
    menuBar_ = bar;
    layout_->setMenuBar(bar);
    layout_->activate();
}

void ProgramWindow::closeEvent(QCloseEvent* event) {
    event->ignore();
    queue_.push_back(eventOf(EventKind::WindowClosed, id_));
}

} // namespace tessaly
