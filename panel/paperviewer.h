// The paper viewer window "Printer Paper": the paper roll, twenty lines at a time, with a
// scroll bar to read back through it, and its pop-up menu that saves the whole roll as a picture
// or as text for other programs.
#pragma once

#include <QImage>
#include <QPoint>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <string>

#include "common/services.h"

class QScrollBar;

namespace orrindale {

struct FileQuestion;
struct MainBounds;

// The roll as text: one line per printed line, in the characters the paper shows (digits, "."
// for the point, "-" for minus, and a b c d E F where a listing prints them), a blank cell a
// space, blanks at the end of a line dropped.
QString RollText(const QStringList& roll);
// The whole roll as the viewer paints it, each line under the last, at a scale (2: twice the
// pixels, device pixel ratio 2); a null image for an empty roll.
QImage RollPicture(const QStringList& roll, int scale);

class TplistFM : public QWidget {
    Q_OBJECT
public:
    static constexpr int kClientWidth = 187, kClientHeight = 360;
    static constexpr int kPictureWidth = 166, kBarWidth = 21;
    static constexpr int kLinesShown = 20;
    static constexpr int kLineLeft = 20, kFirstLineTop = 2, kLinePitch = 18;
    static constexpr int kLineWidth = 132, kLineHeight = 14;

    // roll: the paper roll it shows; main: the main window's edges, to open beside them.
    TplistFM(const QStringList& roll, const MainBounds& main, QWidget* parent = nullptr);
    // The file chooser and the messages of the pop-up menu's saves.
    void SetServices(const Services& services) { services_ = services; }
    // The pop-up menu's commands: the whole roll into a file the user chooses.
    void SaveAsPicture();
    void SaveAsText();
    // Jumps to the end of the roll and paints it; called after every change of the roll.
    void UpdatePrint();

    QScrollBar& ScrollBar() const { return *bar_; }
    // The lines as painted, white where there is no line; at 2x (device pixel ratio 2) on a
    // screen that scales by two.
    const QImage& Picture() const { return picture_; }

    // Where the viewer goes: beside the main window on the right if it fits on the screen,
    // else on its left, else centred over it; level with its top.
    static QPoint PlaceBeside(const MainBounds& main, int viewerWidth, int screenWidth);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void PaintRoll();
    // Asks for the file, then writes what bytes makes (empty: it could not be made).
    void SaveRoll(const FileQuestion& question, const std::function<std::string()>& bytes);

    Services services_;
    const QStringList& roll_;
    const MainBounds& main_;
    QScrollBar* bar_ = nullptr;
    QImage picture_, lineBitmap_;
    bool placeAtShow_ = true;
};

} // namespace orrindale
