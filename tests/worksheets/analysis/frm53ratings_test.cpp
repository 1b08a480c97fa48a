#include "worksheets/analysis/frm53ratings.h"

#include "analysisfixture.h"
#include "core/uimode.h"
#include "model/c41objective.h"
#include "model/c53outcome.h"
#include "model/c62rating.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "platform/grid/grid.h"
#include "platform/richtext/richtexteditor.h"
#include "platform/ui/screen.h"
#include "support/placedform.h"
#include "worksheets/analysis/registerforms.h"

#include <QClipboard>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextEdit>

#include <memory>
#include <optional>

using worksheets::frm53Ratings;

namespace {

constexpr int kRating = 3;
constexpr int kBar = 4;

class RatingsTest : public AnalysisFixture {
protected:
    void TearDown() override
    {
        form.reset();
        AnalysisFixture::TearDown();
    }

    frm53Ratings& open(bool safety)
    {
        if (safety)
            form = testsupport::NewForm<worksheets::frm52SafetyRatings>();
        else
            form = testsupport::NewForm<frm53Ratings>();
        showForm(*form);
        form->Setup();
        QApplication::processEvents();
        return *form;
    }
    // As the shell leaves the worksheet.
    void leave()
    {
        form->SaveChanges();
        form.reset();
    }
    grid::Grid& g() { return *form->Grid1(); }

    // The stored rating of a grid row under the criterion shown: (value, note), or nothing.
    std::optional<std::pair<double, QString>> stored(int row)
    {
        const auto* outcome = form->Grid1()->rowObject<model::c53Outcome>(row);
        auto rs = db().OpenTable("Scores");
        rs->Seek(outcome->ItemKey(), form->currentCriterion()->ItemKey());
        if (rs->NoMatch())
            return std::nullopt;
        return std::make_pair(rs->Field("Value").toDouble(), rs->Field("Description").toString());
    }
    QStringList listTexts() const
    {
        QStringList texts;
        for (int i = 0; i < form->lstObjectives()->count(); ++i)
            texts << form->lstObjectives()->item(i)->text();
        return texts;
    }

    std::unique_ptr<frm53Ratings> form;
};

TEST_F(RatingsTest, BothWorksheetsAreRegisteredAndListTheirCriteria)
{
    build(testsupport::kSmallAnalysis);
    worksheets::analysis::RegisterForms();
    for (const char* id : {"tab52", "tab53"}) {
        std::unique_ptr<worksheets::WorksheetForm> made = testsupport::CreateForm(id);
        ASSERT_NE(dynamic_cast<frm53Ratings*>(made.get()), nullptr) << id;
        made->Setup();
        EXPECT_EQ(worksheets::gCurrentWorksheetID, id);
    }

    open(true);
    EXPECT_EQ(listTexts(), QStringList({"Safety Issues", "    Safety issue 1", "    Safety issue 2"}));
    EXPECT_EQ(form->lstObjectives()->currentRow(), 1);
    EXPECT_EQ(form->lblCriterion()->text(), "Safety issue 1");
    EXPECT_EQ(g().row(), 1);
    EXPECT_EQ(form->lblOutcome()->text(), "A. Strategy 1 Target");
    keep(*form, "tab52.png");

    open(false);
    // Objective 1 has priority 0 and is left out; every category heads its objectives.
    const QStringList texts = listTexts();
    ASSERT_GE(texts.size(), 2);
    EXPECT_FALSE(texts[0].startsWith(' '));
    EXPECT_EQ(texts[1], "    Objective 6");
    EXPECT_FALSE(texts.join('|').contains("Objective 1|"));
    EXPECT_EQ(form->lblCriterion()->text(), "Objective 6");
    EXPECT_EQ(form->lblOutcome()->text(), "A. Strategy 1 - Target");
    // 4 Targets, 3 shown Fallbacks, the Extreme outcome; each row shows its stored rating.
    ASSERT_EQ(g().rows(), 9);
    EXPECT_EQ(g().text(8, 0), "Extreme Outcome");
    for (int r = 1; r < g().rows(); ++r) {
        const auto s = stored(r);
        const double v = s ? s->first : 0.0;
        EXPECT_EQ(g().value(r, kRating), v) << r;
        EXPECT_EQ(g().cellFloodPercent(r, kBar), v * 10) << r;
    }
    keep(*form, "tab53.png");
}

TEST_F(RatingsTest, TypedRatingsClampToTenAndEscapePutsTheRatingBack)
{
    build(testsupport::kSmallAnalysis);
    open(false);

    click(g(), 2, kRating);
    ASSERT_TRUE(g().isEditing());
    type("12");
    EXPECT_EQ(g().cellFloodPercent(2, kBar), 100);
    EXPECT_EQ(form->currentRating()->RawScore(), 10.0f);
    key(Qt::Key_Down);   // ends the edit, moves on and stores the row left
    EXPECT_EQ(g().text(2, kRating), "10");
    EXPECT_EQ(g().row(), 3);
    EXPECT_EQ(stored(2)->first, 10.0);

    // The next row's editor is open at once: letters do not go in, a decimal does.
    ASSERT_TRUE(g().isEditing());
    type("5x.5");
    EXPECT_EQ(g().editText(), "5.5");
    EXPECT_EQ(g().cellFloodPercent(3, kBar), 55);
    key(Qt::Key_Return);
    EXPECT_EQ(g().text(3, kRating), "5.5");

    // Escape: the cell, its bar and the rating all go back.
    click(g(), 4, kRating);
    const QString before = g().text(4, kRating);
    type("9");
    EXPECT_EQ(form->currentRating()->RawScore(), 9.0f);
    key(Qt::Key_Escape);
    EXPECT_EQ(g().text(4, kRating), before);
    EXPECT_EQ(g().cellFloodPercent(4, kBar), g().value(4, kRating) * 10);
    EXPECT_EQ(form->currentRating()->RawScore(), float(g().value(4, kRating)));

    // Pasted text is judged whole, within the four characters: below the range it is held to 0,
    // above it to 10; one that is no number is refused with a message and the rating stays.
    click(g(), 5, kRating);
    QApplication::clipboard()->setText("-12.75");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(g().editText(), "-12.");
    key(Qt::Key_Return);
    EXPECT_EQ(g().text(5, kRating), "0");
    EXPECT_EQ(form->currentRating()->RawScore(), 0.0f);
    g().editCell();
    ASSERT_TRUE(g().isEditing());
    QApplication::clipboard()->setText("12.75");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    key(Qt::Key_Return);
    EXPECT_EQ(g().text(5, kRating), "10");
    EXPECT_EQ(form->currentRating()->RawScore(), 10.0f);
    EXPECT_TRUE(prompter.messages().isEmpty());
    g().editCell();
    ASSERT_TRUE(g().isEditing());
    QApplication::clipboard()->setText("0x10");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
    key(Qt::Key_Return);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text,
              "The rating must be a number from 0 to 10; \"0x10\" is not.\r\nThe rating stays 10.");
    EXPECT_EQ(g().text(5, kRating), "10");
    EXPECT_EQ(form->currentRating()->RawScore(), 10.0f);

