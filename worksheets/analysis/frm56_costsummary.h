#pragma once

#include "core/costsource.h"
#include "worksheets/common/worksheetform.h"

#include <functional>
#include <memory>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace grid {
class Grid;
}
namespace label {
class FormattedLabel;
}
namespace model {
class c53Outcome;
}

namespace worksheets {

class ModalDialog;

// Analysis worksheet 6 ("tab56"): for each outcome, which of the four estimates is its
// suppression cost, and the basis of the estimate. Three estimates are worked out in the
// dialogs its buttons open, on the outcome chosen here; the fourth is an amount typed here.
// Choices and typed text go into the outcome at once; the outcome's row is written when
// another outcome is chosen and when the worksheet is left.
class frm56_CostSummary : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm56_CostSummary(QWidget* parent = nullptr);
    ~frm56_CostSummary() override;

    void Setup() override;
    void SaveChanges() override;

    model::c53Outcome* currentOutcome() const { return mCurrent; }

    void cmdSize_Click();
    void cmdSRUse_Click();
    void cmdDaily_Click();

    grid::Grid* grdOutcomes;
    QRadioButton* optSize;
    QRadioButton* optSRUse;
    QRadioButton* optDaily;
    QRadioButton* optAdjust;
    QPushButton* cmdSize;
    QPushButton* cmdSRUse;
    QPushButton* cmdDaily;
    QLabel* lblSize;
    QLabel* lblSRUse;
    QLabel* lblDaily;
    QLineEdit* txtAdjustedCost;
    // Says when the stored cost source is none of the four.
    QLabel* lblUnknownSource;
    QPlainTextEdit* txtCostRationale;
    label::FormattedLabel* FLabel1;

    enum Column { Cost = 5, ColumnCount = 6 };

private:
    void ShowCostGuidelines();
    void SetupGrid();
    void ShowEstimatedCosts();
    void ShowOutcomeCost();
    void ShowFigures();
    void grdOutcomes_EnterCell();
    void optCost_Click(int source);
    void txtAdjustedCost_Change(const QString& text);
    // Ends typing in the amount box: a text the outcome cannot keep is refused with a
    // message and the kept amount shown again. False when it was refused.
    bool CommitAdjustedCost();
    void txtCostRationale_Change();
    void AfterDialog();
    // Opens the dialog made for the outcome shown, then shows its new figures.
    using DialogMaker = std::function<std::unique_ptr<ModalDialog>(model::c53Outcome*)>;
    void OpenDialog(const DialogMaker& make);

    QButtonGroup* mOptions;
    model::c53Outcome* mCurrent = nullptr;
    // The amount box holds text the user typed that is not yet checked at its end; what the
    // outcome had before the typing began comes back when the text is refused.
    bool mAmountTyped = false;
    float mAmountBefore = 0;
    core::CostSource mSourceBefore = core::CostSource::BySize;
};

} // namespace worksheets
