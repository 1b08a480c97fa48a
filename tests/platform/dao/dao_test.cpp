#include "platform/dao/dao.h"
#include "filedigest.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <limits>
#include <sqlite3.h>
#include <unistd.h>

using namespace dao;

namespace {

// Runs statements on a new file through the engine itself, as another writer would.
bool WriteRaw(const QString& path, const char* sql)
{
    sqlite3* raw = nullptr;
    bool ok = sqlite3_open(path.toUtf8().constData(), &raw) == SQLITE_OK &&
              sqlite3_exec(raw, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(raw);
    return ok;
}

class DaoTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = dir.filePath("a.tlm");
        auto db = Database::Create(path);
        db->Execute("CREATE TABLE Items (ItemKey LONG INTEGER, ParentKey LONG INTEGER, ChildIndex LONG INTEGER, "
                    "ItemName TEXT(50), Body MEMO TEXT, PRIMARY KEY (ItemKey))");
        db->Execute("CREATE TABLE Pairs (OutcomeKey LONG INTEGER, ItemKey LONG INTEGER, Loss CURRENCY INTEGER, "
                    "Share SINGLE REAL, Level SHORT INTEGER, Flag YESNO INTEGER, PRIMARY KEY (OutcomeKey, ItemKey))");
        db->Execute("CREATE TABLE Auto (ItemKey INTEGER PRIMARY KEY AUTOINCREMENT, Name TEXT(20))");
        db->Execute("CREATE TABLE Properties (Property TEXT(50), Value MEMO TEXT, PRIMARY KEY (Property))");
        for (int k : {30, 10, 20})
            db->Execute("INSERT INTO Items VALUES (?, 1, ?, ?, NULL)", {k, k / 10, QString("n%1").arg(k)});
        db->Close();
    }

    std::unique_ptr<Database> open(OpenOptions o = {}) { return Database::Open(path, o); }

    QTemporaryDir dir;
    QString path;
};

TEST_F(DaoTest, BadFilesAreRefusedAndLeftAsTheyWere)
{
    struct Case {
        const char* name;
        QByteArray content;   // empty: no file at all
        Error::Kind kind;
    };
    QFile whole(path);
    whole.open(QIODevice::ReadOnly);
    const QByteArray db = whole.readAll();
    QByteArray wal = db;
    wal[18] = 2;
    wal[19] = 2;
    const int pageSize = (quint8(db[16]) << 8) | quint8(db[17]);
    ASSERT_GT(db.size(), 3 * pageSize);
    // A page written over, in a file whose header does not vouch for its length (as files from
    // some other writers have it): only reading every page finds it.
    QByteArray overwritten = db;
    overwritten.replace(92, 4, QByteArray(4, '\xff'));
    overwritten.replace(pageSize, pageSize, QByteArray(pageSize, '\x5a'));
    // A header that vouches for more pages than the file holds, and a schema that puts two
    // indexes on one page.
    QByteArray longer = db;
    longer[31] = char(quint8(longer[31]) + 1);
    const QString twiceRootedPath = dir.filePath("twice.src");
    ASSERT_TRUE(WriteRaw(twiceRootedPath,
                         "CREATE TABLE t (k INTEGER PRIMARY KEY, v TEXT); CREATE INDEX i ON t (v); CREATE INDEX j ON t (k, v); "
                         "PRAGMA writable_schema = 1; "
                         "UPDATE sqlite_master SET rootpage = (SELECT rootpage FROM sqlite_master WHERE name = 'i') "
                         "WHERE name = 'j';"));
    QFile twiceRootedFile(twiceRootedPath);
    twiceRootedFile.open(QIODevice::ReadOnly);
    const Case cases[] = {
        {"header counts a page more", longer, Error::Kind::NotDatabase},
        {"two indexes on one page", twiceRootedFile.readAll(), Error::Kind::NotDatabase},
        {"last page cut off", db.left(db.size() - pageSize), Error::Kind::NotDatabase},
        {"page written over", overwritten, Error::Kind::NotDatabase},
        {"write-ahead log", wal, Error::Kind::NotDatabase},
        {"missing", {}, Error::Kind::NotFound},
        {"empty", QByteArray(""), Error::Kind::NotDatabase},
        {"text", "Fire name,Acres\nSmith Creek,1200\n", Error::Kind::NotDatabase},
        {"truncated", db.left(db.size() / 2 + 100), Error::Kind::NotDatabase},
        {"header only", db.left(100), Error::Kind::NotDatabase},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString p = dir.filePath(QString("bad-%1.tlm").arg(c.name));
        if (!c.content.isNull()) {
            QFile f(p);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.content);
        }
        const QByteArray before = c.content.isNull() ? QByteArray() : daotest::Digest(p);
        try {
            auto opened = Database::Open(p);
            ADD_FAILURE() << "opened";
        } catch (const Error& e) {
            EXPECT_EQ(e.kind(), c.kind) << e.what();
        }
        if (c.content.isNull())
            EXPECT_FALSE(QFile::exists(p)) << "an open must never create a file";
        else
            EXPECT_EQ(daotest::Digest(p), before);
    }
}

