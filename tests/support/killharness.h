#pragma once

// Kills a program part way through a series of edits, again and again, and checks each file it
// leaves: the file opens, SQLite finds it sound, and it holds every step the child reported
// stored and, of the step under way, whole saves only (a step may save more than once, as a
// worksheet stores what the user leaves for the next).
//
// The child process opens a copy of the start file and makes the series' edits, telling the
// parent after each step that the step is in the file, and where it is (opening, inside a save,
// between saves, done) through memory the two share. Most kills are aimed inside a save: the
// parent picks a save of the reference run (a longer save more often), waits for the child to
// enter it and kills it a random part of the way through; the rest fall anywhere in the run.
// Each kill's landing place is printed.
//
// An edit marks its save with a SaveMark; a step is a pure function of its number and of what
// the file holds, so that every run from the same file makes the same rows.

#include "core/u13folders.h"
#include "platform/ui/scriptedprompter.h"
#include "support/analysis_builder.h"
#include "support/forkchild.h"
#include "support/integritycheck.h"

#include <QCryptographicHash>
#include <QElapsedTimer>
#include <QFile>
#include <QList>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <functional>
#include <new>
#include <numeric>
#include <random>
#include <thread>
#include <sys/mman.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

// Where the child is: written by the child, read by the parent, in memory both see.
struct KillSite {
    enum Where : int { Opening, Between, Saving, Done };
    std::atomic<int> step{0};
    std::atomic<int> where{Opening};
};

namespace killharness {

// The child's site; none in the parent's own runs.
inline KillSite*& Site()
{
    static KillSite* site = nullptr;
    return site;
}

// The reference run's clock of the saves: microseconds spent inside each step's saves, and what
// is done after each save (the file's state taken), with the time that takes.
struct SaveClock {
    bool running = false;
    int step = 0;
    QElapsedTimer timer;
    QList<qint64> micros;   // [step]
    std::function<void()> saved;
    qint64 asideNanos = 0;
};

inline SaveClock& Clock()
{
    static SaveClock clock;
    return clock;
}

} // namespace killharness

// The save of an edit, from here to the end of the scope.
class SaveMark {
public:
    SaveMark()
    {
        if (KillSite* site = killharness::Site())
            site->where = KillSite::Saving;
        killharness::SaveClock& clock = killharness::Clock();
        if (clock.running)
            mStart = clock.timer.nsecsElapsed();
    }
    ~SaveMark()
    {
        killharness::SaveClock& clock = killharness::Clock();
        if (clock.running && clock.step < clock.micros.size()) {
            const qint64 end = clock.timer.nsecsElapsed();
            clock.micros[clock.step] += (end - mStart) / 1000;
            if (clock.saved)
                clock.saved();
            clock.asideNanos += clock.timer.nsecsElapsed() - end;
        }
        if (KillSite* site = killharness::Site())
            site->where = KillSite::Between;
    }
    SaveMark(const SaveMark&) = delete;
    SaveMark& operator=(const SaveMark&) = delete;

private:
    qint64 mStart = 0;
};

// Everything a file holds, in an order of its own: every row of every table.
inline QByteArray Digest(sqlite3* db)
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

// The analysis every run of a series starts from: a small one, built from the program folder's
// template at path. False, with the reason as a test failure, when it cannot be.
inline bool BuildStartFile(const QString& path)
{
    ui::ScriptedPrompter prompter;
    QString error;
    const bool built = CreateAnalysisFile(core::JoinPath(core::AppPath(), QStringLiteral("TLM.new")), path, kSmallAnalysis, &error);
    if (!built)
        ADD_FAILURE() << "the start file cannot be built: " << error.toStdString();
    return built;
}

struct KillSeries {
    QString start;   // the file every run starts from
    int steps = 0;
    // Opens the file as the program would and makes ready for the first step; false when it
    // cannot. The database it leaves open is read by database().
    std::function<bool(const QString& path)> open;
    std::function<void(int step)> edit;
    std::function<void()> close;
    std::function<sqlite3*()> database;
    std::function<QString(int step)> name;   // what a step edits
};

class KillHarness {
public:
    explicit KillHarness(KillSeries series) : mSeries(std::move(series)) {}

