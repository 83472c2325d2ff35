// Files dropped on a window from the desktop: the calculator and each peripheral window take
// them, and all hand them to the same place, which opens each where its kind belongs. A window
// says which drags it takes, so that one it cannot take is refused while it is dragged (the
// pointer shows no drop) rather than accepted and then refused.
#pragma once

#include <QStringList>
#include <functional>

class QWidget;
class QMimeData;

namespace orrindale {

using FilesDropped = std::function<void(const QStringList& paths)>;
// True when a drag of these files (never none) may be dropped on the window.
using DropTakes = std::function<bool(const QStringList& paths)>;

// The local files a drag carries (text/uri-list), in order; empty when it carries none, and
// then the window refuses it.
QStringList DroppedFiles(const QMimeData* data);

// Makes window accept the drags of local files that takes takes and hand the files of a drop to
// dropped; it refuses any other drag. The helper lives as the window's child.
void AcceptFileDrops(QWidget* window, DropTakes takes, FilesDropped dropped);

} // namespace orrindale
