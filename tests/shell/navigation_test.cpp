#include "shellfixture.h"

#include "platform/label/formattedlabel.h"
#include "platform/grid/grid.h"
#include "shell/frm01start.h"
#include "shell/frm11intro.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

using namespace shelltest;
using shell::WorksheetInfo;

namespace {

QStringList Clears(const WorksheetInfo& w)
{
    QStringList out;
    for (shell::CacheClear c : w.clears) {
        switch (c) {
        case shell::CacheClear::FMUs: out << "ClearFMUs"; break;
        case shell::CacheClear::SRTypes: out << "ClearSRTypes"; break;
        case shell::CacheClear::Objectives: out << "ClearObjectives"; break;
        case shell::CacheClear::Alternatives: out << "ClearAlternatives"; break;
        }
    }
    return out;
}

// What leaving each worksheet must do: the save, then the clears after the form is unloaded.
struct Leave {
    QString id;
    QString save;          // "" none; "Save <id>" the form's own; else the module operation
    QStringList clears;
};

const QList<Leave> kLeave = {
    {"tab12", "", {"ClearFMUs", "ClearAlternatives"}},
    {"tab13", "SaveRMAs", {}},
    {"tab14", "Save tab14", {}},
    {"tab15", "Save tab15", {"ClearSRTypes", "ClearAlternatives"}},
    {"tab16", "Save tab16", {}},
    {"tab22", "SaveSituation", {}},
    {"tab23", "SaveSituation", {}},
    {"tab24", "Save tab24", {"ClearAlternatives"}},
    {"tab32", "Save tab32", {"ClearAlternatives"}},
    {"tab33", "Save tab33", {"ClearObjectives", "ClearAlternatives"}},
    {"tab34", "Save tab34", {}},
    {"tab42", "SaveAlternatives", {"ClearAlternatives"}},
    {"tab43", "Save tab43", {}},
    {"tab44", "Save tab44", {}},
    {"tab45", "Save tab45", {}},
    {"tab52", "Save tab52", {"ClearAlternatives"}},
    {"tab53", "Save tab53", {"ClearAlternatives"}},
    {"tab54", "Save tab54", {"ClearAlternatives"}},
    {"tab55a", "", {}},
    {"tab55b", "", {}},
    {"tab56", "Save tab56", {}},
    {"tab62", "", {}},
    {"tab63", "", {}},
    {"tab64", "", {}},
    {"tab65", "SaveSummary", {}},
    {"tab82", "SaveSummary", {}},
    {"tab83", "", {}},
    {"tab72", "Save tab72", {}},
    {"tab73", "", {}},
    {"tab74", "Save tab74", {}},
};

} // namespace

