#include "upgrade/convert.h"

#include "core/costsource.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "platform/dao/dao.h"
#include "upgrade/upgradeitems.h"

namespace upgrade {

namespace {

using dao::FieldType;

QString S(const char* text) { return QString::fromLatin1(text); }

void ConvertItemsTo6(dao::Database& db)
{
    auto items = db.OpenTable(S("Items"));
    for (int key : {84, 86}) {
        items->Seek(key);
        if (items->NoMatch())
            continue;
        items->Edit();
        items->SetField(S("Body"), QString(""));
        items->Update();
    }

    items->AddNew();
    items->SetField(S("ItemKey"), 25);
    items->SetField(S("ItemName"), S("Safety Issues"));
    items->Update();
    const struct { int key; const char* name; int childIndex; } kSafety[] = {
        {37, "Firefighter Safety", 1}, {38, "Public Safety", 2}, {39, "Aviation Safety", 3}};
    for (const auto& s : kSafety) {
        items->AddNew();
        items->SetField(S("ItemKey"), s.key);
        items->SetField(S("ItemName"), S(s.name));
        items->SetField(S("ParentKey"), 25);
        items->SetField(S("ChildIndex"), s.childIndex);
        items->Update();
    }
    items->Close();
}

void SetOutcomeCostSources(dao::Database& db, dao::Recordset& properties)
{
    const QString level = detail::PropertyValue(properties, S("AnalysisLevel"));
    auto outcomes = db.OpenTable(S("Outcomes"));
    if (outcomes->RecordCount() > 0) {
        for (outcomes->MoveFirst(); !outcomes->Eof(); outcomes->MoveNext()) {
            if (core::GetFieldLong(*outcomes, S("ChildIndex")) == 2 && level == S("1")) {
                outcomes->Edit();
                outcomes->SetField(S("Success"), -1);
                outcomes->Update();
            }
            if (core::GetFieldSingle(*outcomes, S("AdjustedCost")) > 0) {
                outcomes->Edit();
                outcomes->SetField(S("CostSource"), core::StoredValue(core::CostSource::Entered));
                outcomes->Update();
                continue;
            }
            const int key = core::GetFieldLong(*outcomes, S("ItemKey"));
            auto uses = db.OpenRecordset(S("SELECT * FROM SRUses WHERE OutcomeKey = ?"), {key});
            if (!uses->Eof()) {
                outcomes->Edit();
                outcomes->SetField(S("CostSource"), core::StoredValue(core::CostSource::ResourceList));
                outcomes->Update();
            }
        }
    }
    outcomes->Close();
}

void CopyItemLossToValuesAtRisk(dao::Database& db)
{
    auto items = db.OpenRecordset(S("SELECT ItemKey FROM Items WHERE ParentKey = 23 ORDER BY ItemKey"));
    if (!items->Eof()) {
        auto impacts = db.OpenTable(S("ItemImpacts"));
        auto values = db.OpenTable(S("ValuesAtRisk"));
        for (; !items->Eof(); items->MoveNext()) {
            const int key = core::GetFieldLong(*items, S("ItemKey"));
            impacts->Seek(1, key);
            if (impacts->NoMatch())
                continue;
            values->AddNew();
            values->SetField(S("ItemKey"), key);
            const float loss = core::GetFieldSingle(*impacts, S("ItemLoss"));
            if (loss > 0)
                values->SetField(S("PotentialLoss"), loss);
            values->SetField(S("Probability"), 95);
            values->Update();
        }
        values->Close();
        impacts->Close();
    }
    items->Close();
}

} // namespace

void Convert5to6(dao::Database& db, dao::Recordset& properties)
{
    core::TraceStart(S("Convert5to6"));
    ConvertItemsTo6(db);
    SetOutcomeCostSources(db, properties);
    db.CreateTable(S("ValuesAtRisk"),
                   {{S("ItemKey"), FieldType::Long},
                    {S("PotentialLoss"), FieldType::Single},
                    {S("Probability"), FieldType::Integer}},
                   {S("ItemKey")});
    db.CreateTable(S("ValuesProtected"),
                   {{S("OutcomeKey"), FieldType::Long},
                    {S("ItemKey"), FieldType::Long},
                    {S("Protection"), FieldType::Integer},
                    {S("Description"), FieldType::Memo}},
                   {S("OutcomeKey"), S("ItemKey")});
    CopyItemLossToValuesAtRisk(db);
    db.AddField(S("Outcomes"), {S("DailyContainCost"), FieldType::Single});
    db.AddField(S("Outcomes"), {S("DailyControlCost"), FieldType::Single});

    detail::SetDataFormat(properties, S("06.01.01"));
    core::TraceFinished(S("Convert5to6"));
}

void Convert5to6()
{
    const auto file = detail::CurrentFile();
    Convert5to6(file.db, file.properties);
}

} // namespace upgrade