// Damage that only reading every index against its table finds. The whole check refuses it,
// leaving the file as it was; opened without that check, every pass over the table still ends,
// handing each row out at most once (a row the index names but the table lacks reads as no
// current record), and the check when it comes names the damage.
TEST_F(DaoTest, ADamagedIndexIsRefusedAndAPassOverItAlwaysEnds)
{
    struct Case {
        const char* name;
        const char* sql;
    };
    const Case cases[] = {
        // The schema reads descending, the pages hold ascending.
        {"index out of step with its table",
         "CREATE TABLE t (k INTEGER PRIMARY KEY, v TEXT); CREATE INDEX i ON t (v); "
         "INSERT INTO t (v) VALUES ('a'), ('b'), ('c'), ('d'); PRAGMA writable_schema = 1; "
         "UPDATE sqlite_master SET sql = 'CREATE INDEX i ON t (v DESC)' WHERE name = 'i';"},
        // The pages of another table's index: rows 5 and 6 are not in the table, row 4 is in no index.
        {"index holding rows its table lacks",
         "CREATE TABLE t (k INTEGER PRIMARY KEY, v TEXT); CREATE INDEX i ON t (v); "
         "CREATE TABLE u (k INTEGER PRIMARY KEY, v TEXT); CREATE INDEX j ON u (v); "
         "INSERT INTO t (v) VALUES ('a'), ('b'), ('c'), ('z'); "
         "INSERT INTO u (v) VALUES ('a'), ('b'), ('c'), ('d'), ('e'), ('f'); "
         "CREATE TEMP TABLE roots AS SELECT name, rootpage FROM sqlite_master WHERE name IN ('i', 'j'); "
         "PRAGMA writable_schema = 1; "
         "UPDATE sqlite_master SET rootpage = (SELECT rootpage FROM roots WHERE name <> sqlite_master.name) "
         "WHERE name IN ('i', 'j');"},
    };
    constexpr int kMostSteps = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QString p = dir.filePath(QString("%1.tlm").arg(c.name));
        ASSERT_TRUE(WriteRaw(p, c.sql));
        const QByteArray before = daotest::Digest(p);
        try {
            Database::Open(p);
            ADD_FAILURE() << "opened";
        } catch (const Error& e) {
            EXPECT_EQ(e.kind(), Error::Kind::NotDatabase) << e.what();
        }
        EXPECT_EQ(daotest::Digest(p), before);
        OpenOptions withoutPages;
        withoutPages.checkEveryPage = false;
        auto db = Database::Open(p, withoutPages);
        // How each pass gets going: from the first row, from a fresh cursor, from a seek.
        const std::function<void(Recordset&)> starts[] = {
            [](Recordset& rs) { rs.MoveFirst(); },
            [](Recordset&) {},
            [](Recordset& rs) { rs.Seek(QString("b")); },
        };
        for (bool editing : {false, true}) {
            for (const auto& start : starts) {
                auto rs = db->OpenTable("t");
                rs->SetIndex("i");
                start(*rs);
                QList<int> seen;
                int steps = 0;
                for (; !rs->Eof() && steps < kMostSteps; ++steps, rs->MoveNext()) {
                    try {
                        const int k = rs->Field("k").toInt();
                        EXPECT_FALSE(seen.contains(k)) << k << (editing ? " editing" : "");
                        seen << k;
                        if (editing) {
                            rs->Edit();
                            rs->SetField("v", rs->Field("v").toString() + "x");
                            rs->Update();
                        }
                    } catch (const Error& e) {
                        EXPECT_TRUE(e.kind() == Error::Kind::NoCurrentRecord || e.kind() == Error::Kind::NotDatabase)
                            << e.what();
                        rs->CancelUpdate();
                    }
                }
                EXPECT_LT(steps, kMostSteps) << "editing " << editing;
            }
        }
        try {
            db->CheckEveryPage();
            ADD_FAILURE() << "the whole check passed";
        } catch (const Error& e) {
            EXPECT_EQ(e.kind(), Error::Kind::NotDatabase) << e.what();
        }
    }
}

