// The main window: the calculator itself.
//
// TmainFM owns the engine (Calculator) and is its host: it draws the display, runs the
// mode-change timer that carries programs and power changes, feeds the printer and keeps the
// panel's pictures. Start-up reads the panel picture, settings, paper roll and machine state
// from the program folder; closing writes them back. The pieces it wires together live beside
// it: PanelScene (the pictures), DisplayRenderer (the display), the settings and state files,
// and the services given to it (message boxes, sounds, documents), which tests replace.
#pragma once

#include <QCursor>
#include <QImage>
#include <QMenu>
#include <QRegion>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>

#include "engine/calculator.h"
#include "panel/display.h"
#include "panel/layout.h"
#include "panel/printermodel.h"
#include "panel/rollprint.h"
#include "panel/scene.h"
#include "panel/settings.h"
#include "panel/shared/hpdata.h"
#include "panel/shared/sounds.h"

class QLabel;

namespace orrindale {

class Messenger;
class TfuncCardFM;
class TplistFM;

// The window's shape: every pixel of the panel picture that is not sky blue.
QRegion PanelMask(const QImage& panel);

// What the window needs from outside; tests give fakes and a temporary program folder.
struct PanelServices {
    QString ProgramFolder; // with a trailing separator
    Messenger* Messages = nullptr;
    SoundPlayer* Sounds = nullptr;
    DocumentOpener* Documents = nullptr;
};

class TmainFM : public QWidget, public EngineHost {
    Q_OBJECT

public:
    explicit TmainFM(const PanelServices& services, QWidget* parent = nullptr);
    ~TmainFM() override;

    Calculator& Engine() { return calc_; }
    const PanelScene& Scene() const { return scene_; }
    const DisplayRenderer& Display() const { return display_; }
    const PanelSettings& Settings() const { return settings_; }
    QStringList& PaperRoll() { return paperRoll_; }
    QMenu* PopupMenu() const { return popup_; }
    bool StartedUp() const { return startedUp_; }
    int HiddenX() const { return hiddenX_; }
    MainBounds& Bounds() { return mainBounds_; }
    QString ProgramFile(const char* name) const { return services_.ProgramFolder + name; }

    void SetFunctionCardWindow(TfuncCardFM* window) { funcCard_ = window; }
    void SetPaperWindow(TplistFM* window) { plist_ = window; }

    // The start-up sequence; runs once, at the first showing of the window.
    void StartUp();
    bool LoadPanel();
    // Plays a named sound unless "Sounds" is unchecked.
    void doPlaySound(const char* name);
    bool OpenDocument(const QString& fileName);

    // Switch actions of the panel (mouse clicks on the switch labels call these).
    void SetPowerSwitch(bool on);
    void SetAngleSwitch(bool rad);
    void SetDisplaySwitch(bool floatMode);
    void SetModeSwitch(bool prgm);
    void StepWheel(int step);

    // The printer's menu commands (printer.cpp).
    void DiscardRoll();
    void PrintRollToPrinter();
    void ViewRoll();

    // The menu commands.
    void ResetNow();
    void ToggleResetOnStartUp();
    void ToggleSounds();
    void ShowAbout();
    void ViewFunctionCard();

    // EngineHost.
    void RedrawDisplay() override;
    bool PrinterOn() const override { return printerOn_ && calc_.PowerOn; }
    bool PrintSwitch(int which) const override { return printLatch_[static_cast<size_t>(which)]; }
    void StartPaperFeed() override;
    void EndListing() override;
    void StopPaperFeed() override { feedTimer_.stop(); }
    bool PaperFeeding() const override { return feedTimer_.isActive(); }
    void StartChgModeTimer() override { chgModeTimer_.start(); }
    void StopChgModeTimer() override { chgModeTimer_.stop(); }
    void Sleep(int milliseconds) override;
    void ProcessMessages() override;
    bool KeyHeld(int position) const override { return keyDown_ && lastKey_ == position; }
    void PowerSwitched(bool on, bool changed) override;
    void CloseMainWindow() override { close(); }
    void ReleaseWindow(int) override {}
    void ShowInternalError(const std::string& message) override;

    // Pressing and releasing calculator keys (mouse and PC keyboard both come here).
    void PressKey();
    void ReleaseKey();
    int HoverKey = 0;

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    void BuildMenu();
    void CreateTimers();
    void PlacePictures();
    void CreateLabels();
    void ApplySettings();
    void ShowSwitch(layout::SwitchSetting shown);
    void FinishBusyTime();
    void BrightTimerTimer();
    void DimTimerTimer();
    void FeedTimerTimer();
    bool CloseQuery();
    void Hover(QPoint at);
    void ShowKeyDown(int key);
    bool SwitchLabelClick(QPoint at);
    int ClickAreaAt(QPoint at) const;
    bool CardButtonDown(QPoint at);
    bool CardButtonUp();
    bool WheelClick(QPoint at);
    void SetLabels(const QString& name, const QString& pcKey);
    bool PlotterOpen() const { return false; }
    // The printer's buttons and feed (printer.cpp); true when the press or release was theirs.
    bool PrinterMouseDown(QPoint at);
    bool PrinterMouseUp();

    PanelServices services_;
    Calculator calc_;
    PanelScene scene_;
    DisplayRenderer display_;
    PanelSettings settings_;
    QStringList paperRoll_;
    SoundSwitch soundSwitch_;
    TfuncCardFM* funcCard_ = nullptr;
    TplistFM* plist_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* resetOnStartUpAction_ = nullptr;
    QAction* soundsAction_ = nullptr;
    QAction* viewFunctionCardAction_ = nullptr;
    QLabel* keyNameLabel_ = nullptr;
    QLabel* pcKeyLabel_ = nullptr;

    QTimer chgModeTimer_, brightTimer_, dimTimer_, feedTimer_, busyTimer_;
    bool firstActivation_ = true;
    bool startedUp_ = false;
    bool functionCardLoaded_ = false;
    int hiddenX_ = 0;
    bool printerOn_ = false;
    std::array<bool, 3> printLatch_{};
    bool keyDown_ = false;
    int lastKey_ = 0;
    int pressedKey_ = 0;
    int deferredKey_ = 0;      // typed during computing time; acts when it is over
    int pressedClickArea_ = 0; // the switch label or wheel button a press landed on
    bool dragging_ = false;
    QPoint dragStart_;
    struct {
        QCursor open, closed;
    } cursors_;
    MainBounds mainBounds_;

    // ---- Printer (printer.cpp) ----------------------------------------------------------------
public:
    // The paper, the feed and the listing; made at the first use.
    PrinterModel& Printer();
    // Start-up: fresh paper with the roll's last lines printed on it.
    void DrawPaperRoll();
    // Where "Print" gets its printer; the print dialog unless replaced.
    void SetPrinterChooser(PrinterChooser* chooser) { printerChooser_ = chooser; }

private:
    void StartListing();
    void ShowPaper();
    void LatchPrintButton(layout::PrintButton button, bool latched);
    void FeedButtonDown();
    void FeedButtonUp();

    std::unique_ptr<PrinterModel> printer_;
    PrinterChooser* printerChooser_ = nullptr;
    int pressedPrintButton_ = -1; // the printer button under the mouse press, by kPrintButtons
    int clickedLatch_ = -1;       // the latched button picture under the mouse press
};

} // namespace orrindale
