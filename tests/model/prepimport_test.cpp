#include "model/prepimport.h"

#include "core/g0items.h"
#include "core/g13rmas.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g33fmus.h"
#include "model/g38srtypes.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/prepfile.h"
#include "platform/richtext/emptybody.h"
#include "platform/richtext/rtf.h"
#include "support/fulldisk.h"
#include "support/prepfixture.h"

#include <QCoreApplication>
#include <QFile>

using namespace model;
using testsupport::FileBytes;

namespace {

class PrepImportTest : public PrepFixture {
protected:
    void TearDown() override
    {
        prep.reset();
        PrepFixture::TearDown();
    }

    void open(const QStringList& extra = {}, const QString& name = "unit.fcd")
    {
        prep = PrepFile::Open(writePrep(name, extra));
        ASSERT_NE(prep, nullptr);
    }

    // The rows of a query on the data file, each row's fields joined by "|".
    QStringList rows(const QString& sql, const QVariantList& params = {})
    {
        QStringList out;
        auto rs = db().OpenRecordset(sql, params);
        for (; !rs->Eof(); rs->MoveNext()) {
            QStringList fields;
            for (int i = 0; i < rs->FieldCount(); ++i)
                fields << rs->Field(i).toString();
            out << fields.join('|');
        }
        return out;
    }
    int count(const QString& sql, const QVariantList& params = {}) { return rows(sql, params).value(0).toInt(); }