// The whole check on a thread of its own: the database can be used at once (each use waits for
// the check), the check tells a sound file from a damaged one as the check in the open does,
// a second start does nothing, and closing waits for a check under way.
TEST_F(DaoTest, ACheckOnAThreadOfItsOwnFindsWhatTheCheckInTheOpenFinds)
{
    const struct {
        const char* name;
        const char* sql;
        bool damaged;
    } cases[] = {
        {"sound", "CREATE TABLE t (k INTEGER PRIMARY KEY, v TEXT); CREATE INDEX i ON t (v); "
                  "INSERT INTO t (v) VALUES ('a'), ('b'), ('c'), ('d');",
         false},
        {"damaged", "CREATE TABLE t (k INTEGER PRIMARY KEY, v TEXT); CREATE INDEX i ON t (v); "
                    "INSERT INTO t (v) VALUES ('a'), ('b'), ('c'), ('d'); PRAGMA writable_schema = 1; "
                    "UPDATE sqlite_master SET sql = 'CREATE INDEX i ON t (v DESC)' WHERE name = 'i';",
         true},
    };
    OpenOptions withoutPages;
    withoutPages.checkEveryPage = false;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString p = dir.filePath(QString("%1.tlm").arg(c.name));
        ASSERT_TRUE(WriteRaw(p, c.sql));
        auto db = Database::Open(p, withoutPages);
        std::atomic<int> finished{0};
        db->StartCheckEveryPage([&finished] { ++finished; });
        db->StartCheckEveryPage([&finished] { finished += 10; });
        auto rs = db->OpenRecordset("SELECT count(*) AS n FROM t");
        EXPECT_EQ(rs->Field("n").toInt(), 4);
        rs->Close();
        if (c.damaged) {
            try {
                db->FinishCheckEveryPage();
                ADD_FAILURE() << "the check passed";
            } catch (const Error& e) {
                EXPECT_EQ(e.kind(), Error::Kind::NotDatabase) << e.what();
            }
        } else {
            EXPECT_NO_THROW(db->FinishCheckEveryPage());
        }
        EXPECT_EQ(finished, 1);
        // Started again and closed before it is waited for.
        db->StartCheckEveryPage({});
        db->Close();
        EXPECT_FALSE(db->IsOpen());
    }
}

TEST_F(DaoTest, ReadOnlyFileIsRefusedForWriting)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind root";
    QFile::setPermissions(path, QFile::ReadOwner);
    EXPECT_THROW(open(), Error);
    auto ro = open({false, true});
    EXPECT_EQ(ro->OpenTable("Items")->RecordCount(), 3);
}

TEST_F(DaoTest, ReadOnlyOpenRefusesWrites)
{
    auto db = open({false, true});
    auto rs = db->OpenTable("Items");
    rs->Edit();
    rs->SetField("ItemName", "x");
    try {
        rs->Update();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), Error::Kind::ReadOnly);
    }
}

TEST_F(DaoTest, ExclusiveOpenRefusesSecondOpenerWhileFirstWorks)
{
    auto first = open();
    try {
        auto second = open();
        FAIL() << "second exclusive open succeeded";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), Error::Kind::Locked);
    }
    EXPECT_THROW(open({false, true}), Error);   // not even a shared reader gets in
    auto rs = first->OpenTable("Items");
    rs->AddNew();
    rs->SetField("ItemKey", 40);
    rs->Update();
    EXPECT_EQ(first->OpenTable("Items")->RecordCount(), 4);
    first->Close();
    EXPECT_NO_THROW(open());
}

// Another process cannot write to a file held by an exclusive open, read-only or not: the
// checks at open must not drop the engine's locks on it. (A forked child would share the
// engine's record of this process's locks, so the other process is the engine's own shell.)
TEST_F(DaoTest, AnExclusiveOpenKeepsOtherProcessesFromWriting)
{
    const QString shell = QStandardPaths::findExecutable("sqlite3");
    if (shell.isEmpty())
        GTEST_SKIP() << "the sqlite3 shell is not installed";
    for (const bool readOnly : {false, true}) {
        SCOPED_TRACE(readOnly ? "read-only" : "read-write");
        auto db = open({true, readOnly});
        QProcess other;
        other.start(shell, {path, "BEGIN IMMEDIATE; INSERT INTO Items (ItemKey) VALUES (99); COMMIT;"});
        ASSERT_TRUE(other.waitForFinished(60000));
        EXPECT_NE(other.exitCode(), 0) << "the other process wrote to the file";
        EXPECT_EQ(db->OpenTable("Items")->RecordCount(), 3);
    }
}

