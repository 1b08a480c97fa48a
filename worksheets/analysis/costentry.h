#pragma once

#include "model/textnumbers.h"

#include <QString>

// Reading the dollar amounts and counts typed on the cost worksheet and its dialogs. Each
// reading either gives a value the outcome can keep exactly as typed, or says why not, so
// the caller can refuse it with a clear message and keep what was there before.
namespace worksheets::costentry {

using model::textnum::Reading;
using model::textnum::StoredAmount;
using model::textnum::Typed;

using model::textnum::kMaxAmount;
// Largest quantity or number of periods: what the four-character cells hold.
inline constexpr int kMaxCount = 9999;

inline constexpr model::textnum::NumberKind kAmount = model::textnum::kAmountKind;
// A whole count (a quantity, a number of periods) from 0 to kMaxCount; a fraction goes to
// the nearest whole number, a half to the even one.
inline constexpr model::textnum::NumberKind kCount{.min = 0, .max = kMaxCount, .whole = true};

inline Typed ReadAmount(const QString& text) { return model::textnum::ReadNumber(text, kAmount); }
// The message that refuses a typed amount; what names the field ("The daily rate").
inline QString AmountMessage(const QString& what, const QString& text, const Typed& typed)
{
    return model::textnum::RefusalMessage(what, text, typed, kAmount);
}

inline Typed ReadCount(const QString& text) { return model::textnum::ReadNumber(text, kCount); }
inline QString CountMessage(const QString& what, const QString& text)
{
    return model::textnum::RefusalMessage(what, text, {Reading::NotNumber, 0}, kCount);
}

} // namespace worksheets::costentry
