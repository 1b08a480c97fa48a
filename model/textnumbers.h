#pragma once

#include <QString>

// Reading numbers out of typed text and writing them for the grids, the way users of the
// program's fields expect: "1,500" is a number, "30 %" starts with one, halves go to even.
namespace model::textnum {

// Whole number nearest to v, a half to the even neighbour, clamped to the 32-bit range.
int RoundHalfEven(double v);

// True when the whole text (blanks around it allowed) is one number as users type it and
// the display formats write it: a sign, a leading dollar sign (before or after the sign),
// digits with optional thousands separators, decimals, exponent.
bool IsNumeric(const QString& text, double* value = nullptr);

// A typed number that is tested as numeric: its value, or 0 for a text that fails the test
// (the empty text included). No message is ever shown.
double NumericOrZero(const QString& text);

// True when the whole text (blanks around it allowed) is one finite number as a person types
// it into a value cell: sign, a dollar sign, digits, thousands separators only between groups
// of three ("$1,000" and "12,500.5", never "1,2,3"), decimals, exponent. Stricter than IsNumeric, so a
// typed value that is stored and the totals that show it read the same number.
bool IsTypedNumber(const QString& text, double* value = nullptr);

// A value cell's typed text as a number from min to max: an empty text, or a lone sign that
// the user is about to follow with digits, is 0; false (value untouched) for any text that is
// no typed number in that range.
bool ReadTypedValue(const QString& text, double min, double max, double* value);

// The number at the start of the text: leading blanks skipped (all blanks, tabs and line
// feeds when ignoreInnerBlanks), reading stops at the first character that cannot continue
// a number; no number gives 0.
double LeadingNumber(const QString& text, bool ignoreInnerBlanks = false);
// The plain reading of a typed number ("30 acres" is 30, "1,500" is 1, "abc" is 0).
inline double Val(const QString& text) { return LeadingNumber(text); }

// A label's percent: numeric text converted, else the leading number; clamped to the range
// of the 16-bit column that stores it.
int PercentFromText(const QString& text);

// A single-precision value as plain text for a cell: at most 7 significant digits, the
// digits a Single holds, so 0.1f reads "0.1" and not "0.100000001490116".
QString SingleText(float v);

// "#,0" (withThousands) or "0": the value rounded to a whole number, halves away from zero.
QString FormatWhole(double v, bool withThousands);

} // namespace model::textnum