TEST_F(DaoTest, SharedOpensCoexist)
{
    auto a = open({false, false});
    auto b = open({false, false});
    EXPECT_EQ(b->OpenTable("Items")->RecordCount(), 3);
}

TEST_F(DaoTest, TableRowsComeInPrimaryKeyOrder)
{
    auto db = open();
    auto rs = db->OpenTable("Items");
    EXPECT_EQ(rs->Index(), "PrimaryKey");
    QList<int> keys;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext())
        keys << rs->Field("ItemKey").toInt();
    EXPECT_EQ(keys, (QList<int>{10, 20, 30}));
    rs->MoveLast();
    EXPECT_EQ(rs->Field("itemkey").toInt(), 30);   // names are case-insensitive
    rs->MovePrevious();
    EXPECT_EQ(rs->Field("ItemKey").toInt(), 20);
    EXPECT_THROW(rs->Field("NoSuchField"), Error);
}

TEST_F(DaoTest, SeekOnOneAndTwoKeyFields)
{
    auto db = open();
    db->Execute("INSERT INTO Pairs (OutcomeKey, ItemKey, Loss) VALUES (1, 5, 100), (1, 6, 200), (2, 5, 300)");
    db->Execute("INSERT INTO Properties VALUES ('DataFormatID', '06.01.01')");
    auto items = db->OpenTable("Items");
    items->Seek(20);
    ASSERT_FALSE(items->NoMatch());
    EXPECT_EQ(items->Field("ItemName").toString(), "n20");
    items->MoveNext();   // a seek positions the cursor for moves too
    EXPECT_EQ(items->Field("ItemKey").toInt(), 30);
    items->Seek(25);
    EXPECT_TRUE(items->NoMatch());
    EXPECT_THROW(items->Field("ItemName"), Error);
    items->Seek(QString("not a number"));
    EXPECT_TRUE(items->NoMatch());

    auto pairs = db->OpenTable("Pairs");
    pairs->Seek(1, 6);
    ASSERT_FALSE(pairs->NoMatch());
    EXPECT_DOUBLE_EQ(pairs->Field("Loss").toDouble(), 200);
    pairs->Seek(2, 6);
    EXPECT_TRUE(pairs->NoMatch());

    auto props = db->OpenTable("Properties");
    props->Seek(QString("dataformatid"));   // text keys match regardless of case
    ASSERT_FALSE(props->NoMatch());
    EXPECT_EQ(props->Field("Value").toString(), "06.01.01");
}

TEST_F(DaoTest, ValuesKeepTheirJetTypes)
{
    auto db = open();
    auto rs = db->OpenTable("Items");
    rs->AddNew();
    rs->SetField("ItemKey", 50);
    rs->SetField("ItemName", "123");
    rs->SetField("Body", "");
    rs->Update();
    rs->Seek(50);
    EXPECT_EQ(rs->Field("ItemName").metaType().id(), QMetaType::QString);   // text stays text
    EXPECT_EQ(rs->Field("ItemName").toString(), "123");
    EXPECT_FALSE(rs->Field("Body").isNull());   // "" is not Null
    EXPECT_EQ(rs->Field("Body").toString(), "");
    EXPECT_TRUE(rs->Field("ParentKey").isNull());

    auto p = db->OpenTable("Pairs");
    p->AddNew();
    p->SetField("OutcomeKey", 1);
    p->SetField("ItemKey", 2);
    p->SetField("Loss", 1234567.12345);
    p->SetField("Share", 0.1);
    p->SetField("Level", "7");
    p->SetField("Flag", true);
    p->Update();
    p->Seek(1, 2);
    EXPECT_EQ(p->Field("Share").metaType().id(), QMetaType::Float);
    EXPECT_EQ(p->Field("Share").toFloat(), 0.1f);
    EXPECT_EQ(p->Field("Loss").toDouble(), 1234567.1235);   // kept to 1/10,000
    EXPECT_EQ(p->Field("Level").toInt(), 7);
    EXPECT_EQ(p->Field("Flag").toBool(), true);

    // Plain amounts in SQL text read back as the same amounts.
    db->Execute("UPDATE Pairs SET Loss = ? WHERE OutcomeKey = 1", {12.5});
    p->Seek(1, 2);
    EXPECT_EQ(p->Field("Loss").toDouble(), 12.5);
}

