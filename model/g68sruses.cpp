#include "model/g68sruses.h"

#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "model/modeldata.h"

#include <limits>

namespace model {

namespace {
int gLastSRUseKey = 0;
}

int GetLastSRUseKey()
{
    if (gLastSRUseKey == 0)
        gLastSRUseKey = core::GetMaxKey(QStringLiteral("SRUses"), QStringLiteral("ItemKey"));
    return gLastSRUseKey;
}

int OutcomeSRUseCount(int outcomeKey)
{
    auto rs = Db().OpenRecordset(QStringLiteral("SELECT COUNT(*) AS N FROM SRUses WHERE OutcomeKey = ?"),
                                 {outcomeKey});
    const int n = core::GetFieldLong(*rs, QStringLiteral("N"));
    rs->Close();
    return n;
}

int OutcomeSRUseMaxIndex(int outcomeKey)
{
    auto rs = Db().OpenRecordset(
        QStringLiteral("SELECT MAX(ItemIndex) AS M FROM SRUses WHERE OutcomeKey = ?"), {outcomeKey});
    const int n = core::GetFieldLong(*rs, QStringLiteral("M"));
    rs->Close();
    return n;
}

namespace {

void InsertLine(int key, int outcomeKey, int index, int typeKey)
{
    auto rs = Db().OpenTable(QStringLiteral("SRUses"));
    rs->AddNew();
    rs->SetField(QStringLiteral("ItemKey"), key);
    rs->SetField(QStringLiteral("OutcomeKey"), outcomeKey);
    rs->SetField(QStringLiteral("ItemIndex"), index);
    rs->SetField(QStringLiteral("SRTypeKey"), typeKey);
    rs->SetField(QStringLiteral("Quantity"), 1);
    rs->SetField(QStringLiteral("Periods"), 1);
    rs->Update();
    rs->Close();
}

int NextKey()
{
    const int last = GetLastSRUseKey();
    if (last == std::numeric_limits<int>::max())
        throw dao::Error(dao::Error::Kind::Generic, QStringLiteral("No more resource line keys."));
    return last + 1;
}

} // namespace

int AddSRUseRecord(int outcomeKey, int typeKey)
{
    // After the last line rather than at count + 1, so a deleted line cannot leave two lines
    // of one outcome at the same position.
    const int index = OutcomeSRUseMaxIndex(outcomeKey) + 1;
    int key = NextKey();
    try {
        InsertLine(key, outcomeKey, index, typeKey);
    } catch (const dao::Error& e) {
        if (e.kind() != dao::Error::Kind::Constraint)
            throw;
        // Rows written behind the counter's back: continue above the highest one.
        gLastSRUseKey = 0;
        key = NextKey();
        InsertLine(key, outcomeKey, index, typeKey);
    }
    gLastSRUseKey = key;
    return key;
}

void DeleteOutcomeSRUses(int outcomeKey)
{
    Db().Execute(QStringLiteral("DELETE FROM SRUses WHERE OutcomeKey = ?"), {outcomeKey});
}

void ResetSRUseKey() { gLastSRUseKey = 0; }

} // namespace model
