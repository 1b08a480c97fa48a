#include "core_sandbox.h"
#include "support/fulldisk.h"
#include "support/immutable.h"

#include "core/u11datafile.h"
#include "core/u14properties.h"
#include "core/u19rowdata.h"

#include <QDir>
#include <QStringList>

#include <functional>
#include <stdexcept>
#include <unistd.h>

using namespace coretest;

namespace {

// Records the calls the open routine makes; each conversion writes its target format as the
// real ones do, plus a marker row that shows whether its work was kept.
class FakeUpgrader : public core::Upgrader {
public:
    bool agree = true;
    QString throwIn;   // name of the conversion that fails
    QStringList calls;

    bool QueryConvert41to5() override { calls << "Query41to5"; return agree; }
    bool QueryConvert5to6() override { calls << "Query5to6"; return agree; }
    void Convert4to41() override { convert("Convert4to41", "04.01.01"); }
    void Convert41to5() override { convert("Convert41to5", "05.01.02"); }
    void Convert5to6() override { convert("Convert5to6", "06.01.01"); }

private:
    void convert(const QString& name, const QString& target)
    {
        calls << name;
        EXPECT_FALSE(core::gFileOpen());
        dao::Recordset* props = core::gProperties();
        props->AddNew();
        props->SetField("Property", name);
        props->SetField("Value", "done");
        props->Update();
        if (throwIn == name)
            throw std::runtime_error("conversion failed");
        props->Seek("DataFormatID");
        props->Edit();
        props->SetField("Value", target);
        props->Update();
    }
};

class OpenDatafileTest : public Sandbox {
protected:
    FakeUpgrader upgrader;
    void SetUp() override
    {
        Sandbox::SetUp();
        core::SetUpgrader(&upgrader);
    }
    QString firstLine() const
    {
        return prompter.messages().isEmpty() ? QString() : prompter.messages().first().text.split("\r\n").first();
    }
    // Opens a file the program must refuse: it is left as it was, closed, with one message,
    // whose text is the answer.
    QString refusedUntouched(const QString& path)
    {
        const QByteArray before = Bytes(path);
        prompter.clear();
        EXPECT_FALSE(core::OpenDatafile(path));
        EXPECT_EQ(core::gDatabase(), nullptr);
        EXPECT_EQ(Bytes(path), before);
        EXPECT_EQ(prompter.messages().size(), 1);
        return prompter.messages().value(0).text;
    }
};

struct FormatCase {
    const char* format;
    bool agree;
    bool opens;
    const char* calls;
    const char* message;   // first line of the one message shown, "" for none
};

const FormatCase kFormats[] = {
    {"06.01.01", true, true, "", ""},
    {"06.00.beta", true, true, "", ""},
    {"05.01.02", true, true, "Query5to6 Convert5to6", ""},
    {"05.01.02", false, false, "Query5to6", ""},
    {"04.01.01", true, true, "Query41to5 Convert41to5 Convert5to6", ""},
    {"04.01.01", false, false, "Query41to5", ""},
    {"4.00.00", true, true, "Query41to5 Convert4to41 Convert41to5 Convert5to6", ""},
    {"4.00.00", false, false, "Query41to5", ""},
    {"3.93.00", true, true, "Query41to5 Convert4to41 Convert41to5 Convert5to6", ""},
    {"3.93.00", false, false, "Query41to5", ""},
    {"3.00.00", true, false, "", "This is a Tolmar Rude '98 file."},
    {"4.01.01", true, false, "", "This file uses an incompatible format"},
    {"06.01.02", true, false, "", "This file uses an incompatible format"},
    {"", true, false, "", "This file uses an incompatible format"},
};

TEST_F(OpenDatafileTest, EveryFormatGoesItsWay)
{
    for (const FormatCase& c : kFormats) {
        SCOPED_TRACE(c.format);
        const QString path = dataFile("case.tlm", QString::fromLatin1(c.format));
        const QByteArray before = Bytes(path);
        upgrader.calls.clear();
        upgrader.agree = c.agree;
        prompter.clear();

        EXPECT_EQ(core::OpenDatafile(path), c.opens);
        EXPECT_EQ(upgrader.calls.join(' '), QString::fromLatin1(c.calls));
        EXPECT_EQ(firstLine(), QString::fromLatin1(c.message));
        EXPECT_EQ(core::gFileOpen(), c.opens);
        if (c.opens) {
            EXPECT_EQ(core::Property_Get("DataFormatID"), "06.01.01");
            core::CloseDatafile();
            EXPECT_EQ(SqlValue(path, "SELECT Value FROM Properties WHERE Property = 'DataFormatID'"), "06.01.01");
        } else {
            EXPECT_EQ(core::gDatabase(), nullptr);
            EXPECT_EQ(core::gProperties(), nullptr);
            EXPECT_EQ(Bytes(path), before);
        }
    }
}

// A file that lacks part of the current format would open and then fail at every load; it is
// refused before anything is written, also when its format still needs a relabel or a
// conversion, and the message names what is missing.
TEST_F(OpenDatafileTest, AFileLackingPartOfTheCurrentFormatIsRefusedUntouched)
{
    struct Case {
        const char* format;
        const char* damage;
        const char* missing;   // the middle line of the message
    };
    const Case cases[] = {
        {"06.01.01", "DROP TABLE FMZList", "Missing from it: the table FMZList."},
        {"06.01.01", "DROP TABLE Objectives", "Missing from it: the table Objectives."},
        {"06.01.01", "DROP TABLE Outcomes", "Missing from it: the table Outcomes."},
        {"06.01.01", "DROP TABLE Items", "Missing from it: the table Items."},
        {"06.01.01", "ALTER TABLE Items DROP COLUMN Body", "Missing from it: the field Items.Body."},
        {"06.01.01", "DROP TABLE Scores; ALTER TABLE SRTypes DROP COLUMN UnitCost",
         "Missing from it: the field SRTypes.UnitCost, the table Scores."},
        {"06.00.beta", "DROP TABLE FMZList", "Missing from it: the table FMZList."},
        {"05.01.02", "DROP TABLE Outcomes", "Missing from it: the table Outcomes."},
        {"06.01.01",
         "DROP TABLE FMZList; DROP TABLE Items; DROP TABLE Objectives; DROP TABLE Outcomes; DROP TABLE Scores; DROP TABLE SRUses; DROP TABLE SRTypes",
         "Missing from it: the table FMZList, the table Items, the table Objectives, the table Outcomes, the table SRTypes, 2 more."},
        // Every table is read in the order of its key and its rows found by it.
        {"06.01.01",
         "CREATE TABLE Copy (ItemKey LONG INTEGER NOT NULL, ItemName MEMO TEXT, Heading MEMO TEXT, Body MEMO TEXT, "
         "ItemText MEMO TEXT, ParentKey LONG INTEGER, ChildIndex LONG INTEGER); INSERT INTO Copy SELECT * FROM Items; "
         "DROP TABLE Items; ALTER TABLE Copy RENAME TO Items",
         "Missing from it: the key of the table Items (ItemKey)."},
        {"06.01.01",
         "CREATE TABLE Copy (OutcomeKey LONG INTEGER NOT NULL, CriterionKey LONG INTEGER NOT NULL, Value SINGLE REAL, "
         "Description MEMO TEXT, PRIMARY KEY (CriterionKey, OutcomeKey)); DROP TABLE Scores; ALTER TABLE Copy RENAME TO Scores",
         "Missing from it: the key of the table Scores (OutcomeKey, CriterionKey)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.damage);
        const QString path = dataFile("part.tlm", QString::fromLatin1(c.format), QStringLiteral("Standard"));
        Sql(path, c.damage);
        const QByteArray before = Bytes(path);
        prompter.clear();
        upgrader.calls.clear();

        EXPECT_FALSE(core::OpenDatafile(path));
        EXPECT_FALSE(core::gFileOpen());
        EXPECT_EQ(core::gDatabase(), nullptr);
        EXPECT_EQ(Bytes(path), before) << "nothing is written into a refused file";
        ASSERT_EQ(prompter.messages().size(), 1) << "refused before the edition question";
        EXPECT_EQ(prompter.messages()[0].text, QStringLiteral("The file does not appear to be a Tolmar Rude file.\r\n%1\r\nIt cannot be opened.")
                                                   .arg(QString::fromLatin1(c.missing)));
        EXPECT_EQ(prompter.messages()[0].buttons, ui::Buttons::OK);
        // An older format still goes through its conversion first.
        EXPECT_EQ(upgrader.calls.join(' '), QString::fromLatin1(c.format) == "05.01.02" ? "Query5to6 Convert5to6" : "");
        EXPECT_TRUE(log("ERROR.LOG").contains(QStringLiteral("OpenDatafile %1: missing").arg(path)));
    }

    // Another table or field of its own, and names in other letter cases, are no reason to refuse.
    const QString path = dataFile("extra.tlm");
    Sql(path, "CREATE TABLE Notes (Line TEXT); ALTER TABLE Items ADD COLUMN Extra TEXT; "
              "ALTER TABLE FMZList RENAME COLUMN Name TO NAME; ALTER TABLE Scores RENAME TO Scores2; ALTER TABLE Scores2 RENAME TO SCORES");
    prompter.clear();
    EXPECT_TRUE(core::OpenDatafile(path));
    EXPECT_TRUE(prompter.messages().isEmpty());
}

// The first column of every row a query gives on a file, straight through SQLite.
QStringList Column(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_stmt* st = nullptr;
    QStringList values;
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK)
        while (sqlite3_step(st) == SQLITE_ROW)
            values << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return values;
}

// A file made by hand to do harm is refused before anything of it runs or is read, with the
// reason, and left as it was; the user's analysis is not touched by its statements.
TEST_F(OpenDatafileTest, AFileHoldingStatementsOfItsOwnIsRefusedUntouched)
{
    const QString clean = dataFile("clean.tlm");
    const QStringList tables = Column(clean, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' ORDER BY name");
    ASSERT_EQ(tables.size(), 17);
    QStringList schemas = {"CREATE TRIGGER wipe AFTER INSERT ON Properties BEGIN DELETE FROM Outcomes; END"};
    for (const QString& table : tables) {
        schemas << QString("CREATE TRIGGER t_%1 BEFORE UPDATE ON \"%1\" BEGIN SELECT 1; END").arg(table);
        schemas << QString("CREATE VIEW v_%1 AS SELECT * FROM \"%1\"").arg(table);
    }
    for (const QString& schema : schemas) {
        SCOPED_TRACE(schema.toStdString());
        const QString path = dataFile("hostile.tlm", QString("06.01.01"), QString("Standard"));
        Sql(path, schema.toUtf8().constData());
        // One message: refused before the edition question.
        const QStringList lines = refusedUntouched(path).split("\r\n");
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[0], "The file does not appear to be a Tolmar Rude file.");
        const QString name = schema.section(' ', 2, 2);
        EXPECT_TRUE(lines[1].startsWith(QString(schema.contains("TRIGGER") ? "It holds a trigger (\"%1\" on " : "It holds a view (\"%1\")").arg(name)))
            << lines[1].toStdString();
        EXPECT_EQ(lines[2], "It cannot be opened.");
    }
}

// A field added to a table of the format, computed or hiding the row id, is found as surely as
// a statement of the file's own, though every table and index the format has is there.
TEST_F(OpenDatafileTest, AFieldAddedToATableOfTheFormatIsRefusedUntouched)
{
    const struct {
        const char* sql;
        const char* sentence;
    } cases[] = {
        {"ALTER TABLE Items ADD COLUMN Shown MEMO TEXT AS (ItemName)",
         "Its field Items.Shown is computed by statements of its own, which no file of this program holds."},
        {"ALTER TABLE Outcomes ADD COLUMN rowid LONG INTEGER",
         "Its table Outcomes has a field named rowid, which no file of this program has."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.sql);
        const QString path = dataFile("hostile.tlm", QString("06.01.01"), QString("Standard"));
        Sql(path, c.sql);
        const QStringList lines = refusedUntouched(path).split("\r\n");
        ASSERT_EQ(lines.size(), 3);
        EXPECT_EQ(lines[1], c.sentence);
    }
}

// A text or blob longer than any field holds, in any field of the format, is refused from the
// length its row records, without reading it.
TEST_F(OpenDatafileTest, AValueLongerThanAnyFieldHoldsIsRefusedUntouched)
{
    const QString clean = dataFile("clean.tlm");
    struct Field {
        QString table, column;
    };
    QList<Field> fields;
    for (const QString& table : Column(clean, "SELECT name FROM sqlite_master WHERE type = 'table' AND name NOT LIKE 'sqlite%' ORDER BY name"))
        for (const QString& column : Column(clean, QString("SELECT name FROM pragma_table_info('%1') WHERE type LIKE '%TEXT%'").arg(table)))
            fields.append({table, column});
    ASSERT_GE(fields.size(), 20);
    const qint64 over = dao::kLongestValue + 1;
    for (const Field& f : fields) {
        SCOPED_TRACE((f.table + "." + f.column).toStdString());
        const QString path = dataFile("long.tlm");
        const QStringList key = Column(path, QString("SELECT name FROM pragma_table_info('%1') WHERE pk > 0 ORDER BY pk").arg(f.table));
        QStringList keyValues;
        for (int i = 0; i < key.size(); ++i)
            keyValues << "77";
        const QString put = key.contains(f.column)
                                ? QString("INSERT INTO \"%1\" (\"%2\") VALUES (zeroblob(%3))").arg(f.table, f.column).arg(over)
                                : QString("INSERT INTO \"%1\" (%2, \"%3\") VALUES (%4, zeroblob(%5))")
                                      .arg(f.table, key.join(", "), f.column, keyValues.join(", "))
                                      .arg(over);
        Sql(path, put.toUtf8().constData());
        EXPECT_EQ(refusedUntouched(path),
                  QString("The file does not appear to be a Tolmar Rude file.\r\nIts field %1.%2 holds a value of 524,289 "
                          "bytes; no field of this program's files holds more than 524,288.\r\nIt cannot be opened.")
                      .arg(f.table, f.column));
    }
}

// Opening writes to the file (its name, a conversion, the edition): on a full disk it is closed
// again and unlocked, the user told why, and nothing in it changed.
TEST_F(OpenDatafileTest, AFullDiskAtOpenLeavesTheFileClosedUnlockedAndAsItWas)
{
    const QString folder = file("full disk");
    ASSERT_TRUE(QDir().mkdir(folder));
    testsupport::FullDisk disk(folder);
    const struct {
        const char* name;
        const char* format;
        const char* edition;
        std::function<bool(const QString&)> open;
    } cases[] = {
        {"File, Open", "06.01.01", "Advanced",
         [this](const QString& path) {
             prompter.file(path);
             return core::QueryOpenDatafile() == core::OpenResult::Open;
         }},
        {"conversion", "05.01.02", "Advanced", [](const QString& path) { return core::OpenDatafile(path); }},
        {"edition", "06.01.01", "Standard", [](const QString& path) { return core::OpenDatafile(path); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = dataFile("full disk/Fire1.tlm", QString(c.format), QString(c.edition));
        const QByteArray before = Bytes(path);
        prompter.clear();
        prompter.answer(ui::Answer::Yes);
        disk.fill();
        EXPECT_FALSE(c.open(path));
        disk.empty();
        EXPECT_FALSE(core::gFileOpen());
        EXPECT_EQ(core::gDatabase(), nullptr);
        EXPECT_EQ(Bytes(path), before);
        EXPECT_NO_THROW(dao::Database::Open(path)) << "the file is unlocked";
        ASSERT_FALSE(prompter.messages().isEmpty());
        EXPECT_EQ(prompter.messages().last().text,
                  QString("The file %1 cannot be opened: the disk it is on is full.\r\nNothing in it has been changed. "
                          "Free some space on that disk, and open it again.")
                      .arg(path));
    }
    EXPECT_GT(disk.refusedWrites(), 0);
}

TEST_F(OpenDatafileTest, RefusalMessagesHaveTheirTitlesAndIcons)
{
    EXPECT_FALSE(core::OpenDatafile(dataFile("old.tlm", QString("3.00.00"))));
    EXPECT_FALSE(core::OpenDatafile(dataFile("none.tlm", std::nullopt)));
    ASSERT_EQ(prompter.messages().size(), 2);
    const ui::Message& old = prompter.messages()[0];
    EXPECT_EQ(old.text, "This is a Tolmar Rude '98 file.\r\nIt cannot be opened using Tolmar Rude 06.");
    EXPECT_EQ(old.title, "Tolmar Rude '98 File");
    EXPECT_EQ(old.icon, ui::Icon::Critical);
    const ui::Message& none = prompter.messages()[1];
    EXPECT_EQ(none.text, "This file uses an incompatible format\r\nand cannot be opened using Tolmar Rude 06.");
    EXPECT_EQ(none.title, "Tolmar Advanced");
    EXPECT_EQ(none.buttons, ui::Buttons::OK);
}

TEST_F(OpenDatafileTest, OlderFormatsAreIncompatibleWithoutAnUpgrader)
{
    core::SetUpgrader(nullptr);
    const QString path = dataFile("old.tlm", QString("05.01.02"));
    const QByteArray before = Bytes(path);
    EXPECT_FALSE(core::OpenDatafile(path));
    EXPECT_EQ(firstLine(), "This file uses an incompatible format");
    EXPECT_EQ(Bytes(path), before);
}

TEST_F(OpenDatafileTest, AFailingConversionLeavesTheFileAsItWas)
{
    for (const char* failing : {"Convert4to41", "Convert41to5", "Convert5to6"}) {
        SCOPED_TRACE(failing);
        const QString path = dataFile("old.tlm", QString("4.00.00"), QString("Standard"));
        const QByteArray before = Bytes(path);
        upgrader.throwIn = failing;
        prompter.clear();

        EXPECT_FALSE(core::OpenDatafile(path));
        EXPECT_EQ(firstLine(), "The file does not appear to be a Tolmar Rude file.");
        EXPECT_EQ(core::gDatabase(), nullptr);
        EXPECT_EQ(Bytes(path), before);
        // No lock is left behind.
        EXPECT_NO_THROW(dao::Database::Open(path));
    }
}

TEST_F(OpenDatafileTest, AConversionThatStopsShortIsNotTakenForDone)
{
    class StopsShort : public FakeUpgrader {
    public:
        void Convert5to6() override { calls << "Convert5to6"; }   // leaves the format as it was
    } upgrader;
    core::SetUpgrader(&upgrader);
    const QString path = dataFile("old.tlm", QString("04.01.01"), QString("Standard"));
    const QByteArray before = Bytes(path);
    EXPECT_FALSE(core::OpenDatafile(path));
    EXPECT_EQ(firstLine(), "The file does not appear to be a Tolmar Rude file.");
    EXPECT_EQ(core::gDatabase(), nullptr);
    EXPECT_EQ(Bytes(path), before);
}

TEST_F(OpenDatafileTest, ConversionsCommitTogether)
{
    const QString path = dataFile("old.tlm", QString("4.00.00"));
    ASSERT_TRUE(core::OpenDatafile(path));
    core::CloseDatafile();
    for (const char* step : {"Convert4to41", "Convert41to5", "Convert5to6"})
        EXPECT_EQ(SqlValue(path, QString("SELECT Value FROM Properties WHERE Property = '%1'").arg(step)), "done");
}

struct EditionCase {
    std::optional<QString> edition;
    ui::Answer answer;
    bool asks;
    bool opens;
};

TEST_F(OpenDatafileTest, OtherEditionsOpenOnlyWhenConverted)
{
    const EditionCase cases[] = {
        {QString("Advanced"), ui::Answer::No, false, true},
        {QString("Standard"), ui::Answer::Yes, true, true},
        {QString("Standard"), ui::Answer::No, true, false},
        {QString("Basic"), ui::Answer::Yes, true, true},
        {QString("Basic"), ui::Answer::No, true, false},
        {std::nullopt, ui::Answer::Yes, true, true},
        {std::nullopt, ui::Answer::No, true, false},
    };
    for (const EditionCase& c : cases) {
        SCOPED_TRACE(c.edition.value_or("<missing>").toStdString() + (c.answer == ui::Answer::Yes ? " yes" : " no"));
        const QString path = dataFile("edition.tlm", QString("06.01.01"), c.edition);
        const QByteArray before = Bytes(path);
        prompter.clear();
        prompter.answer(c.answer);

        EXPECT_EQ(core::OpenDatafile(path), c.opens);
        ASSERT_EQ(prompter.messages().size(), c.asks ? 1 : 0);
        if (c.asks) {
            const ui::Message& m = prompter.messages().first();
            EXPECT_EQ(m.buttons, ui::Buttons::YesNo);
            EXPECT_EQ(m.icon, ui::Icon::Question);
            EXPECT_TRUE(m.text.contains(c.edition.value_or("Standard"))) << m.text.toStdString();
        }
        if (c.opens) {
            EXPECT_EQ(core::Property_Get("ProgramID"), "Advanced");
            core::CloseDatafile();
            EXPECT_EQ(SqlValue(path, "SELECT Value FROM Properties WHERE Property = 'ProgramID'"), "Advanced");
        } else {
            EXPECT_FALSE(core::gFileOpen());
            EXPECT_EQ(core::gDatabase(), nullptr);
            EXPECT_EQ(Bytes(path), before);
        }
    }
}

TEST_F(OpenDatafileTest, DecliningTheEditionUndoesTheUpgradeToo)
{
    const QString path = dataFile("old.tlm", QString("05.01.02"), QString("Standard"));
    const QByteArray before = Bytes(path);
    prompter.answer(ui::Answer::No);   // the conversion question is the upgrader's own
    EXPECT_FALSE(core::OpenDatafile(path));
    EXPECT_EQ(upgrader.calls.join(' '), "Query5to6 Convert5to6");
    EXPECT_EQ(Bytes(path), before);
}

TEST_F(OpenDatafileTest, OnlyTheEditionMayBeSetWhileOpening)
{
    class Writer : public FakeUpgrader {
    public:
        void Convert5to6() override
        {
            core::Property_Set("SelectedAlternativeKey", "7");
            FakeUpgrader::Convert5to6();
        }
    } writer;
    core::SetUpgrader(&writer);
    const QString path = dataFile("old.tlm", QString("05.01.02"), QString("Basic"));
    prompter.answer(ui::Answer::Yes);
    ASSERT_TRUE(core::OpenDatafile(path));
    EXPECT_EQ(core::Property_Get("SelectedAlternativeKey"), "");
    EXPECT_EQ(core::Property_Get("ProgramID"), "Advanced");
    EXPECT_TRUE(log("ERROR.LOG").contains("Property_Set: No database loaded"));
}

// Files the program must refuse, each left exactly as it was.
TEST_F(OpenDatafileTest, BadFilesAreRefusedAndLeftUnchanged)
{
    const QString text = file("notes.tlm");
    {
        QFile f(text);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("Fire notes, not a data file.\r\n");
    }
    const QString empty = file("empty.tlm");
    QFile(empty).open(QIODevice::WriteOnly);
    const QString truncated = dataFile("truncated.tlm");
    {
        QFile f(truncated);
        ASSERT_TRUE(f.resize(f.size() / 3));
    }
    const QString foreign = file("foreign.tlm");
    Sql(foreign, "CREATE TABLE Photos (Id INTEGER PRIMARY KEY, Caption TEXT); INSERT INTO Photos VALUES (1, 'x');");
    const QString locked = dataFile("locked.tlm");
    auto holder = dao::Database::Open(locked);   // another running copy holds it
    QDir().mkdir(file("folder.tlm"));

    const struct {
        QString path;
        const char* message;
    } cases[] = {
        {text, "The file does not appear to be a Tolmar Rude file."},
        {empty, "The file does not appear to be a Tolmar Rude file."},
        {truncated, "The file does not appear to be a Tolmar Rude file."},
        {foreign, "The file does not appear to be a Tolmar Rude file."},
        {locked, "The file is in use by another program or by another copy of Tolmar Advanced."},
        {file("folder.tlm"), "The file does not appear to be a Tolmar Rude file."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        const QByteArray before = Bytes(c.path);
        prompter.clear();
        EXPECT_FALSE(core::OpenDatafile(c.path));
        EXPECT_EQ(firstLine(), c.message);
        EXPECT_EQ(prompter.messages().size(), 1);
        EXPECT_FALSE(core::gFileOpen());
        EXPECT_EQ(core::gDatabase(), nullptr);
        EXPECT_EQ(Bytes(c.path), before);
    }
    holder->Close();
    EXPECT_TRUE(core::OpenDatafile(locked));
}

TEST_F(OpenDatafileTest, AMissingFileIsNeverCreated)
{
    const QString missing = file("Missing.tlm");
    EXPECT_FALSE(core::OpenDatafile(missing));
    EXPECT_FALSE(QFileInfo::exists(missing));
    EXPECT_EQ(firstLine(), QString("The file %1 cannot be found.").arg(missing));
    EXPECT_FALSE(core::OpenDatafile(QString()));
}

TEST_F(OpenDatafileTest, AReadOnlyFileIsRefused)
{
    const QString path = dataFile("readonly.tlm");
    QFile::setPermissions(path, QFile::ReadOwner);
    std::optional<testsupport::Immutable> immutable;
    if (geteuid() == 0) {
        immutable.emplace(path);
        if (!immutable->set())
            GTEST_SKIP() << "the superuser may write any file here";
    }
    const QByteArray before = Bytes(path);
    EXPECT_FALSE(core::OpenDatafile(path));
    EXPECT_EQ(firstLine(), QString("The file %1 is read-only.").arg(path));
    EXPECT_EQ(core::gDatabase(), nullptr);
    EXPECT_EQ(Bytes(path), before);
}

// Every change goes to the file as the user works, and the engine writes its journal beside it.
TEST_F(OpenDatafileTest, AFileInAFolderThatCannotBeWrittenIsRefused)
{
    const QString folder = file("read-only folder");
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString path = dataFile("read-only folder/Fire1.tlm");
    const QByteArray before = Bytes(path);
    const QFile::Permissions writable = QFile::permissions(folder);
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
    std::optional<testsupport::Immutable> immutable;
    if (geteuid() == 0) {
        immutable.emplace(folder);
        if (!immutable->set())
            GTEST_SKIP() << "the superuser may write any folder here";
    }

    const bool opened = core::OpenDatafile(path);
    if (opened)   // what the user would meet: the first change cannot be stored
        EXPECT_NO_THROW(core::Property_Set("UseNVCGains", "Yes"));
    core::CloseDatafile();
    immutable.reset();
    QFile::setPermissions(folder, writable);

    EXPECT_FALSE(opened);
    EXPECT_EQ(firstLine(), QString("The file %1 is in a folder that cannot be written.").arg(path));
    EXPECT_EQ(Bytes(path), before);
}

TEST_F(OpenDatafileTest, OpeningAnotherFileClosesTheFirst)
{
    ASSERT_TRUE(core::OpenDatafile(dataFile("a.tlm")));
    ASSERT_TRUE(core::OpenDatafile(dataFile("b.tlm")));
    EXPECT_NO_THROW(dao::Database::Open(file("a.tlm")));
    EXPECT_TRUE(core::gFileOpen());
}

class FileCommandTest : public Sandbox {};

TEST_F(FileCommandTest, NewFileComesFromTheTemplate)
{
    const QString path = file("Fire7.tlm");
    prompter.file(path);
    EXPECT_EQ(core::QueryNewDatafile(), core::OpenResult::Open);
    ASSERT_TRUE(core::gFileOpen());
    EXPECT_FALSE(core::gCreatingNewFile());
    EXPECT_EQ(core::Property_Get("FullFileName"), path);
    EXPECT_EQ(core::Property_Get("ProgramID"), "Advanced");
    EXPECT_EQ(core::GetDatafileTitle(), "Fire7.tlm");
    EXPECT_TRUE(prompter.messages().isEmpty());

    ASSERT_EQ(prompter.dialogs().size(), 1);
    const ui::FileDialog& d = prompter.dialogs().first();
    EXPECT_EQ(d.kind, ui::FileDialog::Kind::Save);
    EXPECT_EQ(d.title, "Create new Tolmar Rude file");
    EXPECT_EQ(d.fileName, "Fire1.tlm");
    EXPECT_EQ(d.folder, core::AppPath());
    EXPECT_EQ(d.filter, "Tolmar Rude files (*.tlm);;All Files (*)");
    EXPECT_TRUE(log("Tolmar.LOG").contains("u11Datafile.QueryNewDatafile"));
}

TEST_F(FileCommandTest, NewFileOverAnExistingOneAsksFirst)
{
    const QString path = dataFile("Old.tlm");
    core::SetUpgrader(nullptr);
    const QByteArray before = Bytes(path);

    prompter.file(path);
    prompter.answer(ui::Answer::No);
    EXPECT_EQ(core::QueryNewDatafile(), core::OpenResult::Cancelled);
    EXPECT_EQ(Bytes(path), before);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "The file already exists.  Do you want to overwrite it?");
    EXPECT_EQ(prompter.messages()[0].title, "Replace file?");
    EXPECT_EQ(prompter.messages()[0].defaultButton, ui::Answer::No);

    Sql(path, "INSERT INTO Items (ItemKey, Body) VALUES (11, 'Old fire');");
    prompter.file(path);
    prompter.answer(ui::Answer::Yes);
    EXPECT_EQ(core::QueryNewDatafile(), core::OpenResult::Open);
    core::CloseDatafile();
    EXPECT_EQ(SqlValue(path, "SELECT count(*) FROM Items WHERE ItemKey = 11"), "0");
}

TEST_F(FileCommandTest, NewFileFailures)
{
    prompter.file(QString());
    EXPECT_EQ(core::QueryNewDatafile(), core::OpenResult::Cancelled);

    // A failed copy leaves no file open, not even the one before.
    ASSERT_TRUE(core::OpenDatafile(dataFile("Current.tlm")));
    prompter.file(file("no such folder/Fire2.tlm"));
    EXPECT_EQ(core::QueryNewDatafile(), core::OpenResult::Failed);
    EXPECT_FALSE(core::gFileOpen());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "Unable to create new file.");
    prompter.clear();

    ASSERT_TRUE(QFile::remove(file("TLM.new")));
    prompter.file(file("Fire2"));
    EXPECT_EQ(core::QueryNewDatafile(), core::OpenResult::Failed);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "Unable to create new file.\r\nSource file TLM.new is missing.");
    EXPECT_FALSE(QFileInfo::exists(file("Fire2.tlm")));
}

TEST_F(FileCommandTest, NewFileIsWritableEvenFromAReadOnlyTemplate)
{
    QFile::setPermissions(file("TLM.new"), QFile::ReadOwner | QFile::ReadGroup);
    prompter.file(file("Fire3"));   // a typed name gets the default extension
    EXPECT_EQ(core::QueryNewDatafile(), core::OpenResult::Open);
    EXPECT_EQ(core::gDatabase()->Path(), file("Fire3.tlm"));
    EXPECT_TRUE(QFileInfo(file("Fire3.tlm")).permissions() & QFile::WriteOwner);
}

TEST_F(FileCommandTest, AFileInUseElsewhereIsNeverReplaced)
{
    const QString current = dataFile("Current.tlm");
    ASSERT_TRUE(core::OpenDatafile(current));
    const QString busy = dataFile("Busy.tlm");
    auto other = dao::Database::Open(busy);   // held by another running copy
    const QByteArray before = Bytes(busy);

    prompter.file(busy);
    prompter.answer(ui::Answer::Yes);
    EXPECT_EQ(core::QueryNewDatafile(), core::OpenResult::Cancelled);
    prompter.file(busy);
    prompter.answer(ui::Answer::Yes);
    EXPECT_EQ(core::SaveAsDatafile(), core::OpenResult::Cancelled);

    EXPECT_EQ(Bytes(busy), before);
    EXPECT_EQ(core::gDatabase()->Path(), current);
    ASSERT_EQ(prompter.messages().size(), 4);
    EXPECT_EQ(prompter.messages()[1].text,
              "Unable to create new file.\r\nThe file is in use by another program or by another copy of Tolmar Advanced.");
    EXPECT_EQ(prompter.messages()[3].text,
              "Unable to save file.\r\nThe file is in use by another program or by another copy of Tolmar Advanced.");
}

TEST_F(FileCommandTest, OpenCommand)
{
    const QString a = dataFile("A.tlm");
    prompter.file(a);
    EXPECT_EQ(core::QueryOpenDatafile(), core::OpenResult::Open);
    EXPECT_EQ(core::Property_Get("FullFileName"), a);
    EXPECT_EQ(prompter.dialogs()[0].title, "Open Tolmar Rude file");
    EXPECT_EQ(prompter.dialogs()[0].kind, ui::FileDialog::Kind::Open);

    prompter.file(QString());
    EXPECT_EQ(core::QueryOpenDatafile(), core::OpenResult::Cancelled);
    EXPECT_TRUE(core::gFileOpen());

    // A failed open leaves no file open, not even the one before.
    prompter.file(file("missing.tlm"));
    EXPECT_EQ(core::QueryOpenDatafile(), core::OpenResult::Failed);
    EXPECT_FALSE(core::gFileOpen());
    EXPECT_EQ(core::gDatabase(), nullptr);
}

class SaveAsTest : public Sandbox {
protected:
    QString original;
    void SetUp() override
    {
        Sandbox::SetUp();
        original = dataFile("Fire1.tlm");
        ASSERT_TRUE(core::OpenDatafile(original));
        core::Property_Set("FullFileName", original);
        core::Property_Set("UseNVCGains", "Yes");
    }
};

TEST_F(SaveAsTest, TheCopyBecomesTheOpenFile)
{
    const QString copy = file("Fire2.tlm");
    prompter.file(copy);
    EXPECT_EQ(core::SaveAsDatafile(), core::OpenResult::Open);
    EXPECT_EQ(core::gDatabase()->Path(), copy);
    EXPECT_EQ(core::Property_Get("FullFileName"), copy);
    EXPECT_EQ(core::Property_Get("UseNVCGains"), "Yes");
    EXPECT_EQ(prompter.dialogs()[0].title, "Save As New Tolmar Rude file");
    EXPECT_TRUE(prompter.dialogs()[0].folder.isEmpty());

    const QByteArray before = Bytes(original);
    core::Property_Set("UseNVCGains", "No");
    EXPECT_EQ(Bytes(original), before);
    EXPECT_EQ(SqlValue(original, "SELECT Value FROM Properties WHERE Property = 'FullFileName'"), original);
}

TEST_F(SaveAsTest, TheOpenFileUnderAnySpellingIsNoTarget)
{
    ASSERT_TRUE(QFile::link(original, file("link.tlm")));
    QDir().mkdir(file("sub"));
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QFileInfo(original).path());
    for (const QString& spelling : {original, QString("Fire1.tlm"), QString("Fire1"), file("sub/../Fire1.tlm"),
                                    QString("./sub/../Fire1.tlm"), file("link.tlm")}) {
        SCOPED_TRACE(spelling.toStdString());
        prompter.clear();
        prompter.file(spelling);
        EXPECT_EQ(core::SaveAsDatafile(), core::OpenResult::Cancelled);
        EXPECT_TRUE(prompter.messages().isEmpty());
        EXPECT_TRUE(core::gFileOpen());
        EXPECT_EQ(core::Property_Get("UseNVCGains"), "Yes");
    }
    QDir::setCurrent(previous);
}

