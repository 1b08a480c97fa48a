#include "shellfixture.h"

#include "core/u91trace.h"
#include "platform/grid/grid.h"
#include "platform/ui/printersetup.h"
#include "shell/a1tolmar.h"
#include "shell/frm01start.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>

#include <sqlite3.h>

using namespace shelltest;

namespace {

// Properties of a closed data file, read without the program.
QString StoredProperty(const QString& path, const QString& key)
{
    auto db = dao::Database::Open(path, dao::OpenOptions{false, true});
    auto rs = db->OpenRecordset("SELECT Value FROM Properties WHERE Property = ?", {key});
    return rs->Eof() ? QString() : rs->Field(0).toString();
}

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// A copy of the template holding its name as stored, and an index whose pages are out of step
// with its table: only reading every page finds it.
QString DamagedInside(const QTemporaryDir& dir, const QString& storedName)
{
    const QString path = shelltest::CopyTemplate(dir, QStringLiteral("Damaged.tlm"));
    sqlite3* raw = nullptr;
    const QByteArray sql = QStringLiteral("INSERT OR REPLACE INTO Properties (Property, Value) VALUES ('FullFileName', '%1'); "
                                          "INSERT INTO Properties (Property, Value) VALUES ('A', 'a'), ('B', 'b'), ('C', 'c'); "
                                          "CREATE INDEX Skewed ON Properties (Value); PRAGMA writable_schema = 1; "
                                          "UPDATE sqlite_master SET sql = 'CREATE INDEX Skewed ON Properties (Value DESC)' "
                                          "WHERE name = 'Skewed';")
                               .arg(storedName)
                               .toUtf8();
    const bool ok = sqlite3_open(path.toUtf8().constData(), &raw) == SQLITE_OK &&
                    sqlite3_exec(raw, sql.constData(), nullptr, nullptr, nullptr) == SQLITE_OK;
    sqlite3_close(raw);
    return ok ? path : QString();
}

} // namespace

TEST_F(ShellTest, NewFileFromTheStartPage)
{
    window->Startup(QString());
    const QString path = dir.filePath("Fire7.tlm");
    prompter.file(path);
    window->startPage()->cmdNew()->click();
    ASSERT_EQ(prompter.dialogs().size(), 1);
    EXPECT_EQ(prompter.dialogs()[0].title, QStringLiteral("Create new Tolmar Rude file"));
    ASSERT_TRUE(core::gFileOpen());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar Advanced:  [Fire7.tlm]  New"));
    EXPECT_EQ(id(), QStringLiteral("tab11"));
    EXPECT_TRUE(window->fileItem(4)->isEnabled());
    EXPECT_TRUE(window->topMenu(2)->isEnabled());
    EXPECT_TRUE(window->topMenu(3)->isEnabled());
    EXPECT_TRUE(QFile::exists(path));
}

TEST_F(ShellTest, OpenCancelledKeepsTheFileAndItsWorksheet)
{
    startWithFile();
    window->mnuSection_Click(4);
    window->mnuTab_Click(3);
    Log().clear();
    window->mnuFile_Click(2);   // the dialog answers "" (cancel)
    ASSERT_EQ(prompter.dialogs().size(), 1);
    EXPECT_EQ(prompter.dialogs()[0].title, QStringLiteral("Open Tolmar Rude file"));
    EXPECT_EQ(Log(), QStringList{"Save tab43"}) << "the File menu saves the worksheet first, and nothing else happens";
    EXPECT_TRUE(core::gFileOpen());
    EXPECT_EQ(id(), QStringLiteral("tab43"));
    EXPECT_TRUE(window->fileItem(4)->isEnabled());
}

