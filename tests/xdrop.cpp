// xdrop: drags files onto another window as a file manager does, for the end-to-end tests
// (xdotool moves the pointer but cannot drag). It shows a small window titled "xdrop" at the
// screen's bottom left; a press in it starts a drag of the files as text/uri-list, the pointer
// carries it (moved by xdotool, the button held) and it is dropped where the button is let go,
// through the desktop's own drag and drop protocol. Prints "dropped" and ends with 0 when the
// window under the pointer took the files, else "refused" and 1.
//   xdrop FILE...
#include <QApplication>
#include <QDrag>
#include <QFileInfo>
#include <QMimeData>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QUrl>
#include <QWidget>
#include <cstdio>

namespace {

constexpr int kServeAfterDrop = 3000; // ms

class DragSource final : public QWidget {
public:
    explicit DragSource(QList<QUrl> files) : files_(std::move(files)) {
        setWindowTitle("xdrop");
        setFixedSize(80, 80);
    }

protected:
    void mousePressEvent(QMouseEvent*) override {
        auto* drag = new QDrag(this);
        auto* data = new QMimeData;
        data->setUrls(files_);
        drag->setMimeData(data);
        const bool taken = drag->exec(Qt::CopyAction) == Qt::CopyAction;
        std::puts(taken ? "dropped" : "refused");
        std::fflush(stdout);
        // The target reads the files from this program after the drop: it stays a while to
        // hand them over.
        QTimer::singleShot(kServeAfterDrop, [taken] { QApplication::exit(taken ? 0 : 1); });
    }

private:
    QList<QUrl> files_;
};

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QList<QUrl> files;
    for (const QString& name : QApplication::arguments().mid(1))
        files.append(QUrl::fromLocalFile(QFileInfo(name).absoluteFilePath()));
    if (files.isEmpty()) {
        std::fprintf(stderr, "usage: xdrop FILE...\n");
        return 2;
    }
    DragSource source(files);
    const QRect screen = QApplication::primaryScreen()->geometry();
    source.move(0, screen.height() - source.height());
    source.show();
    return QApplication::exec();
}