    std::unique_ptr<PrepFile> prep;
};

TEST_F(PrepImportTest, AreasBecomeTopicsAndUnitsBecomeFMUsWithTheirTables)
{
    // Outcomes already in the file: two alternatives (one with a Fallback) and the Extreme.
    auto a = model::AddAlternative("A");
    a->Outcome(model::OutcomeKind::Fallback)->SetbShow(true);
    model::AddAlternative("B");
    model::GetExtremeOutcome();
    model::SaveAlternatives();
    const int outcomes = count("SELECT COUNT(*) FROM Outcomes");
    ASSERT_GE(outcomes, 5);
    open();

    ASSERT_TRUE(ImportFromPrep(*prep, {1, 2, 5}, {702, 1201})) << prompter.messages().value(0).text.toStdString();
    EXPECT_TRUE(prompter.messages().isEmpty());

    const QList<core::c0Item*> rmas = core::GetRMAs();
    ASSERT_EQ(rmas.size(), 3);
    EXPECT_EQ(rmas[0]->Heading(), "Upper Watershed");
    EXPECT_EQ(richtext::RtfToPlainText(rmas[0]->Body()),
              "Protect the municipal water supply.\r\nKeep fire out of the riparian corridor.");
    EXPECT_EQ(rmas[1]->Body(), richtext::kEmptyBody);
    // Backslashes, braces, a lone line feed and characters beyond ASCII come through as typed.
    EXPECT_EQ(richtext::RtfToPlainText(rmas[2]->Body()),
              QString::fromUtf8("Files in C:\\archive\\sites {map 3}\r\nCrête – sacred ground ✓"));
    EXPECT_TRUE(rmas[2]->Body().endsWith("\\par }"));

    const QStringList fmus = rows("SELECT \"Key\", FMZCode, Name FROM FMZList ORDER BY \"Key\"");
    ASSERT_EQ(fmus.size(), 2);
    EXPECT_TRUE(fmus[0].endsWith("||North-2")) << fmus[0].toStdString();
    EXPECT_TRUE(fmus[1].endsWith("||South-1")) << fmus[1].toStdString();
    const struct {
        int key;
        int zone;
    } imported[] = {{fmus[0].section('|', 0, 0).toInt(), 7}, {fmus[1].section('|', 0, 0).toInt(), 12}};
    for (const auto& f : imported) {
        SCOPED_TRACE(f.zone);
        const QStringList cost = rows("SELECT Sequence, TopSize, Cost FROM SuppressionPerAcreCost WHERE FMZKey = ? "
                                      "ORDER BY Sequence", {f.key});
        ASSERT_EQ(cost.size(), 9);
        EXPECT_EQ(cost[1], QString("2|400|%1").arg(900 + f.zone));
        EXPECT_EQ(cost[8], QString("9|0|%1").arg(550 + f.zone));
        const QStringList nvc = rows("SELECT ResourceNumber, FIL1, FIL2, FIL3, FIL4, FIL5, FIL6 FROM NVCPerAcre "
                                     "WHERE FMZKey = ? ORDER BY ResourceNumber", {f.key});
        ASSERT_EQ(nvc.size(), 14);
        EXPECT_EQ(nvc[13], QString("14|5|0|-14|-28|%1|-63").arg(-42 - f.zone));
        // One burn-area row under every outcome, the shared Extreme outcome included.
        EXPECT_EQ(count("SELECT COUNT(*) FROM OutcomeFMZs WHERE FMZKey = ?", {f.key}), outcomes);
        EXPECT_EQ(count("SELECT COUNT(*) FROM Outcomes o WHERE NOT EXISTS (SELECT 1 FROM OutcomeFMZs z "
                        "WHERE z.OutcomeKey = o.ItemKey AND z.FMZKey = ?)", {f.key}), 0);
    }
    EXPECT_EQ(model::FMUCount(), 2);
    EXPECT_EQ(core::Property_Get("ImportFCD"), "unit.fcd");
}

TEST_F(PrepImportTest, TheMasterListReplacesTheTypesOnlyOnTheFirstImportWithoutResourceLines)
{
    struct Case {
        const char* name;
        QString importFCD;      // "ImportFCD" before the import
        bool resourceLine;      // an SRUses row before the import
        bool replaced;
    } const cases[] = {
        {"first import", "", false, true},
        {"after an earlier import", "other.fcd", false, false},
        {"with resource lines", "", true, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reopen();
        db().Execute("DELETE FROM SRTypes");
        db().Execute("DELETE FROM SRUses");
        db().Execute("INSERT INTO SRTypes (ChildIndex, LongName, ShortName, UnitType, UnitName, UnitCost) "
                     "VALUES (1, 'Own Dozer', 'Dozer', 'time', 'hour', 250)");
        if (c.resourceLine)
            db().Execute("INSERT INTO SRUses (ItemKey, OutcomeKey, ItemIndex, SRTypeKey, Quantity, Periods) "
                         "VALUES (1, 1, 1, 1, 2, 3)");
        if (!c.importFCD.isEmpty())
            core::Property_Set("ImportFCD", c.importFCD);
        core::Property_Set("SRDataSource", "own notes");
        model::ClearSRTypes();
        EXPECT_EQ(model::GetSRDataSource(), "own notes");
        open();

        ASSERT_TRUE(ImportFromPrep(*prep, {}, {}));

        const QStringList types = rows("SELECT ChildIndex, ParentKey, LongName, ShortName, UnitType, UnitName, "
                                       "UnitCost FROM SRTypes ORDER BY ChildIndex");
        if (c.replaced) {
            EXPECT_EQ(types, QStringList({"1|1|Type 1 Hand Crew|T1 Crew|time|shift|12500",
                                          "2|2|Type 3 Engine|T3 Eng|time|shift|3200.5",
                                          "3|3|Retardant, long-term|Retardant|item|gallon|2.85"}));
            EXPECT_EQ(model::GetSRDataSource(), "Kestrel Valley cost guide 2026");
        } else {
            EXPECT_EQ(types, QStringList({"1||Own Dozer|Dozer|time|hour|250"}));
            EXPECT_EQ(model::GetSRDataSource(), "own notes");
        }
        EXPECT_EQ(core::Property_Get("ImportFCD"), "unit.fcd");
        prep.reset();
    }
}

TEST_F(PrepImportTest, AnEmptyMasterListMattersOnlyWhenItWouldBeImported)
{
    db().Execute("INSERT INTO SRTypes (ChildIndex, LongName, UnitType, UnitCost) VALUES (1, 'Own Dozer', 'time', 250)");
    open({"DELETE FROM SRMasterList"});
    const QByteArray before = FileBytes(path());
    EXPECT_FALSE(ImportFromPrep(*prep, {1}, {701}));
    EXPECT_EQ(FileBytes(path()), before);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text,
              "The Prep file unit.fcd cannot be imported.\r\nIts suppression resource master list is empty, and "
              "importing it would empty the resource list of this analysis.\r\nNothing has been imported.");

    core::Property_Set("ImportFCD", "earlier.fcd");
    prompter.clear();
    EXPECT_TRUE(ImportFromPrep(*prep, {1}, {701}));
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(rows("SELECT LongName FROM SRTypes"), QStringList({"Own Dozer"}));
    EXPECT_EQ(core::GetRMAs().size(), 1);
}

// A new analysis without resource types loses none to an empty master list: its areas and
// units come in, and the list stays empty.
TEST_F(PrepImportTest, AnEmptyMasterListImportsIntoAnAnalysisWithoutResourceTypes)
{
    db().Execute("DELETE FROM SRTypes");
    open({"DELETE FROM SRMasterList"});
    ASSERT_TRUE(ImportFromPrep(*prep, {1}, {701})) << prompter.messages().value(0).text.toStdString();
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(core::GetRMAs().size(), 1);
    EXPECT_EQ(model::FMUCount(), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM SRTypes"), 0);
    EXPECT_EQ(core::Property_Get("ImportFCD"), "unit.fcd");
}

TEST_F(PrepImportTest, AFaultLeavesTheDataFileAsItWasAndSaysWhere)
{
    struct Case {
        const char* name;
        QStringList prepDamage;
        QList<int> areas;
        QList<qint64> units;
        QString fault;
    } const cases[] = {
        {"missing cost rows", {"DELETE FROM SuppressionPerAcreCost WHERE FMZKey = 7 AND Sequence IN (4, 9)"},
         {1}, {1201, 702}, "Zone \"North\" lacks its cost per acre for size classes 4, 9."},
        {"missing NVC row", {"DELETE FROM NVCPerAcre WHERE FMZKey = 12 AND ResourceNumber = 14"},
         {}, {701, 1201}, "Zone \"South\" lacks its NVC rows for resources 14."},
        {"too many units", {"UPDATE FMZList SET RLCount = 150 WHERE \"Key\" = 7"},
         {2}, {703}, "Zone \"North\" claims 150 fire management units; at most 99 can be imported."},
        {"unknown zone", {}, {}, {701, 9901}, "It has no zone with the key 99."},
        {"unit beyond the zone", {}, {}, {704}, "Zone \"North\" has no fire management unit number 4."},
        {"unknown area", {}, {1, 42}, {}, "It has no resource management area with the key 42."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prep.reset();
        open(c.prepDamage);
        prompter.clear();
        const QByteArray before = FileBytes(path());

        EXPECT_FALSE(ImportFromPrep(*prep, c.areas, c.units));

        EXPECT_EQ(FileBytes(path()), before);
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0].text,
                  "The Prep file unit.fcd cannot be imported.\r\n" + c.fault + "\r\nNothing has been imported.");
        EXPECT_TRUE(core::GetRMAs().isEmpty());
        EXPECT_EQ(model::FMUCount(), 0);
    }
}

TEST_F(PrepImportTest, ADatabaseErrorHalfWayRollsEverythingBack)
{
    model::AddAlternative("A");
    model::SaveAlternatives();
    // The file loses a table the import writes last, after areas, FMUs and the master list.
    db().DropTable("NVCPerAcre");
    const QByteArray before = FileBytes(path());
    const int nextKey = std::max(core::GetMaxKey("Items", "ItemKey"), core::kLastFixedItemKey) + 1;
    open();

    EXPECT_FALSE(ImportFromPrep(*prep, {1, 5}, {701, 702}));

    EXPECT_EQ(FileBytes(path()), before);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.startsWith(
        "The Prep file unit.fcd cannot be imported.\r\nThe data file Fire1.tlm refused a change: "));
    // Nothing of the lost import lingers in the caches, and keys handed out are handed out again.
    EXPECT_TRUE(core::GetRMAs().isEmpty());
    EXPECT_EQ(model::FMUCount(), 0);
    EXPECT_EQ(model::GetSRDataSource(), "");
    EXPECT_EQ(core::NewItem("next", core::kRMAGroupKey), nextKey);
}

