#include "worksheets/objectives_alternatives/frm43outcomes.h"

#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "platform/grid/grid.h"
#include "platform/richtext/richtexteditor.h"
#include "support/worksheet_fixture.h"
#include "worksheets/common/topiceditor.h"

#include <QLineEdit>
#include <QPushButton>

using model::OutcomeKind;
using worksheets::frm43Outcomes;

namespace {

class OutcomesTest : public WorksheetFixture<frm43Outcomes> {
protected:
    OutcomesTest() : WorksheetFixture({.size = {776, 470}, .waitUntilActive = true}) {}
    // Alternatives written by an earlier session: labels A, B, ...; Fallbacks shown as asked.
    QList<int> storedAlternatives(const QList<bool>& fallbacks)
    {
        QList<int> keys;
        for (int i = 0; i < fallbacks.size(); ++i) {
            auto alt = model::AddAlternative(QString(QChar(u'A' + i)));
            alt->SetHeading(QStringLiteral("Strategy %1").arg(i + 1));
            alt->SaveChanges();
            if (fallbacks[i]) {
                alt->Outcome(OutcomeKind::Fallback)->SetbShow(true);
                alt->Outcome(OutcomeKind::Fallback)->SaveChanges();
            }
            keys << alt->ItemKey();
        }
        testsupport::ClearModelCaches();
        return keys;
    }
    grid::Grid& grid() { return *form->grdOutcomes(); }
    QStringList column(int c)
    {
        QStringList texts;
        for (int r = 1; r < grid().rows(); ++r)
            texts << grid().text(r, c);
        return texts;
    }
    void clickRow(int r)
    {
        QTest::mouseClick(grid().viewport(), Qt::LeftButton, {},
                          grid().visualRect(grid().model()->index(r, 1)).center());
    }
    void type(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClicks(box, text);
    }
};

TEST_F(OutcomesTest, OpensOnTheExtremeOutcomeWithTheRowsInOrder)
{
    storedAlternatives({false, true});
    open();
    EXPECT_EQ(column(0), QStringList({"Extreme Outcome", "A. Strategy 1", "B. Strategy 2", "B. Strategy 2"}));
    EXPECT_EQ(column(1), QStringList({"Extreme Outcome", "Target", "Target", "Fallback"}));
    ASSERT_NE(form->current(), nullptr);
    EXPECT_EQ(form->current(), model::GetExtremeOutcome().get());
    EXPECT_EQ(grid().row(), 1);
    EXPECT_EQ(form->cmdFallback()->text(), "Add a Fallback for this Alternative");
    EXPECT_FALSE(form->cmdFallback()->isEnabled());
    EXPECT_EQ(form->txtSize()->text(), "0");
    EXPECT_EQ(form->txtContain()->text(), "0");

    clickRow(3);   // B's Target: its Fallback is already there
    EXPECT_EQ(form->current()->ShortName(), "Target");
    EXPECT_FALSE(form->cmdFallback()->isEnabled());
    clickRow(4);
    EXPECT_EQ(form->cmdFallback()->text(), "Remove this Fallback");
    EXPECT_TRUE(form->cmdFallback()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), form->topic()->bodyEditor()->textEdit());
}

TEST_F(OutcomesTest, AFallbackAddedRemovedAndAddedAgainKeepsItsData)
{
    const int a = storedAlternatives({false})[0];
    open();
    clickRow(2);
    QTest::mouseClick(form->cmdFallback(), Qt::LeftButton);
    ASSERT_EQ(grid().rows(), 4);
    EXPECT_EQ(grid().row(), 3);
    model::c53Outcome* fallback = form->current();
    ASSERT_EQ(fallback->OutcomeIndex(), 2);
    const int key = fallback->ItemKey();
    EXPECT_EQ(form->cmdFallback()->text(), "Remove this Fallback");
    type(form->txtSize(), "800");
    type(form->txtContain(), "3");
    type(form->txtControl(), "9");
    form->topic()->bodyEditor()->textEdit()->setFocus();
    QTest::keyClicks(form->topic()->bodyEditor()->textEdit(), "Hold at the river");

    QTest::mouseClick(form->cmdFallback(), Qt::LeftButton);
    EXPECT_EQ(grid().rows(), 3);
    EXPECT_EQ(form->current()->OutcomeIndex(), 1);
    EXPECT_EQ(form->current()->AlternativeKey(), a);
    EXPECT_EQ(form->cmdFallback()->text(), "Add a Fallback for this Alternative");
    EXPECT_TRUE(form->cmdFallback()->isEnabled());
    // Hidden, with everything typed kept in the file.
    EXPECT_EQ(stored("Outcomes", key, "Success").toInt(), -1);
    EXPECT_FLOAT_EQ(stored("Outcomes", key, "FireSize").toFloat(), 800);
    EXPECT_EQ(stored("Outcomes", key, "ContainTime").toInt(), 3);
    EXPECT_EQ(stored("Outcomes", key, "ControlTime").toInt(), 9);
    EXPECT_TRUE(stored("Outcomes", key, "Description").toString().contains("Hold at the river"));

    QTest::mouseClick(form->cmdFallback(), Qt::LeftButton);
    EXPECT_EQ(form->current()->ItemKey(), key);
    EXPECT_EQ(form->txtSize()->text(), "800");
    EXPECT_EQ(form->txtControl()->text(), "9");
    EXPECT_TRUE(form->topic()->bodyEditor()->plainText().contains("Hold at the river"));
    EXPECT_EQ(column(2)[2], " 800 ");
    leave();
    EXPECT_EQ(stored("Outcomes", key, "Success").toInt(), 0);
}

