// The function card: every key with its name, its octal code and the PC key that presses it.
#include <QStringList>

#include "art.h"
#include "engine/keys.h"

namespace orrindale::art {

namespace {

constexpr int kCardWidth = 760;
constexpr int kCardHeight = 470;
constexpr int kColumns = 3;
constexpr int kRowsPerColumn = 22;
constexpr int kRowHeight = 17;
constexpr int kTableTop = 72;

const QColor kCard(246, 241, 226);
const QColor kInk(40, 36, 30);
const QColor kBand(52, 72, 100);

// The PC key as the card lists it: the key's own label, or for digits and letters that have
// none the key itself.
QString PcKeyText(int key) {
    QString label = QString::fromLatin1(layout::kKeys[static_cast<size_t>(key)].PcLabel);
    label.replace(QStringLiteral("  "), QStringLiteral(" "));
    if (!label.isEmpty()) return label;
    const QString name = QString::fromLatin1(layout::kKeys[static_cast<size_t>(key)].Name);
    if (name == QStringLiteral(".")) return QStringLiteral("Keypad .");
    return name.toUpper();
}

QString CodeText(int key) {
    if (key == kStepPrgmPos) return QStringLiteral("--");
    return QString::fromStdString(FormatKeyCode(KeyCodeOf[static_cast<size_t>(key)]));
}

void DrawHeader(QPainter& p) {
    p.fillRect(QRect(0, 0, kCardWidth, 44), kBand);
    DrawText(p, QRectF(20, 0, 500, 44), QStringLiteral("HP 9100B  \u00b7  KEY CODES"),
             PanelFont(22), QColor(246, 241, 226), Qt::AlignLeft | Qt::AlignVCenter);
    DrawText(p, QRectF(kCardWidth - 260, 0, 240, 44), QStringLiteral("hewlett \u00b7 packard"),
             PanelFont(13, false), QColor(220, 214, 196), Qt::AlignRight | Qt::AlignVCenter);
    const QFont head = PanelFont(11);
    for (int c = 0; c < kColumns; ++c) {
        const int x = 16 + c * 246;
        DrawText(p, QRectF(x + 18, 50, 110, 16), QStringLiteral("KEY"), head, kBand,
                 Qt::AlignLeft | Qt::AlignVCenter);
        DrawText(p, QRectF(x + 126, 50, 36, 16), QStringLiteral("CODE"), head, kBand);
        DrawText(p, QRectF(x + 166, 50, 70, 16), QStringLiteral("PC KEY"), head, kBand,
                 Qt::AlignLeft | Qt::AlignVCenter);
    }
}

void DrawEntry(QPainter& p, int key, int x, int y) {
    if ((key - 1) % kRowsPerColumn % 2 == 0)
        p.fillRect(QRect(x, y, 236, kRowHeight), QColor(234, 227, 208));
    const CapStyle style = CapStyleOf(key);
    p.setPen(QPen(Shade(style.Face, 60), 1));
    p.setBrush(style.Face);
    p.drawRoundedRect(QRectF(x + 3.5, y + 3.5, 10, 10), 2, 2);
    const QFont font = PanelFont(12, false);
    DrawText(p, QRectF(x + 18, y, 108, kRowHeight),
             QString::fromLatin1(layout::kKeys[static_cast<size_t>(key)].Name), font, kInk,
             Qt::AlignLeft | Qt::AlignVCenter);
    DrawText(p, QRectF(x + 126, y, 36, kRowHeight), CodeText(key), PanelFont(12), kInk);
    DrawText(p, QRectF(x + 166, y, 70, kRowHeight), PcKeyText(key), font, kInk,
             Qt::AlignLeft | Qt::AlignVCenter);
}

} // namespace

QImage RenderFunctionCard(int scale) {
    QImage card(kCardWidth * scale, kCardHeight * scale, QImage::Format_RGB32);
    card.fill(kCard);
    card.setDevicePixelRatio(scale);
    QPainter p(&card);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    DrawHeader(p);
    for (int key = 1; key <= layout::kKeyCount; ++key) {
        const int column = (key - 1) / kRowsPerColumn, row = (key - 1) % kRowsPerColumn;
        DrawEntry(p, key, 16 + column * 246, kTableTop + row * kRowHeight);
    }
    DrawText(p, QRectF(16, kCardHeight - 24, kCardWidth - 32, 16),
             QStringLiteral("Codes are octal. Digits use the main keys or the keypad; Shift "
                            "with a letter reaches the second key of that letter."),
             PanelFont(11, false), QColor(90, 84, 74), Qt::AlignLeft | Qt::AlignVCenter);
    p.setPen(QPen(kBand, 2));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(1, 1, kCardWidth - 2, kCardHeight - 2));
    return card;
}

} // namespace orrindale::art
