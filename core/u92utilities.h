#pragma once

#include <QString>

#include <cmath>
#include <limits>

namespace core {

// The whole number nearest to x, a half to the even neighbour, the sign kept (-0.3 gives -0);
// NaN and infinities come back unchanged. The same as std::nearbyint in the default rounding
// mode, which the program never leaves, without a library call: glibc's saves and restores the
// floating-point environment, which cost more than the rounding in the comparison figures.
inline double NearestWhole(double x)
{
    // From 2^52 up every double is whole. Below it, adding 2^52 leaves no room for a fraction,
    // so the sum is rounded to the nearest whole number, a tie to the even one (2^52 is even).
    constexpr double kNoFraction = 4503599627370496.0;
    const double magnitude = std::fabs(x);
    if (!(magnitude < kNoFraction))
        return x;
    return std::copysign((magnitude + kNoFraction) - kNoFraction, x);
}

// Rounds to `digits` digits counted from the smallest power of ten that is at least 1 and at
// least |value|; ties go to the even neighbour, the sign is kept. Values below 1 thereby round
// to `digits` decimal places. NaN and infinities come back unchanged.
double RoundSignificant(double value, int digits);

// Whole number nearest to v, a half to the even neighbour, clamped to the 32-bit range; 0 for NaN.
// Inline: the burn areas and the protection levels of a comparison ask for it tens of
// thousands of times, and the call cost more than the rounding.
inline int RoundHalfEven(double v)
{
    if (std::isnan(v))
        return 0;
    const double r = NearestWhole(v);
    if (r >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(r);
}

// "Do you really want to delete " + what; Yes/No, No the default. True only on Yes.
bool ConfirmDelete(const QString& what);

// The label of the alternative at a position from 1: "A" to "Z", then "AA", "AB" ... "ZZ",
// "AAA": labels stay letters however many alternatives there are. "" below 1.
QString AlternativeLetters(int position);
// The position of such a label ("A" 1, "Z" 26, "AA" 27), letters of either case; 0 for a
// text that is not letters A to Z only.
int AlternativePosition(const QString& letters);

} // namespace core
