#include "worksheets/comparison_complexity/frm64matrix.h"

#include "core/u91trace.h"
#include "model/c41objective.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g34nvcresources.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "worksheets/common/gridfit.h"
#include "worksheets/comparison_complexity/noalternatives.h"

#include <QLabel>
#include <QVBoxLayout>

#include <functional>

using model::OutcomeKind;
namespace worksheets::comparison_complexity {

namespace {

constexpr Qt::Alignment kLeft = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kRight = Qt::AlignRight | Qt::AlignVCenter;
constexpr Qt::Alignment kCentre = Qt::AlignCenter;

const QColor& ButtonFace()
{
    static const QColor c = grid::VbColor(0x8000000F);
    return c;
}
const QColor kLightYellow = grid::VbColor(0xE0FFFF);
const QColor kGreen = grid::VbColor(0xFF00);
const QColor kLightGreen = grid::VbColor(0xC0FFC0);

const QString kIndent = QStringLiteral("     ");

// An outcome's score as its plain number: 7.5, 8.
QString ScoreText(float score) { return QString::number(double(score), 'g', 7); }

// The rows of the trees below their roots: the prioritized objectives and the safety issues.
QList<model::c41Objective*> WithoutRoots(const QList<model::c41Objective*>& nodes)
{
    QList<model::c41Objective*> members;
    for (model::c41Objective* node : nodes)
        if (!node->bRoot() && !node->bSafetyRoot())
            members.append(node);
    return members;
}

QList<model::c41Objective*> ObjectiveMembers() { return WithoutRoots(model::GetPrioritizedObjectives()); }
QList<model::c41Objective*> SafetyMembers() { return WithoutRoots(model::SafetyIssuesCollection()); }

} // namespace

frm64Matrix::frm64Matrix(QWidget* parent) : WorksheetForm(QStringLiteral("frm64Matrix"), parent)
{
    mEmpty = new QLabel(NoAlternativesText(), this);
    mEmpty->setObjectName(QStringLiteral("lblNoAlternatives"));
    mEmpty->setWordWrap(true);
    mEmpty->hide();
    mGrid = new grid::Grid(this);
    mGrid->setObjectName(QStringLiteral("Grid1"));
    mGrid->setEditable(false);
    // The figure columns are narrow (450 twips): a small font keeps "Alt A" and the weights whole.
    QFont small = mGrid->font();
    small.setPointSizeF(7.5);
    mGrid->setFont(small);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 4, 0, 4);   // the grid ends 60 twips above the form's bottom
    layout->addWidget(mEmpty);
    layout->addWidget(mGrid, 1);
}

void frm64Matrix::Setup()
{
    BeginSetup(QStringLiteral("frm64Matrix.Setup"));
    mGrid->setRedraw(false);
    InitMatrixGrid();
    ShowFinancialRows();
    ShowOutcomeProbabilities();
    ShowObjectiveRows();
    ShowSafetyRows();
    mGrid->setRedraw(true);
    mEmpty->setVisible(mAlternatives == 0);
}

void frm64Matrix::InitMatrixGrid()
{
    mAlternatives = model::GetAlternatives().Count();
    mObjectiveRows = int(ObjectiveMembers().size());
    mSafetyRows = int(SafetyMembers().size());
    grid::Grid& g = *mGrid;
    g.setRows(1);
    g.setFixedCols(0);
    g.setFixedRows(1);
    g.setCols(4 * mAlternatives + 3);
    g.setRows(safetyRow() + 1 + mSafetyRows);
    g.setRowHeight(Heading, 660);
    g.setColWidth(0, 3000);
    for (int c = 1; c < g.cols(); ++c)
        g.setColWidth(c, 450);
    g.setColWidth(2, 24);
    for (int c = 0; c < g.cols(); ++c)
        g.setColAlignment(c, kRight);
    g.setColAlignment(0, kLeft);
    g.setColAlignment(1, kLeft);
    // A long alternative name wraps in the heading's three lines: on one line it showed only its
    // middle, without the letter that tells the alternatives apart.
    // The merged heading is drawn by its first column, whose other cells hold no blanks.
    for (int a = 1; a <= mAlternatives; ++a)
        g.setColWordWrap(Column(a, 1), true);
    // Only rows whose equal neighbours are one caption or one alternative's figure merge; the
    // scores of row 9 belong to different outcomes and stay apart even when equal.
    for (int r = Heading; r <= FinancialTotal; ++r)
        g.setMergeRow(r, true);
}

