#include "platform/ui/application.h"
#include "platform/ui/guard.h"
#include "platform/ui/scriptedprompter.h"

#include <QCoreApplication>
#include <QEvent>
#include <QObject>
#include <QTimer>

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

// For the tests of the last net: the errors that reach the event loop are counted here instead
// of failing the test.
class EscapesCounted {
public:
    EscapesCounted()
    {
        mPrevious = Application::SetEscapeCheck([this](const QString& what) { escapes << what; });
    }
    ~EscapesCounted() { Application::SetEscapeCheck(std::move(mPrevious)); }
    EscapesCounted(const EscapesCounted&) = delete;
    EscapesCounted& operator=(const EscapesCounted&) = delete;

    QStringList escapes;

private:
    Application::EscapeCheck mPrevious;
};

// A sender whose name change Qt announces to the handlers connected to it.
struct Named : QObject {
    QStringList heard;
    void Heard(const QString& name) { heard << name; }
    void Nudged() { heard << QStringLiteral("nudged"); }
};

void ThrowName(const QString& name)
{
    throw std::runtime_error(name.toStdString());
}

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

// The last net, for a handler that was not guarded: the program goes on, and the tests are told.
TEST_F(Guard, AnEventHandlerThatThrowsIsReportedOnceAndTheEventLoopGoesOn)
{
    ScriptedPrompter prompter;
    EscapesCounted counted;
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
    EXPECT_EQ(counted.escapes.size(), 2);
    EXPECT_TRUE(counted.escapes.value(0).startsWith(QStringLiteral("QObject, event "))) << counted.escapes.value(0).toStdString();
}

TEST_F(Guard, AnErrorWhileAMessageIsUpIsLoggedButNotShownAgain)
{
    NestingPrompter prompter;
    EscapesCounted counted;
    Throwing target;
    prompter.target = &target;
    QCoreApplication::postEvent(&target, new QEvent(Throwing::kFail));
    QCoreApplication::processEvents();
    EXPECT_EQ(target.handled, 2);
    EXPECT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(log.size(), 2);
}

// A handler connected through the guard that fails in an event of the event loop is reported
// where it runs; nothing reaches the loop, and the code that raised the signal goes on.
TEST_F(Guard, AGuardedHandlerFailingInAnEventIsReportedThereAndTheSenderGoesOn)
{
    ScriptedPrompter prompter;
    Named sender;
    QObject::connect(&sender, &QObject::objectNameChanged, &sender, Guarded(&ThrowName));
    bool wentOn = false;
    QTimer::singleShot(0, &sender, [&] {
        sender.setObjectName(QStringLiteral("The Objectives table is locked."));
        wentOn = true;
    });
    QCoreApplication::processEvents();
    EXPECT_TRUE(wentOn);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "An error occurred.\r\nThe Objectives table is locked.");
    EXPECT_EQ(prompter.messages()[0].icon, Icon::Critical);
    EXPECT_EQ(log, QStringList({"Event handler: The Objectives table is locked."}));
}

// Our own code that makes a call into Qt gets the error of the handler Qt ran, as if it had
// called the handler itself: a first fill that fails fails the Setup that chose the entry. A
// second handler failing in the same call is logged only.
TEST_F(Guard, AnErrorOfAHandlerThatOurCodeRanThroughQtComesOutOfThatCall)
{
    ScriptedPrompter prompter;
    Named sender;
    QObject::connect(&sender, &QObject::objectNameChanged, &sender, Guarded(&ThrowName));
    QObject::connect(&sender, &QObject::objectNameChanged, &sender,
                     Guarded([](const QString&) { throw std::runtime_error("and the second"); }));
    try {
        CallThroughQt([&] { sender.setObjectName(QStringLiteral("FMU 3 cannot be read.")); });
        ADD_FAILURE() << "the handler's error came out";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "FMU 3 cannot be read.");
    }
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(log, QStringList({"Event handler, after an earlier error: and the second"}));

    // A command run through RunGuarded reports it under its own name.
    log.clear();
    EXPECT_FALSE(RunGuarded("the File menu", [&] { sender.setObjectName(QStringLiteral("disk full")); }));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "An error occurred in the File menu.\r\ndisk full");
}

// What fails in an event that a call of ours lets the event loop deliver (a message box's own
// loop, a repaint between report sections) belongs to that event: it is reported there and does
// not come out of the call.
TEST_F(Guard, AHandlerFailingInAnEventDeliveredDuringOurCallIsReportedInTheEvent)
{
    ScriptedPrompter prompter;
    Named sender;
    QObject::connect(&sender, &QObject::objectNameChanged, &sender, Guarded(&ThrowName));
    QTimer::singleShot(0, &sender, [&] { sender.setObjectName(QStringLiteral("Scores")); });
    EXPECT_NO_THROW(CallThroughQt([] { QCoreApplication::processEvents(); }));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "An error occurred.\r\nScores");
}

// A member handler takes as many of the signal's arguments as it declares.
TEST_F(Guard, AGuardedMemberTakesTheArgumentsItDeclares)
{
    Named sender;
    QObject::connect(&sender, &QObject::objectNameChanged, &sender, Guarded(&sender, &Named::Heard));
    QObject::connect(&sender, &QObject::objectNameChanged, &sender, Guarded(&sender, &Named::Nudged));
    sender.setObjectName(QStringLiteral("Ridge"));
    EXPECT_EQ(sender.heard, QStringList({"Ridge", "nudged"}));
}