TEST_F(ShellTest, StartWithoutFileShowsTheStartPageWithMenusOff)
{
    window->Startup(QString());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar Advanced"));
    ASSERT_TRUE(window->startPageLoaded());
    shell::frm01Start* start = window->startPage();
    EXPECT_TRUE(start->isVisible());
    EXPECT_TRUE(start->cmdNew()->isVisible());
    EXPECT_EQ(start->cmdNew()->text(), QStringLiteral("&New"));
    EXPECT_EQ(start->cmdOpen()->text(), QStringLiteral("&Open"));
    EXPECT_EQ(start->cmdExit()->text(), QStringLiteral("E&xit"));
    EXPECT_TRUE(start->flbStart()->plainText().startsWith("To create a new Tolmar file, click the New button."));
    EXPECT_EQ(start->geometry(), window->client()->rect());

    EXPECT_FALSE(window->fileItem(4)->isEnabled());
    for (int top : {2, 3, 4})
        EXPECT_FALSE(window->topMenu(top)->isEnabled()) << top;
    for (int item : {1, 2, 6, 9})
        EXPECT_TRUE(window->fileItem(item)->isEnabled()) << item;
    EXPECT_TRUE(window->topMenu(9)->isEnabled());
    EXPECT_FALSE(window->tabsLoaded());
    EXPECT_EQ(id(), QString());
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(ShellTest, MenusCarryTheirCaptionsAndShortcuts)
{
    const QStringList tops = {window->topMenu(1)->title(), window->topMenu(2)->title(), window->topMenu(3)->title(),
                              window->topMenu(4)->title(), window->topMenu(9)->title()};
    EXPECT_EQ(tops, (QStringList{"&File", "&Section", "&Worksheet", "&Edit", "&Help"}));
    EXPECT_EQ(window->fileItem(4)->text(), QStringLiteral("&Save As..."));
    EXPECT_EQ(window->fileItem(6)->text(), QStringLiteral("Printer Setup"));
    EXPECT_EQ(window->sectionItem(8)->text(), QStringLiteral("Comple&xity Analysis"));
    EXPECT_EQ(window->editItem(2)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_X));
    EXPECT_EQ(window->editItem(3)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(window->editItem(4)->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_V));
    EXPECT_EQ(window->helpItem(1)->text(), QStringLiteral("Current &Worksheet   F1"));
    EXPECT_TRUE(window->helpItem(1)->shortcut().isEmpty()) << "F1 is text in the caption, not the item's shortcut";
}

TEST_F(ShellTest, BadPathOnTheCommandLineEndsOnTheStartPage)
{
    window->Startup(dir.filePath("no such folder/Fire 9.tlm"));
    EXPECT_FALSE(prompter.messages().isEmpty()) << "the open routine says why";
    EXPECT_FALSE(core::gFileOpen());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar Advanced"));
    ASSERT_TRUE(window->startPageLoaded());
    EXPECT_FALSE(window->startPage()->isBackground());
    EXPECT_FALSE(window->fileItem(4)->isEnabled());
    for (int top : {2, 3, 4})
        EXPECT_FALSE(window->topMenu(top)->isEnabled()) << top;
}

TEST_F(ShellTest, StartWithFileLoadsItOnTheSetupIntroduction)
{
    const QString path = startWithFile();
    ASSERT_TRUE(core::gFileOpen());
    EXPECT_EQ(core::Property_Get("FullFileName"), path);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar Advanced:  [Fire1.tlm]  Cedar Ridge"));
    EXPECT_EQ(id(), QStringLiteral("tab11"));
    EXPECT_EQ(worksheets::gCurrentSection, 1);
    EXPECT_TRUE(window->startPage()->isBackground());
    EXPECT_FALSE(window->startPage()->pnlButtons()->isVisible());
    EXPECT_FALSE(window->startPage()->cmdNew()->isVisible());
    EXPECT_TRUE(window->tabsForm()->isVisible());
    EXPECT_EQ(tabs()->vsTab1()->currentTab(), 1);
    EXPECT_EQ(tabs()->vsTab2()->currentTab(), 1);
    EXPECT_TRUE(window->fileItem(4)->isEnabled());
    EXPECT_TRUE(window->topMenu(2)->isEnabled());
    EXPECT_TRUE(window->topMenu(3)->isEnabled());
    EXPECT_FALSE(editMenu());
    EXPECT_EQ(checkedSection(), 1);
    EXPECT_EQ(checkedWorksheet(), 1);
    const QStringList clears = {"ClearItems",  "ClearFMUs",         "ClearNVCResources", "ClearThreatenedItems",
                                "ClearSRTypes", "ClearSafetyIssues", "ClearObjectives",   "ClearAlternatives",
                                "ResetSRUseKey"};
    EXPECT_EQ(Log().mid(0, clears.size()), clears) << "every cache dropped, in the fixed order, before anything is shown";
}

