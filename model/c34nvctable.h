#pragma once

#include "platform/dao/rowsave.h"

#include <array>

namespace model {

constexpr int kNVCResourceCount = 14;
constexpr int kFILCount = 6;

// True unless the analysis property "UseNVCGains" is exactly "No" (the property is added
// as "No" when missing). Read it once per computation and pass it to the *With overloads.
// Read again only when the file has changed since (see dao::DataStamp) or after ForgetUseNVCGains.
bool UseNVCGains();
void ForgetUseNVCGains();

// The NVC table of one FMU (key 0: the whole fire when there are no FMUs): dollars per acre
// for each resource 1..14 at each fire intensity level 1..6, negative for a loss.
// A resource or level out of range throws std::out_of_range.
class c34NVCTable {
public:
    float NVCCellValue(int resourceKey, int fil) const;
    // Marks the table changed, also when the value is the same.
    void SetNVCCellValue(int resourceKey, int fil, float value);
    // The value as the computations use it: gains read as 0 unless gains are counted.
    float NVCCellFilteredValue(int resourceKey, int fil) const;
    float NVCCellFilteredValue(int resourceKey, int fil, bool useGains) const;
    // Sum of the filtered values of a level, rounded to 3 significant digits.
    float FilTotal(int fil) const;
    float FilTotal(int fil, bool useGains) const;
    // The six FilTotal(fil, useGains) by fil - 1: a figure per acre takes all six for every
    // burn area of every outcome, and one call a level was a good part of it.
    const std::array<float, kFILCount>& FilTotals(bool useGains) const
    {
        if (!mAllTotalsKnown[useGains])
            knowAllTotals(useGains);
        return mTotals[useGains];
    }
    // True when the resource has a nonzero filtered value at some level.
    bool bResourceValue(int resourceKey) const;
    bool bResourceValue(int resourceKey, bool useGains) const;

    // Reads the 14 rows of the FMU; a missing row reads as zeros.
    void Initialize(int fmuKey);
    // Writes all 14 rows when changed, adding any row that is missing.
    void SaveChanges();

    int FMUKey() const { return mFMUKey; }
    bool Changed() const { return mChanged; }

private:
    void knowAllTotals(bool useGains) const;

    int mFMUKey = 0;
    std::array<std::array<float, kFILCount>, kNVCResourceCount> mCells{};
    // FIL totals by [useGains][fil - 1], kept until a cell changes: every outcome's NVC figures
    // ask for them again and again.
    mutable std::array<std::array<float, kFILCount>, 2> mTotals{};
    mutable std::array<std::array<bool, kFILCount>, 2> mTotalKnown{};
    mutable std::array<bool, 2> mAllTotalsKnown{};
    dao::ChangeFlag mChanged;
};

} // namespace model