// The disk under the data file fills up: the import says so and leaves the file as it was, and
// once there is room again the same import is made whole.
TEST_F(PrepImportTest, AFullDiskLeavesTheDataFileAsItWasUntilThereIsRoom)
{
    testsupport::FullDisk disk(tempDir());
    reopen();   // on the disk
    open();
    const QByteArray before = FileBytes(path());
    disk.fill();
    EXPECT_FALSE(ImportFromPrep(*prep, {1, 5}, {701, 702}));
    disk.empty();
    EXPECT_GT(disk.refusedWrites(), 0);
    EXPECT_EQ(FileBytes(path()), before);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.startsWith("The Prep file unit.fcd cannot be imported.\r\n"));
    EXPECT_TRUE(prompter.messages()[0].text.contains("database or disk is full")) << prompter.messages()[0].text.toStdString();
    EXPECT_TRUE(core::GetRMAs().isEmpty());
    EXPECT_EQ(model::FMUCount(), 0);

    ASSERT_TRUE(ImportFromPrep(*prep, {1, 5}, {701, 702}));
    EXPECT_EQ(core::GetRMAs().size(), 2);
    EXPECT_EQ(model::FMUCount(), 2);
    prep.reset();
    core::CloseDatafile();   // before the disk goes
}

} // namespace

