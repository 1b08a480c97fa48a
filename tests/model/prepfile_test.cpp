#include "model/prepfile.h"

#include "core/u91trace.h"
#include "platform/dao/dao.h"
#include "support/prepfixture.h"

#include <QFile>
#include <QMap>

using namespace model;
using testsupport::FileBytes;
using prepfixture::SetFormat;

namespace {

const QString kUnit = QStringLiteral("Kestrel Valley District");
const QString kIncompatible = QStringLiteral("The file uses an incompatible format.  It cannot be opened.");
const QString kNotPrep = QStringLiteral("The file does not appear to be a Tolmar Prep file.\r\nIt cannot be opened.");

class PrepFileTest : public PrepFixture {
protected:
    // One file of each kind the costs folder may hold, with the bytes each had when written.
    void writeEveryKind()
    {
        writePrep("a 4.01.01.fcd");
        writePrep("b 4.00.00.fcd", {SetFormat("4.00.00")});
        writePrep("c 3.92.00.fcd", {SetFormat("3.92.00")});
        writePrep("d 3.00.00.fcd", {SetFormat("3.00.00"), "DROP TABLE ManagementGoals"});
        writePrep("e unknown.fcd", {SetFormat("7.00.00")});
        writePrep("f no format.fcd", {"DELETE FROM Properties WHERE Property = 'DataFormatID'"});
        writePrep("g no unit.fcd", {"DELETE FROM Properties WHERE Property = 'UnitName'"});
        writePrep("h no zones.fcd", {"DROP TABLE FMZList"});
        QFile text(core::JoinPath(costs(), "i text.fcd"));
        ASSERT_TRUE(text.open(QIODevice::WriteOnly));
        text.write("Unit: Kestrel Valley\r\nThis is not a database.\r\n");
        text.close();
        writePrep("j locked.fcd");
        writePrep("k notes.txt");
        for (const QString& name : QDir(costs()).entryList(QDir::Files))
            bytes[name] = FileBytes(core::JoinPath(costs(), name));
    }
    void expectAllUnchanged()
    {
        for (auto it = bytes.cbegin(); it != bytes.cend(); ++it)
            EXPECT_EQ(FileBytes(core::JoinPath(costs(), it.key())), it.value()) << it.key().toStdString();
    }
    // Held open for writing, as the program that prepares Prep files would hold it.
    std::unique_ptr<dao::Database> lock(const QString& name)
    {
        return dao::Database::Open(core::JoinPath(costs(), name), {.exclusive = true, .readOnly = false});
    }
    QString traceLog() const
    {
        QFile log(core::JoinPath(core::LogFolder(), "Tolmar.LOG"));
        return log.open(QIODevice::ReadOnly) ? QString::fromUtf8(log.readAll()) : QString();
    }

