#include "report_fixture.h"
#include "section_record.h"

#include "model/c53outcome.h"
#include "model/g36threateneditems.h"
#include "model/g51alternatives.h"
#include "reports/printsettings.h"
#include "reports/sections/sections.h"
#include "reports/sections/tablebands.h"

using reports::sections::BandLayoutFor;
using reports::sections::ValuesProtectedLayoutCode;

namespace {

const QString kHeader6 = QStringLiteral("2880!|^1440!|^1440!|^1440!|^1440!|^1440;");
const QString kBody6 = QStringLiteral("2880!|>1440!|>1440!|>1440!|>1440!|>1440;");
const QString kHeader5 = QStringLiteral("2880!|^1800!|^1800!|^1800!|^1800;");
const QString kBody5 = QStringLiteral("2880!|>1800!|>1800!|>1800!|>1800;");

void ClearValuesAtRisk()
{
    while (!model::GetThreatenedItems().IsEmpty())
        model::DeleteThreatenedItem(model::GetThreatenedItems().KeyAt(0));
}

// The row strings that one alternative's table printed, from its header to its total row.
QStringList TableOf(const QStringList& rows, const QString& percents)
{
    const qsizetype first = rows.indexOf(QRegularExpression(QStringLiteral(".*Protected in Target Outcome \\(%1%\\).*")
                                                                .arg(percents)));
    if (first < 0)
        return {};
    qsizetype last = first;
    while (last < rows.size() && !rows[last].contains(QStringLiteral("Total (rounded)")))
        ++last;
    return rows.mid(first, last - first + 1);
}

// No sub-title or table is printed over what stands above it on its page.
void ExpectNothingOverprinted()
{
    for (int page = 0; page < reports::VSPrinter1().PageCount(); ++page) {
        int bottom = 0;
        for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(page)) {
            if (p.text.isEmpty())
                continue;
            if (p.text.startsWith(QStringLiteral("Alternative "))) {
                EXPECT_GE(p.y, bottom) << p.text.toStdString() << " on page " << page + 1;
            }
            bottom = std::max(bottom, p.y + p.height);
        }
    }
}

QList<int> SubTitleTops(int page)
{
    QList<int> tops;
    for (const sectionrecord::Printed& p : sectionrecord::PrintedOn(page))
        if (p.text.startsWith(QStringLiteral("Alternative ")))
            tops.append(p.y);
    return tops;
}

}  // namespace

TEST(ValuesProtectedLayout, TheItemLinesAndTheAlternativesChooseTheBands)
{
    const struct { int lines, code; } codes[] = {
        {0, 49}, {8, 49}, {9, 48}, {10, 48}, {11, 39}, {13, 39}, {14, 38}, {15, 38},
        {16, 29}, {24, 29}, {25, 28}, {27, 28}, {28, 19}, {200, 19}};
    for (const auto& c : codes)
        EXPECT_EQ(ValuesProtectedLayoutCode(c.lines), c.code) << c.lines;

    const struct { int code, alternatives, tables, font; } bands[] = {
        {49, 1, 4, 9}, {49, 2, 2, 9}, {29, 2, 2, 9}, {19, 2, 1, 9}, {48, 3, 3, 9}, {38, 3, 3, 8},
        {38, 4, 2, 9}, {39, 4, 3, 9}, {48, 4, 4, 8}, {48, 5, 3, 9}, {49, 6, 3, 9}, {48, 7, 4, 8}, {28, 6, 2, 8}};
    for (const auto& b : bands) {
        const reports::sections::BandLayout got = BandLayoutFor(b.code, b.alternatives);
        EXPECT_EQ(std::make_pair(got.tablesPerPage, got.fontSize), std::make_pair(b.tables, b.font))
            << b.code << " with " << b.alternatives << " alternatives";
    }
}

TEST_F(ReportFixture, ValuesProtectedLongNamesTakeTwoLinesOfTheLayout)
{
    ClearValuesAtRisk();
    for (int i = 0; i < 20; ++i)
        model::AddThreatenedItem(i < 5 ? QStringLiteral("Historic cabin and corrals at the upper spring %1").arg(i)
                                       : QStringLiteral("Value %1").arg(i))->SaveChanges();
    EXPECT_EQ(reports::sections::GetValuesProtectedLayout(), 28);
}

