#include "memexp/instructioncard.h"

#include <QPainter>

#include "common/escapeclose.h"
#include "common/hpdata_qt.h"
#include "common/messages.h"
#include "common/placement.h"
#include "common/programfiles.h"

namespace orrindale {

TmmpnFM::TmmpnFM(const Services& services, QWidget* parent) : QDialog(parent), services_(services) {
    EscapeCloser::Install(this);
    setWindowTitle("HP9101A Instruction Card");
}

bool TmmpnFM::LoadCard() {
    if (!LoadScrambledBitmap(services_.ProgramFile(files::kExtMemoryCardPicture), card_)) {
        services_.Messages->Error("ERROR: failed to load data file");
        return false;
    }
    setFixedSize(card_.size());
    const QImage sharp = LoadSharpPicture(services_.ProgramFile(files::kExtMemoryCardPicture2x),
                                          card_.size(), PictureScale(devicePixelRatioF()));
    if (!sharp.isNull()) card_ = sharp;
    CentreOnScreen(*this);
    return true;
}

void TmmpnFM::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(0, 0, card_);
}

} // namespace orrindale
