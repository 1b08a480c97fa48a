// A user's first import: the program on a new analysis, the Import Data worksheet reached
// through the Worksheet menu, a sample Prep file picked with the keyboard, areas and units
// picked with the mouse. With TOLMAR_KEEP_PNG set to a folder, the main window is saved there
// before and after the import.

#include "core/g13rmas.h"
#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "model/g33fmus.h"
#include "platform/grid/grid.h"
#include "platform/ui/scriptedprompter.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm0_tolmar.h"
#include "shell/modelcaches.h"
#include "shell/worksheetforms.h"
#include "worksheets/common/worksheetform.h"
#include "worksheets/setup_situation/frm12import.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void Keep(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("TOLMAR_KEEP_PNG");
    if (!folder.isEmpty())
        window->grab().save(QDir(folder).filePath(name));
}

void Click(QListWidget* list, int index)
{
    list->scrollToItem(list->item(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
}

TEST(ImportJourney, TheSamplePrepFileFillsANewAnalysis)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bin = QCoreApplication::applicationDirPath();
    ASSERT_TRUE(QFile::copy(core::JoinPath(bin, "TLM.new"), dir.filePath("TLM.new")));
    ASSERT_TRUE(QDir(dir.path()).mkdir("Costs"));
    for (const QString& name : QDir(core::JoinPath(bin, "Costs")).entryList({"*.fcd"}))
        ASSERT_TRUE(QFile::copy(core::JoinPath(core::JoinPath(bin, "Costs"), name), dir.filePath("Costs/" + name)));
    const QString path = dir.filePath("Cedar Fire.tlm");
    ASSERT_TRUE(QFile::copy(dir.filePath("TLM.new"), path));
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    core::SetAppPath(dir.path());
    ui::ScriptedPrompter prompter;
    shell::RegisterWorksheetForms();

    {
        shell::frm0_Tolmar window;
        window.resize(1100, 760);
        window.show();
        window.Startup(path);
        ASSERT_TRUE(core::gFileOpen());

        window.tabItem(2)->trigger();
        auto* form = dynamic_cast<worksheets::setup_situation::frm12Import*>(shell::CurrentWorksheetForm());
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab12");
        EXPECT_EQ(form->grdFCD->rows(), 3);

        // Down from the header row onto the first file, as the keyboard would go.
        form->grdFCD->setFocus();
        QTest::keyClick(form->grdFCD, Qt::Key_Down);
        ASSERT_NE(form->prepFile(), nullptr);
        EXPECT_EQ(form->prepFile()->FileName(), "Cedar Basin.fcd");
        for (int i = 0; i < form->lstRMA->count(); ++i)
            Click(form->lstRMA, i);
        Click(form->lstFMU, 0);
        Click(form->lstFMU, 2);
        Click(form->lstFMU, 3);
        Keep(&window, "import-chosen.png");

        QTest::mouseClick(form->cmdImport, Qt::LeftButton);
        EXPECT_TRUE(prompter.messages().isEmpty());
        EXPECT_EQ(form->lstRMAList->count(), 4);
        EXPECT_EQ(form->lstFMUList->count(), 3);
        Click(form->lstFMUList, 1);
        Keep(&window, "import-done.png");

        // Leaving the worksheet drops the FMUs it cached; the next worksheet reads them afresh.
        window.tabItem(3)->trigger();
        EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab13");
        Keep(&window, "areas.png");
        EXPECT_EQ(model::FMUCount(), 3);
        EXPECT_EQ(core::GetRMAs().size(), 4);
        window.close();
    }
    if (core::gFileOpen())
        core::CloseDatafile();
    shell::ClearCollections();
    worksheets::gCurrentWorksheetID.clear();
    worksheets::gCurrentSection = 1;
    core::SetAppPath(QString());
}

} // namespace
