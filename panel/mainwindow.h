// The main window: the calculator itself.
//
// TmainFM owns the engine (Calculator) and is its host: it draws the display, runs the
// mode-change timer that carries programs and power changes, and keeps the panel's pictures.
// Start-up reads the panel picture, settings, paper roll and machine state from the program
// folder; closing writes them back. The pieces it creates, connects and forwards to live beside
// it: PanelScene (the pictures), DisplayRenderer (the display), PrinterPanel (the printer's
// buttons and feed), CardSlot (the magnetic card, its keys, timer and menu), Peripherals (the
// windows of the pop-up menu) with one PeripheralLink per device, the settings and state files, and
// the Services it is given (program folder, message boxes, sounds, documents, dialogs), which tests
// replace. input.cpp holds its mouse and keyboard handlers.
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
#include <future>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

#include "common/services.h"
#include "common/statefiles.h"
#include "common/statesave.h"
#include "engine/calculator.h"
#include "engine/pacer.h"
#include "panel/accessibility.h"
#include "panel/cardslot.h"
#include "panel/display.h"
#include "panel/extmemlink.h"
#include "panel/keypresser.h"
#include "panel/layout.h"
#include "panel/panelfocus.h"
#include "panel/panelpicture.h"
#include "panel/peripherallink.h"
#include "panel/peripherals.h"
#include "panel/printerpanel.h"
#include "panel/scene.h"
#include "panel/settings.h"

class QLabel;

namespace orrindale {

class TfuncCardFM;
class TplistFM;

class TmainFM : public QWidget, public EngineHost, public access::PanelControls {
    Q_OBJECT

public:
    explicit TmainFM(const Services& services, QWidget* parent = nullptr);
    ~TmainFM() override;

    Calculator& Engine() { return calc_; }
    const Calculator& Engine() const { return calc_; }
    const PanelScene& Scene() const { return scene_; }
    const DisplayRenderer& Display() const { return display_; }
    const PanelSettings& Settings() const { return settings_; }
    QStringList& PaperRoll() { return paperRoll_; }
    QMenu* PopupMenu() const { return popup_; }
    bool StartedUp() const { return startedUp_; }
    int HiddenX() const { return hiddenX_; }
    QString ProgramFile(const char* name) const { return services_.ProgramFile(name); }
    PrinterPanel& Printer() { return printer_; }
    const PrinterPanel& Printer() const { return printer_; }
    CardSlot& Cards() { return cards_; }
    Peripherals& PeripheralWindows() { return peripherals_; }
    ExtMemoryLink& ExtMemoryWindow() { return *extMemory_; }
    access::DisplayAnnouncer& Announcer() { return announcer_; }
    // The clock and sleep a running program paces itself by; tests hand in their own, so that
    // no test waits on the wall clock.
    void SetPacer(Pacer pacer) { pacer_ = std::move(pacer); }

    void SetFunctionCardWindow(TfuncCardFM* window) { funcCard_ = window; }
    // The panel picture read ahead (panelpicture.h); start-up reads it itself without one.
    void SetPreloadedPanel(std::unique_ptr<PanelPreload> panel) {
        preloadedPanel_ = std::move(panel);
    }
    void SetPaperWindow(TplistFM* window);

    // The start-up sequence; runs once, at the first showing of the window.
    void StartUp();
    bool LoadPanel();
    // Plays a named sound unless "Sounds" is unchecked.
    void doPlaySound(const char* name) { services_.doPlaySound(name); }
    bool OpenDocument(const char* fileName) { return services_.OpenDocument(fileName); }

    // Switch actions of the panel (mouse clicks on the switch labels call these).
    void SetPowerSwitch(bool on);
    void SetAngleSwitch(bool rad);
    void SetDisplaySwitch(bool floatMode);
    void SetModeSwitch(bool prgm);
    void StepWheel(int step) override;

    // Writes the settings and state as a close would, without closing and without questions: the
    // desktop session asks for it before it ends.
    void SaveSession();

    // The menu commands.
    void ResetNow();
    void ToggleResetOnStartUp();
    void ToggleSounds();
    void ShowAbout();
    void ViewFunctionCard();
    // Runs the program memory viewer modally; refused while a program runs.
    void ViewProgramMemory();
    // X as text to the clipboard; a number from the clipboard keyed into X as if typed, refused
    // with a message when the clipboard holds none (input.cpp).
    void CopyX();
    void PasteX();
    // Files named from outside (command line, second start, drop), each where its kind belongs
    // (fileopening.h). Those that did not open, and those beyond the most that open at once, are
    // told in one box at the end.
    void OpenFiles(const QStringList& paths);
    // True when a drag of these files may land: it carries one that the calculator can send
    // where it belongs.
    bool TakesDrop(const QStringList& paths) const; // fileopening.cpp
    // Runs the marked card editor modally; refused while the card reader exists.
    void RunCardEditor();
    // The marked card reader keeps the display dark while a card passes.
    void SetDisplayHidden(bool hidden);
    // The viewer's "Optical Card" export: program codes written as a marked card stack.
    bool ExportCards(const std::vector<int>& codes, QWidget* parent);

    // PanelReadout: what screen readers read.
    const DisplayTexts& ShownLines() const override { return display_.ShownLines(); }
    int DecimalWheel() const override { return calc_.DecimalWheel; }
    bool PictureShown(const QString& name) const override { return scene_.IsShown(name); }
    bool PrinterOnButton() const override { return printer_.OnButton(); }
    bool PrinterLatched(int button) const override {
        return printer_.Latches()[static_cast<size_t>(button)];
    }
    // PanelControls: what screen readers and the keyboard's focus do (input.cpp).
    void ClickItem(int item) override;
    int FocusedItem() const override { return focus_.Item(); }

