// A whole analysis entered as a fire manager enters it: a new file from the start page, two FMUs
// imported from the sample Prep file, values at risk, safety issues and objectives with their
// priorities, three alternatives (the first with a Fallback), their outcomes and chances, the
// ratings, the protection of the values at risk and each of the four cost sources once. Every
// figure goes in through the worksheets' own boxes, grid cells, bars and buttons, reached by the
// main window's menus. The Comparison Matrix and the text of the full report are then held
// against figures worked out by hand below. With TOLMAR_KEEP_PNG set to a folder, the window is
// kept there on the way; with TOLMAR_KEEP_PDF set to a file name, the report is kept there.

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "platform/grid/grid.h"
#include "platform/ui/scriptedprompter.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm01start.h"
#include "shell/frm0_tolmar.h"
#include "shell/modelcaches.h"
#include "shell/worksheetforms.h"
#include "support/keeppicture.h"
#include "support/runtool.h"
#include "support/withdialog.h"
#include "worksheets/common/worksheetform.h"
#include "worksheets/setup_situation/frm12import.h"
#include "worksheets/setup_situation/frm24valuesatrisk.h"
#include "worksheets/objectives_alternatives/objectivetreeform.h"
#include "worksheets/objectives_alternatives/frm34prioritize.h"
#include "worksheets/objectives_alternatives/frm42alternatives.h"
#include "worksheets/objectives_alternatives/frm43outcomes.h"
#include "worksheets/objectives_alternatives/frm44probabilities.h"
#include "worksheets/objectives_alternatives/frm45fmus.h"
#include "worksheets/analysis/frm53ratings.h"
#include "worksheets/analysis/frm54valuesprotected.h"
#include "worksheets/analysis/frm56_costsummary.h"
#include "worksheets/analysis/frm562sruselist.h"
#include "worksheets/analysis/frm563dailycost.h"
#include "worksheets/comparison_complexity/frm64matrix.h"
#include "worksheets/comparison_complexity/frm65decision.h"
#include "worksheets/report/frm83reports.h"
#include "reports/frmpreview.h"
#include "reports/reportproduction.h"
#include "platform/richtext/richtexteditor.h"
#include "worksheets/common/topiceditor.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QToolBar>
#include <QUrl>
#include <QTimer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

