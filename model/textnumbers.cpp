#include "model/textnumbers.h"

#include <algorithm>
#include <cmath>

namespace model::textnum {


namespace {

// Only the ASCII digits: QChar::isDigit also takes the digits of other scripts ("\u0663"),
// which no conversion reads back.
bool IsDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Scans a number from position i; returns the characters consumed (0 when none).
int ScanNumber(const QString& s, int i, bool allowThousands, double* value)
{
    const int start = i;
    QString digits;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        digits += s[i++];
    bool any = false;
    while (i < s.size()) {
        if (IsDigit(s[i])) {
            digits += s[i++];
            any = true;
        } else if (allowThousands && s[i] == ',' && any) {
            ++i;
        } else {
            break;
        }
    }
    if (i < s.size() && s[i] == '.') {
        digits += s[i++];
        while (i < s.size() && IsDigit(s[i])) {
            digits += s[i++];
            any = true;
        }
    }
    if (!any)
        return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        int j = i + 1;
        QString exp = "e";
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exp += s[j++];
        const int expStart = j;
        while (j < s.size() && IsDigit(s[j]))
            exp += s[j++];
        if (j > expStart) {
            digits += exp;
            i = j;
        }
    }
    bool ok = false;
    double v = digits.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        // The text is a well-formed number, so this is an overflow, or an underflow when the
        // exponent is negative.
        const bool tiny = digits.contains(QLatin1String("e-"));
        v = tiny ? 0.0 : (digits.startsWith(QLatin1Char('-')) ? -HUGE_VAL : HUGE_VAL);
    }
    if (value)
        *value = v;
    return i - start;
}

} // namespace

bool IsNumeric(const QString& text, double* value)
{
    QString s = text.trimmed();
    // "$1,500", "-$1,500" and "$-1,500" are all amounts.
    if (s.startsWith(QLatin1Char('$')))
        s.remove(0, 1);
    else if (s.size() > 1 && (s[0] == '-' || s[0] == '+') && s[1] == '$')
        s.remove(1, 1);
    if (s.isEmpty())
        return false;
    double v = 0;
    const int used = ScanNumber(s, 0, true, &v);
    if (used == 0 || used != s.size() || !std::isfinite(v))
        return false;
    if (value)
        *value = v;
    return true;
}

double NumericOrZero(const QString& text)
{
    double v = 0;
    return IsNumeric(text, &v) ? v : 0.0;
}

namespace {

enum class Scan { Number, NotNumber, Overflow };

Scan ScanTyped(const QString& text, double* value)
{
    QString s = text.trimmed();
    // An amount may carry its dollar sign before or after the sign: "$-20", "-$20".
    const int dollar = int(s.indexOf(QLatin1Char('$')));
    if (dollar == 0 || (dollar == 1 && (s[0] == '+' || s[0] == '-')))
        s.remove(dollar, 1);
    int i = 0;
    const int n = int(s.size());
    if (i < n && (s[i] == '+' || s[i] == '-'))
        ++i;
    // Whole part: plain digits, or 1 to 3 digits followed by groups of ",ddd".
    int run = 0;
    bool grouped = false;
    int digits = 0;
    while (i < n) {
        if (IsDigit(s[i])) {
            ++run;
            ++digits;
            ++i;
        } else if (s[i] == ',') {
            if (run == 0 || (grouped ? run != 3 : run > 3))
                return Scan::NotNumber;
            grouped = true;
            run = 0;
            ++i;
        } else {
            break;
        }
    }
    if (grouped && run != 3)
        return Scan::NotNumber;
    if (i < n && s[i] == '.') {
        ++i;
        while (i < n && IsDigit(s[i])) {
            ++digits;
            ++i;
        }
    }
    if (digits == 0)
        return Scan::NotNumber;
    if (i < n && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < n && (s[i] == '+' || s[i] == '-'))
            ++i;
        const int expStart = i;
        while (i < n && IsDigit(s[i]))
            ++i;
        if (i == expStart)
            return Scan::NotNumber;
    }
    if (i != n)
        return Scan::NotNumber;
    QString plain = s;
    plain.remove(QLatin1Char(','));
    bool ok = false;
    const double v = plain.toDouble(&ok);
    if (!ok || !std::isfinite(v)) {
        // Well formed, so too large for a double, or too small when the exponent is negative.
        if (plain.contains(QLatin1String("e-"), Qt::CaseInsensitive)) {
            *value = 0.0;
            return Scan::Number;
        }
        *value = plain.startsWith(QLatin1Char('-')) ? -HUGE_VAL : HUGE_VAL;
        return Scan::Overflow;
    }
    *value = v;
    return Scan::Number;
}

} // namespace

bool IsTypedNumber(const QString& text, double* value)
{
    double v = 0;
    if (ScanTyped(text, &v) != Scan::Number)
        return false;
    if (value)
        *value = v;
    return true;
}

Typed ReadNumber(const QString& text, const NumberKind& kind)
{
    if (text.trimmed().isEmpty())
        return {Reading::Empty, 0};
    double v = 0;
    const Scan scan = ScanTyped(text, &v);
    if (scan == Scan::NotNumber)
        return {Reading::NotNumber, 0};
    if (kind.whole)
        v = std::nearbyint(v);   // to nearest, ties to even
    Typed t{Reading::Value, v == 0.0 ? 0.0 : v};   // never "-0"
    if (v < kind.min || v > kind.max) {
        if (!kind.held)
            return {v < kind.min ? Reading::TooSmall : Reading::TooLarge, v};
        t.value = v < kind.min ? kind.min : kind.max;
        t.held = true;
    }
    // Kept to the cent: 1,234.56 reads back as 1,234.56, 20,000,001 would read back as 20,000,000.
    if (kind.single && std::fabs(double(StoredAmount(t.value)) - t.value) >= 0.005)
        t.reading = Reading::Inexact;
    return t;
}

