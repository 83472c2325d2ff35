// The memory panel's two modal windows: the memory map (TmapFM), a text of the stored programs
// and the protect line, and the instruction card (TmmpnFM), a picture.
#pragma once

#include <QDialog>
#include <QString>

#include "memexp/extmemory.h"
#include "panel/shared/services.h"

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

class TmmpnFM final : public QDialog {
    Q_OBJECT

public:
    TmmpnFM(const Services& services, QWidget* parent = nullptr);
    // Loads "mmexpl.dat" (and on screens that scale by two "mmexpl@2x.dat" to draw); reports a
    // failure of the first, after which the card is not to be shown.
    bool LoadCard();
    const QImage& Card() const { return card_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Services services_;
    QImage card_;
};

} // namespace orrindale
