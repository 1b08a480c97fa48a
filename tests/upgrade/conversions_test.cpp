// The format steps run directly on old files, as the open routine runs them: inside one
// transaction on the open file and its Properties cursor.

#include "oldfiles.h"

#include "platform/dao/dao.h"
#include "platform/richtext/texttortf.h"
#include "upgrade/convert.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

using testing_upgrade::FileBytes;
using testing_upgrade::WriteOldFile;
using richtext::TextToRTF;

namespace {


// The program's empty body: the house header and one empty paragraph.
#define kEmptyBody TextToRTF(QString())

QString Rtf(const char* inner) { return richtext::kRtfHeader + QString::fromUtf8(inner) + QStringLiteral("\\par }"); }

class OldFile : public ::testing::Test {
protected:
    void Open(const QString& format, const QStringList& damage = {})
    {
        ASSERT_TRUE(dir.isValid());
        path = WriteOldFile(dir.path(), format, QString(), damage);
        db = dao::Database::Open(path);
        properties = db->OpenTable(QStringLiteral("Properties"));
    }

    void Close()
    {
        properties.reset();
        db->Close();
    }

    // The steps of the format's chain, in one transaction committed at the end.
    void Convert(const QString& format)
    {
        dao::Transaction transaction(*db);
        if (format == QLatin1String("3.93.00") || format == QLatin1String("4.00.00"))
            upgrade::Convert4to41(*db, *properties);
        if (format != QLatin1String("05.01.02"))
            upgrade::Convert41to5(*db, *properties);
        upgrade::Convert5to6(*db, *properties);
        transaction.commit();
    }

    QVariant Value(const QString& sql, const QVariantList& params = {})
    {
        auto rs = db->OpenRecordset(sql, params);
        return rs->Eof() ? QVariant() : rs->Field(0);
    }

    QList<QVariantList> Rows(const QString& sql)
    {
        QList<QVariantList> rows;
        for (auto rs = db->OpenRecordset(sql); !rs->Eof(); rs->MoveNext()) {
            QVariantList row;
            for (int i = 0; i < rs->FieldCount(); ++i) {
                const QVariant v = rs->Field(i);
                row << (v.isNull() ? QVariant() : v);
            }
            rows << row;
        }
        return rows;
    }

    QList<int> Keys(const QString& sql)
    {
        QList<int> keys;
        for (const QVariantList& row : Rows(sql))
            keys << row.at(0).toInt();
        return keys;
    }

    QString Property(const QString& name)
    {
        return Value(QStringLiteral("SELECT Value FROM Properties WHERE Property = ?"), {name}).toString();
    }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<dao::Database> db;
    std::unique_ptr<dao::Recordset> properties;
};

const QVariant Null;

} // namespace

TEST_F(OldFile, Format400OutcomesTakeTheirKeysParentsAndCostSources)
{
    Open(QStringLiteral("4.00.00"));
    upgrade::Convert4to41(*db, *properties);

    // Alternatives 1, 297 and 298 became the items 297, 298 and 299: each outcome follows its
    // own alternative once, even where a new key equals an old one.
    const QList<QVariantList> expected = {
        {1, QStringLiteral("Worst case"), 0, 1, 1, Null},
        {11, QStringLiteral("Target"), 297, 1, 8, 12000.0},     // stored total differs from cost by size
        {12, QStringLiteral("Fallback"), 297, 2, 2, Null},      // resource cost stands
        {2971, QStringLiteral("Target"), 298, 1, 8, 7000.0},    // no source: entered amount
        {2981, QStringLiteral("Target"), 299, 1, 1, Null},      // empty total is no difference
        {2982, QStringLiteral("Fallback"), 299, 2, 8, 4000.0},  // empty source: entered amount
    };
    const auto rows = Rows(QStringLiteral(
        "SELECT ItemKey, ItemName, ParentKey, ChildIndex, CostSource, AdjustedCost FROM Outcomes ORDER BY ItemKey"));
    ASSERT_EQ(rows.size(), expected.size());
    for (int i = 0; i < rows.size(); ++i) {
        for (int f = 0; f < 5; ++f)
            EXPECT_EQ(rows[i][f].toString(), expected[i][f].toString()) << "outcome " << i << " field " << f;
        EXPECT_EQ(rows[i][5].isNull(), expected[i][5].isNull()) << "outcome " << i;
        EXPECT_DOUBLE_EQ(rows[i][5].toDouble(), expected[i][5].toDouble()) << "outcome " << i;
    }
    EXPECT_EQ(Value(QStringLiteral("SELECT Description FROM Outcomes WHERE ItemKey = 2971")).toString(),
              Rtf("Burn out\\par from the road"));
    EXPECT_EQ(Value(QStringLiteral("SELECT Description FROM Outcomes WHERE ItemKey = 2982")).toString(), kEmptyBody);
    EXPECT_EQ(db->PrimaryKey(QStringLiteral("Outcomes")), QStringList{QStringLiteral("ItemKey")});
    for (const char* gone : {"AlternativeKey", "OutcomeNumber", "Name", "Explanation", "SuppressionCosts", "Percent"})
        EXPECT_FALSE(db->FieldExists(QStringLiteral("Outcomes"), QString::fromLatin1(gone))) << gone;
    EXPECT_TRUE(db->FieldExists(QStringLiteral("Outcomes"), QStringLiteral("FireSize")));
    EXPECT_EQ(Property(QStringLiteral("SelectedAlternativeKey")), QStringLiteral("298"));
}

