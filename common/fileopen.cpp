#include "common/fileopen.h"

#include <QFile>
#include <QFileInfo>
#include <array>
#include <utility>

#include "common/hpdata.h"

namespace orrindale {

FileKind KindOfFile(const QString& path) {
    static const std::array<std::pair<const char*, FileKind>, 5> kEndings{{
        {"mcf", FileKind::MagneticCard},
        {"ocf", FileKind::CardStack},
        {"ptf", FileKind::Plot},
        {"exm", FileKind::Memory},
        {"txt", FileKind::Listing},
    }};
    const QString suffix = QFileInfo(path).suffix();
    for (const auto& [ending, kind] : kEndings)
        if (suffix.compare(QLatin1String(ending), Qt::CaseInsensitive) == 0) return kind;
    return FileKind::Unknown;
}

QString WithExtension(const QString& path, const QString& extension) {
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    if (suffix.compare(extension, Qt::CaseInsensitive) == 0) return path;
    QString stem = path;
    if (KindOfFile(path) != FileKind::Unknown) stem.chop(suffix.size() + 1);
    return stem + '.' + extension;
}

QString OpenFailure::Text() const {
    QString text = Message + "\r\r" + File;
    if (!Reason.isEmpty()) text += "\r\r" + Reason;
    return text;
}

QString OpenFailure::Line() const {
    QString why = Reason;
    if (why.isEmpty()) {
        // "ERROR: " says nothing in a list that is all errors.
        why = Message;
        if (why.startsWith("ERROR: ")) why.remove(0, 7);
        why.replace("\r\r", ". ");
    }
    return QFileInfo(File).fileName() + ": " + why;
}

OpenFailure ReadFailure(const QString& message, const QString& path, std::size_t maxBytes,
                        const QString& badContents) {
    const std::string reason = UnreadableReason(QFile::encodeName(path).toStdString(), maxBytes);
    return {message, path, reason.empty() ? badContents : QString::fromLocal8Bit(reason)};
}

} // namespace orrindale
