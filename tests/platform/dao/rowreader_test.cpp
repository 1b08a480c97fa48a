#include "platform/dao/rowreader.h"

#include "platform/dao/dao.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <limits>
#include <vector>

using namespace dao;

namespace {

class RowReaderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = Database::Create(dir.filePath("r.tlm"));
        db->Execute("CREATE TABLE Odd (Id LONG INTEGER, B YESNO INTEGER, Y BYTE INTEGER, I SHORT INTEGER, "
                    "L LONG INTEGER, A INTEGER, S SINGLE REAL, D DOUBLE REAL, C CURRENCY INTEGER, T TEXT(20), "
                    "M MEMO TEXT, PRIMARY KEY (Id))");
        db->Execute("CREATE TABLE Items (ItemKey LONG INTEGER, Name TEXT(20), PRIMARY KEY (ItemKey))");
        for (int k : {3, 1, 2})
            db->Execute("INSERT INTO Items VALUES (?, ?)", {k, QString("n%1").arg(k)});
    }

    QTemporaryDir dir;
    std::unique_ptr<Database> db;
};

// Whatever a field holds, the reader gives what a query recordset gives, and its shortcuts give a
// number exactly when the recordset's value is that number.
TEST_F(RowReaderTest, EveryStoredValueReadsAsTheRecordsetReadsIt)
{
    const double inf = std::numeric_limits<double>::infinity();
    const QVariant stored[] = {
        QVariant(),  0,        1,      -1,     7,         255,      256,        -32768,
        32767,       40000,    -40000, qint64(2147483647), qint64(2147483648), -2147483648.0,
        std::numeric_limits<qint64>::max(), std::numeric_limits<qint64>::min(), 12.5, 13.5, -2.5, 0.1,
        1e39,        -1e39,    1e300,  inf,    -inf,      "7",      "-7",       "12.5",
        "1e300",     "inf",    "nan",  "abc",  "",        " 42 ",   12.34567,   3.4028234663852886e38,
        16777217,    QByteArray("\x01\x02", 2),
    };
    const char* const columns[] = {"B", "Y", "I", "L", "A", "S", "D", "C", "T", "M"};
    int id = 0;
    for (const QVariant& v : stored)
        for (const char* column : columns)
            db->Execute(QString("INSERT INTO Odd (Id, %1) VALUES (?, ?)").arg(column), {++id, v});

    const QString sql = "SELECT Id, B, Y, I, L, A, S, D, C, T, M, L * 2 AS Twice, S + 0 AS Sum, T || '' AS Joined "
                        "FROM Odd ORDER BY Id";
    auto rs = db->OpenRecordset(sql);
    RowReader row(*db, sql);
    int rows = 0;
    for (; !rs->Eof(); rs->MoveNext(), ++rows) {
        ASSERT_TRUE(row.Next());
        ASSERT_EQ(row.FieldCount(), rs->FieldCount());
        for (int col = 0; col < rs->FieldCount(); ++col) {
            const QVariant expected = rs->Field(col);
            SCOPED_TRACE(
                QString("row %1 column %2: %3").arg(rows).arg(rs->FieldName(col), expected.toString()).toStdString());
            const QVariant got = row.Value(col);
            EXPECT_EQ(got.isNull(), expected.isNull());
            EXPECT_EQ(got.metaType(), expected.metaType());
            EXPECT_EQ(got, expected);
            // The shortcuts are taken wherever a number is stored as a number.
            const int storedType = stored[size_t(rows) / std::size(columns)].typeId();
            const bool storedNumber = storedType == QMetaType::Int || storedType == QMetaType::LongLong
                || storedType == QMetaType::Double;
            const std::optional<int> whole = row.Whole(col);
            if (whole) {
                ASSERT_EQ(expected.typeId(), QMetaType::Int);
                EXPECT_EQ(*whole, expected.toInt());
            } else if (expected.typeId() == QMetaType::Int && storedType != QMetaType::Double) {
                EXPECT_FALSE(storedNumber);
            }
            const std::optional<float> single = row.Single(col);
            if (single) {
                ASSERT_EQ(expected.typeId(), QMetaType::Float);
                EXPECT_EQ(*single, expected.toFloat());
            } else if (expected.typeId() == QMetaType::Float) {
                EXPECT_FALSE(storedNumber);
            }
        }
        // A run of columns read at once gives what each column gives, and nothing when one of
        // them (or one past the row) gives nothing.
        const int n = row.FieldCount();
        for (int first = -1; first <= n; ++first) {
            for (int count = 0; first + count <= n + 1; ++count) {
                std::vector<int> values(size_t(count) + 1, -99);
                bool each = first >= 0 && first + count <= n;
                for (int c = first; each && c < first + count; ++c)
                    each = row.Whole(c).has_value();
                ASSERT_EQ(row.Wholes(first, count, values.data()), each) << "from " << first << ", " << count;
                for (int c = 0; each && c < count; ++c)
                    EXPECT_EQ(values[size_t(c)], *row.Whole(first + c)) << "from " << first << ", " << count;
            }
        }
    }
    EXPECT_FALSE(row.Next());
    EXPECT_FALSE(row.Next());
    EXPECT_EQ(rows, int(std::size(stored) * std::size(columns)));
}

