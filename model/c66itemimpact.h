#pragma once

#include "platform/dao/rowsave.h"

#include <QString>

namespace model {

// How far one outcome protects one value at risk (table ValuesProtected).
class c66ItemImpact {
public:
    // The held loss, kept within 0 and the value at risk.
    double Amount() const;
    void SetAmount(double value);
    bool bProtected() const { return mProtectionLevel == 100; }
    void SetbProtected(bool value);
    // "No (0%)" ... "Yes (100%)", else the level in digits.
    QString ProtectionLabel() const;
    void SetProtectionLabel(const QString& text);
    int ProtectionLevel() const { return mProtectionLevel; }
    // Value at risk times the level, 3 significant digits.
    double ProtectedValue() const;
    // The user's note on the level (the row's Description); read by Initialize only.
    QString Notes() const { return mNotes; }
    void SetNotes(const QString& text);

    void Initialize(int outcomeKey, int itemKey);
    // Same as Initialize with the stored level already read (0 when there is no row).
    void InitializeWith(int outcomeKey, int itemKey, int storedLevel);
    void SaveChanges();
    bool IsDirty() const { return mChanged; }
    int OutcomeKey() const { return mOutcomeKey; }
    int ItemKey() const { return mItemKey; }

    static QString LabelForLevel(int level);
    static int LevelFromLabel(const QString& text);

    // What Amount() and ProtectedValue() work from and give, for lists that keep only the
    // stored level of most impacts: the value at risk of an item (0 when it is not listed), the
    // held loss kept within it, and the value at risk protected at a level.
    static double ValueAtRiskOf(int itemKey);
    static double AmountWithin(double held, double valueAtRisk);
    static double ProtectedValueAt(double valueAtRisk, int level);

private:
    double ValueAtRiskOfItem() const { return ValueAtRiskOf(mItemKey); }

    int mOutcomeKey = 0;
    int mItemKey = 0;
    double mAmount = 0;
    int mProtectionLevel = 0;
    QString mNotes;
    // Whether mNotes holds the row's note: only then may a save write it, so an impact built
    // from the level alone never blanks a note.
    bool mNotesRead = false;
    dao::ChangeFlag mChanged;
};

} // namespace model
