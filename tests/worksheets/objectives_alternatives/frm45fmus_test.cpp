#include "worksheets/objectives_alternatives/frm45fmus.h"

#include "model/c33fmu.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/c64burnarea.h"
#include "model/g33fmus.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "platform/grid/grid.h"
#include "support/worksheet_fixture.h"

#include <QLabel>

using model::OutcomeKind;
using worksheets::frm45FMUs;

namespace {

class FMUsTest : public WorksheetFixture<frm45FMUs> {
protected:
    FMUsTest() : WorksheetFixture({.size = {776, 470}, .waitUntilActive = true}) {}
    // Three FMUs, then two alternatives, so every outcome starts at 50 in each FMU.
    void storeAnalysis()
    {
        for (const char* name : {"North Fork", "Bear Creek", "Sawtooth"})
            model::NewFMU(QString(), name);
        model::ClearFMUs();
        model::AddAlternative("A")->SaveChanges();
        model::AddAlternative("B")->SaveChanges();
        testsupport::ClearModelCaches();
    }
    grid::Grid& outcomes() { return *form->grdOutcomes(); }
    grid::Grid& fmus() { return *form->grdFMUs(); }
    QStringList portions()
    {
        QStringList texts;
        for (int r = 1; r < fmus().rows(); ++r)
            texts << fmus().text(r, 1);
        return texts;
    }
    // Types into the portion cell of an FMU row the way the user does: the cell is entered,
    // its editor opens at once, and the keys go to the editor.
    void typePortion(int row, const QString& keys, Qt::Key end = Qt::Key_Return)
    {
        fmus().setFocus();
        fmus().setCurrentCell(row, 1);
        if (!fmus().isEditing())
            fmus().editCell();
        QWidget* editor = QApplication::focusWidget();
        ASSERT_NE(editor, nullptr);
        ASSERT_TRUE(fmus().isEditing());
        QTest::keyClick(editor, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, keys);
        QTest::keyClick(editor, end);
    }
    int storedPortion(int outcomeKey, int fmuKey)
    {
        auto rs = db().OpenTable("OutcomeFMZs");
        rs->Seek(outcomeKey, fmuKey);
        return rs->NoMatch() ? -999 : rs->Field("Portion").toInt();
    }
};

TEST_F(FMUsTest, ANewOutcomeCountsFiftyInEachFMU)
{
    storeAnalysis();
    open();
    EXPECT_EQ(outcomes().text(1, 0), "A. ");
    EXPECT_EQ(outcomes().text(outcomes().rows() - 1, 0), "Extreme Outcome");   // the Extreme row comes last
    EXPECT_EQ(fmus().text(1, 0), "North Fork");
    EXPECT_EQ(portions(), QStringList({"50", "50", "50"}));
    EXPECT_EQ(form->lblTotal()->text(), "150");
    EXPECT_EQ(form->current(), model::GetAlternatives().At(0)->Outcome(OutcomeKind::Target).get());
}

TEST_F(FMUsTest, PortionsAreWholeNumbersOfAtLeastZero)
{
    storeAnalysis();
    open();
    typePortion(1, "-4x0.5");   // only the digits arrive
    EXPECT_EQ(fmus().text(1, 1), "405");
    EXPECT_EQ(form->lblTotal()->text(), "505");
    typePortion(2, "123456");   // a fifth digit is refused
    EXPECT_EQ(fmus().text(2, 1), "1234");
    typePortion(3, "");
    EXPECT_EQ(fmus().text(3, 1), "0");
    EXPECT_EQ(form->lblTotal()->text(), "1639");

    // Escape puts back the portion the edit began with, in the outcome as well.
    typePortion(1, "7", Qt::Key_Escape);
    EXPECT_EQ(fmus().text(1, 1), "405");
    EXPECT_EQ(form->lblTotal()->text(), "1639");

    const int key = form->current()->ItemKey();
    const int fmu1 = model::GetFMUs().at(0)->ItemKey();
    leave();
    EXPECT_EQ(storedPortion(key, fmu1), 405);
    for (const QString& pasted : {"-50", "abc", "1e9"}) {
        open();
        fmus().setCurrentCell(1, 1);
        fmus().setEditText(pasted);   // text that reaches the editor around the key filter
        fmus().finishEdit();
        EXPECT_GE(form->current()->BurnArea(fmu1)->FMUPortion(), 0) << pasted.toStdString();
        leave();
        EXPECT_GE(storedPortion(key, fmu1), 0) << pasted.toStdString();
        testsupport::ClearModelCaches();
    }
}

TEST_F(FMUsTest, TheKeyboardChoosesTheOutcomeAsAClickDoes)
{
    storeAnalysis();
    open();
    const auto a = model::GetAlternatives().At(0);
    const auto b = model::GetAlternatives().At(1);
    typePortion(1, "40");
    typePortion(2, "40");
    EXPECT_EQ(form->lblTotal()->text(), "130");

    outcomes().setFocus();
    QTest::keyClick(&outcomes(), Qt::Key_Down);
    ASSERT_EQ(outcomes().row(), 2);
    EXPECT_EQ(form->current(), b->Outcome(OutcomeKind::Target).get());
    EXPECT_TRUE(outcomes().cellBackColor(2, 0).isValid());   // shaded as the outcome shown
    EXPECT_FALSE(outcomes().cellBackColor(1, 0).isValid());
    // Moving on saved the portions of the outcome left.
    const int fmu1 = model::GetFMUs().at(0)->ItemKey();
    EXPECT_EQ(storedPortion(a->Outcome(OutcomeKind::Target)->ItemKey(), fmu1), 40);
    EXPECT_EQ(portions(), QStringList({"50", "50", "50"}));
    typePortion(3, "10");
    EXPECT_EQ(b->Outcome(OutcomeKind::Target)->BurnArea(model::GetFMUs().at(2)->ItemKey())->FMUPortion(), 10);
    EXPECT_EQ(a->Outcome(OutcomeKind::Target)->BurnArea(model::GetFMUs().at(2)->ItemKey())->FMUPortion(), 50);

    // The last row, the Extreme outcome, by keyboard too.
    outcomes().setFocus();
    QTest::keyClick(&outcomes(), Qt::Key_Down);
    EXPECT_EQ(form->current(), model::GetExtremeOutcome().get());
    leave();
    EXPECT_EQ(storedPortion(b->Outcome(OutcomeKind::Target)->ItemKey(), model::GetFMUs().at(2)->ItemKey()), 10);
}

TEST_F(FMUsTest, WithoutAlternativesTheExtremeOutcomeIsEdited)
{
    for (const char* name : {"North Fork", "Bear Creek"})
        model::NewFMU(QString(), name);
    testsupport::ClearModelCaches();
    open();
    EXPECT_EQ(outcomes().rows(), 2);
    EXPECT_EQ(form->current(), model::GetExtremeOutcome().get());
    typePortion(1, "30");
    EXPECT_EQ(form->lblTotal()->text(), QString::number(30 + form->current()->BurnArea(model::GetFMUs().at(1)->ItemKey())->FMUPortion()));
    leave();
}

} // namespace