TEST_F(OldFile, Format400ResourceAndImpactTablesAreRebuilt)
{
    Open(QStringLiteral("4.00.00"));
    upgrade::Convert4to41(*db, *properties);

    for (const char* gone : {"SRMasterList", "SuppressionResources", "ListedItemImpacts"})
        EXPECT_FALSE(db->TableExists(QString::fromLatin1(gone))) << gone;

    const auto types = Rows(QStringLiteral(
        "SELECT ItemKey, ParentKey, ChildIndex, LongName, ShortName, UnitType, UnitName, UnitCost FROM SRTypes ORDER BY ItemKey"));
    ASSERT_EQ(types.size(), 2);
    EXPECT_EQ(types[0][0].toInt(), 3);
    EXPECT_TRUE(types[0][1].isNull());
    EXPECT_EQ(types[1][3].toString(), QStringLiteral("Type 3 Engine"));
    EXPECT_EQ(types[1][6].toString(), QStringLiteral("shift"));
    EXPECT_DOUBLE_EQ(types[1][7].toDouble(), 2500.5);

    EXPECT_EQ(Rows(QStringLiteral("SELECT ItemKey, OutcomeKey, ItemIndex, SRTypeKey, Quantity, Periods FROM SRUses ORDER BY ItemKey")),
              (QList<QVariantList>{{1, 12, 1, 3, 2, 3}, {2, 12, 2, 7, 4, 3}}));

    // List rows 5, 302 and 303 became the items 302, 303 and 304; gains turned into negative losses.
    const auto impacts = Rows(QStringLiteral("SELECT OutcomeKey, ItemKey, ItemLoss FROM ItemImpacts ORDER BY OutcomeKey, ItemKey"));
    ASSERT_EQ(impacts.size(), 4);
    const struct { int outcome; int item; QVariant loss; } expected[] = {
        {1, 302, 1500.0}, {1, 303, -250.0}, {11, 302, Null}, {12, 77, 100.0}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(impacts[i][0].toInt(), expected[i].outcome) << i;
        EXPECT_EQ(impacts[i][1].toInt(), expected[i].item) << i;
        EXPECT_EQ(impacts[i][2].isNull(), expected[i].loss.isNull()) << i;
        EXPECT_DOUBLE_EQ(impacts[i][2].toDouble(), expected[i].loss.toDouble()) << i;
    }
}

