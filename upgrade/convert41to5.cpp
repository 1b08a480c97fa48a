#include "upgrade/convert.h"

#include "core/u19rowdata.h"
#include "core/u91trace.h"
#include "platform/dao/dao.h"
#include "platform/richtext/texttortf.h"
#include "upgrade/upgradeitems.h"

#include <QHash>

namespace upgrade {

namespace {

using dao::FieldType;

QString S(const char* text) { return QString::fromLatin1(text); }

// The empty document of the older planning component: it holds no text worth keeping.
const QString kEmptyBrevanRtf = QStringLiteral(
    "{\\rtf1\\ansi\\ansicpg1252\\uc0\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0\\fprq2 Arial;}}"
    "{\\colortbl;\\red0\\green0\\blue0;\\red255\\green255\\blue255;}\\deftab1134\\plain\\f0\\fs20 }");

void CreateBrevanTables(dao::Database& db)
{
    db.CreateTable(S("BrevanRatings"),
                   {{S("ItemKey"), FieldType::AutoNumber},
                    {S("RatingValue"), FieldType::Long},
                    {S("Description"), FieldType::Memo}},
                   {S("ItemKey")});
    db.CreateTable(S("BrevanResources"),
                   {{S("ItemKey"), FieldType::Long},
                    {S("ItemIndex"), FieldType::Long},
                    {S("ItemName"), FieldType::Memo},
                    {S("UnitsName"), FieldType::Memo},
                    {S("bTime"), FieldType::Boolean},
                    {S("UnitCost"), FieldType::Currency},
                    {S("Quantity"), FieldType::Long},
                    {S("TimePeriods"), FieldType::Long}},
                   {S("ItemKey")});
    db.CreateTable(S("BrevanContents"),
                   {{S("ItemKey"), FieldType::Long},
                    {S("ItemName"), FieldType::Memo},
                    {S("bNeeded"), FieldType::Boolean},
                    {S("bCompleted"), FieldType::Boolean},
                    {S("ParentKey"), FieldType::Long},
                    {S("ChildIndex"), FieldType::Long}},
                   {S("ItemKey")});
}

// Works from the keys the table held before the step, so every row moves at most once.
void RenumberItemKeys(dao::Database& db)
{
    static const QList<QPair<int, int>> kMoves = {
        {211, 52}, {212, 61}, {213, 62}, {214, 53}, {215, 55}, {216, 54}, {224, 57}, {231, 81}, {236, 88},
    };
    QList<int> present;
    {
        auto items = db.OpenRecordset(S("SELECT ItemKey FROM Items"));
        for (; !items->Eof(); items->MoveNext())
            present.append(items->Field(0).toInt());
    }
    for (const auto& [from, to] : kMoves) {
        if (present.contains(from))
            db.Execute(S("UPDATE Items SET ItemKey = ? WHERE ItemKey = ?"), {to, from});
    }
}

void AddTopicItem(dao::Recordset& items, int key, const QString& body)
{
    items.AddNew();
    items.SetField(S("ItemKey"), key);
    items.SetField(S("Body"), body);
    items.Update();
}

void CopyBrevan2Topics(dao::Database& db)
{
    static const int kKeys[] = {141, 143, 144, 145, 146, 151, 153};
    auto topics = db.OpenTable(S("Brevan2Topics"));
    auto items = db.OpenTable(S("Items"));
    if (topics->RecordCount() > 0) {
        for (topics->MoveFirst(); !topics->Eof(); topics->MoveNext()) {
            const QString body = core::GetFieldText(*topics, S("Body"));
            if (body.isEmpty())
                continue;
            const int key = core::GetFieldLong(*topics, S("Key"));
            if (key >= 1 && key <= 7)
                AddTopicItem(*items, kKeys[key - 1], richtext::TextToRTF(body));
        }
    }
    items->Close();
    topics->Close();
}

void CopyBrevan3Topics(dao::Database& db)
{
    // Old key -> Items key; which map holds depends on how many sections the old table kept.
    static const QHash<int, int> kMapA = {
        {2, 162}, {3, 172}, {4, 173}, {5, 169}, {6, 174}, {7, 167}, {8, 175},
        {9, 181}, {10, 182}, {11, 183}, {12, 187}, {13, 184}, {14, 185}, {16, 188},
    };
    static const QHash<int, int> kMapB = {
        {1, 162}, {2, 165}, {6, 167}, {7, 169}, {10, 172}, {11, 173}, {12, 174}, {13, 175},
        {14, 181}, {15, 182}, {16, 183}, {17, 187}, {18, 184}, {19, 185}, {20, 188},
    };
    auto topics = db.OpenTable(S("Brevan3Topics"));
    auto items = db.OpenTable(S("Items"));
    const int rows = topics->RecordCount();
    const QHash<int, int>* map = rows == 17 ? &kMapA : rows == 20 ? &kMapB : nullptr;
    if (map) {
        for (topics->MoveFirst(); !topics->Eof(); topics->MoveNext()) {
            const QString body = core::GetFieldText(*topics, S("Body"));
            if (body == kEmptyBrevanRtf)
                continue;
            const int key = core::GetFieldLong(*topics, S("Key"));
            if (map->contains(key))
                AddTopicItem(*items, map->value(key), body);
        }
    }
    items->Close();
    topics->Close();
}

} // namespace

void Convert41to5(dao::Database& db, dao::Recordset& properties)
{
    core::TraceStart(S("Convert41to5"));
    for (const char* table : {"BrevanAssessment", "BrevanRisk", "BrevanComplexity", "BrevanNeed",
                              "BrevanRevalidation", "BrevanContents"})
        db.DropTable(S(table));

    core::Trace(S("ChangeOutcomesTable"));
    db.AddField(S("Outcomes"), {S("SuccessRationale"), FieldType::Memo});

    CreateBrevanTables(db);
    RenumberItemKeys(db);
    CopyBrevan2Topics(db);
    CopyBrevan3Topics(db);
    db.DropTable(S("Brevan2Topics"));
    db.DropTable(S("Brevan3Topics"));

    detail::SetDataFormat(properties, S("05.01.02"));
    core::TraceFinished(S("Convert41to5"));
}

void Convert41to5()
{
    const auto file = detail::CurrentFile();
    Convert41to5(file.db, file.properties);
}

} // namespace upgrade
