#pragma once

#include "platform/event.h"

#include <QObject>

// Watches the whole application's events for what no single widget sees:
// - the Escape key, wherever it goes in the program's own windows. Only a press that
//   reaches one of them is reported, with its release: an Escape that closes a dialog, a
//   message box or a popup menu must not end the program. The application losing the
//   keyboard to another one is reported too.
// - the Quit event the window system sends to end the application (at logout, say), which
//   the program treats like closing its main window; no Qt event loop runs to take it.

namespace tessaly {

class ApplicationFilter : public QObject {
    Q_OBJECT

  public:
    explicit ApplicationFilter(EventQueue& queue);
    ~ApplicationFilter() override;

    bool quitRequested = false;
    // Queues a Wake behind the windows' repaints, which have the same low priority.
    void wakeAfterFrame();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool event(QEvent* event) override;

  private:
    EventQueue& queue_;
    bool escapeDown_ = false; // its press reported, its release not yet
};

} // namespace tessaly
