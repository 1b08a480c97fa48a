#pragma once

#include "worksheets/common/modaldialog.h"

class QLabel;
class QLineEdit;

namespace grid {
class Grid;
}
namespace model {
class c53Outcome;
}

namespace worksheets {

// The cost of an outcome from two daily rates: one until the fire is contained, one from
// containment until it is controlled. Typed rates go into the outcome at once; the outcome
// is written when another outcome is chosen and when the dialog closes.
class frm563DailyCost : public ModalDialog {
    Q_OBJECT
public:
    // Opens on startOutcome's row (the first row when it is not listed).
    explicit frm563DailyCost(model::c53Outcome* startOutcome, QWidget* parent = nullptr);
    ~frm563DailyCost() override;

    void Setup() override;
    void SaveChanges() override;
    void SetupGrid();

    model::c53Outcome* currentOutcome() const { return mCurrent; }

    grid::Grid* grdOutcomes;
    QLineEdit* txtContain;
    QLabel* lblContainDays;
    QLabel* lblContainCost;
    QLineEdit* txtControl;
    QLabel* lblControlDays;
    QLabel* lblControlCost;
    QLabel* lblTotalCost;
    // Says when the control time lies before the contain time.
    QLabel* lblTimes;

    enum Column { Cost = 5 };

private:
    void ShowDailyCosts();
    void ShowOutcomeDailyCost();
    void ShowContainCost();
    void ShowControlCost();
    void ShowTotalDailyCost();
    void grdOutcomes_EnterCell();
    void txtRate_Change(QLineEdit* box);
    // A rate box whose text cannot be kept gets a message and the kept rate back.
    void CommitRates();

    model::c53Outcome* mStart;
    model::c53Outcome* mCurrent = nullptr;
    // The box being typed in, and its rate before the typing began, which comes back when the
    // text is refused.
    QLineEdit* mTyped = nullptr;
    float mRateBefore = 0;
};

} // namespace worksheets
