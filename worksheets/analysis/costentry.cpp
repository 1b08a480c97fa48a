#include "worksheets/analysis/costentry.h"

#include "model/textnumbers.h"
#include "platform/grid/numberformat.h"

#include <cmath>

namespace worksheets::costentry {

namespace {

Typed Read(const QString& text, double max)
{
    if (text.trimmed().isEmpty())
        return {Reading::Empty, 0};
    double v = 0;
    if (!model::textnum::IsTypedNumber(text, &v) || !std::isfinite(v))
        return {Reading::NotNumber, 0};
    if (v < 0)
        return {Reading::Negative, v};
    if (v > max)
        return {Reading::TooLarge, v};
    return {Reading::Value, v};
}

QString Plain(double v)
{
    return grid::FormatNumber(v, std::floor(v) == v ? QStringLiteral("#,0") : QStringLiteral("#,0.00"));
}

} // namespace

float StoredAmount(double value) { return float(value); }

Typed ReadAmount(const QString& text)
{
    Typed t = Read(text, kMaxAmount);
    // Kept to the cent: 1,234.56 reads back as 1,234.56, 20,000,001 would read back as
    // 20,000,000.
    if (t.reading == Reading::Value && std::fabs(double(StoredAmount(t.value)) - t.value) >= 0.005)
        t.reading = Reading::Inexact;
    return t;
}

QString AmountMessage(const QString& what, const QString& text, const Typed& typed)
{
    const QString shown = text.trimmed();
    switch (typed.reading) {
    case Reading::NotNumber:
        return what + QStringLiteral(" must be a number of dollars, such as 12,500; \"") + shown
               + QStringLiteral("\" is not.");
    case Reading::Negative:
        return what + QStringLiteral(" cannot be below 0.");
    case Reading::TooLarge:
        return what + QStringLiteral(" cannot be more than ") + Plain(kMaxAmount) + QStringLiteral(" dollars.");
    case Reading::Inexact: {
        const float kept = StoredAmount(typed.value);
        const float other = std::nextafter(kept, double(kept) < typed.value ? HUGE_VALF : 0.0f);
        const float lo = std::min(kept, other);
        const float hi = std::max(kept, other);
        return what + QStringLiteral(" of ") + Plain(typed.value)
               + QStringLiteral(" cannot be kept exactly; the nearest amounts that can are ") + Plain(lo)
               + QStringLiteral(" and ") + Plain(hi) + QStringLiteral(".");
    }
    case Reading::Value:
    case Reading::Empty:
        break;
    }
    return QString();
}

Typed ReadCount(const QString& text)
{
    Typed t = Read(text, double(kMaxCount) + 0.5);
    if (t.reading == Reading::Value) {
        t.value = model::textnum::RoundHalfEven(t.value);
        if (t.value > kMaxCount)
            t.reading = Reading::TooLarge;
    }
    return t;
}

QString CountMessage(const QString& what, const QString& text)
{
    return what + QStringLiteral(" must be a whole number from 0 to ") + Plain(kMaxCount) + QStringLiteral("; \"")
           + text.trimmed() + QStringLiteral("\" is not.");
}

} // namespace worksheets::costentry
