#include "report_fixture.h"
#include "section_record.h"

#include "model/g51alternatives.h"
#include "platform/printing/reporttable.h"
#include "reports/printsettings.h"

using printing::PageItem;
using reports::VSPrinter1;

namespace {

const QString kTopicLayout = QStringLiteral("margins 1440,2880,1440,720 indents 0,0,0 align 0 F");
const QString kBase = QStringLiteral("margins 720,720,720,720 indents 0,0,0");

using sectionrecord::Call;

// The texts of a page's record, without the boxes and lines of the tables.
QStringList TextsOf(int page)
{
    QStringList out;
    for (const QString& line : VSPrinter1().PageRecord(page))
        if (line.startsWith(QStringLiteral("text")) || line.startsWith(QStringLiteral("running")))
            out << line;
    return out;
}

QString RunningLine(int page)
{
    return VSPrinter1().PageRecord(page).last();
}

}  // namespace

TEST_F(ReportFixture, DecisionSummaryPrintsBothAlternativesTheTopicsAndTheApprovalBlock)
{
    ASSERT_TRUE(Produce({2}));
    const QString line45(45, u'_');
    const QString body291 = Rtf("Hold the fire south of the river.");
    const QString body292 = core::GetSummaryItem(292)->Body();
    ExpectCalls(Calls(), {
        QStringLiteral("StartDoc"),
        Call("Paragraph", "Decision Summary", "720,770", kBase + " align 1 F 12 b"),
        Call("Paragraph", "", "720,*", kBase + " align 1 F 12 b"),
        Call("Paragraph", "Selected Alternative", "1080,1440", kTopicLayout + " 11 b"),
        Call("Paragraph", "A. Strategy 1", "2880,*", kTopicLayout + " 11"),
        Call("Paragraph", "", "2880,*", kTopicLayout + " 11"),
        Call("Paragraph", "     Most Cost Effective Alternative:   C. Strategy 3", "1080,*", kTopicLayout + " 10"),
        Call("Paragraph", "", "2880,*", kTopicLayout + " 10"),
        Call("Paragraph", "Selected Alternative Description", "1080,*", kTopicLayout + " 11 b"),
        Call("Paragraph", body291, "2880,*", kTopicLayout + " 11"),
        Call("Paragraph", "", "2880,*", kTopicLayout + " 11"),
        Call("Paragraph", "Rationale for selecting this Alternative", "1080,*", kTopicLayout + " 11 b"),
        Call("Paragraph", body292, "2880,*", kTopicLayout + " 11"),
        Call("Paragraph", "", "2880,*", kTopicLayout + " 11"),
        Call("Paragraph", "", "1440,*", "margins 1440,1440,1440,720 indents 0,0,0 align 0 F 11"),
        Call("Paragraph", "", "1440,*", "margins 1440,1440,1440,720 indents 0,0,0 align 0 F 11"),
        QStringLiteral("TableRows \"2880|6660;Analysis prepared by:|%1; | ;|%1; | ; | ; | ;\" style 0 row 0 header 0 at 1440,* "
                       "margins 1440,1440,1440,720 indents 0,0,0 align 0 F 11").arg(line45),
        QStringLiteral("TableRows \"6660|2880;%1|%2;Agency Administrator Approval|Date/Time;\" style 0 row 0 header 0 at 1440,* "
                       "margins 1440,1440,1440,720 indents 0,0,0 align 0 F 11").arg(QString(48, u'_'), QString(20, u'_')),
        QStringLiteral("EndDoc")});
    ASSERT_EQ(VSPrinter1().PageCount(), 1);
    EXPECT_EQ(RunningLine(0), QStringLiteral("running 2 [Tolmar No. 12|Ridge|Page ___] %1 10").arg(VSPrinter1().page(0).runningLine.font.family()));
}

TEST_F(ReportFixture, DecisionSummaryWithoutAlternativesSaysSoInsteadOfNamingOne)
{
    while (!model::GetAlternatives().IsEmpty())
        model::DeleteAlternative(model::GetAlternatives().KeyAt(0));
    testsupport::ClearModelCaches();
    ASSERT_TRUE(Produce({2}));
    const QStringList calls = Calls();
    const qsizetype heading = calls.indexOf(QRegularExpression(QStringLiteral("^Paragraph \"Selected Alternative\" .*")));
    ASSERT_GT(heading, 0);
    EXPECT_TRUE(calls[heading + 1].startsWith(QStringLiteral("Paragraph \"\" "))) << "no selection: the empty line follows at once";
    EXPECT_TRUE(calls[heading + 2].startsWith(QStringLiteral(
        "Paragraph \"     Most Cost Effective Alternative:   none (the analysis has no alternatives)\"")))
        << calls[heading + 2].toStdString();
    EXPECT_TRUE(calls.filter(QStringLiteral("Agency Administrator Approval")).size() == 1);
}

