#pragma once

#include "worksheets/common/modaldialog.h"

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace worksheets {

class frm15SRMaster;
class NumberBox;

// The Add Suppression Resource dialog of the Suppression Resource List: collects one new type,
// stores it and puts it into the worksheet's list at the position asked for. The worksheet
// writes the proposed position into txtPosition before showing it. It closes with OK or Cancel
// (Escape) in place of a Close button, and stores nothing when it closes: OK stores at once.
class frm15zSRMAdd : public ModalDialog {
    Q_OBJECT
public:
    frm15zSRMAdd(frm15SRMaster& master, QWidget* parent = nullptr);

    QLineEdit* txtResourceName;
    QLineEdit* txtShortName;
    QLineEdit* txtUnits;
    QLineEdit* txtCost;
    QLineEdit* txtPosition;
    QRadioButton* optTime;
    QRadioButton* optItem;
    QPushButton* cmdOK;
    QPushButton* cmdCancel;

    void cmdOK_Click();
    void cmdCancel_Click();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void EnableOK();
    void BindNumberBoxes();

    frm15SRMaster& mMaster;
    NumberBox* mCostNumber = nullptr;
    NumberBox* mPositionNumber = nullptr;
    double mCost = 0;     // the cost typed, to the cent
    int mPosition = 0;    // the position asked for, held to the list's places
};

} // namespace worksheets
