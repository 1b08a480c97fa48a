#pragma once

#include <QList>
#include <QString>

class QWidget;

namespace worksheets {
class WorksheetForm;
struct WorksheetPlace;
}

// The worksheet manager: knows every worksheet by its id, shows one at a time, saves it when
// it is left and unloads it.
namespace shell {

enum class SavePath { None, Form, SaveRMAs, SaveSituation, SaveSummary, SaveAlternatives };
enum class CacheClear { FMUs, SRTypes, Objectives, Alternatives };

struct WorksheetInfo {
    int section;          // tab order, 1..8
    int worksheet;        // position in the worksheet row
    QString caption;
    QString id;
    QString form;
    SavePath save;
    QList<CacheClear> clears;   // after unloading, in this order
    bool editMenu;
    int helpContext;
};

// What a form is handed of its row as it is made.
worksheets::WorksheetPlace PlaceOf(const WorksheetInfo& info);

// Every worksheet, introduction first, in the order of the sections' tab rows.
const QList<WorksheetInfo>& WorksheetTable();
const WorksheetInfo* FindWorksheet(const QString& id);
// The worksheet at that place; section 5 worksheet 5 depends on the FMU count.
const WorksheetInfo* WorksheetAt(int section, int worksheet);

void DisplayWorksheet(int n);
// The worksheet on screen could not show the object chosen on it (its read failed part way):
// it is dropped unsaved and the section's introduction shown, as for a Setup that fails.
void DropShownWorksheet();
void UpdateCurrentWorksheet();
void UnloadCurrentWorksheet();
void ResizeCurrentWorksheet();

// The form of that id, made when it is not the one loaded (the one loaded before is dropped).
worksheets::WorksheetForm* LoadWorksheetForm(const QString& id);
// The form on screen, or null.
worksheets::WorksheetForm* CurrentWorksheetForm();

// Places a form in the main window's client area above the tab rows (measures in twips).
void FitWorksheetForm(QWidget* form);

} // namespace shell
