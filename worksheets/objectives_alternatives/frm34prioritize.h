#pragma once

#include "worksheets/common/worksheetform.h"

#include <QString>

namespace grid {
class Grid;
}
namespace model {
class c41Objective;
}

namespace worksheets {

// Prioritize Objectives: a priority from 0 (low) to 10 (high) for every safety issue and every
// objective, typed into the priority cell or set by pressing and dragging across the bar
// beside it, with each node's share of its grid's priorities as a percentage. The two grids
// work alike; each keeps the node last entered, and both are stored before either grid moves
// on to another node.
class frm34Prioritize : public WorksheetForm {
    Q_OBJECT
public:
    explicit frm34Prioritize(QWidget* parent = nullptr);
    ~frm34Prioritize() override;

    void Setup() override;
    void SaveChanges() override;

    grid::Grid* grdSafety() const { return mSafety.grid; }
    grid::Grid* Grid1() const { return mObjectives.grid; }
    model::c41Objective* currentSafetyIssue() const { return mSafety.current; }
    model::c41Objective* currentObjective() const { return mObjectives.current; }

    enum Column { ColName, ColPriority, ColBar, ColPercent, ColCount };

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct PriorityGrid {
        grid::Grid* grid = nullptr;
        model::c41Objective* current = nullptr;
        bool (*isMember)(const model::c41Objective&) = nullptr;
        bool (*isGroup)(const model::c41Objective&) = nullptr;
        QString name;
        // The priority a typed edit started from, put back when the edit is cancelled.
        int priorityBeforeEdit = -1;
    };

    void SetupPriorityGrid(PriorityGrid& g, const QString& header);
    void ShowPriorities(PriorityGrid& g, bool showsRoot);
    void ShowPercents(PriorityGrid& g);
    void SetPriorityFromMouse(PriorityGrid& g, int row, double fraction);
    void ConnectGrid(PriorityGrid& g);
    void fitNameColumn(PriorityGrid& g, int gridWidth);
    model::c41Objective* memberAt(const PriorityGrid& g, int row) const;
    void showPriority(PriorityGrid& g, int row, int priority);
    void saveBoth();

    void EnterCell(PriorityGrid& g);
    void BeforeEdit(PriorityGrid& g, int row, int col, bool& cancel);
    void KeyPressEdit(int& code);
    void ChangeEdit(PriorityGrid& g);
    void AfterEdit(PriorityGrid& g, int row, int col);
    void EditCancelled(PriorityGrid& g, int row);
    void MouseDown(PriorityGrid& g);

    PriorityGrid mSafety;
    PriorityGrid mObjectives;
};

} // namespace worksheets