    leave();
    testsupport::ClearModelCaches();
    open(false);
    EXPECT_EQ(g().text(2, kRating), "10");
    EXPECT_EQ(g().text(3, kRating), "5.5");
    EXPECT_EQ(g().text(5, kRating), "10");
    EXPECT_EQ(g().text(4, kRating), before);
}

TEST_F(RatingsTest, TheBarEndsAtTheGridsEdgeWhateverTheColumnsBeforeItTook)
{
    build(testsupport::kSmallAnalysis);
    open(true);
    int total = 0;
    for (int c = 0; c < g().cols(); ++c)
        total += g().colWidth(c);
    ASSERT_GT(g().colWidth(kBar), 1440) << "the grid is wide enough for the bar to fill it";
    EXPECT_LE(total, ui::PixelsToTwips(g().viewport()->width())) << "no sideways scrolling";

    // Short enough that the outcomes scroll: the vertical bar takes its room from the bar column.
    form->resize(form->width(), 300);
    QApplication::processEvents();
    ASSERT_TRUE(g().verticalScrollBar()->isVisible());
    EXPECT_EQ(g().horizontalScrollBar()->maximum(), 0) << "no sideways scrolling";
}

TEST_F(RatingsTest, TheBarSetsWholeRatingsAndClampsPastItsEnds)
{
    build(testsupport::kSmallAnalysis);
    open(true);

    drag(g(), 1, kBar, {0.2, 0.67});
    EXPECT_EQ(g().text(1, kRating), "7");
    EXPECT_EQ(g().cellFloodPercent(1, kBar), 70);
    EXPECT_EQ(form->currentRating()->RawScore(), 7.0f);

    // Dragged far past the right edge and then past the left one, over other cells.
    drag(g(), 2, kBar, {0.5, 3.0});
    EXPECT_EQ(g().text(2, kRating), "10");
    drag(g(), 3, kBar, {0.5, -1.5});
    EXPECT_EQ(g().text(3, kRating), "0");
    EXPECT_EQ(g().cellFloodPercent(3, kBar), 0);
    EXPECT_EQ(g().row(), 3);

    leave();
    testsupport::ClearModelCaches();
    open(true);
    EXPECT_EQ(g().text(1, kRating), "7");
    EXPECT_EQ(g().text(2, kRating), "10");
    EXPECT_EQ(g().text(3, kRating), "0");
}

