#include "shell/frm0_tolmar.h"

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "core/u21display.h"
#include "core/u91trace.h"
#include "platform/grid/grid.h"
#include "platform/tabs/indextab.h"
#include "platform/ui/guard.h"
#include "platform/ui/helpviewer.h"
#include "platform/ui/printersetup.h"
#include "platform/ui/prompter.h"
#include "platform/ui/screen.h"
#include "platform/ui/showntext.h"
#include "shell/a1tolmar.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm01start.h"
#include "shell/frm02tabs.h"

#include <QApplication>
#include <QComboBox>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMetaObject>
#include <QPainter>
#include <QScreen>
#include <QShortcut>
#include <QTimer>

#include <exception>

namespace shell {

using worksheets::gCurrentWorksheetID;

namespace {

// The darker area the pages stand on; painted rather than set in the palette, so that the
// pages keep the ordinary colours.
class ClientArea : public QWidget {
public:
    using QWidget::QWidget;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), palette().color(QPalette::Dark));
    }
};

// Edits that the last save could not store (the disk is full) would go with the program: the
// user is told what failed and stays, unless they choose to lose them. True: close all the same.
bool CloseWithoutSaving()
{
    const QString why = ui::CurrentExceptionText();
    core::TraceError(QStringLiteral("Error in shutdown ") + why);
    return ui::MsgBox(ui::Lines({QStringLiteral("The changes on this worksheet could not be saved:"), why, QString(),
                                 QStringLiteral("Free some space on the disk and close again, or keep them in another "
                                                "file with File, Save As."),
                                 QStringLiteral("Close anyway and lose these changes?")}),
                      ui::Buttons::YesNo, ui::Icon::Warning, ui::Answer::No) == ui::Answer::Yes;
}

frm0_Tolmar* gInstance = nullptr;
std::function<void()> gUnloadPreview;
const QString kTitle = QStringLiteral("Tolmar Advanced");
constexpr int kMenuHelpContext = 9100;
} // namespace

frm0_Tolmar::frm0_Tolmar()
{
    gInstance = this;
    worksheets::SetMainWindowHooks(this);
    ui::SetErrorLog(core::TraceError);
    setWindowTitle(kTitle);
    mClient = new ClientArea(this);
    mClient->setObjectName(QStringLiteral("clientArea"));
    mClient->installEventFilter(this);
    setCentralWidget(mClient);
    buildMenus();
    resize(ui::TwipsToPixels(core::kPlacedWidthTwips), ui::TwipsToPixels(core::kPlacedHeightTwips));

    auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(f1, &QShortcut::activated, this, ui::Guarded([this] { mnuHelp_Click(1); }));
}

frm0_Tolmar::~frm0_Tolmar()
{
    // Worksheets are children of the client area: take the one on screen down first, while
    // the manager still knows it.
    if (auto* form = CurrentWorksheetForm())
        delete form;
    if (worksheets::MainWindow() == this)
        worksheets::SetMainWindowHooks(nullptr);
    if (gInstance == this) {
        gInstance = nullptr;
        ui::SetErrorLog({});
    }
}

frm0_Tolmar* frm0_Tolmar::instance() { return gInstance; }

void frm0_Tolmar::SetPreviewUnloader(std::function<void()> unload) { gUnloadPreview = std::move(unload); }

