#include "reports/sections/sections.h"
#include "reports/sections/comparisongroups.h"
#include "reports/sections/decisiontree.h"

#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g34nvcresources.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "platform/grid/numberformat.h"
#include "reports/frmpreview.h"
#include "reports/pagefurniture.h"
#include "reports/printsettings.h"

#include <algorithm>
#include <iterator>
#include <limits>

using model::OutcomeKind;
// The decision tree of every alternative, stacked down the pages: the strategy with its expected
// values, the branches with their chances to the Target, the Fallback plan and the Extreme outcome,
// the facts of each outcome and the basis of the chances.
namespace reports::sections {

namespace {

constexpr int kTreesTop = 1440;
constexpr int kBasisWidth = 3100;
constexpr int kFactsFontSize = 9;
// Facts too wide for the room beside them are set smaller, down to this size, before they wrap.
constexpr double kSmallestFacts = 7;
// Where what stands right of a text in the tree begins: the chances of the branches (boxes 600
// wide centred on 3920 and 7520, at 1350 and 1150 below the tree's top), the basis beside a tree
// without a Fallback, the right margin.
constexpr int kStrategyChances = 3620;
constexpr int kFallbackChances = 7220;
constexpr int kBasisLeft = 8100;
constexpr int kRightMargin = 11520;
// Room left under a basis that ran on to a page of its own, as under a long one beside a Fallback.
constexpr int kBasisGap = 650;
const QString kLineBreak = QStringLiteral("\r\n");

void PrintBox(double size, printing::Align align, int left, int top, int width, const QString& text)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetFontSize(size);
    vp.SetTextAlign(align);
    vp.TextBox(text, left, top, width, 0);
}

void PrintTreeTitle(int left, int top, const QString& text)
{
    PrintBox(10, printing::Align::LeftMiddle, left, top, 3600, text);
}

// The largest size from size down to smallest (in half points) at which every line of text
// stands on one line in room; smallest when none does.
double FittingSize(const QString& text, int room, double size, double smallest)
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    vp.SetTextAlign(printing::Align::LeftMiddle);
    vp.SetFontSize(size);
    const QStringList lines = text.split(kLineBreak);
    const auto fits = [&] {
        const int oneLine = vp.MeasureTextBox(QStringLiteral("X"), room);
        return std::all_of(lines.begin(), lines.end(),
                           [&](const QString& line) { return vp.MeasureTextBox(line, room) <= oneLine; });
    };
    while (size > smallest && !fits())
        vp.SetFontSize(size -= 0.5);
    PopPrintSettings();
    return size;
}

// What stands in the tree on the right of a text: where it begins, and the heights it takes (all
// of them when none are given).
struct Neighbour {
    int left;
    int top = std::numeric_limits<int>::min();
    int bottom = std::numeric_limits<int>::max();
};

int LineHeight(double size)
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    vp.SetFontSize(size);
    const int height = vp.MeasureTextBox(QStringLiteral("X"), 3600);
    PopPrintSettings();
    return height;
}

// Facts of the tree, set smaller when a line beside their neighbour on the right (a large amount
// beside a branch's chance) would run into it.
void PrintTreeText(int left, int top, const Neighbour& right, const QString& text)
{
    const int width = std::min(3600, kRightMargin - left);
    const int room = std::min(width, right.left - left);
    // A smaller size moves the lines up: those beside the neighbour at either end of the sizes count.
    const QStringList lines = text.split(kLineBreak);
    QStringList beside;
    const int heights[] = {LineHeight(kFactsFontSize), LineHeight(kSmallestFacts)};
    for (qsizetype i = 0; i < lines.size(); ++i)
        if (std::any_of(std::begin(heights), std::end(heights), [&](int h) {
                return top + i * h < right.bottom && top + (i + 1) * h > right.top;
            }))
            beside << lines[i];
    PrintBox(FittingSize(beside.join(kLineBreak), room, kFactsFontSize, kSmallestFacts), printing::Align::LeftMiddle,
             left, top, width, text);
}

void PrintBasisText(int left, int top, const QString& text)
{
    PrintBox(kFactsFontSize, printing::Align::LeftMiddle, left, top, kBasisWidth, text);
}

void PrintBranchProbability(int left, int top, int percent)
{
    PrintBox(kFactsFontSize, printing::Align::RightMiddle, left - 300, top, 600, QString::number(percent) + u'%');
}

void DrawOutcomeBox(int left, int top, const Neighbour& right, model::c53Outcome& outcome)
{
    QStringList lines{QStringLiteral("Size:  ") + outcome.FireSize() + QStringLiteral(" acres.  ") +
                          QStringLiteral("Control: ") + QString::number(outcome.ControlTime()) + QStringLiteral(" days"),
                      QStringLiteral("Objectives Score:  ") + Score(outcome.TotalScore()),
                      QStringLiteral("Safety Score:  ") + Score(outcome.SafetyScore()),
                      QStringLiteral("Estimated Cost:  ") + Money(outcome.EstimatedCost()),
                      QStringLiteral("Values Protected:  ") + Money(outcome.ValueProtected())};
    if (!model::bNVCTableEmpty())
        lines << QStringLiteral("Estimated NVC Loss:  ") + Money(outcome.NVCLoss());
    PrintTreeText(left, top, right, lines.join(kLineBreak));
}

