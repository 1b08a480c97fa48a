// A save killed part way leaves the data file as it was before it or as it is after it,
// never half of each.

#include "core/g0items.h"
#include "core/g2situation.h"
#include "core/savescope.h"
#include "core_sandbox.h"
#include "support/forkchild.h"

#include <QList>

#include <csignal>
#include <random>
#include <sys/wait.h>
#include <unistd.h>

using namespace core;

namespace {

class KilledSave : public coretest::Sandbox {
protected:
    // Twelve items, as many as the General Information worksheet holds, all saved together.
    static QList<int> Keys()
    {
        QList<int> keys;
        for (int key = 11; key <= 19; ++key)
            keys.append(key);
        keys << 31 << 32 << 33;
        return keys;
    }

    // The child: saves the twelve items again and again, each time with the next generation's
    // text, until it is killed. One byte on the pipe once the first save is in the file.
    [[noreturn]] static void SaveForever(const QString& path, int ready)
    {
        try {
            if (!OpenDatafile(path))
                _exit(2);
            for (int gen = 1;; ++gen) {
                for (int key : Keys())
                    GetItem(key)->SetBody(QStringLiteral("generation %1").arg(gen));
                if (gen % 2)
                    SaveSituation();
                else   // as a worksheet saves its objects one by one when it is left
                    SaveAllOrNothing([] {
                        for (int key : Keys())
                            GetItem(key)->SaveChanges();
                    });
                if (gen == 1 && write(ready, "x", 1) != 1)
                    _exit(3);
            }
        } catch (...) {
            _exit(4);
        }
    }

    // How many different bodies the twelve items hold.
    static int Generations(const QString& path)
    {
        QStringList keys;
        for (int key : Keys())
            keys << QString::number(key);
        return coretest::SqlValue(path, QStringLiteral("SELECT COUNT(DISTINCT IFNULL(Body, '')) FROM Items WHERE "
                                                       "ItemKey IN (%1)")
                                            .arg(keys.join(QLatin1Char(','))))
            .toInt();
    }
};

TEST_F(KilledSave, EveryFileIsWhollyOldOrWhollyNew)
{
    std::mt19937 random(12);
    std::uniform_int_distribution<int> pause(0, 12000);   // microseconds after the first save
    const int trials = 30;
    int mixed = 0;
    for (int trial = 0; trial < trials; ++trial) {
        const QString path = dataFile(QStringLiteral("Fire%1.tlm").arg(trial));
        const testsupport::ForkedChild forked = testsupport::ForkChild([&](int ready) { SaveForever(path, ready); });
        ASSERT_GE(forked.pid, 0);
        const pid_t child = forked.pid;
        char byte = 0;
        const bool started = read(forked.pipe, &byte, 1) == 1;
        close(forked.pipe);
        if (started)
            usleep(useconds_t(pause(random)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(started) << "the child stopped before its first save, status " << status;
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;

        const int generations = Generations(path);
        EXPECT_EQ(generations, 1) << "trial " << trial;
        mixed += generations != 1;
    }
    EXPECT_EQ(mixed, 0) << "of " << trials << " trials";
}

} // namespace
