#include "core/u92utilities.h"

#include "platform/ui/prompter.h"

#include <cfenv>
#include <cmath>

namespace core {

double RoundSignificant(double value, int digits)
{
    if (!std::isfinite(value) || value == 0.0 || digits > 17)
        return value;
    const bool negative = value < 0;
    const double v = negative ? -value : value;

    // e: exponent of the smallest power of ten that is at least 1 and at least v.
    int e = 0;
    for (double p = 1.0; p < v; p *= 10.0)
        ++e;

    // Scale by exact powers of ten rather than by a fractional unit, so that a value which is
    // a decimal tie (0.125, 1250) is seen as one.
    const int shift = digits - e;
    const double scaled = shift >= 0 ? v * std::pow(10.0, shift) : v / std::pow(10.0, -shift);
    const int mode = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double n = std::nearbyint(scaled);   // half to even
    std::fesetround(mode);
    const double result = shift >= 0 ? n / std::pow(10.0, shift) : n * std::pow(10.0, -shift);
    return negative ? -result : result;
}

bool ConfirmDelete(const QString& what)
{
    return ui::MsgBox(QStringLiteral("Do you really want to delete ") + what, ui::Buttons::YesNo,
                      ui::Icon::Critical, ui::Answer::No, QStringLiteral("Delete"))
           == ui::Answer::Yes;
}

} // namespace core
