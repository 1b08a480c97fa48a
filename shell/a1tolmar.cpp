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
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QMenu>

namespace shell {

using worksheets::gCurrentSection;
using worksheets::gCurrentWorksheetID;

namespace {

// The end of the check of the file opened at start-up: a damaged file is refused with its
// message and the start page comes up.
void FinishFileCheck();

// Holds the user's first click, key or closing of a window back until the file opened at
// start-up has been read through. A damaged file is then refused, and what the user did is
// dropped, since the page it was meant for goes; the page is taken down once the event that
// found it out has been dealt with, not from under it.
class FileCheckGate : public QObject {
public:
    static inline FileCheckGate* instance = nullptr;

    // Collects the outcome; true when the file was refused (and is closed).
    bool decide()
    {
        mDecided = true;
        mDeciding = true;   // the message box of a refusal takes input
        RunGuarded(QStringLiteral("checking the file"), [this] { mRefused = !core::CheckOpenedFileWhole(); });
        mDeciding = false;
        return mRefused;
    }
    bool decided() const { return mDecided; }
    bool refused() const { return mRefused; }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (mDeciding)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::NonClientAreaMouseButtonPress:
        case QEvent::KeyPress:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
        case QEvent::Close:
            break;
        default:
            return false;
        }
        if (mDecided)
            return true;   // the refused file's page is about to go
        if (!decide()) {
            FinishFileCheck();
            return false;
        }
        QMetaObject::invokeMethod(qApp, [] { FinishFileCheck(); }, Qt::QueuedConnection);
        return true;
    }

private:
    bool mDecided = false;
    bool mDeciding = false;
    bool mRefused = false;
};

void FinishFileCheck()
{
    FileCheckGate* gate = FileCheckGate::instance;
    if (!gate)
        return;
    const bool refused = gate->decided() ? gate->refused() : gate->decide();
    FileCheckGate::instance = nullptr;
    qApp->removeEventFilter(gate);
    gate->deleteLater();
    if (!refused)
        return;
    RunGuarded(QStringLiteral("checking the file"), [] {
        CloseFile();
        if (frm0_Tolmar* main = frm0_Tolmar::instance())
            main->setWindowTitle(QStringLiteral("Tolmar Advanced"));
    });
}

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
    if (!core::OpenedFileAwaitsWholeCheck() || FileCheckGate::instance)
        return;
    // The program takes input while the file is read through on a thread of its own. Whatever
    // the user does first waits for the outcome (the gate), as every use of the file does.
    FileCheckGate::instance = new FileCheckGate;
    qApp->installEventFilter(FileCheckGate::instance);
    core::StartWholeCheck([] {
        if (QCoreApplication* app = QCoreApplication::instance())
            QMetaObject::invokeMethod(app, [] { FinishFileCheck(); }, Qt::QueuedConnection);
    });
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
