#include "memexp/memdialogs.h"

#include <QPainter>
#include <QPlainTextEdit>
#include <QScreen>
#include <QVBoxLayout>

#include "panel/shared/escapeclose.h"
#include "panel/shared/hpdata_qt.h"
#include "panel/shared/messages.h"
#include "panel/shared/programfiles.h"

namespace orrindale {

namespace {
constexpr int kMapWidth = 357, kMapHeight = 453;

void CentreOnScreen(QWidget& window) {
    if (const QScreen* screen = window.screen()) {
        QRect frame = window.frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        window.move(frame.topLeft());
    }
}
} // namespace

QString MemoryMapText(const MemoryImage& image) {
    QString text;
    for (const MemoryImage::Program& p : image.progDirectory)
        text += "Program Number: " + QString::number(p.Number) +
                "\nMemory Address: " + QString::number(p.Start) + "\n\n";
    return text + "Protect Line:   " + QString::number(image.protectLine);
}

TmapFM::TmapFM(const QString& text, QWidget* parent) : QDialog(parent) {
    EscapeCloser::Install(this);
    setWindowTitle("9101A Memory Map");
    mapMemo_ = new QPlainTextEdit(this);
    mapMemo_->setObjectName("mapMemo");
    mapMemo_->setReadOnly(true);
    mapMemo_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    QFont font("Courier New");
    font.setStyleHint(QFont::TypeWriter);
    font.setPixelSize(13);
    mapMemo_->setFont(font);
    mapMemo_->setPlainText(text);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mapMemo_);
    resize(kMapWidth, kMapHeight);
}

QString TmapFM::Text() const {
    return mapMemo_->toPlainText();
}

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
