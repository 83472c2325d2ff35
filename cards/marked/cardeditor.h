// The marked card editor (TprgCrdFM, "Marked Card Editor"): a modal window in which the user
// fills a stack of 99 marked cards by clicking marks on the card picture, by double-clicking
// instruction names or by reading a program text, titles it, saves it as a card stack file and
// prints it. The marks and titles are the program's one TCardStack; the card lines are the
// editor's own. MarkedCard does the clicking; this window draws and asks.
//
// The program viewer's card export makes one that it never shows: ResetStack, AskTitles in
// export mode, SaveCards.
#pragma once

#include <QDialog>
#include <QImage>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "cards/marked/markedcard.h"
#include "common/services.h"

class QLabel;
class QListWidget;
class QPainter;
class QPagedPaintDevice;

namespace orrindale {

class TprgCrdFM final : public QDialog {
    Q_OBJECT

public:
    // Reads a program text file into 392 decimal codes; nothing when it could not (and has
    // told the user why). The opener hands over the program viewer's reader, which lies beside
    // this folder, not below it.
    using ProgramTextReader =
        std::function<std::optional<std::vector<int>>(const QString& path, QWidget* parent)>;

    TprgCrdFM(const Services& services, TCardStack& stack, QWidget* parent = nullptr);
    ~TprgCrdFM() override;
    void SetProgramTextReader(ProgramTextReader reader) { readText_ = std::move(reader); }

    // The toolbar, left to right.
    void NewClick();
    void OpenClick();
    void TextFileClick();
    bool SaveClick();
    void PrintClick();
    void EraseClick();
    void TitlesClick() { AskTitles(false); }
    void ClipboardClick();
    // Open and Text with the file chosen (no save question).
    void OpenStack(const QString& path);
    void MakeFromListing(const QString& path);
    // The drops the editor takes: one stack or one listing, opened as Open and Text open them.
    static bool TakesDrop(const QStringList& paths);
    void OpenDropped(const QString& path);

    // The card picture, the card list and the instruction list.
    void CardClick(QPoint at, MarkButton button);
    void cardsLBClick(int card);
    void cardsLBDblClick();
    void instLBDblClick(int entry);

    // For the viewer's export, by an editor made with the asking window as its parent.
    void ResetStack();
    bool AskTitles(bool exportMode);
    // The cards replace the first lines of the stack, each used; the file written holds only
    // them. False when cancelled or the write failed.
    bool SaveCards(const std::vector<std::string>& cards);

    // The card as drawn, with or without titles; in print mode no row is red.
    QImage DrawCard(bool titles, bool printMode) const;

    const MarkedCard& Card() const { return card_; }
    const CardLines& Lines() const { return list_; }
    bool Modified() const { return modified_; }
    const QString& FileName() const { return fileName_; }
    QListWidget* CardList() const { return cardsLB_; }
    QListWidget* InstructionList() const { return instLB_; }
    QLabel* FileLabel() const { return fileLabel_; }
    bool PictureLoaded() const { return !blankCard_.isNull(); }

    // Closing asks the save question; Cancel or a failed save keeps the window open.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildWindow();
    // The window this editor's dialogs belong to: the editor, or the window that asked for an
    // export from an editor that is never shown.
    QWidget* Asker();
    bool LoadPicture();
    bool SaveQuestion();
    bool SaveAs(int cards);
    void AfterOpen(const QString& path);
    void MakeCurrent(int card);
    void RefreshList();
    void Redraw(bool titles);
    void UpdateFileLabel();
    void DrawTitles(QPainter& p) const;
    // DrawCard over a blank card picture: the 1x one, or for the card view the 2x one.
    QImage DrawCardOver(const QImage& blank, bool titles, bool printMode) const;
    void PrintCards(QPagedPaintDevice& printer);

    Services services_;
    TCardStack& stack_;
    CardLines list_;
    MarkedCard card_;
    QString fileName_;
    bool modified_ = false;
    bool firstActivation_ = true;
    QImage blankCard_;
    // The blank card at 2x on screens that scale by two, for the card view only: the window's
    // size, the clicks and printing go by the 1x picture.
    QImage sharpCard_;
    QLabel* cardView_ = nullptr;
    QListWidget* cardsLB_ = nullptr;
    QListWidget* instLB_ = nullptr;
    QLabel* fileLabel_ = nullptr;
    ProgramTextReader readText_;
};

} // namespace orrindale