TEST_F(DaoTest, BadValuesAreRefusedBeforeTheyReachTheFile)
{
    auto db = open();
    auto p = db->OpenTable("Pairs");
    p->AddNew();
    EXPECT_THROW(p->SetField("OutcomeKey", "abc"), Error);
    EXPECT_THROW(p->SetField("Level", 40000), Error);   // Integer is 16 bits
    EXPECT_THROW(p->SetField("Loss", std::numeric_limits<double>::infinity()), Error);
    EXPECT_THROW(p->SetField("Loss", 1e300), Error);    // beyond a Currency's range
    EXPECT_THROW(p->SetField("Share", 1e39), Error);    // beyond a Single's range
    EXPECT_THROW(p->SetField("Share", "nan"), Error);
    p->CancelUpdate();
    EXPECT_THROW(p->SetField("Level", 1), Error);   // no edit in progress
}

// What another program may have left in a numeric column: each reads back as a value of the
// field's type or as Null, never as a wrapped or infinite number.
TEST_F(DaoTest, DamagedNumbersReadAsNullOrAnExactValue)
{
    struct Case {
        const char* column;
        QVariant stored;     // bound as is, past the engine's conversions
        QVariant expected;   // a null QVariant: reads as Null
    };
    const double inf = std::numeric_limits<double>::infinity();
    const QVariant null;
    const Case cases[] = {
        {"I", 1e300, null},
        {"I", -1e300, null},
        {"I", "inf", null},
        {"I", "-inf", null},
        {"I", "nan", null},
        {"I", inf, null},
        {"I", 40000, null},
        {"I", 12.5, 12},   // whole-number fields round half to even
        {"I", "-7", -7},
        {"L", 9223372036854775808.0, null},   // 2^63
        {"L", std::numeric_limits<qint64>::max(), null},
        {"L", qint64(2147483648), null},
        {"L", -2147483648.0, int(-2147483648LL)},
        {"L", "1e300", null},
        {"Y", 256, null},
        {"Y", -1, null},
        {"Y", 255, 255},
        {"B", "nan", null},
        {"B", -inf, null},
        {"B", 1e300, true},   // any number but 0 is True
        {"B", 0, false},
        {"S", 1e39, null},
        {"S", -1e39, null},
        {"S", "inf", null},
        {"S", "nan", null},
        {"S", 0.1, 0.1f},
        {"D", inf, null},
        {"D", "-inf", null},
        {"D", 1e300, 1e300},
        {"C", 1e300, null},
        {"C", "inf", null},
        {"C", 12.34567, 12.3457},
    };
    auto db = open();
    db->Execute("CREATE TABLE Odd (Id LONG INTEGER, B YESNO INTEGER, Y BYTE INTEGER, I SHORT INTEGER, "
                "L LONG INTEGER, S SINGLE REAL, D DOUBLE REAL, C CURRENCY INTEGER, PRIMARY KEY (Id))");
    int id = 0;
    for (const Case& c : cases)
        db->Execute(QString("INSERT INTO Odd (Id, %1) VALUES (?, ?)").arg(c.column), {++id, c.stored});

    auto check = [](const QVariant& got, const QVariant& expected) {
        if (expected.isNull()) {
            EXPECT_TRUE(got.isNull()) << got.toString().toStdString();
            return;
        }
        ASSERT_FALSE(got.isNull());
        EXPECT_EQ(got.metaType(), expected.metaType());
        EXPECT_EQ(got, expected) << got.toString().toStdString();
    };
    auto table = db->OpenTable("Odd");
    id = 0;
    for (const Case& c : cases) {
        ++id;
        SCOPED_TRACE(QString("%1 = %2").arg(c.column, c.stored.toString()).toStdString());
        table->Seek(id);   // a seek reads the row itself
        ASSERT_FALSE(table->NoMatch());
        check(table->Field(c.column), c.expected);
        auto query = db->OpenRecordset("SELECT * FROM Odd WHERE Id = ?", {id});
        check(query->Field(c.column), c.expected);
    }
    // Walking the table reads each row by its id.
    table->MoveFirst();
    for (const Case& c : cases) {
        SCOPED_TRACE(QString("walk %1 = %2").arg(c.column, c.stored.toString()).toStdString());
        ASSERT_FALSE(table->Eof());
        check(table->Field(c.column), c.expected);
        table->MoveNext();
    }
}

