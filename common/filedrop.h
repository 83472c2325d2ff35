// Files dropped on a window from the desktop: the calculator and each peripheral window take
// them, and all hand them to the same place, which opens each where its kind belongs.
#pragma once

#include <QStringList>
#include <functional>

class QWidget;
class QMimeData;

namespace orrindale {

using FilesDropped = std::function<void(const QStringList& paths)>;

// The local files a drag carries (text/uri-list), in order; empty when it carries none, and
// then the window refuses it.
QStringList DroppedFiles(const QMimeData* data);

// Makes window accept drags of local files and hand the files of a drop to dropped. The helper
// lives as the window's child.
void AcceptFileDrops(QWidget* window, FilesDropped dropped);

} // namespace orrindale