    // The reference run on a copy: the file's state before and after each step and after each
    // save within a step (a worksheet stores what is left as the user moves on), and the time
    // each step spends saving; the time taken by the states is left out.
    void Reference(const QString& copyPath)
    {
        Copy(copyPath);
        killharness::SaveClock& clock = killharness::Clock();
        clock.micros = QList<qint64>(mSeries.steps + 1, 0);
        mWithin = QList<QList<QByteArray>>(mSeries.steps + 1);
        clock.saved = [this, &clock] { mWithin[clock.step].append(Digest(mSeries.database())); };
        clock.asideNanos = 0;
        clock.timer.start();
        clock.running = true;
        const bool opened = mSeries.open(copyPath);
        mOpenMicros = clock.timer.nsecsElapsed() / 1000;
        ASSERT_TRUE(opened);
        mStates = {Digest(mSeries.database())};
        mRunMicros = mOpenMicros;
        for (int step = 1; step <= mSeries.steps; ++step) {
            clock.step = step;
            const qint64 began = clock.timer.nsecsElapsed() - clock.asideNanos;
            mSeries.edit(step);
            mRunMicros += (clock.timer.nsecsElapsed() - clock.asideNanos - began) / 1000;
            mStates.append(Digest(mSeries.database()));
        }
        clock.running = false;
        clock.saved = {};
        mSaveMicros = clock.micros;
        mSeries.close();
    }

    const QList<QByteArray>& states() const { return mStates; }

    // A second run from the start file makes the very same rows, and every step changes some.
    void ExpectRepeatable(const QString& copyPath)
    {
        ASSERT_EQ(mStates.size(), mSeries.steps + 1);
        Copy(copyPath);
        ASSERT_TRUE(mSeries.open(copyPath));
        EXPECT_EQ(Digest(mSeries.database()), mStates[0]);
        for (int step = 1; step <= mSeries.steps; ++step) {
            mSeries.edit(step);
            ASSERT_EQ(Digest(mSeries.database()), mStates[step]) << "step " << step;
            ASSERT_NE(mStates[step], mStates[step - 1]) << "step " << step << " changed nothing";
        }
        mSeries.close();
    }

