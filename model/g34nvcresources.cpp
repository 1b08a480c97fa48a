#include "model/g34nvcresources.h"

#include "model/modeldata.h"
#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "model/c34nvctable.h"
#include "model/g33fmus.h"
#include "platform/dao/rowsave.h"

#include <array>
#include <stdexcept>

namespace model {

namespace {

struct NameState {
    std::array<QString, kNVCResourceCount> names;
    std::array<dao::ChangeFlag, kNVCResourceCount> changed{};
    bool loaded = false;
};

NameState& state()
{
    static NameState s;
    return s;
}

int index(int resource)
{
    if (resource < 1 || resource > kNVCResourceCount)
        throw std::out_of_range("NVC resource: subscript out of range");
    return resource - 1;
}

} // namespace

bool bNVCTableEmpty()
{
    const bool useGains = UseNVCGains();
    for (int r = 1; r <= kNVCResourceCount; ++r)
        if (AnyFMUResourceValue(r, useGains))
            return false;
    return true;
}

QString GetResourceName(int resource)
{
    const int i = index(resource);
    if (!state().loaded)
        LoadNVCResources();
    return state().names[i];
}

void SetResourceName(int resource, const QString& name)
{
    const int i = index(resource);
    state().names[i] = name;
    state().changed[i] = true;
}

void ClearNVCResources()
{
    // Unsaved marks belong to the file being left; they must not reach the next one.
    state() = NameState{};
}

void LoadNVCResources()
{
    auto& s = state();
    auto rs = Db().OpenTable(QStringLiteral("NVCResources"));
    rs->SetIndex(QStringLiteral("PrimaryKey"));
    for (int r = 1; r <= kNVCResourceCount; ++r) {
        rs->Seek(r);
        // A name set before the first load is the user's edit: keep it.
        if (!s.changed[r - 1])
            s.names[r - 1] = core::GetFieldText(*rs, QStringLiteral("ResourceName"));
    }
    rs->Close();
    s.loaded = true;
}

void SaveNVCResources()
{
    auto& s = state();
    bool any = false;
    for (bool c : s.changed)
        any = any || c;
    if (!any)
        return;
    dao::Database& db = Db();
    dao::RowSave save(db);
    for (int r = 1; r <= kNVCResourceCount; ++r)
        if (s.changed[r - 1])
            save.Write(QStringLiteral("NVCResources"), {r}, {{QStringLiteral("ResourceName"), s.names[r - 1]}},
                       dao::IfMissing::Add);
    save.Commit();
    for (dao::ChangeFlag& changed : s.changed)
        if (changed)
            changed.ClearSaved(db);
}

} // namespace model
