#include "worksheets/common/modaldialog.h"

#include "core/u91trace.h"
#include "platform/ui/lengthlimit.h"
#include "platform/ui/guard.h"
#include "worksheets/common/worksheetform.h"

#include <QPushButton>

namespace worksheets {

ModalDialog::ModalDialog(const QString& formName, QWidget* parent)
    : QDialog(parent ? parent : (MainWindow() ? MainWindow()->mainWindow() : nullptr)), mFormName(formName)
{
    setObjectName(formName);
    core::TraceLoad(mFormName);
    mClose = new QPushButton(tr("Close"), this);
    mClose->setObjectName(QStringLiteral("cmdClose"));
    mClose->setAutoDefault(false);
    connect(mClose, &QPushButton::clicked, this, ui::Guarded([this] { cmdClose_Click(); }));
}

ModalDialog::~ModalDialog()
{
    // A dialog destroyed without being closed has nothing more it can store safely here (its
    // derived part is gone); the trace still shows it left.
    if (!mUnloaded)
        core::TraceUnload(mFormName);
}

int ModalDialog::ShowModal()
{
    Setup();
    return exec();
}

void ModalDialog::cmdClose_Click() { accept(); }

void ModalDialog::DropUnsaved()
{
    if (!mUnloaded) {
        mUnloaded = true;
        core::TraceUnload(mFormName);
    }
    reject();
}

void ModalDialog::done(int result)
{
    if (!mUnloaded) {
        // A save that fails keeps the dialog open with the edits on screen. Qt closes the
        // dialog from its own key and close handlers, so the error goes no further than here.
        if (!ui::RunHandler([this] { SaveChanges(); }))
            return;
        mUnloaded = true;
        core::TraceUnload(mFormName);
    }
    QDialog::done(result);
}

void ModalDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!mCentred) {
        mCentred = true;
        CenterForm(this);
        ui::WatchLengths(this);
    }
}

} // namespace worksheets