// A leaf of the tree: its title above a rule, its facts below.
void DrawOutcome(const QString& title, int left, int y, const Neighbour& right, model::c53Outcome& outcome)
{
    PrintTreeTitle(left + 25, y - 250, title);
    RtfLineShape(left, y, left + 3100, y);
    VSPrinter1().SetFontSize(kFactsFontSize);
    DrawOutcomeBox(left + 75, y, right, outcome);
}

void DrawStrategyNode(model::c51Alternative& alternative, int y)
{
    // The label stands on one line left of the chance node: a wide one (capitals, other scripts)
    // wrapped onto the expected values below it. It is set smaller, down to 8 points, and then
    // cut further.
    constexpr int kRoom = 4020 - 745;
    QString label = alternative.Label().left(35);
    const double size = FittingSize(label, kRoom, 10, 8);
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    vp.SetTextAlign(printing::Align::LeftMiddle);
    vp.SetFontSize(size);
    const int oneLine = vp.MeasureTextBox(QStringLiteral("X"), kRoom);
    while (label.size() > 1 && vp.MeasureTextBox(label, kRoom) > oneLine)
        label.chop(1);
    PopPrintSettings();
    PrintBox(size, printing::Align::LeftMiddle, 745, y + 800, 3600, label);
    RtfLineShape(720, y + 1050, 4020, y + 1050);
}

void DrawStrategySummary(model::c51Alternative& alternative, int y)
{
    QString text = QStringLiteral("Expected Objectives Score:  ") + Score(alternative.ExpectedScore()) + kLineBreak +
                   QStringLiteral("Expected Safety Score:  ") + Score(alternative.ExpectedSafetyScore()) + kLineBreak +
                   QStringLiteral("Expected Cost: ") + Money(alternative.ExpectedCost()) + kLineBreak +
                   QStringLiteral("Values Protected: ") + Money(alternative.ExpectedProtection()) + kLineBreak;
    if (!model::bNVCTableEmpty())
        text += QStringLiteral("Expected NVC Loss: ") + Money(alternative.ExpectedNVCLoss());
    PrintTreeText(795, y + 1050, {kStrategyChances, y + 1350, y + 1350 + LineHeight(kFactsFontSize)}, text);
}

// Two branches from a chance node at (x, nodeY) to the ends at upperY and lowerY, x + 500.
void DrawBranches(int x, int nodeY, int upperY, int upperLabel, int lowerY, int lowerLabel, int upperPercent)
{
    RtfLineShape(x, nodeY, x + 500, upperY);
    PrintBranchProbability(x - 100, upperLabel, upperPercent);
    RtfLineShape(x, nodeY, x + 500, lowerY);
    PrintBranchProbability(x - 100, lowerLabel, 100 - upperPercent);
}

// The basis of the chances: one box without a Fallback, two beside each other with one.
struct BasisBox {
    int left;
    int offset;   // below the tree top
    QString text;
};

QList<BasisBox> BasisBoxes(model::c51Alternative& alternative)
{
    const QString strategy = alternative.Outcome(OutcomeKind::Target)->SuccessRationale();
    const auto fallback = alternative.Outcome(OutcomeKind::Fallback);
    const QString caption = QStringLiteral("Basis for probabilities for ");
    if (!fallback->bShow()) {
        if (strategy.isEmpty())
            return {};
        return {{8100, 0, caption + QStringLiteral("strategy") + kLineBreak + strategy}};
    }
    if (strategy.isEmpty() && fallback->SuccessRationale().isEmpty())
        return {};
    return {{1500, 2350, caption + QStringLiteral("strategy") + kLineBreak + strategy},
            {4900, 2350, caption + QStringLiteral("fallback") + kLineBreak + fallback->SuccessRationale()}};
}

int MeasureBasis(const QString& text)
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    vp.SetFontSize(kFactsFontSize);
    const int height = vp.MeasureTextBox(text, kBasisWidth);
    PopPrintSettings();
    return height;
}

// The longest head of the text that fits in the room, cut after a word (or, when not even one word
// fits and force is set, after a character); the rest goes to tail.
QString HeadThatFits(const QString& text, int room, bool force, QString* tail)
{
    QList<qsizetype> cuts;
    for (qsizetype i = 0; i < text.size(); ++i)
        if (text.at(i).isSpace())
            cuts.append(i);
    cuts.append(text.size());
    const auto fitting = [&text, room](const QList<qsizetype>& at) {
        qsizetype lo = 0, hi = at.size();   // the first lo cuts fit
        while (lo < hi) {
            const qsizetype mid = (lo + hi + 1) / 2;
            if (MeasureBasis(text.left(at.at(mid - 1))) <= room)
                lo = mid;
            else
                hi = mid - 1;
        }
        return lo == 0 ? qsizetype(0) : at.at(lo - 1);
    };
    qsizetype at = fitting(cuts);
    if (at == 0 && force) {
        QList<qsizetype> characters;
        for (qsizetype i = 1; i <= text.size(); ++i)
            characters.append(i);
        at = std::max<qsizetype>(1, fitting(characters));
    }
    *tail = text.mid(at).trimmed();
    return text.left(at);
}

