#include "platform/ui/qtprompter.h"
#include "platform/ui/waitcursor.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

using namespace ui;

namespace {

struct Seen {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Answers the next message box by pressing `press` (or closing it with Escape when NoButton),
// after noting what the box shows.
Answer AskAndPress(const Message& m, QMessageBox::StandardButton press, Seen& seen)
{
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        seen.buttons = box->standardButtons();
        seen.defaultButton = box->standardButton(box->defaultButton());
        if (press == QMessageBox::NoButton)
            box->reject();
        else
            box->button(press)->click();
    });
    QtPrompter prompter;
    return prompter.ask(m);
}

} // namespace

TEST(QtPrompter, ShowsTheMessageAsAskedAndMapsTheAnswer)
{
    struct Case {
        Buttons buttons;
        Icon icon;
        Answer def;
        QMessageBox::StandardButton press;
        QMessageBox::StandardButtons shown;
        QMessageBox::StandardButton shownDefault;
        QMessageBox::Icon shownIcon;
        Answer expected;
    };
    const QList<Case> cases = {
        {Buttons::OK, Icon::None, Answer::OK, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::NoIcon, Answer::OK},
        {Buttons::YesNo, Icon::Critical, Answer::No, QMessageBox::Yes, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::No, QMessageBox::Critical, Answer::Yes},
        {Buttons::YesNo, Icon::Critical, Answer::No, QMessageBox::NoButton, QMessageBox::Yes | QMessageBox::No,
         QMessageBox::No, QMessageBox::Critical, Answer::No},
        {Buttons::OKCancel, Icon::Question, Answer::Cancel, QMessageBox::Ok, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::Cancel, QMessageBox::Question, Answer::OK},
        {Buttons::OKCancel, Icon::Question, Answer::OK, QMessageBox::NoButton, QMessageBox::Ok | QMessageBox::Cancel,
         QMessageBox::Ok, QMessageBox::Question, Answer::Cancel},
        {Buttons::YesNoCancel, Icon::Warning, Answer::Yes, QMessageBox::No,
         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Yes, QMessageBox::Warning, Answer::No},
        {Buttons::RetryCancel, Icon::Information, Answer::Retry, QMessageBox::Retry,
         QMessageBox::Retry | QMessageBox::Cancel, QMessageBox::Retry, QMessageBox::Information, Answer::Retry},
    };
    int n = 0;
    for (const Case& c : cases) {
        Seen seen;
        const Message m{Lines({"The file already exists.  Do you want to overwrite it?", "second"}), c.buttons, c.icon,
                        c.def, QStringLiteral("Replace file?")};
        EXPECT_EQ(AskAndPress(m, c.press, seen), c.expected) << "case " << n;
        EXPECT_EQ(seen.title, QStringLiteral("Replace file?")) << "case " << n;
        EXPECT_EQ(seen.text, QStringLiteral("The file already exists.  Do you want to overwrite it?\nsecond")) << "case " << n;
        EXPECT_EQ(seen.icon, c.shownIcon) << "case " << n;
        EXPECT_EQ(seen.buttons, c.shown) << "case " << n;
        EXPECT_EQ(seen.defaultButton, c.shownDefault) << "case " << n;
        ++n;
    }
}

TEST(QtPrompter, DefaultSuffixComesFromTheFirstFilter)
{
    EXPECT_EQ(DefaultSuffix(QStringLiteral("Tolmar Rude files (*.tlm);;All Files (*)")), QStringLiteral("tlm"));
    EXPECT_EQ(DefaultSuffix(QStringLiteral("Rich Text (*.rtf)")), QStringLiteral("rtf"));
    EXPECT_EQ(DefaultSuffix(QStringLiteral("All Files (*)")), QString());
}

TEST(QtPrompter, AMessageUnderTheHourglassShowsTheArrow)
{
    BeginWaitCursor();
    Qt::CursorShape shown = Qt::BlankCursor;
    QTimer::singleShot(0, [&] {
        const QCursor* c = QApplication::overrideCursor();
        shown = c ? c->shape() : Qt::ArrowCursor;
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->button(QMessageBox::Ok)->click();
    });
    QtPrompter prompter;
    prompter.ask(Message{QStringLiteral("Saved.")});
    EXPECT_EQ(shown, Qt::ArrowCursor);
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor) << "the hourglass comes back after the answer";
    EndWaitCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// A short message under the program's title: the box is wide enough for the title bar to show
// the title whole (its text in bold, the icon and the buttons beside it), where it took only the
// width of its text and its button and the title bar showed "Tolmar... anced".
TEST(QtPrompter, AShortMessageLeavesItsTitleWhole)
{
    for (const QString& title : {QStringLiteral("Tolmar Advanced"), QStringLiteral("Delete")}) {
        int width = 0;
        int needs = 0;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            QFont bold = box->font();
            bold.setBold(true);
            width = box->width();
            needs = QFontMetrics(bold).horizontalAdvance(title) + 120;
            box->button(QMessageBox::Ok)->click();
        });
        QtPrompter prompter;
        prompter.ask(Message{QStringLiteral("No alternatives"), Buttons::OK, Icon::None, Answer::OK, title});
        EXPECT_GE(width, needs) << title.toStdString();
    }
}