void frm0_Tolmar::buildMenus()
{
    QMenuBar* bar = menuBar();
    auto top = [&](int index, const QString& caption) {
        mTop[index] = bar->addMenu(caption);
        return mTop[index];
    };
    auto item = [&](QMenu* menu, const QString& caption, std::function<void()> handler) {
        QAction* a = menu->addAction(caption);
        connect(a, &QAction::triggered, this, ui::Guarded(std::move(handler)));
        return a;
    };

    QMenu* file = top(FileMenu, QStringLiteral("&File"));
    for (int i : {FileNew, FileOpen, FileSaveAs, FilePrinterSetup, FileExit}) {
        static const char* captions[] = {"", "&New", "&Open", "", "&Save As...", "", "Printer Setup", "", "", "E&xit"};
        mFile[i] = item(file, QString::fromLatin1(captions[i]), [this, i] { mnuFile_Click(i); });
        if (i == FileSaveAs || i == FilePrinterSetup)
            file->addSeparator();
    }
    mFile[FileSaveAs]->setEnabled(false);

    QMenu* section = top(SectionMenu, QStringLiteral("&Section"));
    const QStringList sectionCaptions = {"Set&up", "&Situation", "&Objectives", "&Alternatives", "Anal&ysis",
                                         "&Comparison", "&Report", "Comple&xity Analysis"};
    // Choosing an item must not flip its check mark: the marks follow the page shown.
    for (int i = 1; i <= 8; ++i) {
        mSection[i] = item(section, sectionCaptions[i - 1], [this, i] {
            mSection[i]->setChecked(!mSection[i]->isChecked());
            mnuSection_Click(i);
        });
        mSection[i]->setCheckable(true);
    }
    section->setEnabled(false);

    QMenu* tab = top(WorksheetMenu, QStringLiteral("&Worksheet"));
    const QStringList tabCaptions = {"&1 Introduction", "&2 Import Data", "&3 Management Goals", "&4 NVC Table",
                                     "&5 Suppression Resources", "&6 Cost / Acre"};
    for (int i = 1; i <= 6; ++i) {
        mTab[i] = item(tab, tabCaptions[i - 1], [this, i] {
            mTab[i]->setChecked(!mTab[i]->isChecked());
            mnuTab_Click(i);
        });
        mTab[i]->setCheckable(true);
    }
    tab->setEnabled(false);

    QMenu* edit = top(EditMenu, QStringLiteral("&Edit"));
    mEdit[EditCut] = item(edit, QStringLiteral("Cut"), [this] { mnuEdit_Click(EditCut); });
    mEdit[EditCut]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_X));
    mEdit[EditCopy] = item(edit, QStringLiteral("Copy"), [this] { mnuEdit_Click(EditCopy); });
    mEdit[EditCopy]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
    mEdit[EditPaste] = item(edit, QStringLiteral("Paste"), [this] { mnuEdit_Click(EditPaste); });
    mEdit[EditPaste]->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_V));
    DisableEditMenu();

    QMenu* help = top(HelpMenu, QStringLiteral("&Help"));
    mHelp[HelpWorksheet] = item(help, QStringLiteral("Current &Worksheet   F1"), [this] { mnuHelp_Click(HelpWorksheet); });
    mHelp[HelpContents] = item(help, QStringLiteral("&Contents"), [this] { mnuHelp_Click(HelpContents); });
    help->addSeparator();
    mHelp[HelpAbout] = item(help, QStringLiteral("&About ..."), [this] { mnuHelp_Click(HelpAbout); });

    // F1 while one of these menus is open shows the help on the menus.
    for (int i : {FileMenu, SectionMenu, EditMenu})
        mTop[i]->installEventFilter(this);
}

void frm0_Tolmar::Startup(const QString& commandLine)
{
    // Each step runs even when one before it failed; the last error is logged once.
    QString error;
    auto step = [&](const std::function<void()>& fn) {
        try {
            fn();
        } catch (const std::exception& e) {
            error = QString::fromUtf8(e.what());
        } catch (...) {
            error = QStringLiteral("unknown error");
        }
    };

    step([] { core::TraceProgramStart(QStringLiteral("Tolmar Advanced 06.6"), ui::ScreenWidthTwips(), ui::ScreenHeightTwips()); });
    step([this] {
        switch (core::CheckDisplay(ui::ScreenHeightTwips())) {
        case core::DisplayFit::TooSmall: break;
        case core::DisplayFit::Maximize: setWindowState(windowState() | Qt::WindowMaximized); break;
        case core::DisplayFit::Place:
            resize(ui::TwipsToPixels(core::kPlacedWidthTwips), ui::TwipsToPixels(core::kPlacedHeightTwips));
            if (const QScreen* s = screen())
                move(s->availableGeometry().topLeft());
            break;
        }
    });
    step([] { ui::SetHelpFile(core::JoinPath(core::AppPath(), QStringLiteral("TolmarVire.hlp"))); });
    step([&] {
        if (commandLine.isEmpty())
            StartWithoutFile();
        else
            StartWithFile(commandLine);
    });
    if (!error.isEmpty()) {
        step([&] { core::TraceError(QStringLiteral("Error during startup ") + error); });
        // Whatever failed, the window comes up on a page: the start page unless a file was
        // loaded all the way to its first page.
        if (!core::gFileOpen() || gCurrentWorksheetID.isEmpty()) {
            step([] { CloseDatafileIfOpen(); });
            step([] { CloseFile(); });
            setWindowTitle(kTitle);
        }
    }
    step([this] { startPage(); });
    step([] { core::TraceFinished(QStringLiteral("Loading Tolmar Advanced")); });
}

void frm0_Tolmar::InitializeMenus()
{
    mFile[FileSaveAs]->setEnabled(true);
    mTop[SectionMenu]->setEnabled(true);
    mTop[WorksheetMenu]->setEnabled(true);
}

