#include "reports/sections/sections.h"
#include "reports/sections/comparisongroups.h"

#include "model/c41objective.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g34nvcresources.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/textnumbers.h"
#include "platform/grid/numberformat.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

#include <algorithm>
#include <functional>

using model::OutcomeKind;
// The comparison matrix: a page for every group of up to three alternatives with their money
// figures, scores and outcome probabilities, and the ratings of every objective and safety issue
// in each outcome. Every row is a table of its own, printed from its format string.
namespace reports::sections {

namespace {

const QString kMoneyRow = QStringLiteral("3600!|^2100!|^2100!|^2100;");

// "|cell" for each alternative of the group.
QString PerAlternative(int first, int last, const std::function<QString(model::c51Alternative&)>& cell)
{
    QString cells;
    model::AlternativeCollection& alternatives = model::GetAlternatives();
    for (int i = first; i <= last && i <= alternatives.Count(); ++i)
        cells += u'|' + cell(*alternatives.At(i - 1));
    return cells;
}

// Three copies of one alternative's columns, parted by rules, closing a format.
QString ThreeGroups(const QString& group)
{
    return QStringList{group, group, group}.join(u'!') + u';';
}

QString RatingCells(model::c51Alternative& alternative, const std::function<float(model::c53Outcome&)>& rating,
                    float expected)
{
    const auto target = alternative.Outcome(OutcomeKind::Target);
    const auto fallback = alternative.Outcome(OutcomeKind::Fallback);
    return model::textnum::SingleText(rating(*target)) + u'|' +
           (fallback->bShow() ? model::textnum::SingleText(rating(*fallback)) : QString()) + u'|' +
           model::textnum::SingleText(rating(*model::GetExtremeOutcome())) + u'|' + Score(expected);
}

// Indent, name and weight, then Target, Fallback, Extreme and the expected value of each alternative.
const QString kRatedRow = QStringLiteral("250|2750|>600!") + ThreeGroups(QStringLiteral("|>450|>450|>450|>750"));

void PrintFinancialMatrix(int first, int last)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.SetFontSize(10);
    vp.SetFontBold(true);
    // A group whose objectives and safety issues run on over the page end names its
    // alternatives again at the top of the next page.
    vp.HeadingRows(QStringLiteral("3600!|<6300;|Alternatives;"));
    vp.HeadingRows(kMoneyRow + PerAlternative(first, last, [](model::c51Alternative& a) { return printing::TableText(a.Label()); }) + u';');
    vp.SetTableLineStyle(printing::LineStyle::RuleAbove);
    vp.SetFontBold(false);
    const struct {
        const char* caption;
        std::function<double(model::c51Alternative&)> value;
        bool shown;
    } rows[] = {
        {"Estimated Target Suppression Cost", [](model::c51Alternative& a) { return double(a.EstimatedCost()); }, true},
        {"Expected Suppression Cost", [](model::c51Alternative& a) { return double(a.ExpectedCost()); }, true},
        {"Expected Values Protected", [](model::c51Alternative& a) { return a.ExpectedProtection(); }, true},
        {"Expected Resource Loss", [](model::c51Alternative& a) { return double(a.ExpectedNVCLoss()); },
         !model::bNVCTableEmpty()},
    };
    for (const auto& row : rows) {
        if (!row.shown)
            continue;
        vp.TableRows(kMoneyRow + QString::fromLatin1(row.caption) +
                     PerAlternative(first, last, [&row](model::c51Alternative& a) { return Money(row.value(a)); }) + u';');
    }
    vp.SetFontBold(true);
    vp.TableRows(kMoneyRow + QStringLiteral("Total Expected Financial Impact") +
                 PerAlternative(first, last, [](model::c51Alternative& a) {
                     return Money(a.ExpectedProtection() - a.ExpectedNVCLoss() - a.ExpectedCost());
                 }) + QStringLiteral(";|||;"));
}

void PrintScoreAndProbabilities(int first, int last)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.TableRows(kMoneyRow + QStringLiteral("Expected Objectives Score") +
                 PerAlternative(first, last, [](model::c51Alternative& a) { return Score(a.ExpectedScore()); }) +
                 QStringLiteral(";|||;"));
    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.TableRows(QStringLiteral("3600!|2100!|2100!|2100;") +
                 PerAlternative(first, last, [](model::c51Alternative&) { return QStringLiteral(" Outcomes"); }) + u';');
    vp.TableRows(QStringLiteral("3600!|>2100!|>2100!|>2100;") +
                 PerAlternative(first, last, [](model::c51Alternative& a) { return QStringLiteral("Alt. ") + printing::TableText(a.ItemName()); }) +
                 u';');
    vp.TableRows(QStringLiteral("3600!") + ThreeGroups(QStringLiteral("|^450|^450|^480|720")) +
                 PerAlternative(first, last, [](model::c51Alternative&) {
                     return model::OutcomeShortLabel(OutcomeKind::Target) + u'|'
                            + model::OutcomeShortLabel(OutcomeKind::Fallback) + u'|'
                            + model::OutcomeShortLabel(OutcomeKind::Extreme) + u'|';
                 }) + u';');
    vp.SetFontBold(false);
    vp.TableRows(QStringLiteral(">3600!") + ThreeGroups(QStringLiteral("|>450|>450|>480|720")) +
                 QStringLiteral("Probability (%)") +
                 PerAlternative(first, last, [](model::c51Alternative& a) {
                     QString cells;
                     for (const OutcomeKind kind : model::kOutcomeKinds)
                         cells += QString::number(a.OutcomePercent(kind)) + u'|';
                     return cells;
                 }) + u';');
}

