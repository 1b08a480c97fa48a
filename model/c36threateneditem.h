#pragma once

#include "platform/dao/rowsave.h"

#include <QString>

#include <algorithm>
#include <array>

namespace model {

// One value at risk: its Items row (name, notes) and its ValuesAtRisk row (loss, probability).
class c36ThreatenedItem {
public:
    int ItemKey() const { return mItemKey; }
    QString ItemName() const { return mItemName; }
    void SetItemName(const QString& value);
    // The potential loss as shown: 3 significant digits of the stored amount, never negative.
    double PotentialLoss();
    void SetPotentialLoss(double value);
    // "Very Low (5%)" ... "Very High (95%)", "" for 0, else the number in digits.
    QString ProbabilityLabel() const;
    // A number, an exact label, or a text that begins with the number; kept within 0 to 100.
    void SetProbabilityLabel(const QString& text);
    int Probability() const { return mProbability; }
    // Probability times potential loss, 2 significant digits.
    // Inline: every outcome's impacts ask for it again, and it is rounded once for the same
    // inputs.
    double ValueAtRisk() const
    {
        // From the amount the user sees, so the screen and the report agree with each other; the
        // stored amount stays as typed. A negative one counts as no loss.
        const double loss = std::max(mPotentialLoss, 0.0);
        if (loss == mRoundedFor.loss && mProbability == mRoundedFor.probability)
            return mRoundedFor.value;
        return roundValueAtRisk(loss);
    }
    // ValueAtRisk() protected at a level in percent, as an item impact works it out.
    double ProtectedValueAt(int level) const;
    QString Notes() const { return mNotes; }
    void SetNotes(const QString& value);

    void Initialize(int key, const QString& name);
    // Initialize with the rows already read (hasRow false: no ValuesAtRisk row).
    void InitializeWith(int key, const QString& name, const QString& notes, bool hasRow, double storedLoss,
                        int probability);
    void SaveChanges();
    bool IsDirty() const { return mChanged; }

    static QString LabelForProbability(int probability);
    static int ProbabilityFromLabel(const QString& text);

private:
    double roundValueAtRisk(double loss) const;

    int mItemKey = 0;
    QString mItemName;
    double mPotentialLoss = 0;   // as shown and computed with
    double mStoredLoss = 0;      // as read, written back unless the user set a new amount
    bool mLossSet = false;
    int mProbability = 50;
    struct Rounded {
        double loss = -1;   // no loss is below 0: the first call always computes
        int probability = 0;
        double value = 0;
    };
    mutable Rounded mRoundedFor;
    // Every outcome asks for the protected value at one of a handful of levels (0, 25, 50, 75,
    // 100 and a few typed ones), each rounded with a division or two: a level's is kept in the
    // slot of its low bits, with the value at risk it was worked from.
    struct Protected {
        quint64 valueAtRisk = 0;   // bits of the value at risk: -0 is not +0 here
        int level = -1;            // no level is below 0: an empty slot never matches
        double value = 0;
    };
    mutable std::array<Protected, 8> mProtectedAt;
    QString mNotes;
    dao::ChangeFlag mChanged;
};

} // namespace model
