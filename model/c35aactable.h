#pragma once

#include "platform/dao/rowsave.h"

#include <QString>

#include <array>

namespace model {

constexpr int kCostBracketCount = 9;

// The historic suppression cost per acre of one FMU (key 0: the whole fire) by fire size:
// nine brackets, each with its largest size (TopSize) and its cost per acre.
// A bracket out of 1..9 throws std::out_of_range.
// The lower bound shown for a size bracket, from the top size of the bracket before it: empty
// when that bracket has no top size (0 or less) or one of 9,999,999 acres or more; otherwise
// the smallest size the next bracket plausibly starts at (0.25 -> "0.26", about 0.9 -> "1",
// 2.5 -> "2.6", 9 -> "10", 12.7 -> "13"), as a plain number for the grid's format to show.
// Bracket 1 always starts at 0.
QString NextFromText(float previousTopSize);

class c35AACTable {
public:
    float TopSize(int bracket) const;
    void SetTopSize(int bracket, float value);
    float Cost(int bracket) const;
    void SetCost(int bracket, float value);
    // Cost per acre for a fire of that many acres.
    float CostForSize(float size) const;

    void Initialize(int fmuKey);
    // Writes all nine rows when changed, adding any row that is missing.
    void SaveChanges();

    int FMUKey() const { return mFMUKey; }
    bool Changed() const { return mChanged; }

private:
    int mFMUKey = 0;
    std::array<float, kCostBracketCount> mTopSize{};
    std::array<float, kCostBracketCount> mCost{};
    dao::ChangeFlag mChanged;
};

} // namespace model
