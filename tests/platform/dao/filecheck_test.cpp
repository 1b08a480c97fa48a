// Files made by hand to do harm: statements stored in them must never run, and values longer
// than a field holds must never be read whole. Each is refused with a sentence the user can
// read and left exactly as it was, or read with its texts cut to their fields.

#include "platform/dao/dao.h"
#include "platform/dao/rowreader.h"
#include "filedigest.h"

#include <QFile>
#include <QTemporaryDir>

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace dao;
using daotest::Digest;

namespace {

// Runs statements straight through SQLite, as a file made by hand would have them.
void WriteRaw(const QString& path, const QString& sql)
{
    sqlite3* raw = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
    char* error = nullptr;
    const int rc = sqlite3_exec(raw, sql.toUtf8().constData(), nullptr, nullptr, &error);
    const std::string message = error ? error : "";
    sqlite3_free(error);
    sqlite3_close(raw);
    ASSERT_EQ(rc, SQLITE_OK) << message;
}

// A file's schema as the file lists it, as a caller that made the file would vouch for it.
class ListedSchema {
public:
    explicit ListedSchema(const QString& path)
    {
        sqlite3* raw = nullptr;
        sqlite3_open(path.toUtf8().constData(), &raw);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(raw, "SELECT type, name, tbl_name, sql FROM sqlite_master", -1, &st, nullptr);
        while (sqlite3_step(st) == SQLITE_ROW) {
            const char* texts[4];
            for (int col = 0; col < 4; ++col) {
                const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(st, col));
                texts[col] = text ? mTexts.emplace_back(text).c_str() : nullptr;
            }
            mEntries.push_back({texts[0], texts[1], texts[2], texts[3]});
        }
        sqlite3_finalize(st);
        sqlite3_close(raw);
    }
    std::span<const SchemaEntry> entries() const { return mEntries; }

private:
    std::deque<std::string> mTexts;   // where the entries point
    std::vector<SchemaEntry> mEntries;
};

QString Scalar(Database& db, const QString& sql)
{
    auto rs = db.OpenRecordset(sql);
    return rs->Eof() ? QString() : rs->Field(0).toString();
}

class FileCheck : public ::testing::Test {
protected:
    // A small data file: two tables as the program keeps them.
    QString makeFile(const QString& name, const QString& extra = {})
    {
        const QString path = dir.filePath(name);
        QFile::remove(path);
        WriteRaw(path, QStringLiteral("CREATE TABLE Properties (Property TEXT(50) NOT NULL, Value MEMO TEXT, PRIMARY KEY (Property));"
                                      "CREATE TABLE Outcomes (ItemKey LONG INTEGER NOT NULL, Description MEMO TEXT, PRIMARY KEY (ItemKey));"
                                      "INSERT INTO Properties VALUES ('DataFormatID', '06.01.01');"
                                      "INSERT INTO Outcomes VALUES (1, 'Extreme'), (2, 'Target');") +
                           extra);
        return path;
    }

    QTemporaryDir dir;
};

// What another writer may put in a file, each refused before a row is read, whether or not the
// opener names the schema of its own files: one entry more than that is not its own.
TEST_F(FileCheck, AFileHoldingStatementsOfItsOwnIsRefusedUntouched)
{
    const ListedSchema own(makeFile(QStringLiteral("own.tlm")));
    {
        auto db = Database::Open(dir.filePath(QStringLiteral("own.tlm")), {.ownSchema = own.entries()});
        EXPECT_TRUE(db->IsOwnSchema());
        // Not once the schema has changed, by whatever way.
        sqlite3_exec(db->handle(), "CREATE TABLE Later (A LONG INTEGER)", nullptr, nullptr, nullptr);
        EXPECT_FALSE(db->IsOwnSchema());
        EXPECT_FALSE(Database::Open(makeFile(QStringLiteral("plain.tlm")))->IsOwnSchema());
    }
    const struct {
        const char* schema;
        const char* sentence;
    } cases[] = {
        {"CREATE TRIGGER wipe AFTER INSERT ON Properties BEGIN DELETE FROM Outcomes; END;",
         "It holds a trigger (\"wipe\" on Properties): statements of its own, which no file of this program holds."},
        {"CREATE TRIGGER keep BEFORE UPDATE ON Outcomes BEGIN SELECT 1; END;",
         "It holds a trigger (\"keep\" on Outcomes): statements of its own, which no file of this program holds."},
        {"CREATE VIEW Everything AS SELECT * FROM Outcomes;",
         "It holds a view (\"Everything\"): statements of its own, which no file of this program holds."},
        {"CREATE VIRTUAL TABLE Notes USING fts5(Body);",
         "It holds a virtual table (\"Notes\"), which no file of this program holds."},
        {"CREATE TABLE Keyed (K TEXT PRIMARY KEY, V TEXT) WITHOUT ROWID;",
         "Its table Keyed is kept without row ids, as no file of this program is."},
        {"CREATE TABLE Hiding (rowid INTEGER, V TEXT);",
         "Its table Hiding has a field named rowid, which no file of this program has."},
        {"CREATE TABLE Computed (A LONG INTEGER, B LONG INTEGER GENERATED ALWAYS AS (A * 2));",
         "Its field Computed.B is computed by statements of its own, which no file of this program holds."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.schema);
        const QString path = makeFile(QStringLiteral("hostile.tlm"), QString::fromLatin1(c.schema));
        const QByteArray before = Digest(path);
        for (const bool readOnly : {false, true}) {
            try {
                Database::Open(path, {.exclusive = !readOnly, .readOnly = readOnly, .ownSchema = own.entries()});
                ADD_FAILURE() << "opened";
            } catch (const Error& e) {
                EXPECT_EQ(e.message(), QString::fromLatin1(c.sentence));
            }
            try {
                Database::Open(path, {.exclusive = !readOnly, .readOnly = readOnly});
                ADD_FAILURE() << "opened";
            } catch (const Error& e) {
                EXPECT_EQ(e.kind(), Error::Kind::Foreign) << e.what();
                EXPECT_EQ(e.message(), QString::fromLatin1(c.sentence));
            }
        }
        EXPECT_EQ(Digest(path), before);
    }
}