using model::OutcomeKind;
namespace {

// ---------------------------------------------------------------------------------------------
// The analysis, and its figures worked by hand.
//
// FMUs: "Lower Montane Pine-1" and "Upper Montane Mixed Conifer-1" of Cedar Basin.fcd, each
// with the tables of its zone. Every outcome keeps the portions a new outcome gets, 50 in each
// FMU (50 % each), except A's Fallback, typed as 3 to 2 (60 and 40 %); all of every outcome's
// area is at fire intensity level 4.
//
// NVC per acre at FIL 4, the sum of the fourteen resources of the sample file's FIL4 column
// (all losses), to three significant digits:
//   Lower Montane Pine:  -(540+36+192+108+126+54+84+156+0+180+72+24+390+18) = -1980
//   Upper Montane:       -(840+0+252+156+228+90+192+108+0+144+36+33+72+15)  = -2166 -> -2170
// so an outcome's average NVC per acre is 0.5 x -1980 + 0.5 x -2170 = -2075 (A's Fallback:
// 0.6 x -1980 + 0.4 x -2170 = -2056), and its NVC loss is -(fire size x that) to two significant
// digits:
//   A Target 100 ac -> 207,500 -> 210,000     A Fallback 500 ac -> 1,028,000 -> 1,000,000
//   B Target 300 ac -> 622,500 -> 620,000     C Target 1,000 ac -> 2,075,000 -> 2,100,000
//   Extreme 5,000 ac -> 10,375,000 -> 10,000,000
//
// Chances typed on Probabilities: A 60 % Target and 50 % Fallback -> 60 / 20 / 20 (the Fallback
// takes half of the 40 left); B 70 % -> 70 / 0 / 30; C 80 % -> 80 / 0 / 20.
//
// Expected NVC loss, two significant digits:
//   A: 0.6 x 210,000 + 0.2 x 1,000,000 + 0.2 x 10,000,000 = 2,326,000 -> 2,300,000
//   B: 0.7 x 620,000 + 0.3 x 10,000,000                   = 3,434,000 -> 3,400,000
//   C: 0.8 x 2,100,000 + 0.2 x 10,000,000                 = 3,680,000 -> 3,700,000
//
// Costs (each worked in the Costs comment below), by outcome:
//   A Target   by size, 100 ac: 100 x 1,365 x 0.5 + 100 x 1,920 x 0.5 = 164,250 -> 164,000
//              (the bracket up to 100 ac of each FMU's cost table, three significant digits)
//   A Fallback by size, 500 ac: 500 x 640 x 0.6 + 500 x 900 x 0.4     = 372,000
//   B Target   resource list: 2 crews x 5 shifts x 14,200              = 142,000
//   C Target   daily: 10,000 x 3 + 2,000 x (7 - 3)                     =  38,000
//   Extreme    typed in                                                = 2,000,000
// Estimated Target cost, two significant digits: A 160,000, B 140,000, C 38,000.
// Expected cost, two significant digits:
//   A: 0.6 x 164,000 + 0.2 x 372,000 + 0.2 x 2,000,000 = 572,800 -> 570,000
//   B: 0.7 x 142,000 + 0.3 x 2,000,000                 = 699,400 -> 700,000
//   C: 0.8 x 38,000 + 0.2 x 2,000,000                  = 430,400 -> 430,000
//
// Values protected (values at risk: homes 400,000 x 50 % = 200,000; power line 100,000 x 80 %
// = 80,000), by outcome: A Target 260,000, A Fallback 100,000, B Target 180,000, C Target 60,000,
// Extreme 0 (levels in the Values Protected comment below). Expected, two significant digits:
//   A: 0.6 x 260,000 + 0.2 x 100,000 = 176,000 -> 180,000
//   B: 0.7 x 180,000                 = 126,000 -> 130,000
//   C: 0.8 x 60,000                  =  48,000
//
// Total expected financial impact = protected - NVC loss - cost:
//   A: 180,000 - 2,300,000 - 570,000 = -2,690,000
//   B: 130,000 - 3,400,000 - 700,000 = -3,970,000
//   C:  48,000 - 3,700,000 - 430,000 = -4,082,000
//
// Scores (ratings in the Ratings comments below): an outcome's score is the weighted sum of its
// ratings (objectives 0.6 and 0.4, safety issues 2/3 and 1/3), two significant digits; the
// expected score weights the outcomes' scores by their chances, shown to one decimal:
//   objectives  A: 0.6 x 8.8 + 0.2 x 5 + 0.2 x 0.8 = 6.44 -> 6.4
//               B: 0.7 x 5 + 0.3 x 0.8             = 3.74 -> 3.7
//               C: 0.8 x 6 + 0.2 x 0.8             = 4.96 -> 5.0
//   safety      A: 0.6 x 8 + 0.2 x 5 + 0.2 x 1 = 6.0;  B: 0.7 x 7 + 0.3 x 1 = 5.2;
//               C: 0.8 x 4 + 0.2 x 1 = 3.4
// and the expected rating of each criterion alone the same way, e.g. Cedar Creek for A:
// 0.6 x 8 + 0.2 x 5 + 0.2 x 0 = 5.8. The matrix shows an alternative's Fallback column empty when
// it has none.
struct Expected {
    const char* label;
    const char* heading;
    const char* targetCost;
    const char* expectedCost;
    const char* protection;
    const char* nvcLoss;
    const char* financial;
    const char* percents[3];
    // Target, Fallback, Extreme, expected
    const char* objectives[4];
    const char* creek[4];
    const char* homes[4];
    const char* safety[4];
    const char* snags[4];
    const char* rocks[4];
};
const Expected kExpected[] = {
    {"A", "A. Direct attack", "$160,000", "$570,000", "$180,000", "$2,300,000", "-$2,690,000", {"60", "20", "20"},
     {"8.8", "5", "0.8", "6.4"}, {"8", "5", "0", "5.8"}, {"10", "5", "2", "7.4"},
     {"8", "5", "1", "6.0"}, {"9", "6", "0", "6.6"}, {"6", "3", "3", "4.8"}},
    {"B", "B. Indirect line", "$140,000", "$700,000", "$130,000", "$3,400,000", "-$3,970,000", {"70", "0", "30"},
     {"5", "", "0.8", "3.7"}, {"7", "", "0", "4.9"}, {"2", "", "2", "2.0"},
     {"7", "", "1", "5.2"}, {"6", "", "0", "4.2"}, {"9", "", "3", "7.2"}},
    {"C", "C. Confine to the basin", "$38,000", "$430,000", "$48,000", "$3,700,000", "-$4,082,000", {"80", "0", "20"},
     {"6", "", "0.8", "5.0"}, {"4", "", "0", "3.2"}, {"9", "", "2", "7.6"},
     {"4", "", "1", "3.4"}, {"3", "", "0", "2.4"}, {"6", "", "3", "5.4"}},
};

// The same figures in the full report, line by line as pdftotext lays them out.
const char* const kReportLines[] = {
    // Decision summary: the alternative chosen, and the one of least expected cost (C at 430,000).
    "Most Cost Effective Alternative: C. Confine to the basin",
    // Values at risk: potential loss x probability.
    "Pine Flats homes 400,000 50 200,000",
    "Power line 100,000 80 80,000",
    "Total expected value at risk (rounded) 280,000",
    // Objectives and their weights.
    "Keep fire out of Cedar Creek 6 0.60",
    "No homes lost 4 0.40",
    // Alternatives: the chances of each outcome.
    "Probability: 60% Probability: 20% Probability: 20%",
    "Probability: 70% Probability: 30%",
    "Probability: 80% Probability: 20%",
    // Estimated suppression costs: each FMU's share of A's outcomes by size, and every estimate.
    "Lower Montane Pine-1 50 1365 68250 60 640 192000 50 420 1050000",
    "Upper Montane Mixed Conifer-1 50 1920 96000 40 900 180000 50 590 1475000",
    "Estimated suppression cost: $164,000 Estimated suppression cost: $372,000 Estimated suppression cost: $2,000,000",
    "Estimated suppression cost: $142,000 Estimated suppression cost: $2,000,000",
    "Estimated suppression cost: $38,000",
    // Values protected: by outcome and expected.
    "Total (rounded) $280,000 $260,000 $100,000 $0 $180,000",
    "Total (rounded) $280,000 $180,000 $0 $130,000",
    "Total (rounded) $280,000 $60,000 $0 $48,000",
    // Estimated loss: NVC losses by outcome and expected.
    "Total (rounded) $210,000 $1,000,000 $10,000,000 $2,300,000",
    "Total (rounded) $620,000 $10,000,000 $3,400,000",
    "Total (rounded) $2,100,000 $10,000,000 $3,700,000",
    // Computation of NVC: A's fires at FIL 4 in each FMU, -1,980 and -2,170 an acre.
    "4 -1980 50 50 -99000 60 300 -594000 50 2500 -4950000",
    "4 -2170 50 50 -108500 40 200 -434000 50 2500 -5425000",
    "Total 100 100 -$210,000 100 500 -$1,000,000 100 5000 -$10,000,000",
    "Totals -$151 -$455 -$1,154 -$1,980 -$2,804 -$3,300",
    "Totals -$162 -$484 -$1,263 -$2,166 -$3,069 -$3,610",
    // Safety assessment: A's ratings of the two issues.
    "Rating: 9 / 10 Rating: 6 / 10 Rating: 0 / 10",
    "Rating: 6 / 10 Rating: 3 / 10 Rating: 3 / 10",
    // Decision tree: each alternative's expected values, and the outcomes it branches into.
    "Expected Objectives Score: 6.4", "Expected Safety Score: 6.0", "Expected Cost: $570,000",
    "Values Protected: $180,000", "Expected NVC Loss: $2,300,000",
    "Expected Objectives Score: 3.7", "Expected Safety Score: 5.2", "Expected Cost: $700,000",
    "Values Protected: $130,000", "Expected NVC Loss: $3,400,000",
    "Expected Objectives Score: 5.0", "Expected Safety Score: 3.4", "Expected Cost: $430,000",
    "Values Protected: $48,000", "Expected NVC Loss: $3,700,000",
    "Size: 500 acres. Control: 0 days", "Estimated Cost: $372,000", "Estimated NVC Loss: $1,000,000",
    "Size: 1000 acres. Control: 7 days", "Estimated Cost: $38,000", "Estimated NVC Loss: $2,100,000",
    "Size: 5000 acres. Control: 0 days", "Estimated Cost: $2,000,000", "Estimated NVC Loss: $10,000,000",
    // Comparison matrix: the worksheet's figures, the three alternatives side by side.
    "Estimated Target Suppression Cost $160,000 $140,000 $38,000",
    "Expected Suppression Cost $570,000 $700,000 $430,000",
    "Expected Values Protected $180,000 $130,000 $48,000",
    "Expected Resource Loss $2,300,000 $3,400,000 $3,700,000",
    "Total Expected Financial Impact -$2,690,000 -$3,970,000 -$4,082,000",
    "Expected Objectives Score 6.4 3.7 5.0",
    "Probability (%) 60 20 20 70 0 30 80 0 20",
    "Keep fire out of Cedar Creek 0.60 8 5 0 5.8 7 0 4.9 4 0 3.2",
    "No homes lost 0.40 10 5 2 7.4 2 2 2.0 9 2 7.6",
    "Expected Safety Score 6.0 5.2 3.4",
    "Snags along the ridge road 0.67 9 6 0 6.6 6 0 4.2 3 0 2.4",
    "Rolling rocks 0.33 6 3 3 4.8 9 3 7.2 6 3 5.4",
    // The comparison graphs draw these figures as bars; their text is the axes alone.
};
// The rationale of the decision, typed on the Decision worksheet: a line, then a bulleted list.
const char* const kRationale = "Reasons for C:";
const char* const kReasons[] = {"Least expected cost of the three", "Crews stay off the ridge at night"};

// What a word processor shows of the RTF report, line by line as pdftotext lays out its PDF: a
// line of every section, its own figures where the layout keeps them on one line.
const char* const kWordProcessorLines[] = {
    "Most Cost Effective Alternative: C. Confine to the basin",
    "Reasons for C:",
    "Pine Flats homes 400,000 50 200,000",
    "Keep fire out of Cedar Creek 6 0.60",
    "Snags along the ridge road",
    "Probability: 60%",
    "$164,000",
    "Total (rounded) $280,000 $260,000 $100,000 $0 $180,000",
    "Total (rounded) $210,000 $1,000,000 $10,000,000 $2,300,000",
    "Total 100 100 -$210,000 100 500 -$1,000,000 100 5000 -$10,000,000",
    "Rating: 9 / 10",
    "Expected Objectives Score: 6.4", "Values Protected: $180,000", "Expected NVC Loss: $3,700,000",
    "Expected Suppression Cost $570,000 $700,000 $430,000",
    "Probability (%) 60 20 20 70 0 30 80 0 20",
    "Expected Safety Score 6.0 5.2 3.4",
};
// ---------------------------------------------------------------------------------------------

void Type(QWidget* box, const QString& text)
{
    box->setFocus();
    if (auto* line = qobject_cast<QLineEdit*>(box))
        line->selectAll();
    QTest::keyClicks(box, text);
}

void TypeInCombo(QComboBox* combo, const QString& text)
{
    Type(combo->lineEdit(), text);
}

QPoint At(grid::Grid& g, int row, int col, double fraction = 0.5)
{
    const QRect r = g.visualRect(g.gridModel()->index(row, col));
    return QPoint(r.left() + int(std::lround(fraction * r.width())), r.center().y());
}

void ClickCell(grid::Grid& g, int row, int col, double fraction = 0.5)
{
    g.scrollTo(g.gridModel()->index(row, col));
    QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, At(g, row, col, fraction));
}