void frm0_Tolmar::SetTitleBar(const QString& text)
{
    // A title bar shows one line: a fire name of megabytes is not handed to the window system.
    const QString shown = ui::ShownText(text, fontMetrics(), QSize(ui::TwipsToPixels(ui::ScreenWidthTwips()), 1));
    setWindowTitle(QStringLiteral("Tolmar Advanced:  [") + core::GetDatafileTitle() + QStringLiteral("]  ") + shown);
}

void frm0_Tolmar::SectionMenu_Check(int section)
{
    for (int i = 1; i <= 8; ++i)
        mSection[i]->setChecked(false);
    if (section >= 1 && section <= 8)
        mSection[section]->setChecked(true);
}

void frm0_Tolmar::WorksheetMenu_Check(int worksheet)
{
    for (int i = 1; i <= 6; ++i)
        mTab[i]->setChecked(false);
    if (worksheet >= 1 && worksheet <= 6)
        mTab[worksheet]->setChecked(true);
}

// The items go with the menu, so that their shortcuts are off while it is, and the keys
// reach the focused control instead.
void frm0_Tolmar::EnableEditMenu()
{
    mTop[EditMenu]->setEnabled(true);
    for (int i = EditCut; i <= EditPaste; ++i)
        mEdit[i]->setEnabled(true);
}

void frm0_Tolmar::DisableEditMenu()
{
    mTop[EditMenu]->setEnabled(false);
    for (int i = EditCut; i <= EditPaste; ++i)
        mEdit[i]->setEnabled(false);
}

void frm0_Tolmar::FitWorksheetForm(QWidget* form) { shell::FitWorksheetForm(form); }
void frm0_Tolmar::DropWorksheet() { shell::DropShownWorksheet(); }

frm01Start* frm0_Tolmar::startPage() { return showStartPage(false); }
frm01Start* frm0_Tolmar::backgroundPage() { return showStartPage(true); }

frm01Start* frm0_Tolmar::showStartPage(bool background)
{
    if (!mStart) {
        // A background is made one from the start, so the card it hides is neither built nor laid out.
        mStart = new frm01Start(mClient, background);
        mStart->setGeometry(mClient->rect());
        mStart->lower();
        mStart->show();
    } else if (background) {
        mStart->SetBackground();
    }
    return mStart;
}

bool frm0_Tolmar::startPageLoaded() const { return !mStart.isNull(); }
bool frm0_Tolmar::tabsLoaded() const { return !mTabs.isNull(); }

void frm0_Tolmar::unloadStartPage()
{
    delete mStart;
}

frm02Tabs* frm0_Tolmar::tabsForm()
{
    if (!mTabs)
        mTabs = new frm02Tabs(this, mClient);
    return mTabs;
}

void frm0_Tolmar::unloadTabs() { delete mTabs; }

int frm0_Tolmar::clientWidthTwips() const { return ui::PixelsToTwips(mClient->width()); }
int frm0_Tolmar::clientHeightTwips() const { return ui::PixelsToTwips(mClient->height()); }
int frm0_Tolmar::tabsHeightTwips() const
{
    return mTabs ? ui::PixelsToTwips(mTabs->height()) : frm02Tabs::kHeightTwips;
}