TEST_F(RowReaderTest, TheSameTextReadInsideItsOwnLoopKeepsBothReads)
{
    const QString sql = "SELECT ItemKey FROM Items WHERE ItemKey >= ? ORDER BY ItemKey";
    QList<QPair<int, int>> seen;
    RowReader outer(*db, sql, {1});
    while (outer.Next()) {
        RowReader inner(*db, sql, {outer.Whole(0).value()});
        while (inner.Next())
            seen.append({outer.Whole(0).value(), inner.Whole(0).value()});
    }
    const QList<QPair<int, int>> expected{{1, 1}, {1, 2}, {1, 3}, {2, 2}, {2, 3}, {3, 3}};
    EXPECT_EQ(seen, expected);
    // The kept statement is free again for the next read.
    RowReader again(*db, sql, {3});
    ASSERT_TRUE(again.Next());
    EXPECT_EQ(again.Whole(0), 3);
    EXPECT_FALSE(again.Next());
}

TEST_F(RowReaderTest, AReadLeftHalfWayHoldsNothing)
{
    {
        RowReader row(*db, "SELECT * FROM Items ORDER BY ItemKey");
        ASSERT_TRUE(row.Next());
        EXPECT_EQ(row.Value(1).toString(), "n1");
    }
    // A statement still stepping would keep the table locked against dropping.
    EXPECT_NO_THROW(db->Execute("DROP TABLE Items"));
    EXPECT_THROW(RowReader(*db, "SELECT * FROM Items"), Error);
}

TEST_F(RowReaderTest, BadTextsAndMissingRowsThrow)
{
    EXPECT_THROW(RowReader(*db, "SELECT * FROM Items WHERE ItemKey = ?"), Error);   // no value for "?"
    EXPECT_THROW(RowReader(*db, "SELECT * FROM Items", {1}), Error);
    EXPECT_THROW(RowReader(*db, "SELECT * FROM Items; DELETE FROM Items"), Error);
    EXPECT_EQ(db->OpenRecordset("SELECT count(*) FROM Items")->Field(0).toInt(), 3);
    RowReader row(*db, "SELECT ItemKey FROM Items WHERE ItemKey = ?", {1});
    EXPECT_THROW(row.Value(0), Error);   // before the first row
    ASSERT_TRUE(row.Next());
    EXPECT_THROW(row.Value(1), Error);
    EXPECT_FALSE(row.Whole(1).has_value());
    EXPECT_FALSE(row.Next());
    EXPECT_THROW(row.Value(0), Error);   // past the last
    EXPECT_FALSE(row.Whole(0).has_value());
}

TEST_F(RowReaderTest, ASchemaChangeInTheMiddleOfAReadEndsItWithAnError)
{
    RowReader row(*db, "SELECT ItemKey FROM Items ORDER BY ItemKey");
    ASSERT_TRUE(row.Next());
    db->Execute("CREATE TABLE Other (Id LONG INTEGER)");
    EXPECT_THROW(row.Next(), Error);
    EXPECT_FALSE(row.Next());
    EXPECT_FALSE(row.Whole(0).has_value());
    RowReader again(*db, "SELECT ItemKey FROM Items ORDER BY ItemKey");
    ASSERT_TRUE(again.Next());
    EXPECT_EQ(again.Whole(0), 1);
}

TEST_F(RowReaderTest, ATableChangedBetweenReadsIsReadAsItIsNow)
{
    const QString sql = "SELECT * FROM Items WHERE ItemKey = ?";
    {
        RowReader row(*db, sql, {1});
        ASSERT_TRUE(row.Next());
        EXPECT_EQ(row.FieldCount(), 2);
    }
    db->Execute("ALTER TABLE Items ADD COLUMN Share SINGLE REAL");
    db->Execute("UPDATE Items SET Share = 0.5 WHERE ItemKey = 1");
    RowReader row(*db, sql, {1});
    ASSERT_TRUE(row.Next());
    ASSERT_EQ(row.FieldCount(), 3);
    EXPECT_EQ(row.Single(2), 0.5f);
}

} // namespace
