#include "model/c34nvctable.h"

#include "model/fmurows.h"
#include "model/modeldata.h"
#include "model/rowvalues.h"
#include "core/u11datafile.h"
#include "core/u14properties.h"
#include "core/u19rowdata.h"
#include "core/u92utilities.h"
#include "platform/dao/dao.h"

#include <stdexcept>

namespace model {

namespace {

void checkCell(int resourceKey, int fil)
{
    if (resourceKey < 1 || resourceKey > kNVCResourceCount || fil < 1 || fil > kFILCount)
        throw std::out_of_range("NVC table: subscript out of range");
}

QString filField(int fil) { return QStringLiteral("FIL%1").arg(fil); }

} // namespace

namespace {

// The setting as last read, with the file's stamp then: every outcome's NVC figures ask for it.
struct KeptGains {
    bool known = false;
    dao::DataStamp stamp;
    bool value = false;
};

KeptGains& keptGains()
{
    static KeptGains kept;
    return kept;
}

bool readUseNVCGains()
{
    return core::Property_GetOrAdd(QStringLiteral("UseNVCGains"), QStringLiteral("No")) != QLatin1String("No");
}

} // namespace

bool UseNVCGains()
{
    const dao::Database* db = core::gDatabase();
    if (!db)
        return readUseNVCGains();
    KeptGains& kept = keptGains();
    if (!kept.known || !(kept.stamp == db->Stamp())) {
        kept.value = readUseNVCGains();
        // Taken after the read, which adds the setting when it is missing.
        kept.stamp = db->Stamp();
        kept.known = true;
    }
    return kept.value;
}

void ForgetUseNVCGains() { keptGains().known = false; }

float c34NVCTable::NVCCellValue(int resourceKey, int fil) const
{
    checkCell(resourceKey, fil);
    return mCells[resourceKey - 1][fil - 1];
}

void c34NVCTable::SetNVCCellValue(int resourceKey, int fil, float value)
{
    checkCell(resourceKey, fil);
    mCells[resourceKey - 1][fil - 1] = value;
    mTotalKnown = {};
    mAllTotalsKnown = {};
    mChanged = true;
}

float c34NVCTable::NVCCellFilteredValue(int resourceKey, int fil) const
{
    return NVCCellFilteredValue(resourceKey, fil, UseNVCGains());
}

float c34NVCTable::NVCCellFilteredValue(int resourceKey, int fil, bool useGains) const
{
    const float v = NVCCellValue(resourceKey, fil);
    return (useGains || v <= 0.0f) ? v : 0.0f;
}

float c34NVCTable::FilTotal(int fil) const { return FilTotal(fil, UseNVCGains()); }

float c34NVCTable::FilTotal(int fil, bool useGains) const
{
    checkCell(1, fil);
    bool& known = mTotalKnown[useGains][fil - 1];
    float& total = mTotals[useGains][fil - 1];
    if (!known) {
        float sum = 0.0f;
        for (int r = 1; r <= kNVCResourceCount; ++r)
            sum += NVCCellFilteredValue(r, fil, useGains);
        total = float(core::RoundSignificant(sum, 3));
        known = true;
    }
    return total;
}

void c34NVCTable::knowAllTotals(bool useGains) const
{
    for (int fil = 1; fil <= kFILCount; ++fil)
        FilTotal(fil, useGains);
    mAllTotalsKnown[useGains] = true;
}

bool c34NVCTable::bResourceValue(int resourceKey) const { return bResourceValue(resourceKey, UseNVCGains()); }

bool c34NVCTable::bResourceValue(int resourceKey, bool useGains) const
{
    for (int i = 1; i <= kFILCount; ++i)
        if (NVCCellFilteredValue(resourceKey, i, useGains) != 0.0f)
            return true;
    return false;
}

void c34NVCTable::Initialize(int fmuKey)
{
    mFMUKey = fmuKey;
    mChanged = false;
    mCells = {};
    rowvalue::ForEachNumberedRow(StoredNVCRowsOf(fmuKey), kNVCResourceCount, [this](const StoredNVCRow& row) {
        for (int i = 1; i <= kFILCount; ++i)
            mCells[row.number - 1][i - 1] = row.fil[size_t(i - 1)];
    });
    mTotalKnown = {};
    mAllTotalsKnown = {};
}

void c34NVCTable::SaveChanges()
{
    if (!mChanged)
        return;
    dao::RowSave save(Db());
    for (int r = 1; r <= kNVCResourceCount; ++r) {
        dao::FieldValues cells;
        for (int i = 1; i <= kFILCount; ++i)
            cells.append({filField(i), mCells[r - 1][i - 1]});
        save.Write(QStringLiteral("NVCPerAcre"), {mFMUKey, r}, cells, dao::IfMissing::Add);
    }
    save.Commit(mChanged);
}

} // namespace model