TEST_F(OldFile, Format400ObjectivesScoresAndProperties)
{
    Open(QStringLiteral("4.00.00"));
    upgrade::Convert4to41(*db, *properties);

    EXPECT_EQ(Rows(QStringLiteral("SELECT Name, ChildKey FROM Objectives WHERE \"Key\" = 1")),
              (QList<QVariantList>{{QStringLiteral("Objectives"), 3}}));
    EXPECT_EQ(Rows(QStringLiteral("SELECT ParentKey, SiblingKey FROM Objectives WHERE \"Key\" = 2")),
              (QList<QVariantList>{{0, 0}}));
    EXPECT_EQ(Value(QStringLiteral("SELECT Explanation FROM Objectives WHERE \"Key\" = 3")).toString(),
              Rtf("Protect the watershed\\par and the trail"));
    EXPECT_EQ(Value(QStringLiteral("SELECT Explanation FROM Objectives WHERE \"Key\" = 1")).toString(), kEmptyBody);
    EXPECT_TRUE(db->FieldExists(QStringLiteral("Scores"), QStringLiteral("Description")));

    EXPECT_EQ(Property(QStringLiteral("DataFormatID")), QStringLiteral("04.01.01"));
    EXPECT_EQ(Property(QStringLiteral("ProgramID")), QStringLiteral("Standard"));
    EXPECT_EQ(Property(QStringLiteral("FireName")), QStringLiteral("Cedar Ridge"));
}

TEST_F(OldFile, Format400TextsMoveIntoItems)
{
    Open(QStringLiteral("4.00.00"));
    upgrade::Convert4to41(*db, *properties);

    const auto item = [&](int key) {
        const auto rows = Rows(QStringLiteral("SELECT ItemName, Heading, Body, ParentKey, ChildIndex FROM Items WHERE ItemKey = %1").arg(key));
        return rows.isEmpty() ? QVariantList() : rows.first();
    };
    EXPECT_EQ(item(21), (QVariantList{QStringLiteral("RMAs"), Null, Null, Null, Null}));
    EXPECT_EQ(item(11), (QVariantList{QStringLiteral("Fire Name"), Null, QStringLiteral("Cedar Ridge"), Null, Null}));
    EXPECT_EQ(item(222)[2], QVariant(QString("")));   // no such property: empty text, not a document
    EXPECT_EQ(item(224)[2], QVariant(QStringLiteral("1200")));

    EXPECT_EQ(Keys(QStringLiteral("SELECT ItemKey FROM Items WHERE ParentKey = 22 ORDER BY ChildIndex")),
              (QList<int>{81, 232, 233, 234, 235, 88}));
    EXPECT_EQ(item(81)[2].toString(), Rtf("Heavy timber\\par Dry grass"));
    EXPECT_EQ(item(234)[2].toString(), Rtf("Runs \\{uphill\\} \\\\ fast"));
    EXPECT_EQ(item(235)[2].toString(), kEmptyBody);
    EXPECT_EQ(item(88)[1].toString(),
              QStringLiteral("National and Regional Fire Preparedness, and Suppression Resource Availability"));

    EXPECT_EQ(Keys(QStringLiteral("SELECT ItemKey FROM Items WHERE ParentKey = 28 ORDER BY ChildIndex")),
              (QList<int>{291, 292, 293, 294, 295, 296}));
    EXPECT_EQ(item(292), (QVariantList{Null, QStringLiteral("Rationale"), Rtf("Least cost\\par Safe"), 28, 2}));
    EXPECT_EQ(item(295)[2].toString(), kEmptyBody);
    EXPECT_EQ(item(294)[0].toString(), QStringLiteral("Critical Fire Management resources"));

    EXPECT_EQ(item(297), (QVariantList{QStringLiteral("A"), QStringLiteral("Direct attack"), Rtf("Crews on the flank"), 26, 1}));
    EXPECT_EQ(item(298), (QVariantList{QStringLiteral("B"), QStringLiteral("Indirect attack"), kEmptyBody, 26, 2}));
    EXPECT_EQ(item(299)[0].toString(), QStringLiteral("C"));

    EXPECT_EQ(item(300), (QVariantList{QString(""), QStringLiteral("North Zone"), Rtf("Protect\\par old growth"), 21, 0}));
    EXPECT_EQ(item(301), (QVariantList{QString(""), QStringLiteral("South Zone"), kEmptyBody, 21, 1}));
    EXPECT_EQ(item(302), (QVariantList{QStringLiteral("Cabins"), Null, kEmptyBody, 23, 0}));
    EXPECT_EQ(item(304), (QVariantList{QStringLiteral("Trailhead"), Null, kEmptyBody, 23, 2}));
    EXPECT_EQ(Value(QStringLiteral("SELECT COUNT(*) FROM Items")).toInt(), 4 + 12 + 6 + 6 + 3 + 2 + 3);
}

