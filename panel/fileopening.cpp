// TmainFM's part in opening files from outside: each goes to where its kind belongs, through the
// same path as the window's own Load, so a file that cannot be read gets that window's message.
#include "panel/fileopening.h"

#include "common/messages.h"
#include "panel/mainwindow.h"

namespace orrindale {

QString FailedFilesText(const std::vector<OpenFailure>& failures, qsizetype notOpened) {
    QString text;
    if (!failures.empty()) {
        text = failures.size() == 1
                   ? QStringLiteral("ERROR: A file could not be opened:\r")
                   : QString("ERROR: %1 files could not be opened:\r").arg(failures.size());
        const qsizetype listed = std::min<qsizetype>(std::ssize(failures), kListedFailures);
        for (qsizetype i = 0; i < listed; ++i)
            text += "\r" + failures[static_cast<size_t>(i)].Line();
        if (std::ssize(failures) > listed)
            text += QString("\rand %1 more").arg(std::ssize(failures) - listed);
    }
    if (notOpened > 0)
        text += (text.isEmpty() ? "ERROR: " : "\r\r") +
                QString("%1 more files were not opened: at most %2 open at once")
                    .arg(notOpened)
                    .arg(kMaxOpenFiles);
    return text;
}

void TmainFM::OpenFiles(const QStringList& paths) {
    std::vector<OpenFailure> failures;
    const qsizetype opened = std::min<qsizetype>(paths.size(), kMaxOpenFiles);
    for (qsizetype i = 0; i < opened; ++i)
        if (OpenFailure failure = OpenFile(paths[i]); failure.Failed())
            failures.push_back(std::move(failure));
    const qsizetype notOpened = paths.size() - opened;
    if (failures.size() == 1 && notOpened == 0)
        services_.Messages->Error(failures.front().Text());
    else if (!failures.empty() || notOpened > 0)
        services_.Messages->Error(FailedFilesText(failures, notOpened));
}

bool TmainFM::Routes(FileKind kind) const {
    if (kind == FileKind::MagneticCard || kind == FileKind::Listing) return true;
    for (const auto& link : links_)
        if (link->Takes(kind)) return true;
    return false;
}

bool TmainFM::TakesDrop(const QStringList& paths) const {
    for (const QString& path : paths)
        if (Routes(KindOfFile(path))) return true;
    return false;
}

OpenFailure TmainFM::OpenFile(const QString& path) {
    const FileKind kind = KindOfFile(path);
    switch (kind) {
    case FileKind::MagneticCard:
        // The card menu's Load works only with the power on.
        if (!calc_.PowerOn) SetPowerSwitch(true);
        return cards_.OpenCardFile(path);
    case FileKind::Listing: return RunViewer(path);
    default:
        for (const auto& link : links_)
            if (link->Takes(kind)) return link->OpenFile(path);
        return {QStringLiteral("ERROR: Not a file of the calculator or its peripherals:"), path,
                QStringLiteral("the calculator opens *.mcf, *.ocf, *.ptf, *.exm and *.txt files")};
    }
}

} // namespace orrindale
