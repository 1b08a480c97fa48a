#pragma once

#include "worksheets/common/worksheetform.h"

#include <QPoint>

#include <array>

class QComboBox;
class QLabel;

namespace canvas {
class Canvas;
}
namespace model {
class c51Alternative;
class c53Outcome;
}

namespace worksheets {
class ItemList;
}

namespace worksheets::comparison_complexity {

// Decision Tree: two drawings, one above the other, each of the alternative chosen in its
// own list: the alternative with its expected values, a chance node to the Target outcome
// or, failing that, to the Fallback plan (a second chance node between the Fallback and the
// Extreme outcome) or straight to the Extreme outcome, each branch with its probability and
// each outcome with its size, time, scores and money. Read-only; it stores nothing.
class frm63DecisionTree : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm63DecisionTree(QWidget* parent = nullptr);

    void Setup() override;

    // Drawing 1 or 2 and its list.
    canvas::Canvas* picDecisionTree(int index) const { return mPicture.at(index - 1); }
    QComboBox* cboAlternative(int index) const { return mCombo.at(index - 1); }
    QLabel* lblNoAlternatives() const { return mEmpty; }

private:
    void cboAlternative_Click(int index);
    void DrawDecisionTree(model::c51Alternative& alt, canvas::Canvas& pic);
    void DrawAlternativeNode(model::c51Alternative& alt, canvas::Canvas& pic);
    void DrawAlternativeSummary(model::c51Alternative& alt, canvas::Canvas& pic);
    void DrawOutcomeBranches(model::c51Alternative& alt, canvas::Canvas& pic);
    void DrawTargetOutcome(model::c51Alternative& alt, canvas::Canvas& pic);
    void DrawFallbackPlan(canvas::Canvas& pic);
    void DrawFallbackBranches(model::c51Alternative& alt, canvas::Canvas& pic);
    void DrawFallbackOutcome(model::c51Alternative& alt, canvas::Canvas& pic);
    void DrawExtremeOutcome(canvas::Canvas& pic);
    void DrawFallbackExtremeOutcome(canvas::Canvas& pic);
    void DrawOutcomeText(model::c53Outcome& outcome, canvas::Canvas& pic, int x, int y);
    QStringList OutcomeLines(model::c53Outcome& outcome) const;
    // Moves the Fallback's side of the drawing right as far as the Target's lines need, and
    // widens the picture to the Fallback's lines.
    void MakeRoom(model::c51Alternative& alt, canvas::Canvas& pic);
    void DrawChanceNode(canvas::Canvas& pic, int upperChance, QPoint node, QPoint upper, QPoint lower, int upperTextY,
                        int lowerTextY);
    void DrawOutcomeLeaf(canvas::Canvas& pic, const QString& caption, model::c53Outcome& outcome, int x, int y);

    std::array<QLabel*, 2> Label1{};
    std::array<canvas::Canvas*, 2> mPicture{};
    std::array<QComboBox*, 2> mCombo{};
    std::array<ItemList*, 2> mList{};
    QLabel* mEmpty = nullptr;
    bool mNVCShown = true;
    int mShift = 0;   // twips the Fallback's side of the drawing stands right of its place
};

} // namespace worksheets::comparison_complexity