    // The trials; checkOpen opens a killed file as the program would (false: refused, with
    // the reason in *why) and leaves it to database(); the series' close closes it.
    void Trials(int trials, const QString& copyPath, const std::function<bool(const QString&, QString* why)>& checkOpen)
    {
        ASSERT_EQ(mStates.size(), mSeries.steps + 1) << "no reference run";
        auto* site = static_cast<KillSite*>(
            mmap(nullptr, sizeof(KillSite), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
        ASSERT_NE(site, MAP_FAILED);
        std::mt19937 random(26);
        std::uniform_int_distribution<qint64> anywhere(0, mRunMicros);
        std::discrete_distribution<int> bySave(mSaveMicros.begin(), mSaveMicros.end());
        std::uniform_real_distribution<double> part(0.0, 1.0);
        int lost = 0, torn = 0, unsound = 0, refused = 0, reportedSteps = 0;
        int landed[4] = {0, 0, 0, 0};
        for (int trial = 0; trial < trials; ++trial) {
            SCOPED_TRACE(trial);
            Copy(copyPath);
            new (site) KillSite;
            const ForkedChild child = ForkChild([&](int report) { Child(copyPath, report, site); });
            ASSERT_GE(child.pid, 0);
            // One kill in ten falls anywhere in the run; the others inside a save.
            if (trial % 10 == 9 || std::accumulate(mSaveMicros.begin(), mSaveMicros.end(), qint64(0)) == 0) {
                usleep(useconds_t(anywhere(random)));
            } else {
                const int target = bySave(random);
                const qint64 into = qint64(part(random) * double(mSaveMicros[target]));
                QElapsedTimer waited;
                waited.start();
                while (!(site->step > target || site->where == KillSite::Done ||
                         (site->step == target && site->where == KillSite::Saving)) &&
                       waited.elapsed() < 20000)
                    std::this_thread::yield();
                if (site->step == target && site->where == KillSite::Saving)
                    usleep(useconds_t(into));
            }
            kill(child.pid, SIGKILL);
            int status = 0;
            waitpid(child.pid, &status, 0);
            ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the child ended on its own, status " << status;
            const int where = site->where;
            const int at = site->step;
            ++landed[where];
            int reported = 0, step = 0;
            while (read(child.pipe, &step, sizeof step) == sizeof step)
                reported = step;
            close(child.pipe);
            reportedSteps += reported;
            std::printf("[ kill     ] %d: %s\n", trial, qPrintable(Landing(where, at)));

            QString why;
            if (!checkOpen(copyPath, &why)) {
                ++refused;
                ADD_FAILURE() << "the killed file does not open: " << why.toStdString();
                continue;
            }
            sqlite3* db = mSeries.database();
            const QString integrity = IntegrityCheck(db);
            const QByteArray state = Digest(db);
            mSeries.close();
            if (integrity != QLatin1String("ok")) {
                ++unsound;
                ADD_FAILURE() << "integrity_check: " << integrity.toStdString();
            }
            // The last step reported, or any save of the step under way: each save is whole.
            if (state == mStates[reported] || (reported < mSeries.steps && mWithin[reported + 1].contains(state)))
                continue;
            const qsizetype earlier = mStates.mid(0, reported).lastIndexOf(state);
            if (earlier >= 0) {
                ++lost;
                ADD_FAILURE() << "step " << reported << " was reported stored, the file holds step " << earlier;
            } else {
                ++torn;
                ADD_FAILURE() << "after step " << reported << " the file holds part of an edit";
            }
        }
        munmap(site, sizeof(KillSite));
        std::printf("[ crash    ] %d trials, %d steps reported stored, %d lost, %d part-written, %d unsound, %d refused\n",
                    trials, reportedSteps, lost, torn, unsound, refused);
        std::printf("[ crash    ] kills landed: %d inside a save (%d%%), %d between saves, %d while opening, %d after the "
                    "last step\n",
                    landed[KillSite::Saving], trials ? 100 * landed[KillSite::Saving] / trials : 0, landed[KillSite::Between],
                    landed[KillSite::Opening], landed[KillSite::Done]);
        EXPECT_GT(reportedSteps, 0) << "no trial got past its first step: the kills came too early";
        // A long run is large enough to hold the aim to account.
        if (trials >= 100)
            EXPECT_GE(landed[KillSite::Saving] * 100, trials * 80) << "fewer than 80% of the kills landed inside a save";
    }

private:
    void Copy(const QString& path) const
    {
        for (const char* suffix : {"", "-journal"})
            QFile::remove(path + QLatin1String(suffix));
        EXPECT_TRUE(QFile::copy(mSeries.start, path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
    }

    QString Landing(int where, int step) const
    {
        switch (where) {
        case KillSite::Opening: return QStringLiteral("while opening the file");
        case KillSite::Saving: return QStringLiteral("inside the save of step %1 (%2)").arg(step).arg(mSeries.name(step));
        case KillSite::Between: return QStringLiteral("in step %1 (%2), outside its save").arg(step).arg(mSeries.name(step));
        default: return QStringLiteral("after the last step");
        }
    }

    // Every step, each reported once it is in the file, then it waits to be killed.
    [[noreturn]] void Child(const QString& path, int report, KillSite* site) const
    {
        killharness::Site() = site;
        try {
            if (!mSeries.open(path))
                _exit(2);
            for (int step = 1; step <= mSeries.steps; ++step) {
                site->step = step;
                site->where = KillSite::Between;
                mSeries.edit(step);
                site->where = KillSite::Between;
                if (write(report, &step, sizeof step) != sizeof step)
                    _exit(3);
            }
        } catch (...) {
            _exit(4);
        }
        site->where = KillSite::Done;
        for (;;)
            pause();
    }

    KillSeries mSeries;
    QList<QByteArray> mStates;   // [n]: after step n
    QList<QList<QByteArray>> mWithin;   // [n]: after each save of step n
    QList<qint64> mSaveMicros;   // [n]: inside the saves of step n
    qint64 mOpenMicros = 0;
    qint64 mRunMicros = 0;       // opening and every step, without the states
};

} // namespace testsupport
