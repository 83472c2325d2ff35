// TmainFM's part in opening files from outside: each goes to where its kind belongs, through the
// same path as the window's own Load, so a file that cannot be read gets that window's message.
#include "panel/fileopening.h"

#include <QFileInfo>
#include <array>
#include <utility>

#include "common/messages.h"
#include "panel/mainwindow.h"

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

void TmainFM::OpenFiles(const QStringList& paths) {
    for (const QString& path : paths)
        OpenFile(path);
}

void TmainFM::OpenFile(const QString& path) {
    const FileKind kind = KindOfFile(path);
    switch (kind) {
    case FileKind::MagneticCard:
        // The card menu's Load works only with the power on.
        if (!calc_.PowerOn) SetPowerSwitch(true);
        cards_.OpenCardFile(path);
        return;
    case FileKind::Listing: ViewProgramMemory(path); return;
    case FileKind::Unknown:
        services_.Messages->Error("ERROR: Not a file of the calculator or its peripherals:\r\r" +
                                  path);
        return;
    default:
        for (const auto& link : links_)
            if (link->OpenFile(kind, path)) return;
    }
}

} // namespace orrindale
