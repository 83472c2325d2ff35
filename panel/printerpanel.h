// The strip printer on the panel: its ON, X, Y, Z and L buttons, the paper feed button, the
// 250 ms feed timer, the paper picture and the roll's menu commands (Print, Discard, View).
//
// What the printer does with lines and paper is PrinterModel's; this class connects it to the
// mouse, the sounds and the panel's pictures. The main window creates one, forwards the mouse
// presses over the printer and the engine's printer calls to it, and reads the button states
// for the settings file.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QStringList>
#include <QTimer>
#include <array>
#include <functional>
#include <memory>

#include "panel/layout.h"
#include "panel/printermodel.h"

class QWidget;

namespace orrindale {

class Calculator;
class PanelScene;
class TplistFM;
struct Services;

class PrinterPanel : public QObject {
    Q_OBJECT

public:
    // What the printer needs of the window it sits in.
    struct Window {
        QWidget* Widget = nullptr;           // parent of the print dialog
        std::function<void(QRect)> Repaint;  // a part of the panel changed
        std::function<void()> RedrawDisplay; // the display leaves or shows program steps
        std::function<int()> LastKey;        // the calculator key held down, 0 for none
        std::function<int()> PictureScale;   // 2 for the pictures drawn at 2x, else 1
    };

    PrinterPanel(Calculator& calc, PanelScene& scene, const Services& services, QStringList& roll,
                 Window window, QObject* parent = nullptr);
    ~PrinterPanel() override;

    // The paper, the feed and the listing; made at the first use.
    PrinterModel& Model();
    void SetViewer(TplistFM* viewer) { viewer_ = viewer; }

    // The buttons as the settings file keeps them.
    bool OnButton() const { return on_; }
    const std::array<bool, 3>& Latches() const { return latches_; }
    void SetButtons(bool on, const std::array<bool, 3>& latches);
    // The printer prints: its ON button is latched and the calculator is on.
    bool PrinterOn() const;
    bool PrintSwitch(int which) const { return latches_[static_cast<size_t>(which)]; }

    // Mouse presses and releases over the panel; true when they were the printer's.
    bool MouseDown(QPoint at);
    bool MouseUp();

    // The engine's side: the feed takes lines from the print queue, one each 250 ms.
    void StartFeed();
    void StopFeed() { feedTimer_.stop(); }
    bool Feeding() const { return feedTimer_.isActive(); }
    // STOP during a listing: the listing ends with the switch action of its mode.
    void EndListing();

    // Start-up: fresh paper with the roll's last lines printed on it.
    void DrawRoll();
    // The "Printer Roll" menu.
    void Discard();
    void PrintRoll();
    void View();

private:
    void FeedTimerTimer();
    void ShowPaper();
    void Latch(layout::PrintButton button, bool latched);
    void FeedButtonDown();
    void FeedButtonUp();
    void Show(const QString& picture, bool shown);

    Calculator& calc_;
    PanelScene& scene_;
    const Services& services_;
    QStringList& roll_;
    Window window_;
    TplistFM* viewer_ = nullptr;
    std::unique_ptr<PrinterModel> model_;
    QTimer feedTimer_;
    bool on_ = false;
    std::array<bool, 3> latches_{};
    int pressedButton_ = -1; // the printer button under the mouse press, by kPrintButtons
    int clickedLatch_ = -1;  // the latched button picture under the mouse press
};

} // namespace orrindale
