#include "worksheets/comparison_complexity/frm63decisiontree.h"

#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g34nvcresources.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "platform/canvas/canvas.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/guard.h"
#include "platform/ui/screen.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/wrappedlist.h"
#include "worksheets/comparison_complexity/noalternatives.h"

#include <QComboBox>
#include <QLabel>

#include <algorithm>

using model::OutcomeKind;
namespace worksheets::comparison_complexity {

namespace {

void Place(QWidget* w, int left, int top, int width, int height)
{
    w->setGeometry(ui::TwipsToPixels(left), ui::TwipsToPixels(top), ui::TwipsToPixels(width),
                   ui::TwipsToPixels(height));
}

QString Money(double v) { return grid::FormatNumber(v, QStringLiteral("$#,0")); }
QString Score(double v) { return grid::FormatNumber(v, QStringLiteral("0.0")); }

// A branch's chance as the model weighs it: a stored value outside 0 to 100 counts as its
// nearer end, so the two branches of a node always add up to 100%.
int Chance(const model::c53Outcome& outcome) { return std::clamp(outcome.Success(), 0, 100); }
QString Percent(int value) { return QString::number(value) + QLatin1Char('%'); }

constexpr int kPictureTop[2] = {360, 4020};
constexpr int kCaptionTop[2] = {120, 3780};
// Where the percentages of the first chance node begin: the alternative's name ends before them.
constexpr int kLabelRight = 2960;
constexpr int kPictureWidth = 10215;
constexpr int kPictureHeight = 3315;
// The Target's lines begin at kTargetX; the Fallback's chance node stands at kFallbackNodeX, its
// percentages just left of it, its outcomes' lines begin at kFallbackX.
constexpr int kTargetX = 3620;
constexpr int kFallbackNodeX = 6210;
constexpr int kFallbackX = 6770;

} // namespace

frm63DecisionTree::frm63DecisionTree(QWidget* parent) : WorksheetForm(QStringLiteral("frm63DecisionTree"), parent)
{
    for (int i = 0; i < 2; ++i) {
        Label1[i] = new QLabel(tr("Select Alternative to display"), this);
        Label1[i]->setObjectName(QStringLiteral("Label1(%1)").arg(i + 1));
        mPicture[i] = new canvas::Canvas(this);
        mPicture[i]->setObjectName(QStringLiteral("picDecisionTree(%1)").arg(i + 1));
        mPicture[i]->setBackColor(Qt::white);
        QFont f = mPicture[i]->font();
        f.setPixelSize(11);   // six lines of an outcome 180 twips (12 pixels) apart
        mPicture[i]->setFont(f);
        // A little wider than the lines need, so that the longest outcome line ("Size: ...
        // acres. Control: ... days") is not cut at the right edge in the screen's font.
        Place(mPicture[i], 1080, kPictureTop[i], kPictureWidth, kPictureHeight);
        Place(Label1[i], 1140, kCaptionTop[i], 4000, 240);
        mCombo[i] = new LongChoiceBox(mPicture[i]);
        mCombo[i]->setObjectName(QStringLiteral("cboAlternative(%1)").arg(i + 1));
        mPicture[i]->placeWidget(mCombo[i], 60, 60, 2232, ui::PixelsToTwips(mCombo[i]->sizeHint().height()));
        mList[i] = new ItemList(mCombo[i]);
        connect(mList[i], &ItemList::click, this, ui::Guarded([this, i] { cboAlternative_Click(i + 1); }));
    }
    mEmpty = new QLabel(NoAlternativesText(), mPicture[0]);
    mEmpty->setObjectName(QStringLiteral("lblNoAlternatives"));
    mEmpty->setWordWrap(true);
    mPicture[0]->placeWidget(mEmpty, 120, 730, 9300, 900);
    mEmpty->hide();
}

void frm63DecisionTree::Setup()
{
    BeginSetup(QStringLiteral("frm63DecisionTree.Setup"));
    core::BusyScope busy;
    mNVCShown = !model::bNVCTableEmpty();
    mPicture[0]->clear();
    FillAlternativeList(*mList[0]);
    const int count = mList[0]->count();
    if (count > 0)
        mList[0]->setListIndex(0);
    mEmpty->setVisible(count == 0);
    mCombo[0]->setEnabled(count > 0);
    if (count >= 2) {
        FillAlternativeList(*mList[1]);
        mList[1]->setListIndex(1);
    } else {
        mList[1]->clear();
    }
    mPicture[1]->setVisible(count >= 2);
    Label1[1]->setVisible(count >= 2);
}

// Runs while busy too: Setup draws both pictures by choosing their first entries.
void frm63DecisionTree::cboAlternative_Click(int index)
{
    auto alt = model::GetAlternative(mList[index - 1]->currentKey());
    if (alt)
        DrawDecisionTree(*alt, *mPicture[index - 1]);
}

void frm63DecisionTree::DrawDecisionTree(model::c51Alternative& alt, canvas::Canvas& pic)
{
    pic.clear();
    MakeRoom(alt, pic);
    DrawAlternativeNode(alt, pic);
    DrawAlternativeSummary(alt, pic);
    DrawOutcomeBranches(alt, pic);
    DrawTargetOutcome(alt, pic);
    auto fallback = alt.Outcome(OutcomeKind::Fallback);
    if (fallback && fallback->bShow()) {
        DrawFallbackPlan(pic);
        DrawFallbackBranches(alt, pic);
        DrawFallbackOutcome(alt, pic);
        DrawFallbackExtremeOutcome(pic);
    } else {
        DrawExtremeOutcome(pic);
    }
}

void frm63DecisionTree::DrawAlternativeNode(model::c51Alternative& alt, canvas::Canvas& pic)
{
    // A wide name (capitals, other scripts) ran across the chance node and the Target's facts: it
    // is cut where the branch percentages begin.
    QString label = alt.Label().left(35);
    while (label.size() > 1 && pic.textWidth(label) > kLabelRight - 120)
        label.chop(1);
    pic.drawText(120, 730, label);
    pic.drawLine(60, 930, 3060, 930);
}

void frm63DecisionTree::DrawAlternativeSummary(model::c51Alternative& alt, canvas::Canvas& pic)
{
    pic.drawText(120, 930, QStringLiteral("Expected Objectives Score:  ") + Score(alt.ExpectedScore()));
    pic.drawText(120, 1130, QStringLiteral("Expected Safety Score:  ") + Score(alt.ExpectedSafetyScore()));
    pic.drawText(120, 1330, QStringLiteral("Expected Cost:  ") + Money(alt.ExpectedCost()));
    pic.drawText(120, 1530, QStringLiteral("Values Protected:  ") + Money(alt.ExpectedProtection()));
    if (mNVCShown)
        pic.drawText(120, 1730, QStringLiteral("Expected NVC Loss:  ") + Money(alt.ExpectedNVCLoss()));
}

void frm63DecisionTree::DrawOutcomeBranches(model::c51Alternative& alt, canvas::Canvas& pic)
{
    DrawChanceNode(pic, Chance(*alt.Outcome(OutcomeKind::Target)), {3060, 930}, {3560, 240}, {3560, 1620}, 420, 1150);
}

void frm63DecisionTree::DrawTargetOutcome(model::c51Alternative& alt, canvas::Canvas& pic)
{
    DrawOutcomeLeaf(pic, QStringLiteral("Target Outcome"), *alt.Outcome(OutcomeKind::Target), kTargetX, 240);
}

void frm63DecisionTree::DrawFallbackPlan(canvas::Canvas& pic)
{
    pic.drawText(kTargetX, 1420, QStringLiteral("Fallback Plan"));
    pic.drawLine(3560, 1620, kFallbackNodeX + mShift, 1620);
}

void frm63DecisionTree::DrawFallbackBranches(model::c51Alternative& alt, canvas::Canvas& pic)
{
    const int x = kFallbackNodeX + mShift;
    DrawChanceNode(pic, Chance(*alt.Outcome(OutcomeKind::Fallback)), {x, 1620}, {x + 500, 770}, {x + 500, 2150}, 950, 1870);
}

void frm63DecisionTree::DrawFallbackOutcome(model::c51Alternative& alt, canvas::Canvas& pic)
{
    DrawOutcomeLeaf(pic, QStringLiteral("Fallback Outcome"), *alt.Outcome(OutcomeKind::Fallback), kFallbackX + mShift, 770);
}

void frm63DecisionTree::DrawFallbackExtremeOutcome(canvas::Canvas& pic)
{
    DrawOutcomeLeaf(pic, QStringLiteral("Extreme Outcome"), *model::GetExtremeOutcome(), kFallbackX + mShift, 2150);
}

void frm63DecisionTree::DrawExtremeOutcome(canvas::Canvas& pic)
{
    DrawOutcomeLeaf(pic, QStringLiteral("Extreme Outcome"), *model::GetExtremeOutcome(), kTargetX, 1620);
}

// A chance node: two branches from the node, the upper one's chance above it and the rest
// beside the lower one, just left of the branches' ends.
void frm63DecisionTree::DrawChanceNode(canvas::Canvas& pic, int upperChance, QPoint node, QPoint upper, QPoint lower,
                                       int upperTextY, int lowerTextY)
{
    pic.drawText(node.x() - 100, upperTextY, Percent(upperChance));
    pic.drawText(node.x() - 100, lowerTextY, Percent(100 - upperChance));
    pic.drawLine(node.x(), node.y(), upper.x(), upper.y());
    pic.drawLine(node.x(), node.y(), lower.x(), lower.y());
}

// An outcome at the end of a branch: its caption above a line 2650 twips long, its figures
// below the line; (x, y) is where the figures start.
void frm63DecisionTree::DrawOutcomeLeaf(canvas::Canvas& pic, const QString& caption, model::c53Outcome& outcome,
                                        int x, int y)
{
    pic.drawText(x, y - 200, caption);
    pic.drawLine(x - 60, y, x + 2590, y);
    DrawOutcomeText(outcome, pic, x, y);
}

void frm63DecisionTree::DrawOutcomeText(model::c53Outcome& outcome, canvas::Canvas& pic, int x, int y)
{
    const QStringList lines = OutcomeLines(outcome);
    for (int i = 0; i < lines.size(); ++i)
        pic.drawText(x, y + 180 * i, lines[i]);
}

QStringList frm63DecisionTree::OutcomeLines(model::c53Outcome& outcome) const
{
    QStringList lines{QStringLiteral("Size:  ") + outcome.FireSize() + QStringLiteral(" acres. Control: ") +
                          QString::number(outcome.ControlTime()) + QStringLiteral(" days"),
                      QStringLiteral("Objectives Score:  ") + Score(outcome.TotalScore()),
                      QStringLiteral("Safety Score:  ") + Score(outcome.SafetyScore()),
                      QStringLiteral("Estimated Cost:  ") + Money(outcome.EstimatedCost()),
                      QStringLiteral("Values Protected:  ") + Money(outcome.ValueProtected())};
    if (mNVCShown)
        lines << QStringLiteral("Estimated NVC Loss:  ") + Money(outcome.NVCLoss());
    return lines;
}

// Large amounts make the Target's lines beside the Fallback's chance node (its cost, protection
// and loss, from the height of the upper branch's end down) longer than their place: they would
// run under the node's percentages and across its branches.
void frm63DecisionTree::MakeRoom(model::c51Alternative& alt, canvas::Canvas& pic)
{
    const auto widest = [&pic](const QStringList& lines) {
        int twips = 0;
        for (const QString& line : lines)
            twips = std::max(twips, pic.textWidth(line));
        return twips;
    };
    mShift = 0;
    int right = kPictureWidth;
    auto fallback = alt.Outcome(OutcomeKind::Fallback);
    if (fallback && fallback->bShow()) {
        const int gap = 60;   // between a line's end and the percentages, which start 100 left of the node
        const QStringList besideNode = OutcomeLines(*alt.Outcome(OutcomeKind::Target)).mid(3);
        mShift = std::max(0, kTargetX + widest(besideNode) + gap - (kFallbackNodeX - 100));
        const int far = std::max(widest(OutcomeLines(*fallback)), widest(OutcomeLines(*model::GetExtremeOutcome())));
        right = std::max(right, kFallbackX + mShift + far + 60);
    }
    pic.resize(ui::TwipsToPixels(right), pic.height());
}

} // namespace worksheets::comparison_complexity
