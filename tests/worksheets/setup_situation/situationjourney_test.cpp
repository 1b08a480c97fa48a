// A fire manager's pass through the Situation section of a filled analysis: the fire name
// retyped with the title bar following, the conditions looked over, a loss pasted in.
// With TOLMAR_KEEP_PNG set to a folder, the main window is saved there on each worksheet.

#include "core/g2situation.h"
#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "platform/grid/grid.h"
#include "platform/ui/scriptedprompter.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm0_tolmar.h"
#include "shell/modelcaches.h"
#include "shell/worksheetforms.h"
#include "support/analysis_builder.h"
#include "worksheets/common/worksheetform.h"
#include "worksheets/setup_situation/frm22general.h"
#include "worksheets/setup_situation/frm23situation.h"
#include "worksheets/setup_situation/frm24valuesatrisk.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

void Keep(QWidget* window, const QString& name)
{
    const QString folder = qEnvironmentVariable("TOLMAR_KEEP_PNG");
    if (folder.isEmpty())
        return;
    QCoreApplication::processEvents();   // the layouts settle before anything is painted
    window->grab().save(QDir(folder).filePath(name));
}

TEST(SituationJourney, TheFireNameHeadsTheWindowAsItIsTyped)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString bin = QCoreApplication::applicationDirPath();
    ASSERT_TRUE(QFile::copy(core::JoinPath(bin, "TLM.new"), dir.filePath("TLM.new")));
    const QString path = dir.filePath("Cedar Ridge.tlm");
    QString error;
    ASSERT_TRUE(testsupport::CreateAnalysisFile(dir.filePath("TLM.new"), path, testsupport::kSmallAnalysis, &error))
        << error.toStdString();
    ASSERT_TRUE(core::OpenDatafile(path));
    testsupport::BuildSituation();
    core::CloseDatafile();
    testsupport::ClearModelCaches();
    core::SetAppPath(dir.path());
    ui::ScriptedPrompter prompter;
    shell::RegisterWorksheetForms();
    const QString title = QStringLiteral("Tolmar Advanced:  [Cedar Ridge.tlm]  ");

    {
        shell::frm0_Tolmar window;
        window.resize(1180, 780);
        window.show();
        QApplication::setActiveWindow(&window);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.Startup(path);
        ASSERT_TRUE(core::gFileOpen());
        EXPECT_EQ(window.windowTitle(), title + "Cedar Ridge");

        window.sectionItem(2)->trigger();
        window.tabItem(2)->trigger();
        auto* general = dynamic_cast<worksheets::frm22General*>(shell::CurrentWorksheetForm());
        ASSERT_NE(general, nullptr);
        EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab22");
        Keep(&window, "situation-general.png");

        QLineEdit* name = general->box(worksheets::frm22General::Name);
        EXPECT_EQ(name->text(), "Cedar Ridge");
        name->setFocus();
        name->end(false);
        QStringList seen;
        for (const char* key : {" ", "C", "o", "m", "p"}) {
            QTest::keyClicks(name, key);
            seen << window.windowTitle();
        }
        EXPECT_EQ(seen, QStringList({title + "Cedar Ridge ", title + "Cedar Ridge C", title + "Cedar Ridge Co",
                                     title + "Cedar Ridge Com", title + "Cedar Ridge Comp"}));
        name->selectAll();
        QTest::keyClick(name, Qt::Key_Backspace);
        EXPECT_EQ(window.windowTitle(), title);
        QTest::keyClicks(name, "Cedar Ridge Complex");
        EXPECT_EQ(window.windowTitle(), title + "Cedar Ridge Complex");

        // Leaving stores the name; the next worksheet shows the topics of the analysis.
        window.tabItem(3)->trigger();
        auto* conditions = dynamic_cast<worksheets::frm23Situation*>(shell::CurrentWorksheetForm());
        ASSERT_NE(conditions, nullptr);
        EXPECT_EQ(conditions->lstTopics()->count(), 6);
        EXPECT_EQ(conditions->lblInstructions()->text(),
                  "Give the forecast for the next 72 hours and any red flag warnings.");
        Keep(&window, "situation-conditions.png");

        window.tabItem(4)->trigger();
        auto* values = dynamic_cast<worksheets::frm24ValuesAtRisk*>(shell::CurrentWorksheetForm());
        ASSERT_NE(values, nullptr);
        EXPECT_EQ(values->grdItems()->rows(), 1 + testsupport::kSmallAnalysis.valuesAtRisk);
        EXPECT_FALSE(values->pnlTotal()->text().isEmpty());
        Keep(&window, "situation-values.png");

        // Edit > Paste reaches the box of the loss, which takes it as typed.
        values->cboDamage()->setFocus();
        values->cboDamage()->lineEdit()->selectAll();
        QGuiApplication::clipboard()->setText("75000");
        window.editItem(4)->trigger();
        EXPECT_EQ(values->cboDamage()->currentText(), "75000");
        EXPECT_EQ(values->grdItems()->text(1, 1), "75,000");
        EXPECT_EQ(values->grdItems()->text(1, 3), "3,800");   // at 5%
        window.close();
    }
    ASSERT_TRUE(core::OpenDatafile(path));
    EXPECT_EQ(core::GetSituationItem(11)->Body(), "Cedar Ridge Complex");
    core::CloseDatafile();
    shell::ClearCollections();
    worksheets::gCurrentWorksheetID.clear();
    worksheets::gCurrentSection = 1;
    core::SetAppPath(QString());
}

} // namespace
