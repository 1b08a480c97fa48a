// The Comparison section of a filled analysis reached through the program's own window: each
// worksheet shows every alternative, and the decision taken on the last one is in the file
// after the worksheet is left. With TOLMAR_SCREENSHOTS set, the main window is saved on each.

#include "comparison_fixture.h"
#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "core/g8summary.h"
#include "core/u14properties.h"
#include "platform/chart/barchart.h"
#include "platform/grid/grid.h"
#include "platform/richtext/rtf.h"
#include "platform/ui/scriptedprompter.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm0_tolmar.h"
#include "shell/modelcaches.h"
#include "shell/worksheetforms.h"
#include "worksheets/comparison_complexity/frm62graphs.h"
#include "worksheets/comparison_complexity/frm63decisiontree.h"
#include "worksheets/comparison_complexity/frm64matrix.h"
#include "worksheets/comparison_complexity/frm65decision.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace worksheets::comparison_complexity;

namespace {

template <class Form> Form* Shown() { return dynamic_cast<Form*>(shell::CurrentWorksheetForm()); }

TEST(ComparisonJourney, EachWorksheetOfTheSectionShowsTheAnalysis)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bin = QCoreApplication::applicationDirPath();
    ASSERT_TRUE(QFile::copy(core::JoinPath(bin, "TLM.new"), dir.filePath("TLM.new")));
    const QString path = dir.filePath("Ridge Fire.tlm");
    QString error;
    ASSERT_TRUE(testsupport::CreateAnalysisFile(dir.filePath("TLM.new"), path, testsupport::kSmallAnalysis, &error))
        << error.toStdString();
    core::SetAppPath(dir.path());
    ui::ScriptedPrompter prompter;
    shell::RegisterWorksheetForms();
    {
        shell::frm0_Tolmar window;
        window.resize(1150, 820);
        window.show();
        window.Startup(path);
        ASSERT_TRUE(core::gFileOpen());
        window.sectionItem(6)->trigger();

        window.tabItem(2)->trigger();
        ASSERT_NE(Shown<frm62Graphs>(), nullptr);
        EXPECT_EQ(Shown<frm62Graphs>()->chtCosts()->rowCount(), 4);
        SaveShot(window, "journey-graphs");

        window.tabItem(3)->trigger();
        ASSERT_NE(Shown<frm63DecisionTree>(), nullptr);
        EXPECT_EQ(Shown<frm63DecisionTree>()->cboAlternative(2)->currentIndex(), 1);
        SaveShot(window, "journey-tree");

        window.tabItem(4)->trigger();
        ASSERT_NE(Shown<frm64Matrix>(), nullptr);
        EXPECT_EQ(Shown<frm64Matrix>()->Grid1()->cols(), 4 * 4 + 3);
        SaveShot(window, "journey-matrix");

        window.tabItem(5)->trigger();
        auto* decision = Shown<frm65Decision>();
        ASSERT_NE(decision, nullptr);
        decision->cboAlternatives()->setCurrentIndex(2);
        SaveShot(window, "journey-decision");
        window.tabItem(2)->trigger();   // leaving saves the decision texts
        EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab62");
        EXPECT_TRUE(prompter.messages().isEmpty());
        window.close();
    }
    if (core::gFileOpen())
        core::CloseDatafile();
    shell::ClearCollections();
    worksheets::gCurrentWorksheetID.clear();
    worksheets::gCurrentSection = 1;

    // What the next session finds in the file.
    ASSERT_TRUE(core::OpenDatafile(path));
    testsupport::ClearModelCaches();
    const auto selected = model::GetSelectedAlternative();
    ASSERT_NE(selected, nullptr);
    EXPECT_EQ(selected->ItemName(), "C");
    EXPECT_EQ(richtext::RtfToPlainText(core::GetSummaryItem(291)->Body()).count("Target:"), 0);   // C has no Fallback
    core::CloseDatafile();
    testsupport::ClearModelCaches();
    core::SetAppPath(QString());
}

} // namespace
