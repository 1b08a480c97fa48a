#include "worksheets/objectives_alternatives/frm42alternatives.h"

#include "core/g0items.h"
#include "core/uimode.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "platform/richtext/richtexteditor.h"
#include "support/worksheet_fixture.h"
#include "worksheets/common/topiceditor.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>

using model::OutcomeKind;
using worksheets::frm42Alternatives;

namespace {

class AlternativesTest : public WorksheetFixture<frm42Alternatives> {
protected:
    AlternativesTest() : WorksheetFixture({.size = {776, 470}, .waitUntilActive = true}) {}
    QStringList listTexts() const
    {
        QStringList texts;
        for (int i = 0; i < form->lstAlternatives()->count(); ++i)
            texts << form->lstAlternatives()->item(i)->text();
        return texts;
    }
    void add() { QTest::mouseClick(form->cmdAdd(), Qt::LeftButton); }
    void expectNoAlternativeShown()
    {
        EXPECT_EQ(form->current(), nullptr);
        EXPECT_FALSE(form->pnlDetails()->isEnabled());
        EXPECT_FALSE(form->cmdDelete()->isEnabled());
        EXPECT_TRUE(form->cmdAdd()->isEnabled());
    }
};

TEST(NextAlternativeLabel, ContinuesLettersPastZ)
{
    const struct {
        const char* last;
        int count;
        const char* next;
    } cases[] = {
        {"", 0, "A"},        {"Q", 0, "A"},      {"A", 1, "B"},      {"c", 3, "d"},     {"Y", 25, "Z"},
        {"Z", 26, "AA"},     {"AA", 27, "AB"},   {"AZ", 52, "BA"},   {"ZZ", 702, "AAA"}, {"z", 26, "aa"},
        {"Alpha", 2, "B"},   {"ALT", 2, "B"},   {"1", 3, "D"},      {" A", 3, "D"},     {"", 3, "D"},      {"9", 26, "AA"},
        {"[", 27, "AB"},     {"Z1", 40, "AO"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(worksheets::NextAlternativeLabel(c.last, c.count), c.next) << c.last << " of " << c.count;
    // No label holds a character that means something in a report or a rich-text body.
    for (int count = 1; count < 800; ++count)
        EXPECT_FALSE(worksheets::NextAlternativeLabel(QStringLiteral("9"), count).contains(QRegularExpression("[^A-Z]")))
            << count;
}

TEST_F(AlternativesTest, LabelsFollowTheLastEntryAndDeleteLeavesTheGap)
{
    open();
    expectNoAlternativeShown();

    add();
    ASSERT_NE(form->current(), nullptr);
    EXPECT_TRUE(form->pnlDetails()->isEnabled());
    EXPECT_TRUE(form->cmdDelete()->isEnabled());
    add();
    add();
    EXPECT_EQ(listTexts(), QStringList({"A. ", "B. ", "C. "}));
    EXPECT_EQ(form->lstAlternatives()->currentRow(), 2);
    EXPECT_EQ(form->txtLabel()->text(), "C");
    EXPECT_EQ(QApplication::focusWidget(), form->txtLabel());

    // Each has its Target (shown) and its Fallback (hidden) at once.
    const auto c = model::GetAlternative(form->current()->ItemKey());
    EXPECT_EQ(stored("Outcomes", c->Outcome(OutcomeKind::Target)->ItemKey(), "Success").toInt(), 100);
    EXPECT_EQ(stored("Outcomes", c->Outcome(OutcomeKind::Fallback)->ItemKey(), "Success").toInt(), -1);

    form->lstAlternatives()->setCurrentRow(1);
    const int b = form->current()->ItemKey();
    prompter.answer(ui::Answer::Yes);
    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "Do you really want to delete B. ");
    EXPECT_EQ(stored("Items", b, "ItemName").toString(), "<no row>");
    // The entry that moved into its place is selected.
    EXPECT_EQ(listTexts(), QStringList({"A. ", "C. "}));
    EXPECT_EQ(form->lstAlternatives()->currentRow(), 1);
    EXPECT_EQ(form->txtLabel()->text(), "C");

    add();
    EXPECT_EQ(listTexts(), QStringList({"A. ", "C. ", "D. "}));
}

TEST_F(AlternativesTest, TypingReplacesTheLabelLetterAndTheListFollows)
{
    open();
    add();
    const int key = form->current()->ItemKey();
    QApplication::processEvents();   // the focus selection lands
    EXPECT_EQ(form->txtLabel()->selectedText(), "A");
    QTest::keyClicks(form->txtLabel(), "P");
    QTest::keyClick(form->txtLabel(), Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), form->txtName());
    QTest::keyClicks(form->txtName(), "Perimeter control");
    EXPECT_EQ(listTexts(), QStringList{"P. Perimeter control"});
    form->topic()->bodyEditor()->textEdit()->setFocus();
    QTest::keyClicks(form->topic()->bodyEditor()->textEdit(), "Dozer line on the east flank");

    // In the cache at once, in the file when the worksheet is left.
    EXPECT_EQ(stored("Items", key, "ItemName").toString(), "A");
    model::SaveAlternatives();
    form.reset();
    EXPECT_EQ(stored("Items", key, "ItemName").toString(), "P");
    EXPECT_EQ(stored("Items", key, "Heading").toString(), "Perimeter control");
    const QString body = stored("Items", key, "Body").toString();
    EXPECT_TRUE(body.contains("Dozer line on the east flank")) << body.toStdString();
    EXPECT_TRUE(body.endsWith("\\par }"));

    // Adding after a renamed last entry goes on from its letter.
    testsupport::ClearModelCaches();
    open();
    add();
    EXPECT_EQ(listTexts(), QStringList({"P. Perimeter control", "Q. "}));
}

TEST_F(AlternativesTest, TheSelectedAlternativeCannotBeDeleted)
{
    open();
    add();
    add();
    form->lstAlternatives()->setCurrentRow(0);
    model::SetSelectedAlternative(*form->current());
    const int a = form->current()->ItemKey();

    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    ASSERT_EQ(prompter.messages().size(), 1);   // no question first
    EXPECT_EQ(prompter.messages()[0].text, "Cannot delete selected Alternative");
    EXPECT_EQ(prompter.messages()[0].buttons, ui::Buttons::OK);
    EXPECT_EQ(listTexts(), QStringList({"A. ", "B. "}));
    EXPECT_EQ(stored("Items", a, "ItemName").toString(), "A");
}

TEST_F(AlternativesTest, NoAnswerKeepsEverythingAndTheOnlyAlternativeIsReplacedByANewA)
{
    open();
    add();
    const int a = form->current()->ItemKey();
    const int target = model::GetAlternative(a)->Outcome(OutcomeKind::Target)->ItemKey();

    prompter.answer(ui::Answer::No);
    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    EXPECT_EQ(listTexts(), QStringList{"A. "});
    EXPECT_EQ(form->current()->ItemKey(), a);

    prompter.answer(ui::Answer::Yes);
    QTest::mouseClick(form->cmdDelete(), Qt::LeftButton);
    EXPECT_EQ(stored("Items", a, "ItemName").toString(), "<no row>");
    EXPECT_NE(stored("Outcomes", target, "ParentKey").toInt(), a);   // its outcomes went with it
    EXPECT_EQ(listTexts(), QStringList{"A. "});
    ASSERT_NE(form->current(), nullptr);
    EXPECT_NE(form->current()->ItemKey(), a);
    EXPECT_TRUE(form->cmdDelete()->isEnabled());
}

TEST_F(AlternativesTest, ChangesFiredWhileFillingWriteNothing)
{
    open();
    add();
    model::SaveAlternatives();
    form.reset();
    testsupport::ClearModelCaches();
    open();
    EXPECT_FALSE(form->current()->IsDirty());
    {
        core::BusyScope busy;
        form->txtLabel()->setText("X");
        form->txtName()->setText("Overwritten");
    }
    EXPECT_FALSE(form->current()->IsDirty());
    EXPECT_EQ(listTexts(), QStringList{"A. "});
}

TEST_F(AlternativesTest, AnAlternativeThatCannotBeStoredStaysShownAndSelected)
{
    open();
    add();
    add();
    form->lstAlternatives()->setCurrentRow(0);
    const int a = form->current()->ItemKey();
    form->txtName()->setFocus();
    QTest::keyClicks(form->txtName(), "Hold the ridge");

    db().Execute("ALTER TABLE Items RENAME TO ItemsAway");   // the save fails
    form->lstAlternatives()->setCurrentRow(1);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(form->lstAlternatives()->currentRow(), 0);
    EXPECT_EQ(form->current()->ItemKey(), a);
    QTest::keyClicks(form->txtName(), "!");
    EXPECT_EQ(listTexts(), QStringList({"A. Hold the ridge!", "B. "}));

    db().Execute("ALTER TABLE ItemsAway RENAME TO Items");
    form->lstAlternatives()->setCurrentRow(1);
    EXPECT_EQ(stored("Items", a, "Heading").toString(), "Hold the ridge!");
}

} // namespace