// Prints the basis boxes from their places in the tree; a basis that would pass the foot of the
// page goes on at the top of the next. Returns the bottom of the tree.
int PrintBasis(const QList<BasisBox>& boxes, int y, int treeBottom)
{
    printing::ReportDocument& vp = VSPrinter1();
    QStringList texts;
    int top = y;
    bool runsOn = false;
    for (const BasisBox& box : boxes) {
        texts << box.text;
        top = y + box.offset;
        runsOn = runsOn || top + MeasureBasis(box.text) > vp.BottomLimit();
    }
    if (!runsOn) {
        for (const BasisBox& box : boxes)
            PrintBasisText(box.left, y + box.offset, box.text);
        return treeBottom;
    }
    int bottom = top;
    while (true) {
        bool more = false;
        bottom = top;
        for (qsizetype k = 0; k < boxes.size(); ++k) {
            QString tail;
            const QString head = HeadThatFits(texts[k], vp.BottomLimit() - top, top == kTreesTop, &tail);
            if (!head.isEmpty())
                PrintBasisText(boxes[k].left, top, head);
            bottom = std::max(bottom, top + MeasureBasis(head));
            texts[k] = tail;
            more = more || !tail.isEmpty();
        }
        if (!more)
            break;
        vp.NewPage();
        top = kTreesTop;
    }
    return bottom + kBasisGap;
}

}  // namespace

int TreeHeight(model::c51Alternative& alternative)
{
    const auto fallback = alternative.Outcome(OutcomeKind::Fallback);
    if (!fallback->bShow()) {
        const int m = MeasureBasis(kLineBreak + alternative.Outcome(OutcomeKind::Target)->SuccessRationale());
        return m >= 3501 ? m : 3500;
    }
    const int m = std::max(MeasureBasis(kLineBreak + alternative.Outcome(OutcomeKind::Target)->SuccessRationale()),
                           MeasureBasis(kLineBreak + fallback->SuccessRationale()));
    return m > 1000 ? m + 3000 : 4000;
}

int DrawDecisionTree(model::c51Alternative& alternative, int y)
{
    printing::ReportDocument& vp = VSPrinter1();
    vp.SetFontSize(10);
    vp.SetFontBold(false);
    DrawStrategyNode(alternative, y);
    DrawStrategySummary(alternative, y);
    const auto target = alternative.Outcome(OutcomeKind::Target);
    DrawBranches(4020, y + 1050, y + 250, y + 500, y + 1850, y + 1350, target->Success());
    const auto fallback = alternative.Outcome(OutcomeKind::Fallback);
    const Neighbour targetRight = fallback->bShow() ? Neighbour{kFallbackChances, y + 1150, y + 1150 + LineHeight(kFactsFontSize)}
                                                    : Neighbour{kBasisLeft};
    DrawOutcome(QStringLiteral("Target Outcome"), 4520, y + 250, targetRight, *target);
    if (fallback->bShow()) {
        PrintTreeTitle(4545, y + 1600, QStringLiteral("Fallback Plan"));
        RtfLineShape(4520, y + 1850, 7620, y + 1850);
        DrawBranches(7620, y + 1850, y + 900, y + 1150, y + 2500, y + 2100, fallback->Success());
        DrawOutcome(QStringLiteral("Fallback Outcome"), 8120, y + 900, {kRightMargin}, *fallback);
        DrawOutcome(QStringLiteral("Extreme Outcome"), 8120, y + 2500, {kRightMargin}, *model::GetExtremeOutcome());
    } else {
        DrawOutcome(QStringLiteral("Extreme Outcome"), 4520, y + 1850, {kBasisLeft}, *model::GetExtremeOutcome());
    }
    return PrintBasis(BasisBoxes(alternative), y, y + TreeHeight(alternative));
}

void PrintDecisionTree()
{
    printing::ReportDocument& vp = VSPrinter1();
    PushPrintSettings();
    SetPageHeaderFooter();
    PrintSectionTitle(QStringLiteral("Decision Tree"));
    model::AlternativeCollection& alternatives = model::GetAlternatives();
    int y = kTreesTop;
    for (int i = 0; i < alternatives.Count(); ++i) {
        // A tree that would end below an inch above the foot of the page starts the next page; the
        // first tree of a page stays, whatever its height.
        if (y > kTreesTop && y + TreeHeight(*alternatives.At(i)) > vp.PageHeight() - 1440) {
            vp.NewPage();
            y = kTreesTop;
        }
        y = DrawDecisionTree(*alternatives.At(i), y);
    }
    PopPrintSettings();
}

}  // namespace reports::sections