TEST_F(RatingsTest, HeadingsGiveWayToTheCriterionBelowOrAboveThem)
{
    build(testsupport::kSmallAnalysis);
    open(false);
    QListWidget* list = form->lstObjectives();
    ASSERT_GE(list->count(), 4);
    ASSERT_FALSE(list->item(2)->text().startsWith(' '));   // the second category

    // A click on a heading shows the criterion under it.
    list->scrollToItem(list->item(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(list->currentRow(), 3);
    EXPECT_EQ(form->lblCriterion()->text(), list->item(3)->text().trimmed());

    // Up from there passes the heading to the criterion above it; Home ends on the first.
    list->setFocus();
    key(Qt::Key_Up);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(form->lblCriterion()->text(), "Objective 6");
    // Down passes each heading to the criterion under it.
    key(Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 3);
    key(Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 5);
    key(Qt::Key_Home);
    EXPECT_EQ(list->currentRow(), 1);
}

TEST_F(RatingsTest, NotesAreStoredPerRatingAndTheDescriptionOnlyRead)
{
    build(testsupport::kSmallAnalysis);
    open(true);
    const QString description = form->currentCriterion()->Description();
    EXPECT_TRUE(form->txtDescription()->textEdit()->isReadOnly());
    form->txtDescription()->textEdit()->setFocus();
    type("scribble");
    EXPECT_EQ(form->currentCriterion()->Description(), description);

    // Showing the rows writes nothing; a typed note is stored when the row is left.
    const auto untouched = stored(5);
    click(g(), 5, 0);
    click(g(), 6, 0);
    EXPECT_EQ(stored(5), untouched);
    form->txtRating()->setFocus();
    type("Crews exposed on the ridge");
    click(g(), 7, 0);
    EXPECT_EQ(stored(6)->second, "Crews exposed on the ridge");

    // The keyboard moves between outcomes as a click does.
    g().setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(g().row(), 8);
    EXPECT_EQ(form->lblOutcome()->text(), "Extreme Outcome");
    form->txtRating()->setFocus();
    type("Worst case");
    leave();
    testsupport::ClearModelCaches();
    open(true);
    click(g(), 8, 0);
    EXPECT_EQ(form->txtRating()->toPlainText(), "Worst case");
}

TEST_F(RatingsTest, ARatingThatCannotBeStoredStaysShownWithItsRow)
{
    build(testsupport::kSmallAnalysis);
    open(true);
    click(g(), 2, 0);
    form->txtRating()->setFocus();
    type("Escape route uphill");
    model::c62Rating* rating = form->currentRating();

    breakTable("Scores");
    g().setFocus();
    key(Qt::Key_Down);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(prompter.messages()[0].text.contains("the disk is full")) << prompter.messages()[0].text.toStdString();
    EXPECT_EQ(g().row(), 2);
    EXPECT_EQ(form->currentRating(), rating);
    EXPECT_EQ(form->lblOutcome()->text(), "A. Strategy 1 Fallback");
    EXPECT_EQ(form->txtRating()->toPlainText(), "Escape route uphill");

    // Nor does another criterion take its place.
    QListWidget* list = form->lstObjectives();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(2)).center());
    EXPECT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(form->lblCriterion()->text(), "Safety issue 1");

    heal("Scores");
    g().setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(g().row(), 3);
    EXPECT_EQ(stored(2)->second, "Escape route uphill");
}

TEST_F(RatingsTest, WithoutCriteriaTheControlsStayDisabled)
{
    build({2, 0, 1, 0, 0, 0});
    open(true);
    EXPECT_EQ(form->lstObjectives()->count(), 1);
    EXPECT_FALSE(form->lstObjectives()->isEnabled());
    EXPECT_FALSE(form->Grid1()->isEnabled());
    EXPECT_FALSE(form->txtRating()->isEnabled());
    open(false);
    EXPECT_LT(form->lstObjectives()->count(), 2);
    EXPECT_FALSE(form->Grid1()->isEnabled());
}

TEST_F(RatingsTest, StoredRatingsOutOfRangePaintBarsWithinTheCell)
{
    build(testsupport::kSmallAnalysis);
    open(true);
    const int outcome = g().rowObject<model::c53Outcome>(1)->ItemKey();
    const int outcome2 = g().rowObject<model::c53Outcome>(2)->ItemKey();
    const int issue = form->currentCriterion()->ItemKey();
    form.reset();
    for (auto [key, value] : {std::pair{outcome, 15.0f}, std::pair{outcome2, -3.0f}}) {
        model::c62Rating r;
        r.Initialize(key, issue, model::Criteria::Safety, model::RatingLevel::Criterion);
        r.SetRawScore(value);
        r.SaveChanges();
    }
    open(true);
    EXPECT_EQ(g().cellFloodPercent(1, kBar), 100);
    EXPECT_EQ(g().cellFloodPercent(2, kBar), 0);

    // Once its cell has been edited, even without a change, the rating is what the cell shows.
    click(g(), 1, kRating);
    key(Qt::Key_Return);
    EXPECT_EQ(g().text(1, kRating), "10");
    EXPECT_EQ(form->currentRating()->RawScore(), 10.0f);
}

} // namespace
