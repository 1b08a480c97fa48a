// A fire manager's pass through the Analysis section of a filled analysis in the main window:
// a safety rating dragged, a level of protection typed, the natural resource impacts of the
// FMUs looked at and the FIL proportions opened and closed, each stored as the worksheet is
// left. With TOLMAR_KEEP_PNG set to a folder, the main window is saved there on each worksheet.

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "model/c36threateneditem.h"
#include "model/c41objective.h"
#include "model/c53outcome.h"
#include "platform/grid/grid.h"
#include "platform/ui/scriptedprompter.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm0_tolmar.h"
#include "shell/modelcaches.h"
#include "shell/worksheetforms.h"
#include "support/analysis_builder.h"
#include "worksheets/analysis/frm53ratings.h"
#include "worksheets/analysis/frm54valuesprotected.h"
#include "worksheets/analysis/frm55filpercents.h"
#include "worksheets/analysis/frm55natresfmu.h"
#include "worksheets/common/worksheetform.h"

#include <QAction>
#include <QComboBox>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

void Keep(QWidget& window, const QString& name)
{
    QApplication::processEvents();
    const QString folder = qEnvironmentVariable("TOLMAR_KEEP_PNG");
    if (!folder.isEmpty())
        window.grab().save(QDir(folder).filePath(name));
}

QPoint At(grid::Grid& g, int row, int col, double fraction)
{
    const QRect r = g.visualRect(g.gridModel()->index(row, col));
    return QPoint(r.left() + int(std::lround(fraction * r.width())), r.center().y());
}

QVariant Stored(const QString& sql)
{
    auto rs = core::gDatabase()->OpenRecordset(sql);
    return rs->Eof() ? QVariant() : rs->Field(0);
}

QByteArray Hash(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256) : QByteArray();
}

TEST(AnalysisJourney, RatingsLevelsAndImpactsThroughTheMainWindow)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath("Ridge Fire.tlm");
    QString error;
    ASSERT_TRUE(testsupport::CreateAnalysisFile(core::JoinPath(core::AppPath(), "TLM.new"), path,
                                                testsupport::kSmallAnalysis, &error))
        << error.toStdString();
    ui::ScriptedPrompter prompter;
    shell::RegisterWorksheetForms();
    {
        shell::frm0_Tolmar window;
        window.resize(1200, 860);
        window.show();
        window.Startup(path);
        ASSERT_TRUE(core::gFileOpen());
        window.resize(1200, 860);
        window.sectionItem(5)->trigger();

        // Safety Ratings: the second outcome's bar dragged to seven tenths.
        window.tabItem(2)->trigger();
        auto* ratings = dynamic_cast<worksheets::frm52SafetyRatings*>(shell::CurrentWorksheetForm());
        ASSERT_NE(ratings, nullptr);
        grid::Grid& g = *ratings->Grid1();
        const int outcomeKey = g.rowObject<model::c53Outcome>(2)->ItemKey();
        const int issueKey = ratings->currentCriterion()->ItemKey();
        QTest::mousePress(g.viewport(), Qt::LeftButton, {}, At(g, 2, 4, 0.3));
        QTest::mouseMove(g.viewport(), At(g, 2, 4, 0.7));
        QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, At(g, 2, 4, 0.7));
        EXPECT_EQ(g.text(2, 3), "7");
        Keep(window, "journey-tab52.png");

        // Values Protected: leaving the ratings stored the one dragged.
        window.tabItem(4)->trigger();
        EXPECT_EQ(Stored(QString("SELECT Value FROM Scores WHERE OutcomeKey = %1 AND CriterionKey = %2")
                             .arg(outcomeKey)
                             .arg(issueKey))
                      .toDouble(),
                  7.0);
        auto* protectedForm = dynamic_cast<worksheets::frm54ValuesProtected*>(shell::CurrentWorksheetForm());
        ASSERT_NE(protectedForm, nullptr);
        const int protectedOutcome = protectedForm->currentOutcome()->ItemKey();
        const int protectedItem = protectedForm->currentItem()->ItemKey();
        QLineEdit* level = protectedForm->cboProbability()->lineEdit();
        level->setFocus();
        level->selectAll();
        QTest::keyClicks(level, "Partly (50%)");
        Keep(window, "journey-tab54.png");

        // Natural Resource Impacts of the two FMUs; the level was stored on the way.
        window.tabItem(5)->trigger();
        EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab55b");
        EXPECT_EQ(Stored(QString("SELECT Protection FROM ValuesProtected WHERE OutcomeKey = %1 AND ItemKey = %2")
                             .arg(protectedOutcome)
                             .arg(protectedItem))
                      .toInt(),
                  50);
        auto* impacts = dynamic_cast<worksheets::frm55NatResFMU*>(shell::CurrentWorksheetForm());
        ASSERT_NE(impacts, nullptr);
        EXPECT_FALSE(impacts->lblImpactPerAcre()->text().isEmpty());
        Keep(window, "journey-tab55b.png");

        // The FIL proportions opened over the window and closed untouched change nothing.
        const QByteArray before = Hash(path);
        bool shown = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<worksheets::frm55FILPercents*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            shown = true;
            EXPECT_TRUE(window.frameGeometry().contains(dialog->frameGeometry().center()));
            Keep(*dialog, "journey-fil.png");
            QTest::keyClick(dialog, Qt::Key_Escape);
        });
        QTest::mouseClick(impacts->cmdFIL(), Qt::LeftButton);
        EXPECT_TRUE(shown);
        EXPECT_EQ(Hash(path), before);
        // The built analysis gives its outcomes amounts of their own under one setting for all:
        // closing asks whether those shown go to every burn area, and No (the default) keeps them.
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0].buttons, ui::Buttons::YesNo);
        window.close();
    }
    if (core::gFileOpen())
        core::CloseDatafile();
    shell::ClearCollections();
    worksheets::gCurrentWorksheetID.clear();
    worksheets::gCurrentSection = 1;
}

} // namespace