TEST_F(SaveAsTest, ReplacingAnotherFileAsksFirst)
{
    const QString other = dataFile("Other.tlm");
    const QByteArray before = Bytes(other);
    prompter.file(other);
    prompter.answer(ui::Answer::No);
    EXPECT_EQ(core::SaveAsDatafile(), core::OpenResult::Cancelled);
    EXPECT_EQ(Bytes(other), before);
    EXPECT_EQ(core::gDatabase()->Path(), original);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].title, "Delete");
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);

    prompter.file(other);
    prompter.answer(ui::Answer::Yes);
    EXPECT_EQ(core::SaveAsDatafile(), core::OpenResult::Open);
    EXPECT_EQ(core::Property_Get("UseNVCGains"), "Yes");
    EXPECT_EQ(core::Property_Get("FullFileName"), other);
}

TEST_F(SaveAsTest, CancelAndFailure)
{
    prompter.file(QString());
    EXPECT_EQ(core::SaveAsDatafile(), core::OpenResult::Cancelled);
    EXPECT_EQ(core::gDatabase()->Path(), original);

    // The file stays open as it was, so that nothing it still had to store is lost with it.
    prompter.file(file("no such folder/Fire2.tlm"));
    EXPECT_EQ(core::SaveAsDatafile(), core::OpenResult::Cancelled);
    EXPECT_TRUE(core::gFileOpen());
    EXPECT_EQ(core::gDatabase()->Path(), original);
    EXPECT_EQ(core::Property_Get("UseNVCGains"), "Yes");
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "Unable to save file.");
}