TEST_F(ShellTest, EveryWorksheetSavesAndClearsAsItsTableSays)
{
    startWithFile();
    for (const Leave& leave : kLeave) {
        const WorksheetInfo* info = shell::FindWorksheet(leave.id);
        ASSERT_NE(info, nullptr) << leave.id.toStdString();
        fmus = leave.id == "tab55a" ? 1 : 2;
        window->mnuSection_Click(info->section == 1 ? 2 : 1);   // come in from another section
        window->mnuSection_Click(info->section);
        window->mnuTab_Click(info->worksheet);
        ASSERT_EQ(id(), leave.id);
        ASSERT_NE(form(), nullptr) << leave.id.toStdString();
        EXPECT_EQ(editMenu(), info->editMenu) << leave.id.toStdString();
        EXPECT_EQ(checkedWorksheet(), info->worksheet) << leave.id.toStdString();
        EXPECT_EQ(checkedSection(), info->section) << leave.id.toStdString();
        EXPECT_EQ(tabs()->vsTab2()->currentTab(), info->worksheet);
        const QRect g = form()->geometry();
        EXPECT_EQ(g.bottom() + 1, tabs()->y() + 1) << "the worksheet ends 15 twips below the top of the tab rows";

        Log().clear();
        window->mnuTab_Click(1);
        QStringList expected;
        if (!leave.save.isEmpty())
            expected << leave.save;
        expected << "Unload " + leave.id << leave.clears;
        EXPECT_EQ(Log(), expected) << leave.id.toStdString();
        EXPECT_EQ(Clears(*info), leave.clears);
        EXPECT_EQ(id(), QStringLiteral("tab11"));
    }
}

TEST_F(ShellTest, EveryWorksheetIsReachableByClickingTheTabRows)
{
    startWithFile();
    fmus = 2;
    for (int section = 1; section <= 8; ++section) {
        QTabBar* sections = tabs()->vsTab1()->bar();
        QTest::mouseClick(sections, Qt::LeftButton, {}, sections->tabRect(section).center());
        ASSERT_EQ(worksheets::gCurrentSection, section);
        EXPECT_EQ(id(), QStringLiteral("tab11"));
        QTabBar* sheets = tabs()->vsTab2()->bar();
        for (int w = 2; w < tabs()->vsTab2()->count(); ++w) {
            QTest::mouseClick(sheets, Qt::LeftButton, {}, sheets->tabRect(w).center());
            const WorksheetInfo* info = shell::WorksheetAt(section, w);
            ASSERT_NE(info, nullptr);
            EXPECT_EQ(id(), info->id) << section << "/" << w;
            EXPECT_TRUE(tabs()->isEnabled()) << "the rows take input again once the worksheet is up";
        }
    }
}

TEST_F(ShellTest, LeavingASectionFromAWorksheetSavesTwiceAndShowsTheIntroductionTwice)
{
    startWithFile();
    window->mnuTab_Click(4);   // NVC Table, saved by its form
    Log().clear();
    window->mnuSection_Click(3);
    EXPECT_EQ(Log().count("Save tab14"), 2);
    EXPECT_EQ(Log().count("Unload tab14"), 1);
    EXPECT_EQ(id(), QStringLiteral("tab11"));
    EXPECT_EQ(worksheets::gCurrentSection, 3);

    Log().clear();
    window->mnuSection_Click(3);
    EXPECT_TRUE(Log().isEmpty()) << "choosing the section shown does nothing";
    window->mnuSection_Click(5);
    EXPECT_TRUE(Log().isEmpty()) << "from the introduction nothing is saved";
    EXPECT_EQ(checkedSection(), 5);
}

