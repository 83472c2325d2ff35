// The memory panel's instruction card (TmmpnFM): a picture in a modal window of its own.
#pragma once

#include <QDialog>
#include <QImage>

#include "common/services.h"

namespace orrindale {

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
