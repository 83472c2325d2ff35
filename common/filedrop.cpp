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
    DropFilter(QWidget* window, DropTakes takes, FilesDropped dropped)
        : QObject(window), takes_(std::move(takes)), dropped_(std::move(dropped)) {}

    bool eventFilter(QObject* watched, QEvent* event) override {
        switch (event->type()) {
        case QEvent::DragEnter:
        case QEvent::DragMove: {
            auto* drag = static_cast<QDropEvent*>(event);
            // Refused here, not left to the window, which might take any drag by itself.
            if (Taken(drag).isEmpty())
                drag->ignore();
            else
                drag->acceptProposedAction();
            return true;
        }
        case QEvent::Drop: {
            auto* drop = static_cast<QDropEvent*>(event);
            const QStringList files = Taken(drop);
            if (files.isEmpty()) {
                drop->ignore();
                return true;
            }
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
    // The drag's files when the window takes them, else none.
    QStringList Taken(const QDropEvent* drag) const {
        const QStringList files = DroppedFiles(drag->mimeData());
        return !files.isEmpty() && takes_(files) ? files : QStringList();
    }

    DropTakes takes_;
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

void AcceptFileDrops(QWidget* window, DropTakes takes, FilesDropped dropped) {
    window->setAcceptDrops(true);
    window->installEventFilter(new DropFilter(window, std::move(takes), std::move(dropped)));
}

} // namespace orrindale
