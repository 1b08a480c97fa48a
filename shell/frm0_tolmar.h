#pragma once

#include "platform/ui/guard.h"
#include "worksheets/common/worksheetform.h"

#include <QMainWindow>
#include <QPointer>

#include <array>
#include <functional>

class QAction;
class QMenu;

namespace shell {

class frm01Start;
class frm02Tabs;

// The main window: the client area with the start page, the tab rows and one worksheet,
// the File, Section, Worksheet, Edit and Help menus, start-up and shutdown.
class frm0_Tolmar : public QMainWindow, public worksheets::MainWindowHooks {
    Q_OBJECT
public:
    frm0_Tolmar();
    ~frm0_Tolmar() override;

    // The one main window of the program (the last one made), or null.
    static frm0_Tolmar* instance();

    // Start-up: the trace, the display check, the help file and the command line (the whole
    // of it is one path; empty means no file).
    void Startup(const QString& commandLine);

    void InitializeMenus();
    void SetTitleBar(const QString& text) override;
    void SectionMenu_Check(int section) override;
    void WorksheetMenu_Check(int worksheet) override;
    void EnableEditMenu() override;
    void DisableEditMenu() override;
    QWidget* mainWindow() override { return this; }
    QWidget* worksheetParent() override { return mClient; }
    void FitWorksheetForm(QWidget* form) override;
    void DropWorksheet() override;

    // The start page and the tab rows are made when first referred to.
    frm01Start* startPage();
    // The start page as the plain background of a loaded file's worksheets.
    frm01Start* backgroundPage();
    bool startPageLoaded() const;
    void unloadStartPage();
    frm02Tabs* tabsForm();
    bool tabsLoaded() const;
    void unloadTabs();

    QWidget* client() const { return mClient; }
    int clientWidthTwips() const;
    int clientHeightTwips() const;
    int tabsHeightTwips() const;

    // The menus and their items by the index each has (unused indexes are null); the gaps are
    // where the separators stand.
    enum TopMenu { FileMenu = 1, SectionMenu = 2, WorksheetMenu = 3, EditMenu = 4, HelpMenu = 9 };
    enum FileItem { FileNew = 1, FileOpen = 2, FileSaveAs = 4, FilePrinterSetup = 6, FileExit = 9 };
    enum EditItem { EditCut = 2, EditCopy = 3, EditPaste = 4 };
    enum HelpItem { HelpWorksheet = 1, HelpContents = 2, HelpAbout = 9 };

    QMenu* topMenu(int index) const { return mTop.at(index); }
    QAction* fileItem(int index) const { return mFile.at(index); }
    QAction* sectionItem(int index) const { return mSection.at(index); }
    QAction* tabItem(int index) const { return mTab.at(index); }
    QAction* editItem(int index) const { return mEdit.at(index); }
    QAction* helpItem(int index) const { return mHelp.at(index); }

    void mnuFile_Click(int index);
    void mnuSection_Click(int index);
    void mnuTab_Click(int index);
    void mnuEdit_Click(int index);
    void mnuHelp_Click(int index);

    // Unloads the print preview window at shutdown (installed by the reports).
    static void SetPreviewUnloader(std::function<void()> unload);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    frm01Start* showStartPage(bool background);
    void buildMenus();
    void MDIForm_Resize();
    // False when the program stays open: the worksheet's edits could not be saved.
    bool MDIForm_Unload();

    QWidget* mClient;
    QPointer<frm01Start> mStart;
    QPointer<frm02Tabs> mTabs;
    bool mShutDown = false;
    bool mFileCheckQueued = false;
    std::array<QMenu*, 10> mTop{};
    std::array<QAction*, 10> mFile{};
    std::array<QAction*, 9> mSection{};
    std::array<QAction*, 7> mTab{};
    std::array<QAction*, 5> mEdit{};
    std::array<QAction*, 10> mHelp{};
};

// Runs one user command; an error that escapes it is logged and shown, never fatal.
using ui::RunGuarded;

} // namespace shell
