#include "panel/paperviewer.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include "common/escapeclose.h"
#include "common/hpdata.h"
#include "common/hpdata_qt.h"
#include "panel/pictures.h"
#include "panel/printermodel.h"

namespace orrindale {

TplistFM::TplistFM(const QStringList& roll, const MainBounds& main, QWidget* parent)
    : QWidget(parent), roll_(roll), main_(main) {
    EscapeCloser::Install(this);
    setWindowTitle("Printer Paper");
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kClientWidth, kClientHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
    bar_ = new QScrollBar(Qt::Vertical, this);
    bar_->setGeometry(kPictureWidth, 0, kBarWidth, kClientHeight);
    bar_->setRange(0, 0);
    bar_->setSingleStep(1);
    bar_->setPageStep(kLinesShown);
    connect(bar_, &QScrollBar::valueChanged, this, [this] { PaintRoll(); });
}

QPoint TplistFM::PlaceBeside(const MainBounds& main, int viewerWidth, int screenWidth) {
    int left = main.Right;
    if (main.Right + viewerWidth >= screenWidth) {
        left = main.Left - viewerWidth;
        if (left <= 0) left = (main.Right - main.Left) / 2 - viewerWidth / 2;
    }
    return QPoint(left, main.Top);
}

void TplistFM::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!placeAtShow_) return;
    // Placed once per opening: where the user moves it afterwards is left alone.
    placeAtShow_ = false;
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int screenWidth = screen ? screen->geometry().width() : 1920;
    move(PlaceBeside(main_, width(), screenWidth));
    UpdatePrint();
}

void TplistFM::closeEvent(QCloseEvent* event) {
    placeAtShow_ = true;
    QWidget::closeEvent(event);
}

void TplistFM::UpdatePrint() {
    const int lines = static_cast<int>(roll_.size());
    const int last = std::max(0, lines - kLinesShown);
    const QSignalBlocker quiet(bar_); // one paint below, not one per change of the bar
    bar_->setRange(0, last);
    bar_->setValue(last);
    PaintRoll();
}

void TplistFM::PaintRoll() {
    // A hidden viewer paints nothing (showing it paints): most sessions never open it, and its
    // pictures are made at the first showing.
    if (!isVisible()) return;
    if (lineBitmap_.isNull()) lineBitmap_ = NewPrintLineBitmap();
    // On a screen that scales by two the lines are shrunk from the full-size line to twice the
    // pixels, not painted at 1x and enlarged.
    const int s = orrindale::PictureScale(devicePixelRatioF());
    if (picture_.isNull() || picture_.devicePixelRatio() != s) {
        picture_ = QImage(kPictureWidth * s, kClientHeight * s, QImage::Format_RGB32);
        picture_.setDevicePixelRatio(s);
    }
    picture_.fill(Qt::white);
    const QStringList& roll = roll_;
    QPainter p(&picture_);
    for (int i = bar_->value(), y = kFirstLineTop; i < roll.size(); ++i, y += kLinePitch) {
        QImage line = ScaledPrintLine(lineBitmap_, roll[i], QSize(kLineWidth * s, kLineHeight * s),
                                      printer::kViewerDotRim);
        line.setDevicePixelRatio(s);
        p.drawImage(kLineLeft, y, line);
        if (y + kLinePitch >= kClientHeight) break; // the next line would start below
    }
    update();
}

void TplistFM::wheelEvent(QWheelEvent* event) {
    // The wheel scrolls the roll wherever the pointer is over the window, not only over the bar.
    QCoreApplication::sendEvent(bar_, event);
}

void TplistFM::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, picture_);
}

} // namespace orrindale