TEST_F(OutcomesTest, RemovingTheLastFallbackLeavesItsTargetCurrent)
{
    storedAlternatives({false, true});
    open();
    clickRow(4);   // the last row: B's Fallback
    ASSERT_EQ(form->current()->OutcomeIndex(), 2);
    QTest::mouseClick(form->cmdFallback(), Qt::LeftButton);
    ASSERT_EQ(grid().rows(), 4);
    model::c53Outcome* target = form->current();
    EXPECT_EQ(target->OutcomeIndex(), 1);
    EXPECT_EQ(grid().rowObject<model::c53Outcome>(grid().row()), target);
    type(form->txtSize(), "450");
    EXPECT_FLOAT_EQ(target->FireSizeValue(), 450);
    EXPECT_EQ(grid().text(3, 2), "450");
    EXPECT_FLOAT_EQ(model::GetAlternatives().At(1)->Outcome(OutcomeKind::Fallback)->FireSizeValue(), 0);
}

TEST_F(OutcomesTest, SizeWithThousandsSeparatorsAndDigitsOnly)
{
    storedAlternatives({false});
    open();
    clickRow(2);
    const int key = form->current()->ItemKey();
    type(form->txtSize(), "12,500");
    EXPECT_EQ(form->txtSize()->text(), "12,500");
    EXPECT_FLOAT_EQ(form->current()->FireSizeValue(), 12500);
    EXPECT_EQ(grid().text(2, 2), "12500");   // as read back while typing
    // A decimal point or a minus sign cannot be typed; letters neither.
    type(form->txtContain(), "-2.5d");
    EXPECT_EQ(form->txtContain()->text(), "25");
    type(form->txtControl(), "");
    QTest::keyClick(form->txtControl(), Qt::Key_Backspace);
    EXPECT_EQ(form->txtControl()->text(), "");
    EXPECT_EQ(form->current()->ControlTime(), 0);

    leave();
    EXPECT_FLOAT_EQ(stored("Outcomes", key, "FireSize").toFloat(), 12500);
    EXPECT_EQ(stored("Outcomes", key, "ContainTime").toInt(), 25);
    testsupport::ClearModelCaches();
    open();
    EXPECT_EQ(grid().text(2, 2), " 12,500 ");
    clickRow(2);
    EXPECT_EQ(form->txtSize()->text(), "12500");
    EXPECT_EQ(form->txtControl()->text(), "0");
}

// A size the outcome's single-precision column would not hold to the acre is refused when the
// typing ends, and the size from before comes back; while typing, the size so far stands.
TEST_F(OutcomesTest, ASizeBeyondWhatIsStoredExactlyIsRefusedWhenTypingEnds)
{
    storedAlternatives({false});
    open();
    clickRow(2);
    type(form->txtSize(), "16777216");
    QTest::keyClick(form->txtSize(), Qt::Key_Return);
    EXPECT_FLOAT_EQ(form->current()->FireSizeValue(), 16777216.0f);
    EXPECT_TRUE(prompter.messages().isEmpty());

    type(form->txtSize(), "20000001");   // 20,000,001 would be stored as 20,000,000
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_FLOAT_EQ(form->current()->FireSizeValue(), 2000000);
    EXPECT_EQ(grid().text(2, 2), "2000000");
    QTest::keyClick(form->txtSize(), Qt::Key_Return);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text,
              "The final fire size cannot be more than 16,777,216 acres.\r\nThe size stays 16777216.");
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Warning);
    EXPECT_EQ(form->txtSize()->text(), "16777216");
    EXPECT_FLOAT_EQ(form->current()->FireSizeValue(), 16777216.0f);
    EXPECT_EQ(grid().text(2, 2), "16777216");
}

