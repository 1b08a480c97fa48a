// A program killed at any moment of a long series of edits leaves a data file that opens, that
// SQLite finds sound, and that holds every edit made before the kill wholly and none of the
// edit under way in part.
//
// The child process makes the edits a user makes, through the model, and stores each one as
// the worksheet manager does when a worksheet is left (one all-or-nothing save a step), then
// tells the parent the step is in the file. The parent kills it with SIGKILL at a random
// moment, opens the file with the program's own open routine and compares what the file holds
// with a reference run of the same steps: it must be the state after the last step reported,
// or after the one following it (stored, but killed before it could say so).
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
#include "support/forkchild.h"
#include "support/integritycheck.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// One user's edit, stored as a worksheet's save stores it. Steps are a pure function of their
// number and of what the file holds, so that a second run from the same file makes the same
// rows.
void Edit(int step)
{
    const QString mark = QStringLiteral("step %1").arg(step);
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
                for (int idx = 1; idx <= 2; ++idx)
                    if (const auto outcome = alt->Outcome(idx)) {
                        outcome->SetDescription(mark);
                        outcome->SetSuccess(step % 101);
                        outcome->SetDailyContainCost(float(step * 10 + idx));
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

// Everything a file holds, in an order of its own: every row of every table.
QByteArray Digest(sqlite3* db)
{
    QStringList tables;
    sqlite3_stmt* st = nullptr;
    sqlite3_prepare_v2(db, "SELECT name FROM sqlite_master WHERE type = 'table' ORDER BY name", -1, &st, nullptr);
    while (sqlite3_step(st) == SQLITE_ROW)
        tables << QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    QCryptographicHash hash(QCryptographicHash::Sha256);
    for (const QString& table : tables) {
        QList<QByteArray> rows;
        const QByteArray sql = QStringLiteral("SELECT * FROM \"%1\"").arg(table).toUtf8();
        if (sqlite3_prepare_v2(db, sql.constData(), -1, &st, nullptr) != SQLITE_OK)
            return QByteArray("unreadable table ") + table.toUtf8();
        while (sqlite3_step(st) == SQLITE_ROW) {
            QByteArray row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                row += char('0' + sqlite3_column_type(st, c));
                row += QByteArray(reinterpret_cast<const char*>(sqlite3_column_blob(st, c)), sqlite3_column_bytes(st, c));
                row += '\x1f';
            }
            rows << row;
        }
        sqlite3_finalize(st);
        std::sort(rows.begin(), rows.end());
        hash.addData(table.toUtf8() + '\x1e');
        for (const QByteArray& row : rows)
            hash.addData(row + '\x1e');
    }
    return hash.result();
}

class KilledEdits : public ::testing::Test {
protected:
    static constexpr int kSteps = 240;

    static void SetUpTestSuite()
    {
        sDir = new QTemporaryDir;
        sStart = sDir->filePath(QStringLiteral("start.tlm"));
        ui::ScriptedPrompter prompter;
        QString error;
        ASSERT_TRUE(testsupport::CreateAnalysisFile(core::JoinPath(core::AppPath(), QStringLiteral("TLM.new")), sStart,
                                                    testsupport::kSmallAnalysis, &error))
            << error.toStdString();
        // The reference run: the file's state after each step, and how long the steps take.
        const QString reference = copy(QStringLiteral("reference.tlm"));
        ASSERT_TRUE(core::OpenDatafile(reference));
        testsupport::ClearModelCaches();
        QElapsedTimer timer;
        timer.start();
        sStates.append(Digest(core::gDatabase()->handle()));
        for (int step = 1; step <= kSteps; ++step) {
            Edit(step);
            sStates.append(Digest(core::gDatabase()->handle()));
        }
        sRunMicroseconds = timer.nsecsElapsed() / 1000;
        testsupport::ClearModelCaches();
        core::CloseDatafile();
    }

    static void TearDownTestSuite()
    {
        delete sDir;
        sStates.clear();
    }

    static QString copy(const QString& name)
    {
        const QString path = sDir->filePath(name);
        for (const char* suffix : {"", "-journal"})
            QFile::remove(path + QLatin1String(suffix));
        EXPECT_TRUE(QFile::copy(sStart, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

    // The child: every step, each reported once it is in the file, then it waits to be killed.
    [[noreturn]] static void EditUntilKilled(const QString& path, int report)
    {
        try {
            ui::ScriptedPrompter prompter;
            testsupport::ClearModelCaches();
            if (!core::OpenDatafile(path))
                _exit(2);
            for (int step = 1; step <= kSteps; ++step) {
                Edit(step);
                if (write(report, &step, sizeof step) != sizeof step)
                    _exit(3);
            }
        } catch (...) {
            _exit(4);
        }
        for (;;)
            pause();
    }

    static QTemporaryDir* sDir;
    static QString sStart;
    static QList<QByteArray> sStates;   // [n]: after step n
    static qint64 sRunMicroseconds;
};

QTemporaryDir* KilledEdits::sDir = nullptr;
QString KilledEdits::sStart;
QList<QByteArray> KilledEdits::sStates;
qint64 KilledEdits::sRunMicroseconds = 0;

TEST_F(KilledEdits, TheReferenceRunIsRepeatable)
{
    // The comparison rests on a second run making the very same rows as the first.
    ASSERT_EQ(sStates.size(), kSteps + 1);
    const QString again = copy(QStringLiteral("again.tlm"));
    ASSERT_TRUE(core::OpenDatafile(again));
    testsupport::ClearModelCaches();
    EXPECT_EQ(Digest(core::gDatabase()->handle()), sStates[0]);
    for (int step = 1; step <= kSteps; ++step) {
        Edit(step);
        ASSERT_EQ(Digest(core::gDatabase()->handle()), sStates[step]) << "step " << step;
        ASSERT_NE(sStates[step], sStates[step - 1]) << "step " << step << " changed nothing";
    }
    testsupport::ClearModelCaches();
    core::CloseDatafile();
}

TEST_F(KilledEdits, EveryKilledFileOpensSoundWithEveryReportedEditWhole)
{
    const char* asked = std::getenv("TOLMAR_CRASH_TRIALS");
    const int trials = asked ? std::max(1, std::atoi(asked)) : 24;
    // Kills spread over the whole series (a forked child runs about as fast as the reference).
    std::mt19937 random(26);
    std::uniform_int_distribution<qint64> moment(0, sRunMicroseconds);
    int lost = 0, torn = 0, unsound = 0, refused = 0;
    int reportedSteps = 0;
    for (int trial = 0; trial < trials; ++trial) {
        SCOPED_TRACE(trial);
        const QString path = copy(QStringLiteral("killed.tlm"));
        const testsupport::ForkedChild child = testsupport::ForkChild([&](int report) { EditUntilKilled(path, report); });
        ASSERT_GE(child.pid, 0);
        usleep(useconds_t(moment(random)));
        kill(child.pid, SIGKILL);
        int status = 0;
        waitpid(child.pid, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child ended on its own, status " << status;
        int reported = 0, step = 0;
        while (read(child.pipe, &step, sizeof step) == sizeof step)
            reported = step;
        close(child.pipe);
        reportedSteps += reported;

        ui::ScriptedPrompter prompter;
        testsupport::ClearModelCaches();
        if (!core::OpenDatafile(path)) {
            ++refused;
            ADD_FAILURE() << "the killed file does not open: " << prompter.messages().value(0).text.toStdString();
            continue;
        }
        sqlite3* db = core::gDatabase()->handle();
        const QString integrity = testsupport::IntegrityCheck(db);
        const QByteArray state = Digest(db);
        core::CloseDatafile();
        if (integrity != QLatin1String("ok")) {
            ++unsound;
            ADD_FAILURE() << "integrity_check: " << integrity.toStdString();
        }
        if (state == sStates[reported] || (reported < kSteps && state == sStates[reported + 1]))
            continue;
        const qsizetype earlier = sStates.mid(0, reported).lastIndexOf(state);
        if (earlier >= 0) {
            ++lost;
            ADD_FAILURE() << "step " << reported << " was reported stored, the file holds step " << earlier;
        } else {
            ++torn;
            ADD_FAILURE() << "after step " << reported << " the file holds part of an edit";
        }
    }
    std::printf("[ crash    ] %d trials, %d steps reported stored, %d lost, %d part-written, %d unsound, %d refused\n",
                trials, reportedSteps, lost, torn, unsound, refused);
    EXPECT_GT(reportedSteps, 0) << "no trial got past its first step: the kills came too early";
}

} // namespace