Typed ReadPercent(const QString& text, const NumberKind& kind, const std::function<QString(int)>& label)
{
    QString s = text.trimmed();
    // A label: "Very High (95%)", "No (0%)".
    if (s.endsWith(QLatin1String("%)"))) {
        const int open = int(s.lastIndexOf(QLatin1Char('(')));
        bool ok = false;
        const int n = open > 0 ? s.mid(open + 1, s.size() - open - 3).toInt(&ok) : 0;
        if (ok && label && label(n) == s)
            return {Reading::Value, double(n)};
    }
    if (s.endsWith(QLatin1Char('%')))
        s.chop(1);
    // "%" alone is no number, and refused as the text it was.
    Typed t = ReadNumber(s, kind);
    if (t.reading == Reading::Empty && !text.trimmed().isEmpty())
        t.reading = Reading::NotNumber;
    return t;
}

QString PlainNumber(double v)
{
    if (!std::isfinite(v))
        return QStringLiteral("0");
    if (std::floor(v) == v)
        return FormatWhole(v, true);
    QString digits = QString::number(std::fabs(v), 'f', 2);
    for (int pos = int(digits.indexOf(QLatin1Char('.'))) - 3; pos > 0; pos -= 3)
        digits.insert(pos, QLatin1Char(','));
    return (v < 0 ? QStringLiteral("-") : QString()) + digits;
}

QString RefusalMessage(const QString& what, const QString& text, const Typed& typed, const NumberKind& kind)
{
    const QString unit = kind.unit ? QLatin1Char(' ') + QString::fromLatin1(kind.unit) : QString();
    switch (typed.reading) {
    case Reading::NotNumber: {
        QString expected;
        if (kind.single)
            expected = QStringLiteral("a number of dollars, such as 12,500");
        else
            expected = (kind.whole ? QStringLiteral("a whole number") : QStringLiteral("a number"))
                       + (kind.unit ? QStringLiteral(" of") + unit : QString()) + QStringLiteral(" from ")
                       + PlainNumber(kind.min) + QStringLiteral(" to ") + PlainNumber(kind.max);
        return what + QStringLiteral(" must be ") + expected + QStringLiteral("; \"") + text.trimmed()
               + QStringLiteral("\" is not.");
    }
    case Reading::TooSmall:
        return what + QStringLiteral(" cannot be below ") + PlainNumber(kind.min) + unit + QStringLiteral(".");
    case Reading::TooLarge:
        return what + QStringLiteral(" cannot be more than ") + PlainNumber(kind.max) + unit + QStringLiteral(".");
    case Reading::Inexact: {
        const float kept = StoredAmount(typed.value);
        const float other = std::nextafter(kept, double(kept) < typed.value ? HUGE_VALF : 0.0f);
        return what + QStringLiteral(" of ") + PlainNumber(typed.value)
               + QStringLiteral(" cannot be kept exactly; the nearest amounts that can are ")
               + PlainNumber(std::min(kept, other)) + QStringLiteral(" and ") + PlainNumber(std::max(kept, other))
               + QStringLiteral(".");
    }
    case Reading::Value:
    case Reading::Empty:
        break;
    }
    return QString();
}

bool ReadTypedValue(const QString& text, double min, double max, double* value)
{
    const QString t = text.trimmed();
    double v = 0;
    if (!(t.isEmpty() || t == QLatin1String("-") || t == QLatin1String("+")) &&
        (!IsTypedNumber(t, &v) || v < min || v > max))
        return false;
    *value = v == 0.0 ? 0.0 : v;   // never "-0"
    return true;
}

double LeadingNumber(const QString& text, bool ignoreInnerBlanks)
{
    QString s = text;
    if (ignoreInnerBlanks) {
        s.remove(' ');
        s.remove('\t');
        s.remove('\n');
        s.remove('\r');
    }
    int i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    double v = 0;
    ScanNumber(s, i, false, &v);
    return v;
}

int PercentFromText(const QString& text)
{
    double v = 0;
    if (!IsNumeric(text, &v))
        v = LeadingNumber(text);
    const int n = RoundHalfEven(v);
    return std::clamp(n, -32768, 32767);
}

QString SingleText(float v)
{
    if (!std::isfinite(v))
        return QStringLiteral("0");
    // Large values as whole numbers rather than in exponent form, which an editor would show.
    if (std::fabs(v) >= 1e7f)
        return QString::number(double(v), 'f', 0);
    return QString::number(double(v), 'g', 7);
}

QString FormatWhole(double v, bool withThousands)
{
    if (!std::isfinite(v))
        return QStringLiteral("0");
    const double r = std::round(v);   // halves away from zero, as the number formats do
    QString digits = QString::number(std::fabs(r), 'f', 0);
    if (withThousands) {
        for (int pos = digits.size() - 3; pos > 0; pos -= 3)
            digits.insert(pos, ',');
    }
    return (r < 0 ? QStringLiteral("-") : QString()) + digits;
}

} // namespace model::textnum