    QMap<QString, QByteArray> bytes;
};

TEST_F(PrepFileTest, ListsEveryPrepFileWithItsUnitAndWritesNone)
{
    writeEveryKind();
    auto holder = lock("j locked.fcd");

    const QList<PrepFileEntry> list = BuildFCDFileList(costs());

    const QList<PrepFileEntry> expected = {
        {"a 4.01.01.fcd", kUnit}, {"b 4.00.00.fcd", kUnit}, {"c 3.92.00.fcd", kUnit}, {"d 3.00.00.fcd", kUnit},
        {"e unknown.fcd", kUnit}, {"f no format.fcd", kUnit}, {"g no unit.fcd", ""}, {"h no zones.fcd", kUnit},
        {"i text.fcd", ""}, {"j locked.fcd", ""},
    };
    EXPECT_EQ(list, expected);
    const QString log = traceLog();
    EXPECT_TRUE(log.contains("Tolmar Prep file has no unit name"));
    EXPECT_TRUE(log.contains("Error reading i text.fcd"));
    EXPECT_TRUE(log.contains("Error reading j locked.fcd"));
    EXPECT_TRUE(prompter.messages().isEmpty());
    holder.reset();
    expectAllUnchanged();
}

TEST_F(PrepFileTest, AnEmptyOrMissingFolderListsNothing)
{
    EXPECT_TRUE(BuildFCDFileList(costs()).isEmpty());
    EXPECT_TRUE(BuildFCDFileList(core::JoinPath(costs(), "none")).isEmpty());
}

TEST_F(PrepFileTest, OpensEachFormatInMemoryAndRefusesTheRest)
{
    writeEveryKind();
    auto holder = lock("j locked.fcd");
    struct Case {
        const char* file;
        QString message;       // "" when the file opens
        int areas;
    };
    const Case cases[] = {
        {"a 4.01.01.fcd", "", 3},
        {"b 4.00.00.fcd", "", 3},
        {"c 3.92.00.fcd", "", 3},
        {"d 3.00.00.fcd", "", 0},
        {"e unknown.fcd", kIncompatible, 0},
        {"f no format.fcd", kIncompatible, 0},
        {"h no zones.fcd", kNotPrep, 0},
        {"i text.fcd", kNotPrep, 0},
        {"j locked.fcd", kNotPrep, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        prompter.clear();
        auto prep = PrepFile::Open(core::JoinPath(costs(), c.file));
        if (c.message.isEmpty()) {
            ASSERT_NE(prep, nullptr);
            EXPECT_TRUE(prompter.messages().isEmpty());
            EXPECT_EQ(prep->Areas().size(), c.areas);
            ASSERT_EQ(prep->Zones().size(), 2);
            EXPECT_EQ(prep->MasterList().size(), 3);
            EXPECT_EQ(prep->SRDataSource(), "Kestrel Valley cost guide 2026");
            EXPECT_EQ(prep->FileName(), c.file);
        } else {
            EXPECT_EQ(prep, nullptr);
            ASSERT_EQ(prompter.messages().size(), 1);
            EXPECT_EQ(prompter.messages()[0].text, c.message);
            EXPECT_EQ(prompter.messages()[0].buttons, ui::Buttons::OK);
        }
    }
    holder.reset();
    expectAllUnchanged();
    // The old label stays on the file: the next look takes the same path.
    auto again = PrepFile::Open(core::JoinPath(costs(), "c 3.92.00.fcd"));
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->FormatID(), "3.92.00");
}

// A Prep file made by hand to do harm is refused with the reason before a row of it is read,
// and left as it was; texts longer than their fields read cut to them.
TEST_F(PrepFileTest, AHostilePrepFileIsRefusedWithTheReasonOrReadCut)
{
    const QString area(500, QLatin1Char('W'));
    const struct {
        const char* file;
        QString statement;
        QString reason;   // "" when the file opens
    } cases[] = {
        {"trigger.fcd", "CREATE TRIGGER wipe AFTER UPDATE ON Properties BEGIN DELETE FROM NVCPerAcre; END",
         "It holds a trigger (\"wipe\" on Properties): statements of its own, which no file of this program holds."},
        {"view.fcd", "CREATE VIEW Goals AS SELECT * FROM ManagementGoals",
         "It holds a view (\"Goals\"): statements of its own, which no file of this program holds."},
        {"huge area.fcd", "UPDATE ManagementGoals SET ManagementArea = zeroblob(5000000) WHERE \"Key\" = 1",
         "Its field ManagementGoals.ManagementArea holds a value of 5,000,000 bytes; no field of this program's files "
         "holds more than 524,288."},
        {"long area.fcd", QString("UPDATE ManagementGoals SET ManagementArea = '%1' WHERE \"Key\" = 1").arg(area), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        const QString path = writePrep(c.file, {c.statement});
        const QByteArray before = FileBytes(path);
        prompter.clear();
        auto prep = PrepFile::Open(path);
        if (c.reason.isEmpty()) {
            ASSERT_NE(prep, nullptr);
            ASSERT_FALSE(prep->Areas().isEmpty());
            EXPECT_EQ(prep->Areas()[0].ManagementArea, area.left(100)) << "the field holds 100 characters";
            prep.reset();
        } else {
            EXPECT_EQ(prep, nullptr);
            ASSERT_EQ(prompter.messages().size(), 1);
            EXPECT_EQ(prompter.messages()[0].text,
                      "The file does not appear to be a Tolmar Prep file.\r\n" + c.reason + "\r\nIt cannot be opened.");
        }
        EXPECT_EQ(FileBytes(path), before);
    }
}

TEST_F(PrepFileTest, ReadsAreasAndUnitsInKeyOrder)
{
    auto prep = PrepFile::Open(writePrep("unit.fcd", {"UPDATE FMZList SET RLCount = 0 WHERE \"Key\" = 12",
                                                      "INSERT INTO FMZList VALUES (3, 'East', 2)"}));
    ASSERT_NE(prep, nullptr);
    QStringList areas;
    for (const PrepArea& a : prep->Areas())
        areas << QString::number(a.Key) + " " + a.ManagementArea;
    EXPECT_EQ(areas, QStringList({"1 Upper Watershed", "2 Grazing Allotments", "5 Heritage Sites"}));
    QStringList units;
    for (const PrepFMUEntry& u : prep->FMUEntries())
        units << u.Text + " " + QString::number(u.Code);
    EXPECT_EQ(units, QStringList({"East-1 301", "East-2 302", "North-1 701", "North-2 702", "North-3 703"}));
    EXPECT_EQ(prep->CostRows(7).size(), 9);
    EXPECT_EQ(prep->NVCRows(7).size(), 14);
    EXPECT_FLOAT_EQ(prep->NVCRows(7)[3][4], -3 * 3 - 7);
}

TEST_F(PrepFileTest, UnitCodesSplitBackForEveryZoneKey)
{
    for (qint64 key : {qint64(0), qint64(7), qint64(-3), qint64(21474836), qint64(5000000000)})
        for (int n : {1, 42, 99}) {
            EXPECT_EQ(FMUCodeZone(FMUCode(key, n)), key) << key << " " << n;
            EXPECT_EQ(FMUCodeNumber(FMUCode(key, n)), n) << key << " " << n;
        }
}

TEST_F(PrepFileTest, AZoneClaimingMoreThan99UnitsListsNoMore)
{
    auto prep = PrepFile::Open(writePrep("big.fcd", {"UPDATE FMZList SET RLCount = 30000 WHERE \"Key\" = 7"}));
    ASSERT_NE(prep, nullptr);
    const QList<PrepFMUEntry> units = prep->FMUEntries();
    ASSERT_EQ(units.size(), 99 + 1);
    EXPECT_EQ(units[98].Text, "North-99");
    EXPECT_EQ(units[99].Text, "South-1");
}

TEST_F(PrepFileTest, AReadOnlyPrepFileIsListedAndOpened)
{
    const QString path = writePrep("shared.fcd", {SetFormat("3.92.00")});
    ASSERT_TRUE(QFile::setPermissions(path, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
    const QByteArray before = FileBytes(path);
    EXPECT_EQ(BuildFCDFileList(costs()), QList<PrepFileEntry>({{"shared.fcd", kUnit}}));
    auto prep = PrepFile::Open(path);
    ASSERT_NE(prep, nullptr);
    EXPECT_EQ(prep->Areas().size(), 3);
    prep.reset();
    EXPECT_EQ(FileBytes(path), before);
}

TEST_F(PrepFileTest, AnOpenPrepFileKeepsWritersOutButNotReaders)
{
    const QString path = writePrep("held.fcd");
    auto prep = PrepFile::Open(path);
    ASSERT_NE(prep, nullptr);
    EXPECT_EQ(BuildFCDFileList(costs()), QList<PrepFileEntry>({{"held.fcd", kUnit}}));
    try {
        lock("held.fcd");
        ADD_FAILURE() << "a writer opened a Prep file that is shown";
    } catch (const dao::Error& e) {
        EXPECT_EQ(e.kind(), dao::Error::Kind::Locked);
    }
    prep->Close();
    EXPECT_NE(lock("held.fcd"), nullptr);
}

} // namespace
