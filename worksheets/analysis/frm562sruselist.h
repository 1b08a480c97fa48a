#pragma once

#include "worksheets/common/modaldialog.h"

#include <QList>

#include <memory>

class QLabel;
class QListWidget;
class QPushButton;
class QStackedWidget;

namespace grid {
class Grid;
}
namespace model {
class c53Outcome;
class c68SRUse;
}
namespace tabs {
class IndexTab;
}

namespace worksheets {

class ItemList;

// The cost of an outcome from a list of suppression resources: each line a resource type of
// the unit's list, a quantity and, for resources paid by time, a number of periods. Lines are
// added from the resource list or copied from another outcome's list; additions, copies,
// deletions and moves are stored at once, typed quantities and periods when the cell or row
// is left. The lines keep the order shown, stored as positions 1 to n.
class frm562SRUseList : public ModalDialog {
    Q_OBJECT
public:
    // Opens on startOutcome's row (the first row when it is not listed).
    explicit frm562SRUseList(model::c53Outcome* startOutcome, QWidget* parent = nullptr);
    ~frm562SRUseList() override;

    void Setup() override;
    void SaveChanges() override;
    void SetupOutcomeGrids();
    // Closing also drops the outcome's loaded lines, so the worksheet reads the stored ones.
    void done(int result) override;

    model::c53Outcome* currentOutcome() const { return mCurrent; }
    model::c68SRUse* currentLine() const { return mLine.get(); }
    // Used outcomes with at least one line, in alternative order (Target, then Fallback).
    QList<model::c53Outcome*> GetOutcomesWithLists() const;

    // Adds a line of the resource type chosen in lstSRMaster.
    void lstSRMaster_Click();
    void cmdCopy_Click();
    void cmdDelete_Click();

    enum ListColumn { Position = 0, Qty, Name, Time, Units, LineCost, ListColumnCount };

    grid::Grid* grdOutcomes;
    tabs::IndexTab* TabStrip1;
    QWidget* pnlTab1;
    QWidget* pnlTab2;
    QListWidget* lstSRMaster;
    grid::Grid* grdLists;
    QPushButton* cmdCopy;
    grid::Grid* grdSRList;
    QPushButton* cmdDelete;
    QLabel* pnlCost;
    QLabel* lblInstructions;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetupListGrids();
    void LoadCopyableLists();
    void ShowOutcomeCosts();
    void ShowOutcome();
    void ShowSRUseList();
    void ShowSRUseRow(model::c68SRUse& line, int row);
    void ShowRowCost(model::c68SRUse& line, int row);
    void ShowTotalCost();
    void MoveRow(int fromRow, int toRow);
    // Stores positions 1 to n in the order shown, for the lines whose stored one differs.
    void StoreShownOrder();
    void ResetNameColors();
    void DeleteSRUseRow();
    void TabStrip1_Click();
    void grdOutcomes_EnterCell();
    void grdLists_EnterCell();
    void grdSRList_EnterCell();
    void grdSRList_LeaveCell();
    void grdSRList_BeforeEdit(int row, int col, bool& cancel);
    void grdSRList_ChangeEdit();
    void grdSRList_AfterEdit(int row, int col);
    void grdSRList_EditCancelled(int row, int col);
    void grdSRList_KeyDown(int& key, int shift);
    // The typed count of a Qty or Time cell into the line; false for a text it cannot take.
    bool SetCount(model::c68SRUse& line, int col, const QString& text);
    std::shared_ptr<model::c68SRUse> LineOfRow(int row) const;

    ItemList* mTypes;
    QStackedWidget* mPages;
    model::c53Outcome* mStart;
    model::c53Outcome* mCurrent = nullptr;
    std::shared_ptr<model::c68SRUse> mLine;
    int mBeforeEdit = 0;
};

} // namespace worksheets