namespace {

// The sample Prep files built beside the program offer whole units: every area, every unit
// with all its rows, and a full master list import at once.
TEST_F(PrepImportTest, TheSamplePrepFilesImportWhole)
{
    const QString samples = core::JoinPath(QCoreApplication::applicationDirPath(), "Costs");
    const QList<PrepFileEntry> list = BuildFCDFileList(samples);
    ASSERT_EQ(list, QList<PrepFileEntry>({{"Cedar Basin.fcd", "Cedar Basin Ranger District"},
                                          {"Red Mesa.fcd", "Red Mesa Field Office"}}));
    for (const PrepFileEntry& entry : list) {
        SCOPED_TRACE(entry.FileName.toStdString());
        // Back to an analysis that has never imported.
        for (const char* table : {"Items WHERE ParentKey = 21", "FMZList", "OutcomeFMZs",
                                  "SuppressionPerAcreCost WHERE FMZKey > 0", "NVCPerAcre WHERE FMZKey > 0"})
            db().Execute(QStringLiteral("DELETE FROM ") + table);
        core::Property_Set("ImportFCD", "");
        core::ClearItems();
        model::ClearFMUs();
        ASSERT_TRUE(QFile::copy(core::JoinPath(samples, entry.FileName), core::JoinPath(costs(), entry.FileName)));
        prep = PrepFile::Open(core::JoinPath(costs(), entry.FileName));
        ASSERT_NE(prep, nullptr);
        EXPECT_EQ(prep->Areas().size(), 4);
        EXPECT_GE(prep->Zones().size(), 3);
        EXPECT_GE(prep->MasterList().size(), 30);
        QList<int> areas;
        for (const PrepArea& a : prep->Areas())
            areas << a.Key;
        QList<qint64> units;
        for (const PrepFMUEntry& u : prep->FMUEntries())
            units << u.Code;

        ASSERT_TRUE(ImportFromPrep(*prep, areas, units));

        EXPECT_EQ(core::GetRMAs().size(), 4);
        EXPECT_EQ(model::FMUCount(), units.size());
        EXPECT_EQ(count("SELECT COUNT(*) FROM SuppressionPerAcreCost WHERE FMZKey > 0"), 9 * units.size());
        EXPECT_EQ(count("SELECT COUNT(*) FROM NVCPerAcre WHERE FMZKey > 0"), 14 * units.size());
        EXPECT_EQ(count("SELECT COUNT(*) FROM SRTypes"), prep->MasterList().size());
        // Losses are negative and grow with the fire's intensity.
        EXPECT_EQ(count("SELECT COUNT(*) FROM NVCPerAcre WHERE FMZKey > 0 AND FIL6 > FIL3"), 0);
        prep.reset();
    }
}

} // namespace
