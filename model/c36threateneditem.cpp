#include "model/c36threateneditem.h"

#include "core/u19rowdata.h"
#include "core/u92utilities.h"
#include "model/c66itemimpact.h"
#include "model/modeldata.h"
#include "model/textnumbers.h"

#include <algorithm>
#include <array>
#include <bit>

namespace model {

namespace {

struct ProbabilityLabel {
    int probability;
    const char* label;
};

constexpr std::array<ProbabilityLabel, 5> kLabels{{
    {5, "Very Low (5%)"},
    {25, "Low (25%)"},
    {50, "Medium (50%)"},
    {75, "High (75%)"},
    {95, "Very High (95%)"},
}};

} // namespace

QString c36ThreatenedItem::LabelForProbability(int probability)
{
    if (probability == 0)
        return QString();
    for (const auto& l : kLabels)
        if (l.probability == probability)
            return QString::fromLatin1(l.label);
    return QString::number(probability);
}

int c36ThreatenedItem::ProbabilityFromLabel(const QString& text)
{
    if (textnum::IsNumeric(text))
        return textnum::PercentFromText(text);
    for (const auto& l : kLabels)
        if (text == QLatin1String(l.label))
            return l.probability;
    return textnum::PercentFromText(text);
}

void c36ThreatenedItem::SetItemName(const QString& value) { mItemName = value; mChanged = true; }
void c36ThreatenedItem::SetNotes(const QString& value) { mNotes = value; mChanged = true; }

double c36ThreatenedItem::PotentialLoss()
{
    if (mPotentialLoss < 0)
        mPotentialLoss = 0;
    return mPotentialLoss;
}

void c36ThreatenedItem::SetPotentialLoss(double value)
{
    // The shown (rounded) amount written back unchanged is no new amount.
    if (mLossSet || value != mPotentialLoss) {
        mPotentialLoss = value;
        mLossSet = true;
    }
    mChanged = true;
}

QString c36ThreatenedItem::ProbabilityLabel() const { return LabelForProbability(mProbability); }

void c36ThreatenedItem::SetProbabilityLabel(const QString& text)
{
    // A chance is a percentage: 150 typed means certain, -5 means none; beyond that a value at
    // risk would exceed its loss or turn negative and carry the total with it.
    mProbability = std::clamp(ProbabilityFromLabel(text), 0, 100);
    mChanged = true;
}

double c36ThreatenedItem::roundValueAtRisk(double loss) const
{
    mRoundedFor = {loss, mProbability, core::RoundSignificant(double(mProbability) * loss / 100.0, 2)};
    return mRoundedFor.value;
}

double c36ThreatenedItem::ProtectedValueAt(int level) const
{
    const double valueAtRisk = ValueAtRisk();
    const quint64 bits = std::bit_cast<quint64>(valueAtRisk);
    Protected& slot = mProtectedAt[size_t(unsigned(level) % mProtectedAt.size())];
    if (slot.level != level || slot.valueAtRisk != bits)
        slot = {bits, level, c66ItemImpact::ProtectedValueAt(valueAtRisk, level)};
    return slot.value;
}

void c36ThreatenedItem::Initialize(int key, const QString& name)
{
    QString notes;
    {
        auto rs = Db().OpenTable(QStringLiteral("Items"));
        rs->Seek(key);
        notes = core::GetFieldText(*rs, QStringLiteral("ItemText"));
        rs->Close();
    }
    auto rs = Db().OpenTable(QStringLiteral("ValuesAtRisk"));
    rs->Seek(key);
    const bool hasRow = !rs->NoMatch();
    const double loss = core::GetFieldSingle(*rs, QStringLiteral("PotentialLoss"));
    const int probability = core::GetFieldLong(*rs, QStringLiteral("Probability"));
    rs->Close();
    InitializeWith(key, name, notes, hasRow, loss, probability);
}

void c36ThreatenedItem::InitializeWith(int key, const QString& name, const QString& notes, bool hasRow,
                                       double storedLoss, int probability)
{
    mItemKey = key;
    mItemName = name;
    mNotes = notes;
    if (hasRow) {
        mStoredLoss = storedLoss;
        mPotentialLoss = core::RoundSignificant(storedLoss, 3);
        mProbability = probability;
    } else {
        mStoredLoss = 0;
        mPotentialLoss = 0;
        mProbability = 50;
    }
    mLossSet = false;
    mChanged = false;
}

void c36ThreatenedItem::SaveChanges()
{
    if (!mChanged)
        return;
    // The shown amount is rounded; the stored one is kept unless the user typed a new one.
    const double loss = std::max(mLossSet ? mPotentialLoss : mStoredLoss, 0.0);
    dao::RowSave save(Db());
    save.Write(QStringLiteral("Items"), {mItemKey},
               {{QStringLiteral("ItemName"), mItemName}, {QStringLiteral("ItemText"), mNotes}}, dao::IfMissing::Report);
    save.Write(QStringLiteral("ValuesAtRisk"), {mItemKey},
               {{QStringLiteral("PotentialLoss"), float(loss)},
                {QStringLiteral("Probability"), std::clamp(mProbability, -32768, 32767)}},
               dao::IfMissing::Add);
    save.Commit(mChanged);
    // Should a larger save roll this one back, the next one writes this amount again.
    mStoredLoss = float(loss);
    mLossSet = false;
}

} // namespace model
