#include "platform/ui/guard.h"
#include "platform/ui/scriptedprompter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>

#include <gtest/gtest.h>

#include <stdexcept>

using namespace ui;

namespace {

// An object whose handler throws for every event of the given type.
class Throwing : public QObject {
public:
    static inline const QEvent::Type kFail = QEvent::Type(QEvent::User + 7);
    int handled = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() != kFail)
            return QObject::event(e);
        ++handled;
        throw std::runtime_error("Field 'Priority' of table 'Objectives' cannot be read.");
    }
};

// A prompter that, while its message is up, lets one more failing event through, as a modal
// message box's own event loop would.
class NestingPrompter : public ScriptedPrompter {
public:
    Throwing* target = nullptr;
    Answer ask(const Message& message) override
    {
        if (target)
            QCoreApplication::sendEvent(target, std::make_unique<QEvent>(Throwing::kFail).get());
        return ScriptedPrompter::ask(message);
    }
};

class Guard : public ::testing::Test {
protected:
    void SetUp() override { SetErrorLog([this](const QString& line) { log << line; }); }
    void TearDown() override { SetErrorLog({}); }
    QStringList log;
};

} // namespace

TEST_F(Guard, ACommandThatThrowsIsLoggedAndShownAndTheCallerGoesOn)
{
    ScriptedPrompter prompter;
    EXPECT_TRUE(RunGuarded("the File menu", [] {}));
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_FALSE(RunGuarded("the File menu", [] { throw std::runtime_error("disk full"); }));
    EXPECT_FALSE(RunGuarded("shutdown", [] { throw 42; }));
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(prompter.messages()[0].text, "An error occurred in the File menu.\r\ndisk full");
    EXPECT_EQ(prompter.messages()[0].icon, Icon::Critical);
    EXPECT_EQ(prompter.messages()[0].buttons, Buttons::OK);
    EXPECT_EQ(prompter.messages()[1].text, "An error occurred in shutdown.\r\nunknown error");
    EXPECT_EQ(log, QStringList({"the File menu: disk full", "shutdown: unknown error"}));
}

TEST_F(Guard, AnEventHandlerThatThrowsIsReportedOnceAndTheEventLoopGoesOn)
{
    ScriptedPrompter prompter;
    Throwing target;
    QCoreApplication::postEvent(&target, new QEvent(Throwing::kFail));
    QCoreApplication::processEvents();
    EXPECT_EQ(target.handled, 1);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "An error occurred.\r\nField 'Priority' of table 'Objectives' cannot be read.");
    EXPECT_EQ(prompter.messages()[0].icon, Icon::Critical);
    ASSERT_EQ(log.size(), 1);
    EXPECT_TRUE(log[0].endsWith(": Field 'Priority' of table 'Objectives' cannot be read.")) << log[0].toStdString();

    // The queue still delivers: the next failure is a new message of its own.
    QCoreApplication::postEvent(&target, new QEvent(Throwing::kFail));
    QCoreApplication::processEvents();
    EXPECT_EQ(target.handled, 2);
    EXPECT_EQ(prompter.messages().size(), 2);
}

TEST_F(Guard, AnErrorWhileAMessageIsUpIsLoggedButNotShownAgain)
{
    NestingPrompter prompter;
    Throwing target;
    prompter.target = &target;
    QCoreApplication::postEvent(&target, new QEvent(Throwing::kFail));
    QCoreApplication::processEvents();
    EXPECT_EQ(target.handled, 2);
    EXPECT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(log.size(), 2);
}