TEST_F(ShellTest, FailedOpenWhileAFileIsLoadedReturnsToTheStartPage)
{
    startWithFile();
    window->mnuSection_Click(2);
    window->mnuTab_Click(4);
    const QString bad = dir.filePath("notes.tlm");
    {
        QFile f(bad);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("these are notes, not a data file\n");
    }
    prompter.clear();
    prompter.file(bad);
    window->mnuFile_Click(2);
    ASSERT_FALSE(prompter.messages().isEmpty());
    EXPECT_TRUE(prompter.messages().last().text.contains("does not appear to be a Tolmar Rude file"));
    EXPECT_FALSE(core::gFileOpen());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar"));
    EXPECT_EQ(id(), QString());
    EXPECT_EQ(shell::CurrentWorksheetForm(), nullptr);
    EXPECT_FALSE(window->tabsLoaded());
    ASSERT_TRUE(window->startPageLoaded());
    EXPECT_FALSE(window->startPage()->isBackground()) << "a fresh start page with its buttons";
    EXPECT_TRUE(window->startPage()->cmdOpen()->isVisible());
    EXPECT_FALSE(window->fileItem(4)->isEnabled());
    for (int top : {2, 3, 4})
        EXPECT_FALSE(window->topMenu(top)->isEnabled()) << top;
    EXPECT_EQ(Bytes(bad), QByteArray("these are notes, not a data file\n"));
}

TEST_F(ShellTest, SaveAsShowsTheNewNameOnTheSetupIntroduction)
{
    startWithFile();
    window->mnuSection_Click(3);
    window->mnuTab_Click(2);
    const QString copy = dir.filePath("Copy of Fire1.tlm");
    prompter.file(copy);
    Log().clear();
    window->mnuFile_Click(4);
    ASSERT_EQ(prompter.dialogs().size(), 1);
    EXPECT_EQ(prompter.dialogs()[0].title, QStringLiteral("Save As New Tolmar Rude file"));
    EXPECT_EQ(Log().value(0), QStringLiteral("Save tab32"));
    ASSERT_TRUE(core::gFileOpen());
    EXPECT_EQ(core::Property_Get("FullFileName"), copy);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar Advanced:  [Copy of Fire1.tlm]  Cedar Ridge"));
    EXPECT_EQ(id(), QStringLiteral("tab11"));
    EXPECT_EQ(worksheets::gCurrentSection, 1);
    EXPECT_EQ(tabs()->vsTab1()->currentTab(), 1);
    EXPECT_EQ(tabs()->vsTab2()->currentTab(), 1);
    EXPECT_EQ(Log().count("Save tab32"), 1) << "the worksheet of the old file is not saved into the new one";
}

TEST_F(ShellTest, OpeningAnotherFileLeavesItUntouchedByTheWorksheetOfTheFirst)
{
    const QString a = startWithFile("A.tlm");
    const QString b = CopyTemplate(dir, "B.tlm");
    // A worksheet of file A that writes into whatever file is open when it saves.
    window->mnuTab_Click(4);
    ASSERT_NE(form(), nullptr);
    form()->onSave = [] { core::Property_Set("Marker", "saved by the NVC Table"); };

    prompter.file(b);
    window->mnuFile_Click(2);
    ASSERT_TRUE(core::gFileOpen());
    EXPECT_EQ(core::Property_Get("FullFileName"), b);
    EXPECT_EQ(core::Property_Get("Marker"), QString()) << "file B got an edit of file A";
    EXPECT_EQ(id(), QStringLiteral("tab11"));
    core::CloseDatafile();
    EXPECT_EQ(StoredProperty(a, "Marker"), QStringLiteral("saved by the NVC Table"));
    EXPECT_EQ(StoredProperty(b, "Marker"), QString());
}

TEST_F(ShellTest, FileMenuSavesFirstWhateverTheItem)
{
    startWithFile();
    window->mnuTab_Click(6);
    Log().clear();
    window->mnuFile_Click(6);
    ASSERT_EQ(prompter.printDialogs().size(), 1);
    EXPECT_EQ(prompter.printDialogs()[0].title, QStringLiteral("Printer Setup"));
    EXPECT_EQ(Log(), QStringList{"Save tab16"});
    EXPECT_EQ(id(), QStringLiteral("tab16")) << "the worksheet stays";
}

TEST_F(ShellTest, ExitSavesTheWorksheetAndClosesTheFile)
{
    startWithFile();
    window->mnuSection_Click(8);
    window->mnuTab_Click(4);
    Log().clear();
    window->mnuFile_Click(9);
    EXPECT_EQ(Log().value(0), QStringLiteral("Save tab74")) << "the File menu's own save";
    EXPECT_EQ(Log().count("Save tab74"), 2) << "and the shutdown's";
    EXPECT_TRUE(Log().contains("Unload tab74"));
    EXPECT_FALSE(core::gFileOpen());
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(prompter.messages().isEmpty()) << "closing asks nothing";
    QFile log(core::JoinPath(core::LogFolder(), "Tolmar.LOG"));
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QByteArray trace = log.readAll();
    EXPECT_LT(trace.lastIndexOf("Unloaded"), trace.lastIndexOf("Program End")) << "the log ends with the program-end block";
}

