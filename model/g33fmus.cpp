#include "model/g33fmus.h"

#include "model/modeldata.h"
#include "model/g64burnareas.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "model/fmurows.h"
#include "model/keyedlist.h"
#include "model/rowvalues.h"
#include "platform/dao/dao.h"

#include <vector>

namespace model {

namespace {

struct FMUState {
    std::unique_ptr<KeyedList<c33FMU>> list;
    std::unique_ptr<c34NVCTable> defaultNVC;
    std::unique_ptr<c35AACTable> defaultAAC;
    std::vector<std::unique_ptr<KeyedList<c33FMU>>> retired;
};

FMUState& state()
{
    static FMUState s;
    return s;
}

KeyedList<c33FMU>& fmuList()
{
    if (!state().list)
        LoadFMUs();
    return *state().list;
}

} // namespace

void LoadFMUs()
{
    auto list = std::make_unique<KeyedList<c33FMU>>();
    // The rows in the order of the table's key, in one read: the table's cursor read each row
    // with a query of its own, which a comparison of 100 FMUs paid for a hundred times.
    dao::RowReader row(Db(), QStringLiteral("SELECT \"Key\", FMZCode, Name FROM FMZList ORDER BY \"Key\", rowid"));
    while (row.Next()) {
        auto fmu = std::make_unique<c33FMU>();
        const int key = rowvalue::Long(row, 0);
        fmu->Initialize(key, rowvalue::Text(row, 1), rowvalue::Text(row, 2));
        list->Add(key, std::move(fmu));
    }
    // FMUs of an earlier load stay alive until ClearFMUs: pointers to them may still be held.
    if (state().list)
        state().retired.push_back(std::move(state().list));
    state().list = std::move(list);
}

const QList<c33FMU*>& GetFMUs() { return fmuList().Items(); }

int FMUCount() { return fmuList().Count(); }

c33FMU* GetFMU(int key) { return fmuList().Get(key); }

c34NVCTable* GetNVCTable(int key)
{
    if (FMUCount() > 0)
        return GetFMU(key)->NVCTable();
    auto& s = state();
    if (!s.defaultNVC) {
        auto table = std::make_unique<c34NVCTable>();
        table->Initialize(0);
        s.defaultNVC = std::move(table);
    }
    return s.defaultNVC.get();
}

c35AACTable* GetAACTable(int key)
{
    if (FMUCount() > 0)
        return GetFMU(key)->AACTable();
    auto& s = state();
    if (!s.defaultAAC) {
        auto table = std::make_unique<c35AACTable>();
        table->Initialize(0);
        s.defaultAAC = std::move(table);
    }
    return s.defaultAAC.get();
}

bool AnyFMUResourceValue(int resourceKey) { return AnyFMUResourceValue(resourceKey, UseNVCGains()); }

bool AnyFMUResourceValue(int resourceKey, bool useGains)
{
    if (FMUCount() > 0) {
        for (c33FMU* fmu : GetFMUs())
            if (fmu->NVCTable()->bResourceValue(resourceKey, useGains))
                return true;
        return false;
    }
    return GetNVCTable(0)->bResourceValue(resourceKey, useGains);
}

QList<core::ListEntry> FMUListEntries() { return core::EntriesOf(GetFMUs(), &c33FMU::ItemName); }

void ClearFMUs()
{
    auto& s = state();
    s.list.reset();
    s.defaultNVC.reset();
    s.defaultAAC.reset();
    s.retired.clear();
    ForgetUseNVCGains();
    ClearFMURows();
}

std::unique_ptr<c33FMU> NewFMU(const QString& code, const QString& name)
{
    core::Trace(QStringLiteral("srvFMU.NewFMU"));
    dao::Database* db = &Db();
    dao::Transaction tx(*db);
    auto rs = db->OpenTable(QStringLiteral("FMZList"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    rs->AddNew();
    rs->SetField(QStringLiteral("FMZCode"), code);
    rs->SetField(QStringLiteral("Name"), name);
    rs->Update();
    rs->MoveLast();
    const int key = core::GetFieldLong(*rs, QStringLiteral("Key"));
    rs->Close();

    QList<int> outcomeKeys;
    auto outcomes = db->OpenTable(QStringLiteral("Outcomes"));
    outcomes->SetIndex(QStringLiteral("PrimaryKey"));
    if (outcomes->RecordCount() > 0) {
        outcomes->MoveFirst();
        while (!outcomes->Eof()) {
            outcomeKeys.append(core::GetFieldLong(*outcomes, QStringLiteral("ItemKey")));
            outcomes->MoveNext();
        }
    }
    outcomes->Close();

    // Under FIL option 1 the new FMU's burn areas take the one set all the others hold.
    const std::optional<std::array<int, 6>> shared = SharedFILPortions(key);
    auto fmzs = db->OpenTable(QStringLiteral("OutcomeFMZs"));
    for (int outcomeKey : outcomeKeys) {
        fmzs->AddNew();
        fmzs->SetField(QStringLiteral("OutcomeKey"), outcomeKey);
        fmzs->SetField(QStringLiteral("FMZKey"), key);
        fmzs->SetField(QStringLiteral("Portion"), 50);
        if (shared) {
            for (int i = 1; i <= 6; ++i)
                fmzs->SetField(QStringLiteral("FIL%1Portion").arg(i), (*shared)[size_t(i - 1)]);
        } else {
            fmzs->SetField(QStringLiteral("FIL4Portion"), 5);
        }
        fmzs->Update();
    }
    fmzs->Close();
    tx.commit();

    auto fmu = std::make_unique<c33FMU>();
    fmu->Initialize(key, code, name);
    return fmu;
}

void DeleteFMU(int key)
{
    core::Trace(QStringLiteral("g33FMUs.DeleteFMU"));
    c33FMU* fmu = GetFMU(key);
    fmu->Delete();
    fmuList().Remove(key);
}

} // namespace model
