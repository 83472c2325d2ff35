// Key caps: legends, colour groups and the cap drawn up or pushed in.
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainterPath>

#include "art.h"

namespace orrindale::art {

namespace {

// clang-format off
// Legends as printed on the caps, by key position; "\n" breaks a legend into two lines.
const char* const kCapLegends[layout::kKeyCount + 1] = {
    "",
    "TO\nPOLAR", "|y|", "ARC", "a", "b", "x\u21c4y", "\u221ax", "CHG\nSIGN", "ENTER\nEXP",
    "CLEAR\nx", "CLEAR", "IF\nFLAG", "SET\nFLAG",
    "TO\nRECT", "int x", "HYPER", "c", "d", "ROLL\n\u2193", "\u00f7", "7", "8", "9", "FMT",
    "IF\nx<y", "PAUSE",
    "RCL", "e\u02e3", "sin x", "e", "f", "ROLL\n\u2191", "\u00d7", "4", "5", "6", "PRINT\nSPACE",
    "IF\nx=y", "STOP",
    "ACC\n\u2212", "ln x", "cos x", "y\u2192( )", "y\u21c4( )", "\u2193", "\u2212", "1", "2", "3",
    "SUB\nRET", "IF\nx>y", "END",
    "ACC\n+", "log x", "tan x", "x\u2192( )", "x\u2190( )", "\u2191", "+", "0", "\u2022",
    "\u03c0", "CONT", "GO\nTO", "STEP\nPRGM",
};
// clang-format on

// The colour groups of the keyboard.
const CapStyle kDigitCap{QColor(236, 229, 211), QColor(28, 26, 24)};
const CapStyle kArithmeticCap{QColor(70, 96, 128), QColor(246, 244, 236)};
const CapStyle kFunctionCap{QColor(132, 127, 118), QColor(250, 248, 240)};
const CapStyle kStorageCap{QColor(176, 190, 202), QColor(24, 30, 40)};
const CapStyle kProgramCap{QColor(204, 164, 96), QColor(40, 28, 12)};
const CapStyle kClearCap{QColor(214, 104, 50), QColor(255, 250, 240)};

bool IsSingleSymbol(const QString& legend) {
    return legend.size() == 1;
}

} // namespace

QString CapLegend(int key) {
    return QString::fromUtf8(kCapLegends[key]);
}

CapStyle CapStyleOf(int key) {
    const int column = layout::KeyColumn(key);
    if (key == 10 || key == 11) return kClearCap; // CLEAR x and CLEAR stand out
    if (column <= 3) return kFunctionCap;
    if (column <= 6) return kStorageCap;
    if (column == 7) return kArithmeticCap;
    if (column <= 10) return kDigitCap;
    return kProgramCap;
}

QColor Shade(const QColor& colour, int percent) {
    auto scale = [percent](int channel) { return std::min(255, channel * percent / 100); };
    return QColor(scale(colour.red()), scale(colour.green()), scale(colour.blue()));
}

QFont PanelFont(int pixelSize, bool bold) {
    QFont font;
    font.setFamilies({QStringLiteral("Carlito"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(bold);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void DrawText(QPainter& painter, const QRectF& box, const QString& text, const QFont& font,
              const QColor& colour, int flags) {
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(box, flags, text);
    painter.restore();
}

void DrawCap(QPainter& painter, const QRect& face, const CapStyle& style, bool down) {
    // face: the top face of the cap at rest; the skirt below it shows the cap's front. Pushed
    // in, the face drops two rows and the skirt all but disappears into the deck.
    const int drop = down ? 2 : 0;
    const QRect body(face.left(), face.top() + drop, face.width(), face.height() + 3 - drop);
    painter.save();
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(20, 20, 22));
    painter.drawRoundedRect(QRectF(body).adjusted(-0.5, 0, 0.5, 0), 2.5, 2.5);
    painter.setBrush(Shade(style.Face, down ? 52 : 62));
    painter.drawRoundedRect(QRectF(body).adjusted(0, 0.5, 0, 0), 2, 2);
    const QRectF top = QRectF(face.translated(0, drop)).adjusted(0.5, 0.5, -0.5, down ? 0 : -0.5);
    QLinearGradient light(top.topLeft(), top.bottomLeft());
    const QColor base = down ? Shade(style.Face, 88) : style.Face;
    light.setColorAt(0, Shade(base, down ? 92 : 112));
    light.setColorAt(1, Shade(base, 94));
    painter.setBrush(light);
    painter.drawRoundedRect(top, 2, 2);
    if (down) { // the deck's shadow falls on the sunken cap's upper edge
        painter.setBrush(QColor(0, 0, 0, 70));
        painter.drawRect(QRectF(top.left() + 1, top.top(), top.width() - 2, 1.5));
    }
    painter.restore();
}

namespace {

// The largest size up to `size` at which every line fits the face with a pixel to spare.
QFont FittingFont(const QStringList& lines, int size, bool bold, int width) {
    QFont font = PanelFont(size, bold);
    for (; size > 6; --size) {
        font.setPixelSize(size);
        const QFontMetrics metrics(font);
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, metrics.horizontalAdvance(line));
        if (widest <= width - 2) break;
    }
    return font;
}

} // namespace

void DrawCapLegend(QPainter& painter, const QRect& face, const QString& legend,
                   const QColor& colour, bool down) {
    const QStringList lines = legend.split(QLatin1Char('\n'));
    const bool symbol = IsSingleSymbol(legend);
    const bool plainSymbol = symbol && !legend[0].isLetterOrNumber();
    const bool dot = legend == QStringLiteral("\u2022");
    const int size = dot ? 10 : plainSymbol ? 15 : symbol ? 12 : (lines.size() > 1 ? 8 : 9);
    const QFont font = FittingFont(lines, size, true, face.width());
    const QFontMetrics metrics(font);
    // Lines are placed by their capital height, so that two-line legends stay apart on a face
    // only sixteen pixels high.
    const int cap = metrics.capHeight(), gap = 2;
    const int block = static_cast<int>(lines.size()) * cap + (lines.size() - 1) * gap;
    qreal baseline = face.top() + (down ? 2 : 0) + (face.height() - 1 - block) / 2.0 + cap;
    if (plainSymbol) baseline = face.top() + (down ? 2 : 0) + (face.height() + cap) / 2.0 - 1;
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    for (const QString& line : lines) {
        const qreal width = metrics.horizontalAdvance(line);
        painter.drawText(QPointF(face.left() + (face.width() - width) / 2.0, baseline), line);
        baseline += cap + gap;
    }
    painter.restore();
}

void DrawKeys(QPainter& painter, int pressedKey) {
    for (int key = 1; key <= layout::kKeyCount; ++key) {
        const int row = layout::KeyRow(key) - 1, column = layout::KeyColumn(key) - 1;
        const int left = layout::kKeyLeft[static_cast<size_t>(row)][static_cast<size_t>(column)];
        const layout::KeyRowBand band = layout::kKeyRowBands[static_cast<size_t>(row)];
        // The face spans the hit area's full width; its lower edge stops one row short of the
        // band's so that the skirt ends two rows below it.
        const QRect face(left, band.Above, layout::kKeyWidth + 1, band.Below - band.Above);
        const CapStyle style = CapStyleOf(key);
        const bool down = key == pressedKey;
        DrawCap(painter, face, style, down);
        DrawCapLegend(painter, face, CapLegend(key), style.Legend, down);
    }
}

} // namespace orrindale::art
