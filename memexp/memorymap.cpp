#include "memexp/memorymap.h"

#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "common/escapeclose.h"

namespace orrindale {

namespace {
constexpr int kMapWidth = 357, kMapHeight = 453;
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

} // namespace orrindale
