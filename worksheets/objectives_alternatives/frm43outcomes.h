#pragma once

#include "worksheets/common/worksheetform.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace grid {
class Grid;
}
namespace model {
class c53Outcome;
}

namespace worksheets {

class NumberBox;
class TopicEditor;

// The largest fire size the outcome's single-precision column holds to the acre (2^24).
inline constexpr double kLargestFireSize = 16777216.0;

// Outcomes: each alternative's Target and optional Fallback, and the Extreme outcome they all
// share, with a description, the final fire size and the days to containment and control.
// The Fallback of an alternative is switched on and off here. Edits go into the outcome
// shown; it is written when another row is chosen and when the worksheet is left.
class frm43Outcomes : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm43Outcomes(QWidget* parent = nullptr);
    ~frm43Outcomes() override;

    void Setup() override;
    void SaveChanges() override;

    grid::Grid* grdOutcomes() const { return mGrid; }
    QLineEdit* txtSize() const { return mSize; }
    QLineEdit* txtContain() const { return mContain; }
    QLineEdit* txtControl() const { return mControl; }
    TopicEditor* topic() const { return mTopic; }
    QPushButton* cmdFallback() const { return mFallback; }
    model::c53Outcome* current() const { return mCurrent; }

    void cmdFallback_Click();

private:
    void SetInstructions();
    void ShowOutcomeGrid();
    void ShowOutcome();
    // Makes row r the current row and its outcome the one shown, whether or not the grid
    // raised its row change (a refill may already have put the current row there).
    void SelectOutcomeRow(int r);
    void grdOutcomes_EnterCell();
    void BindNumberBoxes();
    void txtBody_Change(const QString& rtf);
    int CurrentRow() const;
    void ShowInCurrentRow(int col, const QString& text);

    QLabel* mInstructions = nullptr;
    grid::Grid* mGrid = nullptr;
    QWidget* mDetails = nullptr;
    QLineEdit* mSize = nullptr;
    QLineEdit* mContain = nullptr;
    QLineEdit* mControl = nullptr;
    TopicEditor* mTopic = nullptr;
    QPushButton* mFallback = nullptr;
    model::c53Outcome* mCurrent = nullptr;
    NumberBox* mSizeNumber = nullptr;
    NumberBox* mContainNumber = nullptr;
    NumberBox* mControlNumber = nullptr;
    bool mKeyboardMove = false;    // the grid's row is being moved with the keyboard
};

} // namespace worksheets
