#include "model/g51alternatives.h"

#include "core/savescope.h"
#include "core/u14properties.h"
#include "core/u19rowdata.h"
#include "model/g53outcomes.h"
#include "model/modeldata.h"
#include "model/outcomerows.h"
#include "model/textnumbers.h"

#include <cmath>
#include <limits>

namespace model {

namespace {

std::unique_ptr<AlternativeCollection>& list()
{
    static std::unique_ptr<AlternativeCollection> l;
    return l;
}

const QString kSelectedKey = QStringLiteral("SelectedAlternativeKey");

} // namespace

void LoadAlternatives()
{
    auto alts = std::make_unique<AlternativeCollection>();
    auto rs = Db().OpenRecordset(
        QStringLiteral("SELECT * FROM Items WHERE ParentKey = ? ORDER BY ChildIndex, ItemKey"),
        {core::kAlternativesGroupKey});
    while (!rs->Eof()) {
        const int key = core::GetFieldLong(*rs, QStringLiteral("ItemKey"));
        auto alt = std::make_shared<c51Alternative>();
        alt->Initialize(key, core::GetFieldText(*rs, QStringLiteral("ItemName")),
                        core::GetFieldText(*rs, QStringLiteral("Heading")),
                        core::GetFieldText(*rs, QStringLiteral("Body")));
        alts->Add(key, std::move(alt));
        rs->MoveNext();
    }
    rs->Close();
    list() = std::move(alts);
}

AlternativeCollection& GetAlternatives()
{
    if (!list())
        LoadAlternatives();
    return *list();
}

std::shared_ptr<c51Alternative> GetAlternative(int key) { return GetAlternatives().Find(key); }

std::shared_ptr<c51Alternative> GetSelectedAlternative()
{
    const double v = textnum::LeadingNumber(core::Property_Get(kSelectedKey));
    if (!std::isfinite(v) || v < 0.5 || v > double(std::numeric_limits<int>::max()))
        return nullptr;
    const int key = textnum::RoundHalfEven(v);
    if (key < 1)
        return nullptr;
    return GetAlternative(key);
}

void SetSelectedAlternative(const c51Alternative& alt)
{
    core::Property_Set(kSelectedKey, QString::number(alt.ItemKey()));
}

int GetSelectedAlternativeKey()
{
    const auto alt = GetSelectedAlternative();
    return alt ? alt->ItemKey() : 0;
}

std::shared_ptr<c51Alternative> GetLeastCostAlternative()
{
    std::shared_ptr<c51Alternative> best;
    float bestCost = 0;
    for (const auto& alt : GetAlternatives()) {
        const float cost = alt->ExpectedCost();
        if (!best || cost < bestCost) {
            best = alt;
            bestCost = cost;
        }
    }
    return best;
}

QList<core::ListEntry> AlternativeListEntries() { return core::EntriesOf(GetAlternatives(), &c51Alternative::Label); }

void SaveAlternatives()
{
    if (!list())
        return;
    core::SaveAllOrNothing([] {
        for (const auto& alt : *list())
            alt->SaveChanges();
    });
}

void ClearAlternatives()
{
    list().reset();
    ClearExtremeOutcome();
    ClearOutcomeRows();
}

std::shared_ptr<c51Alternative> AddAlternative(const QString& name)
{
    auto& alts = GetAlternatives();
    int key = 0;
    {
        dao::Transaction trans(Db());
        key = core::NewItem(name, core::kAlternativesGroupKey);
        AddOutcomes(key);
        trans.commit();
    }
    auto alt = std::make_shared<c51Alternative>();
    alt->Initialize(key, name, QString(), core::kDefaultItemBody);
    alts.Remove(key);
    alts.Add(key, alt);
    return alt;
}

void DeleteAlternative(int key)
{
    const auto alt = GetAlternatives().Find(key);
    if (!alt)
        return;
    alt->Delete();
    GetAlternatives().Remove(key);
}

} // namespace model