void frm64Matrix::ShowFinancialRows()
{
    grid::Grid& g = *mGrid;
    const int last = g.cols() - 1;
    g.setText(Heading, 0, QStringLiteral(" "));
    g.setText(Heading, 1, QStringLiteral(" "));
    g.setCellBackColor(Heading, 0, Heading, 1, ButtonFace());
    const bool nvcEmpty = model::bNVCTableEmpty();
    if (nvcEmpty)
        g.setRowHeight(ResourceLoss, 0);
    const char* const captions[] = {"Estimated Target Suppression Cost", "Expected Suppression Cost",
                                    "Expected Values Protected", "Expected Resource Loss",
                                    "Total Expected Financial Impact"};
    for (int r = TargetCost; r <= FinancialTotal; ++r) {
        if (r == ResourceLoss && nvcEmpty)
            continue;
        g.setText(r, 0, QString::fromLatin1(captions[r - TargetCost]));
        g.setText(r, 1, QString::fromLatin1(captions[r - TargetCost]));
    }
    const auto& alts = model::GetAlternatives();
    for (int a = 1; a <= mAlternatives; ++a) {
        model::c51Alternative& alt = *alts.At(a - 1);
        // Neighbouring alternatives differ by a leading blank, so that equal labels or amounts
        // of two alternatives stay two cells.
        const QString prefix = a % 2 == 0 ? QStringLiteral(" ") : QString();
        const double cost = alt.ExpectedCost();
        const double protection = alt.ExpectedProtection();
        const double loss = alt.ExpectedNVCLoss();
        const auto money = [&prefix](double v) { return prefix + grid::FormatNumber(v, QStringLiteral("$#,0")); };
        for (int o = 1; o <= 4; ++o) {
            const int c = Column(a, o);
            g.setText(Heading, c, prefix + alt.Label());
            g.setText(TargetCost, c, money(alt.EstimatedCost()));
            g.setText(ExpectedCost, c, money(cost));
            g.setText(Protection, c, money(protection));
            if (!nvcEmpty)
                g.setText(ResourceLoss, c, money(loss));
            g.setText(FinancialTotal, c, money(protection - loss - cost));
        }
        g.setCellAlignment(Heading, Column(a, 1), Heading, Column(a, 4), kCentre);
        g.setCellBackColor(Heading, Column(a, 1), Heading, Column(a, 4), ButtonFace());
    }
    g.setCellBackColor(TargetCost, 0, TargetCost, last, kLightYellow);
    g.setCellBackColor(FinancialTotal, 0, FinancialTotal, last, kGreen);
}

void frm64Matrix::ShowOutcomeProbabilities()
{
    grid::Grid& g = *mGrid;
    const int last = g.cols() - 1;
    g.setCellBackColor(OutcomeLabels, 0, ObjectiveCaptions, last, ButtonFace());
    g.setCellAlignment(OutcomeLabels, 1, ObjectiveCaptions, last, kCentre);
    const auto& alts = model::GetAlternatives();
    for (int a = 1; a <= mAlternatives; ++a) {
        model::c51Alternative& alt = *alts.At(a - 1);
        for (const OutcomeKind kind : model::kOutcomeKinds) {
            g.setText(OutcomeLabels, Column(a, kind), model::OutcomeShortLabel(kind));
            g.setText(Probabilities, Column(a, kind), QString::number(alt.OutcomePercent(kind)));
        }
        g.setText(OutcomeLabels, Column(a, 4), QStringLiteral("Alt ") + alt.ItemName().left(1));
        WidenColumnToTexts(g, Column(a, 4), {g.text(OutcomeLabels, Column(a, 4))});
    }
    g.setText(Probabilities, 0, QStringLiteral("Outcome Probabilities"));
    g.setCellAlignment(Probabilities, 0, Probabilities, 0, kRight);
    g.setText(ObjectiveCaptions, 0, QStringLiteral("Objective"));
    g.setText(ObjectiveCaptions, 1, QStringLiteral("Wgt"));
}

