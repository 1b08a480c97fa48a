// The Jet reader as the program runs it: the converter in a child process, from a Jet file to
// a new SQLite file that the data file engine reads like one of its own.

#include "platform/jet/convert.h"
#include "support/fixturefiles.h"
#include "support/jetfixtures.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>

using jettest::Describe;
using jettest::Fixture;
using jettest::FixturePath;
using testsupport::FileBytes;
using testsupport::WriteScriptedDatabase;

namespace {

struct Source {
    const char* jet;
    QStringList scripts;
};

const QStringList kPrepTables = {QStringLiteral("data/prep/prepfile-tables.sql"), QStringLiteral("data/prep/srmasterlist.sql")};
const QString kCommon = QStringLiteral("tests/fixtures/common-tables.sql");

// Each Jet fixture and the scripts its SQLite source is written from (see its README).
const Source kSources[] = {
    {"Cedar Basin.fcd", kPrepTables + QStringList{QStringLiteral("data/prep/cedarbasin.sql")}},
    {"Red Mesa.fcd", kPrepTables + QStringList{QStringLiteral("data/prep/redmesa.sql")}},
    {"TLM-06.01.01.tlm", {QStringLiteral("data/schema.sql")}},
    {"format-3.93.00.tlm", {kCommon, QStringLiteral("tests/fixtures/format-3.93.00.sql")}},
    {"format-4.00.00.tlm", {kCommon, QStringLiteral("tests/fixtures/format-4.00.00.sql")}},
    {"format-04.01.01.tlm", {kCommon, QStringLiteral("tests/fixtures/format-04.01.01.sql")}},
    {"format-05.01.02.tlm", {kCommon, QStringLiteral("tests/fixtures/format-05.01.02.sql")}},
};

class JetConvert : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // The fixture's copy, converted; "" when the conversion failed.
    QString Converted(const QString& jetPath)
    {
        const QString copy = dir.filePath(QFileInfo(jetPath).fileName() + QStringLiteral(".sqlite"));
        const QString why = jet::ConvertToSqlite(jetPath, copy);
        EXPECT_EQ(why, QString());
        return why.isEmpty() ? copy : QString();
    }

    QTemporaryDir dir;
};

TEST_F(JetConvert, EachFixtureHoldsWhatItsSqliteSourceHolds)
{
    for (const Source& source : kSources) {
        SCOPED_TRACE(source.jet);
        const QString jetPath = FixturePath(QString::fromUtf8(source.jet));
        const QByteArray before = FileBytes(jetPath);
        ASSERT_FALSE(before.isEmpty());
        const QString copy = Converted(jetPath);
        ASSERT_FALSE(copy.isEmpty());
        const QString sqlite = WriteScriptedDatabase(dir.filePath(QStringLiteral("source.sqlite")), source.scripts);
        EXPECT_EQ(Describe(copy), Describe(sqlite));
        EXPECT_EQ(FileBytes(jetPath), before);
    }
}

TEST_F(JetConvert, NullsAndEmptyTextsStayApart)
{
    const QString copy = Converted(FixturePath(QStringLiteral("format-4.00.00.tlm")));
    ASSERT_FALSE(copy.isEmpty());
    auto db = dao::Database::Open(copy, {.exclusive = false, .readOnly = true});
    auto rs = db->OpenTable(QStringLiteral("Brevan2Topics"));
    rs->Seek(2);
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_TRUE(rs->Field(QStringLiteral("Body")).isNull());
    rs->Seek(3);
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_FALSE(rs->Field(QStringLiteral("Body")).isNull());
    EXPECT_EQ(rs->Field(QStringLiteral("Body")).toString(), QString());
}

