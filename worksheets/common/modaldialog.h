#pragma once

#include <QDialog>
#include <QString>

class QPushButton;

namespace worksheets {

// The base of the cost and proportion dialogs a worksheet opens. Made, it writes the load
// trace line; shown, it is centred over the main window; closed in any way (its Close
// button, Escape, the window's close box, accept or reject) it first stores the pending
// edits through SaveChanges and then writes the unload trace line, once. The opening
// worksheet calls Setup, runs the dialog and refreshes its own figures when it returns:
//
//   frm563DailyCost dialog(outcome);
//   dialog.ShowModal();          // Setup, then exec
//   RefreshCosts();
class ModalDialog : public QDialog {
    Q_OBJECT
public:
    explicit ModalDialog(const QString& formName, QWidget* parent = nullptr);
    ~ModalDialog() override;

    // Fills the controls; called by the opening worksheet before the dialog is shown.
    virtual void Setup() {}
    // Stores the pending edits; runs as the dialog closes and cannot refuse.
    virtual void SaveChanges() {}

    // Setup, then the dialog runs modally until it is closed.
    int ShowModal();

    QString formName() const { return mFormName; }
    // The Close button; the dialog's layout places it (or hides it, on a dialog that closes
    // with buttons of its own).
    QPushButton* cmdClose() const { return mClose; }
    bool unloaded() const { return mUnloaded; }
    // Closes the dialog without storing: what it shows is no longer what the file holds (a
    // fill stopped half way), and storing it would write that over the file's rows.
    void DropUnsaved();

    void done(int result) override;

protected:
    // The Close button's click: closes the dialog. A dialog that traces the click overrides
    // it and calls this one.
    virtual void cmdClose_Click();

    void showEvent(QShowEvent* event) override;

private:
    QString mFormName;
    QPushButton* mClose = nullptr;
    bool mCentred = false;
    bool mUnloaded = false;
};

} // namespace worksheets
