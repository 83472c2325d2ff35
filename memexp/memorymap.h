// The memory panel's memory map (TmapFM): a text of the stored programs and the protect line, in
// a modal window of its own.
#pragma once

#include <QDialog>
#include <QString>

#include "memexp/extmemory.h"

class QPlainTextEdit;

namespace orrindale {

// Each stored program's number and start register, then the protect line.
QString MemoryMapText(const MemoryImage& image);

class TmapFM final : public QDialog {
    Q_OBJECT

public:
    TmapFM(const QString& text, QWidget* parent = nullptr);
    QString Text() const;

private:
    QPlainTextEdit* mapMemo_ = nullptr;
};

} // namespace orrindale