TEST_F(ShellTest, EditMenuActsOnTheFocusedControlOfTheWorksheet)
{
    startWithFile();
    window->mnuTab_Click(3);
    ASSERT_TRUE(editMenu());
    QLineEdit* edit = form()->edit;
    window->activateWindow();
    QApplication::setActiveWindow(window.get());
    edit->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), edit);
    QClipboard* clip = QApplication::clipboard();

    edit->setText("Protect the watershed");
    edit->setSelection(0, 7);
    window->mnuEdit_Click(3);
    EXPECT_EQ(clip->text(), QStringLiteral("Protect"));
    EXPECT_EQ(edit->text(), QStringLiteral("Protect the watershed"));

    edit->setSelection(7, 4);
    window->mnuEdit_Click(2);
    EXPECT_EQ(clip->text(), QStringLiteral(" the"));
    EXPECT_EQ(edit->text(), QStringLiteral("Protect watershed"));

    clip->setText(QStringLiteral("unchanged"));
    edit->deselect();
    window->mnuEdit_Click(2);
    EXPECT_EQ(clip->text(), QStringLiteral("unchanged")) << "cut with nothing selected";

    edit->setCursorPosition(0);
    clip->setText(QStringLiteral("Do: "));
    window->mnuEdit_Click(4);
    EXPECT_EQ(edit->text(), QStringLiteral("Do: Protect watershed"));

    // A control outside the worksheet is not a target.
    QLineEdit outside(window.get());
    outside.setText("outside");
    outside.show();
    outside.setFocus();
    outside.selectAll();
    clip->setText(QStringLiteral("unchanged"));
    window->mnuEdit_Click(2);
    EXPECT_EQ(outside.text(), QStringLiteral("outside"));
    EXPECT_EQ(clip->text(), QStringLiteral("unchanged"));
}

TEST_F(ShellTest, StartupErrorIsLoggedAndTheStartPageComesUp)
{
    fireName.clear();
    shell::Model().FireName = []() -> QString { throw std::runtime_error("Items table unreadable"); };
    const QString errorLog = core::JoinPath(core::LogFolder(), "ERROR.LOG");
    const QByteArray before = Bytes(errorLog);
    startWithFile();
    const QByteArray after = Bytes(errorLog);
    ASSERT_GT(after.size(), before.size());
    EXPECT_TRUE(after.mid(before.size()).contains("Error during startup Items table unreadable"));
    // The command line has no menu to report through: the user is told which file and why.
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text,
              QString("The file %1 cannot be opened.\r\nItems table unreadable").arg(dir.filePath("Fire1.tlm")));
    EXPECT_FALSE(core::gFileOpen()) << "a file that did not load is not left open behind the start page";
    ASSERT_TRUE(window->startPageLoaded());
    EXPECT_FALSE(window->startPage()->isBackground());
    EXPECT_TRUE(window->startPage()->cmdNew()->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar Advanced"));
    EXPECT_FALSE(window->topMenu(2)->isEnabled());
    EXPECT_FALSE(window->fileItem(4)->isEnabled());
}

// A file whose rows the loaders find by a key it lacks is refused on the command line as from
// the File menu, before its name is written into it.
TEST_F(ShellTest, AFileLackingAKeyIsRefusedUntouchedOnEveryRoute)
{
    for (const bool commandLine : {true, false}) {
        SCOPED_TRACE(commandLine ? "command line" : "File, Open");
        const QString path = CopyTemplate(dir, "NoKey.tlm");
        {
            auto db = dao::Database::Open(path);
            db->Execute("CREATE TABLE Copy (ItemKey LONG INTEGER NOT NULL, ItemName MEMO TEXT, Heading MEMO TEXT, "
                        "Body MEMO TEXT, ItemText MEMO TEXT, ParentKey LONG INTEGER, ChildIndex LONG INTEGER)");
            db->Execute("INSERT INTO Copy SELECT * FROM Items");
            db->DropTable("Items");
            db->RenameTable("Copy", "Items");
        }
        const QByteArray before = Bytes(path);
        prompter.clear();
        if (commandLine) {
            window->Startup(path);
        } else {
            startWithFile();
            prompter.clear();
            prompter.file(path);
            window->mnuFile_Click(2);
        }
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0].text, "The file does not appear to be a Tolmar Rude file.\r\nMissing from it: the key "
                                               "of the table Items (ItemKey).\r\nIt cannot be opened.");
        EXPECT_FALSE(core::gFileOpen());
        EXPECT_EQ(Bytes(path), before);
        EXPECT_TRUE(window->startPage()->cmdOpen()->isVisible());
    }
}

