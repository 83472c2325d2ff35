// The marked card reader window (TcardReadFM): a borderless picture of the reader beside the
// calculator, with its "Card Feed" button, the count label and a pop-up menu. It is a
// non-modal peripheral: Peripherals makes it from the menu and frees it after it asked for its
// release (on closing, or when its picture cannot be loaded). The feed itself is
// MarkedCardFeed; this window owns the 50 ms cardTimer, asks the RUN-mode question and draws
// the card where the feed says it stands.
#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <vector>

#include "cards/marked/cardfeed.h"
#include "common/fileopen.h"
#include "common/services.h"

class QLabel;
class QMenu;
class QPushButton;

namespace orrindale {

class Calculator;

// Where the reader stands on the screen: where it hides none of `keep` (the calculator's display
// and keys), and of those places the one that hides least of the calculator, preferring to its
// left with the bottoms level, then to its right; with no such place, where it hides the least
// of `keep`.
QPoint ReaderPlace(const QRect& main, const std::vector<QRect>& keep, const QSize& reader,
                   const QRect& screen);

// The failure of a stack file that LoadStackFile refused, as the reader and the editor tell it.
OpenFailure StackFileFailure(const QString& path);

class TcardReadFM final : public QWidget {
    Q_OBJECT

public:
    struct Context {
        Calculator* Calc = nullptr;
        TCardStack* Stack = nullptr;
        std::function<void()> RequestRelease;
        // Keeps the calculator's display dark while a card passes.
        std::function<void(bool hidden)> SetDisplayHidden;
    };

    TcardReadFM(const Services& services, Context context, QWidget* parent = nullptr);
    ~TcardReadFM() override;

    // Loads "CR91B.dat" (and on screens that scale by two "CR91B@2x.dat" to draw); when the
    // first fails, the window asks for its release and stays hidden.
    bool LoadPicture();

    void cardFeedClick();
    void LoadStackClick();
    // The stack of a file, as Load Stack loads the chosen one (its message when it cannot).
    void LoadStack(const QString& path);
    // A stack file from outside: as LoadStack, its failure told to the caller.
    OpenFailure OpenStack(const QString& path);
    void ResetStackClick();
    void HelpClick();
    void cardTimerTimer();

    const MarkedCardFeed& Feed() const { return feed_; }
    const CardLines& Lines() const { return list_; }
    QLabel* CardLabel() const { return cardLabel_; }
    QMenu* PopupMenu() const { return popup_; }
    bool CardMoving() const { return pc1Shown_; }
    QPoint CardPosition() const { return pc1At_; }
    bool PileShown() const { return pc2Shown_; }
    int PileTop() const { return pc2Top_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildControls();
    void UpdateLabel();
    // Ends a passing card: the display comes back.
    void StopCard();

    Services services_;
    Context context_;
    CardLines list_;
    MarkedCardFeed feed_;
    QTimer cardTimer_{this};
    QImage cardImage_, pc1Image_, pc2Image_, maskImage_;
    QPoint pc1At_;
    bool pc1Shown_ = false, pc2Shown_ = false;
    int pc2Top_ = MarkedCardFeed::kPileTop;
    bool dragShown_ = true;
    QColor dragCover_;
    bool dragging_ = false;
    QPoint dragStart_;
    QLabel* cardLabel_ = nullptr;
    QPushButton* feedButton_ = nullptr;
    QMenu* popup_ = nullptr;
    bool released_ = false;
};

} // namespace orrindale
