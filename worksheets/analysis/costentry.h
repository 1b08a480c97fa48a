#pragma once

#include <QString>

// Reading the dollar amounts and counts typed on the cost worksheet and its dialogs. Each
// reading either gives a value the outcome can keep exactly as typed, or says why not, so
// the caller can refuse it with a clear message and keep what was there before.
namespace worksheets::costentry {

enum class Reading {
    Value,       // a number the field can hold
    Empty,       // nothing typed: 0
    NotNumber,   // no number, or more than one ("12a", "1,2,3")
    Negative,
    TooLarge,
    Inexact      // the field would keep a different amount (a Single holds 7 digits)
};

struct Typed {
    Reading reading = Reading::Empty;
    double value = 0;   // the number typed (0 when empty or not a number)
    bool ok() const { return reading == Reading::Value || reading == Reading::Empty; }
};

// Largest dollar amount the cost fields take; a Currency column holds far more.
inline constexpr double kMaxAmount = 999999999999.0;
// Largest quantity or number of periods: what the four-character cells hold.
inline constexpr int kMaxCount = 9999;

// A dollar amount (an entered cost, a daily rate), kept as a Single: from 0 to kMaxAmount and
// read back to the cent as typed.
Typed ReadAmount(const QString& text);
// The amount as it would be kept (to the cent), for the message on an inexact amount.
float StoredAmount(double value);
// The message that refuses a typed amount; what names the field ("The daily rate").
QString AmountMessage(const QString& what, const QString& text, const Typed& typed);

// A whole count (a quantity, a number of periods) from 0 to kMaxCount; a fraction goes to
// the nearest whole number, a half to the even one.
Typed ReadCount(const QString& text);
QString CountMessage(const QString& what, const QString& text);

} // namespace worksheets::costentry
