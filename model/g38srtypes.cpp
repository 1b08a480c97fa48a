#include "model/g38srtypes.h"

#include "core/u14properties.h"
#include "core/u19rowdata.h"
#include "model/modeldata.h"
#include "platform/dao/rowsave.h"

namespace model {

namespace {

struct SRTypeState {
    std::shared_ptr<SRTypeCollection> types;
    QString dataSource;
    dao::ChangeFlag dataSourceChanged;
};

SRTypeState& state()
{
    static SRTypeState s;
    return s;
}

SRTypeCollection& cache()
{
    if (!state().types)
        LoadSRTypes();
    return *state().types;
}

} // namespace

void LoadSRTypes()
{
    auto types = std::make_shared<SRTypeCollection>();
    auto rs = Db().OpenRecordset(QStringLiteral("SELECT * FROM SRTypes ORDER BY ChildIndex, ItemKey"));
    while (!rs->Eof()) {
        auto t = std::make_shared<c38SRType>();
        const int key = core::GetFieldLong(*rs, QStringLiteral("ItemKey"));
        t->Initialize(key, core::GetFieldLong(*rs, QStringLiteral("ChildIndex")),
                      core::GetFieldText(*rs, QStringLiteral("LongName")),
                      core::GetFieldText(*rs, QStringLiteral("ShortName")),
                      core::GetFieldText(*rs, QStringLiteral("UnitType")),
                      core::GetFieldText(*rs, QStringLiteral("UnitName")),
                      core::GetFieldDouble(*rs, QStringLiteral("UnitCost")));
        types->Add(key, std::move(t));
        rs->MoveNext();
    }
    rs->Close();
    state().types = std::move(types);
}

std::shared_ptr<c38SRType> GetSRType(int key) { return cache().Find(key); }

std::shared_ptr<SRTypeCollection> ReloadSRTypes()
{
    LoadSRTypes();
    auto result = std::move(state().types);
    state().types.reset();
    return result;
}

QList<core::ListEntry> SRTypeListEntries() { return core::EntriesOf(cache(), &c38SRType::LongName); }

void DeleteSRTypeRecord(int key)
{
    auto rs = Db().OpenTable(QStringLiteral("SRTypes"));
    rs->Seek(key);
    if (!rs->NoMatch())
        rs->Delete();
    rs->Close();
}

std::shared_ptr<c38SRType> AddSRTypeRecord(int position, const QString& longName, const QString& shortName,
                                           const QString& unitType, const QString& unitName, double unitCost)
{
    auto rs = Db().OpenTable(QStringLiteral("SRTypes"));
    rs->AddNew();
    rs->SetField(QStringLiteral("ChildIndex"), position);
    rs->SetField(QStringLiteral("LongName"), longName);
    rs->SetField(QStringLiteral("ShortName"), shortName);
    rs->SetField(QStringLiteral("UnitType"), unitType);
    rs->SetField(QStringLiteral("UnitName"), unitName);
    rs->SetField(QStringLiteral("UnitCost"), unitCost);
    rs->Update();
    const int key = core::GetFieldLong(*rs, QStringLiteral("ItemKey"));
    rs->Close();
    auto type = std::make_shared<c38SRType>();
    type->Initialize(key, position, longName, shortName, unitType, unitName, unitCost);
    return type;
}

bool SRTypeInUse(int key)
{
    auto rs = Db().OpenRecordset(QStringLiteral("SELECT ItemKey FROM SRUses WHERE SRTypeKey = ?"), {key});
    const bool used = !rs->Eof();
    rs->Close();
    return used;
}

QString GetSRDataSource()
{
    if (state().dataSource.isEmpty())
        state().dataSource = core::Property_Get(QStringLiteral("SRDataSource"));
    return state().dataSource;
}

void SetSRDataSource(const QString& text)
{
    state().dataSource = text;
    state().dataSourceChanged = true;
}

void SaveSRDataSource()
{
    if (!state().dataSourceChanged)
        return;
    core::Property_Set(QStringLiteral("SRDataSource"), state().dataSource);
    state().dataSourceChanged.ClearSaved(Db());
}

void ClearSRTypes()
{
    state().types.reset();
    state().dataSource.clear();
    state().dataSourceChanged = false;
}

} // namespace model
