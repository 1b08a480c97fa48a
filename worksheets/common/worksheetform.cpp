#include "worksheets/common/worksheetform.h"

#include "core/u21display.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "platform/ui/lengthlimit.h"
#include "worksheets/common/modaldialog.h"

#include <QApplication>
#include <QHash>
#include <QScreen>

namespace worksheets {

int gCurrentSection = 1;
QString gCurrentWorksheetID;

namespace {
MainWindowHooks* gHooks = nullptr;

QHash<QString, WorksheetFactory>& Registry()
{
    static QHash<QString, WorksheetFactory> registry;
    return registry;
}
} // namespace

void SetMainWindowHooks(MainWindowHooks* hooks) { gHooks = hooks; }
MainWindowHooks* MainWindow() { return gHooks; }

void FitWorksheetForm(QWidget* form)
{
    if (gHooks)
        gHooks->FitWorksheetForm(form);
}
void SetTitleBar(const QString& text)
{
    if (gHooks)
        gHooks->SetTitleBar(text);
}
void EnableEditMenu()
{
    if (gHooks)
        gHooks->EnableEditMenu();
}
void DisableEditMenu()
{
    if (gHooks)
        gHooks->DisableEditMenu();
}
void SectionMenu_Check(int section)
{
    if (gHooks)
        gHooks->SectionMenu_Check(section);
}
void WorksheetMenu_Check(int worksheet)
{
    if (gHooks)
        gHooks->WorksheetMenu_Check(worksheet);
}

void CenterForm(QWidget* form)
{
    if (!gHooks || !gHooks->mainWindow() || !form)
        return;
    QRect placed = core::CenterForm(gHooks->mainWindow()->frameGeometry(), form->frameGeometry());
    if (const QScreen* screen = gHooks->mainWindow()->screen())
        placed = core::KeepOnScreen(placed, screen->availableGeometry());
    form->move(placed.topLeft());
}

WorksheetForm::WorksheetForm(const QString& formName, QWidget* parent)
    : QWidget(parent ? parent : (gHooks ? gHooks->worksheetParent() : nullptr)), mFormName(formName)
{
    setAutoFillBackground(true);
    core::TraceLoad(mFormName);
}

WorksheetForm::~WorksheetForm()
{
    // The boxes are torn down after the form that handles their signals is gone, and some
    // still speak then (a box with the focus finishes its edit): they speak to no one.
    DisconnectChildren(*this);
    core::TraceUnload(mFormName);
}

void DisconnectChildren(QObject& form)
{
    for (QObject* child : form.findChildren<QObject*>())
        child->disconnect(&form);
}

void WorksheetForm::BeginSetup(const QString& traceName)
{
    core::Trace(traceName);
    FitWorksheetForm(this);
    if (mPlace.editMenu)
        EnableEditMenu();
    else
        DisableEditMenu();
    WorksheetMenu_Check(mPlace.worksheetNumber);
    gCurrentWorksheetID = mPlace.id;
    ui::WatchLengths(this);
    show();
}

namespace {

// The object left was stored before the next was read, so the page can go without losing an
// edit. While a dialog is up, the failing fill is the dialog's: the worksheet under it still
// shows what the file holds.
void DropHalfShownPage()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* dialog = qobject_cast<ModalDialog*>(modal ? modal : QApplication::activeWindow())) {
        dialog->DropUnsaved();
        return;
    }
    if (!modal && gHooks)
        gHooks->DropWorksheet();
}

} // namespace

void SwitchShownObject(const std::function<void()>& save, const std::function<void()>& fetchAndDisplay)
{
    if (save)
        save();
    try {
        core::BusyScope busy;
        if (fetchAndDisplay)
            fetchAndDisplay();
    } catch (...) {
        DropHalfShownPage();
        throw;
    }
}

void RegisterWorksheetForm(const QString& id, WorksheetFactory factory) { Registry().insert(id, std::move(factory)); }
void UnregisterWorksheetForm(const QString& id) { Registry().remove(id); }
bool HasWorksheetForm(const QString& id) { return Registry().contains(id); }

QStringList RegisteredWorksheetIds()
{
    QStringList ids = Registry().keys();
    ids.sort();
    return ids;
}

WorksheetForm* CreateWorksheetForm(const QString& id, QWidget* parent)
{
    const auto it = Registry().constFind(id);
    return it == Registry().constEnd() ? nullptr : (*it)(parent);
}

} // namespace worksheets
