#include "panel/paperviewer.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QWheelEvent>

#include "common/atomicfile.h"
#include "common/choosers.h"
#include "common/escapeclose.h"
#include "common/hpdata.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "panel/pictures.h"
#include "panel/printermodel.h"

namespace orrindale {

namespace {
using Viewer = TplistFM;

// The roll's lines from first on, as long as a line fits above height (logical pixels).
void PaintLines(QPainter& p, const QStringList& roll, int first, int height, int scale,
                QImage& bitmap) {
    const QSize size(Viewer::kLineWidth * scale, Viewer::kLineHeight * scale);
    for (int i = first, y = Viewer::kFirstLineTop; i < roll.size(); ++i, y += Viewer::kLinePitch) {
        QImage line = ScaledPrintLine(bitmap, roll[i], size, printer::kViewerDotRim);
        line.setDevicePixelRatio(scale);
        p.drawImage(Viewer::kLineLeft, y, line);
        if (y + Viewer::kLinePitch >= height) break; // the next line would start below
    }
}

QChar TextOf(QChar c) {
    const int glyph = PrinterGlyph(c);
    if (glyph < 0) return ' ';
    if (glyph < 10) return c;
    return QLatin1Char("abcdEF-."[glyph - 10]);
}
} // namespace

QString RollText(const QStringList& roll) {
    QString text;
    for (const QString& line : roll) {
        QString shown;
        for (QChar c : line.left(printer::kLineChars))
            shown += TextOf(c);
        while (shown.endsWith(' '))
            shown.chop(1);
        text += shown + '\n';
    }
    return text;
}

QImage RollPicture(const QStringList& roll, int scale) {
    if (roll.isEmpty()) return {};
    const int height = Viewer::kFirstLineTop + static_cast<int>(roll.size()) * Viewer::kLinePitch;
    QImage picture(Viewer::kPictureWidth * scale, height * scale, QImage::Format_RGB32);
    picture.setDevicePixelRatio(scale);
    picture.fill(Qt::white);
    QImage bitmap = NewPrintLineBitmap();
    QPainter p(&picture);
    PaintLines(p, roll, 0, height + Viewer::kLinePitch, scale, bitmap);
    return picture;
}

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
    QPainter p(&picture_);
    PaintLines(p, roll_, bar_->value(), kClientHeight, s, lineBitmap_);
    update();
}

void TplistFM::wheelEvent(QWheelEvent* event) {
    // The wheel scrolls the roll wherever the pointer is over the window, not only over the bar.
    QCoreApplication::sendEvent(bar_, event);
}

void TplistFM::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, picture_);
}

void TplistFM::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    const bool any = !roll_.isEmpty() && services_.Files && services_.Messages;
    menu.addAction("Save As Picture…", this, &TplistFM::SaveAsPicture)->setEnabled(any);
    menu.addAction("Save As Text…", this, &TplistFM::SaveAsText)->setEnabled(any);
    menu.exec(event->globalPos());
}

void TplistFM::SaveAsPicture() {
    const int scale = orrindale::PictureScale(devicePixelRatioF());
    SaveRoll({"Save Paper As Picture", "paper.png", "PNG Picture (*.png)", "png"},
             [&] { return EncodePng(RollPicture(roll_, scale)); });
}

void TplistFM::SaveAsText() {
    SaveRoll({"Save Paper As Text", "paper.txt", "Text File (*.txt)", "txt"},
             [this] { return RollText(roll_).toStdString(); });
}

void TplistFM::SaveRoll(const FileQuestion& question, const std::function<std::string()>& bytes) {
    if (!services_.Files || !services_.Messages) return;
    const QString path = services_.Files->SaveFile(question, this);
    if (path.isEmpty()) return;
    // Made once a file is chosen: the picture of a full roll takes a moment.
    const std::string made = bytes();
    if (made.empty() || !WriteFileAtomically(NativePath(path), made))
        services_.Messages->Error("ERROR: Failed to save file");
}

} // namespace orrindale
