// The program memory viewer: a modal window that shows a program as a table of address, octal
// code and instruction, lets the user edit the instructions, and moves the program between the
// table and memory, text listings, the clipboard and the printer.
//
// Normal mode shows the calculator's 392 steps. Expanded mode shows the extended memory's 3472
// steps; its "Load" and "Save" of expanded files go through the memory's own file routines,
// which its opener hands over in ViewerMemory (the viewer knows nothing of the memory itself).
// "Optical Card" hands the codes to the card export its opener sets (the marked card editor,
// which lies beside this folder, not below it).
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "common/fileopen.h"
#include "common/services.h"
#include "viewer/viewtable.h"

class QAction;
class QTableView;

namespace orrindale {

class Calculator;
class ViewTableModel;

// The memory the viewer shows and writes, step 0 first.
struct ViewerMemory {
    std::function<std::vector<TKeyCode>()> Read;
    std::function<void(int step, TKeyCode code)> Write;
    std::function<void()> Reset; // expanded mode's "New" clears the memory's state first
    bool On = false;             // the calculator (or the extended memory) is switched on
    // Expanded files: read into memory (clearing it first) and written from it. Each reports
    // its own failure to the user and answers whether it succeeded.
    std::function<bool(const QString& path)> LoadFile;
    std::function<bool(const QString& path)> SaveFile;
};
// The calculator's program memory, as seen now.
ViewerMemory ProgramMemoryOf(Calculator& calc);

class TviewFM final : public QDialog {
    Q_OBJECT

public:
    TviewFM(const Services& services, ViewerMemory memory, bool expanded = false,
            QWidget* parent = nullptr);
    ~TviewFM() override;

    // The "File" menu.
    void NewClick();
    void CopyToClipboardClick();
    void LoadAsTextClick();
    bool SaveTextClick();
    void LoadExpandedClick();
    bool SaveExpandedClick();
    void SendToMemoryClick();
    void PrintUntilEndClick() { Print(true); }
    void PrintAllClick() { Print(false); }
    void OpticalCardClick();

    // Writes codes as a marked card stack; false when cancelled or failed.
    using CardExport = std::function<bool(const std::vector<int>& codes, QWidget* parent)>;
    // Enables "Optical Card".
    void SetCardExport(CardExport exportCards);

    // Reads a text listing into the table (also for the marked card editor, which never shows
    // its viewer); false when the file could not be read or a line stopped the reading.
    bool LoadListing(const QString& path);
    // A listing from outside: as LoadListing, its failure told to the caller.
    OpenFailure OpenListing(const QString& path);
    const QString& FileName() const { return fileName_; }
    const ViewTable& Table() const { return table_; }
    bool Modified() const { return modified_; }
    QTableView* Grid() const { return codeSG_; }

    // Closing asks the save question; Cancel keeps the window open.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void BuildMenu();
    void BuildTable();
    void FillTable();
    bool SaveQuestion();
    void UpdateCaption();
    void SelectRow(int row);
    void Print(bool untilEnd);

    Services services_;
    ViewerMemory memory_;
    ViewTable table_;
    ViewTableModel* model_ = nullptr;
    QTableView* codeSG_ = nullptr;
    QAction* sendToMemoryAction_ = nullptr;
    QAction* opticalCardAction_ = nullptr;
    CardExport cardExport_;
    QString fileName_;
    bool modified_ = false;
    bool firstActivation_ = true;
};

} // namespace orrindale
