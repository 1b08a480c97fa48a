#include "model/c63burnarealist.h"

#include "core/u92utilities.h"
#include "model/g33fmus.h"
#include "model/keyedlist.h"
#include "model/modeldata.h"
#include "model/outcomerows.h"

#include <QHash>

#include <array>
#include <stdexcept>

namespace model {

namespace {

// The FMU listed at an area's 1-based position when it is still the area's: the areas were
// made in the order of the FMU list, which mostly still stands, and a look at the same place
// spares a search by key for every area of every figure.
c33FMU* listedAt(int position, int fmuKey)
{
    const QList<c33FMU*>& fmus = GetFMUs();
    return position <= fmus.size() && fmus[position - 1]->ItemKey() == fmuKey ? fmus[position - 1] : nullptr;
}

// An FMU deleted after the list was built no longer has tables: its share counts for nothing.
const c34NVCTable* nvcTable(int position, int fmuKey)
{
    if (c33FMU* fmu = listedAt(position, fmuKey))
        return fmu->NVCTable();
    try {
        return GetNVCTable(fmuKey);
    } catch (const std::out_of_range&) {
        return nullptr;
    }
}

float costForSize(int position, int fmuKey, float size)
{
    if (c33FMU* fmu = listedAt(position, fmuKey))
        return fmu->AACTable()->CostForSize(size);
    try {
        return GetAACTable(fmuKey)->CostForSize(size);
    } catch (const std::out_of_range&) {
        return 0.0f;
    }
}

// percent / 100.0 as a float, from a table for 0 to 100: a figure per acre takes seven of them
// for every area, and each was a division.
float fractionOf(int percent)
{
    static const std::array<float, 101> fractions = [] {
        std::array<float, 101> table{};
        for (int p = 0; p <= 100; ++p)
            table[size_t(p)] = float(p / 100.0);
        return table;
    }();
    return unsigned(percent) <= 100u ? fractions[size_t(percent)] : float(percent / 100.0);
}

void initializeArea(c64BurnArea& area, const ByKey<StoredPortions>& rows, qsizetype* from, int outcomeKey, int fmuKey)
{
    const StoredPortions row = rows.ValueFrom(fmuKey, from);
    area.InitializeWith(outcomeKey, fmuKey, row.portion, row.fil);
}

} // namespace

void c63BurnAreaList::Initialize(int outcomeKey)
{
    mOutcomeKey = outcomeKey;
    mAreas.clear();
    mByKey.clear();
    mBlock.reset();
    mWholeFire.reset();
    const bool wholeFire = FMUCount() < 1;
    // An FMU without a row is not in the map.
    const ByKey<StoredPortions> rows = StoredPortionsOf(outcomeKey);
    qsizetype from = 0;
    if (wholeFire) {
        mWholeFire = std::make_unique<c64BurnArea>();
        initializeArea(*mWholeFire, rows, &from, outcomeKey, 0);
        return;
    }
    const QList<c33FMU*>& fmus = GetFMUs();
    mBlock = std::make_unique<c64BurnArea[]>(size_t(fmus.size()));
    mAreas.reserve(fmus.size());
    mByKey.reserve(size_t(fmus.size()));
    for (c33FMU* fmu : fmus) {
        const int key = fmu->ItemKey();
        const auto at = FirstNotBelow(mByKey.data(), qsizetype(mByKey.size()), key);
        if (at != mByKey.data() + mByKey.size() && at->first == key)
            continue;   // a key listed twice keeps its first area, as a keyed collection does
        c64BurnArea& area = mBlock[size_t(mAreas.size())];
        initializeArea(area, rows, &from, outcomeKey, key);
        mByKey.insert(mByKey.begin() + (at - mByKey.data()), {key, int(mAreas.size())});
        mAreas.append(&area);
    }
}

c64BurnArea* c63BurnAreaList::BurnArea(int fmuKey) const
{
    if (fmuKey == 0)
        return mWholeFire.get();
    const auto at = FirstNotBelow(mByKey.data(), qsizetype(mByKey.size()), fmuKey);
    if (at == mByKey.data() + mByKey.size() || at->first != fmuKey)
        throw std::out_of_range(("no member " + KeyText(fmuKey) + " in the collection").toStdString());
    return mAreas[at->second];
}

int c63BurnAreaList::FMUPercent(int position) const
{
    const int n = int(mAreas.size());
    if (n <= 1)
        return 100;
    if (position < 1 || position > n)
        throw std::out_of_range("FMU percent: subscript out of range");
    return percentAt(position, totalPortion());
}

qint64 c63BurnAreaList::totalPortion() const
{
    qint64 total = 0;
    for (c64BurnArea* area : mAreas)
        total += area->FMUPortion();
    return total;
}

int c63BurnAreaList::percentAt(int position, qint64 total) const
{
    const int n = int(mAreas.size());
    if (n <= 1)
        return 100;
    if (total == 0)
        return core::RoundHalfEven(100.0 / n);
    return int(qint64(mAreas[position - 1]->FMUPortion()) * 100 / total);
}

template <class Cell>
float c63BurnAreaList::weightedPerAcre(Cell cell) const
{
    float sum = 0.0f;
    if (mAreas.isEmpty()) {
        if (!mWholeFire)
            return 0.0f;
        const c34NVCTable* table = GetNVCTable(0);
        const std::array<int, 6> fil = mWholeFire->FILPercents();
        for (int i = 1; i <= kFILCount; ++i)
            sum = float(sum + cell(*table, i) * (fil[size_t(i - 1)] / 100.0));
        return sum;
    }
    const qint64 total = totalPortion();
    for (int j = 1; j <= int(mAreas.size()); ++j) {
        const c64BurnArea* area = mAreas[j - 1];
        const c34NVCTable* table = nvcTable(j, area->FMUKey());
        if (!table)
            continue;
        const float f = fractionOf(percentAt(j, total));
        const std::array<int, 6> fil = area->FILPercents();
        for (int i = 1; i <= kFILCount; ++i)
            sum = float(sum + cell(*table, i) * f * fractionOf(fil[size_t(i - 1)]));
    }
    return sum;
}

float c63BurnAreaList::AverageNVCPerAcre() const
{
    const bool useGains = UseNVCGains();
    return weightedPerAcre(
        [useGains](const c34NVCTable& table, int fil) { return table.FilTotals(useGains)[size_t(fil - 1)]; });
}

float c63BurnAreaList::ResourceNVCPerAcre(int resource) const
{
    const bool useGains = UseNVCGains();
    return weightedPerAcre([useGains, resource](const c34NVCTable& table, int fil) {
        return table.NVCCellFilteredValue(resource, fil, useGains);
    });
}

float c63BurnAreaList::CostPerAcre(float size) const
{
    if (mAreas.isEmpty())
        return GetAACTable(0)->CostForSize(size);
    float sum = 0.0f;
    const qint64 total = totalPortion();
    for (int j = 1; j <= int(mAreas.size()); ++j) {
        const float f = fractionOf(percentAt(j, total));
        sum = float(sum + costForSize(j, mAreas[j - 1]->FMUKey(), size) * f);
    }
    return sum;
}

float c63BurnAreaList::CostBySize(float size) const
{
    if (mAreas.isEmpty())
        return size * GetAACTable(0)->CostForSize(size);
    float sum = 0.0f;
    const qint64 total = totalPortion();
    for (int j = 1; j <= int(mAreas.size()); ++j) {
        const double f = percentAt(j, total) / 100.0;
        sum = float(sum + size * costForSize(j, mAreas[j - 1]->FMUKey(), size) * f);
    }
    return sum;
}

} // namespace model
