#include "platform/qt/file_drop_filter.h"

#include <QDropEvent>
#include <QMimeData>
#include <QStringList>
#include <QUrl>
#include <QWidget>

namespace tessaly {

FileDropFilter::FileDropFilter(EventQueue& queue, int window, int control, QWidget* target)
    : QObject(target), queue_(queue), window_(window), control_(control) {
    target->setAcceptDrops(true);
    target->installEventFilter(this);
}

QString droppedPaths(const QMimeData* data) {
    if (data == nullptr || !data->hasUrls()) return {};
    QStringList paths;
    for (const QUrl& url : data->urls()) {
        if (url.isLocalFile()) paths << url.toLocalFile();
    }
    return paths.join(QLatin1Char('\n'));
}

bool FileDropFilter::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (droppedPaths(drag->mimeData()).isEmpty()) {
            drag->ignore();
        } else {
            drag->setDropAction(Qt::CopyAction);
            drag->accept();
        }
        return true;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString paths = droppedPaths(drop->mimeData());
        if (paths.isEmpty()) {
            drop->ignore();
            return true;
        }
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        Event dropped;
        dropped.kind = EventKind::FilesDropped;
        dropped.window = window_;
        dropped.control = control_;
        dropped.dropText = paths.toStdString();
        queue_.push(std::move(dropped));
        return true;
    }
    default:
        return QObject::eventFilter(watched, event);
    }
}

} // namespace tessaly
