#pragma once

#include "model/c64burnarea.h"

#include <QList>

#include <memory>
#include <utility>
#include <vector>

namespace model {

class c34NVCTable;

// The burn areas of one outcome: one per FMU in FMU-list order, or, when there are no
// FMUs, one whole-fire area under key 0. The FMU list is read once, by Initialize.
class c63BurnAreaList {
public:
    // Dollars per acre, negative for a net loss.
    float AverageNVCPerAcre() const;
    float ResourceNVCPerAcre(int resource) const;
    // Suppression cost of a fire of that size, and its cost per acre.
    float CostBySize(float size) const;
    float CostPerAcre(float size) const;
    // Key 0: the whole-fire area, nullptr when there are FMUs. An unknown nonzero key throws
    // std::out_of_range.
    c64BurnArea* BurnArea(int fmuKey) const;
    // The per-FMU areas (empty when there are no FMUs).
    const QList<c64BurnArea*>& BurnAreaCollection() const { return mAreas; }
    // Percent of the fire in the FMU at that 1-based position, truncated; 100 with 0 or 1 FMUs.
    int FMUPercent(int position) const;

    void Initialize(int outcomeKey);
    int OutcomeKey() const { return mOutcomeKey; }

private:
    // A figure per acre of one FIL of an NVC table, summed over the fire by FMU and FIL percents.
    template <class Cell>
    float weightedPerAcre(Cell cell) const;
    // The FMU shares added up, and FMUPercent against that sum: a pass over the areas adds them
    // up once instead of once an area.
    qint64 totalPortion() const;
    int percentAt(int position, qint64 total) const;

    int mOutcomeKey = 0;
    // The per-FMU areas are made together, once, by Initialize, and stay where they are until the
    // next: one block for all, where an area each from the heap and a map node each to find it
    // by were a good part of building an outcome's figures.
    std::unique_ptr<c64BurnArea[]> mBlock;
    QList<c64BurnArea*> mAreas;                 // in FMU-list order
    std::vector<std::pair<int, int>> mByKey;    // FMU key and place in mAreas, by key
    std::unique_ptr<c64BurnArea> mWholeFire;
};

} // namespace model