namespace {

// One score row: each alternative's Target and (when shown) Fallback, the shared Extreme
// outcome, and the alternative's expected value.
void FillScoreRow(grid::Grid& g, int row, int alternatives, const std::function<float(model::c53Outcome&)>& score,
                  const std::function<float(model::c51Alternative&)>& expected)
{
    const auto& alts = model::GetAlternatives();
    auto extreme = model::GetExtremeOutcome();
    const QString extremeText = ScoreText(score(*extreme));
    for (int a = 1; a <= alternatives; ++a) {
        model::c51Alternative& alt = *alts.At(a - 1);
        for (const OutcomeKind kind : model::kAlternativeOutcomeKinds) {
            auto outcome = alt.Outcome(kind);
            if (outcome && outcome->bShow())
                g.setText(row, frm64Matrix::Column(a, kind), ScoreText(score(*outcome)));
        }
        g.setText(row, frm64Matrix::Column(a, OutcomeKind::Extreme), extremeText);
        g.setText(row, frm64Matrix::Column(a, 4), grid::FormatNumber(expected(alt), QStringLiteral("0.0")));
    }
}

} // namespace

void frm64Matrix::ShowObjectiveRows()
{
    grid::Grid& g = *mGrid;
    const int last = g.cols() - 1;
    g.setText(ObjectivesScore, 0, QStringLiteral("Expected Objectives Score"));
    g.setCellBackColor(ObjectivesScore, 0, ObjectivesScore, last, kGreen);
    FillScoreRow(g, ObjectivesScore, mAlternatives, &model::c53Outcome::TotalScore, &model::c51Alternative::ExpectedScore);
    const auto members = ObjectiveMembers();
    for (int i = 0; i < members.size(); ++i) {
        const model::c41Objective* member = members.at(i);
        const int row = ObjectivesScore + 1 + i;
        if (member->bCategory()) {
            g.setText(row, 0, member->ItemName());
            g.setCellBackColor(row, 0, row, last, kLightGreen);
            continue;
        }
        g.setText(row, 0, kIndent + member->ItemName());
        if (member->bObjective())
            g.setText(row, 1, grid::FormatNumber(member->Weight(), QStringLiteral("fixed")));
        const int key = member->ItemKey();
        FillScoreRow(g, row, mAlternatives, [key](model::c53Outcome& o) { return o.RawObjScore(key); },
                     [key](model::c51Alternative& a) { return a.ExpectedRawObjScore(key); });
    }
}

void frm64Matrix::ShowSafetyRows()
{
    grid::Grid& g = *mGrid;
    const int last = g.cols() - 1;
    const int top = safetyRow();
    g.setText(top, 0, QStringLiteral("Expected Safety Score"));
    g.setCellBackColor(top, 0, top, last, kGreen);
    FillScoreRow(g, top, mAlternatives, &model::c53Outcome::SafetyScore, &model::c51Alternative::ExpectedSafetyScore);
    const auto members = SafetyMembers();
    for (int s = 0; s < members.size(); ++s) {
        const model::c41Objective* member = members.at(s);
        const int row = top + 1 + s;
        g.setText(row, 0, kIndent + member->ItemName());
        if (member->bSafetyIssue())
            g.setText(row, 1, grid::FormatNumber(member->Weight(), QStringLiteral("fixed")));
        const int key = member->ItemKey();
        FillScoreRow(g, row, mAlternatives, [key](model::c53Outcome& o) { return o.RawSafetyScore(key); },
                     [key](model::c51Alternative& a) { return a.ExpectedRawSafetyScore(key); });
    }
}

} // namespace worksheets::comparison_complexity
