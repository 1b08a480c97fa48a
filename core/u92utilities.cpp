#include "core/u92utilities.h"

#include "platform/ui/prompter.h"

#include <bit>
#include <cmath>
#include <iterator>
#include <limits>

namespace core {

namespace {
// Every power of ten up to 1e22 is exact in a double; computing them with pow() for each of the
// thousands of figures a comparison rounds was a noticeable part of its time.
constexpr double kExactPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                   1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
constexpr int kLastExact = int(std::size(kExactPowers)) - 1;

// Apart and cold: otherwise the rare call made every rounding save and restore its registers.
[[gnu::noinline, gnu::cold]] double InexactPowerOfTen(int n)
{
    return std::pow(10.0, n);
}

double PowerOfTen(int n)
{
    return n <= kLastExact ? kExactPowers[n] : InexactPowerOfTen(n);
}
} // namespace

double RoundSignificant(double value, int digits)
{
    const double v = std::fabs(value);
    // NaN (which fails every comparison), infinities and zeros come back as they are.
    if (!(v > 0.0 && v <= std::numeric_limits<double>::max()) || digits > 17)
        return value;

    // e: exponent of the smallest power of ten that is at least 1 and at least v.
    // Found from the exact power just at or below v's power of two (its exponent times
    // log10(2), rounded down: 1233 / 4096 is a little below it). v is below twice that power of
    // two, so e is that exponent or one of the next two: counted by two comparisons rather than
    // by a loop, whose number of rounds the processor could not foresee. Beyond the exact
    // powers, counted up as before.
    const int binary = int((std::bit_cast<quint64>(v) >> 52) & 0x7ff) - 1023;   // v is finite
    int e = binary > 0 ? (binary * 1233) >> 12 : 0;
    if (e < kLastExact) {
        e += int(kExactPowers[e] < v) + int(kExactPowers[e + 1] < v);
    } else {
        e = kLastExact;
        for (double p = kExactPowers[e]; p < v; p *= 10.0)
            ++e;
    }

    // Scale by exact powers of ten rather than by a fractional unit, so that a value which is
    // a decimal tie (0.125, 1250) is seen as one.
    const int shift = digits - e;
    const double scale = PowerOfTen(shift >= 0 ? shift : -shift);
    const double scaled = shift >= 0 ? v * scale : v / scale;
    const double n = NearestWhole(scaled);
    const double result = shift >= 0 ? n / scale : n * scale;
    return std::copysign(result, value);
}

bool ConfirmDelete(const QString& what)
{
    return ui::MsgBox(QStringLiteral("Do you really want to delete ") + what, ui::Buttons::YesNo,
                      ui::Icon::Critical, ui::Answer::No, QStringLiteral("Delete"))
           == ui::Answer::Yes;
}

QString AlternativeLetters(int position)
{
    QString name;
    for (int n = position; n > 0; n = (n - 1) / 26)
        name.prepend(QChar(u'A' + (n - 1) % 26));
    return name;
}

int AlternativePosition(const QString& letters)
{
    if (letters.isEmpty() || letters.size() > 6)
        return 0;
    int position = 0;
    for (const QChar ch : letters) {
        const char16_t c = ch.toUpper().unicode();
        if (c < u'A' || c > u'Z')
            return 0;
        position = position * 26 + (c - u'A' + 1);
    }
    return position;
}

} // namespace core
