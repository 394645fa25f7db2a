#include "FileDrop.h"

#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace pellwerk {

namespace {
QStringList localFiles(const QMimeData *data)
{
    QStringList files;
    if (!data || !data->hasUrls())
        return files;
    for (const QUrl &url : data->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}
} // namespace

QStringList handleFileDrop(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (!localFiles(drag->mimeData()).isEmpty())
            drag->acceptProposedAction();
        return {};
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        QStringList files = localFiles(drop->mimeData());
        if (!files.isEmpty())
            drop->acceptProposedAction();
        return files;
    }
    default:
        return {};
    }
}

} // namespace pellwerk