// A fire name of tens of thousands of characters from a foreign file is not handed whole to
// the title bar, which shows one line.
TEST_F(ShellTest, TheTitleBarTakesNoMoreOfTheFireNameThanItShows)
{
    fireName = QString("Cedar Ridge ").repeated(5000);
    startWithFile();
    const QString title = window->windowTitle();
    EXPECT_TRUE(title.startsWith("Tolmar Advanced:  [Fire1.tlm]  Cedar Ridge Cedar Ridge"));
    EXPECT_LT(title.size(), 5000);
    EXPECT_TRUE(title.endsWith(QChar(0x2026)));
}

TEST_F(ShellTest, AFileOnTheCommandLineLackingATableIsRefusedWithAMessage)
{
    const QString path = CopyTemplate(dir, "NoZones.tlm");
    {
        auto db = dao::Database::Open(path);
        db->Execute(QStringLiteral("DROP TABLE FMZList"));
    }
    const QByteArray before = Bytes(path);
    window->Startup(path);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.contains(QStringLiteral("the table FMZList"))) << prompter.messages()[0].text.toStdString();
    EXPECT_FALSE(core::gFileOpen());
    EXPECT_EQ(Bytes(path), before) << "not even the file's name is written into it";
    ASSERT_TRUE(window->startPageLoaded());
    EXPECT_TRUE(window->startPage()->cmdNew()->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar Advanced"));
}

// The window comes up on the file first; once it is on screen the file is read through, and
// the damage is refused with a message, the file left as it was and the start page up.
TEST_F(ShellTest, AFileOnTheCommandLineDamagedInsideIsRefusedOnceTheWindowIsUp)
{
    const QString path = DamagedInside(dir, QFileInfo(dir.filePath("Damaged.tlm")).absoluteFilePath());
    ASSERT_FALSE(path.isEmpty());
    const QByteArray before = Bytes(path);
    window->Startup(path);
    EXPECT_TRUE(core::gFileOpen()) << "the whole check waits for the window";
    EXPECT_TRUE(prompter.messages().isEmpty());
    for (int i = 0; i < 200 && core::gFileOpen(); ++i)
        QTest::qWait(10);
    EXPECT_FALSE(core::gFileOpen());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.contains(QStringLiteral("does not appear to be a Tolmar Rude file")));
    EXPECT_EQ(Bytes(path), before);
    ASSERT_TRUE(window->startPageLoaded());
    EXPECT_TRUE(window->startPage()->cmdNew()->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar Advanced"));
}