TEST_F(ReportFixture, ApprovalBlockLowOnThePageStartsANewPageAt5000)
{
    // Topics are added one at a time until the block no longer fits below them.
    bool sawSamePage = false, sawNewPage = false;
    for (int i = 0; i < 40 && !sawNewPage; ++i) {
        const int key = core::NewItem(QString(), core::kSummaryGroupKey);
        core::GetSummaryItem(key)->SetHeading(QStringLiteral("Topic %1").arg(i + 1));
        ASSERT_TRUE(Produce({2}));
        const QStringList calls = Calls();
        const qsizetype table = calls.indexOf(QRegularExpression(QStringLiteral("^TableRows \"2880\\|6660;.*")));
        ASSERT_GT(table, 3);
        if (calls[table - 3] == QStringLiteral("NewPage")) {
            sawNewPage = true;
            EXPECT_TRUE(calls[table].contains(QStringLiteral(" at 1440,5000 "))) << calls[table].toStdString();
        } else {
            sawSamePage = true;
            EXPECT_EQ(calls.count(QStringLiteral("NewPage")), 0);
        }
    }
    EXPECT_TRUE(sawSamePage && sawNewPage);
}

TEST_F(ReportFixture, SignaturePageHasTheTargetCostAndSizeAndAnEmptyTenRowGrid)
{
    ASSERT_TRUE(Produce({3}));
    ExpectCalls(Calls().mid(0, 6), {
        QStringLiteral("StartDoc"),
        Call("Paragraph", "Daily Review", "720,770", kBase + " align 1 F 12 b"),
        Call("Paragraph", "", "720,*", kBase + " align 1 F 12 b"),
        // The small analysis's alternative A: Target cost 150,000 dollars, 370 acres.
        QStringLiteral("TableRows \">1860|<1200|6360;$150,000|370|Estimated target suppression cost and size;\" style 0 row 0 "
                       "header 0 at 720,* ") + kBase + QStringLiteral(" align 7 F 10"),
        Call("Paragraph", "", "720,*", kBase + " align 7 F 10"),
        QStringLiteral("AddTable \"420|420|1020|720|480|4320|1080|960;\" \" National Preparedness Level| Regional Preparedness "
                       "Level| Suppression cost to date| Size to date|Selected alternative remains valid (Y or N)|By|Date|Time;\" "
                       "\"\" style 7 at 720,* ") + kBase + QStringLiteral(" align 7 F 10")});
    EXPECT_TRUE(Calls().contains(QStringLiteral("EndTable 10 rows")));

    QStringList vertical, boxes;
    for (const QString& line : VSPrinter1().PageRecord(0)) {
        if (line.contains(QStringLiteral(" vertical ")))
            vertical << line.section(u'"', 1, 1);
        if (line.startsWith(QStringLiteral("box ")) && line.endsWith(QStringLiteral("x480 frame")))
            boxes << line;
    }
    EXPECT_EQ(vertical, (QStringList{" National Preparedness Level", " Regional Preparedness Level", " Suppression cost to date",
                                     " Size to date", "Selected alternative remains valid (Y or N)"}));
    EXPECT_EQ(boxes.size(), 10 * 8) << "ten empty rows of eight cells, 480 twips high";
    EXPECT_EQ(VSPrinter1().PageRecord(0).filter(QStringLiteral("x3900 frame")).size(), 8) << "the tall header row";

    const QStringList texts = TextsOf(0);
    const QStringList tail = {"Final Review", "The elements of the selected alternative were met on:",
                              "Date:" + QString(26, u'_') + "     Time:" + QString(22, u'_'), "By:" + QString(58, u'_'),
                              "Agency Administrator"};
    QStringList printed;
    for (const QString& t : texts)
        if (!t.endsWith(QStringLiteral("\"\"")) && !t.startsWith(QStringLiteral("running")))
            printed << t.section(u'"', 1, 1);
    EXPECT_EQ(printed.mid(printed.size() - 5), tail);
}