// Even where a file gets one past the check (a trigger made after the open), nothing it stores
// runs; the temporary triggers of the connection itself still do.
TEST_F(FileCheck, StatementsStoredInAFileNeverRun)
{
    const QString path = makeFile(QStringLiteral("open.tlm"));
    auto db = Database::Open(path);
    db->Execute(QStringLiteral("CREATE TRIGGER wipe AFTER INSERT ON Properties BEGIN DELETE FROM Outcomes; END"));
    db->Execute(QStringLiteral("INSERT INTO Properties VALUES ('FullFileName', 'x')"));
    EXPECT_EQ(Scalar(*db, QStringLiteral("SELECT count(*) FROM Outcomes")), "2");
    db->Execute(QStringLiteral("CREATE VIEW Everything AS SELECT * FROM Outcomes"));
    EXPECT_THROW(db->OpenRecordset(QStringLiteral("SELECT * FROM Everything")), Error);
    // Nor can the schema be written as plain rows, to slip a statement past the open.
    try {
        db->Execute(QStringLiteral("PRAGMA writable_schema = 1"));
    } catch (const Error&) {
    }
    EXPECT_THROW(db->Execute(QStringLiteral("UPDATE sqlite_master SET sql = sql WHERE name = 'wipe'")), Error);

    db->Execute(QStringLiteral("CREATE TEMP TRIGGER mine AFTER INSERT ON Properties BEGIN DELETE FROM Outcomes WHERE ItemKey = 2; END"));
    db->Execute(QStringLiteral("INSERT INTO Properties VALUES ('ProgramID', 'Advanced')"));
    EXPECT_EQ(Scalar(*db, QStringLiteral("SELECT count(*) FROM Outcomes")), "1");
}