TEST_F(JetConvert, TheJet3SampleReadsWithItsKnownValues)
{
    const QString copy = Converted(FixturePath(QStringLiteral("testV1997.mdb")));
    ASSERT_FALSE(copy.isEmpty());
    auto db = dao::Database::Open(copy, {.exclusive = false, .readOnly = true});
    EXPECT_EQ(db->TableNames(), (QStringList{"Table1", "Table2", "Table3", "Table4"}));
    auto rs = db->OpenTable(QStringLiteral("Table1"));
    EXPECT_EQ(rs->RecordCount(), 2);
    rs->Seek(QStringLiteral("abcdefg"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Field("A"), QVariant(QStringLiteral("abcdefg")));
    EXPECT_EQ(rs->Field("B"), QVariant(QStringLiteral("hijklmnop")));
    EXPECT_EQ(rs->Field("C"), QVariant(2));
    EXPECT_EQ(rs->Field("D"), QVariant(222));
    EXPECT_EQ(rs->Field("E"), QVariant(333333333));
    EXPECT_EQ(rs->Field("F"), QVariant(444.555));
    EXPECT_EQ(rs->Field("G"), QVariant(QStringLiteral("1974-09-21T00:00:00")));
    EXPECT_EQ(rs->Field("H"), QVariant(3.5));
    EXPECT_EQ(rs->Field("I"), QVariant(true));
    rs->Seek(QStringLiteral("a"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Field("G"), QVariant(QStringLiteral("1981-12-12T00:00:00")));
    EXPECT_EQ(rs->Field("I"), QVariant(false));
}

// Jet 3 keeps text in the Windows code page: "ê" is the one byte 0xEA.
TEST_F(JetConvert, Jet3TextIsReadInItsCodePage)
{
    QByteArray bytes = Fixture(QStringLiteral("testV1997.mdb"));
    const qsizetype at = bytes.indexOf("hijklmnop");
    ASSERT_GT(at, 0);
    bytes.replace(at, 9, QByteArray("Cr" "\xea" "te Rd."));
    const QString copy = Converted(jettest::Write(dir.filePath(QStringLiteral("accents.mdb")), bytes));
    ASSERT_FALSE(copy.isEmpty());
    auto db = dao::Database::Open(copy, {.exclusive = false, .readOnly = true});
    auto rs = db->OpenTable(QStringLiteral("Table1"));
    rs->Seek(QStringLiteral("abcdefg"));
    ASSERT_FALSE(rs->NoMatch());
    EXPECT_EQ(rs->Field("B"), QVariant(QStringLiteral("Crête Rd.")));
}

// Objects' properties (captions, formats) are not read: a property record of length 0, which
// keeps mdbtools' own catalog reader going round for ever, costs nothing.
TEST_F(JetConvert, DamagedPropertiesAreNotRead)
{
    QByteArray bytes = Fixture(QStringLiteral("testV1997.mdb"));
    int damaged = 0;
    for (qsizetype at = bytes.indexOf(QByteArray("KKD\0", 4)); at >= 0; at = bytes.indexOf(QByteArray("KKD\0", 4), at + 4)) {
        jettest::PutLe32(bytes, at + 4, 0);
        ++damaged;
    }
    ASSERT_GT(damaged, 0);
    const QString path = jettest::Write(dir.filePath(QStringLiteral("properties.mdb")), bytes);
    const QString copy = dir.filePath(QStringLiteral("properties.sqlite"));
    ASSERT_EQ(jet::ConvertToSqlite(path, copy, {.seconds = 5}), QString());
    auto db = dao::Database::Open(copy, {.exclusive = false, .readOnly = true});
    EXPECT_EQ(db->OpenTable(QStringLiteral("Table1"))->RecordCount(), 2);
}

// A memo longer than fits in its row is kept on pages of its own: one page, or a chain of them.
TEST_F(JetConvert, LongMemosAreReadWhole)
{
    QString text;
    for (int line = 1; text.size() < 6000; ++line)
        text += QStringLiteral("Line %1 of the last section – the crête of the ridge.\r\n").arg(line);
    text.truncate(6000);   // three pages of 4000 bytes
    const QString onePage = text.left(1500);
    const QByteArray whole = jettest::Ucs2(text);
    const QByteArray start = jettest::Ucs2(onePage);
    const QByteArray base = Fixture(QStringLiteral("format-4.00.00.tlm"));
    struct Case {
        const char* name;
        QList<QByteArray> chunks;
        QString expected;
    };
    const Case cases[] = {
        {"one page", {start}, onePage},
        {"a chain of three pages", {whole.left(4000), whole.mid(4000, 4000), whole.mid(8000)}, text},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray file = jettest::WithLongMemo(base, QStringLiteral("Last section"), c.chunks);
        ASSERT_FALSE(file.isEmpty());
        const QString copy = Converted(jettest::Write(dir.filePath(QString::fromUtf8(c.name) + ".tlm"), file));
        ASSERT_FALSE(copy.isEmpty());
        auto db = dao::Database::Open(copy, {.exclusive = false, .readOnly = true});
        auto rs = db->OpenTable(QStringLiteral("Brevan2Topics"));
        rs->Seek(7);
        ASSERT_FALSE(rs->NoMatch());
        EXPECT_EQ(rs->Field(QStringLiteral("Body")).toString(), c.expected);
        rs->Seek(8);
        EXPECT_EQ(rs->Field(QStringLiteral("Body")).toString(), QStringLiteral("Not kept"));
    }
}

// Damaged files and files that are no database at all, made from a fixture: each is refused by
// the reader, no copy is left, and the file is as it was.
TEST_F(JetConvert, HostileFilesAreRefusedAndLeftAsTheyWere)
{
    const QByteArray base = Fixture(QStringLiteral("format-4.00.00.tlm"));
    ASSERT_EQ(base.size() % jettest::kJet4Page, 0);
    const int rows = jettest::PageHolding(base, QStringLiteral("DataFormatID"));
    ASSERT_GT(rows, 2);
    const int definition = jettest::OwnerOf(base, rows);
    ASSERT_GT(definition, 2);
    QRandomGenerator random(33);
    const auto noise = [&random](int) { return random.bounded(256); };
    const auto zero = [](int) { return 0; };
    struct Case {
        const char* name;
        std::function<QByteArray()> make;
    };
    const Case cases[] = {
        {"empty", [] { return QByteArray(); }},
        {"not a database", [] { return QByteArray("Cedar Ridge fire, 14 August: notes.\n").repeated(300); }},
        {"cut inside the header", [&] { return base.left(100); }},
        {"cut after the header", [&] { return base.left(jettest::kJet4Page); }},
        {"cut before the properties' rows", [&] { return base.left(qsizetype(rows) * jettest::kJet4Page); }},
        {"cut inside the properties' rows", [&] { return base.left(qsizetype(rows) * jettest::kJet4Page + 1000); }},
        {"the catalog zeroed", [&] { return jettest::WithPage(base, 2, zero); }},
        {"the properties' definition zeroed", [&] { return jettest::WithPage(base, definition, zero); }},
        {"the properties' rows zeroed", [&] { return jettest::WithPage(base, rows, zero); }},
        {"the properties' definition random", [&] { return jettest::WithPage(base, definition, noise); }},
        {"the properties' rows random", [&] { return jettest::WithPage(base, rows, noise); }},
        {"a huge row count",
         [&] {
             QByteArray file = base;
             jettest::PutLe32(file, qsizetype(definition) * jettest::kJet4Page + 16, 0x7fffffff);
             return file;
         }},
        {"the properties' page map empty", [&] { return jettest::WithEmptyPageMap(base, definition); }},
        {"a memo whose pages run in a loop",
         [&] {
             return jettest::WithLongMemo(base, QStringLiteral("Last section"),
                                          {QByteArray(4000, 'a'), QByteArray(4000, 'b'), QByteArray(4000, 'c')}, true);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const QByteArray bytes = c.make();
        const QString path = jettest::Write(dir.filePath(QStringLiteral("hostile.tlm")), bytes);
        const QString copy = dir.filePath(QStringLiteral("hostile.sqlite"));
        // Refused by the reader, not left to crash or run out of time.
        EXPECT_TRUE(jet::ConvertToSqlite(path, copy, {.seconds = 10}).startsWith("the converter refused it"));
        EXPECT_FALSE(QFileInfo::exists(copy));
        EXPECT_EQ(FileBytes(path), bytes);
    }
}

} // namespace
