// A program killed at any moment of a long series of edits leaves a data file that opens, that
// SQLite finds sound, and that holds every edit made before the kill wholly and none of the
// edit under way in part.
//
// The child process makes the edits a user makes, through the model, and stores each one as
// the worksheet manager does when a worksheet is left (one all-or-nothing save a step); the
// harness (support/killharness.h) aims most kills inside those saves and compares each killed
// file with a reference run of the same steps.
//
// The suite runs a few dozen trials. More, as a long run:
//   TOLMAR_CRASH_TRIALS=1000 model_tests --gtest_filter='KilledEdits.*'

#include "core/c0item.h"
#include "core/g13rmas.h"
#include "core/g2situation.h"
#include "core/g8summary.h"
#include "core/savescope.h"
#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "model/c41objective.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g41objectives.h"
#include "model/g51alternatives.h"
#include "platform/ui/scriptedprompter.h"
#include "support/analysis_builder.h"
#include "support/killharness.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace {

// One user's edit, stored as a worksheet's save stores it. Steps are a pure function of their
// number and of what the file holds, so that a second run from the same file makes the same
// rows.
void Edit(int step)
{
    const QString mark = QStringLiteral("step %1").arg(step);
    testsupport::SaveMark saving;
    core::SaveAllOrNothing([&] {
        switch (step % 6) {
        case 0:   // Situation: every topic's text, saved together
            for (core::c0Item* topic : core::GetSituationTopics())
                topic->SetBody(mark + QStringLiteral(" of ") + topic->ItemName());
            for (int key = 11; key <= 19; ++key)
                if (core::c0Item* item = core::GetSituationItem(key))
                    item->SetBody(mark);
            core::SaveSituation();
            break;
        case 1: {   // Areas: one added now and then, the oldest dropped when there are many
            if (step % 4 == 1)
                core::NewRMA(QStringLiteral("Area ") + mark, QStringLiteral("Objectives of ") + mark);
            QList<core::c0Item*> areas = core::GetRMAs();
            if (areas.size() > 4) {
                core::DeleteRMA(areas.first()->ItemKey());
                areas = core::GetRMAs();
            }
            for (core::c0Item* area : areas)
                area->SetBody(mark);
            core::SaveRMAs();
            break;
        }
        case 2:   // Summary topics
            for (core::c0Item* topic : core::GetSummaryTopics())
                topic->SetBody(mark);
            core::SaveSummary();
            break;
        case 3: {   // Alternatives: described again; one added, or the last one dropped
            auto& alternatives = model::GetAlternatives();
            if (step % 5 == 3 && alternatives.Count() < 8)
                model::AddAlternative(QStringLiteral("Alternative ") + mark);
            else if (step % 5 == 0 && alternatives.Count() > 3)
                model::DeleteAlternative(alternatives.KeyAt(alternatives.Count() - 1));
            for (const auto& alt : model::GetAlternatives()) {
                alt->SetHeading(mark);
                alt->SetBody(QStringLiteral("Body of ") + mark);
            }
            model::SaveAlternatives();
            break;
        }
        case 4:   // Outcomes: the grid's figures and texts of every alternative
            for (const auto& alt : model::GetAlternatives())
                for (const model::OutcomeKind kind : model::kAlternativeOutcomeKinds)
                    if (const auto outcome = alt->Outcome(kind)) {
                        outcome->SetDescription(mark);
                        outcome->SetSuccess(step % 101);
                        outcome->SetDailyContainCost(float(step * 10 + int(kind)));
                        outcome->SetCostRationale(QStringLiteral("Rationale of ") + mark);
                        outcome->SaveChanges();
                    }
            break;
        case 5: {   // Objectives: one added under the first category, priorities typed again
            model::GetObjectives();
            const QList<model::c41Objective*> categories = model::GetPrioritizedCategories();
            if (!categories.isEmpty() && step % 3 == 2)
                model::AddObjective(QStringLiteral("Objective ") + mark, categories.first()->ItemKey())->SaveChanges();
            for (model::c41Objective* objective : model::ObjectivesCollection())
                if (!objective->bRoot() && !objective->bSafetyRoot()) {
                    objective->SetPriority((step + objective->ItemKey()) % 100);
                    objective->SaveChanges();
                }
            break;
        }
        }
    });
}

QString StepName(int step)
{
    static const char* const kNames[] = {"situation topics", "areas", "summary topics", "alternatives", "outcomes", "objectives"};
    return QString::fromLatin1(kNames[step % 6]);
}

bool OpenForEdits(const QString& path)
{
    testsupport::ClearModelCaches();
    return core::OpenDatafile(path);
}

void CloseAfterEdits()
{
    testsupport::ClearModelCaches();
    core::CloseDatafile();
}

class KilledEdits : public ::testing::Test {
protected:
    static constexpr int kSteps = 240;

    static void SetUpTestSuite()
    {
        sDir = new QTemporaryDir;
        const QString start = sDir->filePath(QStringLiteral("start.tlm"));
        ASSERT_TRUE(testsupport::BuildStartFile(start));
        sHarness = new testsupport::KillHarness({start, kSteps, OpenForEdits, Edit, CloseAfterEdits,
                                                 [] { return core::gDatabase()->handle(); }, StepName});
        ui::ScriptedPrompter prompter;
        sHarness->Reference(sDir->filePath(QStringLiteral("reference.tlm")));
    }

    static void TearDownTestSuite()
    {
        delete sHarness;
        delete sDir;
    }

    static QTemporaryDir* sDir;
    static testsupport::KillHarness* sHarness;
};

QTemporaryDir* KilledEdits::sDir = nullptr;
testsupport::KillHarness* KilledEdits::sHarness = nullptr;

TEST_F(KilledEdits, TheReferenceRunIsRepeatable)
{
    // The comparison rests on a second run making the very same rows as the first.
    sHarness->ExpectRepeatable(sDir->filePath(QStringLiteral("again.tlm")));
}

TEST_F(KilledEdits, EveryKilledFileOpensSoundWithEveryReportedEditWhole)
{
    const char* asked = std::getenv("TOLMAR_CRASH_TRIALS");
    const int trials = asked ? std::max(1, std::atoi(asked)) : 24;
    sHarness->Trials(trials, sDir->filePath(QStringLiteral("killed.tlm")), [](const QString& path, QString* why) {
        ui::ScriptedPrompter prompter;
        if (OpenForEdits(path))
            return true;
        *why = prompter.messages().value(0).text;
        return false;
    });
}

} // namespace
