#pragma once

#include <QString>

namespace core {

// Rounds to `digits` digits counted from the smallest power of ten that is at least 1 and at
// least |value|; ties go to the even neighbour, the sign is kept. Values below 1 thereby round
// to `digits` decimal places. NaN and infinities come back unchanged.
double RoundSignificant(double value, int digits);

// "Do you really want to delete " + what; Yes/No, No the default. True only on Yes.
bool ConfirmDelete(const QString& what);

} // namespace core