bool frm0_Tolmar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mClient && event->type() == QEvent::Resize)
        MDIForm_Resize();
    // The file opened at start-up is read through once the window is on screen.
    if (watched == mClient && event->type() == QEvent::Paint && !mFileCheckQueued && core::OpenedFileAwaitsWholeCheck()) {
        mFileCheckQueued = true;
        QTimer::singleShot(0, this, ui::Guarded([this] {
            mFileCheckQueued = false;
            RunGuarded(QStringLiteral("checking the file"), [this] {
                CheckOpenedFile();
                if (!core::gFileOpen())
                    setWindowTitle(kTitle);
            });
        }));
    }
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        (watched == mTop[FileMenu] || watched == mTop[SectionMenu] || watched == mTop[EditMenu])) {
        static_cast<QMenu*>(watched)->close();
        ui::ShowHelp(this, kMenuHelpContext);
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frm0_Tolmar::MDIForm_Resize()
{
    core::Trace(QStringLiteral("frm0_Tolmar_Resize ") + QString::number(ui::PixelsToTwips(width())) +
                QStringLiteral(" x ") + QString::number(ui::PixelsToTwips(height())));
    startPage()->setGeometry(mClient->rect());
    ResizeCurrentWorksheet();
}

void frm0_Tolmar::mnuFile_Click(int index)
{
    core::TraceStart(QStringLiteral("mnuFile_Click ") + QString::number(index));
    RunGuarded(QStringLiteral("the File menu"), [&] {
        if (index == FileSaveAs) {
            // Edits the file cannot take (its disk is full) go into the copy.
            const bool saved = RunGuarded(QStringLiteral("saving the worksheet"), [] { UpdateCurrentWorksheet(); });
            SaveFileAs(!saved);
            return;
        }
        // A save that fails here is made again by the close, which asks what to do about it.
        if (index == FileExit) {
            try {
                UpdateCurrentWorksheet();
            } catch (...) {
            }
            close();
            return;
        }
        UpdateCurrentWorksheet();
        switch (index) {
        case FileNew: NewFile(); break;
        case FileOpen: OpenFile(); break;
        case FilePrinterSetup:
            try {
                ui::ShowPrinterSetup();
            } catch (...) {
                // a printer that cannot be set up is left as it was
            }
            break;
        default: break;
        }
    });
}

void frm0_Tolmar::mnuSection_Click(int index)
{
    core::Trace(QStringLiteral("mnuSection_Click ") + QString::number(index));
    if (mTabs)
        mTabs->vsTab1()->setCurrentTab(index);
}

void frm0_Tolmar::mnuTab_Click(int index)
{
    core::Trace(QStringLiteral("mnuTab_Click ") + QString::number(index));
    if (mTabs && mTabs->vsTab2()->isTabEnabled(index))
        mTabs->vsTab2()->setCurrentTab(index);
}

void frm0_Tolmar::mnuEdit_Click(int index)
{
    core::TraceStart(QStringLiteral("mnuEdit_Click ") + gCurrentWorksheetID + QStringLiteral(" ") + QString::number(index));
    static const char* kSlots[] = {nullptr, nullptr, "cut", "copy", "paste"};
    if (index < EditCut || index > EditPaste)
        return;
    QWidget* form = CurrentWorksheetForm();
    QWidget* target = QApplication::focusWidget();
    if (!form || !target || !form->isAncestorOf(target))
        return;
    // The focused control, or the control it is part of (a grid's cell editor is a text box
    // of its own), that offers the clipboard command.
    const QByteArray signature = QByteArray(kSlots[index]) + "()";
    try {
        for (QWidget* control = target; control && control != form; control = control->parentWidget()) {
            QWidget* w = control;
            // A combo box the user types into keeps its text in a box of its own.
            if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->lineEdit())
                w = combo->lineEdit();
            if (w->metaObject()->indexOfMethod(signature.constData()) < 0)
                continue;
            // A grid that is not editing: paste goes only into a cell being edited, and an
            // empty cell leaves the clipboard and the grid as they are.
            if (const auto* g = qobject_cast<const grid::Grid*>(w); g && !g->isEditing()) {
                if (index == EditPaste || g->text(g->row(), g->col()).isEmpty())
                    return;
            }
            QMetaObject::invokeMethod(w, kSlots[index]);
            return;
        }
    } catch (...) {
        // a control that refuses the clipboard command is left as it was
    }
}

void frm0_Tolmar::mnuHelp_Click(int index)
{
    core::Trace(QStringLiteral("mnuHelp_Click"));
    switch (index) {
    case HelpWorksheet: {
        const auto* form = CurrentWorksheetForm();
        ui::ShowHelp(this, form ? form->helpContextID() : 0);
        break;
    }
    case HelpContents: ui::ShowHelp(this, 0); break;
    case HelpAbout:
        ui::MsgBox(QStringLiteral("Tolmar Advanced 06.6\r\n\r\n") + core::GetCopyrightText(), ui::Buttons::OK,
                   ui::Icon::Information, ui::Answer::OK, QStringLiteral("About Tolmar Advanced"));
        break;
    default: break;
    }
}

void frm0_Tolmar::closeEvent(QCloseEvent* event)
{
    if (MDIForm_Unload())
        event->accept();
    else
        event->ignore();
}

bool frm0_Tolmar::MDIForm_Unload()
{
    if (mShutDown)
        return true;
    RunGuarded(QStringLiteral("shutdown"), [] {
        if (gUnloadPreview)
            gUnloadPreview();
    });
    try {
        UpdateCurrentWorksheet();
    } catch (...) {
        if (!CloseWithoutSaving())
            return false;
    }
    mShutDown = true;
    // The form goes before the file it shows.
    RunGuarded(QStringLiteral("shutdown"), [] { UnloadCurrentWorksheet(); });
    RunGuarded(QStringLiteral("shutdown"), [] { CloseDatafileIfOpen(); });
    // The pages go before the program-end block, so that the log closes with it.
    unloadTabs();
    unloadStartPage();
    RunGuarded(QStringLiteral("shutdown"), [] { core::TraceProgramEnd(QStringLiteral("Tolmar Advanced")); });
    return true;
}

} // namespace shell
