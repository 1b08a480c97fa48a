#pragma once

#include <QString>

namespace core {

// Rounds to `digits` digits counted from the smallest power of ten that is at least 1 and at
// least |value|; ties go to the even neighbour, the sign is kept. Values below 1 thereby round
// to `digits` decimal places. NaN and infinities come back unchanged.
double RoundSignificant(double value, int digits);

// Whole number nearest to v, a half to the even neighbour, clamped to the 32-bit range; 0 for NaN.
int RoundHalfEven(double v);

// "Do you really want to delete " + what; Yes/No, No the default. True only on Yes.
bool ConfirmDelete(const QString& what);

// The label of the alternative at a position from 1: "A" to "Z", then "AA", "AB" ... "ZZ",
// "AAA": labels stay letters however many alternatives there are. "" below 1.
QString AlternativeLetters(int position);
// The position of such a label ("A" 1, "Z" 26, "AA" 27), letters of either case; 0 for a
// text that is not letters A to Z only.
int AlternativePosition(const QString& letters);

} // namespace core
