#pragma once

#include "platform/qt/event_queue.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

#include <vector>

// Follows the Escape key for the whole application, so that the program can ask whether it
// is held at any moment. Only a press that reaches one of the program's own windows counts:
// an Escape that closes a dialog, a message box or a popup menu must not end the program.

namespace tessaly {

class EscapeTracker : public QObject {
    Q_OBJECT

  public:
    explicit EscapeTracker(EventQueue& queue);
    ~EscapeTracker() override;

    // A window whose key presses count.
    void watchWindow(QWidget* window);

    bool held() const { return held_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool countsAsProgramWindow(const QObject* receiver) const;

    EventQueue& queue_;
    std::vector<QPointer<QWidget>> windows_;
    bool held_ = false;
};

} // namespace tessaly
