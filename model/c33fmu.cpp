#include "model/c33fmu.h"

#include "model/modeldata.h"
#include "core/u11datafile.h"
#include "platform/dao/dao.h"

namespace model {

c34NVCTable* c33FMU::NVCTable()
{
    if (!mNVCTable) {
        // Kept only once read whole: a read that fails part way leaves nothing to be saved later.
        auto table = std::make_unique<c34NVCTable>();
        table->Initialize(mKey);
        mNVCTable = std::move(table);
    }
    return mNVCTable.get();
}

c35AACTable* c33FMU::AACTable()
{
    if (!mAACTable) {
        auto table = std::make_unique<c35AACTable>();
        table->Initialize(mKey);
        mAACTable = std::move(table);
    }
    return mAACTable.get();
}

void c33FMU::Initialize(int key, const QString& code, const QString& name)
{
    mKey = key;
    mCode = code;
    mName = name;
}

void c33FMU::Delete()
{
    dao::Database* db = &Db();
    dao::Transaction tx(*db);
    // A missing FMZList row is no reason to keep the FMU's dependent rows.
    db->Execute(QStringLiteral("DELETE FROM FMZList WHERE \"Key\" = ?"), {mKey});
    db->Execute(QStringLiteral("DELETE FROM OutcomeFMZs WHERE FMZKey = ?"), {mKey});
    db->Execute(QStringLiteral("DELETE FROM NVCPerAcre WHERE FMZKey = ?"), {mKey});
    db->Execute(QStringLiteral("DELETE FROM SuppressionPerAcreCost WHERE FMZKey = ?"), {mKey});
    tx.commit();
}

} // namespace model
