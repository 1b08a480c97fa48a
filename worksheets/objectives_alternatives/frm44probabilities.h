#pragma once

#include "model/outcomekind.h"
#include "worksheets/common/namelabel.h"
#include "worksheets/common/worksheetform.h"

#include <array>
#include <memory>

class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;

namespace canvas {
class Canvas;
}
namespace model {
class c51Alternative;
class c53Outcome;
}

namespace worksheets {

class ItemList;
class NumberBox;

// Probabilities: for one alternative at a time, the outcome tree (Target, the Fallback when
// the alternative has one, the shared Extreme outcome) with the chance that the Target holds
// and, failing it, that the Fallback does; beside each its complement, and below a rationale
// for each. The Extreme outcome takes the rest.
class frm44Probabilities : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm44Probabilities(QWidget* parent = nullptr);
    ~frm44Probabilities() override;

    void Setup() override;
    void SaveChanges() override;
    // Draws the tree for the current alternative, with or without its Fallback branch.
    void PositionOutcomes();

    QListWidget* lstAlternatives() const { return mListWidget; }
    QLabel* lblAlternative() const { return mAlternative; }
    canvas::Canvas* tree() const { return mTree; }
    // The boxes of the Target or the Fallback; null for the Extreme, which takes the rest.
    QLineEdit* txtSuccess(model::OutcomeKind kind) const { return ByKind(kind, mSuccess1, mSuccess2); }
    QLabel* lblFailure(model::OutcomeKind kind) const { return ByKind(kind, mFailure1, mFailure2); }
    QPlainTextEdit* txtRationale(model::OutcomeKind kind) const { return ByKind(kind, mRationale1, mRationale2); }
    QLabel* lblInstructions() const { return mInstructions; }
    QLabel* lblDiscuss() const { return mDiscuss; }
    model::c51Alternative* current() const { return mCurrent.get(); }

private:
    template <class W>
    static W* ByKind(model::OutcomeKind kind, W* target, W* fallback)
    {
        switch (kind) {
        case model::OutcomeKind::Target: return target;
        case model::OutcomeKind::Fallback: return fallback;
        case model::OutcomeKind::Extreme: break;
        }
        return nullptr;
    }

    void lstAlternatives_Click();
    void ShowAlternative();
    void ShowOutcomes();
    void ShowNoAlternative();
    void DrawOutcomeBox(int x, int y, const QString& title, const QColor& fill, model::c53Outcome* outcome);
    void DrawBranchCaption(int x, int branchY, const QString& caption);
    void txtSuccess_Change(model::OutcomeKind n, double value);
    void Success_Set(model::OutcomeKind n, double value);
    void TakeSuccess(model::OutcomeKind n);
    void txtRationale_Change(model::OutcomeKind n);
    model::c53Outcome* Outcome(model::OutcomeKind n) const;
    bool FallbackShown() const;

    QListWidget* mListWidget = nullptr;
    ItemList* mList = nullptr;
    NameLabel* mAlternative = nullptr;
    canvas::Canvas* mTree = nullptr;
    QLineEdit* mSuccess1 = nullptr;
    QLineEdit* mSuccess2 = nullptr;
    std::array<NumberBox*, 2> mSuccessNumber{};
    QLabel* mFailure1 = nullptr;
    QLabel* mFailure2 = nullptr;
    QLabel* mInstructions = nullptr;
    QLabel* mDiscuss = nullptr;
    QPlainTextEdit* mRationale1 = nullptr;
    QLabel* mRationale2Caption = nullptr;
    QPlainTextEdit* mRationale2 = nullptr;
    QWidget* mRationale2Panel = nullptr;
    std::shared_ptr<model::c51Alternative> mCurrent;
};

} // namespace worksheets
