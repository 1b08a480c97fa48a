#include "worksheets/objectives_alternatives/frm44probabilities.h"

#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g51alternatives.h"
#include "platform/canvas/canvas.h"
#include "support/placedarea.h"
#include "support/worksheet_fixture.h"

#include <QApplication>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>

using model::OutcomeKind;
using canvas::Shape;
using worksheets::frm44Probabilities;

namespace {

class ProbabilitiesTest : public WorksheetFixture<frm44Probabilities> {
protected:
    ProbabilitiesTest() : WorksheetFixture({.size = {776, 470}, .waitUntilActive = true}) {}
    // A without a Fallback, B with one.
    void storeAlternatives()
    {
        auto a = model::AddAlternative("A");
        a->SetHeading("Direct attack");
        a->SaveChanges();
        a->Outcome(OutcomeKind::Target)->SetFireSize("1200");
        a->Outcome(OutcomeKind::Target)->SetContainTimeString("3");
        a->Outcome(OutcomeKind::Target)->SetSuccess(70);
        a->Outcome(OutcomeKind::Target)->SaveChanges();
        auto b = model::AddAlternative("B");
        b->SetHeading("Indirect with burnout");
        b->SaveChanges();
        b->Outcome(OutcomeKind::Fallback)->SetbShow(true);
        b->Outcome(OutcomeKind::Fallback)->SetSuccess(60);
        b->Outcome(OutcomeKind::Fallback)->SetSuccessRationale("Ridge top holds in most years");
        b->Outcome(OutcomeKind::Fallback)->SaveChanges();
        testsupport::ClearModelCaches();
    }
    QLineEdit* box(OutcomeKind n) { return form->txtSuccess(n); }
    // Types keys one by one into a box whose text was selected on entry.
    void typeKeys(OutcomeKind n, const QStringList& keys)
    {
        box(n)->setFocus();
        box(n)->selectAll();
        for (const QString& k : keys)
            QTest::keyClicks(box(n), k);
    }
    // Top-left corner of the box drawn under that title; (-1, -1) when there is none.
    QPoint boxAt(const QString& title)
    {
        const QList<Shape>& shapes = form->tree()->drawing().shapes();
        for (int i = 1; i < shapes.size(); ++i)
            if (shapes[i].kind == Shape::Kind::Text && shapes[i].text == title && shapes[i - 1].kind == Shape::Kind::Rect)
                return {shapes[i - 1].x1, shapes[i - 1].y1};
        return {-1, -1};
    }
    int boxTop(const QString& title) { return boxAt(title).y(); }
    int boxLeft(const QString& title) { return boxAt(title).x(); }
};

TEST_F(ProbabilitiesTest, TypedPercentagesStayAsTypedAndStoreWholeNumbers)
{
    storeAlternatives();
    open();
    model::c53Outcome* target = form->current()->Outcome(OutcomeKind::Target).get();
    EXPECT_EQ(box(OutcomeKind::Target)->text(), "70");
    EXPECT_EQ(form->lblFailure(OutcomeKind::Target)->text(), "30");

    typeKeys(OutcomeKind::Target, {"1", "2", ".", "5"});
    EXPECT_EQ(box(OutcomeKind::Target)->text(), "12.5");
    EXPECT_EQ(box(OutcomeKind::Target)->cursorPosition(), 4);
    EXPECT_EQ(target->Success(), 12);
    EXPECT_EQ(form->lblFailure(OutcomeKind::Target)->text(), "88");   // the complement of what is stored
    // Leaving the box takes the value: it then shows what is stored.
    form->txtRationale(OutcomeKind::Target)->setFocus();
    EXPECT_EQ(box(OutcomeKind::Target)->text(), "12");

    typeKeys(OutcomeKind::Target, {"7", "5"});
    EXPECT_EQ(box(OutcomeKind::Target)->text(), "75");
    EXPECT_EQ(target->Success(), 75);
    EXPECT_EQ(form->lblFailure(OutcomeKind::Target)->text(), "25");
}

TEST_F(ProbabilitiesTest, OutOfRangeAndStrayKeysAreClamped)
{
    storeAlternatives();
    open();
    model::c53Outcome* target = form->current()->Outcome(OutcomeKind::Target).get();
    const struct {
        QStringList keys;
        const char* shown;
        int stored;
    } cases[] = {
        {{"1", "5", "0"}, "100", 100}, {{"-", "5"}, "5", 5},   {{"0", "7"}, "7", 7},     {{"5", "x"}, "5", 5},
        {{"9", "9", ".", "9"}, "99.9", 100}, {{"1", "0", "0", ".", "5"}, "100", 100}, {{"."}, ".", 0},
    };
    for (const auto& c : cases) {
        typeKeys(OutcomeKind::Target, c.keys);
        EXPECT_EQ(box(OutcomeKind::Target)->text(), c.shown) << c.keys.join("").toStdString();
        EXPECT_EQ(box(OutcomeKind::Target)->cursorPosition(), box(OutcomeKind::Target)->text().size()) << c.keys.join("").toStdString();
        EXPECT_EQ(target->Success(), c.stored) << c.keys.join("").toStdString();
        EXPECT_EQ(form->lblFailure(OutcomeKind::Target)->text(), QString::number(100 - c.stored));
    }
    // Emptying the box gives a selected 0, which the next digit replaces.
    typeKeys(OutcomeKind::Target, {"4"});
    QTest::keyClick(box(OutcomeKind::Target), Qt::Key_Backspace);
    EXPECT_EQ(box(OutcomeKind::Target)->text(), "0");
    EXPECT_EQ(box(OutcomeKind::Target)->selectedText(), "0");
    QTest::keyClicks(box(OutcomeKind::Target), "6");
    EXPECT_EQ(box(OutcomeKind::Target)->text(), "6");
    // A minus typed first gives 0 too.
    typeKeys(OutcomeKind::Target, {"-"});
    EXPECT_EQ(box(OutcomeKind::Target)->text(), "0");
    EXPECT_EQ(target->Success(), 0);
    // Pasted nonsense of any kind.
    for (const char* text : {"1e308", "-1e308", "nan", "\u221E", "$50", "50%", "4294967346"}) {
        box(OutcomeKind::Target)->setText(text);
        EXPECT_GE(target->Success(), 0) << text;
        EXPECT_LE(target->Success(), 100) << text;
    }
}

TEST_F(ProbabilitiesTest, FiftyAndFiftyGiveFiftyTwentyFiveTwentyFive)
{
    storeAlternatives();
    open();
    form->lstAlternatives()->setCurrentRow(1);
    model::c51Alternative* b = form->current();
    ASSERT_EQ(b->ItemName(), "B");
    typeKeys(OutcomeKind::Target, {"5", "0"});
    typeKeys(OutcomeKind::Fallback, {"5", "0"});
    EXPECT_EQ(form->lblFailure(OutcomeKind::Fallback)->text(), "50");
    EXPECT_EQ(b->OutcomePercent(OutcomeKind::Target), 50);
    EXPECT_EQ(b->OutcomePercent(OutcomeKind::Fallback), 25);
    EXPECT_EQ(b->OutcomePercent(OutcomeKind::Extreme), 25);
    leave();
    EXPECT_EQ(stored("Outcomes", model::GetAlternatives().At(1)->Outcome(OutcomeKind::Fallback)->ItemKey(), "Success").toInt(), 50);
}

// A damaged file may hold any percent: the boxes show what the expected values weigh with.
TEST_F(ProbabilitiesTest, StoredPercentsOutsideTheRangeShowAsTheyWeigh)
{
    storeAlternatives();
    auto b = model::GetAlternatives().At(1);
    b->Outcome(OutcomeKind::Target)->SetSuccess(250);
    b->Outcome(OutcomeKind::Target)->SaveChanges();
    b->Outcome(OutcomeKind::Fallback)->SetSuccess(-7);
    b->Outcome(OutcomeKind::Fallback)->SaveChanges();
    testsupport::ClearModelCaches();
    open();
    form->lstAlternatives()->setCurrentRow(1);
    EXPECT_EQ(box(OutcomeKind::Target)->text(), "100");
    EXPECT_EQ(form->lblFailure(OutcomeKind::Target)->text(), "0");
    EXPECT_EQ(box(OutcomeKind::Fallback)->text(), "0");
    EXPECT_EQ(form->lblFailure(OutcomeKind::Fallback)->text(), "100");
    EXPECT_EQ(form->current()->OutcomePercent(OutcomeKind::Target), 100);
    // Passing through the boxes writes nothing.
    box(OutcomeKind::Target)->setFocus();
    box(OutcomeKind::Fallback)->setFocus();
    form->txtRationale(OutcomeKind::Target)->setFocus();
    EXPECT_EQ(box(OutcomeKind::Target)->text(), "100");
    leave();
    EXPECT_EQ(stored("Outcomes", model::GetAlternatives().At(1)->Outcome(OutcomeKind::Target)->ItemKey(), "Success").toInt(), 250);
}

TEST_F(ProbabilitiesTest, TheTreeHasAFallbackBranchOnlyWhereTheAlternativeHasOne)
{
    storeAlternatives();
    open();
    EXPECT_EQ(form->lblAlternative()->text(), "A. Direct attack");
    QStringList texts = form->tree()->drawing().texts();
    EXPECT_TRUE(texts.contains("Target Outcome"));
    EXPECT_TRUE(texts.contains("Extreme Outcome"));
    EXPECT_FALSE(texts.contains("Fallback Outcome"));
    EXPECT_TRUE(texts.contains("1200"));
    EXPECT_FALSE(form->txtSuccess(OutcomeKind::Fallback)->isVisibleTo(form.get()));
    EXPECT_FALSE(form->txtRationale(OutcomeKind::Fallback)->isVisibleTo(form.get()));
    // The Extreme takes the rest: it has no boxes of its own to type into.
    EXPECT_EQ(form->txtSuccess(OutcomeKind::Extreme), nullptr);
    EXPECT_EQ(form->lblFailure(OutcomeKind::Extreme), nullptr);
    EXPECT_EQ(form->txtRationale(OutcomeKind::Extreme), nullptr);
    EXPECT_EQ(form->lblDiscuss()->text(), "Discuss probabilities");
    // Without a Fallback the Extreme box stands in the Target's column, where the plan would be.
    const int planTop = boxTop("Extreme Outcome");
    EXPECT_EQ(boxLeft("Extreme Outcome"), boxLeft("Target Outcome"));

    form->lstAlternatives()->setCurrentRow(1);
    texts = form->tree()->drawing().texts();
    EXPECT_TRUE(texts.contains("Fallback Outcome"));
    EXPECT_TRUE(texts.contains("Fallback"));
    EXPECT_EQ(boxTop("Extreme Outcome"), 3660);
    EXPECT_EQ(boxLeft("Extreme Outcome"), boxLeft("Fallback Outcome"));
    EXPECT_NE(boxLeft("Fallback Outcome"), boxLeft("Target Outcome"));
    EXPECT_LT(planTop, 3660);
    EXPECT_TRUE(form->txtSuccess(OutcomeKind::Fallback)->isVisibleTo(form.get()));
    EXPECT_EQ(form->txtSuccess(OutcomeKind::Fallback)->text(), "60");
    EXPECT_EQ(form->lblFailure(OutcomeKind::Fallback)->text(), "40");
    EXPECT_EQ(form->txtRationale(OutcomeKind::Fallback)->toPlainText(), "Ridge top holds in most years");
    EXPECT_EQ(form->lblDiscuss()->text(), "Discuss probabilities for primary strategy");

    // No child box overlaps a drawn outcome box.
    const QList<Shape>& shapes = form->tree()->drawing().shapes();
    const double scale = form->tree()->pixelsPerTwip();
    for (QWidget* child : {static_cast<QWidget*>(form->txtSuccess(OutcomeKind::Target)), static_cast<QWidget*>(form->txtSuccess(OutcomeKind::Fallback)),
                           static_cast<QWidget*>(form->lblFailure(OutcomeKind::Target)), static_cast<QWidget*>(form->lblFailure(OutcomeKind::Fallback))})
        for (const Shape& s : shapes)
            if (s.kind == Shape::Kind::Rect && s.x2 - s.x1 > 2000) {
                const QRect drawn(QPoint(int(s.x1 * scale), int(s.y1 * scale)), QPoint(int(s.x2 * scale), int(s.y2 * scale)));
                EXPECT_FALSE(drawn.intersects(child->geometry())) << child->objectName().toStdString();
            }
}

TEST_F(ProbabilitiesTest, SwitchingAlternativesSavesThePreviousOne)
{
    storeAlternatives();
    open();
    const int targetA = form->current()->Outcome(OutcomeKind::Target)->ItemKey();
    typeKeys(OutcomeKind::Target, {"4", "0"});
    form->txtRationale(OutcomeKind::Target)->setFocus();
    QTest::keyClicks(form->txtRationale(OutcomeKind::Target), "Crews are short");
    EXPECT_EQ(stored("Outcomes", targetA, "Success").toInt(), 70);
    form->lstAlternatives()->setCurrentRow(1);
    EXPECT_EQ(stored("Outcomes", targetA, "Success").toInt(), 40);
    EXPECT_EQ(stored("Outcomes", targetA, "SuccessRationale").toString(), "Crews are short");
    // B's own rationale is shown.
    EXPECT_EQ(form->txtRationale(OutcomeKind::Target)->toPlainText(), "");
}

// An alternative of a 150-character name without a Fallback and one of a short name with one,
// in the placed window: choosing the other moves and resizes nothing at the top of the page,
// where the list shrank and the name's box moved as the name changed; the long name shows its
// end, its whole text in the tooltip.
TEST_F(ProbabilitiesTest, ChoosingAnotherAlternativeMovesNothing)
{
    storeAlternatives();
    const auto a = model::GetAlternatives().At(0);
    a->SetHeading(QString("Hold the ridge line from the county road to the river, ").repeated(3).left(141) + " north");
    a->SaveChanges();
    const QString longName = a->Label();
    ASSERT_EQ(longName.size(), 150);
    testsupport::ClearModelCaches();
    open();
    testsupport::PlacedWorksheetArea placed(*form);
    form->layout()->invalidate();   // laid out as a child, not as the window it was
    form->layout()->activate();
    QWidget* watched[] = {form->lstAlternatives(), form->lblAlternative(), form->tree()};
    const auto places = [&] {
        QList<QRect> at;
        for (QWidget* w : watched)
            at << QRect(w->mapTo(&placed.host(), QPoint(0, 0)), w->size());
        return at;
    };
    const QList<QRect> first = places();
    EXPECT_EQ(form->lblAlternative()->toolTip(), longName);
    for (int row : {1, 0, 1}) {
        form->lstAlternatives()->setCurrentRow(row);
        QApplication::processEvents();
        EXPECT_EQ(places(), first) << "row " << row;
    }
    EXPECT_EQ(form->lblAlternative()->toolTip(), "") << "the short name shows whole";
    EXPECT_LE(form->lblAlternative()->mapTo(&placed.host(), QPoint(form->lblAlternative()->width(), 0)).x(),
              placed.host().width());
}

TEST_F(ProbabilitiesTest, AFileWithoutAlternativesSaysSo)
{
    open();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "No alternatives");
    EXPECT_EQ(form->current(), nullptr);
    EXPECT_FALSE(form->txtSuccess(OutcomeKind::Target)->isEnabled());
    QTest::keyClicks(form->txtSuccess(OutcomeKind::Target), "50");   // nothing to store into, nothing breaks
    leave();
}

} // namespace
