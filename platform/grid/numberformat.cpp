#include "platform/grid/numberformat.h"

#include <QApplication>
#include <QPalette>

#include <cmath>

namespace grid {

namespace {

bool IsPictureChar(QChar c) { return c == '#' || c == '0' || c == ',' || c == '.'; }

QString GroupThousands(const QString& digits)
{
    QString out;
    const int n = int(digits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

} // namespace

QString FormatNumber(double value, const QString& format)
{
    if (std::isnan(value) || std::isinf(value))
        return QString();
    if (format.isEmpty())
        return QString::number(value, 'g', 15);

    QString picture = format.compare("fixed", Qt::CaseInsensitive) == 0 ? QStringLiteral("0.00") : format;
    int start = 0;
    while (start < picture.size() && !IsPictureChar(picture[start]))
        ++start;
    int end = int(picture.size());
    while (end > start && !IsPictureChar(picture[end - 1]))
        --end;
    const QString prefix = picture.left(start);
    const QString suffix = picture.mid(end);
    const QString body = picture.mid(start, end - start);

    const int dot = int(body.indexOf('.'));
    const QString intPart = dot < 0 ? body : body.left(dot);
    const QString decPart = dot < 0 ? QString() : body.mid(dot + 1);
    const bool grouping = intPart.contains(',');
    const int minIntDigits = int(intPart.count('0'));
    const int decimals = int(decPart.count('0') + decPart.count('#'));

    const double scale = std::pow(10.0, decimals);
    const double scaled = std::round(std::fabs(value) * scale);   // halves away from zero
    if (scaled >= 9.0e18)
        return QString::number(value, 'g', 15);
    const qint64 whole = qint64(scaled);
    const qint64 unit = qint64(scale);
    const qint64 intValue = whole / unit;
    const qint64 fracValue = whole % unit;

    QString digits = intValue == 0 ? QString() : QString::number(intValue);
    while (digits.size() < minIntDigits)
        digits.prepend('0');
    if (grouping)
        digits = GroupThousands(digits);

    QString text = digits;
    if (decimals > 0)
        text += '.' + QString::number(fracValue).rightJustified(decimals, '0');
    const bool negative = value < 0 && whole != 0;
    return (negative ? QStringLiteral("-") : QString()) + prefix + text + suffix;
}

double NumericValue(const QString& text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text)
        if (c != ' ' && c != '$' && c != ',' && c != '\t')
            s += c;
    int i = 0;
    QString number;
    if (i < s.size() && (s[i] == '-' || s[i] == '+'))
        number += s[i++];
    bool any = false;
    while (i < s.size() && s[i].isDigit()) {
        number += s[i++];
        any = true;
    }
    if (i < s.size() && s[i] == '.') {
        number += s[i++];
        while (i < s.size() && s[i].isDigit()) {
            number += s[i++];
            any = true;
        }
    }
    if (!any)
        return 0.0;
    if (i + 1 < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        int j = i + 1;
        QString exp = QStringLiteral("e");
        if (j < s.size() && (s[j] == '-' || s[j] == '+'))
            exp += s[j++];
        const int digitsStart = j;
        while (j < s.size() && s[j].isDigit())
            exp += s[j++];
        if (j > digitsStart)
            number += exp;
    }
    bool ok = false;
    const double v = number.toDouble(&ok);
    return ok && std::isfinite(v) ? v : 0.0;
}

bool IsNumericText(const QString& text)
{
    QString s = text.trimmed();
    if (s.isEmpty())
        return false;
    int i = 0;
    if (s[i] == '-' || s[i] == '+')
        ++i;
    if (i < s.size() && s[i] == '$')
        ++i;
    bool any = false;
    bool dot = false;
    for (; i < s.size(); ++i) {
        const QChar c = s[i];
        if (c.isDigit())
            any = true;
        else if (c == ',' && any && !dot)
            continue;
        else if (c == '.' && !dot)
            dot = true;
        else
            return false;
    }
    return any;
}

QColor VbColor(quint32 value)
{
    if (value & 0x80000000u) {
        const QPalette palette = QApplication::palette();
        switch (value & 0xFF) {
        case 0x05: return palette.color(QPalette::Base);          // window background
        case 0x08: return palette.color(QPalette::Text);          // window text
        case 0x0D: return palette.color(QPalette::Highlight);
        case 0x0E: return palette.color(QPalette::HighlightedText);
        case 0x12: return palette.color(QPalette::ButtonText);
        default: return palette.color(QPalette::Button);          // 0x0F button face and the rest
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

} // namespace grid
