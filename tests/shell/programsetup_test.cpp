#include "platform/ui/application.h"
#include "platform/ui/qtprompter.h"
#include "shell/programsetup.h"

#include <QElapsedTimer>
#include <QFontDatabase>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

struct Case {
    const char* name;
    bool prepared;    // the font thread made before the application object
    bool setUp;
    bool fontsUsed;   // the program asks for the fonts before it goes
};

// As the program starts and ends: exits 0 when the application object went without harm, and
// soon.
void RunProgram(const Case& c)
{
    static char name[] = "programsetup_tests";
    static char* argv[] = {name, nullptr};
    int argc = 1;
    QElapsedTimer clock;
    clock.start();
    if (c.prepared)
        shell::PrepareFontReading();
    {
        ui::Application app(argc, argv);
        ui::QtPrompter prompter;
        if (c.setUp)
            shell::SetUpProgram(prompter);
        if (c.fontsUsed && QFontDatabase::families().isEmpty())
            std::exit(2);
        ui::setPrompter(nullptr);
    }
    std::exit(clock.elapsed() < 5000 ? 0 : 3);
}

// The set-up reads the system's fonts on a thread of its own. The application object may go at
// any moment, the reading not yet begun, under way or done. Each case is a process of its own,
// since a thread made before the application object is the first thing a program does.
TEST(ProgramSetup, TheApplicationMayGoWhileTheFontsAreRead)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const Case cases[] = {
        {"gone at once", false, true, false},
        {"prepared, gone at once", true, true, false},
        {"fonts used", false, true, true},
        {"prepared, fonts used", true, true, true},
        {"prepared, never set up", true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int run = 0; run < 3; ++run)
            EXPECT_EXIT(RunProgram(c), testing::ExitedWithCode(0), "");
    }
}

} // namespace
