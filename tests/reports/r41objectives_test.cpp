#include "report_fixture.h"
#include "section_record.h"

#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "reports/printsettings.h"
#include "platform/richtext/rtftext.h"

using sectionrecord::Call;
using sectionrecord::YOf;

// The two sections that list the objectives tree and the safety tree, one row a node with its
// description below.
namespace {

const QString kFormat = QStringLiteral("7800|>2100|^800;");
const QString kHeader = QStringLiteral("7800|>2100!|^800;Objective|Priority (high=10)|Weight;");
const QString kLayout = QStringLiteral("margins 720,720,2160,720 indents 0,0,0 align 0 F 10");
const QString kDescriptionLayout = QStringLiteral("margins 720,720,2160,720 indents 1440,0,0 align 0 F 10");

QString CategoryRow(const QString& name)
{
    return QStringLiteral("TableRows \"%1%2;\" style 2 row 120 header 0 at 720,* %3 b").arg(kFormat, name, kLayout);
}

QString NodeRow(const QString& cells)
{
    return QStringLiteral("TableRows \"%1   %2;\" style 0 row 60 header 0 at 720,* %3").arg(kFormat, cells, kLayout);
}

QString HeaderAt(const QString& at)
{
    return QStringLiteral("TableRows \"%1\" style 0 row 0 header 60 at %2 margins 720,720,2160,720 indents 0,0,0 align 0 F 8 b")
        .arg(kHeader, at);
}

QString Description(const QString& rtf)
{
    return Call("Paragraph", rtf, "2160,*", kDescriptionLayout);
}

}  // namespace

