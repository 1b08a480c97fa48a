#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

// The frame that every worksheet form shares with the shell: the program-wide section and
// worksheet state, the main-window calls a worksheet makes, and the registry through which
// the shell creates a worksheet's form by its id.
namespace worksheets {

// The section shown, 1 to 8 in tab order (Setup ... Report, Complexity).
extern int gCurrentSection;
// The worksheet on screen ("tab11", "tab12" ... "tab55a" ...), "" when none.
extern QString gCurrentWorksheetID;

// What a worksheet asks of the main window.
class MainWindowHooks {
public:
    virtual ~MainWindowHooks() = default;
    virtual QWidget* mainWindow() = 0;
    virtual QWidget* worksheetParent() = 0;    // the client area the worksheets live in
    virtual void FitWorksheetForm(QWidget* form) = 0;
    virtual void SetTitleBar(const QString& text) = 0;
    virtual void EnableEditMenu() = 0;
    virtual void DisableEditMenu() = 0;
    virtual void SectionMenu_Check(int section) = 0;
    virtual void WorksheetMenu_Check(int worksheet) = 0;
    // The worksheet on screen stopped showing another object half way: it goes unsaved, as one
    // whose Setup failed does.
    virtual void DropWorksheet() = 0;
};

// Installed by the main window (not owned); null while there is none.
void SetMainWindowHooks(MainWindowHooks* hooks);
MainWindowHooks* MainWindow();

// Forwarders that do nothing while no main window is installed.
void FitWorksheetForm(QWidget* form);
void SetTitleBar(const QString& text);
void EnableEditMenu();
void DisableEditMenu();
void SectionMenu_Check(int section);
void WorksheetMenu_Check(int worksheet);

// Places a dialog, keeping its size, centred over the main window.
void CenterForm(QWidget* form);

// The form's own controls no longer reach its handlers: a form being dropped unsaved, or
// going. A form or dialog whose controls could still speak while its own members are torn
// down (a box with the focus ends its edit as the focus leaves) calls it first in its
// destructor, before the half-destroyed form could hear them.
void DisconnectChildren(QObject& form);

// Where a worksheet sits among the others, as the shell's worksheet table holds it.
struct WorksheetPlace {
    QString id;               // "tab43"
    int worksheetNumber = 0;  // position in the section's worksheet row
    bool editMenu = false;    // whether the Edit menu works on it
};

// A worksheet form: created when shown, destroyed when left. Its constructor and destructor
// write the load and unload trace lines. For example:
//
//   class frm43Outcomes : public worksheets::WorksheetForm {
//   public:
//       explicit frm43Outcomes(QWidget* parent) : WorksheetForm("frm43Outcomes", parent) {}
//       void Setup() override
//       {
//           BeginSetup("frm43Outcomes.Setup");
//           core::BusyScope busy;
//           ...fill the controls...
//       }
//       void SaveChanges() override { ... }
//   };
//   worksheets::RegisterWorksheetForm("tab43", [](QWidget* p) { return new frm43Outcomes(p); });
class WorksheetForm : public QWidget {
    Q_OBJECT
public:
    WorksheetForm(const QString& formName, QWidget* parent = nullptr);
    ~WorksheetForm() override;

    // Places and fills the form; called by the shell each time the worksheet is shown.
    virtual void Setup() = 0;
    // Stores the pending edits; cannot refuse. Called by the shell only for worksheets that
    // save through their form ("Update" on the complexity worksheets maps here too).
    virtual void SaveChanges() {}

    QString formName() const { return mFormName; }
    int helpContextID() const { return mHelpContextID; }
    void setHelpContextID(int id) { mHelpContextID = id; }
    // Handed over by the shell as it makes the form, before its first Setup.
    const WorksheetPlace& place() const { return mPlace; }
    void setPlace(const WorksheetPlace& place) { mPlace = place; }

protected:
    // The opening steps of every Setup: the trace line, the fit above the tab rows, the Edit
    // menu, the Worksheet menu check and the worksheet id, the last three by the form's place.
    void BeginSetup(const QString& traceName);

private:
    QString mFormName;
    int mHelpContextID = 0;
    WorksheetPlace mPlace;
};

// Busy guard: a handler of an event that the program raises itself while it fills controls
// (a box's or body's change, an outcome grid's entered cell, a click on a list, combo or
// option that Setup sets) starts with
//
//   if (!core::IsIdle()) return;
//
// and every fill runs under core::BusyScope, so filling never writes back into the model.
// Command buttons, grid edit events and key, mouse and focus events need no guard.

// Shows another object on a form: stores the one shown (save), then takes the next from the
// model and fills the controls with it under the busy counter (fetchAndDisplay), so that the
// fill writes nothing back. A save that fails leaves the shown object on screen. A fill that
// fails (the file cannot give the next object) leaves a page showing parts of both, which an
// edit or its closing would store over the file's rows: the page goes unsaved, a running
// dialog closed, the worksheet dropped through the main window. The error goes on to be shown.
void SwitchShownObject(const std::function<void()>& save, const std::function<void()>& fetchAndDisplay);

// Worksheet forms are made by the shell through factories registered under their ids.
using WorksheetFactory = std::function<WorksheetForm*(QWidget* parent)>;
void RegisterWorksheetForm(const QString& id, WorksheetFactory factory);
void UnregisterWorksheetForm(const QString& id);
bool HasWorksheetForm(const QString& id);
// The ids with a registered form, sorted.
QStringList RegisteredWorksheetIds();
// A new form for the id, or null when none is registered.
WorksheetForm* CreateWorksheetForm(const QString& id, QWidget* parent);

} // namespace worksheets