TEST_F(ShellTest, SectionRowsRewriteTheWorksheetRowAndMenu)
{
    startWithFile();
    struct Case {
        int section, fmus;
        QString captions;
        QList<bool> visible;   // Worksheet menu items 4, 5, 6
        QString item5;
    };
    const QList<Case> cases = {
        {4, 1, "|Introduction|Identify Alternatives|Outcomes|Probabilities", {true, false, false}, {}},
        {4, 2, "|Introduction|Identify Alternatives|Outcomes|Probabilities|FMUs", {true, true, false}, "&5 FMUs"},
        {7, 0, "|Introduction|Topics|Preview and Print", {false, false, false}, {}},
        {5, 1, "|Introduction|Safety Ratings|Objective Ratings|Values Protected|Natural Resource Impacts|Costs",
         {true, true, true}, "&5 Natural Resource Impacts"},
        {6, 0, "|Introduction|Graph|Decision Tree|Matrix|Decision", {true, true, false}, "&5 Decision"},
    };
    for (const Case& c : cases) {
        fmus = c.fmus;
        window->mnuSection_Click(1);
        window->mnuSection_Click(c.section);
        EXPECT_EQ(tabs()->vsTab2()->captions(), c.captions) << c.section;
        for (int i = 0; i < 3; ++i)
            EXPECT_EQ(window->tabItem(4 + i)->isVisible(), c.visible[i]) << c.section << " item " << 4 + i;
        if (!c.item5.isEmpty()) {
            EXPECT_EQ(window->tabItem(5)->text(), c.item5);
        }
        EXPECT_EQ(window->tabItem(1)->text(), QStringLiteral("&1 Introduction"));
    }

    // The FMUs page and the natural-resource pages follow the FMU count.
    fmus = 1;
    window->mnuSection_Click(4);
    window->mnuTab_Click(5);
    EXPECT_EQ(id(), QStringLiteral("tab11")) << "no FMUs page with one FMU";
    window->mnuSection_Click(5);
    window->mnuTab_Click(5);
    EXPECT_EQ(id(), QStringLiteral("tab55a"));
    fmus = 3;
    window->mnuTab_Click(6);
    window->mnuTab_Click(5);
    EXPECT_EQ(id(), QStringLiteral("tab55b"));
}

TEST_F(ShellTest, IntroductionOfEverySection)
{
    startWithFile();
    struct Case {
        int section;
        QString title;
        int help;
        QString opening;
        int worksheets;
    };
    const QList<Case> cases = {
        {1, "Setup Section", 4110, "The Setup Section is for preparing information that will be used later in the Tolmar process.  If you have", 6},
        {2, "Situation Section", 4210, "In the Situation Section you provide information about the fire.", 4},
        {3, "Objectives Section", 4310, "In the Objectives Section you identify and prioritize the suppression objectives for this fire.", 4},
        {4, "Alternatives Section", 4410, "In the Alternatives Section you identify and describe each of the alternatives to be considered.", 5},
        {5, "Analysis Section", 4510, "The Analysis Section is where you determine the costs and impacts of each outcome.", 6},
        {6, "Comparison Section", 4610, "The Comparison Section shows how the alternatives compare, and allows you to select an alternative.", 5},
        {7, "Report Section", 4810, "In the Report Section you add any final text and select what to preview and print.", 3},
        {8, "Complexity Section", 4710, "In the Complexity Section you identify the complexity elements for this fire and determine the overall complexity.", 4},
    };
    fmus = 0;
    for (const Case& c : cases) {
        window->mnuSection_Click(c.section);
        auto* intro = qobject_cast<shell::frm11Intro*>(shell::CurrentWorksheetForm());
        ASSERT_NE(intro, nullptr);
        EXPECT_EQ(intro->lblTitle()->text(), c.title);
        EXPECT_EQ(intro->helpContextID(), c.help);
        const QStringList lines = intro->flbDescription()->plainText().split('\n');
        ASSERT_EQ(lines.size(), c.worksheets + 1) << c.title.toStdString();
        EXPECT_TRUE(lines[0].startsWith(c.opening)) << lines[0].toStdString();
        EXPECT_EQ(lines[1], QStringLiteral("Worksheet 1: Introduction.  This page."));
        for (int w = 2; w <= c.worksheets; ++w)
            EXPECT_TRUE(lines[w].startsWith(QStringLiteral("Worksheet %1: ").arg(w))) << lines[w].toStdString();
        const auto paragraphs = label::ParseMarkup(intro->flbDescription()->caption());
        EXPECT_EQ(paragraphs[1].beforeTwips, 180);
        EXPECT_EQ(paragraphs[2].beforeTwips, 90);
        EXPECT_FALSE(editMenu());
        EXPECT_EQ(checkedSection(), c.section);
        EXPECT_EQ(checkedWorksheet(), 1);
    }
    EXPECT_TRUE(shell::frm11Intro::SectionDescription(4).endsWith("If the fire will not affect multiple FMUs, this page is not shown."));
}

