#pragma once

#include <QScrollArea>

// A scroll area control. The wheel scrolls it up and down in its own steps, and sideways
// with Shift held.

namespace tessaly {

class ScrollArea : public QScrollArea {
    Q_OBJECT

  public:
    using QScrollArea::QScrollArea;

  protected:
    void wheelEvent(QWheelEvent* event) override;
};

} // namespace tessaly