TEST_F(OldFile, AlternativesBeyondTheAlphabetKeepLetterNames)
{
    Open(QStringLiteral("4.00.00"),
         {QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1000 UNION ALL SELECT i + 1 FROM n WHERE i < 1025) "
                         "INSERT INTO Alternatives SELECT i, 'Option ' || i, NULL FROM n")});
    upgrade::Convert4to41(*db, *properties);

    QStringList names;
    for (const QVariantList& row : Rows(QStringLiteral("SELECT ItemName FROM Items WHERE ParentKey = 26 ORDER BY ChildIndex")))
        names << row.at(0).toString();
    ASSERT_EQ(names.size(), 29);
    EXPECT_EQ(names.at(25), QStringLiteral("Z"));
    EXPECT_EQ(names.at(26), QStringLiteral("AA"));
    EXPECT_EQ(names.at(28), QStringLiteral("AC"));
}

TEST_F(OldFile, SparseFormat393KeepsWhatItCannotRead)
{
    Open(QStringLiteral("3.93.00"));
    Convert(QStringLiteral("3.93.00"));

    // A selection that is no number is no selection; the edition row is rewritten, not doubled.
    EXPECT_EQ(Property(QStringLiteral("SelectedAlternativeKey")), QStringLiteral("none"));
    EXPECT_EQ(Rows(QStringLiteral("SELECT Value FROM Properties WHERE Property = 'ProgramID'")),
              (QList<QVariantList>{{QStringLiteral("Standard")}}));
    EXPECT_EQ(Property(QStringLiteral("DataFormatID")), QStringLiteral("06.01.01"));
    EXPECT_EQ(Value(QStringLiteral("SELECT Body FROM Items WHERE ItemKey = 11")), QVariant(QString("")));
    EXPECT_EQ(Value(QStringLiteral("SELECT COUNT(*) FROM Items WHERE ParentKey IN (21, 23, 26)")).toInt(), 0);
    // 18 section rows fit neither layout: none is kept.
    EXPECT_EQ(Value(QStringLiteral("SELECT COUNT(*) FROM Items WHERE ItemKey BETWEEN 160 AND 190")).toInt(), 0);
    EXPECT_EQ(Value(QStringLiteral("SELECT COUNT(*) FROM ValuesAtRisk")).toInt(), 0);
    EXPECT_EQ(Rows(QStringLiteral("SELECT ItemKey, ParentKey, CostSource FROM Outcomes")),
              (QList<QVariantList>{{1, 0, 2}}));   // resource cost with an empty total stands
    // No category rows: the objectives root links to none rather than to a missing node 3.
    EXPECT_EQ(Rows(QStringLiteral("SELECT \"Key\", Name, ChildKey, SiblingKey FROM Objectives ORDER BY \"Key\"")),
              (QList<QVariantList>{{1, QStringLiteral("Objectives"), 0, 2}, {2, QStringLiteral("Safety"), 0, 0}}));
}