TEST_F(ShellTest, AFailingSaveIsReportedAndTheChangeGoesOn)
{
    startWithFile();
    window->mnuTab_Click(5);
    ASSERT_NE(form(), nullptr);
    form()->onSave = [] { throw std::runtime_error("disk full"); };
    window->mnuTab_Click(6);
    EXPECT_EQ(id(), QStringLiteral("tab16"));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(prompter.messages()[0].text.contains("disk full"));
    EXPECT_TRUE(Log().contains("ClearSRTypes")) << "the page left is unloaded with its clears";

    // A File command whose save fails stops there, so the edits are not dropped with the file.
    form()->onSave = [] { throw std::runtime_error("disk full"); };
    prompter.clear();
    window->mnuFile_Click(2);
    EXPECT_TRUE(prompter.dialogs().isEmpty());
    EXPECT_EQ(id(), QStringLiteral("tab16"));
    EXPECT_TRUE(core::gFileOpen());
}

TEST_F(ShellTest, AWorksheetSaveIsStoredWholeOrNotAtAll)
{
    startWithFile();
    window->mnuTab_Click(4);
    ASSERT_NE(form(), nullptr);
    const auto write = [](int key, const char* name) {
        core::gDatabase()->Execute(QStringLiteral("INSERT INTO Items (ItemKey, ItemName) VALUES (?, ?)"), {key, name});
    };
    const auto named = [](const char* name) {
        return core::gDatabase()
            ->OpenRecordset(QStringLiteral("SELECT COUNT(*) FROM Items WHERE ItemName = ?"), {name})
            ->Field(0)
            .toInt();
    };
    form()->onSave = [&] {
        write(901, "Half");
        throw std::runtime_error("disk full");
    };
    window->mnuTab_Click(5);
    EXPECT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(named("Half"), 0) << "a save that fails part way stores none of it";

    form()->onSave = [&] {
        write(901, "Whole");
        write(902, "Whole");
    };
    window->mnuTab_Click(6);
    EXPECT_EQ(named("Whole"), 2);
    EXPECT_EQ(core::gDatabase()->TransactionDepth(), 0);
}

TEST_F(ShellTest, ARegisteredWorksheetGetsTheHelpContextOfItsPlace)
{
    startWithFile();
    window->mnuTab_Click(4);  // Setup, worksheet 4
    ASSERT_NE(form(), nullptr);
    EXPECT_EQ(form()->helpContextID(), 4140);
}

TEST_F(ShellTest, MenuChecksStayOnTheSectionAndWorksheetChosenAgain)
{
    startWithFile();
    window->sectionItem(3)->trigger();
    window->tabItem(2)->trigger();
    ASSERT_EQ(id(), QStringLiteral("tab32"));
    Log().clear();
    window->sectionItem(3)->trigger();
    window->tabItem(2)->trigger();
    EXPECT_TRUE(Log().isEmpty()) << "the page shown chosen again does nothing";
    EXPECT_EQ(checkedSection(), 3);
    EXPECT_EQ(checkedWorksheet(), 2);
}

