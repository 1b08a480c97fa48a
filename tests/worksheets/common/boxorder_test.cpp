#include "worksheets/common/boxorder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <gtest/gtest.h>

using worksheets::BoxOrder;

namespace {

class BoxOrderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto* layout = new QVBoxLayout(&form);
        for (auto*& box : boxes) {
            box = new QLineEdit(&form);
            layout->addWidget(box);
        }
        form.show();
        QApplication::setActiveWindow(&form);
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
    }
    QWidget* focused() const { return QApplication::focusWidget(); }

    QWidget form;
    QLineEdit* boxes[4] = {};
};

TEST_F(BoxOrderTest, EnterAndDownMoveOnUpOnlyWhereAsked)
{
    new BoxOrder({boxes[0], boxes[1], boxes[2]}, BoxOrder::Up::Ignored, BoxOrder::Key::Consumed, &form);
    boxes[0]->setFocus();
    QTest::keyClick(boxes[0], Qt::Key_Return);
    EXPECT_EQ(focused(), boxes[1]);
    QTest::keyClick(boxes[1], Qt::Key_Down);
    EXPECT_EQ(focused(), boxes[2]);
    QTest::keyClick(boxes[2], Qt::Key_Up);
    EXPECT_EQ(focused(), boxes[2]);
    // The last box keeps the focus: the fourth box is not in the order.
    QTest::keyClick(boxes[2], Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(focused(), boxes[2]);
}

// A date box with its time box beside it: Right moves on wherever the caret stands, Enter
// still does, and Down is left to the box.
TEST_F(BoxOrderTest, AnAcrossBoxMovesOnRightNotDown)
{
    auto* order = new BoxOrder({boxes[0], boxes[1], boxes[2]}, BoxOrder::Up::Ignored, BoxOrder::Key::Consumed, &form);
    order->setMovesAcross(boxes[0]);
    boxes[0]->setText("07/14/2026");
    boxes[0]->setFocus();
    boxes[0]->setCursorPosition(3);
    QTest::keyClick(boxes[0], Qt::Key_Down);
    EXPECT_EQ(focused(), boxes[0]);
    QTest::keyClick(boxes[0], Qt::Key_Right);
    EXPECT_EQ(focused(), boxes[1]);
    // Elsewhere Right moves the caret only.
    boxes[1]->setText("1435");
    boxes[1]->setCursorPosition(0);
    QTest::keyClick(boxes[1], Qt::Key_Right);
    EXPECT_EQ(focused(), boxes[1]);
    EXPECT_EQ(boxes[1]->cursorPosition(), 1);
    boxes[0]->setFocus();
    QTest::keyClick(boxes[0], Qt::Key_Return);
    EXPECT_EQ(focused(), boxes[1]);
}

TEST_F(BoxOrderTest, UpMovesBackAndDisabledBoxesArePassedOver)
{
    new BoxOrder({boxes[0], boxes[1], boxes[2], boxes[3]}, BoxOrder::Up::MovesBack, BoxOrder::Key::Consumed, &form);
    boxes[1]->setEnabled(false);
    boxes[0]->setFocus();
    QTest::keyClick(boxes[0], Qt::Key_Down);
    EXPECT_EQ(focused(), boxes[2]);
    QTest::keyClick(boxes[2], Qt::Key_Up);
    EXPECT_EQ(focused(), boxes[0]);
    QTest::keyClick(boxes[0], Qt::Key_Up);
    EXPECT_EQ(focused(), boxes[0]);
}

TEST_F(BoxOrderTest, SelectTextOnFocusSelectsAll)
{
    boxes[1]->setText("Fire Use");
    worksheets::SelectTextOnFocus(boxes[1]);
    new BoxOrder({boxes[0], boxes[1]}, BoxOrder::Up::Ignored, BoxOrder::Key::Consumed, &form);
    boxes[0]->setFocus();
    QTest::keyClick(boxes[0], Qt::Key_Return);
    QApplication::processEvents();
    EXPECT_EQ(boxes[1]->selectedText(), "Fire Use");
}

TEST_F(BoxOrderTest, SelectTextOnFocusWithALengthSelectsTheFirstCharacters)
{
    boxes[1]->setText("AB");
    worksheets::SelectTextOnFocus(boxes[1], 1);
    boxes[1]->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(boxes[1]->selectedText(), "A");
    QTest::keyClicks(boxes[1], "C");
    EXPECT_EQ(boxes[1]->text(), "CB");
}

TEST_F(BoxOrderTest, AcceptOnlyCharactersDropsOtherTypedCharacters)
{
    worksheets::AcceptOnlyCharacters(boxes[0], "0123456789,");
    boxes[0]->setFocus();
    QTest::keyClicks(boxes[0], "1-2.5e,0 x");
    QKeyEvent accented(QEvent::KeyPress, Qt::Key_Eacute, Qt::NoModifier, QStringLiteral("\u00e9"));
    QApplication::sendEvent(boxes[0], &accented);
    EXPECT_EQ(boxes[0]->text(), "125,0");
    QTest::keyClick(boxes[0], Qt::Key_Backspace);
    QTest::keyClick(boxes[0], Qt::Key_Home);
    QTest::keyClick(boxes[0], Qt::Key_Delete);
    EXPECT_EQ(boxes[0]->text(), "25,");
    // A paste is the change handler's business.
    boxes[0]->setText("abc");
    EXPECT_EQ(boxes[0]->text(), "abc");
}

} // namespace

