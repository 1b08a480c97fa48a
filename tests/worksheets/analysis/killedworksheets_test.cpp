// The program killed at any moment while a user works the worksheets in the main window leaves
// a data file that opens sound, holding every edit stored before the kill wholly and none of
// the one under way in part. The edits go through the worksheets' own save routes: the
// Probabilities worksheet stores the alternative left when another is chosen, the Values
// Protected worksheet the value left when another value or outcome is chosen, and the shell
// stores each worksheet as it is left.
//
// A long run:
//   TOLMAR_CRASH_TRIALS=300 ws_analysis_tests --gtest_filter='KilledWorksheets.*'

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "platform/dao/dao.h"
#include "platform/grid/grid.h"
#include "platform/ui/scriptedprompter.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm0_tolmar.h"
#include "shell/modelcaches.h"
#include "shell/worksheetforms.h"
#include "support/analysis_builder.h"
#include "support/killharness.h"
#include "worksheets/analysis/frm54valuesprotected.h"
#include "worksheets/common/worksheetform.h"
#include "worksheets/objectives_alternatives/frm44probabilities.h"

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace {

std::unique_ptr<shell::frm0_Tolmar>& Window()
{
    static std::unique_ptr<shell::frm0_Tolmar> window;
    return window;
}

// Goes to another worksheet; leaving one stores it.
void Show(int section, int worksheet)
{
    testsupport::SaveMark saving;
    Window()->mnuSection_Click(section);
    Window()->mnuTab_Click(worksheet);
}

void EditProbabilities(int step)
{
    Show(4, 4);
    auto* form = dynamic_cast<worksheets::frm44Probabilities*>(shell::CurrentWorksheetForm());
    if (!form)
        throw std::runtime_error("the Probabilities worksheet is not shown");
    const int count = form->lstAlternatives()->count();
    for (int row = 0; row < count; ++row) {
        {
            // Choosing another alternative stores the one left.
            testsupport::SaveMark saving;
            form->lstAlternatives()->setCurrentRow(row);
        }
        form->txtSuccess(model::OutcomeKind::Target)->setText(QString::number((step * 7 + row * 13) % 101));
        form->txtRationale(model::OutcomeKind::Target)->setPlainText(QStringLiteral("step %1, alternative %2").arg(step).arg(row));
    }
}

void EditValuesProtected(int step)
{
    Show(5, 4);
    auto* form = dynamic_cast<worksheets::frm54ValuesProtected*>(shell::CurrentWorksheetForm());
    if (!form)
        throw std::runtime_error("the Values Protected worksheet is not shown");
    grid::Grid& outcomes = *form->grdOutcomes();
    grid::Grid& items = *form->grdItems();
    for (int o = 1; o < std::min(outcomes.rows(), 4); ++o) {
        {
            testsupport::SaveMark saving;
            outcomes.setCurrentCell(o, 0);
        }
        for (int r = 1; r < items.rows(); ++r) {
            {
                testsupport::SaveMark saving;
                items.setCurrentCell(r, 0);
            }
            form->cboProbability()->lineEdit()->setText(QString::number((step * 11 + o * 5 + r * 3) % 101));
            form->txtNotes()->setPlainText(QStringLiteral("step %1, outcome %2, value %3").arg(step).arg(o).arg(r));
        }
    }
}

// Each step ends on the section's introduction, so that what it edited is in the file.
void Edit(int step)
{
    if (step % 2)
        EditProbabilities(step);
    else
        EditValuesProtected(step);
    Show(1, 1);
}

QString StepName(int step)
{
    return step % 2 ? QStringLiteral("Probabilities") : QStringLiteral("Values Protected");
}

bool Open(const QString& path)
{
    Window() = std::make_unique<shell::frm0_Tolmar>();
    Window()->resize(1100, 800);
    Window()->show();
    Window()->Startup(path);
    return core::gFileOpen() && !worksheets::gCurrentWorksheetID.isEmpty();
}

void Close()
{
    if (Window()) {
        Window()->close();
        Window().reset();
    }
    if (core::gFileOpen())
        core::CloseDatafile();
    shell::ClearCollections();
    worksheets::gCurrentWorksheetID.clear();
    worksheets::gCurrentSection = 1;
}

class KilledWorksheets : public ::testing::Test {
protected:
    static constexpr int kSteps = 40;

    static void SetUpTestSuite()
    {
        shell::RegisterWorksheetForms();
        sDir = new QTemporaryDir;
        sPath = sDir->filePath(QStringLiteral("Ridge Fire.tlm"));
        const QString start = sDir->filePath(QStringLiteral("start.tlm"));
        ASSERT_TRUE(testsupport::BuildStartFile(start));
        // Every run works on a file of one name, which the file already holds, so that opening
        // it writes nothing and each run's rows are alike.
        {
            auto db = dao::Database::Open(start);
            db->Execute(QStringLiteral("INSERT OR REPLACE INTO Properties (Property, Value) VALUES ('FullFileName', ?)"),
                        {QFileInfo(sPath).absoluteFilePath()});
        }
        sHarness = new testsupport::KillHarness(
            {start, kSteps, Open, Edit, Close, [] { return core::gDatabase()->handle(); }, StepName});
        ui::ScriptedPrompter prompter;
        sHarness->Reference(sPath);
    }

    static void TearDownTestSuite()
    {
        delete sHarness;
        delete sDir;
    }

    ui::ScriptedPrompter prompter;
    static QTemporaryDir* sDir;
    static QString sPath;
    static testsupport::KillHarness* sHarness;
};

QTemporaryDir* KilledWorksheets::sDir = nullptr;
QString KilledWorksheets::sPath;
testsupport::KillHarness* KilledWorksheets::sHarness = nullptr;

TEST_F(KilledWorksheets, TheReferenceRunIsRepeatable)
{
    sHarness->ExpectRepeatable(sPath);
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(KilledWorksheets, EveryKilledFileOpensSoundWithEveryLeftWorksheetWhole)
{
    const char* asked = std::getenv("TOLMAR_CRASH_TRIALS");
    const int trials = asked ? std::max(1, std::atoi(asked)) : 12;
    sHarness->Trials(trials, sPath, [](const QString& path, QString* why) {
        ui::ScriptedPrompter prompter;
        shell::ClearCollections();
        if (core::OpenDatafile(path))
            return true;
        *why = prompter.messages().value(0).text;
        return false;
    });
}

} // namespace