TEST_F(ShellTest, AnEditInProgressIsStoredWhenTheWorksheetIsLeft)
{
    startWithFile();
    QApplication::setActiveWindow(window.get());
    window->mnuTab_Click(4);
    auto* g = new grid::Grid(form());
    g->setCols(2);
    g->setRows(2);
    g->setFixedRows(1);
    g->setEditable(true);
    g->resize(300, 100);
    g->show();
    g->setCurrentCell(1, 1);
    g->setFocus();
    QString saved = "not saved";
    form()->onSave = [&] { saved = g->text(1, 1); };

    g->editCell();
    ASSERT_TRUE(g->isEditing());
    QTest::keyClicks(QApplication::focusWidget(), "1200");
    QTabBar* sheets = tabs()->vsTab2()->bar();
    QTest::mouseClick(sheets, Qt::LeftButton, {}, sheets->tabRect(5).center());
    EXPECT_EQ(id(), QStringLiteral("tab15"));
    EXPECT_EQ(saved, QStringLiteral("1200")) << "the cell being edited is ended before the save";
}

// A click on a tab gives the tab rows no focus: the worksheet shown takes what is typed next.
// Stepping through the rows with the arrow keys keeps the focus on them.
TEST_F(ShellTest, AWorksheetShownTakesTheKeyboardUnlessTheTabRowsHaveIt)
{
    startWithFile();
    QApplication::setActiveWindow(window.get());
    QTabBar* sheets = tabs()->vsTab2()->bar();
    // The rows hold the focus, as they do once the window is activated.
    sheets->setFocus(Qt::ActiveWindowFocusReason);
    QTest::mouseClick(sheets, Qt::LeftButton, {}, sheets->tabRect(3).center());
    ASSERT_NE(form(), nullptr);
    EXPECT_EQ(QApplication::focusWidget(), form()->edit);
    QTest::keyClicks(QApplication::focusWidget(), "typed");
    EXPECT_EQ(form()->edit->text(), QStringLiteral("typed"));

    // From a control of one worksheet to the next by a click, and by the Worksheet menu.
    QTest::mouseClick(sheets, Qt::LeftButton, {}, sheets->tabRect(4).center());
    EXPECT_EQ(QApplication::focusWidget(), form()->edit);
    window->mnuTab_Click(2);
    EXPECT_EQ(QApplication::focusWidget(), form()->edit);

    sheets->setFocus(Qt::TabFocusReason);
    QTest::keyClick(sheets, Qt::Key_Right);
    EXPECT_EQ(id(), shell::WorksheetAt(worksheets::gCurrentSection, 3)->id);
    EXPECT_EQ(QApplication::focusWidget(), sheets);
    QTest::keyClick(sheets, Qt::Key_Right);
    EXPECT_EQ(id(), shell::WorksheetAt(worksheets::gCurrentSection, 4)->id);
    EXPECT_EQ(QApplication::focusWidget(), sheets);

    QTabBar* sections = tabs()->vsTab1()->bar();
    sections->setFocus(Qt::TabFocusReason);
    QTest::keyClick(sections, Qt::Key_Right);
    EXPECT_EQ(worksheets::gCurrentSection, 2);
    EXPECT_EQ(QApplication::focusWidget(), sections);
}

TEST_F(ShellTest, AnFMUCountThatCannotBeReadLeavesTheAlternativesRowConsistent)
{
    startWithFile();
    shell::Model().FMUCount = []() -> int { throw std::runtime_error("FMZList unreadable"); };
    window->mnuSection_Click(4);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.contains("FMZList unreadable"));
    EXPECT_EQ(id(), QStringLiteral("tab11")) << "the section's introduction still comes up";
    EXPECT_EQ(tabs()->vsTab2()->captions(), QStringLiteral("|Introduction|Identify Alternatives|Outcomes|Probabilities"));
    EXPECT_EQ(window->tabItem(2)->text(), QStringLiteral("&2 Identify Alternatives"));
    window->mnuTab_Click(2);
    EXPECT_EQ(id(), QStringLiteral("tab42"));
}
