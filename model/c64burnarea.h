#pragma once

#include "platform/dao/rowsave.h"

#include <array>

namespace model {

// One outcome in one FMU (key 0: the whole fire): the FMU's relative share of the fire
// and the relative shares of the six fire intensity levels within it.
// A level out of 1..6 throws std::out_of_range.
class c64BurnArea {
public:
    int OutcomeKey() const { return mOutcomeKey; }
    int FMUKey() const { return mFMUKey; }
    int FMUPortion() const { return mFMUPortion; }
    // Marks the area changed, also when the value is the same.
    void SetFMUPortion(int value);
    int FILPortion(int fil) const;
    // Marks the area changed only when the value differs.
    void SetFILPortion(int fil, int value);
    // Percent of the FMU's area at that level, rounded half to even; 16 each when all are 0.
    int FILPercent(int fil) const;
    // All six at once, the portions added up once.
    std::array<int, 6> FILPercents() const;

    // Reads the row; a missing row or field reads as 0.
    void Initialize(int outcomeKey, int fmuKey);
    // Same as Initialize with the row's values already read (all 0 when there is none).
    void InitializeWith(int outcomeKey, int fmuKey, int fmuPortion, const std::array<int, 6>& filPortions);
    // Writes the row when changed, adding it when it is missing.
    void SaveChanges();

    bool Changed() const { return mChanged; }

private:
    int mOutcomeKey = 0;
    int mFMUKey = 0;
    int mFMUPortion = 0;
    std::array<int, 6> mFILPortion{};
    // The percents of the portions they were worked from: every expected loss asks for each
    // area's six, a division each, again and again. Kept with their inputs rather than
    // dropped by each setter, so no way of changing a portion can leave them stale.
    struct Percents {
        std::array<int, 6> portions{};
        std::array<int, 6> percents{};
        bool known = false;
    };
    mutable Percents mPercentsFor;
    dao::ChangeFlag mChanged;
};

} // namespace model
