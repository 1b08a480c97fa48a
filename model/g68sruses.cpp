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

int AddSRUseRecord(int outcomeKey, int typeKey)
{
    const int last = GetLastSRUseKey();
    if (last == std::numeric_limits<int>::max())
        throw dao::Error(dao::Error::Kind::Generic, QStringLiteral("No more resource line keys."));
    // After the last line rather than at count + 1, so a deleted line cannot leave two lines
    // of one outcome at the same position.
    const int index = OutcomeSRUseMaxIndex(outcomeKey) + 1;
    auto rs = Db().OpenTable(QStringLiteral("SRUses"));
    rs->AddNew();
    rs->SetField(QStringLiteral("ItemKey"), last + 1);
    rs->SetField(QStringLiteral("OutcomeKey"), outcomeKey);
    rs->SetField(QStringLiteral("ItemIndex"), index);
    rs->SetField(QStringLiteral("SRTypeKey"), typeKey);
    rs->SetField(QStringLiteral("Quantity"), 1);
    rs->SetField(QStringLiteral("Periods"), 1);
    rs->Update();
    rs->Close();
    gLastSRUseKey = last + 1;
    return gLastSRUseKey;
}

void DeleteOutcomeSRUses(int outcomeKey)
{
    Db().Execute(QStringLiteral("DELETE FROM SRUses WHERE OutcomeKey = ?"), {outcomeKey});
}

void ResetSRUseKey() { gLastSRUseKey = 0; }

} // namespace model
