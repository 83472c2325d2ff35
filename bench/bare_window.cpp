// The yardstick of bench/startup.sh: a bare Qt window of the calculator's size and shape
// (frameless, centred, one flat colour), started and measured exactly like the calculator.
#include <QApplication>
#include <QPainter>
#include <QScreen>
#include <QWidget>

#include "panel/layout.h"
#include "panel/startprobe.h"

namespace {
class Bare final : public QWidget {
protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), QColor(200, 196, 186));
    }
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    Bare window;
    window.setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
    window.setFixedSize(orrindale::layout::kPanelWidth, orrindale::layout::kPanelHeight);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    window.move(screen.center() - window.rect().center());
    orrindale::FirstPaintProbe::Watch(&window);
    window.show();
    return QApplication::exec();
}
