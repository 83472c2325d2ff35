#include "viewer/view.h"

#include <QClipboard>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include "common/choosers.h"
#include "common/escapeclose.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/placement.h"
#include "engine/calculator.h"
#include "viewer/listing.h"
#include "viewer/listingprint.h"
#include "viewer/viewmodel.h"

namespace orrindale {

namespace {
constexpr int kClientWidth = 397, kClientHeight = 404, kMaxWidth = 415;
constexpr int kColumnWidths[] = {64, 47, 256};
const char* const kTextFilter = "Text Files (*.txt);;All Files (*.*)";
const char* const kTextStart = "*.txt";
const char* const kExpandedStart = "*.exm";

const char* const kExpandedFilter = "Expanded Files (*.exm);;All Files (*.*)";
const char* const kCodeErrors = "Program code has errors";

// Where a save dialog starts: the file the table came from when it is of the kind saved (a
// listing is never proposed to take an expanded file, nor the other way round), else the
// kind's pattern in the program folder.
QString SaveStart(const QString& fileName, const QString& folder, const QString& pattern) {
    const bool sameKind = fileName.endsWith(pattern.mid(1), Qt::CaseInsensitive);
    return sameKind && QFileInfo::exists(fileName) ? fileName : folder + pattern;
}

// Hands every keystroke of an instruction cell to the table at once, so its code cell follows
// the typing rather than waiting for the edit to end.
class LiveEditDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) {
            auto* self = const_cast<LiveEditDelegate*>(this);
            connect(line, &QLineEdit::textEdited, self,
                    [self, line] { emit self->commitData(line); });
        }
        return editor;
    }
};
} // namespace

ViewerMemory ProgramMemoryOf(Calculator& calc) {
    ViewerMemory memory;
    memory.Read = [&calc] {
        const auto codes = listing::ReadProgram(calc);
        return std::vector<TKeyCode>(codes.begin(), codes.end());
    };
    memory.Write = [&calc](int step, TKeyCode code) { listing::WriteStep(calc, step, code); };
    memory.On = calc.PowerOn;
    return memory;
}

TviewFM::TviewFM(const Services& services, ViewerMemory memory, bool expanded, QWidget* parent)
    : QDialog(parent), services_(services), memory_(std::move(memory)), table_(expanded) {
    EscapeCloser::Install(this);
    setModal(true);
    BuildTable();
    BuildMenu();
    UpdateCaption();
}

TviewFM::~TviewFM() = default;

void TviewFM::BuildTable() {
    model_ = new ViewTableModel(table_, this);
    connect(model_, &ViewTableModel::Edited, this, [this] { modified_ = true; });
    codeSG_ = new QTableView(this);
    codeSG_->setObjectName("codeSG");
    codeSG_->setModel(model_);
    codeSG_->setItemDelegate(new LiveEditDelegate(codeSG_));
    QFont font("Courier New");
    font.setPixelSize(13);
    font.setStyleHint(QFont::TypeWriter);
    codeSG_->setFont(font);
    codeSG_->horizontalHeader()->hide();
    codeSG_->verticalHeader()->hide();
    codeSG_->verticalHeader()->setMinimumSectionSize(1);
    codeSG_->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 4);
    for (int c = 0; c < 3; ++c)
        codeSG_->setColumnWidth(c, kColumnWidths[c]);
    codeSG_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    codeSG_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    codeSG_->setSelectionMode(QAbstractItemView::SingleSelection);
    codeSG_->setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::DoubleClicked |
                             QAbstractItemView::EditKeyPressed);
    codeSG_->setMinimumSize(kClientWidth, kClientHeight);
    // Only instructions can be chosen: the cursor keys never rest on an address or a code.
    connect(codeSG_->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& now) {
                if (now.isValid() && now.column() != ViewTableModel::InstructionColumn)
                    codeSG_->setCurrentIndex(
                        model_->index(now.row(), ViewTableModel::InstructionColumn));
            });
}

