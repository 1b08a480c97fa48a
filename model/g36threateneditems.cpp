#include "model/g36threateneditems.h"

#include "core/g0items.h"
#include "core/u19rowdata.h"
#include "model/g66itemimpacts.h"
#include "model/modeldata.h"
#include "model/rowvalues.h"
#include "model/textnumbers.h"

namespace model {

namespace {

std::unique_ptr<ThreatenedItemCollection>& list()
{
    static std::unique_ptr<ThreatenedItemCollection> l;
    return l;
}

} // namespace

void LoadThreatenedItems()
{
    auto items = std::make_unique<ThreatenedItemCollection>();
    // One read of both tables rather than two seeks per value at risk.
    dao::RowReader row(
        Db(),
        QStringLiteral("SELECT i.ItemKey AS ItemKey, i.ItemName AS ItemName, i.ItemText AS ItemText, "
                       "v.ItemKey IS NOT NULL AS HasRow, v.PotentialLoss AS PotentialLoss, "
                       "v.Probability AS Probability "
                       "FROM Items i LEFT JOIN ValuesAtRisk v ON v.ItemKey = i.ItemKey "
                       "WHERE i.ParentKey = ? ORDER BY i.ItemKey"),
        {core::kValuesAtRiskGroupKey});
    enum Column { KeyColumn, NameColumn, TextColumn, HasRowColumn, LossColumn, ProbabilityColumn };
    while (row.Next()) {
        const int key = rowvalue::Long(row, KeyColumn);
        if (items->Contains(key))
            continue;
        auto item = std::make_shared<c36ThreatenedItem>();
        item->InitializeWith(key, rowvalue::Text(row, NameColumn), rowvalue::Text(row, TextColumn),
                             rowvalue::Long(row, HasRowColumn) != 0, rowvalue::Single(row, LossColumn),
                             rowvalue::Long(row, ProbabilityColumn));
        items->Add(key, std::move(item));
    }
    list() = std::move(items);
}

ThreatenedItemCollection& GetThreatenedItems()
{
    if (!list())
        LoadThreatenedItems();
    return *list();
}

std::shared_ptr<c36ThreatenedItem> GetThreatenedItem(int key) { return GetThreatenedItems().Find(key); }

double TotalValueAtRisk()
{
    double total = 0;
    for (const auto& item : GetThreatenedItems())
        total += item->ValueAtRisk();
    return total;
}

QList<ThreatenedItemRow> ValuesAtRiskRows()
{
    QList<ThreatenedItemRow> rows;
    for (const auto& item : GetThreatenedItems())
        rows.append({ValuesAtRiskCells(*item), item});
    return rows;
}

QStringList ValuesAtRiskCells(c36ThreatenedItem& item)
{
    return {item.ItemName(), textnum::FormatWhole(item.PotentialLoss(), true), QString::number(item.Probability()),
            textnum::FormatWhole(item.ValueAtRisk(), true)};
}

QList<ThreatenedItemRow> ValueAtRiskSummaryRows()
{
    QList<ThreatenedItemRow> rows;
    for (const auto& item : GetThreatenedItems())
        rows.append({{item->ItemName(), textnum::FormatWhole(item->ValueAtRisk(), true)}, item});
    return rows;
}

void ClearThreatenedItems() { list().reset(); }

std::shared_ptr<c36ThreatenedItem> AddThreatenedItem(const QString& name)
{
    auto& items = GetThreatenedItems();
    const int key = core::NewItem(name, core::kValuesAtRiskGroupKey);
    // A key can come back after a delete in an earlier session: the new item starts clean.
    {
        dao::Transaction trans(Db());
        Db().Execute(QStringLiteral("DELETE FROM ValuesAtRisk WHERE ItemKey = ?"), {key});
        DeleteValuesProtectedForItem(key);
        DeleteItemImpactsForItem(key);
        trans.commit();
    }
    auto item = std::make_shared<c36ThreatenedItem>();
    item->Initialize(key, name);
    items.Remove(key);
    items.Add(key, item);
    return item;
}

void DeleteThreatenedItem(int key)
{
    // Items keys are shared by every kind of item: never delete one that is no value at risk.
    if (!GetThreatenedItems().Contains(key))
        return;
    {
        dao::Transaction trans(Db());
        DeleteItemImpactsForItem(key);
        DeleteValuesProtectedForItem(key);
        Db().Execute(QStringLiteral("DELETE FROM ValuesAtRisk WHERE ItemKey = ?"), {key});
        // Through the item cache, so a cached copy cannot write the row back later.
        core::DeleteItem(key);
        trans.commit();
    }
    list()->Remove(key);
}

void DeleteItemRecord(int key)
{
    auto rs = Db().OpenTable(QStringLiteral("Items"));
    rs->Seek(key);
    if (!rs->NoMatch())
        rs->Delete();
    rs->Close();
}

} // namespace model
