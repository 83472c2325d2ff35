// The magnetic card slot on the panel: the card drawn in the slot, its side label, the record
// and enter keys, the 100 ms card timer and the "Magnetic Card" menu.
//
// The card and its file are TMagneticCard's and the cycle's ticks CardCycle's (cards/); this
// class connects them to the mouse, the menu, the dialogs, the sounds and the panel's
// pictures. The main window creates one, gives it the card sub-menu, and forwards the mouse
// presses over the card keys, the power switch, start-up and the close question to it.
#pragma once

#include <QImage>
#include <QObject>
#include <QPoint>
#include <QRect>
#include <QString>
#include <QTimer>
#include <functional>
#include <optional>
#include <vector>

#include "cards/magnetic/cardcycle.h"
#include "cards/magnetic/magneticcard.h"
#include "common/fileopen.h"
#include "common/statesave.h"

class QAction;
class QMenu;
class QWidget;

namespace orrindale {

class Calculator;
class PanelScene;
struct Services;

class CardSlot : public QObject {
    Q_OBJECT

public:
    // What the slot needs of the window it sits in.
    struct Window {
        QWidget* Widget = nullptr;               // parent of the dialogs
        std::function<void(QRect)> Repaint;      // a part of the panel changed
        std::function<void(bool)> ShowKeyLabels; // the key name and program-counter labels
        std::function<int()> PictureScale;       // 2 for the pictures drawn at 2x, else 1
    };
    // Edits the two side names; false when the user cancelled. The "Card Names" dialog unless
    // replaced (tests script it).
    using NamesEditor = std::function<bool(QString& nameA, QString& nameB)>;

    CardSlot(Calculator& calc, PanelScene& scene, const Services& services, Window window,
             QObject* parent = nullptr);

    const TMagneticCard& Card() const { return card_; }
    bool Cycling() const { return cardTimer_.isActive(); }
    void SetNamesEditor(NamesEditor editor) { editNames_ = std::move(editor); }
    // The card view as it is drawn now, before the transparent colour is applied; at 2x
    // (device pixel ratio 2) where the panel shows the pictures drawn at 2x.
    const QImage& View() const { return view_; }

    // Start-up: the pictures into the scene, the menu entries, the card of the last run.
    void PlacePictures();
    void BuildMenu(QMenu* menu);
    void StartUp(const std::string& fileName, bool side);
    // Closing: asks about a modified card, with the power on or off; false keeps the window
    // open.
    bool CloseQuery();
    // A modified card as it stands, for a close that cannot ask about it; nothing when the card
    // holds nothing unsaved.
    std::vector<StateWrite> UnsavedCard() const;
    void PowerSwitched(bool on);

    // Mouse presses and releases over the card keys; true when they were the slot's.
    bool MouseDown(QPoint at);
    bool MouseUp();

    // The menu commands.
    void NewProgramcard1Click();
    void SwapProgramcard1Click();
    void EjectProgramCard1Click();
    void LoadProgramCard1Click();
    void SaveProgramCard1Click();
    void CardAWriteProtect1Click() { ToggleProtection(true); }
    void CardBWriteProtect1Click() { ToggleProtection(false); }

    // A card file named from outside (the command line, a drop): as Load with that file chosen,
    // but a file that does not load is told to the caller rather than in a box.
    OpenFailure OpenCardFile(const QString& path);
    void LoadCardFile(const QString& path, bool side);
    bool SaveCardAs();
    void StartCardCycle(CardMode mode);

private:
    void cardTimerTimer();
    void EndCycle();
    // While a program runs: the slot's refusal told, and true.
    bool RefusedWhileRunning();
    bool AskUnsaved();
    // "Save changes?" about a modified card: false when the user cancelled or the save failed.
    bool SaveQuestion();
    // The chosen card into the slot, remembered for the next start.
    OpenFailure TakeCardFile(const QString& path);
    // The card of the file into the slot; a file that fails to load leaves the card as it was.
    OpenFailure ReadCardFile(const QString& path, bool side);
    static OpenFailure LoadFailure(CardLoad result, const QString& path);
    void ToggleProtection(bool sideA);
    void InsertCard();
    void ClearCard();
    void UpdateCardCaption();
    void UpdateProtectMenu();
    bool EditCardNames();
    void DrawCardName(const QString& text);
    void ShowView();

    Calculator& calc_;
    PanelScene& scene_;
    const Services& services_;
    Window window_;
    NamesEditor editNames_;
    TMagneticCard card_;
    CardCycle cycle_;
    QTimer cardTimer_;
    QImage cardBitmap_;           // the whole card of the facing side, with its name
    QImage view_;                 // what the card view shows
    int scale_ = 1;               // of the pictures: 2 for those drawn at 2x
    std::optional<QRgb> cardKey_; // the colour of the view that shows the panel through
    QString lastLoadName_ = QStringLiteral("*.mcf");
    const char* pressed_ = nullptr; // the card key picture held down
    QAction* captionAction_ = nullptr;
    QAction* protectA_ = nullptr;
    QAction* protectB_ = nullptr;
    std::vector<QAction*> powerActions_; // New, Swap, Eject, Load, Save
};

} // namespace orrindale
