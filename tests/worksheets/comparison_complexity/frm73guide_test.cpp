#include "worksheets/comparison_complexity/frm73guide.h"

#include "core/uimode.h"
#include "platform/label/formattedlabel.h"
#include "support/placedform.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

using worksheets::comparison_complexity::frm73Guide;

namespace {

const QString kOpening = "|Before:60||Left:0||Right:0|";

class GuidelinesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = testsupport::NewForm<frm73Guide>();
        form->resize(900, 600);
        form->Setup();
    }
    label::FormattedLabel* page() const { return form->findChild<label::FormattedLabel*>("FLabel1"); }
    QPushButton* topic(int i) const { return form->findChild<QPushButton*>(QString("cmdShow(%1)").arg(i)); }

    std::unique_ptr<frm73Guide> form;
};

TEST_F(GuidelinesTest, ShowingThePageShowsIncidentComplexity)
{
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab73");
    EXPECT_TRUE(core::IsIdle());
    EXPECT_TRUE(page()->caption().startsWith(kOpening + "|B:1|Incident Complexity|CR||B:0|"));
    EXPECT_TRUE(topic(0)->isChecked());
}

TEST_F(GuidelinesTest, EveryTopicButtonShowsItsWholeTopic)
{
    struct Case {
        const char* caption;
        const char* opening;      // the heading piece
        const char* lastWords;    // the topic's text runs to its end
        int paragraphs;
    };
    const Case cases[] = {
        {"Incident Complexity", "|B:1|Incident Complexity", "typing of incident management teams.", 4},
        {"Type 1", "|B:1|Type 1:", "on several Type 2 incidents first.", 8},
        {"Type 2", "|B:1|Type 2:", "These numbers are guides only.", 9},
        {"Type 3", "|B:1|Type 3:  |B:0|(Extended Attack Incident)", "May utilize staging areas and establish a base.", 8},
        {"Type 4", "|B:1|Type 4:  |B:0|(Initial Attack Incident)",
         "Normally the Command/General Staff positions will not be activated.", 7},
        {"Area Command", "|B:1|Area Command:", "according to those priorities.", 2},
    };
    for (int i = 0; i < frm73Guide::kTopicCount; ++i) {
        const Case& c = cases[i];
        ASSERT_EQ(topic(i)->text(), c.caption);
        topic(i)->click();
        const QString caption = page()->caption();
        EXPECT_EQ(caption, frm73Guide::TopicText(i));
        EXPECT_TRUE(caption.startsWith(kOpening + c.opening)) << i;
        EXPECT_TRUE(page()->plainText().endsWith(c.lastWords)) << i;
        const auto paragraphs = label::ParseMarkup(caption);
        EXPECT_EQ(paragraphs.size(), c.paragraphs) << i;
        // The heading is bold, the text after it is not.
        ASSERT_FALSE(paragraphs.isEmpty());
        EXPECT_TRUE(paragraphs[0].runs[0].bold) << i;
        EXPECT_FALSE(paragraphs[1].runs[0].bold) << i;
        for (const auto& p : paragraphs)
            EXPECT_EQ(p.beforeTwips, 60);
        EXPECT_TRUE(topic(i)->isChecked());
    }
}

TEST_F(GuidelinesTest, ANumberedListIsIndentedAndNoIndentCarriesIntoTheNextTopic)
{
    topic(3)->click();
    const auto type3 = label::ParseMarkup(page()->caption());
    EXPECT_EQ(type3.last().leftTwips, 180);
    EXPECT_TRUE(type3.last().text().startsWith("5. "));

    topic(2)->click();
    const auto type2 = label::ParseMarkup(page()->caption());
    EXPECT_EQ(type2[0].leftTwips, 0);
    EXPECT_EQ(type2[1].leftTwips, 0);
    EXPECT_FALSE(page()->plainText().contains("Extended Attack"));
    EXPECT_TRUE(type2[3].text().startsWith("1. Most or all of the Command and General Staff positions are filled."));
    EXPECT_EQ(type2[3].leftTwips, 180);

    // Type 1 returns to the margin for its closing paragraph.
    topic(1)->click();
    const auto type1 = label::ParseMarkup(page()->caption());
    EXPECT_EQ(type1[type1.size() - 2].leftTwips, 180);
    EXPECT_EQ(type1.last().leftTwips, 0);
}

TEST_F(GuidelinesTest, LocalGuidelinesShowTheLocalText)
{
    auto* local = form->findChild<QPushButton*>("cmdLocal");
    ASSERT_NE(local, nullptr);
    local->click();
    EXPECT_EQ(page()->plainText(), "Local Guidelines\nNone.");
    EXPECT_FALSE(topic(0)->isChecked());
}

// The local guidelines box only shows what the template holds: the keyboard and the mouse never
// reach it, and it does not look like a box to type in.
TEST_F(GuidelinesTest, TheLocalGuidelinesBoxCannotBeTypedInto)
{
    auto* local = form->findChild<QLineEdit*>("Text1");
    ASSERT_NE(local, nullptr);
    form->show();
    QApplication::setActiveWindow(form.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    topic(0)->setFocus();
    for (int i = 0; i < 20; ++i) {
        ASSERT_NE(QApplication::focusWidget(), nullptr);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_NE(QApplication::focusWidget(), local);
    }
    QTest::mouseClick(local, Qt::LeftButton);
    EXPECT_FALSE(local->hasFocus());
    QTest::keyClicks(local, "Call the district first");
    EXPECT_EQ(local->text(), "None.");
    EXPECT_EQ(local->palette().color(QPalette::Base), local->palette().color(QPalette::Window));
}

} // namespace