// A copy on a disk too full to take its name is given up, and the file copied from stays open.
TEST_F(SaveAsTest, ACopyOnAFullDiskIsGivenUpAndTheFileStaysOpen)
{
    const QString folder = file("full disk");
    ASSERT_TRUE(QDir().mkdir(folder));
    testsupport::FullDisk disk(folder);
    disk.fill();
    const QString copy = file("full disk/Fire2.tlm");
    prompter.file(copy);
    EXPECT_EQ(core::SaveAsDatafile(), core::OpenResult::Cancelled);
    EXPECT_TRUE(core::gFileOpen());
    EXPECT_EQ(core::gDatabase()->Path(), original);
    EXPECT_EQ(core::Property_Get("FullFileName"), original);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text,
              QString("The file %1 cannot be opened: the disk it is on is full.\r\nNothing in it has been changed. "
                      "Free some space on that disk, and open it again.")
                  .arg(copy));
    disk.empty();
    EXPECT_NO_THROW(dao::Database::Open(copy)) << "the copy is not left locked";
    core::CloseDatafile();
}

TEST_F(SaveAsTest, CloseReleasesTheFile)
{
    core::CloseDatafile();
    EXPECT_FALSE(core::gFileOpen());
    EXPECT_EQ(core::gDatabase(), nullptr);
    EXPECT_EQ(core::gProperties(), nullptr);
    EXPECT_NO_THROW(dao::Database::Open(original));
}

TEST_F(SaveAsTest, MaxKeyFollowsThePrimaryKey)
{
    EXPECT_EQ(core::GetMaxKey("Items", "ItemKey"), 292);
    EXPECT_EQ(core::GetMaxKey("SRUses", "ItemKey"), 0);
    core::gDatabase()->Execute("INSERT INTO Items (ItemKey) VALUES (5000)");
    EXPECT_EQ(core::GetMaxKey("Items", "ItemKey"), 5000);
    EXPECT_THROW(core::GetMaxKey("NoTable", "Key"), dao::Error);
    core::CloseDatafile();
    EXPECT_EQ(core::GetMaxKey("Items", "ItemKey"), 0);
}

} // namespace