void ClickItem(QListWidget* list, int index)
{
    list->scrollToItem(list->item(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
}

void Click(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

// The grid row whose first cell reads text (leading blanks aside); -1 when none does.
int RowOf(grid::Grid& g, const QString& text, int col = 0)
{
    for (int r = 0; r < g.rows(); ++r)
        if (g.text(r, col).trimmed() == text)
            return r;
    return -1;
}

// The lines of pdftotext's layout with runs of blanks closed up and the ligatures of the report
// font written out.
QStringList ReportLines(QString text)
{
    text.replace(QChar(0xFB01), "fi").replace(QChar(0xFB02), "fl").replace(QChar(0xFB00), "ff");
    QStringList lines;
    for (const QString& line : text.split('\n'))
        lines << line.simplified();
    return lines;
}

QLineEdit* Editor(grid::Grid& g) { return g.viewport()->findChild<QLineEdit*>(); }

// A value typed into a grid cell and ended with Enter. A click on the cell that is already
// current opens no editor; the first key typed then opens it, as in the program.
void TypeInCell(grid::Grid& g, int row, int col, const QString& text)
{
    ClickCell(g, row, col);
    int typed = 0;
    if (!g.isEditing()) {
        QTest::keyClick(&g, text.at(0).toLatin1());
        typed = 1;
    } else {
        Editor(g)->selectAll();
    }
    ASSERT_TRUE(g.isEditing()) << "row " << row << " col " << col;
    QTest::keyClicks(Editor(g), text.mid(typed));
    QTest::keyClick(Editor(g), Qt::Key_Return);
    EXPECT_EQ(g.text(row, col), text) << "row " << row << " col " << col;
}

// The row of an outcome in the worksheets' outcome grids: the alternative's letter ("E" for the
// Extreme outcome) and the outcome's name in the second column.
int OutcomeRow(grid::Grid& g, const QString& letter, const QString& outcome = "Target")
{
    for (int r = 1; r < g.rows(); ++r) {
        const QString name = g.text(r, 0).trimmed();
        if (letter == "E" ? name == "Extreme Outcome" : name.startsWith(letter + ".") && g.text(r, 1).trimmed() == outcome)
            return r;
    }
    return -1;
}

// Every outcome of the analysis, as the grids name them.
struct OutcomeName {
    const char* letter;
    const char* outcome;
};
constexpr OutcomeName kOutcomes[] = {{"A", "Target"}, {"A", "Fallback"}, {"B", "Target"}, {"C", "Target"}, {"E", ""}};

// The ratings of one criterion, in the order of kOutcomes.
struct Rated {
    const char* criterion;
    int ratings[5];
};

// Shows the criterion on a ratings worksheet and gives every outcome its rating with enter.
void Rate(worksheets::frm53Ratings& form, const Rated& rated,
          const std::function<void(grid::Grid&, int row, int rating)>& enter)
{
    const auto found = form.lstObjectives()->findItems(QString("    ") + rated.criterion, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << rated.criterion;
    ClickItem(form.lstObjectives(), form.lstObjectives()->row(found[0]));
    ASSERT_EQ(form.lblCriterion()->text(), rated.criterion);
    grid::Grid& g = *form.Grid1();
    for (int o = 0; o < 5; ++o) {
        const int row = OutcomeRow(g, kOutcomes[o].letter, kOutcomes[o].outcome);
        ASSERT_GT(row, 0) << kOutcomes[o].letter << " " << kOutcomes[o].outcome;
        enter(g, row, rated.ratings[o]);
        EXPECT_EQ(g.text(row, 3), QString::number(rated.ratings[o])) << rated.criterion << " " << o;
    }
}

// A priority typed into its cell of the Prioritize worksheet, ended with Enter.
void TypePriority(grid::Grid& g, const QString& name, const QString& priority)
{
    const int row = RowOf(g, name);
    ASSERT_GT(row, 0) << name.toStdString();
    ClickCell(g, row, worksheets::frm34Prioritize::ColPriority);
    ASSERT_TRUE(g.isEditing()) << name.toStdString();
    QTest::keyClicks(QApplication::focusWidget(), priority);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_EQ(g.text(row, worksheets::frm34Prioritize::ColPriority), priority) << name.toStdString();
}

class AnalysisEndToEnd : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        // A program folder of its own: the template and the sample Prep files beside the program.
        const QString bin = QCoreApplication::applicationDirPath();
        ASSERT_TRUE(QFile::copy(core::JoinPath(bin, "TLM.new"), dir.filePath("TLM.new")));
        ASSERT_TRUE(QDir(dir.path()).mkdir("Costs"));
        for (const QString& name : QDir(core::JoinPath(bin, "Costs")).entryList({"*.fcd"}))
            ASSERT_TRUE(QFile::copy(core::JoinPath(core::JoinPath(bin, "Costs"), name),
                                    dir.filePath("Costs/" + name)));
        core::SetAppPath(dir.path());
        shell::RegisterWorksheetForms();
        window = std::make_unique<shell::frm0_Tolmar>();
        window->resize(1200, 860);
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }

    void TearDown() override
    {
        reports::UnloadPreviewWindow();
        window.reset();
        if (core::gFileOpen())
            core::CloseDatafile();
        shell::ClearCollections();
        worksheets::gCurrentWorksheetID.clear();
        worksheets::gCurrentSection = 1;
        core::SetAppPath(QString());
    }

    // The worksheet of a section, reached through the Section and Worksheet menus.
    template <class Form> Form* Go(int section, int worksheet)
    {
        window->sectionItem(section)->trigger();
        window->tabItem(worksheet)->trigger();
        auto* form = dynamic_cast<Form*>(shell::CurrentWorksheetForm());
        EXPECT_NE(form, nullptr) << "section " << section << " worksheet " << worksheet;
        return form;
    }

    void Keep(const QString& name)
    {
        QApplication::processEvents();
        testsupport::KeepPicture(*window, name);
    }

    // The Comparison Matrix of the analysis against the figures worked by hand.
    void CheckMatrix(const QString& picture)
    {
        using worksheets::comparison_complexity::frm64Matrix;
        auto* form = Go<frm64Matrix>(6, 4);
        ASSERT_NE(form, nullptr);
        grid::Grid& g = *form->Grid1();
        ASSERT_EQ(g.cols(), frm64Matrix::Column(3, 4) + 1);
        ASSERT_EQ(g.rows(), form->safetyRow() + 3);
        // Neighbouring alternatives' cells differ by a leading blank, so compare trimmed.
        const auto cell = [&g](int row, int a, int o) { return g.text(row, frm64Matrix::Column(a, o)).trimmed(); };
        const int creek = RowOf(g, "Keep fire out of Cedar Creek");
        const int homes = RowOf(g, "No homes lost");
        const int snags = RowOf(g, "Snags along the ridge road");
        const int rocks = RowOf(g, "Rolling rocks");
        ASSERT_TRUE(creek > 0 && homes > 0 && snags > 0 && rocks > 0);
        EXPECT_EQ(g.text(creek, 1), "0.60");
        EXPECT_EQ(g.text(homes, 1), "0.40");
        EXPECT_EQ(g.text(snags, 1), "0.67");
        EXPECT_EQ(g.text(rocks, 1), "0.33");
        for (int a = 1; a <= 3; ++a) {
            const Expected& e = kExpected[a - 1];
            SCOPED_TRACE(e.label);
            EXPECT_EQ(cell(frm64Matrix::Heading, a, 1), e.heading);
            for (int o = 1; o <= 4; ++o) {
                EXPECT_EQ(cell(frm64Matrix::TargetCost, a, o), e.targetCost);
                EXPECT_EQ(cell(frm64Matrix::ExpectedCost, a, o), e.expectedCost);
                EXPECT_EQ(cell(frm64Matrix::Protection, a, o), e.protection);
                EXPECT_EQ(cell(frm64Matrix::ResourceLoss, a, o), e.nvcLoss);
                EXPECT_EQ(cell(frm64Matrix::FinancialTotal, a, o), e.financial);
            }
            for (int o = 1; o <= 3; ++o)
                EXPECT_EQ(cell(frm64Matrix::Probabilities, a, o), e.percents[o - 1]) << o;
            const struct {
                int row;
                const char* const* scores;
            } scoreRows[] = {{frm64Matrix::ObjectivesScore, e.objectives}, {creek, e.creek}, {homes, e.homes},
                             {form->safetyRow(), e.safety}, {snags, e.snags}, {rocks, e.rocks}};
            for (const auto& r : scoreRows)
                for (int o = 1; o <= 4; ++o)
                    EXPECT_EQ(cell(r.row, a, o), r.scores[o - 1]) << g.text(r.row, 0).toStdString() << " " << o;
        }
        Keep(picture);
    }

    // The report of every section as an RTF file, converted by LibreOffice to PDF and read back
    // page by page.
    void CheckRtfInWordProcessor()
    {
        const QString rtf = dir.filePath("Cedar Ridge.rtf");
        ASSERT_TRUE(reports::RunReport(printing::Output::Rtf, rtf));
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_TRUE(prompter.messages()[0].text.endsWith(QDir::toNativeSeparators(rtf))) << "where the report went";
        prompter.clear();
        const QString soffice = QStandardPaths::findExecutable("soffice");
        ASSERT_FALSE(soffice.isEmpty()) << "LibreOffice is not installed: run scripts/deps.sh";
        // A profile of its own, so that no LibreOffice the user has open is disturbed, and a
        // generous time: its first start builds the profile.
        const QString out = dir.filePath("lo");
        ASSERT_TRUE(QDir().mkpath(out));
        testsupport::RunTool(soffice, {"-env:UserInstallation=" + QUrl::fromLocalFile(dir.filePath("lo-profile")).toString(),
                                       "--headless", "--norestore", "--convert-to", "pdf", "--outdir", out, rtf},
                             300000);
        const QString pdf = QDir(out).filePath("Cedar Ridge.pdf");
        ASSERT_TRUE(QFile::exists(pdf)) << "LibreOffice made no PDF of the RTF report";
        if (qEnvironmentVariableIsSet("TOLMAR_KEEP_PDF")) {
            QFile::remove(qEnvironmentVariable("TOLMAR_KEEP_PDF") + "-rtf.pdf");
            QFile::copy(pdf, qEnvironmentVariable("TOLMAR_KEEP_PDF") + "-rtf.pdf");
        }
        const QRegularExpression pagesLine("Pages:\\s+(\\d+)");
        const int pageCount = pagesLine.match(testsupport::RunTool("pdfinfo", {pdf})).captured(1).toInt();
        ASSERT_GT(pageCount, 10);
        QList<QStringList> pages;
        QStringList all;
        for (int page = 1; page <= pageCount; ++page) {
            const QString n = QString::number(page);
            pages << ReportLines(testsupport::RunTool("pdftotext", {"-layout", "-f", n, "-l", n, pdf, "-"}));
            all << pages.last();
        }
        const auto printed = [](const QStringList& lines, const QString& expected) {
            return std::any_of(lines.begin(), lines.end(), [&](const QString& line) { return line.contains(expected); });
        };
        for (const char* expected : kWordProcessorLines)
            EXPECT_TRUE(printed(all, QString::fromUtf8(expected))) << expected;
        for (const char* reason : kReasons)
            EXPECT_TRUE(printed(all, QStringLiteral("\u2022 ") + QString::fromUtf8(reason))) << reason;

        // The page of the decision tree holds the three trees; the next, the matrix, none of it.
        qsizetype tree = -1;
        for (qsizetype i = 0; i < pages.size() && tree < 0; ++i)
            if (pages[i].contains("Decision Tree"))
                tree = i;
        ASSERT_GE(tree, 0);
        for (const char* line : {"Target Outcome", "Fallback Plan", "Expected Cost: $570,000", "Expected Cost: $700,000",
                                 "Expected Cost: $430,000", "Size: 5000 acres. Control: 0 days"})
            EXPECT_TRUE(printed(pages[tree], QString::fromUtf8(line))) << line;
        ASSERT_LT(tree + 1, pages.size());
        EXPECT_TRUE(printed(pages[tree + 1], "Comparison of Alternatives"));
        EXPECT_FALSE(printed(pages[tree + 1], "Target Outcome")) << "the tree drawn over the matrix";
        EXPECT_TRUE(prompter.messages().isEmpty());
    }

    QTemporaryDir dir;
    ui::ScriptedPrompter prompter;
    std::unique_ptr<shell::frm0_Tolmar> window;
};

TEST_F(AnalysisEndToEnd, AnAnalysisEnteredThroughTheWorksheetsGivesTheFiguresWorkedByHand)
{
    // A new file from the start page.
    window->Startup(QString());
    const QString path = dir.filePath("Cedar Ridge.tlm");
    prompter.file(path);
    Click(window->startPage()->cmdNew());
    ASSERT_TRUE(core::gFileOpen());
    window->resize(1200, 860);   // the start-up puts the window at its own size

    // Setup, Import Data: the first sample file, all of its areas, its first two FMUs.
    {
        auto* form = Go<worksheets::setup_situation::frm12Import>(1, 2);
        ASSERT_NE(form, nullptr);
        form->grdFCD->setFocus();
        QTest::keyClick(form->grdFCD, Qt::Key_Down);
        ASSERT_NE(form->prepFile(), nullptr);
        ASSERT_EQ(form->prepFile()->FileName(), "Cedar Basin.fcd");
        for (int i = 0; i < form->lstRMA->count(); ++i)
            ClickItem(form->lstRMA, i);
        ASSERT_GE(form->lstFMU->count(), 2);
        EXPECT_EQ(form->lstFMU->item(0)->text(), "Lower Montane Pine-1");
        EXPECT_EQ(form->lstFMU->item(2)->text(), "Upper Montane Mixed Conifer-1");
        ClickItem(form->lstFMU, 0);
        ClickItem(form->lstFMU, 2);
        Click(form->cmdImport);
        EXPECT_EQ(form->lstFMUList->count(), 2);
        Keep("e2e-import.png");
    }

    // Situation, Values at Risk: two values, typed.
    {
        auto* form = Go<worksheets::frm24ValuesAtRisk>(2, 4);
        ASSERT_NE(form, nullptr);
        Click(form->cmdAddItem());
        Type(form->txtName(), "Pine Flats homes");
        TypeInCombo(form->cboDamage(), "400,000");
        TypeInCombo(form->cboProbability(), "50");
        Click(form->cmdAddItem());
        Type(form->txtName(), "Power line");
        TypeInCombo(form->cboDamage(), "100000");
        TypeInCombo(form->cboProbability(), "80");
        EXPECT_EQ(form->grdItems()->rows(), 3);
        Keep("e2e-valuesatrisk.png");
    }

    // Objectives, Safety Issues: two issues added on the root row, named as they come.
    {
        auto* form = Go<worksheets::ObjectiveTreeForm>(3, 2);
        ASSERT_NE(form, nullptr);
        for (const char* name : {"Snags along the ridge road", "Rolling rocks"}) {
            Click(form->cmdAdd());
            QTest::keyClicks(QApplication::focusWidget(), name);
        }
        EXPECT_EQ(form->Grid1()->rows(), 4);
    }

    // Describe Objectives: one objective in each of the first two categories.
    {
        auto* form = Go<worksheets::ObjectiveTreeForm>(3, 3);
        ASSERT_NE(form, nullptr);
        grid::Grid& g = *form->Grid1();
        ClickCell(g, RowOf(g, "Natural and Cultural Resources"), 0);
        Click(form->cmdAdd());
        QTest::keyClicks(QApplication::focusWidget(), "Keep fire out of Cedar Creek");
        ClickCell(g, RowOf(g, "Property and Improvements"), 0);
        Click(form->cmdAdd());
        QTest::keyClicks(QApplication::focusWidget(), "No homes lost");
        EXPECT_GT(RowOf(g, "No homes lost"), RowOf(g, "Property and Improvements"));
        Keep("e2e-objectives.png");
    }

    // Prioritize Objectives: priorities typed into their cells. The objectives weigh 6 and 4
    // (0.6 and 0.4); the safety issues 10 and 5 (2/3 and 1/3).
    {
        auto* form = Go<worksheets::frm34Prioritize>(3, 4);
        ASSERT_NE(form, nullptr);
        TypePriority(*form->Grid1(), "Keep fire out of Cedar Creek", "6");
        TypePriority(*form->Grid1(), "No homes lost", "4");
        TypePriority(*form->grdSafety(), "Rolling rocks", "5");
        EXPECT_EQ(form->grdSafety()->text(RowOf(*form->grdSafety(), "Snags along the ridge road"),
                                          worksheets::frm34Prioritize::ColPriority),
                  "10");
        Keep("e2e-prioritize.png");
    }

    // Alternatives, Identify Alternatives: A, B and C, each named after its letter.
    {
        auto* form = Go<worksheets::frm42Alternatives>(4, 2);
        ASSERT_NE(form, nullptr);
        for (const char* name : {"Direct attack", "Indirect line", "Confine to the basin"}) {
            Click(form->cmdAdd());
            ASSERT_EQ(QApplication::focusWidget(), form->txtLabel());
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            ASSERT_EQ(QApplication::focusWidget(), form->txtName());
            QTest::keyClicks(form->txtName(), name);
        }
        EXPECT_EQ(form->lstAlternatives()->count(), 3);
        Keep("e2e-alternatives.png");
    }

    // Outcomes: a Fallback for A, and the fire sizes (acres) of every outcome; C's Target also
    // its contain and control days, for its daily cost.
    {
        auto* form = Go<worksheets::frm43Outcomes>(4, 3);
        ASSERT_NE(form, nullptr);
        grid::Grid& g = *form->grdOutcomes();
        ASSERT_EQ(g.rows(), 5);   // header, Extreme, the three Targets
        ClickCell(g, 2, 1);       // A's Target
        Click(form->cmdFallback());
        ASSERT_EQ(g.rows(), 6);
        const struct {
            int row;
            const char* outcome;
            const char* size;
        } sizes[] = {{1, "Extreme Outcome", "5000"}, {2, "Target", "100"}, {3, "Fallback", "500"},
                     {4, "Target", "300"}, {5, "Target", "1000"}};
        for (const auto& s : sizes) {
            ClickCell(g, s.row, 1);
            EXPECT_EQ(g.text(s.row, 1), s.outcome);
            Type(form->txtSize(), s.size);
        }
        ClickCell(g, 5, 1);
        Type(form->txtContain(), "3");
        Type(form->txtControl(), "7");
        ClickCell(g, 1, 1);
        Keep("e2e-outcomes.png");
    }

    // Probabilities: the chance of each Target, and of A's Fallback once its Target has failed.
    {
        auto* form = Go<worksheets::frm44Probabilities>(4, 4);
        ASSERT_NE(form, nullptr);
        const struct {
            int alternative;
            const char* target;
            const char* fallback;
        } chances[] = {{0, "60", "50"}, {1, "70", nullptr}, {2, "80", nullptr}};
        for (const auto& c : chances) {
            ClickItem(form->lstAlternatives(), c.alternative);
            Type(form->txtSuccess(OutcomeKind::Target), c.target);
            EXPECT_EQ(form->txtSuccess(OutcomeKind::Fallback)->isVisibleTo(form), c.fallback != nullptr);
            if (c.fallback)
                Type(form->txtSuccess(OutcomeKind::Fallback), c.fallback);
        }
        ClickItem(form->lstAlternatives(), 0);
        Keep("e2e-probabilities.png");
    }

    // FMUs: A's Fallback burns 3 parts in Lower Montane Pine to 2 in Upper Montane (60 and 40 %).
    {
        auto* form = Go<worksheets::frm45FMUs>(4, 5);
        ASSERT_NE(form, nullptr);
        const int row = OutcomeRow(*form->grdOutcomes(), "A", "Fallback");
        ASSERT_GT(row, 0);
        ClickCell(*form->grdOutcomes(), row, 0);
        grid::Grid& fmus = *form->grdFMUs();
        TypeInCell(fmus, RowOf(fmus, "Lower Montane Pine-1"), 1, "3");
        TypeInCell(fmus, RowOf(fmus, "Upper Montane Mixed Conifer-1"), 1, "2");
        ClickCell(*form->grdOutcomes(), OutcomeRow(*form->grdOutcomes(), "A"), 0);
        Keep("e2e-fmus.png");
    }

    // Analysis, Safety Ratings: each outcome's bar clicked at its rating's tenth.
    //              Snags  Rocks   safety score (2/3 snags + 1/3 rocks)
    //   A Target     9      6       8
    //   A Fallback   6      3       5
    //   B Target     6      9       7
    //   C Target     3      6       4
    //   Extreme      0      3       1
    {
        auto* form = Go<worksheets::frm52SafetyRatings>(5, 2);
        ASSERT_NE(form, nullptr);
        const Rated rated[] = {{"Snags along the ridge road", {9, 6, 6, 3, 0}}, {"Rolling rocks", {6, 3, 9, 6, 3}}};
        for (const Rated& issue : rated)
            Rate(*form, issue, [](grid::Grid& g, int row, int rating) {
                // A tenth and a little: the click lands inside the tenth's pixel column.
                ClickCell(g, row, 4, rating / 10.0 + 0.01);
            });
        Keep("e2e-safetyratings.png");
    }

    // Objective Ratings: each rating typed into its cell.
    //              Creek  Homes   objectives score (0.6 creek + 0.4 homes)
    //   A Target     8     10       8.8
    //   A Fallback   5      5       5
    //   B Target     7      2       5
    //   C Target     4      9       6
    //   Extreme      0      2       0.8
    {
        auto* form = Go<worksheets::frm53Ratings>(5, 3);
        ASSERT_NE(form, nullptr);
        const Rated rated[] = {{"Keep fire out of Cedar Creek", {8, 5, 7, 4, 0}}, {"No homes lost", {10, 5, 2, 9, 2}}};
        for (const Rated& objective : rated)
            Rate(*form, objective, [](grid::Grid& g, int row, int rating) { TypeInCell(g, row, 3, QString::number(rating)); });
        Keep("e2e-objectiveratings.png");
    }

    // Values Protected: the level of each value at risk under each outcome, typed or written as
    // its label (values at risk: homes 200,000, power line 80,000).
    //   A Target    homes Yes (100%) 200,000 + line 75 % 60,000   = 260,000
    //   A Fallback  homes Partly (50%) 100,000                    = 100,000
    //   B Target    homes Partly (50%) 100,000 + line 100 % 80,000 = 180,000
    //   C Target    line Mostly (75%) 60,000                      =  60,000
    //   Extreme     none                                          =       0
    {
        auto* form = Go<worksheets::frm54ValuesProtected>(5, 4);
        ASSERT_NE(form, nullptr);
        const struct {
            OutcomeName outcome;
            const char* item;
            const char* level;
        } levels[] = {{{"A", "Target"}, "Pine Flats homes", "Yes (100%)"},
                      {{"A", "Target"}, "Power line", "75"},
                      {{"A", "Fallback"}, "Pine Flats homes", "Partly (50%)"},
                      {{"B", "Target"}, "Pine Flats homes", "50"},
                      {{"B", "Target"}, "Power line", "Yes (100%)"},
                      {{"C", "Target"}, "Power line", "Mostly (75%)"}};
        for (const auto& l : levels) {
            const int row = OutcomeRow(*form->grdOutcomes(), l.outcome.letter, l.outcome.outcome);
            ASSERT_GT(row, 0);
            ClickCell(*form->grdOutcomes(), row, 0);
            const int item = RowOf(*form->grdItems(), l.item);
            ASSERT_GT(item, 0) << l.item;
            ClickCell(*form->grdItems(), item, 0);
            ASSERT_EQ(form->pnlName()->text(), l.item);
            TypeInCombo(form->cboProbability(), l.level);
        }
        // One level chosen from the list with the keyboard instead: up from "No (0%)" past
        // "Slightly (25%)" to "Partly (50%)", C's Target homes, then back to "No (0%)".
        {
            ClickCell(*form->grdOutcomes(), OutcomeRow(*form->grdOutcomes(), "C"), 0);
            ClickCell(*form->grdItems(), RowOf(*form->grdItems(), "Pine Flats homes"), 0);
            QComboBox* level = form->cboProbability();
            ASSERT_EQ(level->currentText(), "No (0%)");
            level->setFocus();
            QTest::keyClick(level, Qt::Key_Up);
            QTest::keyClick(level, Qt::Key_Up);
            EXPECT_EQ(level->currentText(), "Partly (50%)");
            EXPECT_EQ(form->pnlProtected()->text(), "100,000");
            QTest::keyClick(level, Qt::Key_Down);
            QTest::keyClick(level, Qt::Key_Down);
            EXPECT_EQ(level->currentText(), "No (0%)");
            EXPECT_EQ(form->pnlProtected()->text(), "0");
        }
        ClickCell(*form->grdOutcomes(), OutcomeRow(*form->grdOutcomes(), "E"), 0);
        Keep("e2e-valuesprotected.png");
    }

    // Costs: each cost source once.
    //   A Target    by fire size (the source a new outcome has)
    //   A Fallback  by fire size
    //   B Target    resource list: a Type 2 Hand Crew, 2 crews for 5 shifts at $14,200
    //   C Target    daily costs: $10,000 a day for the 3 days to contain, $2,000 a day for the
    //               4 more days to control
    //   Extreme     the cost typed in: $2,000,000
    {
        auto* form = Go<worksheets::frm56_CostSummary>(5, 6);
        ASSERT_NE(form, nullptr);
        grid::Grid& g = *form->grdOutcomes;
        ClickCell(g, OutcomeRow(g, "B"), 0);
        testsupport::WithDialog<worksheets::frm562SRUseList>(form->cmdSRUse, [](worksheets::frm562SRUseList& d) {
            const auto found = d.lstSRMaster->findItems("Type 2 Hand Crew", Qt::MatchContains);
            ASSERT_EQ(found.size(), 1);
            QTest::mouseClick(d.lstSRMaster->viewport(), Qt::LeftButton, {}, d.lstSRMaster->visualItemRect(found[0]).center());
            grid::Grid& lines = *d.grdSRList;
            ASSERT_EQ(lines.rows(), 2);
            ASSERT_TRUE(lines.isEditing());   // the new line's quantity, open for typing
            QTest::keyClicks(Editor(lines), "2");
            QTest::keyClick(Editor(lines), Qt::Key_Return);
            TypeInCell(lines, 1, worksheets::frm562SRUseList::Time, "5");
            EXPECT_EQ(lines.text(1, worksheets::frm562SRUseList::Qty), "2");
            EXPECT_EQ(lines.text(1, worksheets::frm562SRUseList::Time), "5");
            EXPECT_EQ(d.pnlCost->text(), "$142,000");
            testsupport::KeepPicture(d, "e2e-sruse.png");
        });
        Click(form->optSRUse);
        EXPECT_TRUE(form->optSRUse->isChecked());

        ClickCell(g, OutcomeRow(g, "C"), 0);
        testsupport::WithDialog<worksheets::frm563DailyCost>(form->cmdDaily, [](worksheets::frm563DailyCost& d) {
            Type(d.txtContain, "10000");
            Type(d.txtControl, "2000");
            EXPECT_EQ(d.lblTotalCost->text(), "38,000");
            testsupport::KeepPicture(d, "e2e-daily.png");
        });
        Click(form->optDaily);

        ClickCell(g, OutcomeRow(g, "E"), 0);
        Type(form->txtAdjustedCost, "2,000,000");
        EXPECT_TRUE(form->optAdjust->isChecked());
        ClickCell(g, OutcomeRow(g, "A"), 0);
        EXPECT_TRUE(form->optSize->isChecked());
        Keep("e2e-costs.png");
    }

    // Comparison, Matrix.
    CheckMatrix("e2e-matrix.png");


    // Decision: the least-cost alternative named, and C chosen by typing its letter in the list;
    // the rationale typed with a bulleted list of reasons.
    {
        auto* form = Go<worksheets::comparison_complexity::frm65Decision>(6, 5);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->lblLeastCost()->text(), "C. Confine to the basin");
        QComboBox* choice = form->cboAlternatives();
        choice->setFocus();
        QTest::keyClick(choice, Qt::Key_C);
        EXPECT_TRUE(choice->currentText().startsWith("C.")) << choice->currentText().toStdString();
        ClickItem(form->lstTopics(), 1);
        richtext::RichTextEditor* body = form->topic()->bodyEditor();
        QWidget* text = body->textEdit();
        text->setFocus();
        QTest::keyClicks(text, kRationale);
        QTest::keyClick(text, Qt::Key_Return);
        QAction* bullets = nullptr;
        for (QAction* a : body->buttonBar()->actions())
            if (a->text() == "Bullets")
                bullets = a;
        ASSERT_NE(bullets, nullptr);
        bullets->trigger();
        for (const char* reason : kReasons) {
            if (reason != kReasons[0])
                QTest::keyClick(text, Qt::Key_Return);
            QTest::keyClicks(text, reason);
        }
        Keep("e2e-decision.png");
    }

    // Report, Preview and Print: every section chosen and previewed. The program prints to paper or
    // to RTF; the same run of the same choice goes to a PDF here, to read its text back.
    const QString pdf = dir.filePath("Cedar Ridge.pdf");
    {
        auto* form = Go<worksheets::report::frm83Reports>(7, 3);
        ASSERT_NE(form, nullptr);
        QPushButton* selectAll = nullptr;
        QPushButton* preview = nullptr;
        for (QPushButton* b : form->findChildren<QPushButton*>()) {
            if (b->text() == "Select All")
                selectAll = b;
            if (b->text() == "Pre&view")
                preview = b;
        }
        ASSERT_TRUE(selectAll && preview);
        Click(selectAll);
        for (int i = 1; i <= reports::kSectionCount; ++i)
            EXPECT_TRUE(form->chkSection(i)->isChecked()) << i;
        Click(preview);
        EXPECT_EQ(reports::LastSelection().count, reports::kSectionCount);
        EXPECT_TRUE(reports::PreviewWindow().isVisible());
        reports::PreviewWindow().close();
        ASSERT_TRUE(reports::RunReport(printing::Output::Pdf, pdf));
        if (qEnvironmentVariableIsSet("TOLMAR_KEEP_PDF")) {
            QFile::remove(qEnvironmentVariable("TOLMAR_KEEP_PDF"));
            QFile::copy(pdf, qEnvironmentVariable("TOLMAR_KEEP_PDF"));
        }
    }
    const QString text = testsupport::RunTool("pdftotext", {"-layout", pdf, "-"});
    ASSERT_FALSE(text.isEmpty());
    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_PDF")) {
        QFile out(qEnvironmentVariable("TOLMAR_KEEP_PDF") + ".txt");
        if (out.open(QIODevice::WriteOnly))
            out.write(text.toUtf8());
    }

    // The report's lines, blanks closed up, held against the same figures.
    const QStringList lines = ReportLines(text);
    const auto printed = [&lines](const QString& expected) {
        for (const QString& line : lines)
            if (line.contains(expected))
                return true;
        return false;
    };
    for (const char* expected : kReportLines)
        EXPECT_TRUE(printed(QString::fromUtf8(expected))) << expected;
    // The alternative chosen on the Decision worksheet, under its heading.
    const qsizetype selected = lines.indexOf("Selected Alternative");
    ASSERT_GE(selected, 0);
    EXPECT_EQ(lines.value(selected + 1), "C. Confine to the basin");

    EXPECT_TRUE(prompter.messages().isEmpty());

    // The same report as an RTF file, as a word processor lays it out (LibreOffice, converting to
    // PDF): every section's figures, the rationale's bullets, and the decision tree on its own
    // page, not over the matrix.
    CheckRtfInWordProcessor();

    // The program closed and started again on the file: every figure was stored on the way.
    window->close();
    window.reset();
    ASSERT_FALSE(core::gFileOpen());
    shell::ClearCollections();
    window = std::make_unique<shell::frm0_Tolmar>();
    window->show();
    window->Startup(path);
    ASSERT_TRUE(core::gFileOpen());
    window->resize(1200, 860);
    CheckMatrix("e2e-matrix-reopened.png");
    EXPECT_TRUE(prompter.messages().isEmpty());
}

} // namespace