TEST_F(ReportFixture, ValuesProtectedPrintATableForEveryAlternative)
{
    ASSERT_TRUE(Produce({11}));
    const QStringList calls = Calls();
    const QStringList rows = sectionrecord::TableRowStrings(calls);
    EXPECT_EQ(TableOf(rows, QStringLiteral("40")), (QStringList{
        kHeader6 + "Item|Values At Risk|Protected in Target Outcome (40%)|Protected in Fallback Outcome (18%)|"
                   "Protected in Extreme Outcome (42%)|Expected Values Protected;",
        kBody6 + "Value at risk 1|50|13|0|20;",
        kBody6 + "Value at risk 2|9,500|4,750|2,380|0;",
        kBody6 + "Value at risk 3|38,000|28,500|0|9,500;",
        kBody6 + "Value at risk 4|84,000|0|63,000|0;",
        kBody6 + "Value at risk 5|140,000|56,000|140,000|105,000;",
        kBody6 + "Total (rounded)|$270,000|$89,000|$210,000|$110,000|$120,000;"}));
    // Alternative C keeps its Fallback hidden: five columns.
    EXPECT_EQ(TableOf(rows, QStringLiteral("66")), (QStringList{
        kHeader5 + "Item|Values At Risk|Protected in Target Outcome (66%)|Protected in Extreme Outcome (34%)|"
                   "Expected Values Protected;",
        kBody5 + "Value at risk 1|50|38|20;",
        kBody5 + "Value at risk 2|9,500|9,500|0;",
        kBody5 + "Value at risk 3|38,000|15,200|9,500;",
        kBody5 + "Value at risk 4|84,000|0|0;",
        kBody5 + "Value at risk 5|140,000|35,000|105,000;",
        kBody5 + "Total (rounded)|$270,000|$60,000|$110,000|$77,000;"}));

    // Header rows without rules, 10 points bold; item rows ruled, 9 points; the total row 10
    // points with space above it.
    for (const QString& call : calls.filter(QStringLiteral("TableRows \"") + kHeader6))
        EXPECT_TRUE(call.contains(QStringLiteral(" style 0 row 0 header 0 ")) && call.endsWith(QStringLiteral(" F 10 b")))
            << call.toStdString();
    for (const QString& call : calls.filter(QStringLiteral("|Value at risk")))
        EXPECT_TRUE(call.contains(QStringLiteral(" style 2 row 0 ")) && call.endsWith(QStringLiteral(" F 9"))) << call.toStdString();
    for (const QString& call : calls.filter(QStringLiteral("Total (rounded)")))
        EXPECT_TRUE(call.contains(QStringLiteral(" style 2 row 50 ")) && call.endsWith(QStringLiteral(" F 10"))) << call.toStdString();
    EXPECT_EQ(reports::VSPrinter1().TableRowSetting(), 0);

    // The notes, then each sub-title between its two rules at the top of its band.
    const QStringList texts = sectionrecord::TextsOn(0);
    ASSERT_GE(texts.size(), 4);
    EXPECT_EQ(texts.mid(0, 4), (QStringList{"Values Protected",
                                            "Note: Outcome values are rounded to 3 significant digits counting from the left.",
                                            "Totals are rounded to 2 significant digits.", "Alternative A. Strategy 1"}));
    const QStringList record = reports::VSPrinter1().PageRecord(0);
    EXPECT_TRUE(record.contains(QStringLiteral("line 720,2040 11520,2040")));
    EXPECT_TRUE(record.contains(QStringLiteral("line 720,2290 11520,2290")));
    const sectionrecord::Printed subTitle = sectionrecord::Find(0, QStringLiteral("Alternative A. Strategy 1"));
    EXPECT_TRUE(subTitle.y == 2040 && subTitle.bold && subTitle.size == 11);
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

TEST_F(ReportFixture, ValuesProtectedAfterACertainTargetAreNotApplicable)
{
    for (int i : {0, 2}) {
        model::GetAlternatives().At(i)->Outcome(model::OutcomeKind::Target)->SetSuccess(100);
        model::GetAlternatives().At(i)->Outcome(model::OutcomeKind::Target)->SaveChanges();
    }
    ASSERT_TRUE(Produce({11}));
    const QStringList rows = sectionrecord::TableRowStrings(Calls());
    const QStringList a = TableOf(rows, QStringLiteral("100"));
    ASSERT_EQ(a.size(), 7);
    EXPECT_TRUE(a[0].contains(QStringLiteral("Protected in Fallback Outcome (0%)|Protected in Extreme Outcome (0%)")));
    for (qsizetype r = 1; r < a.size(); ++r) {
        const QStringList cells = a[r].section(u';', 1, 1).split(u'|');
        ASSERT_GE(cells.size(), 5) << a[r].toStdString();
        EXPECT_NE(cells[2], QStringLiteral("n/a")) << "the Target column still shows values";
        EXPECT_EQ(cells[3], QStringLiteral("n/a")) << a[r].toStdString();
        EXPECT_EQ(cells[4], QStringLiteral("n/a")) << a[r].toStdString();
    }
    EXPECT_TRUE(a.last().endsWith(QStringLiteral("|n/a|n/a|") + a.last().section(u'|', -1)));
    // Without a Fallback only the Extreme column can be out.
    const qsizetype c = rows.indexOf(QRegularExpression(QStringLiteral("^2880!\\|\\^1800.*\\(100%\\).*")));
    ASSERT_GE(c, 0);
    for (const QString& row : rows.mid(c + 1, 6))
        EXPECT_EQ(row.section(u';', 1, 1).split(u'|').value(3), QStringLiteral("n/a")) << row.toStdString();
}

TEST_F(ReportFixture, ValuesProtectedWithoutValuesAtRiskFitFourTablesAPage)
{
    ClearValuesAtRisk();
    ASSERT_TRUE(Produce({11}));
    const QStringList totals = sectionrecord::TableRowStrings(Calls()).filter(QStringLiteral("Total (rounded)"));
    ASSERT_EQ(totals.size(), 4);
    for (const QString& total : totals)
        EXPECT_TRUE(total.contains(QStringLiteral("Total (rounded)|$0|"))) << total.toStdString();
    EXPECT_EQ(reports::VSPrinter1().PageCount(), 1);
    EXPECT_EQ(SubTitleTops(0), (QList<int>{2040, 5040, 8040, 11040}));
    ExpectNothingOverprinted();
}

// The bands are placed by the page margin alone; a table longer than its band moves the next one
// down below it instead of being printed over by it, and the page still takes every table that
// fits.
TEST_F(ReportFixture, ValuesProtectedTableLongerThanItsBandMovesTheNextOneOn)
{
    // The small analysis: four tables a page by its five values at risk, but its column headings
    // take three lines, so a table needs more than the quarter page; the four still fit.
    ASSERT_TRUE(Produce({11}));
    ASSERT_EQ(reports::VSPrinter1().PageCount(), 1);
    const QList<int> tops = SubTitleTops(0);
    ASSERT_EQ(tops.size(), 4);
    EXPECT_EQ(tops[0], 2040);
    EXPECT_GT(tops[1], 5040) << "below the first table, not at the second band";
    ExpectNothingOverprinted();

    // A table longer than a page runs over the page end by itself; the next starts on a page of
    // its own.
    for (int i = 0; i < 70; ++i)
        model::AddThreatenedItem(QStringLiteral("Allotment %1").arg(i))->SaveChanges();
    ASSERT_TRUE(Produce({11}));
    ExpectNothingOverprinted();
    int subTitles = 0;
    for (int page = 0; page < reports::VSPrinter1().PageCount(); ++page)
        subTitles += int(SubTitleTops(page).size());
    EXPECT_EQ(subTitles, 4);
    EXPECT_EQ(sectionrecord::TableRowStrings(Calls()).filter(QStringLiteral("Total (rounded)")).size(), 4);
}
