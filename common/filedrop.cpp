#include "common/filedrop.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTimer>
#include <QUrl>
#include <QWidget>

namespace orrindale {

namespace {

// Watches the window's drag events from outside, so no window class needs handlers of its own.
class DropFilter final : public QObject {
public:
    DropFilter(QWidget* window, FilesDropped dropped)
        : QObject(window), dropped_(std::move(dropped)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            if (DroppedFiles(drag->mimeData()).isEmpty()) return false;
            drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList files = DroppedFiles(drop->mimeData());
            if (files.isEmpty()) return false;
            drop->acceptProposedAction();
            // The files open after the drop has ended: a file may ask a question, and a modal
            // box inside the drop would hold the dragging program until it is answered.
            QTimer::singleShot(0, this, [this, files] { dropped_(files); });
            return true;
        }
        default: return QObject::eventFilter(watched, event);
        }
    }

private:
    FilesDropped dropped_;
};

} // namespace

QStringList DroppedFiles(const QMimeData* data) {
    QStringList files;
    if (!data || !data->hasUrls()) return files;
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) files.append(url.toLocalFile());
    return files;
}

void AcceptFileDrops(QWidget* window, FilesDropped dropped) {
    window->setAcceptDrops(true);
    window->installEventFilter(new DropFilter(window, std::move(dropped)));
}

} // namespace orrindale