void TviewFM::BuildMenu() {
    auto* bar = new QMenuBar(this);
    QMenu* file = bar->addMenu("File");
    const bool expanded = table_.Expanded();
    file->addAction("New", this, &TviewFM::NewClick);
    file->addAction("Copy To Clipboard", this, &TviewFM::CopyToClipboardClick)
        ->setVisible(!expanded);
    // Expanded files are the extended memory's own file, read and written by its routines.
    QAction* load = file->addAction("Load", this, &TviewFM::LoadExpandedClick);
    QAction* save = file->addAction("Save", this, &TviewFM::SaveExpandedClick);
    for (QAction* action : {load, save}) {
        action->setVisible(expanded);
        action->setEnabled(memory_.LoadFile && memory_.SaveFile);
    }
    file->addAction("Load As Text", this, &TviewFM::LoadAsTextClick)->setVisible(!expanded);
    QMenu* saveAs = file->addMenu("Save File As");
    saveAs->menuAction()->setVisible(!expanded);
    saveAs->addAction("Text", this, &TviewFM::SaveTextClick);
    // Enabled once the opener hands over the card export.
    opticalCardAction_ = saveAs->addAction("Optical Card", this, &TviewFM::OpticalCardClick);
    opticalCardAction_->setEnabled(false);
    file->addSeparator();
    sendToMemoryAction_ = file->addAction("Send To Memory", this, &TviewFM::SendToMemoryClick);
    file->addSeparator();
    file->addAction("Print Until END", this, &TviewFM::PrintUntilEndClick)->setVisible(!expanded);
    file->addAction("Print All", this, &TviewFM::PrintAllClick)->setVisible(!expanded);
    file->addSeparator();
    file->addAction("Exit", this, &QDialog::close);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(bar);
    layout->addWidget(codeSG_);
    setMaximumWidth(kMaxWidth);
}

void TviewFM::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!firstActivation_) return;
    firstActivation_ = false;
    FillTable();
    sendToMemoryAction_->setEnabled(memory_.On);
    modified_ = false;
    CentreOnScreen(*this);
}

void TviewFM::FillTable() {
    // The extended memory keeps its contents whatever its LINE switch says; showing "00" for
    // them would let Save write the zeros over the stored programs.
    const bool readable = memory_.Read && (memory_.On || table_.Expanded());
    table_.Fill(readable ? memory_.Read() : std::vector<TKeyCode>());
    model_->Reset();
}

void TviewFM::UpdateCaption() {
    // Opened from the extended memory it shows the 9101A's words, not the calculator's steps.
    const QString what = table_.Expanded() ? QStringLiteral("HP 9101A Extended Memory Viewer")
                                           : QStringLiteral("HP-9100B Program Memory Viewer");
    setWindowTitle(what + " [" + QString::fromStdString(FileTitle(fileName_.toStdString())) + "]");
}

void TviewFM::SelectRow(int row) {
    codeSG_->clearSelection();
    if (row < 0) {
        codeSG_->setCurrentIndex(QModelIndex());
        return;
    }
    const QModelIndex cell = model_->index(row, ViewTableModel::InstructionColumn);
    codeSG_->setCurrentIndex(cell);
    codeSG_->scrollTo(cell);
}