void PrintRatedRow(int first, int last, const model::c41Objective& node, bool rated,
                   const std::function<float(model::c53Outcome&)>& rating,
                   const std::function<float(model::c51Alternative&)>& expected)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetTableLineStyle(printing::LineStyle::None);
    vp.SetFontBold(false);
    QString row = kRatedRow + u'|' + printing::TableText(node.ItemName()) + u'|' + grid::FormatNumber(node.Weight(), QStringLiteral("0.00"));
    if (rated)
        row += PerAlternative(first, last, [&](model::c51Alternative& a) { return RatingCells(a, rating, expected(a)); });
    vp.TableRows(row + u';');
}

void PrintObjectivesMatrix(int first, int last)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetFontBold(true);
    vp.TableRows(QStringLiteral("3000|^600!|>2100!|>2100!|>2100;Objective|Wgt||;"));
    const QList<model::c41Objective*> nodes = model::GetPrioritizedObjectives();
    for (qsizetype k = 1; k < nodes.size(); ++k) {
        const model::c41Objective& node = *nodes.at(k);
        if (node.bCategory()) {
            vp.SetTableLineStyle(printing::LineStyle::RulesAboveAndBelow);
            vp.SetFontBold(true);
            vp.TableRows(QStringLiteral("3000|600!|>2100!|>2100!|>2100;") + printing::TableText(node.ItemName()) + QStringLiteral("|;"));
            continue;
        }
        const int key = node.ItemKey();
        PrintRatedRow(first, last, node, node.bObjective(), [key](model::c53Outcome& o) { return o.RawObjScore(key); },
                      [key](model::c51Alternative& a) { return a.ExpectedRawObjScore(key); });
    }
}

void PrintSafetyMatrix(int first, int last)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetFontBold(true);
    vp.TableRows(QStringLiteral("3000|^600!|>2100!|>2100!|>2100;|||;"));
    vp.TableRows(kMoneyRow + QStringLiteral("Expected Safety Score") +
                 PerAlternative(first, last, [](model::c51Alternative& a) { return Score(a.ExpectedSafetyScore()); }) +
                 QStringLiteral(";|||;"));
    const QList<model::c41Objective*>& nodes = model::SafetyIssuesCollection();
    for (qsizetype k = 1; k < nodes.size(); ++k) {
        const model::c41Objective& node = *nodes.at(k);
        const int key = node.ItemKey();
        PrintRatedRow(first, last, node, node.bSafetyIssue(), [key](model::c53Outcome& o) { return o.RawSafetyScore(key); },
                      [key](model::c51Alternative& a) { return a.ExpectedRawSafetyScore(key); });
    }
}

void PrintMatrixPage(int first, int last)
{
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Comparison of Alternatives"));
    PrintFinancialMatrix(first, last);
    PrintScoreAndProbabilities(first, last);
    PrintObjectivesMatrix(first, last);
    PrintSafetyMatrix(first, last);
}

}  // namespace

void PrintMatrix()
{
    PushPrintSettings();
    ForEachGroupOfThree(&PrintMatrixPage);
    PopPrintSettings();
}

}  // namespace reports::sections