// A value is measured from its row's header, so that even one of a gigabyte is refused at once;
// one byte less than the bound opens.
TEST_F(FileCheck, AValueLongerThanAnyFieldHoldsIsRefusedUntouched)
{
    const qint64 over = kLongestValue + 1;
    const struct {
        const char* name;
        QString value;
        bool refused;
    } cases[] = {
        {"blob in a memo", QStringLiteral("zeroblob(%1)").arg(over), true},
        {"text in a memo", QStringLiteral("CAST(zeroblob(%1) AS TEXT)").arg(over), true},
        {"blob in a key text", QStringLiteral("zeroblob(%1)").arg(over), true},
        {"memo at the bound", QStringLiteral("zeroblob(%1)").arg(kLongestValue), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const bool key = QByteArray(c.name).contains("key");
        const QString path = makeFile(QStringLiteral("long.tlm"),
                                      key ? QStringLiteral("INSERT INTO Properties VALUES (%1, 'x');").arg(c.value)
                                          : QStringLiteral("UPDATE Outcomes SET Description = %1 WHERE ItemKey = 2;").arg(c.value));
        const QByteArray before = Digest(path);
        try {
            auto db = Database::Open(path);
            EXPECT_FALSE(c.refused) << "opened";
        } catch (const Error& e) {
            EXPECT_TRUE(c.refused) << e.what();
            EXPECT_EQ(e.kind(), Error::Kind::Foreign);
            EXPECT_EQ(e.message(), QStringLiteral("Its field %1 holds a value of 524,289 bytes; no field of this program's "
                                                  "files holds more than 524,288.")
                                       .arg(key ? "Properties.Property" : "Outcomes.Description"));
        }
        EXPECT_EQ(Digest(path), before);
    }
}

// An open that leaves the whole check for later (the window comes up first) reads every row but
// a longer value, which is refused as the check refuses it; the check then finds it too. A file
// without one is read and written as any other, a row longer than one value may be included.
TEST_F(FileCheck, AnOpenThatLeavesTheCheckForLaterNeverReadsALongerValue)
{
    const QString refusal = QStringLiteral("Its field Outcomes.Description holds a value of 524,289 bytes; no field of "
                                           "this program's files holds more than 524,288.");
    for (const qint64 length : {kLongestValue + 1, kLongestValue}) {
        const bool refused = length > kLongestValue;
        SCOPED_TRACE(refused ? "longer" : "at the bound");
        const QString path = makeFile(
            QStringLiteral("later.tlm"),
            QStringLiteral("UPDATE Outcomes SET Description = printf('%.*c', %1, 'x') WHERE ItemKey = 2;").arg(length));
        const QByteArray before = Digest(path);
        OpenOptions options;
        options.checkEveryPage = false;
        auto db = Database::Open(path, options);
        EXPECT_EQ(Scalar(*db, QStringLiteral("SELECT Description FROM Outcomes WHERE ItemKey = 1")), "Extreme");
        const QString read = QStringLiteral("SELECT Description FROM Outcomes WHERE ItemKey = 2");
        if (refused) {
            for (const auto& use : std::initializer_list<std::function<void()>>{
                     [&] { Scalar(*db, read); }, [&] { db->CheckEveryPage(); }}) {
                try {
                    use();
                    ADD_FAILURE() << "read";
                } catch (const Error& e) {
                    EXPECT_EQ(e.kind(), Error::Kind::Foreign);
                    EXPECT_EQ(e.message(), refusal);
                }
            }
            db->Close();
            EXPECT_EQ(Digest(path), before);
            continue;
        }
        EXPECT_EQ(Scalar(*db, read).size(), kLongestValue);
        // Its row is longer than any one value: written again whole, before the check and after.
        db->Execute(QStringLiteral("UPDATE Outcomes SET ItemKey = 3 WHERE ItemKey = 2"));
        db->CheckEveryPage();
        db->Execute(QStringLiteral("UPDATE Outcomes SET ItemKey = 4 WHERE ItemKey = 3"));
        EXPECT_EQ(Scalar(*db, QStringLiteral("SELECT length(Description) FROM Outcomes WHERE ItemKey = 4")),
                  QString::number(kLongestValue));
        db->Close();
    }
}

// The program never stores what it would refuse to open.
TEST_F(FileCheck, AValueLongerThanAnyFieldHoldsIsNeverWritten)
{
    const QString path = makeFile(QStringLiteral("write.tlm"));
    auto db = Database::Open(path);
    auto rs = db->OpenTable(QStringLiteral("Outcomes"));
    rs->Seek(2);
    rs->Edit();
    EXPECT_THROW(rs->SetField(QStringLiteral("Description"), QString(kLongestValue + 1, QLatin1Char('x'))), Error);
    // Three bytes a character: a third as many characters are too many.
    EXPECT_THROW(rs->SetField(QStringLiteral("Description"), QString(kLongestValue / 3 + 1, QChar(0x2014))), Error);
    rs->SetField(QStringLiteral("Description"), QString(kLongestValue, QLatin1Char('x')));
    rs->Update();
    rs->Close();
    db->Close();
    EXPECT_NO_THROW(Database::Open(path));
}

// A Text(n) field reads at most its n characters however much another writer put in it, and
// never half a character.
TEST_F(FileCheck, ATextReadsNoLongerThanItsField)
{
    // A tree (U+1F332) takes two characters, the fifth and a sixth.
    const QString path = makeFile(QStringLiteral("cut.tlm"),
                                  QString::fromUtf8("CREATE TABLE Zones (\"Key\" LONG INTEGER, Name TEXT(5), Note MEMO TEXT, PRIMARY KEY (\"Key\"));"
                                                    "INSERT INTO Zones VALUES (1, 'Cedar Basin', 'Cedar Basin'), (2, 'Oak', 'Oak'),"
                                                    " (3, 'Pine\xF0\x9F\x8C\xB2', NULL), (4, CAST('Ridge Unit' AS BLOB), NULL);"));
    auto db = Database::Open(path);
    const QStringList expected = {QStringLiteral("Cedar"), QStringLiteral("Oak"), QStringLiteral("Pine"), QStringLiteral("Ridge")};
    auto table = db->OpenTable(QStringLiteral("Zones"));
    QStringList read;
    for (table->MoveFirst(); !table->Eof(); table->MoveNext())
        read << table->Field(QStringLiteral("Name")).toString();
    EXPECT_EQ(read, expected);
    table->Seek(1);
    EXPECT_EQ(table->Field(QStringLiteral("Note")).toString(), "Cedar Basin") << "a memo is not cut";

    auto query = db->OpenRecordset(QStringLiteral("SELECT Name FROM Zones ORDER BY \"Key\""));
    read.clear();
    for (; !query->Eof(); query->MoveNext())
        read << query->Field(0).toString();
    EXPECT_EQ(read, expected);

    RowReader reader(*db, QStringLiteral("SELECT Name FROM Zones ORDER BY \"Key\""));
    read.clear();
    while (reader.Next())
        read << reader.Value(0).toString();
    EXPECT_EQ(read, expected);
}

} // namespace