TEST_F(DaoTest, DuplicateKeyIsAConstraintError)
{
    auto db = open();
    auto rs = db->OpenTable("Items");
    rs->AddNew();
    rs->SetField("ItemKey", 10);
    try {
        rs->Update();
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), Error::Kind::Constraint);
    }
}

TEST_F(DaoTest, AutoNumberReadsBackAndIsNeverReused)
{
    auto db = open();
    auto rs = db->OpenTable("Auto");
    QList<int> keys;
    for (int i = 0; i < 3; ++i) {
        rs->AddNew();
        rs->SetField("Name", QString("r%1").arg(i));
        rs->Update();
        keys << rs->Field("ItemKey").toInt();   // positioned on the new row
        EXPECT_EQ(rs->Field("Name").toString(), QString("r%1").arg(i));
    }
    EXPECT_EQ(keys, (QList<int>{1, 2, 3}));
    rs->MoveLast();
    rs->Delete();
    rs->AddNew();
    rs->SetField("Name", "after delete");
    rs->Update();
    EXPECT_EQ(rs->Field("ItemKey").toInt(), 4);
}

TEST_F(DaoTest, DeleteWhileWalkingVisitsEveryRow)
{
    auto db = open();
    for (int k = 40; k < 50; ++k)
        db->Execute("INSERT INTO Items (ItemKey) VALUES (?)", {k});
    auto rs = db->OpenTable("Items");
    QList<int> seen;
    for (rs->MoveFirst(); !rs->Eof(); rs->MoveNext()) {
        const int k = rs->Field("ItemKey").toInt();
        seen << k;
        if (k % 2 == 0)
            rs->Delete();
    }
    EXPECT_EQ(seen.size(), 13);
    EXPECT_EQ(rs->RecordCount(), 5);
    EXPECT_THROW(rs->Field("ItemKey"), Error);
}

// The row a cursor stands on is deleted through another: the next move goes on with the row
// after it, however the cursor came to the row, rather than starting the pass over.
TEST_F(DaoTest, ARowDeletedElsewhereIsMovedPast)
{
    auto db = open();
    const std::function<void(Recordset&)> arrivals[] = {
        [](Recordset& rs) { rs.Seek(20); },
        [](Recordset& rs) {
            rs.MoveFirst();
            rs.MoveNext();
        },
    };
    for (const auto& arrive : arrivals) {
        db->Execute("INSERT OR IGNORE INTO Items (ItemKey, ItemName) VALUES (20, 'n20')");
        auto a = db->OpenTable("Items");
        arrive(*a);
        ASSERT_EQ(a->Field("ItemKey").toInt(), 20);
        db->Execute("DELETE FROM Items WHERE ItemKey = 20");
        a->MoveNext();
        ASSERT_FALSE(a->Eof());
        EXPECT_EQ(a->Field("ItemKey").toInt(), 30);
        a->MovePrevious();
        EXPECT_EQ(a->Field("ItemKey").toInt(), 10);
    }
}

TEST_F(DaoTest, EditChangesOnlyTheCurrentRowAndOtherCursorsSeeIt)
{
    auto db = open();
    auto a = db->OpenTable("Items");
    auto b = db->OpenTable("Items");
    a->Seek(20);
    a->Edit();
    a->SetField("ItemName", "changed");
    EXPECT_EQ(a->Field("ItemName").toString(), "changed");   // the buffer shows the edit
    a->Update();
    b->Seek(20);
    EXPECT_EQ(b->Field("ItemName").toString(), "changed");
    b->Seek(10);
    EXPECT_EQ(b->Field("ItemName").toString(), "n10");
    db->Execute("INSERT INTO Items (ItemKey) VALUES (15)");
    b->MoveNext();
    EXPECT_EQ(b->Field("ItemKey").toInt(), 15);   // rows added elsewhere are seen
}

TEST_F(DaoTest, QueryRecordsets)
{
    auto db = open();
    auto rs = db->OpenRecordset("SELECT * FROM Items WHERE ParentKey = ? ORDER BY ChildIndex DESC", {1});
    EXPECT_TRUE(rs->Updatable());
    ASSERT_EQ(rs->RecordCount(), 3);
    EXPECT_EQ(rs->Field("ItemKey").toInt(), 30);
    rs->Edit();
    rs->SetField("ItemName", "edited");
    rs->Update();
    EXPECT_EQ(rs->Field("ItemName").toString(), "edited");
    rs->MoveNext();
    rs->Delete();
    rs->MoveNext();
    EXPECT_EQ(rs->Field("ItemKey").toInt(), 10);
    auto t = db->OpenTable("Items");
    t->Seek(30);
    EXPECT_EQ(t->Field("ItemName").toString(), "edited");
    t->Seek(20);
    EXPECT_TRUE(t->NoMatch());

    auto agg = db->OpenRecordset("SELECT count(*) AS N, max(ItemKey) AS M FROM Items");
    EXPECT_FALSE(agg->Updatable());
    EXPECT_EQ(agg->Field("N").toInt(), 2);
    EXPECT_THROW(agg->Edit(), Error);

    // A value with quotes is bound, never spliced into the text.
    auto none = db->OpenRecordset("SELECT * FROM Items WHERE ItemName = ?", {"x' OR '1'='1"});
    EXPECT_TRUE(none->Eof());
    EXPECT_EQ(none->RecordCount(), 0);
}

