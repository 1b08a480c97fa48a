#include "reports/report_fixture.h"

#include "platform/richtext/richtexteditor.h"
#include "platform/richtext/rtf.h"
#include "support/failingwrites.h"
#include "support/placedarea.h"
#include "support/placedform.h"
#include "worksheets/common/topiceditor.h"
#include "worksheets/report/frm82topics.h"
#include "worksheets/report/registerforms.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>

#include <memory>

namespace {

class frm82TopicsTest : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        worksheets::report::RegisterForms();
        form.reset(static_cast<worksheets::report::frm82Topics*>(testsupport::CreateForm(QStringLiteral("tab82")).release()));
        ASSERT_NE(form, nullptr);
        form->Setup();
    }
    void TearDown() override
    {
        form.reset();
        ReportFixture::TearDown();
    }

    QStringList Entries() const
    {
        QStringList out;
        for (int i = 0; i < form->lstTopics()->count(); ++i)
            out << form->lstTopics()->item(i)->text();
        return out;
    }

    // The topic's row as the file holds it: "" when there is none.
    QString StoredHeading(int key)
    {
        auto rs = db().OpenRecordset(QStringLiteral("SELECT Heading FROM Items WHERE ItemKey = %1").arg(key));
        return rs->Eof() ? QString() : rs->Field(QStringLiteral("Heading")).toString();
    }

    bool RowExists(int key)
    {
        auto rs = db().OpenRecordset(QStringLiteral("SELECT ItemKey FROM Items WHERE ItemKey = %1").arg(key));
        return !rs->Eof();
    }

    std::unique_ptr<worksheets::report::frm82Topics> form;
};

}  // namespace

TEST_F(frm82TopicsTest, ShowsTheSelectedAlternativeAndTheFirstTopic)
{
    EXPECT_EQ(worksheets::gCurrentWorksheetID, QStringLiteral("tab82"));
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Decision Summary"));
    EXPECT_EQ(form->lblAlternative()->text(), QStringLiteral("A. Strategy 1"));
    EXPECT_EQ(Entries(), (QStringList{"Selected Alternative Description", "Rationale for selecting this Alternative"}));
    EXPECT_EQ(form->lstTopics()->currentRow(), 0);
    ASSERT_NE(form->current(), nullptr);
    EXPECT_EQ(form->current()->ItemKey(), 291);
    EXPECT_EQ(form->topic()->name(), QStringLiteral("Selected Alternative Description"));
    EXPECT_TRUE(form->topic()->bodyEditor()->plainText().contains(QStringLiteral("Hold the fire south of the river.")));
    EXPECT_EQ(form->lblInstructions()->text(), core::GetSummaryItem(291)->ItemText());
    EXPECT_FALSE(form->cmdDelete()->isEnabled()) << "the decision texts cannot be deleted";
    EXPECT_EQ(form->topic()->spellButton()->text(), QStringLiteral("Spellcheck"));
    EXPECT_FALSE(core::GetSummaryItem(291)->Changed()) << "showing a topic is no edit";
    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_PNG")) {
        form->resize(900, 560);
        form->grab().save(qEnvironmentVariable("TOLMAR_KEEP_PNG") + QStringLiteral("-topics.png"));
    }
}

TEST_F(frm82TopicsTest, TheDecisionTextsNamesShowWholeInTheWorksheetAreaOfThePlacedWindow)
{
    const testsupport::PlacedWorksheetArea placed(*form);
    const QFontMetrics metrics(form->lstTopics()->font());
    for (const QString& name : Entries())
        EXPECT_GE(form->lstTopics()->viewport()->width(), metrics.horizontalAdvance(name)) << name.toStdString();
}

TEST_F(frm82TopicsTest, AddTopicTwiceAddsTwoEmptyTopicsWithTheNextKeys)
{
    const int last = core::GetLastItemKey();
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->cmdNewTopic()->click();
    form->cmdNewTopic()->click();
    EXPECT_EQ(Entries(), (QStringList{"Selected Alternative Description", "Rationale for selecting this Alternative", "", ""}));
    EXPECT_EQ(form->lstTopics()->currentRow(), 3);
    ASSERT_NE(form->current(), nullptr);
    EXPECT_EQ(form->current()->ItemKey(), last + 2);
    EXPECT_TRUE(RowExists(last + 1) && RowExists(last + 2)) << "a new topic is in the file at once";
    EXPECT_TRUE(form->cmdDelete()->isEnabled());
    EXPECT_TRUE(form->topic()->nameBox()->hasFocus()) << "ready for the new topic's heading";

    QTest::keyClicks(form->topic()->nameBox(), QStringLiteral("Weather outlook"));
    EXPECT_EQ(Entries().last(), QStringLiteral("Weather outlook")) << "the list follows the typing";
    EXPECT_EQ(form->current()->Heading(), QStringLiteral("Weather outlook"));
    form->lstTopics()->setCurrentRow(0);   // leaving the topic stores it
    EXPECT_EQ(StoredHeading(last + 2), QStringLiteral("Weather outlook"));
    EXPECT_EQ(core::GetChildKeys(core::kSummaryGroupKey), (QList<int>{291, 292, last + 1, last + 2}));
}

