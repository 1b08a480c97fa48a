#pragma once

#include "worksheets/common/namelabel.h"
#include "worksheets/common/worksheetform.h"

#include <vector>

class QGroupBox;
class QLabel;
class QListWidget;
class QPlainTextEdit;

namespace grid {
class Grid;
}
namespace model {
class c41Objective;
class c62Rating;
}
namespace richtext {
class RichTextEditor;
}

namespace worksheets {

class BarDrag;
class ItemList;

// Rates every outcome against one criterion at a time, 0 (worst) to 10 (best), by typing
// the rating or dragging its bar, with a note per rating. One class serves the safety
// issues and the prioritized objectives; frm52SafetyRatings is its safety configuration.
// A rating is stored when another row or criterion is chosen and when the worksheet is left.
class frm53Ratings : public WorksheetForm {
    Q_OBJECT
public:
    enum class Criteria { SafetyIssues, Objectives };

    explicit frm53Ratings(QWidget* parent = nullptr) : frm53Ratings(Criteria::Objectives, parent) {}
    ~frm53Ratings() override;

    void Setup() override;
    void SaveChanges() override;
    void GetRatingsForCriterion(int criterionKey);

    // The controls and the state shown, for tests.
    QListWidget* lstObjectives() const { return mListWidget; }
    grid::Grid* Grid1() const { return mGrid; }
    QLabel* lblCriterion() const { return mCriterionLabel; }
    QLabel* lblOutcome() const { return mOutcomeLabel; }
    richtext::RichTextEditor* txtDescription() const { return mDescription; }
    QPlainTextEdit* txtRating() const { return mRatingNote; }
    model::c62Rating* currentRating() const { return mCurrent; }
    model::c41Objective* currentCriterion() const { return mCriterion; }

protected:
    frm53Ratings(Criteria criteria, QWidget* parent);
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool safety() const { return mCriteria == Criteria::SafetyIssues; }
    model::c41Objective* lookup(int key) const;
    bool isHeading(const model::c41Objective& node) const;
    bool isHeadingAt(int index) const;

    void SetupGrid();
    void FitBarColumn();
    void LoadCriteria();
    void NewRatingArray();
    void DisableRatingControls();
    void ShowCurrentRating(const QString& separator);
    void SetRatingFromFraction(int row, double fraction);
    void ShowRating(int row, float rating);

    void lstObjectives_Click();
    void ShowChosenCriterion(int index);
    void Grid1_EnterCell();
    void Grid1_BeforeEdit(int row, int col, bool& cancel);
    void Grid1_KeyPressEdit(int row, int col, int& code);
    void Grid1_ChangeEdit();
    void Grid1_AfterEdit(int row, int col);
    void Grid1_EditCancelled(int row, int col);
    void txtRating_Change();

    Criteria mCriteria;
    QGroupBox* mListPanel = nullptr;
    QListWidget* mListWidget = nullptr;
    ItemList* mList = nullptr;
    grid::Grid* mGrid = nullptr;
    BarDrag* mBar = nullptr;
    NameLabel* mCriterionLabel = nullptr;
    NameLabel* mOutcomeLabel = nullptr;
    richtext::RichTextEditor* mDescription = nullptr;
    QPlainTextEdit* mRatingNote = nullptr;

    // One rating per outcome row, element r for grid row r (element 0 unused).
    std::vector<model::c62Rating> mRatings;
    model::c41Objective* mCriterion = nullptr;
    model::c62Rating* mCurrent = nullptr;
    float mRatingBeforeEdit = 0;   // the rating of the cell being edited, put back when a text is refused
    // The list was moved upwards by a key: a heading reached so gives way to the criterion
    // above it, so the keyboard can go back up past it.
    bool mListMovingUp = false;
};

class frm52SafetyRatings : public frm53Ratings {
    Q_OBJECT
public:
    explicit frm52SafetyRatings(QWidget* parent = nullptr) : frm53Ratings(Criteria::SafetyIssues, parent) {}
};

} // namespace worksheets