// The file is read through on a thread of its own once the window is up, and the program takes
// input meanwhile. A click that comes before the outcome waits for it: on a sound file it goes
// to the section tab; on a damaged one it is dropped, the file refused with its message and the
// start page brought up once the click has been dealt with.
TEST_F(ShellTest, AClickBeforeTheFileIsReadThroughWaitsForTheOutcome)
{
    for (const bool damaged : {false, true}) {
        SCOPED_TRACE(damaged ? "damaged" : "sound");
        prompter.clear();
        const QString name = damaged ? QStringLiteral("Damaged.tlm") : QStringLiteral("Sound.tlm");
        const QString path = damaged ? DamagedInside(dir, QFileInfo(dir.filePath(name)).absoluteFilePath())
                                     : CopyTemplate(dir, name);
        ASSERT_FALSE(path.isEmpty());
        if (!damaged) {
            // Stored as opened, so that the open leaves the check for the window.
            ASSERT_TRUE(core::OpenDatafile(path));
            core::Property_Set(QStringLiteral("FullFileName"), QFileInfo(path).absoluteFilePath());
            core::CloseDatafile();
        }
        window->Startup(path);
        ASSERT_TRUE(core::gFileOpen());
        ASSERT_TRUE(core::OpenedFileAwaitsWholeCheck());
        shell::CheckOpenedFile();   // as the window's first paint has it done
        QTabBar* sections = window->tabsForm()->vsTab1()->bar();
        QTest::mouseClick(sections, Qt::LeftButton, {}, sections->tabRect(3).center());
        EXPECT_FALSE(core::OpenedFileAwaitsWholeCheck());
        EXPECT_EQ(core::gFileOpen(), !damaged);
        EXPECT_EQ(worksheets::gCurrentSection, damaged ? 1 : 3);
        EXPECT_EQ(prompter.messages().size(), damaged ? 1 : 0);
        QTest::qWait(20);
        EXPECT_EQ(window->startPageLoaded() && window->startPage()->cmdNew()->isVisible(), damaged);
        if (damaged) {
            EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar Advanced"));
        }
        if (core::gFileOpen())
            core::CloseDatafile();
        worksheets::gCurrentSection = 1;
    }
}

// A value longer than any field holds, in a file the open leaves to be read through once the
// window is up: where the page coming up reads it (the fire's name) the file is refused there;
// elsewhere the check refuses it before the user's first click is taken. Each time with the field
// named, the start page back and the file as it was.
TEST_F(ShellTest, AnOverlongValueInAFileReadThroughLaterIsRefusedBeforeItIsRead)
{
    const struct {
        const char* name;
        const char* put;
        const char* field;
        bool readAtOnce;
    } cases[] = {
        {"the fire's name", "INSERT OR REPLACE INTO Items (ItemKey, ItemName, Body, ParentKey, ChildIndex) "
                            "VALUES (11, 'Fire Name', printf('%.*c', 524289, 'x'), 1, 1)",
         "Items.Body", true},
        {"a rating's note", "INSERT INTO Scores VALUES (1, 1, 2, printf('%.*c', 524289, 'x'))", "Scores.Description", false},
    };
    // The title reads the fire's name from the file.
    shell::Model().FireName = shell::RealModelOps().FireName;
    shell::Model().ClearItems = shell::RealModelOps().ClearItems;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.clear();
        const QString path = CopyTemplate(dir, QStringLiteral("Overlong.tlm"));
        ASSERT_TRUE(core::OpenDatafile(path));
        core::Property_Set(QStringLiteral("FullFileName"), QFileInfo(path).absoluteFilePath());
        core::CloseDatafile();
        sqlite3* raw = nullptr;
        ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &raw), SQLITE_OK);
        EXPECT_EQ(sqlite3_exec(raw, c.put, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(raw);
        sqlite3_close(raw);
        const QByteArray before = Bytes(path);
        window->Startup(path);
        if (!c.readAtOnce) {
            ASSERT_TRUE(core::OpenedFileAwaitsWholeCheck());
            shell::CheckOpenedFile();
            QTabBar* sections = window->tabsForm()->vsTab1()->bar();
            QTest::mouseClick(sections, Qt::LeftButton, {}, sections->tabRect(3).center());
            QTest::qWait(20);
        }
        EXPECT_FALSE(core::gFileOpen());
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_TRUE(prompter.messages()[0].text.contains(
            QStringLiteral("Its field %1 holds a value of 524,289 bytes").arg(QLatin1String(c.field))))
            << prompter.messages()[0].text.toStdString();
        EXPECT_TRUE(window->startPageLoaded() && window->startPage()->cmdNew()->isVisible());
        EXPECT_EQ(Bytes(path), before);
        worksheets::gCurrentSection = 1;
    }
}

// A file that would have its new name written into it is read through before that.
TEST_F(ShellTest, ARenamedFileDamagedInsideIsRefusedBeforeItsNameIsWritten)
{
    const QString path = DamagedInside(dir, dir.filePath("Elsewhere.tlm"));
    ASSERT_FALSE(path.isEmpty());
    const QByteArray before = Bytes(path);
    window->Startup(path);
    EXPECT_FALSE(core::gFileOpen());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.contains(QStringLiteral("does not appear to be a Tolmar Rude file")));
    EXPECT_EQ(Bytes(path), before);
    EXPECT_TRUE(window->startPage()->cmdNew()->isVisible());
}