TEST_F(DaoTest, TableDefinitions)
{
    auto db = open();
    db->CreateTable("SRUses", {{"ItemKey", FieldType::Long}, {"OutcomeKey", FieldType::Long}, {"Note", FieldType::Memo}},
                    {"ItemKey"});
    db->Execute("INSERT INTO SRUses VALUES (1, 7, 'a'), (2, 7, 'b')");
    EXPECT_EQ(db->PrimaryKey("SRUses"), QStringList{"ItemKey"});
    db->AddField("SRUses", {"Cost", FieldType::Currency});
    EXPECT_TRUE(db->FieldExists("SRUses", "cost"));
    db->DropField("SRUses", "Note");
    EXPECT_FALSE(db->FieldExists("SRUses", "Note"));
    db->CreateIndex("SRUses", "ByOutcome", {"OutcomeKey"});
    EXPECT_EQ(db->IndexNames("SRUses"), (QStringList{"PrimaryKey", "ByOutcome"}));

    // A new primary key on a table that has rows keeps the rows and the other indexes.
    db->DropIndex("SRUses", "PrimaryKey");
    EXPECT_TRUE(db->PrimaryKey("SRUses").isEmpty());
    db->CreateIndex("SRUses", "PrimaryKey", {"OutcomeKey", "ItemKey"}, true);
    EXPECT_EQ(db->PrimaryKey("SRUses"), (QStringList{"OutcomeKey", "ItemKey"}));
    EXPECT_TRUE(db->IndexNames("SRUses").contains("ByOutcome"));
    auto rs = db->OpenTable("SRUses");
    rs->Seek(7, 2);
    ASSERT_FALSE(rs->NoMatch());
    rs->SetIndex("ByOutcome");
    EXPECT_EQ(rs->RecordCount(), 2);

    const auto fields = db->Fields("SRUses");
    ASSERT_EQ(fields.size(), 3);
    EXPECT_EQ(fields[2].type, FieldType::Currency);

    db->RenameTable("SRUses", "OldUses");
    EXPECT_FALSE(db->TableExists("SRUses"));
    EXPECT_TRUE(db->TableExists("oldUSES"));
    db->DropTable("OldUses");
    EXPECT_EQ(db->TableNames(), (QStringList{"Auto", "Items", "Pairs", "Properties"}));
    try {
        db->OpenTable("OldUses");
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), Error::Kind::NoSuchTable);
    }
}

TEST_F(DaoTest, ATextOfSeveralStatementsIsRefusedWhole)
{
    const QByteArray before = daotest::Digest(path);
    {
        auto db = open();
        const char* const texts[] = {
            "INSERT INTO Items (ItemKey) VALUES (100); INSERT INTO Items (ItemKey) VALUES (101)",
            "DELETE FROM Items WHERE ItemKey = 10; DROP TABLE Pairs",
            "UPDATE Items SET ItemName = 'x';\n-- a note\nDELETE FROM Items",
        };
        for (const char* text : texts) {
            SCOPED_TRACE(text);
            EXPECT_THROW(db->Execute(text), Error);
        }
        EXPECT_THROW(db->OpenRecordset("SELECT * FROM Items; DELETE FROM Items"), Error);
        // A text must bind exactly the values it asks for.
        EXPECT_THROW(db->Execute("DELETE FROM Items WHERE ItemKey = ? OR ItemKey = ?", {10}), Error);
        EXPECT_THROW(db->Execute("DELETE FROM Items WHERE ItemKey = ?", {10, 20}), Error);
    }
    EXPECT_EQ(daotest::Digest(path), before);

    // One statement with a closing semicolon or a trailing comment is one statement.
    auto db = open();
    EXPECT_EQ(db->Execute("DELETE FROM Items WHERE ItemKey = ?;", {10}), 1);
    EXPECT_EQ(db->Execute("DELETE FROM Items WHERE ItemKey = 20; -- done\n"), 1);
    EXPECT_EQ(db->OpenTable("Items")->RecordCount(), 1);
}

