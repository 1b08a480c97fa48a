#pragma once

#include "core/u92utilities.h"

#include <QString>

#include <cmath>
#include <functional>

// Reading numbers out of typed text and writing them for the grids, the way users of the
// program's fields expect: "1,500" is a number, "30 %" starts with one, halves go to even.
namespace model::textnum {

// Whole number nearest to v, a half to the even neighbour, clamped to the 32-bit range.
using core::RoundHalfEven;
// v as a Currency field keeps it: to 1/10,000, a half to the even neighbour.
// Inline: a total over the values at risk rounds at every step, for every outcome.
inline double RoundToCurrency(double v)
{
    // A whole amount, as most are, is its own result: below 9e11 it times 10,000 is exact. Not
    // dividing keeps a running total that rounds at every step from waiting on a division each.
    if (std::fabs(v) <= 9e11 && core::NearestWhole(v) == v)
        return v;
    return core::NearestWhole(v * 10000.0) / 10000.0;
}

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

// What a box or grid cell that takes a number holds. Every such box and cell, typed into or
// pasted into, is read by this one rule (ReadNumber): only the ASCII digits are digits, the
// whole text must be one number, and a text that is none is refused with a message while the
// value from before stays.
struct NumberKind {
    double min = 0;
    double max = 0;
    bool whole = false;         // a fraction goes to the nearest whole number, a half to the even one
    bool held = false;          // a number beyond min or max is taken as that end (and shown so)
    bool single = false;        // kept as a Single: an amount that would not read back to the cent is refused
    const char* unit = nullptr; // "dollars", "days": named in the message
};

// Largest dollar amount a field kept as a Single takes; a Currency column holds far more.
inline constexpr double kMaxAmount = 999999999999.0;
// A dollar amount (a loss, an entered cost, a daily rate), kept as a Single: from 0 to
// kMaxAmount and read back to the cent as typed.
inline constexpr NumberKind kAmountKind{.min = 0, .max = kMaxAmount, .single = true, .unit = "dollars"};

enum class Reading {
    Value,       // a number the box holds
    Empty,       // nothing typed: 0
    NotNumber,   // no number, or more than one ("12a", "1,2,3", "0x10")
    TooSmall,
    TooLarge,
    Inexact      // the field would keep a different amount (a Single holds 7 digits)
};

struct Typed {
    Reading reading = Reading::Empty;
    double value = 0;     // the number taken (0 when empty or not a number), held to the range
    bool held = false;    // the number typed lay beyond the range and was taken as its end
    bool ok() const { return reading == Reading::Value || reading == Reading::Empty; }
};

// The text as a number of that kind.
Typed ReadNumber(const QString& text, const NumberKind& kind);
// A percent as the labelled boxes take it: a number, a number followed by "%", or one of the
// field's labels, which end in their percent in brackets ("Very High (95%)"); label(n) is the
// field's label for n.
Typed ReadPercent(const QString& text, const NumberKind& kind, const std::function<QString(int)>& label);
// The amount as a Single keeps it.
inline float StoredAmount(double value) { return float(value); }
// Why a text was refused, naming the field (what: "The daily cost"); "" for a text that is taken.
QString RefusalMessage(const QString& what, const QString& text, const Typed& typed, const NumberKind& kind);
// The value as a message writes it: "#,0", or "#,0.00" for a fraction.
QString PlainNumber(double v);

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