TEST_F(ShellTest, SaveAsOntoTheOpenFileNamedRelativelyIsRefused)
{
    const QString path = CopyTemplate(dir, "Rel.tlm");
    const QString cwd = QDir::currentPath();
    QDir::setCurrent(dir.path());
    window->Startup(QStringLiteral("Rel.tlm"));
    QDir::setCurrent(cwd);
    ASSERT_TRUE(core::gFileOpen());
    EXPECT_EQ(core::Property_Get("FullFileName"), path);
    prompter.file(path);
    window->mnuFile_Click(4);
    EXPECT_TRUE(core::gFileOpen());
    EXPECT_EQ(core::Property_Get("FullFileName"), path);
    EXPECT_EQ(id(), QStringLiteral("tab11"));
    core::CloseDatafile();
    EXPECT_FALSE(Bytes(path).isEmpty());
}

TEST_F(ShellTest, AFileThatFailsToLoadEndsOnTheStartPage)
{
    startWithFile();
    window->mnuTab_Click(3);
    const QString other = CopyTemplate(dir, "Other.tlm");
    shell::Model().FireName = []() -> QString { throw std::runtime_error("Items table unreadable"); };
    prompter.clear();
    prompter.file(other);
    window->mnuFile_Click(2);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(prompter.messages()[0].text.contains("Items table unreadable"));
    EXPECT_FALSE(core::gFileOpen());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar"));
    EXPECT_EQ(id(), QString());
    EXPECT_FALSE(window->tabsLoaded());
    ASSERT_TRUE(window->startPageLoaded());
    EXPECT_FALSE(window->startPage()->isBackground());
    EXPECT_TRUE(window->startPage()->cmdOpen()->isVisible());
    EXPECT_FALSE(window->fileItem(4)->isEnabled());
    for (int top : {2, 3, 4})
        EXPECT_FALSE(window->topMenu(top)->isEnabled()) << top;
}

TEST_F(ShellTest, EditMenuOnAGridFollowsTheCellBeingEdited)
{
    startWithFile();
    QApplication::setActiveWindow(window.get());
    QClipboard* clip = QApplication::clipboard();
    auto makeGrid = [&] {
        auto* g = new grid::Grid(form());
        g->setCols(2);
        g->setRows(3);
        g->setFixedRows(1);
        g->setEditable(true);
        g->setText(1, 0, "Engine");
        g->resize(300, 120);
        g->show();
        g->setCurrentCell(2, 0);
        g->setFocus();
        return g;
    };

    window->mnuTab_Click(4);   // NVC Table: Edit menu on
    grid::Grid* g = makeGrid();
    ASSERT_EQ(QApplication::focusWidget(), g);
    clip->setText("unchanged");
    window->mnuEdit_Click(2);
    window->mnuEdit_Click(3);
    EXPECT_EQ(clip->text(), QStringLiteral("unchanged")) << "an empty cell is neither cut nor copied";
    window->mnuEdit_Click(4);
    EXPECT_EQ(g->text(2, 0), QString()) << "a grid not being edited takes no paste";

    g->setCurrentCell(1, 0);
    window->mnuEdit_Click(2);
    EXPECT_EQ(clip->text(), QStringLiteral("Engine"));
    EXPECT_EQ(g->text(1, 0), QString());

    g->setCurrentCell(2, 0);
    g->editCell();
    ASSERT_TRUE(g->isEditing());
    window->mnuEdit_Click(4);
    g->finishEdit();
    EXPECT_EQ(g->text(2, 0), QStringLiteral("Engine")) << "the cell being edited takes the paste";

    // With the Edit menu off its shortcuts are off too: the keys are the control's own.
    window->mnuTab_Click(6);   // Cost / Acre: Edit menu off
    g = makeGrid();
    const QString trace = core::JoinPath(core::LogFolder(), "Tolmar.LOG");
    const qsizetype before = Bytes(trace).size();
    QTest::keyClick(g, Qt::Key_V, Qt::ControlModifier);
    EXPECT_FALSE(Bytes(trace).mid(before).contains("mnuEdit_Click"));
    window->editItem(4)->trigger();
    EXPECT_FALSE(Bytes(trace).mid(before).contains("mnuEdit_Click"));
}
