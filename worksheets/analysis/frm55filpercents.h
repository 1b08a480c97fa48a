#pragma once

#include "worksheets/common/modaldialog.h"

#include <array>

class QFrame;
class QGroupBox;
class QLabel;
class QListWidget;
class QRadioButton;

namespace grid {
class Grid;
}
namespace model {
class c53Outcome;
class c64BurnArea;
}

namespace worksheets {

class BarDrag;
class ItemList;

// How the burned area of an outcome divides over the six fire intensity levels: a relative
// amount of 0 to 10 per level, set by dragging its bar. The "FIL option" says how far one set
// reaches: every outcome and FMU (1), each FMU (2), or each outcome and FMU (3). The amounts
// on screen are stored before another outcome or FMU is shown, when the option changes and
// when the dialog closes; amounts the user did not change are never written.
class frm55FILPercents : public ModalDialog {
    Q_OBJECT
public:
    explicit frm55FILPercents(QWidget* parent = nullptr);

    void Setup() override;
    void SaveChanges() override;
    void done(int result) override;

    // The stored "FIL option", 1 to 3; 1 when it is missing or not one of them.
    static int StoredFILOption();

    // The controls and the state shown, for tests.
    grid::Grid* grdFILs() const { return mFILs; }
    grid::Grid* grdOutcomes() const { return mOutcomes; }
    QListWidget* lstFMUs() const { return mFMUList; }
    QGroupBox* pnlFMUs() const { return mFMUPanel; }
    QFrame* pnlFILs() const { return mFILPanel; }
    QRadioButton* optFIL(int index) const { return mOptions.at(index - 1); }
    int filOption() const { return mOption; }
    int amount(int fil) const { return mAmounts.at(fil - 1); }
    model::c53Outcome* currentOutcome() const { return mOutcome; }
    int currentFMUKey() const { return mFMUKey; }

protected:
    void cmdClose_Click() override;

private:
    void SetupFILGrids();
    // Checks the option in force, raising nothing.
    void ShowOption();
    void ArrangeForFILOption();
    void LoadFILPortions();
    void ShowFILPercents();
    void SetFILPortionFromFraction(int row, double fraction);
    // Stores the amounts in every burn area the option covers; only what differs is written.
    void StoreForOption(int option);
    // Whether a burn area the option covers holds other amounts than those on screen.
    bool OverwritesOtherAmounts(int option);
    // Asks whether the amounts shown go over those the option's burn areas hold of their own.
    bool ConfirmOverwrite(int option);
    // The burn areas one set of amounts covers under the option.
    QList<model::c64BurnArea*> AreasFor(int option);

    void optFIL_Click(int index);
    void grdOutcomes_EnterCell();
    void lstFMUs_Click();

    QLabel* mInstructions = nullptr;
    std::array<QRadioButton*, 3> mOptions{};
    QFrame* mFILPanel = nullptr;
    grid::Grid* mFILs = nullptr;
    grid::Grid* mOutcomes = nullptr;
    QGroupBox* mFMUPanel = nullptr;
    QListWidget* mFMUList = nullptr;
    ItemList* mFMUs = nullptr;
    BarDrag* mBar = nullptr;

    model::c53Outcome* mOutcome = nullptr;
    int mFMUKey = 0;
    int mOption = 1;
    std::array<int, 6> mAmounts{};
    // The amounts as they were shown or last stored: while the screen shows them, there is
    // nothing to store.
    std::array<int, 6> mLoaded{};
    // The user agreed, as the dialog closes, that the amounts shown go to every burn area.
    bool mSpread = false;
};

} // namespace worksheets
