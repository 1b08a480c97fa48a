#include "upgrade/items4to41.h"

#include "core/g0items.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "core/u92utilities.h"
#include "platform/dao/dao.h"
#include "platform/richtext/texttortf.h"
#include "upgrade/upgradeitems.h"


namespace upgrade::detail {

namespace {

using dao::FieldType;

void AddGroupItem(dao::Recordset& items, int key, const QString& name)
{
    items.AddNew();
    items.SetField(QStringLiteral("ItemKey"), key);
    items.SetField(QStringLiteral("ItemName"), name);
    items.Update();
}

void CopyPropertyToItem(dao::Recordset& properties, dao::Recordset& items, int key, const QString& property,
                        const QString& itemName)
{
    const QString body = PropertyValue(properties, property);
    items.AddNew();
    items.SetField(QStringLiteral("ItemKey"), key);
    items.SetField(QStringLiteral("ItemName"), itemName);
    items.SetField(QStringLiteral("Body"), body);
    items.Update();
}

void CopyPropertyToTopic(dao::Recordset& properties, dao::Recordset& items, int key, const QString& property,
                         const QString& itemName, const QString& heading, int parentKey, int childIndex)
{
    const QString body = richtext::TextToRTF(PropertyValue(properties, property));
    items.AddNew();
    items.SetField(QStringLiteral("ItemKey"), key);
    items.SetField(QStringLiteral("ItemName"), itemName);
    items.SetField(QStringLiteral("Heading"), heading);
    items.SetField(QStringLiteral("Body"), body);
    items.SetField(QStringLiteral("ParentKey"), parentKey);
    items.SetField(QStringLiteral("ChildIndex"), childIndex);
    items.Update();
}

void CopyTableToItems(dao::Database& db, dao::Recordset& items, const QString& table, int parentKey,
                      const ItemSource& from)
{
    auto source = db.OpenTable(table);
    if (source->RecordCount() > 0) {
        int childIndex = 0;
        for (source->MoveFirst(); !source->Eof(); source->MoveNext()) {
            const int key = NewItemRow(db, items, QString(), parentKey);
            CopyRecordToItem(*source, items, key, from, childIndex);
            ++childIndex;
        }
    }
    source->Close();
}

} // namespace

void CreateItemsTable(dao::Database& db)
{
    core::Trace(QStringLiteral("CreateItemsTable"));
    db.CreateTable(QStringLiteral("Items"),
                   {{QStringLiteral("ItemKey"), FieldType::Long},
                    {QStringLiteral("ItemName"), FieldType::Memo},
                    {QStringLiteral("Heading"), FieldType::Memo},
                    {QStringLiteral("Body"), FieldType::Memo},
                    {QStringLiteral("ItemText"), FieldType::Memo},
                    {QStringLiteral("ParentKey"), FieldType::Long},
                    {QStringLiteral("ChildIndex"), FieldType::Long}},
                   {QStringLiteral("ItemKey")});
}

void AddGroups(dao::Recordset& items)
{
    core::Trace(QStringLiteral("AddGroups"));
    AddGroupItem(items, core::kRMAGroupKey, QStringLiteral("RMAs"));
    AddGroupItem(items, core::kSituationGroupKey, QStringLiteral("Situation Items"));
    AddGroupItem(items, core::kAlternativesGroupKey, QStringLiteral("Alternatives"));
    AddGroupItem(items, core::kSummaryGroupKey, QStringLiteral("Summary Items"));
}

void CopyPropertiesToItemsTable(dao::Recordset& properties, dao::Recordset& items)
{
    core::Trace(QStringLiteral("CopyPropertiesToItemsTable"));
    static const struct { int key; const char* property; const char* name; } kGeneral[] = {
        {11, "FireName", "Fire Name"},
        {211, "IncidentNumber", "Incident Number"},
        {212, "StartDate", "Start Date"},
        {213, "StartTime", "Start Time"},
        {214, "Jurisdiction", "Jurisdiction"},
        {215, "Area", "Geographic Area"},
        {216, "Unit", "Administrative Unit"},
        {217, "FiscalCode", "Accounting or Management Code"},
        {221, "TolmarNumber", "Tolmar Number"},
        {222, "TolmarDate", "Tolmar Date"},
        {223, "TolmarTime", "Tolmar Time"},
        {224, "CurrentFireSize", "Current Fire Size"},
    };
    for (const auto& g : kGeneral)
        CopyPropertyToItem(properties, items, g.key, QString::fromLatin1(g.property), QString::fromLatin1(g.name));

    const int situation = core::kSituationGroupKey;
    CopyPropertyToTopic(properties, items, 81, QStringLiteral("FuelConditions"), QStringLiteral("Fuel Conditions"),
                        QStringLiteral("Fuel Conditions"), situation, 1);
    AddEmptyTopicItem(items, 232, QStringLiteral("Topography"), QStringLiteral("Topography"), situation, 2);
    AddEmptyTopicItem(items, 233, QStringLiteral("Land Ownership in the Fire Area"),
                      QStringLiteral("Jurisdiction and Land Ownership in the Fire Area"), situation, 3);
    CopyPropertyToTopic(properties, items, 234, QStringLiteral("FireBehavior"), QStringLiteral("Fire Behavior"),
                        QStringLiteral("Fire Behavior - Current and Forecast"), situation, 4);
    CopyPropertyToTopic(properties, items, 235, QStringLiteral("WeatherConditions"),
                        QStringLiteral("Weather Conditions"),
                        QStringLiteral("Forecast Weather (3 and 10 day) and Current Seasonal Conditions"),
                        situation, 5);
    CopyPropertyToTopic(properties, items, 88, QStringLiteral("Resources"),
                        QStringLiteral("Suppression Resource Availability"),
                        QStringLiteral("National and Regional Fire Preparedness, "
                                       "and Suppression Resource Availability"),
                        situation, 6);
}

void CopyTolmarTopicsToItemsTable(dao::Database& db, dao::Recordset& items)
{
    core::Trace(QStringLiteral("CopyTolmarTopicsToItemsTable"));
    const int summary = core::kSummaryGroupKey;
    const ItemSource topic{QString(), QStringLiteral("Heading"), QStringLiteral("Body"), true, QString()};
    auto topics = db.OpenTable(QStringLiteral("TolmarTopics"));
    const auto copy = [&](int row, int key, int childIndex) {
        SeekOrThrow(*topics, row, QStringLiteral("TolmarTopics"));
        AddItemFromRecord(*topics, items, key, topic, summary, childIndex);
    };
    copy(1, core::kDecisionDescriptionKey, 1);
    copy(2, core::kDecisionRationaleKey, 2);
    AddEmptyTopicItem(items, 293, QStringLiteral("Tolmar revision thresholds"),
                      QStringLiteral("Tolmar revision or amendment thresholds and protocol"), summary, 3);
    AddEmptyTopicItem(items, 294, QStringLiteral("Critical Fire Management resources"),
                      QStringLiteral("Critical Fire Management resources (helicopters, crews, etc)"
                                     " estimated to implement the selected alternative"),
                      summary, 4);
    copy(3, 295, 5);
    copy(4, 296, 6);
    topics->Close();
}

void CopyAlternativesToItemsTable(dao::Database& db, dao::Recordset& properties, dao::Recordset& items)
{
    core::Trace(QStringLiteral("CopyAlternativesToItemsTable"));

    // Outcomes and the selection are re-pointed from what they held before this step, so that a
    // new key equal to a later alternative's old key does not move them a second time.
    QList<QPair<int, int>> outcomeParents;   // outcome key, old alternative key
    {
        auto outcomes = db.OpenRecordset(QStringLiteral("SELECT ItemKey, ParentKey FROM Outcomes"));
        for (; !outcomes->Eof(); outcomes->MoveNext())
            outcomeParents.append({outcomes->Field(0).toInt(), outcomes->Field(1).toInt()});
    }
    bool hasSelection = false;
    const int selected = PropertyValue(properties, QStringLiteral("SelectedAlternativeKey")).trimmed().toInt(&hasSelection);
    int newSelected = 0;
    bool selectionFound = false;

    const ItemSource alternative{QString(), QStringLiteral("Name"), QStringLiteral("Explanation"), true, QString()};
    auto alternatives = db.OpenTable(QStringLiteral("Alternatives"));
    if (alternatives->RecordCount() > 0) {
        int position = 1;
        for (alternatives->MoveFirst(); !alternatives->Eof(); alternatives->MoveNext()) {
            const int oldKey = core::GetFieldLong(*alternatives, QStringLiteral("Key"));
            const int newKey = NewItemRow(db, items, QString(), core::kAlternativesGroupKey);
            CopyRecordToItem(*alternatives, items, newKey, alternative, position);
            items.Edit();
            items.SetField(QStringLiteral("ItemName"), core::AlternativeLetters(position));
            items.Update();

            for (const auto& [outcomeKey, oldParent] : std::as_const(outcomeParents)) {
                if (oldParent == oldKey)
                    db.Execute(QStringLiteral("UPDATE Outcomes SET ParentKey = ? WHERE ItemKey = ?"),
                               {newKey, outcomeKey});
            }
            if (hasSelection && !selectionFound && selected == oldKey) {
                newSelected = newKey;
                selectionFound = true;
            }
            ++position;
        }
    }
    alternatives->Close();

    if (selectionFound)
        SetPropertyValue(properties, QStringLiteral("SelectedAlternativeKey"), QString::number(newSelected));
}

void CopyManagementGoalsAndListsToItems(dao::Database& db, dao::Recordset& items)
{
    CopyTableToItems(db, items, QStringLiteral("ManagementGoals"), core::kRMAGroupKey,
                     {QString(), QStringLiteral("ManagementArea"), QStringLiteral("Explanation"), true, QString()});
    CopyTableToItems(db, items, QStringLiteral("ListOfItems"), core::kValuesAtRiskGroupKey,
                     {QStringLiteral("Name"), QString(), QString(), true, QString()});
}

} // namespace upgrade::detail