TEST_F(OldFile, Format400WholeChain)
{
    Open(QStringLiteral("4.00.00"));
    Convert(QStringLiteral("4.00.00"));

    // General-information items took their present keys.
    EXPECT_EQ(Keys(QStringLiteral("SELECT ItemKey FROM Items WHERE ItemName IN ('Incident Number', 'Start Date', 'Start Time', "
                                  "'Jurisdiction', 'Geographic Area', 'Administrative Unit', 'Current Fire Size') ORDER BY ItemKey")),
              (QList<int>{52, 53, 54, 55, 57, 61, 62}));
    EXPECT_EQ(Value(QStringLiteral("SELECT Body FROM Items WHERE ItemKey = 52")).toString(), QStringLiteral("CA-SRF-001234"));
    EXPECT_EQ(Value(QStringLiteral("SELECT Body FROM Items WHERE ItemKey = 141")).toString(), Rtf("a\\par b"));
    EXPECT_EQ(Keys(QStringLiteral("SELECT ItemKey FROM Items WHERE ItemKey BETWEEN 140 AND 160 ORDER BY ItemKey")),
              (QList<int>{141, 153}));
    EXPECT_EQ(Keys(QStringLiteral("SELECT ItemKey FROM Items WHERE ItemKey BETWEEN 160 AND 190 ORDER BY ItemKey")),
              (QList<int>{162, 167, 172, 173, 174, 175, 181, 182, 183, 184, 185, 187, 188}));
    EXPECT_EQ(Value(QStringLiteral("SELECT Body FROM Items WHERE ItemKey = 162")).toString(), QStringLiteral("{\\rtf1 Section 2\\par }"));
    EXPECT_EQ(Rows(QStringLiteral("SELECT ItemName, ParentKey, ChildIndex FROM Items WHERE ItemKey IN (25, 37, 38, 39) ORDER BY ItemKey")),
              (QList<QVariantList>{{QStringLiteral("Safety Issues"), Null, Null},
                                   {QStringLiteral("Firefighter Safety"), 25, 1},
                                   {QStringLiteral("Public Safety"), 25, 2},
                                   {QStringLiteral("Aviation Safety"), 25, 3}}));

    EXPECT_EQ(Rows(QStringLiteral("SELECT ItemKey, CostSource, Success FROM Outcomes ORDER BY ItemKey")),
              (QList<QVariantList>{{1, 1, 0}, {11, 8, 70}, {12, 2, 20}, {2971, 8, 60}, {2981, 1, 80}, {2982, 8, 15}}));
    const auto values = Rows(QStringLiteral("SELECT ItemKey, PotentialLoss, Probability FROM ValuesAtRisk ORDER BY ItemKey"));
    ASSERT_EQ(values.size(), 2);
    EXPECT_EQ(values[0], (QVariantList{302, 1500.0f, 95}));
    EXPECT_EQ(values[1][0].toInt(), 303);
    EXPECT_TRUE(values[1][1].isNull());

    for (const char* gone : {"BrevanAssessment", "BrevanRisk", "BrevanComplexity", "BrevanNeed", "BrevanRevalidation",
                             "Brevan2Topics", "Brevan3Topics"})
        EXPECT_FALSE(db->TableExists(QString::fromLatin1(gone))) << gone;
    EXPECT_EQ(Property(QStringLiteral("DataFormatID")), QStringLiteral("06.01.01"));
}

TEST_F(OldFile, Format4101Chain)
{
    Open(QStringLiteral("04.01.01"));
    Convert(QStringLiteral("04.01.01"));

    EXPECT_EQ(Keys(QStringLiteral("SELECT ItemKey FROM Items WHERE ItemKey < 100 ORDER BY ItemKey")),
              (QList<int>{11, 21, 22, 25, 26, 28, 37, 38, 39, 52, 53, 54, 55, 57, 61, 62, 81, 88}));
    EXPECT_EQ(Value(QStringLiteral("SELECT Body FROM Items WHERE ItemKey = 54")).toString(), QStringLiteral("Prineville"));
    EXPECT_EQ(Value(QStringLiteral("SELECT COUNT(*) FROM Items WHERE ItemKey = 217")).toInt(), 1);
    EXPECT_EQ(Rows(QStringLiteral("SELECT ItemKey, Body FROM Items WHERE ItemKey BETWEEN 140 AND 160 ORDER BY ItemKey")),
              (QList<QVariantList>{{143, Rtf("Size-up")}, {151, Rtf("Stage II")}}));
    // 20 section rows: the second layout.
    EXPECT_EQ(Keys(QStringLiteral("SELECT ItemKey FROM Items WHERE ItemKey BETWEEN 160 AND 190 ORDER BY ItemKey")),
              (QList<int>{162, 165, 167, 169, 172, 173, 174, 175, 181, 182, 183, 184, 185, 187, 188}));
    EXPECT_EQ(Value(QStringLiteral("SELECT Body FROM Items WHERE ItemKey = 188")).toString(), QStringLiteral("{\\rtf1 Stage III 20\\par }"));

    // Analysis level 1 hides the fallback outcomes.
    EXPECT_EQ(Rows(QStringLiteral("SELECT ItemKey, CostSource, Success FROM Outcomes ORDER BY ItemKey")),
              (QList<QVariantList>{{1, 1, 0}, {2971, 8, 70}, {2972, 2, -1}, {2981, 1, 60}, {2982, 2, -1}}));
    const auto values = Rows(QStringLiteral("SELECT ItemKey, PotentialLoss, Probability FROM ValuesAtRisk ORDER BY ItemKey"));
    ASSERT_EQ(values.size(), 2);
    EXPECT_EQ(values[0], (QVariantList{300, 2500.0f, 95}));
    EXPECT_TRUE(values[1][1].isNull());
    EXPECT_TRUE(db->FieldExists(QStringLiteral("Outcomes"), QStringLiteral("SuccessRationale")));
    EXPECT_EQ(db->PrimaryKey(QStringLiteral("BrevanContents")), QStringList{QStringLiteral("ItemKey")});
    EXPECT_EQ(Property(QStringLiteral("SelectedAlternativeKey")), QStringLiteral("298"));
}

