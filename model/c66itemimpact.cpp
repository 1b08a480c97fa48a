#include "model/c66itemimpact.h"

#include "core/u19rowdata.h"
#include "core/u92utilities.h"
#include "model/g36threateneditems.h"
#include "model/modeldata.h"
#include "model/textnumbers.h"

#include <algorithm>
#include <array>

namespace model {

namespace {

struct ProtectionLabel {
    int level;
    const char* label;
};

// In the order a typed text is compared with them.
constexpr std::array<ProtectionLabel, 5> kLabels{{
    {100, "Yes (100%)"},
    {75, "Mostly (75%)"},
    {50, "Partly (50%)"},
    {25, "Slightly (25%)"},
    {0, "No (0%)"},
}};

} // namespace

QString c66ItemImpact::LabelForLevel(int level)
{
    for (const auto& l : kLabels)
        if (l.level == level)
            return QString::fromLatin1(l.label);
    return QString::number(level);
}

int c66ItemImpact::LevelFromLabel(const QString& text)
{
    if (textnum::IsNumeric(text))
        return textnum::PercentFromText(text);
    for (const auto& l : kLabels)
        if (text == QLatin1String(l.label))
            return l.level;
    return textnum::PercentFromText(text);
}

double c66ItemImpact::ValueAtRiskOf(int itemKey)
{
    const c36ThreatenedItem* item = GetThreatenedItems().FindRaw(itemKey);
    return item ? item->ValueAtRisk() : 0.0;
}

double c66ItemImpact::AmountWithin(double held, double valueAtRisk)
{
    if (held > valueAtRisk)
        return textnum::RoundToCurrency(valueAtRisk);
    if (held < 0)
        return 0;
    return held;
}

double c66ItemImpact::Amount() const { return AmountWithin(mAmount, ValueAtRiskOfItem()); }

void c66ItemImpact::SetAmount(double value)
{
    mAmount = textnum::RoundToCurrency(value);
    mChanged = true;
}

void c66ItemImpact::SetbProtected(bool value)
{
    mProtectionLevel = value ? 100 : 0;
    mChanged = true;
}

QString c66ItemImpact::ProtectionLabel() const { return LabelForLevel(mProtectionLevel); }

void c66ItemImpact::SetProtectionLabel(const QString& text)
{
    mProtectionLevel = LevelFromLabel(text);
    mChanged = true;
}

void c66ItemImpact::SetNotes(const QString& text)
{
    mNotes = text;
    mNotesRead = true;
    mChanged = true;
}

double c66ItemImpact::ProtectedValueAt(double valueAtRisk, int level)
{
    return core::RoundSignificant(valueAtRisk * double(level) / 100.0, 3);
}

double c66ItemImpact::ProtectedValue() const { return ProtectedValueAt(ValueAtRiskOfItem(), mProtectionLevel); }

void c66ItemImpact::Initialize(int outcomeKey, int itemKey)
{
    auto rs = Db().OpenTable(QStringLiteral("ValuesProtected"));
    rs->Seek(outcomeKey, itemKey);
    const float stored = core::GetFieldSingle(*rs, QStringLiteral("Protection"));
    const QString notes = core::GetFieldText(*rs, QStringLiteral("Description"));
    rs->Close();
    InitializeWith(outcomeKey, itemKey, textnum::RoundHalfEven(stored));
    mNotes = notes;
    mNotesRead = true;
}

void c66ItemImpact::InitializeWith(int outcomeKey, int itemKey, int storedLevel)
{
    mOutcomeKey = outcomeKey;
    mItemKey = itemKey;
    mProtectionLevel = storedLevel;
    mAmount = 0;
    mNotes.clear();
    mNotesRead = false;
    mChanged = false;
}

void c66ItemImpact::SaveChanges()
{
    dao::FieldValues fields{{QStringLiteral("Protection"), std::clamp(mProtectionLevel, -32768, 32767)}};
    if (mNotesRead)
        fields.append({QStringLiteral("Description"), mNotes});
    dao::SaveRow(Db(), QStringLiteral("ValuesProtected"), {mOutcomeKey, mItemKey}, fields, dao::IfMissing::Add,
                 mChanged);
}

} // namespace model
