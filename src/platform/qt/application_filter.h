#pragma once

#include "platform/event.h"

#include <QObject>
#include <QTimer>

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
    // Queues a Wake a frame later: Qt Widgets keeps no frame clock, so a frame is taken as
    // a display's 1/60 s. By then the repaints queued so far have reached the display
    // server and been shown, and what the program does on the Wake no longer competes
    // with that for the processors.
    void wakeAfterFrame();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    static constexpr int frameMs = 16;

    EventQueue& queue_;
    QTimer frame_;            // ends a frame after the first wake asked for
    bool escapeDown_ = false; // its press reported, its release not yet
};

} // namespace tessaly
