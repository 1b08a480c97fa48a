#include "model/rowvalues.h"

#include "platform/dao/dao.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstring>
#include <limits>

namespace {

// The model reads a number the same whether it comes from a recordset's field or straight from
// a row reader: every figure computed from either stays the same to the bit.
TEST(RowValues, AReaderConvertsEveryStoredValueAsAFieldDoes)
{
    QTemporaryDir dir;
    auto db = dao::Database::Create(dir.filePath("v.tlm"));
    db->Execute("CREATE TABLE Odd (Id LONG INTEGER, I SHORT INTEGER, L LONG INTEGER, S SINGLE REAL, D DOUBLE REAL, "
                "C CURRENCY INTEGER, B YESNO INTEGER, T MEMO TEXT, PRIMARY KEY (Id))");
    const double inf = std::numeric_limits<double>::infinity();
    const QVariant stored[] = {QVariant(), 0, 5, -3, 40000, qint64(3000000000), 2.5, 3.5, -0.5, 0.1, 1e39,
                               1e300, inf, "12", " 2.5 ", "x", "nan", 16777217, 3.4028234663852886e38};
    int id = 0;
    for (const QVariant& v : stored)
        for (const char* column : {"I", "L", "S", "D", "C", "B", "T"})
            db->Execute(QString("INSERT INTO Odd (Id, %1) VALUES (?, ?)").arg(column), {++id, v});
    const QString sql = "SELECT I, L, S, D, C, B, T, L / 3.0 AS Third FROM Odd ORDER BY Id";
    auto rs = db->OpenRecordset(sql);
    dao::RowReader row(*db, sql);
    const auto same = [](float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; };
    for (; !rs->Eof(); rs->MoveNext()) {
        ASSERT_TRUE(row.Next());
        for (int col = 0; col < rs->FieldCount(); ++col) {
            SCOPED_TRACE(QString("%1 = %2").arg(rs->FieldName(col), rs->Field(col).toString()).toStdString());
            EXPECT_EQ(model::rowvalue::Long(row, col), model::rowvalue::Long(rs->Field(col)));
            EXPECT_TRUE(same(model::rowvalue::Single(row, col), model::rowvalue::Single(rs->Field(col))));
            EXPECT_EQ(model::rowvalue::Text(row, col), model::rowvalue::Text(rs->Field(col)));
        }
    }
    EXPECT_FALSE(row.Next());
}

} // namespace