// Pasted or otherwise foreign text in the boxes (the Edit menu's paste bypasses the key
// filter), the typing ended with Enter: a text that is no number of the box's kind is refused,
// one message a box, and the value before stays; nothing out of range is stored.
TEST_F(OutcomesTest, HostileValuesAreRefusedAndTheValueBeforeStays)
{
    storedAlternatives({true});
    open();
    clickRow(2);
    const auto enter = [](QLineEdit* box, const QString& text) {
        box->setFocus();
        box->setText(text);
        QTest::keyClick(box, Qt::Key_Return);
    };
    const struct {
        QString text;
        float size;
        int days;
        int messages;
    } cases[] = {
        {"1,2,3", 123, 7, 3},
        {"-5", 123, 7, 3},
        {"1e39", 123, 7, 3},
        {"99999999999999999999", 123, 7, 3},
        {"abc", 123, 7, 3},
        {"NaN", 123, 7, 3},
        {"inf", 123, 7, 3},
        {"\u221E", 123, 7, 3},
        {"$", 123, 7, 3},
        {"0x1F", 123, 7, 3},
        {"\\par }", 123, 7, 3},
        {"{", 123, 7, 3},
        {"12\t5", 123, 7, 3},
        {"  ", 0, 0, 0},                        // an emptied box reads as 0
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        enter(form->txtSize(), "123");
        enter(form->txtContain(), "7");
        enter(form->txtControl(), "7");
        prompter.clear();
        for (QLineEdit* box : {form->txtSize(), form->txtContain(), form->txtControl()})
            enter(box, c.text);
        EXPECT_FLOAT_EQ(form->current()->FireSizeValue(), c.size);
        EXPECT_EQ(form->current()->ContainTime(), c.days);
        EXPECT_EQ(form->current()->ControlTime(), c.days);
        EXPECT_EQ(prompter.messages().size(), c.messages);
    }
    leave();
}

TEST_F(OutcomesTest, MovingThroughTheGridWithTheKeyboardShowsEachOutcome)
{
    storedAlternatives({false, true});
    open();
    grid().setFocus();
    QTest::keyClick(&grid(), Qt::Key_Down);
    ASSERT_EQ(grid().row(), 2);
    EXPECT_EQ(form->current(), model::GetAlternatives().At(0)->Outcome(OutcomeKind::Target).get());
    EXPECT_EQ(QApplication::focusWidget(), &grid());   // the keyboard stays in the grid
    // A click after a key that chose no other outcome still sends the user on to the description.
    QTest::keyClick(&grid(), Qt::Key_Left);
    QApplication::processEvents();
    clickRow(1);
    EXPECT_EQ(QApplication::focusWidget(), form->topic()->bodyEditor()->textEdit());
    grid().setFocus();
    QTest::keyClick(&grid(), Qt::Key_Down);
    QTest::keyClick(&grid(), Qt::Key_Down);
    QTest::keyClick(&grid(), Qt::Key_Down);
    ASSERT_EQ(grid().row(), 4);
    model::c53Outcome* fallback = model::GetAlternatives().At(1)->Outcome(OutcomeKind::Fallback).get();
    EXPECT_EQ(form->current(), fallback);
    EXPECT_EQ(form->cmdFallback()->text(), "Remove this Fallback");
    type(form->txtContain(), "4");
    EXPECT_EQ(fallback->ContainTime(), 4);
    EXPECT_EQ(grid().text(4, 3), "4");

    // Tab from the grid reaches the Fallback button, Space presses it.
    grid().setFocus();
    QTest::keyClick(&grid(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->cmdFallback());
    QTest::keyClick(form->cmdFallback(), Qt::Key_Space);
    EXPECT_EQ(grid().rows(), 4);
    EXPECT_EQ(form->current(), model::GetAlternatives().At(1)->Outcome(OutcomeKind::Target).get());
    EXPECT_EQ(QApplication::focusWidget(), form->topic()->bodyEditor()->textEdit());   // ready to describe it

    // Enter and Down walk the boxes, Up walks back.
    form->txtSize()->setFocus();
    QTest::keyClick(form->txtSize(), Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), form->txtContain());
    QTest::keyClick(form->txtContain(), Qt::Key_Down);
    EXPECT_EQ(QApplication::focusWidget(), form->txtControl());
    QTest::keyClick(form->txtControl(), Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), form->txtContain());
}

} // namespace