TEST_F(frm82TopicsTest, TheBodyTypedIsStoredWithItsClosedParagraph)
{
    form->lstTopics()->setCurrentRow(1);
    QTest::keyClicks(form->topic()->bodyEditor()->textEdit(), QStringLiteral("Lowest cost and safest."));
    const QString body = core::GetSummaryItem(292)->Body();
    EXPECT_TRUE(body.endsWith(QStringLiteral("\\par }")));
    form->SaveChanges();
    reopen();
    EXPECT_EQ(richtext::RtfToPlainText(core::GetSummaryItem(292)->Body()).trimmed(), QStringLiteral("Lowest cost and safest."));
}

TEST_F(frm82TopicsTest, ATopicEditedAndDeletedLeavesNoRowBehind)
{
    form->cmdNewTopic()->click();
    const int key = form->current()->ItemKey();
    QTest::keyClicks(form->topic()->nameBox(), QStringLiteral("Draft"));
    QTest::keyClicks(form->topic()->bodyEditor()->textEdit(), QStringLiteral("Half written."));
    form->cmdDelete()->click();
    EXPECT_EQ(Entries(), (QStringList{"Selected Alternative Description", "Rationale for selecting this Alternative"}));
    EXPECT_EQ(form->current()->ItemKey(), 291) << "the first topic is shown";
    form->SaveChanges();
    core::SaveSummary();   // what the shell does when the worksheet is left
    form.reset();
    EXPECT_FALSE(RowExists(key));
    reopen();
    EXPECT_FALSE(RowExists(key));
    EXPECT_EQ(core::GetChildKeys(core::kSummaryGroupKey), (QList<int>{291, 292}));
}

TEST_F(frm82TopicsTest, TheDecisionTextsStayWhateverIsClicked)
{
    form->lstTopics()->setCurrentRow(1);
    EXPECT_FALSE(form->cmdDelete()->isEnabled());
    form->cmdDelete_Click();   // even when called directly
    EXPECT_TRUE(RowExists(292));
    EXPECT_EQ(Entries().size(), 2);
}

// A topic chosen with the mouse or Enter, and the first one shown, take the keyboard to their
// text, so the user types at once; the arrow keys stay in the list to look through it.
TEST_F(frm82TopicsTest, AChosenTopicTakesTheKeyboardToItsText)
{
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    QWidget* body = form->topic()->bodyEditor()->textEdit();
    EXPECT_EQ(QApplication::focusWidget(), body);

    QListWidget* list = form->lstTopics();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(1)).center());
    EXPECT_EQ(form->current()->ItemKey(), 292);
    EXPECT_EQ(QApplication::focusWidget(), body);
    QTest::keyClicks(body, "Least cost");
    EXPECT_TRUE(form->topic()->bodyEditor()->plainText().contains(QStringLiteral("Least cost")));

    list->setFocus();
    QTest::keyClick(list, Qt::Key_Up);
    EXPECT_EQ(form->current()->ItemKey(), 291);
    EXPECT_EQ(QApplication::focusWidget(), list);
    QTest::keyClick(list, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), body);
}

// A topic the file refuses to delete stays listed, shown and current, the error reported; once
// the file takes the delete, it goes.
TEST_F(frm82TopicsTest, ATopicThatCannotBeDeletedStaysShown)
{
    form->cmdNewTopic()->click();
    QTest::keyClicks(form->topic()->nameBox(), QStringLiteral("Weather"));
    const int key = form->current()->ItemKey();
    testsupport::BreakDeletes(db(), QStringLiteral("Items"));
    form->cmdDelete()->click();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(RowExists(key));
    ASSERT_NE(form->current(), nullptr);
    EXPECT_EQ(form->current()->ItemKey(), key);
    EXPECT_EQ(Entries().last(), QStringLiteral("Weather"));
    EXPECT_EQ(form->lstTopics()->currentRow(), Entries().size() - 1);
    EXPECT_EQ(form->topic()->name(), QStringLiteral("Weather"));

    testsupport::HealDeletes(db(), QStringLiteral("Items"));
    form->cmdDelete()->click();
    EXPECT_FALSE(RowExists(key));
    EXPECT_EQ(Entries().size(), 2);
    EXPECT_EQ(form->current()->ItemKey(), 291);
}

// A topic whose save fails stays shown and selected, so what is typed next lands on it and is
// stored once the file takes it again.
TEST_F(frm82TopicsTest, ATopicThatCannotBeStoredStaysShownAndSelected)
{
    form->topic()->nameBox()->setFocus();
    form->topic()->nameBox()->selectAll();
    QTest::keyClicks(form->topic()->nameBox(), "Chosen strategy");

    db().Execute(QStringLiteral("ALTER TABLE Items RENAME TO ItemsAway"));
    form->lstTopics()->setCurrentRow(1);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(form->lstTopics()->currentRow(), 0);
    ASSERT_NE(form->current(), nullptr);
    EXPECT_EQ(form->current()->ItemKey(), 291);
    QTest::keyClicks(form->topic()->nameBox(), "!");
    EXPECT_EQ(Entries().first(), QStringLiteral("Chosen strategy!"));

    db().Execute(QStringLiteral("ALTER TABLE ItemsAway RENAME TO Items"));
    form->lstTopics()->setCurrentRow(1);
    EXPECT_EQ(form->current()->ItemKey(), 292);
    EXPECT_EQ(StoredHeading(291), QStringLiteral("Chosen strategy!"));
}
