#include "common/choosers.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QRegularExpression>

#include "common/fileopen.h"
#include "common/messages.h"

namespace orrindale {

DialogPrinterChooser::DialogPrinterChooser(const QString& modulePath, Messenger& messages)
    : library_(modulePath), messages_(messages) {}

std::unique_ptr<PrintJob> DialogPrinterChooser::Choose(QPageLayout::Orientation orientation,
                                                       QWidget* parent) {
    const auto entry = reinterpret_cast<PrintDialogEntry>(library_.resolve(kPrintEntry));
    if (entry == nullptr) {
        messages_.Error(QStringLiteral("ERROR: Printing is not available (") +
                        library_.errorString() + QStringLiteral(")"));
        return nullptr;
    }
    return std::unique_ptr<PrintJob>(entry(orientation, parent));
}

namespace {
// The extension of the first file type offered: "txt" for "Text Files (*.txt);;All Files (*)".
QString FirstSuffix(const QString& filter) {
    const QRegularExpressionMatch m = QRegularExpression(R"(\(\*\.(\w+)[ )])").match(filter);
    return m.hasMatch() ? m.captured(1) : QString();
}

// The kind of file a question is about: the extension it gives a name typed without one.
QString KindOf(const FileQuestion& question) {
    return question.DefaultSuffix.isEmpty() ? FirstSuffix(question.Filter) : question.DefaultSuffix;
}
} // namespace

QString ChooseSaveFile(FileChooser& files, Messenger& messages, const FileQuestion& question,
                       QWidget* parent) {
    const QString chosen = files.SaveFile(question, parent);
    if (chosen.isEmpty()) return chosen;
    const QString path = WithExtension(chosen, KindOf(question));
    if (path != chosen && QFileInfo::exists(path) &&
        messages.Confirm(QFileInfo(path).fileName() +
                         " already exists.\r\rDo you want to replace it?") != MessageAnswer::Yes)
        return QString();
    return path;
}

QString FolderMemory::StartOf(const FileQuestion& question) const {
    const auto known = folders_.constFind(KindOf(question));
    if (known == folders_.constEnd()) return question.Start;
    const QFileInfo start(question.Start);
    if (start.isFile()) return question.Start; // a file the user has: its own folder
    // A folder alone, or a name (or pattern) with or without one: the name stays.
    const QString name =
        start.isDir() || question.Start.endsWith('/') ? QString() : start.fileName();
    return name.isEmpty() ? *known : *known + '/' + name;
}

void FolderMemory::Remember(const FileQuestion& question, const QString& chosen) {
    if (!chosen.isEmpty()) folders_.insert(KindOf(question), QFileInfo(chosen).absolutePath());
}

QString DialogFileChooser::Ask(const FileQuestion& question, QWidget* parent, bool save) {
    QFileDialog dialog(parent, question.Caption, folders_.StartOf(question), question.Filter);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // A name typed without an extension gets the offered one before the dialog checks whether
    // it exists, so the overwrite question sees the file that will really be written.
    dialog.setDefaultSuffix(KindOf(question));
    if (dialog.exec() != QDialog::Accepted) return QString();
    const QString chosen = dialog.selectedFiles().value(0);
    folders_.Remember(question, chosen);
    return chosen;
}

QString DialogFileChooser::OpenFile(const FileQuestion& question, QWidget* parent) {
    return Ask(question, parent, false);
}

QString DialogFileChooser::SaveFile(const FileQuestion& question, QWidget* parent) {
    // The save question about an existing file is the dialog's own.
    return Ask(question, parent, true);
}

QString DialogFileChooser::ChooseFolder(const FileQuestion& question, QWidget* parent) {
    return QFileDialog::getExistingDirectory(parent, question.Caption, question.Start);
}

} // namespace orrindale
