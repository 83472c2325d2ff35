// TmainFM's side of the marked cards: where the reader opens, the editor's run and the display
// that a passing card keeps dark. The windows themselves live in cards/marked/, the reader's
// link in readerlink.h.
#include <QGuiApplication>
#include <QScreen>

#include "cards/marked/cardeditor.h"
#include "cards/marked/cardreader.h"
#include "common/messages.h"
#include "common/placement.h"
#include "panel/layout.h"
#include "panel/mainwindow.h"
#include "viewer/view.h"

namespace orrindale {

QPoint TmainFM::ReaderPlaceOnScreen(QSize reader) const {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect free = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 800);
    // Then off the other open peripheral windows, and off the calculator's whole outline where
    // the screen has room.
    return PlaceClear(ReaderPlace(geometry(), {DisplayOnScreen(), KeysOnScreen()}, reader, free),
                      reader, peripherals_.Taken(Peripherals::Kind::CardReader), free);
}

QRect TmainFM::DisplayOnScreen() const {
    const layout::Rect& d = layout::kDisplay;
    return QRect(mapToGlobal(QPoint(d.Left, d.Top)), QSize(d.Width, d.Height));
}

QRect TmainFM::KeysOnScreen() const {
    // The keys with the switches above them and the decimal wheel beside them.
    QRect keys;
    for (int key = 1; key <= layout::kKeyCount; ++key) {
        const layout::Box b = layout::KeyArea(key);
        keys |= QRect(QPoint(b.X1, b.Y1), QPoint(b.X2, b.Y2));
    }
    auto add = [&keys](const layout::Rect& r) { keys |= QRect(r.Left, r.Top, r.Width, r.Height); };
    for (const layout::SwitchPlace& place : layout::kSwitches) {
        add(place.Lever);
        add(place.LabelArea);
    }
    for (const layout::Rect& r :
         {layout::kWheelUp.Area, layout::kWheelDown.Area, layout::kWheelDigit})
        add(r);
    return keys.translated(mapToGlobal(QPoint(0, 0)));
}

void TmainFM::SetDisplayHidden(bool hidden) {
    display_.DisplayBlanked = hidden;
    if (!calc_.PowerOn) return;
    if (hidden)
        calc_.BlankDisplay();
    else
        calc_.RefreshDisplay();
}

void TmainFM::RunCardEditor() {
    if (peripherals_.Window(Peripherals::Kind::CardReader)) {
        services_.Messages->Information("Please close card reader periferal to access editor");
        return;
    }
    TprgCrdFM editor(services_, peripherals_.CardStack(), this);
    editor.SetProgramTextReader([this](const QString& path, QWidget* parent) {
        // A viewer that is never shown reads the listing, with its messages.
        TviewFM viewer(services_, ViewerMemory{}, false, parent);
        std::optional<std::vector<int>> codes;
        if (viewer.LoadListing(path)) codes = viewer.Table().DecimalCodes();
        return codes;
    });
    editor.exec();
}

bool TmainFM::ExportCards(const std::vector<int>& codes, QWidget* parent) {
    // The export starts from an empty stack. While the reader holds a stack the export must not
    // take its marks away, so it then works on a stack of its own.
    TCardStack scratch;
    const bool readerOpen = peripherals_.Window(Peripherals::Kind::CardReader) != nullptr;
    TprgCrdFM editor(services_, readerOpen ? scratch : peripherals_.CardStack(), parent);
    editor.ResetStack();
    if (!editor.AskTitles(true)) return false;
    return editor.SaveCards(CardsUntilEnd(codes));
}

} // namespace orrindale