bool TviewFM::SaveQuestion() {
    if (!modified_) return true;
    switch (services_.Messages->Confirm("Program has been modified\r\rSave changes?",
                                        MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes: return table_.Expanded() ? SaveExpandedClick() : SaveTextClick();
    case MessageAnswer::No: return true;
    default: return false;
    }
}

void TviewFM::reject() {
    if (SaveQuestion()) QDialog::reject();
}

void TviewFM::NewClick() {
    if (!SaveQuestion()) return;
    if (table_.Expanded() && memory_.Reset) memory_.Reset();
    table_.Clear();
    model_->Reset();
}

void TviewFM::CopyToClipboardClick() {
    QGuiApplication::clipboard()->setText(FromBytes(listing::ListingText(table_.Lines())));
}

void TviewFM::LoadAsTextClick() {
    if (!SaveQuestion()) return;
    const QString path = services_.Files->OpenFile(
        {"Load Program File", services_.ProgramFolder + kTextStart, kTextFilter}, this);
    if (!path.isEmpty()) LoadListing(path);
    UpdateCaption();
    SelectRow(-1);
}

bool TviewFM::LoadListing(const QString& path) {
    const OpenFailure failure = OpenListing(path);
    if (failure.Failed()) services_.Messages->Error(failure.Text());
    return !failure.Failed();
}

OpenFailure TviewFM::OpenListing(const QString& path) {
    std::vector<std::string> lines;
    // A file that cannot be read leaves the table as it was: there is nothing to replace it.
    if (!listing::ReadListingFile(NativePath(path), lines))
        return ReadFailure("ERROR: Failed to open file", path, listing::kMaxListingBytes,
                           "it could not be read");
    const listing::ReadResult read = listing::LoadTextListing(lines);
    // The table and its file name stay together: a listing that stops on a bad line replaces
    // neither. The bad line is the reason.
    if (!read.Complete) return {FromBytes(read.Error), path, {}};
    table_.Take(read);
    model_->Reset();
    fileName_ = path;
    modified_ = false;
    UpdateCaption();
    return {};
}

bool TviewFM::SaveTextClick() {
    if (table_.FirstInvalid() >= 0) {
        services_.Messages->Error(kCodeErrors);
        return false;
    }
    const QString start = SaveStart(fileName_, services_.ProgramFolder, kTextStart);
    const QString path = services_.Files->SaveFile({"Save Program File", start, kTextFilter}, this);
    if (path.isEmpty()) return false;
    if (!listing::WriteListingFile(NativePath(path), table_.Lines())) {
        services_.Messages->Error("ERROR: Failed to save file");
        return false;
    }
    fileName_ = path;
    modified_ = false;
    UpdateCaption();
    return true;
}

void TviewFM::LoadExpandedClick() {
    if (!memory_.LoadFile) return;
    const QString path = services_.Files->OpenFile(
        {"Load Expanded File", services_.ProgramFolder + kExpandedStart, kExpandedFilter, "exm"},
        this);
    if (path.isEmpty() || !memory_.LoadFile(path)) return;
    FillTable();
    fileName_ = path;
    modified_ = false;
    UpdateCaption();
    SelectRow(-1);
}

bool TviewFM::SaveExpandedClick() {
    if (!memory_.SaveFile || !memory_.Write) return false;
    if (table_.FirstInvalid() >= 0) {
        services_.Messages->Error(kCodeErrors);
        return false;
    }
    const QString start = SaveStart(fileName_, services_.ProgramFolder, kExpandedStart);
    const QString path =
        services_.Files->SaveFile({"Save Expanded File", start, kExpandedFilter, "exm"}, this);
    if (path.isEmpty()) return false;
    for (int row = 0; row < table_.Rows(); ++row)
        if (ParseOctal(table_.Code(row), -1) < 0) {
            services_.Messages->Error("ERROR: Invalid octal code. Address: " +
                                      FromBytes(table_.Address(row)));
            return false;
        }
    for (int row = 0; row < table_.Rows(); ++row)
        memory_.Write(row, static_cast<TKeyCode>(ParseOctal(table_.Code(row), 0)));
    if (!memory_.SaveFile(path)) return false;
    fileName_ = path;
    modified_ = false;
    UpdateCaption();
    return true;
}

void TviewFM::SendToMemoryClick() {
    if (!memory_.On) {
        services_.Messages->Information(
            "Code can only be transferred to memory when the calculator is turned on");
        return;
    }
    if (services_.Messages->Confirm("This will overwrite current memory\r\rContinue?") !=
        MessageAnswer::Yes)
        return;
    const int bad = table_.SendTo(memory_.Write);
    if (bad < 0) return;
    services_.Messages->Error(kCodeErrors);
    SelectRow(bad);
}

void TviewFM::SetCardExport(CardExport exportCards) {
    cardExport_ = std::move(exportCards);
    opticalCardAction_->setEnabled(static_cast<bool>(cardExport_));
}

void TviewFM::OpticalCardClick() {
    if (!cardExport_) return;
    for (int row = 0; row < table_.Rows(); ++row)
        if (!table_.Instruction(row).empty() && !table_.Valid(row)) {
            services_.Messages->Error("There are errors in the listed code");
            return;
        }
    std::vector<int> codes;
    for (int row = 0; row < table_.Rows(); ++row)
        codes.push_back(ParseOctal(table_.Code(row), 0));
    if (cardExport_(codes, this)) modified_ = false;
}

void TviewFM::Print(bool untilEnd) {
    const auto job = services_.Printers->Choose(QPageLayout::Portrait, this);
    if (!job) return;
    QStringList lines;
    for (const std::string& line : table_.Lines(untilEnd))
        lines.append(FromBytes(line));
    const QString header =
        "Program File: " + QString::fromStdString(FileTitle(fileName_.toStdString()));
    const QString failure = PrintListing(lines, header, PrinterFont(codeSG_->font()), *job);
    if (!failure.isEmpty()) services_.Messages->Error(failure);
}

} // namespace orrindale
