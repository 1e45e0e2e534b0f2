#pragma once

#include "platform/qt/event_queue.h"

#include <QObject>

class QMimeData;
class QWidget;

// Lets a widget take files dropped from the desktop (as a copy) and reports each drop as
// one event with the local paths joined by line feeds.

namespace tessaly {

class FileDropFilter : public QObject {
    Q_OBJECT

  public:
    // Installs itself on `target` and becomes its child.
    FileDropFilter(EventQueue& queue, int window, int control, QWidget* target);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    EventQueue& queue_;
    int window_;
    int control_;
};

// The local paths among the URLs of `data`, joined by '\n'; empty when there are none.
QString droppedPaths(const QMimeData* data);

} // namespace tessaly