    // EngineHost.
    void RedrawDisplay() override;
    bool PrinterOn() const override { return printer_.PrinterOn(); }
    bool PrintSwitch(int which) const override { return printer_.PrintSwitch(which); }
    void StartPaperFeed() override { printer_.StartFeed(); }
    void EndListing() override { printer_.EndListing(); }
    void StopPaperFeed() override { printer_.StopFeed(); }
    bool PaperFeeding() const override { return printer_.Feeding(); }
    void StartChgModeTimer() override { chgModeTimer_.start(); }
    void StopChgModeTimer() override { chgModeTimer_.stop(); }
    void Sleep(int milliseconds) override;
    void ProcessMessages() override;
    bool KeyHeld(int position) const override { return keys_.Held(position); }
    void PowerSwitched(bool on, bool changed) override;
    void CloseMainWindow() override { close(); }
    void ReleaseWindow(int bit) override { peripherals_.Release(bit); }
    // The ports of the open peripheral windows.
    ExtMemoryPort* ExtMemory() override;
    PlotterPort* Plotter() override;
    void ShowInternalError(const std::string& message) override;

    // The key under the mouse pointer, 0 for none.
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
    void leaveEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    PrinterPanel::Window PrinterWindow();
    CardSlot::Window CardWindow();
    void BuildMenu();
    void MakeLinks();
    // fileopening.cpp: one file from outside, opened without a box of its own.
    OpenFailure OpenFile(const QString& path);
    bool Routes(FileKind kind) const;
    // The viewer on the listing of a file from outside (none: on program memory), which is not
    // shown when the listing does not open.
    OpenFailure RunViewer(const QString& listing);
    // Where the display and the keys (with the switches and the wheel) stand on the screen, which
    // the card reader leaves in view.
    QRect DisplayOnScreen() const;
    QRect KeysOnScreen() const;
    // Where a card reader of that size opens: beside the calculator, those left in view.
    QPoint ReaderPlaceOnScreen(QSize reader) const; // markedcards.cpp
    void CreateTimers();
    void PlacePictures();
    // 2 where the screen shows two device pixels per logical one, else 1.
    int PictureScale() const;
    void CreateLabels();
    // The open or closed hand shown over the display, by which the window is dragged.
    const QCursor& DragCursor(bool closed);
    void ApplySettings();
    void ShowSwitch(layout::SwitchSetting shown);
    void ShowWheel();
    void FinishBusyTime();
    // Repaints after the display changed and tells screen readers what it reads now.
    void DisplayChanged();
    void BrightTimerTimer();
    void DimTimerTimer();
    bool CloseQuery();
    // The settings and state files with the peripherals', as they stand (statesave.h).
    std::vector<StateWrite> WritesAtClose();
    // Whether the close may ask the user (statefiles.h).
    bool Unattended() const;
    void Hover(QPoint at);
    KeyPresser::Panel KeyPanel();
    bool SwitchLabelClick(QPoint at);
    int ClickAreaAt(QPoint at) const;
    bool WheelClick(QPoint at);
    void SetLabels(const QString& name, const QString& pcKey);
    // The keys that move the focus over the controls, press the focused one and open the menu;
    // true when the event was one of them.
    bool FocusKey(const QKeyEvent* event);
    // Repaints the focus mark where it was and where it is, and tells screen readers.
    void FocusChanged(int before);
    void ClearFocus();
    void OpenMenu();
    // Escape leaves the calculator open while the plotter window is.
    bool PlotterOpen() const { return peripherals_.Window(Peripherals::Kind::Plotter) != nullptr; }
    void LoadRollAndState();
    // Where a settings or state file is read and written (statefiles.h).
    std::string StatePath(const char* name) const;
    std::string SavePath(const char* name) const;

    Services services_;
    std::unique_ptr<StateFiles> state_;
    Calculator calc_;
    PanelScene scene_;
    DisplayRenderer display_;
    PanelSettings settings_;
    QStringList paperRoll_;
    TfuncCardFM* funcCard_ = nullptr;
    TplistFM* plist_ = nullptr;
    QMenu* popup_ = nullptr;
    QAction* resetOnStartUpAction_ = nullptr;
    QAction* soundsAction_ = nullptr;
    QAction* viewFunctionCardAction_ = nullptr;
    QLabel* keyNameLabel_ = nullptr;
    QLabel* pcKeyLabel_ = nullptr;

    QTimer chgModeTimer_{this}, brightTimer_{this}, dimTimer_{this}, busyTimer_{this};
    KeyPresser keys_;
    PrinterPanel printer_;
    CardSlot cards_;
    Peripherals peripherals_;
    std::vector<std::unique_ptr<PeripheralLink>> links_;
    ExtMemoryLink* extMemory_ = nullptr; // one of links_
    access::DisplayAnnouncer announcer_;
    // The display and error lamp as last asked to be painted.
    QImage paintedDisplay_;
    bool paintedErrorLamp_ = false;
    Pacer pacer_;
    bool firstActivation_ = true;
    bool startedUp_ = false;
    std::unique_ptr<PanelPreload> preloadedPanel_;
    bool functionCardTried_ = false;
    bool functionCardLoaded_ = false;
    int hiddenX_ = 0;
    int pressedClickArea_ = 0; // the switch label or wheel button a press landed on
    PanelFocus focus_;
    bool dragging_ = false;
    QPoint dragStart_;
    std::optional<QCursor> openHand_, closedHand_; // made at the first hover over the display
};

} // namespace orrindale
