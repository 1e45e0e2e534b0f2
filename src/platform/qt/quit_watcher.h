#pragma once

#include <QObject>

// Notices when the window system tells the application as a whole to end (the Quit event
// it sends, for example at logout), which the program treats like closing its main window.
// QCoreApplication::quit() does nothing here, as no Qt event loop runs.

namespace tessaly {

class QuitWatcher : public QObject {
    Q_OBJECT

  public:
    QuitWatcher();
    ~QuitWatcher() override;

    bool quitRequested() const { return quitRequested_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool quitRequested_ = false;
};

} // namespace tessaly
