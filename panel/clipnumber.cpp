#include "panel/clipnumber.h"

#include <QRegularExpression>
#include <cmath>

#include "engine/keys.h"
#include "panel/accessibility.h"

namespace orrindale {

namespace {
constexpr int kDigits = 10; // the most digits the calculator keeps
// A scientific display line: sign, digit, point, nine digits and three group blanks, then the
// exponent's sign and two digits.
constexpr size_t kScientificLength = 18;
constexpr size_t kExponentAt = 15;

void AppendDigits(const QString& digits, std::vector<int>& keys) {
    static constexpr int kDigitKey[] = {
        keypos::Digit0, keypos::Digit1, keypos::Digit2, keypos::Digit3, keypos::Digit4,
        keypos::Digit5, keypos::Digit6, keypos::Digit7, keypos::Digit8, keypos::Digit9};
    for (QChar c : digits)
        keys.push_back(c == '.' ? keypos::Point : kDigitKey[c.digitValue()]);
}

int DigitCount(const QString& text) {
    int n = 0;
    for (QChar c : text)
        n += c.isDigit() ? 1 : 0;
    return n;
}
} // namespace

QString NumberShown(const DisplayTexts& lines) {
    const QString x = access::ReadDisplayLine(lines[2]);
    bool ok = false;
    x.toDouble(&ok);
    if (!ok) return {};
    // A scientific line keeps its notation ("-1.25E-3", not "-0.00125"); the reading writes
    // small numbers out.
    const std::string& line = lines[2];
    if (line.size() != kScientificLength || line[2] != 'P') return x;
    const QString mantissa = access::ReadDisplayLine(line.substr(0, kExponentAt));
    const int exponent = access::ReadDisplayLine(line.substr(kExponentAt)).toInt();
    return exponent == 0 ? mantissa : mantissa + QStringLiteral("E%1").arg(exponent);
}

std::vector<int> KeysOfNumber(const QString& text) {
    static const QRegularExpression number(
        QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)([eE][+-]?\\d{1,3})?$"));
    const QString trimmed = text.trimmed();
    if (!number.match(trimmed).hasMatch()) return {};
    const double value = trimmed.toDouble();
    const double size = std::fabs(value);
    if (!std::isfinite(value) || size >= 1e100 || (size != 0 && size < 1e-99)) return {};
    // Written with at most ten digits; as a plain number while that keys no more of them than
    // the calculator keeps, else with an exponent.
    QString shown = QString::number(size, 'g', kDigits);
    if (shown.contains('e') || DigitCount(shown) > kDigits)
        shown = QString::number(size, 'e', kDigits - 1);
    QString mantissa = shown.section('e', 0, 0);
    const QString exponent = shown.section('e', 1, 1);
    if (mantissa.contains('.') && !exponent.isEmpty())
        mantissa.remove(QRegularExpression(QStringLiteral("\\.?0+$")));
    std::vector<int> keys;
    AppendDigits(mantissa, keys);
    if (value < 0) keys.push_back(keypos::ChgSign);
    const int power = exponent.toInt();
    if (power != 0) {
        keys.push_back(keypos::EnterExp);
        if (power < 0) keys.push_back(keypos::ChgSign);
        AppendDigits(QString::number(std::abs(power)), keys);
    }
    return keys;
}

} // namespace orrindale