TEST_F(ReportFixture, SignaturePageWithoutASelectionLeavesTheCostRowOut)
{
    core::Property_Set(QStringLiteral("SelectedAlternativeKey"), QStringLiteral("0"));
    testsupport::ClearModelCaches();
    ASSERT_TRUE(Produce({3}));
    EXPECT_TRUE(Calls().filter(QStringLiteral("Estimated target suppression cost")).isEmpty());
    EXPECT_TRUE(Calls().contains(QStringLiteral("EndTable 10 rows")));
    EXPECT_EQ(Calls().filter(QStringLiteral("Agency Administrator")).size(), 1);
}

TEST_F(ReportFixture, SituationOpensWithTheIdentificationTableAndNoRunningLine)
{
    ASSERT_TRUE(Produce({1}));
    ExpectCalls(Calls().mid(0, 4), {
        QStringLiteral("StartDoc"),
        Call("Paragraph", "", "720,720", kBase + " align 0 F 10"),
        Call("Paragraph", "", "720,*", kBase + " align 0 F 10"),
        QStringLiteral("AddTable \"5400|5400;\" \"Ardwyn\r\n|;\" \"\" style 0 at 720,* ") + kBase + QStringLiteral(" align 0 F 11")});
    ExpectCalls(Calls().mid(4), {
        QStringLiteral("EndTable 3 rows"),
        Call("Paragraph", "", "720,*", kBase + " align 0 F 11"),
        Call("Text", "Start Date/Time:   ", "720,*", "margins *,720,720,720 indents 0,0,0 align 0 F 11 b"),
        Call("Paragraph", "08/12/2026  1315", "*,*", "margins *,720,720,720 indents 0,0,0 align 0 F 11"),
        Call("Paragraph", "", "720,*", "margins *,720,720,720 indents 0,0,0 align 0 F 11"),
        Call("Text", "Current Fire Size:   ", "720,*", "margins *,720,720,720 indents 0,0,0 align 0 F 11 b"),
        Call("Paragraph", "2300 acres", "*,*", "margins *,720,720,720 indents 0,0,0 align 0 F 11"),
        Call("Paragraph", "", "720,*", "margins *,720,720,720 indents 0,0,0 align 0 F 11"),
        Call("Paragraph", "Weather", "720,*", "margins *,720,720,720 indents 0,0,0 align 0 F 11 b"),
        Call("Paragraph", Rtf("Dry cold front Thursday."), "720,*", "margins *,720,720,720 indents 0,0,0 align 0 F 11"),
        QStringLiteral("EndDoc")});

    const QStringList texts = TextsOf(0);
    QStringList cells;
    for (const QString& t : texts)
        cells << t.section(u'"', 1, 1);
    EXPECT_EQ(cells.mid(2, 5), (QStringList{
        "Ardwyn\r\n",
        "Tolmar Information",
        "\nTolmar Number:  12\n\nFire Name:  Ridge\n\nIncident Number:  ID-BOF-000417\n\nDate/Time Prepared:  08/14/2026  1400",
        "\nJurisdiction(s):  BLM, State\n\nGeographic Area:  Great Basin\n\nUnit:  Boise District\n\n"
        "Accounting or Management Code:  {P0K3}\\x",
        "Fire Situation"}));
    EXPECT_TRUE(texts[2].contains(QStringLiteral(" 14 b ")) && texts[3].contains(QStringLiteral(" 12 b ")));
    EXPECT_TRUE(RunningLine(0).startsWith(QStringLiteral("running 0 [||] ")));
}

