#pragma once

#include <QDialog>

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace worksheets {

class frm15SRMaster;

// The Add Suppression Resource dialog of the Suppression Resource List: collects one new type,
// stores it and puts it into the worksheet's list at the position asked for. The worksheet
// writes the proposed position into txtPosition before showing it.
class frm15zSRMAdd : public QDialog {
    Q_OBJECT
public:
    frm15zSRMAdd(frm15SRMaster& master, QWidget* parent = nullptr);
    ~frm15zSRMAdd() override;

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
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void EnableOK();

    frm15SRMaster& mMaster;
    bool mCentred = false;
};

} // namespace worksheets