TEST_F(ReportFixture, ObjectivesListThePrioritisedNodesWithPriorityAndWeight)
{
    richtext::SetListCounter(0);
    const QString empty = model::GetPrioritizedObjectives().first()->Description();
    ASSERT_TRUE(Produce({6}));
    ExpectCalls(Calls(), {
        QStringLiteral("StartDoc"),
        Call("Paragraph", "Objectives", "720,770", "margins 720,720,720,720 indents 0,0,0 align 1 F 12 b"),
        Call("Paragraph", "", "720,*", "margins 720,720,720,720 indents 0,0,0 align 1 F 12 b"),
        HeaderAt(QStringLiteral("720,1620")),
        // The small analysis's priorities: objective i has i - 1 mod 11, so Objective 1 (0) is
        // left out and so is every category whose objectives all have 0.
        NodeRow("Objectives|10|1.00"), Description(empty),
        CategoryRow("Natural and Cultural Resources"), Description(empty),
        NodeRow("Objective 6|5|0.33"), Description(empty),
        CategoryRow("Property and Improvements"), Description(empty),
        NodeRow("Objective 2|1|0.07"), Description(empty),
        CategoryRow("Economic"), Description(empty),
        NodeRow("Objective 3|2|0.13"), Description(empty),
        CategoryRow("Social and Political"), Description(empty),
        NodeRow("Objective 4|3|0.20"), Description(empty),
        CategoryRow("Other"), Description(empty),
        NodeRow("Objective 5|4|0.27"), Description(empty),
        QStringLiteral("EndDoc")});
    EXPECT_TRUE(Calls().filter(QStringLiteral("Objective 1|")).isEmpty());
    const sectionrecord::Printed weight = sectionrecord::Find(0, QStringLiteral("Weight"));
    EXPECT_TRUE(weight.bold && weight.size == 8);
    EXPECT_TRUE(sectionrecord::Find(0, QStringLiteral("Economic")).bold);
    EXPECT_FALSE(sectionrecord::Find(0, QStringLiteral("   Objective 3")).bold);
    EXPECT_EQ(reports::VSPrinter1().TableRowSetting(), 0);
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

TEST_F(ReportFixture, ObjectiveDescriptionsWithListsGetAListIdOfTheirOwn)
{
    const QString list = QStringLiteral(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}{\\*\\listtable{\\list\\listtemplateid1{\\listlevel\\levelnfc23}"
        "\\listid1}}{\\*\\listoverridetable{\\listoverride\\listid1\\ls1}}"
        "{\\pntext\\tab}\\ls1\\ilvl0 Hold the ridge\\par}");
    for (model::c41Objective* node : model::GetPrioritizedObjectives()) {
        if (node->ItemName() == QStringLiteral("Objective 6") || node->ItemName() == QStringLiteral("Objective 2")) {
            node->SetDescription(list);
            node->SaveChanges();
        }
    }
    richtext::SetListCounter(1);
    ASSERT_TRUE(Produce({6}));
    const QStringList lists = Calls().filter(QStringLiteral("Hold the ridge"));
    ASSERT_EQ(lists.size(), 2);
    EXPECT_TRUE(lists[0].contains(QStringLiteral("\\listid2}")) && lists[0].contains(QStringLiteral("\\pard\\fi-360")))
        << lists[0].toStdString();
    EXPECT_TRUE(lists[1].contains(QStringLiteral("\\listid3}"))) << lists[1].toStdString();
    EXPECT_EQ(richtext::ListCounter(), 3);
}

TEST_F(ReportFixture, SafetyIssuesListTheTreeWithCategoriesBoldAndNoPriorities)
{
    const QList<model::c41Objective*>& nodes = model::SafetyIssuesCollection();
    ASSERT_EQ(nodes.size(), 3);
    const QString empty = nodes[0]->Description();
    const QString described = ReportFixture::Rtf("Night operations on steep ground.");
    nodes[1]->SetDescription(described);
    nodes[1]->SaveChanges();
    // A node without a description has no paragraph below its row.
    nodes[2]->SetDescription(QString());
    nodes[2]->SaveChanges();
    ASSERT_TRUE(Produce({7}));
    ExpectCalls(Calls(), {
        QStringLiteral("StartDoc"),
        Call("Paragraph", "Safety Issues", "720,770", "margins 720,720,720,720 indents 0,0,0 align 1 F 12 b"),
        Call("Paragraph", "", "720,*", "margins 720,720,720,720 indents 0,0,0 align 1 F 12 b"),
        // The root is a node but not a category.
        QStringLiteral("TableRows \"%1   Safety Issues|;\" style 0 row 60 header 0 at 720,1620 %2").arg(kFormat, kLayout),
        Description(empty),
        CategoryRow("Safety issue 1"), Description(described),
        CategoryRow("Safety issue 2"),
        QStringLiteral("EndDoc")});
    EXPECT_TRUE(sectionrecord::Find(0, QStringLiteral("Safety issue 1")).bold);
    EXPECT_FALSE(sectionrecord::Find(0, QStringLiteral("   Safety Issues")).bold);
    EXPECT_EQ(sectionrecord::Find(0, QStringLiteral("Night operations on steep ground.")).x, 2160);
    for (const QString& row : sectionrecord::TableRowStrings(Calls()))
        EXPECT_FALSE(row.contains(QRegularExpression(QStringLiteral("\\|\\d")))) << "no priority or weight: " << row.toStdString();
    EXPECT_EQ(reports::VSPrinter1().TableRowSetting(), 0);
}

// A description is measured as the text it prints, not as the length of its markup: a short
// description with heavy markup does not push its row onto a new page.
TEST_F(ReportFixture, TreeRowsLowOnThePageBreakByTheDescriptionsTextNotItsMarkup)
{
    QString markup;
    for (int i = 0; i < 600; ++i)
        markup += QStringLiteral("\\b0\\i0 ");
    const QString heavy = QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 %1Keep crews off the slope.\\par }")
                              .arg(markup);
    for (int i = 0; i < 30; ++i) {
        model::c41Objective* issue = model::AddSafetyIssue(QStringLiteral("Hazard %1").arg(i + 1));
        issue->SetItemName(QStringLiteral("Hazard %1").arg(i + 1));
        issue->SetDescription(heavy);
        issue->SaveChanges();
        model::c41Objective* objective = model::AddObjective(QStringLiteral("Aim %1").arg(i + 1), 3);
        objective->SetItemName(QStringLiteral("Aim %1").arg(i + 1));
        objective->SetPriority(5);
        objective->SetDescription(heavy);
        objective->SaveChanges();
    }
    model::ClearSafetyIssues();
    model::ClearObjectives();
    for (int section : {6, 7}) {
        ASSERT_TRUE(Produce({section}));
        const QStringList calls = Calls();
        const qsizetype page = calls.indexOf(QStringLiteral("NewPage"));
        ASSERT_GT(page, 0) << section;
        // As markup the description would measure some twenty lines and break the page at the
        // first row below 12000 twips; as text it is one line, so rows go on to the foot.
        EXPECT_GT(YOf(calls[page - 1]), 14000) << section << ": " << calls[page - 1].toStdString();
    }
}

TEST_F(ReportFixture, ObjectivesBrokenOntoANewPageRepeatTheHeader)
{
    for (int i = 0; i < 40; ++i) {
        model::c41Objective* objective = model::AddObjective(QStringLiteral("Aim %1").arg(i + 1), 3);
        objective->SetItemName(QStringLiteral("Aim %1").arg(i + 1));
        objective->SetPriority(5);
        objective->SaveChanges();
    }
    model::ClearObjectives();
    // The first row below 12000 twips is given a description too long for the rest of the page.
    ASSERT_TRUE(Produce({6}));
    QString low;
    for (const QString& call : Calls())
        if (call.startsWith(QStringLiteral("TableRows \"") + kFormat + QStringLiteral("   Aim ")) && YOf(call) > 12000) {
            low = call.section(u';', 1, 1).section(u'|', 0, 0).trimmed();
            break;
        }
    ASSERT_FALSE(low.isEmpty());
    QString words;
    for (int i = 0; i < 120; ++i)
        words += QStringLiteral("Hold the line along the county road. ");
    for (model::c41Objective* node : model::GetPrioritizedObjectives())
        if (node->ItemName() == low)
            node->SetDescription(ReportFixture::Rtf(words.toLatin1().constData()));
    ASSERT_TRUE(Produce({6}));
    const QStringList calls = Calls();
    const qsizetype page = calls.indexOf(QStringLiteral("NewPage"));
    ASSERT_GT(page, 0);
    // The row setting is that of the last row before the break; a header row shows none.
    ExpectCalls({calls[page + 1]}, {QString(HeaderAt(QStringLiteral("720,1620"))).replace(QStringLiteral("row 0"), QStringLiteral("row *"))});
    EXPECT_TRUE(calls[page + 2].startsWith(QStringLiteral("TableRows \"%1   %2|5|").arg(kFormat, low))) << calls[page + 2].toStdString();
    EXPECT_TRUE(calls[page + 2].contains(QStringLiteral("|0.")));
}