TEST_F(DaoTest, AQueryRunAgainSeesColumnsAnotherOpenAdded)
{
    auto reader = open({false, true});
    const QString sql = "SELECT * FROM Items WHERE ItemKey = ?";
    EXPECT_EQ(reader->OpenRecordset(sql, {10})->FieldCount(), 5);
    {
        auto writer = open({false, false});
        writer->Execute("ALTER TABLE Items ADD COLUMN Extra MEMO TEXT");
        writer->Execute("UPDATE Items SET Extra = 'noted' WHERE ItemKey = 10");
    }
    auto again = reader->OpenRecordset(sql, {10});
    ASSERT_EQ(again->FieldCount(), 6);
    EXPECT_EQ(again->FieldName(5), "Extra");
    EXPECT_EQ(again->Field("Extra").toString(), "noted");
}

TEST_F(DaoTest, SchemaChangesMadeByAnyStatementAreSeen)
{
    auto db = open();
    auto items = db->OpenTable("Items");   // the table's columns are now known and kept
    ASSERT_FALSE(db->FieldExists("Items", "Extra"));
    ASSERT_NO_THROW(db->OpenTable("Pairs"));

    db->Execute("/* a column for notes */ ALTER TABLE Items ADD COLUMN Extra MEMO TEXT");
    EXPECT_TRUE(db->FieldExists("Items", "Extra"));
    auto fresh = db->OpenTable("Items");
    fresh->Seek(10);
    ASSERT_FALSE(fresh->NoMatch());
    EXPECT_TRUE(fresh->Field("Extra").isNull());

    db->Execute("-- no longer needed\nDROP TABLE Pairs");
    try {
        db->OpenTable("Pairs");
        ADD_FAILURE() << "a dropped table opened";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), Error::Kind::NoSuchTable) << e.what();
    }

    db->Execute("  create table Later (A LONG INTEGER, PRIMARY KEY (A))");
    db->Execute("INSERT INTO Later VALUES (?)", {5});
    auto later = db->OpenTable("Later");
    EXPECT_EQ(later->Index(), "PrimaryKey");
    later->Seek(5);
    EXPECT_FALSE(later->NoMatch());
}

TEST_F(DaoTest, TransactionsNestAndRollBackToTheByte)
{
    const QByteArray before = daotest::Digest(path);
    {
        auto db = open();
        Transaction outer(*db);
        db->Execute("INSERT INTO Items (ItemKey) VALUES (100)");
        {
            Transaction inner(*db);
            db->Execute("INSERT INTO Items (ItemKey) VALUES (101)");
        }   // inner rolled back, outer goes on
        auto rs = db->OpenTable("Items");
        rs->Seek(101);
        EXPECT_TRUE(rs->NoMatch());
        rs->Seek(100);
        EXPECT_FALSE(rs->NoMatch());
        db->CreateTable("Temp", {{"A", FieldType::Long}});
    }   // outer rolled back
    EXPECT_EQ(daotest::Digest(path), before);

    auto db = open();
    try {
        Transaction tx(*db);
        db->Execute("DELETE FROM Items");
        throw std::runtime_error("conversion failed");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(db->OpenTable("Items")->RecordCount(), 3);
    EXPECT_EQ(db->TransactionDepth(), 0);
    {
        Transaction tx(*db);
        db->Execute("DELETE FROM Items WHERE ItemKey = 10");
        tx.commit();
    }
    db->Close();
    EXPECT_EQ(open()->OpenTable("Items")->RecordCount(), 2);
}

TEST_F(DaoTest, ClosingTheDatabaseClosesItsRecordsets)
{
    auto db = open();
    auto rs = db->OpenTable("Items");
    db->Close();
    EXPECT_FALSE(rs->IsOpen());
    EXPECT_THROW(rs->MoveNext(), Error);
    EXPECT_NO_THROW(open());   // and releases the file
}

TEST(DaoTypes, DeclaredTypesRoundTrip)
{
    for (FieldType t : {FieldType::Boolean, FieldType::Byte, FieldType::Integer, FieldType::Long, FieldType::AutoNumber,
                        FieldType::Currency, FieldType::Single, FieldType::Double, FieldType::Date, FieldType::Text,
                        FieldType::Memo})
        EXPECT_EQ(TypeFromDeclared(DeclaredType(t, 50)), t);
}

} // namespace
