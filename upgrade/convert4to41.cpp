#include "upgrade/convert.h"

#include "core/costsource.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "platform/dao/dao.h"
#include "platform/richtext/texttortf.h"
#include "upgrade/items4to41.h"
#include "upgrade/upgradeitems.h"

#include <QHash>

#include <functional>
#include <limits>

namespace upgrade {

namespace {

using dao::FieldType;
using detail::SeekOrThrow;

QString S(const char* text) { return QString::fromLatin1(text); }

// An empty value on either side is no difference: the stored total then stands as it is.
bool Differs(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return false;
    return a.toDouble() != b.toDouble();
}

void AddOutcomeItemFields(dao::Database& db)
{
    const QList<dao::FieldDef> fields = {
        {S("ItemKey"), FieldType::Long},      {S("ItemName"), FieldType::Memo},
        {S("ParentKey"), FieldType::Long},    {S("ChildIndex"), FieldType::Long},
        {S("Description"), FieldType::Memo},  {S("AdjustedCost"), FieldType::Currency},
        {S("CostRationale"), FieldType::Memo},
    };
    for (const auto& field : fields)
        db.AddField(S("Outcomes"), field);
}

void CopyOutcomeFields(dao::Database& db)
{
    auto outcomes = db.OpenTable(S("Outcomes"));
    if (outcomes->RecordCount() > 0) {
        for (outcomes->MoveFirst(); !outcomes->Eof(); outcomes->MoveNext()) {
            const int alternative = core::GetFieldLong(*outcomes, S("AlternativeKey"));
            const int number = core::GetFieldLong(*outcomes, S("OutcomeNumber"));
            const qint64 key = qint64(alternative) * 10 + number;
            if (key > std::numeric_limits<qint32>::max() || key < std::numeric_limits<qint32>::min())
                throw dao::Error(dao::Error::Kind::Generic,
                                 QStringLiteral("Outcome key overflow: alternative %1, outcome %2")
                                     .arg(alternative)
                                     .arg(number));

            outcomes->Edit();
            outcomes->SetField(S("ItemKey"), int(key));
            outcomes->SetField(S("ItemName"), outcomes->Field(S("Name")));
            outcomes->SetField(S("ParentKey"), alternative);
            outcomes->SetField(S("ChildIndex"), number);
            outcomes->SetField(S("Description"), richtext::TextToRTF(core::GetFieldText(*outcomes, S("Explanation"))));

            const int source = core::GetFieldLong(*outcomes, S("CostSource"));
            const QVariant total = outcomes->Field(S("SuppressionCosts"));
            bool entered = true;
            if (source == core::StoredValue(core::CostSource::BySize))
                entered = Differs(total, outcomes->Field(S("CostBySize")));
            else if (source == core::StoredValue(core::CostSource::ResourceList))
                entered = Differs(total, outcomes->Field(S("ResourceCosts")));
            if (entered) {
                outcomes->SetField(S("CostSource"), core::StoredValue(core::CostSource::Entered));
                outcomes->SetField(S("AdjustedCost"), total);
            }
            outcomes->Update();
        }
    }
    outcomes->Close();
}

void ConvertOutcomesTable(dao::Database& db)
{
    core::Trace(S("ConvertOutcomesTable"));
    AddOutcomeItemFields(db);
    CopyOutcomeFields(db);
    db.DropIndex(S("Outcomes"), S("PrimaryKey"));
    db.CreateIndex(S("Outcomes"), S("PrimaryKey"), {S("ItemKey")}, true, true);
    for (const char* field : {"AlternativeKey", "OutcomeNumber", "Name", "Explanation", "CostBySize", "ResourceCount",
                              "AdjustPercent", "AdjustAmount", "ResourceCosts", "SuppressionCosts",
                              "ListedItemCount", "ListedItemNVC", "TotalScore", "Percent"})
        db.DropField(S("Outcomes"), S(field));
}

// Builds the new table, copies every old row into it, then drops the old table.
void ReplaceTable(dao::Database& db, const QString& oldTable, const QString& newTable,
                  const QList<dao::FieldDef>& fields, const QStringList& primaryKey,
                  const std::function<void(dao::Recordset& from, dao::Recordset& to, int row)>& copyRow)
{
    db.CreateTable(newTable, fields, primaryKey);
    auto from = db.OpenTable(oldTable);
    if (from->RecordCount() > 0) {
        auto to = db.OpenTable(newTable);
        int row = 1;
        for (from->MoveFirst(); !from->Eof(); from->MoveNext(), ++row) {
            to->AddNew();
            copyRow(*from, *to, row);
            to->Update();
        }
        to->Close();
    }
    from->Close();
    db.DropTable(oldTable);
}

void ConvertSRTypesTable(dao::Database& db)
{
    core::Trace(S("ConvertSRTypesTable"));
    ReplaceTable(db, S("SRMasterList"), S("SRTypes"),
                 {{S("ItemKey"), FieldType::AutoNumber},
                  {S("ParentKey"), FieldType::Long},
                  {S("ChildIndex"), FieldType::Long},
                  {S("LongName"), FieldType::Memo},
                  {S("ShortName"), FieldType::Memo},
                  {S("UnitType"), FieldType::Memo},
                  {S("UnitName"), FieldType::Memo},
                  {S("UnitCost"), FieldType::Currency}},
                 {S("ItemKey")}, [](dao::Recordset& from, dao::Recordset& to, int) {
                     to.SetField(S("ItemKey"), from.Field(S("Key")));
                     to.SetField(S("ChildIndex"), from.Field(S("Sequence")));
                     to.SetField(S("LongName"), from.Field(S("LongName")));
                     to.SetField(S("ShortName"), from.Field(S("ShortName")));
                     to.SetField(S("UnitType"), from.Field(S("UnitType")));
                     to.SetField(S("UnitName"), from.Field(S("Units")));
                     to.SetField(S("UnitCost"), from.Field(S("Cost")));
                 });
}

void ConvertSRUsesTable(dao::Database& db)
{
    core::Trace(S("ConvertSRUsesTable"));
    ReplaceTable(db, S("SuppressionResources"), S("SRUses"),
                 {{S("ItemKey"), FieldType::Long},
                  {S("OutcomeKey"), FieldType::Long},
                  {S("ItemIndex"), FieldType::Long},
                  {S("SRTypeKey"), FieldType::Long},
                  {S("Quantity"), FieldType::Long},
                  {S("Periods"), FieldType::Long}},
                 {S("ItemKey")}, [](dao::Recordset& from, dao::Recordset& to, int row) {
                     to.SetField(S("ItemKey"), row);
                     to.SetField(S("OutcomeKey"), from.Field(S("OutcomeKey")));
                     to.SetField(S("ItemIndex"), from.Field(S("SequenceNumber")));
                     to.SetField(S("SRTypeKey"), from.Field(S("ResourceKey")));
                     to.SetField(S("Quantity"), from.Field(S("Quantity")));
                     to.SetField(S("Periods"), from.Field(S("Periods")));
                 });
}

void ConvertItemImpactsTable(dao::Database& db)
{
    core::Trace(S("ConvertItemImpactsTable"));
    ReplaceTable(db, S("ListedItemImpacts"), S("ItemImpacts"),
                 {{S("OutcomeKey"), FieldType::Long},
                  {S("ItemKey"), FieldType::Long},
                  {S("ItemLoss"), FieldType::Currency}},
                 {S("OutcomeKey"), S("ItemKey")}, [](dao::Recordset& from, dao::Recordset& to, int) {
                     to.SetField(S("OutcomeKey"), from.Field(S("OutcomeKey")));
                     to.SetField(S("ItemKey"), from.Field(S("ItemKey")));
                     // A gain was stored positive; the new table holds losses.
                     const float gain = core::GetFieldSingle(from, S("GainLoss"));
                     if (gain != 0.0f)
                         to.SetField(S("ItemLoss"), -gain);
                 });
}

void ConvertObjectivesTable(dao::Database& db)
{
    core::Trace(S("ConvertObjectivesTable"));
    auto objectives = db.OpenTable(S("Objectives"));
    if (objectives->RecordCount() > 0) {
        for (objectives->MoveFirst(); !objectives->Eof(); objectives->MoveNext()) {
            const QString explanation = core::GetFieldText(*objectives, S("Explanation"));
            objectives->Edit();
            objectives->SetField(S("Explanation"), richtext::TextToRTF(explanation));
            objectives->Update();
        }
    }
    // Node 3 is the first category of every full file; a file without it must not link to it,
    // or the tree would show an objective that has no row.
    objectives->Seek(3);
    const int firstCategory = objectives->NoMatch() ? 0 : 3;
    SeekOrThrow(*objectives, 1, S("Objectives"));
    objectives->Edit();
    objectives->SetField(S("Name"), S("Objectives"));
    objectives->SetField(S("ChildKey"), firstCategory);
    objectives->Update();
    SeekOrThrow(*objectives, 2, S("Objectives"));
    objectives->Edit();
    objectives->SetField(S("ParentKey"), 0);
    objectives->SetField(S("SiblingKey"), 0);
    objectives->Update();
    objectives->Close();
}

void ConvertRatingsTable(dao::Database& db)
{
    core::Trace(S("ConvertRatingsTable"));
    db.AddField(S("Scores"), {S("Description"), FieldType::Memo});
}

// Impact rows point at list rows by their old keys; the lists now live in Items under 23, one
// row per list row in the same order. All rows are taken from what they held before this step,
// and replaced as a whole, so that no row is moved twice and no key meets itself half-way.
void RenumberItemImpactKeys(dao::Database& db)
{
    QHash<int, int> newKeyOf;
    {
        auto list = db.OpenTable(S("ListOfItems"));
        if (list->RecordCount() == 0)
            return;
        auto items = db.OpenRecordset(S("SELECT ItemKey FROM Items WHERE ParentKey = 23 ORDER BY ChildIndex, ItemKey"));
        for (list->MoveFirst(); !list->Eof() && !items->Eof(); list->MoveNext(), items->MoveNext())
            newKeyOf.insert(core::GetFieldLong(*list, S("Key")), items->Field(0).toInt());
    }

    struct Impact { QVariant outcome; int item; QVariant loss; };
    QList<Impact> moved;
    {
        auto impacts = db.OpenRecordset(S("SELECT OutcomeKey, ItemKey, ItemLoss FROM ItemImpacts"));
        for (; !impacts->Eof(); impacts->MoveNext()) {
            const int item = impacts->Field(1).toInt();
            if (newKeyOf.contains(item))
                moved.append({impacts->Field(0), item, impacts->Field(2)});
        }
    }
    for (const Impact& impact : std::as_const(moved))
        db.Execute(S("DELETE FROM ItemImpacts WHERE OutcomeKey = ? AND ItemKey = ?"), {impact.outcome, impact.item});
    auto impacts = db.OpenTable(S("ItemImpacts"));
    for (const Impact& impact : std::as_const(moved)) {
        impacts->AddNew();
        impacts->SetField(S("OutcomeKey"), impact.outcome);
        impacts->SetField(S("ItemKey"), newKeyOf.value(impact.item));
        impacts->SetField(S("ItemLoss"), impact.loss);
        impacts->Update();
    }
    impacts->Close();
}

} // namespace

void Convert4to41(dao::Database& db, dao::Recordset& properties)
{
    core::TraceStart(S("Convert4to41"));
    ConvertOutcomesTable(db);
    ConvertSRTypesTable(db);
    ConvertSRUsesTable(db);
    ConvertItemImpactsTable(db);
    ConvertObjectivesTable(db);
    ConvertRatingsTable(db);
    detail::CreateItemsTable(db);
    {
        auto items = db.OpenTable(S("Items"));
        detail::AddGroups(*items);
        detail::CopyPropertiesToItemsTable(properties, *items);
        detail::CopyTolmarTopicsToItemsTable(db, *items);
        detail::CopyAlternativesToItemsTable(db, properties, *items);
        detail::CopyManagementGoalsAndListsToItems(db, *items);
        items->Close();
    }
    RenumberItemImpactKeys(db);

    detail::SetDataFormat(properties, S("04.01.01"));
    detail::SetPropertyValue(properties, S("ProgramID"), S("Standard"));
    core::TraceFinished(S("Convert4to41"));
}

void Convert4to41()
{
    const auto file = detail::CurrentFile();
    Convert4to41(file.db, file.properties);
}

} // namespace upgrade