TEST_F(OldFile, Format5102Chain)
{
    Open(QStringLiteral("05.01.02"));
    Convert(QStringLiteral("05.01.02"));

    EXPECT_EQ(Rows(QStringLiteral("SELECT Body FROM Items WHERE ItemKey IN (84, 86)")),
              (QList<QVariantList>{{QString("")}, {QString("")}}));
    EXPECT_EQ(Rows(QStringLiteral("SELECT ItemKey, CostSource, Success FROM Outcomes ORDER BY ItemKey")),
              (QList<QVariantList>{{1, 8, 0}, {2971, 8, 75}, {2972, 2, 20}}));
    const auto values = Rows(QStringLiteral("SELECT ItemKey, PotentialLoss, Probability FROM ValuesAtRisk ORDER BY ItemKey"));
    ASSERT_EQ(values.size(), 2);   // item 302 has no impact under outcome 1
    EXPECT_EQ(values[0], (QVariantList{300, 40000.0f, 95}));
    EXPECT_EQ(values[1][0].toInt(), 301);
    EXPECT_TRUE(values[1][1].isNull());
    EXPECT_EQ(Value(QStringLiteral("SELECT COUNT(*) FROM ValuesProtected")).toInt(), 0);
    EXPECT_EQ(db->PrimaryKey(QStringLiteral("ValuesProtected")), (QStringList{QStringLiteral("OutcomeKey"), QStringLiteral("ItemKey")}));
}

TEST_F(OldFile, AFailureAnywhereLeavesTheFileAsItWas)
{
    const struct {
        const char* format;
        const char* damage;
    } cases[] = {
        {"4.00.00", "DROP TABLE TolmarTopics"},                    // early in the first step
        {"4.00.00", "DROP TABLE Brevan3Topics"},                   // in the second step, after the first
        {"4.00.00", "DELETE FROM Objectives WHERE \"Key\" = 2"},   // a root node missing
        {"4.00.00", "INSERT INTO Outcomes (AlternativeKey, OutcomeNumber) VALUES (300000000, 1)"},   // key overflow
        {"04.01.01", "INSERT INTO Items (ItemKey) VALUES (52)"},   // a renumbered key already used
        {"05.01.02", "INSERT INTO Items (ItemKey) VALUES (25)"},   // a safety group already there
        {"05.01.02", "ALTER TABLE Outcomes ADD COLUMN DailyContainCost SINGLE REAL"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format) + ": " + c.damage);
        Open(QString::fromLatin1(c.format), {QString::fromLatin1(c.damage)});
        Close();
        const QByteArray before = FileBytes(path);
        db = dao::Database::Open(path);
        properties = db->OpenTable(QStringLiteral("Properties"));
        EXPECT_THROW(Convert(QString::fromLatin1(c.format)), dao::Error);
        Close();
        EXPECT_EQ(FileBytes(path), before);
    }
}
