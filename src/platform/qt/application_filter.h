#pragma once

#include "platform/qt/event_queue.h"

#include <QObject>

// Watches the whole application's events for what no single widget sees:
// - the Escape key, so that the program can ask whether it is held at any moment. Only a
//   press that reaches one of the program's own windows counts: an Escape that closes a
//   dialog, a message box or a popup menu must not end the program. A press queues a Wake,
//   and counts until the program has asked once: Qt may take a quick tap's release along
//   with its press, before the program gets to ask.
// - the Quit event the window system sends to end the application (at logout, say), which
//   the program treats like closing its main window; no Qt event loop runs to take it.

namespace tessaly {

class ApplicationFilter : public QObject {
    Q_OBJECT

  public:
    explicit ApplicationFilter(EventQueue& queue);
    ~ApplicationFilter() override;

    bool escapeHeld();
    bool quitRequested = false;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    EventQueue& queue_;
    bool escapeDown_ = false;
    bool escapePressed_ = false; // since the program last asked
};

} // namespace tessaly
