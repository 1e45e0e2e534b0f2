#pragma once

#include "platform/event.h"

#include <QWidget>

class QMenuBar;
class QVBoxLayout;

// A top-level window of the program: caption, system menu and minimise box, fixed size.
// Its client area holds an optional menu bar on top and, below it, the widget the
// controls are placed in. Closing it only asks the program, which decides.

namespace tessaly {

class ProgramWindow : public QWidget {
    Q_OBJECT

  public:
    ProgramWindow(EventQueue& queue, int id, QSize clientSize);

    // Takes the space it needs from the top of the client area; the window keeps its size.
    void setMenuBar(QMenuBar* bar);
    QMenuBar* menuBar() const { return menuBar_; }

    // The widget new controls go into: the area under the menu bar, or the inner area of
    // a scroll area once one was made the target.
    QWidget* controlArea() const { return controlArea_; }
    void setControlArea(QWidget* area) { controlArea_ = area; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    EventQueue& queue_;
    int id_;
    QVBoxLayout* layout_;
    QWidget* controlArea_;
    QMenuBar* menuBar_ = nullptr;
};

} // namespace tessaly
