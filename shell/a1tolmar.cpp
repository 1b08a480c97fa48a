#include "shell/a1tolmar.h"

#include "core/jetfiles.h"
#include "core/u11datafile.h"
#include "core/u14properties.h"
#include "core/u91trace.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompter.h"
#include "platform/ui/waitcursor.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm01start.h"
#include "shell/frm02tabs.h"
#include "shell/frm0_tolmar.h"
#include "shell/frm11intro.h"
#include "shell/modelcaches.h"
#include "worksheets/common/worksheetform.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

namespace shell {

using worksheets::gCurrentSection;
using worksheets::gCurrentWorksheetID;

namespace {


// The worksheet on screen belongs to the file that was open before: its edits were saved when
// the File menu was chosen, and nothing of it may reach the file that is loaded now.
void DropWorksheetOfPreviousFile()
{
    if (CurrentWorksheetForm() || !gCurrentWorksheetID.isEmpty())
        UnloadCurrentWorksheet();
}

// The command line has no menu whose error message would tell the user: say why the file
// named there did not come up.
void SayNotLoaded(const QString& path)
{
    ui::MsgBox(ui::Lines({QStringLiteral("The file %1 cannot be opened.").arg(path), ui::CurrentExceptionText()}),
               ui::Buttons::OK, ui::Icon::Critical);
}

} // namespace

void StartWithoutFile()
{
    core::Trace(QStringLiteral("a1Tolmar.StartWithoutFile"));
    gCurrentWorksheetID.clear();
    if (auto* main = frm0_Tolmar::instance()) {
        main->startPage()->setGeometry(main->client()->rect());
        main->DisableEditMenu();
    }
}

void StartWithFile(const QString& path)
{
    core::Trace(QStringLiteral("a1Tolmar.StartWithFile ") + path);
    // A Jet file of an earlier version opens as its converted copy.
    const QString opened = core::DatafileToOpen(path);
    if (opened.isEmpty())
        return;
    // Reading every page of the file waits until the window has come up (CheckOpenedFile), but
    // not when a name is to be written into it: a refused file is left as it was.
    if (core::OpenDatafile(opened, true)) {
        // Stored whole, so that Save As recognises the open file however it was named here.
        const QString name = QFileInfo(opened).absoluteFilePath();
        if (core::Property_Get(QStringLiteral("FullFileName")) != name && !core::CheckOpenedFileWhole())
            return;
        if (!core::RecordFileName(name))
            return;
        try {
            LoadFromFile();
        } catch (...) {
            SayNotLoaded(path);
            throw;   // the start-up logs it
        }
    }
}

void CheckOpenedFile()
{
    if (!core::CheckOpenedFileWhole())
        CloseFile();
}

void NewFile()
{
    switch (core::QueryNewDatafile()) {
    case core::OpenResult::Open:
        LoadFromFile();
        if (auto* main = frm0_Tolmar::instance())
            main->SetTitleBar(QStringLiteral("New"));
        break;
    case core::OpenResult::Failed: CloseFile(); break;
    case core::OpenResult::Cancelled: break;
    }
}

void OpenFile()
{
    switch (core::QueryOpenDatafile()) {
    case core::OpenResult::Open: LoadFromFile(); break;
    case core::OpenResult::Failed: CloseFile(); break;
    case core::OpenResult::Cancelled: break;
    }
}

void SaveFileAs(bool unsavedEdits)
{
    switch (core::SaveAsDatafile()) {
    case core::OpenResult::Open:
        // The copy holds all the file held, so the edits it could not take are saved into the copy.
        if (unsavedEdits)
            UpdateCurrentWorksheet();
        LoadFromFile();
        break;
    case core::OpenResult::Failed: CloseFile(); break;
    case core::OpenResult::Cancelled: break;
    }
}

namespace {

void ShowLoadedFile()
{
    DropWorksheetOfPreviousFile();
    ClearCollections();
    frm0_Tolmar* main = frm0_Tolmar::instance();
    if (!main)
        return;
    main->backgroundPage();
    main->SetTitleBar(Model().FireName());
    main->InitializeMenus();
    gCurrentSection = 1;
    main->tabsForm()->InitializeTabs();
    ResizeCurrentWorksheet();
    if (auto* intro = qobject_cast<frm11Intro*>(LoadWorksheetForm(QStringLiteral("tab11"))))
        intro->Setup(1);
}

} // namespace

void LoadFromFile()
{
    core::Trace(QStringLiteral("a1Tolmar.LoadFromFile"));
    ui::WaitCursor hourglass;
    try {
        ShowLoadedFile();
    } catch (...) {
        // A file that cannot be brought on screen is not left open behind a half-built page.
        CloseDatafileIfOpen();
        CloseFile();
        throw;
    }
}

void CloseFile()
{
    // The worksheet goes first, so that nothing it holds outlives the caches it points into.
    UnloadCurrentWorksheet();
    ClearCollections();
    frm0_Tolmar* main = frm0_Tolmar::instance();
    if (main) {
        main->unloadStartPage();
        main->unloadTabs();
        main->setWindowTitle(QStringLiteral("Tolmar"));
        main->fileItem(frm0_Tolmar::FileSaveAs)->setEnabled(false);
        main->topMenu(frm0_Tolmar::SectionMenu)->setEnabled(false);
        main->topMenu(frm0_Tolmar::WorksheetMenu)->setEnabled(false);
    }
    StartWithoutFile();
}

void CloseDatafileIfOpen()
{
    if (core::gFileOpen())
        core::CloseDatafile();
}

} // namespace shell