TEST_F(ReportFixture, SituationTopicsOnFurtherPagesGetTheRunningLineBack)
{
    for (int i = 0; i < 30; ++i) {
        const int key = core::NewSituationTopic(QStringLiteral("Topic %1").arg(i));
        core::GetItem(key)->SetHeading(QStringLiteral("Topic %1").arg(i));
        // Bodies of one and of two lines, so that some topic lands within reach of the page end.
        core::GetItem(key)->SetBody(i % 3 ? Rtf("Winds from the southwest at 15 to 25 miles an hour.")
                                          : Rtf("Winds from the southwest at 15 to 25 miles an hour, gusting to 40 on the "
                                                "ridges, humidity below ten percent and a dry cold front due overnight."));
    }
    ASSERT_TRUE(Produce({1}));
    ASSERT_GE(VSPrinter1().PageCount(), 2);
    EXPECT_TRUE(RunningLine(0).startsWith(QStringLiteral("running 0 [||] ")));
    EXPECT_TRUE(RunningLine(1).startsWith(QStringLiteral("running 2 [Tolmar No. 12|Ridge|Page ___] ")));
    const QStringList calls = Calls();
    int topicBreaks = 0;
    for (qsizetype i = 1; i < calls.size(); ++i) {
        if (calls[i] != QStringLiteral("NewPage"))
            continue;
        // Topics are not measured: a topic within 1080 twips of the page end goes to the next page,
        // the break coming after its leading empty line, and the page starts one inch down although
        // the section's top margin lies far lower. Any other break is a body running over the end.
        if (!calls[i - 1].startsWith(QStringLiteral("Paragraph \"\""))) {
            EXPECT_TRUE(calls[i - 1].startsWith(QStringLiteral("Paragraph \"{\\rtf1"))) << calls[i - 1].toStdString();
            continue;
        }
        ++topicBreaks;
        EXPECT_TRUE(calls[i + 1].startsWith(QStringLiteral("Paragraph \"Topic "))) << calls[i + 1].toStdString();
        EXPECT_TRUE(calls[i + 1].contains(QStringLiteral(" margins 1440,720,720,720 "))) << calls[i + 1].toStdString();
    }
    EXPECT_GE(topicBreaks, 1);
}

TEST_F(ReportFixture, ResourceObjectivesPrintEveryAreaInOrder)
{
    ASSERT_TRUE(Produce({5}));
    ExpectCalls(Calls(), {
        QStringLiteral("StartDoc"),
        Call("Paragraph", "Resource Management Objectives", "720,770", kBase + " align 1 F 12 b"),
        Call("Paragraph", "", "720,*", kBase + " align 1 F 12 b"),
        Call("Paragraph", "Owyhee Uplands", "1080,1440", kTopicLayout + " 11 b"),
        Call("Paragraph", Rtf("Protect sage grouse habitat."), "2880,*", kTopicLayout + " 11"),
        Call("Paragraph", "", "2880,*", kTopicLayout + " 11"),
        Call("Paragraph", "Snake River", "1080,*", kTopicLayout + " 11 b"),
        Call("Paragraph", Rtf("Keep fire out of the riparian zone."), "2880,*", kTopicLayout + " 11"),
        Call("Paragraph", "", "2880,*", kTopicLayout + " 11"),
        QStringLiteral("EndDoc")});
}

TEST_F(ReportFixture, ATopicStartingLowOnThePageMovesWholeToTheNextOne)
{
    for (const core::c0Item* area : core::GetRMAs())
        core::DeleteRMA(area->ItemKey());
    // Short areas fill the page past 8000 twips; then one long one follows.
    for (int i = 0; i < 14; ++i)
        core::NewRMA(QStringLiteral("Area %1").arg(i), Rtf("Short."));
    QString words;
    for (int i = 0; i < 400; ++i)
        words += QStringLiteral("grazing ");
    core::NewRMA(QStringLiteral("Long area"), Rtf(words.toLatin1().constData()));
    core::SaveRMAs();
    ASSERT_TRUE(Produce({5}));
    const QStringList calls = Calls();
    const qsizetype longHeading = calls.indexOf(QRegularExpression(QStringLiteral("^Paragraph \"Long area\".*")));
    ASSERT_GT(longHeading, 0);
    EXPECT_EQ(calls[longHeading - 1], QStringLiteral("NewPage"));
    EXPECT_TRUE(calls[longHeading].contains(QStringLiteral(" at 1080,1440 ") + kTopicLayout)) << calls[longHeading].toStdString();
    EXPECT_EQ(calls.count(QStringLiteral("NewPage")), 1) << "the short areas before it stay where they are";
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1) << "pushes and pops balance";
}

TEST_F(ReportFixture, NoAreasLeaveTheTitleAlone)
{
    for (const core::c0Item* area : core::GetRMAs())
        core::DeleteRMA(area->ItemKey());
    ASSERT_TRUE(Produce({5}));
    EXPECT_EQ(Calls().size(), 4);
    EXPECT_TRUE(RunningLine(0).startsWith(QStringLiteral("running 2 [Tolmar No. 12|Ridge|Page ___]")));
}
