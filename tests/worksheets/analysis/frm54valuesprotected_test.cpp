#include "worksheets/analysis/frm54valuesprotected.h"

#include "analysisfixture.h"
#include "model/c36threateneditem.h"
#include "model/c53outcome.h"
#include "model/g36threateneditems.h"
#include "support/placedarea.h"
#include "support/placedform.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <optional>

#include <memory>

using worksheets::frm54ValuesProtected;

namespace {

constexpr int kLevel = 2;
constexpr int kProtected = 3;

class ValuesProtectedTest : public AnalysisFixture {
protected:
    void SetUp() override
    {
        AnalysisFixture::SetUp();
        build(testsupport::kSmallAnalysis);
        // The first value at risk is worth 4,700 at a certain loss.
        auto item = model::GetThreatenedItems().Items().first();
        item->SetPotentialLoss(4700);
        item->SetProbabilityLabel(QStringLiteral("100"));
        item->SaveChanges();
        testsupport::ClearModelCaches();
    }
    void TearDown() override
    {
        form.reset();
        AnalysisFixture::TearDown();
    }

    frm54ValuesProtected& open()
    {
        form = testsupport::NewForm<frm54ValuesProtected>();
        showForm(*form);
        form->Setup();
        QApplication::processEvents();
        return *form;
    }
    void leave()
    {
        form->SaveChanges();
        form.reset();
        testsupport::ClearModelCaches();
    }
    grid::Grid& outcomes() { return *form->grdOutcomes(); }
    grid::Grid& items() { return *form->grdItems(); }

    // Replaces the level's text as the user would, keys and all.
    void typeLevel(const QString& text)
    {
        QLineEdit* edit = form->cboProbability()->lineEdit();
        edit->setFocus();
        edit->selectAll();
        QTest::keyClick(edit, Qt::Key_Delete);
        QTest::keyClicks(edit, text);
    }
    // (level, note) stored for an outcome row and an item row; nothing when there is no row.
    std::optional<std::pair<int, QString>> stored(int outcomeRow, int itemRow)
    {
        auto rs = db().OpenTable("ValuesProtected");
        rs->Seek(outcomes().rowObject<model::c53Outcome>(outcomeRow)->ItemKey(),
                 items().rowObject<model::c36ThreatenedItem>(itemRow)->ItemKey());
        if (rs->NoMatch())
            return std::nullopt;
        return std::make_pair(rs->Field("Protection").toInt(), rs->Field("Description").toString());
    }
    bool levelHasFocus() const
    {
        QWidget* f = QApplication::focusWidget();
        return f && (f == form->cboProbability() || f == form->cboProbability()->lineEdit());
    }

    std::unique_ptr<frm54ValuesProtected> form;
};

TEST_F(ValuesProtectedTest, MostlyOnFourThousandSevenHundredProtectsThreeThousandFiveHundredTwenty)
{
    open();
    ASSERT_EQ(items().rows(), 6);
    EXPECT_EQ(items().row(), 1);
    EXPECT_EQ(form->pnlName()->text(), "Value at risk 1");
    EXPECT_EQ(form->pnlPotentialLoss()->text(), "4,700");
    EXPECT_EQ(form->pnlOutcome()->text(), "A. Strategy 1 - Target");
    EXPECT_TRUE(levelHasFocus());

    typeLevel("Mostly (75%)");
    EXPECT_EQ(items().text(1, kLevel), "75");
    EXPECT_EQ(items().text(1, kProtected), "3,520");
    EXPECT_EQ(form->pnlProtected()->text(), "3,520");
    // The total of A's Target to two significant digits; the outcome row follows. The builder
    // rated its other values at risk: the second, 38,012.5 at 25%, partly (50%): 4,750; the
    // third, 75,025 at 50%, mostly (75%): 28,100; the fourth not at all; the fifth, 149,050 at
    // 95%, 40%: 56,600 (each to three digits). 3,520 + 4,750 + 28,100 + 56,600 = 92,970.
    EXPECT_EQ(form->pnlTotal()->text(), "$93,000");
    EXPECT_EQ(outcomes().text(1, kProtected), "$93,000");
    keep(*form, "tab54.png");

    leave();
    open();
    EXPECT_EQ(form->cboProbability()->currentText(), "Mostly (75%)");
    EXPECT_EQ(stored(1, 1)->first, 75);
}

// The totals caption and the outcome and item names of the details break into lines rather
// than being cut.
TEST_F(ValuesProtectedTest, CaptionAndNamesShowWholeInTheWorksheetAreaOfThePlacedWindow)
{
    open();
    testsupport::PlacedWorksheetArea placed(*form);
    ASSERT_EQ(form->pnlOutcome()->text(), "A. Strategy 1 - Target");
    for (QLabel* label : {form->findChild<QLabel*>(QStringLiteral("pnlLabel")), form->pnlOutcome(), form->pnlName()}) {
        ASSERT_NE(label, nullptr);
        SCOPED_TRACE(label->objectName().toStdString());
        const QRect room = label->contentsRect();
        const QRect needed = label->fontMetrics().boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap,
                                                               label->text());
        EXPECT_LE(needed.width(), room.width());
        EXPECT_LE(needed.height(), room.height());
    }
    keep(placed.host(), "tab54_placed.png");
}

TEST_F(ValuesProtectedTest, LevelsStayWithinZeroAndAHundredHoweverTyped)
{
    open();
    struct Case {
        const char* typed;
        int level;
        const char* shownAfter;
        bool refused;   // no level: refused when the typing ends, the level before stays
    };
    const Case cases[] = {
        {"150", 100, "Yes (100%)", false},  {"-20", 0, "No (0%)", false},          {"60", 60, "60", false},
        {"100", 100, "Yes (100%)", false},  {"75", 75, "Mostly (75%)", false},     {"250 percent", 75, "Mostly (75%)", true},
        {"abc", 75, "Mostly (75%)", true},  {"Partly (50%)", 50, "Partly (50%)", false},
    };
    for (const Case& c : cases) {
        prompter.clear();
        typeLevel(c.typed);
        key(Qt::Key_Return);
        EXPECT_EQ(items().text(1, kLevel), QString::number(c.level)) << c.typed;
        EXPECT_EQ(form->cboProbability()->currentText(), c.shownAfter) << c.typed;
        EXPECT_EQ(prompter.messages().size(), c.refused ? 1 : 0) << c.typed;
    }
    typeLevel("400");
    leave();
    open();
    EXPECT_EQ(form->cboProbability()->currentText(), "Yes (100%)");
}

TEST_F(ValuesProtectedTest, KeysMoveThroughItemsAndOutcomesSavingLevelAndNote)
{
    open();
    typeLevel("Partly (50%)");
    form->txtNotes()->setFocus();
    type("Outside the perimeter on day 2");

    // Down in the item grid shows the next item and stores the one left.
    items().setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(items().row(), 2);
    EXPECT_EQ(form->pnlName()->text(), "Value at risk 2");
    EXPECT_EQ(form->txtNotes()->toPlainText(), "");
    ASSERT_TRUE(stored(1, 1));
    EXPECT_EQ(*stored(1, 1), std::make_pair(50, QString("Outside the perimeter on day 2")));
    EXPECT_EQ(QApplication::focusWidget(), &items());

    // Down in the outcome grid stores the level and shows the same item under the next outcome.
    typeLevel("Slightly (25%)");
    outcomes().setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(stored(1, 2)->first, 25);
    EXPECT_EQ(form->currentOutcome(), outcomes().rowObject<model::c53Outcome>(2));
    EXPECT_EQ(form->pnlName()->text(), "Value at risk 2");
    EXPECT_EQ(form->pnlOutcome()->text(), "A. Strategy 1 - Fallback");
    for (int r = 1; r < items().rows(); ++r) {
        const auto s = stored(2, r);
        EXPECT_EQ(items().value(r, kLevel), s ? s->first : 0) << r;
    }

    // Back on the first outcome and item, the note comes back.
    key(Qt::Key_Up);
    click(items(), 1, 0);
    EXPECT_EQ(form->txtNotes()->toPlainText(), "Outside the perimeter on day 2");
    EXPECT_EQ(form->cboProbability()->currentText(), "Partly (50%)");
    EXPECT_TRUE(levelHasFocus());
}

// The arrow keys step through the levels from the one shown, also after another item showed a
// level chosen from the list.
TEST_F(ValuesProtectedTest, ArrowKeysStepFromTheLevelShown)
{
    open();
    QComboBox* level = form->cboProbability();
    level->setFocus();
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(level, Qt::Key_Up);
    EXPECT_EQ(level->currentText(), "Yes (100%)");   // the list's first entry
    click(items(), 2, 0);
    ASSERT_EQ(level->currentText(), "Partly (50%)");
    level->setFocus();
    QTest::keyClick(level, Qt::Key_Up);
    EXPECT_EQ(level->currentText(), "Mostly (75%)");
    EXPECT_EQ(items().text(2, kLevel), "75");
    leave();
    open();
    EXPECT_EQ(stored(1, 1)->first, 100);
    EXPECT_EQ(stored(1, 2)->first, 75);
}

TEST_F(ValuesProtectedTest, ALevelThatCannotBeStoredStaysShownWithItsRows)
{
    open();
    typeLevel("60");
    breakTable("ValuesProtected");
    items().setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(items().row(), 1);
    EXPECT_EQ(form->pnlName()->text(), "Value at risk 1");
    click(outcomes(), 3, 0);
    EXPECT_EQ(outcomes().row(), 1);
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(prompter.messages()[1].icon, ui::Icon::Critical);
    EXPECT_EQ(form->cboProbability()->currentText(), "60");

    heal("ValuesProtected");
    items().setFocus();
    key(Qt::Key_Down);
    EXPECT_EQ(items().row(), 2);
    EXPECT_EQ(stored(1, 1)->first, 60);
}

TEST_F(ValuesProtectedTest, WithoutValuesAtRiskTheDetailsAreOffAndTheTotalZero)
{
    QList<int> keys;
    for (const auto& item : model::GetThreatenedItems().Items())
        keys << item->ItemKey();
    for (int k : keys)
        model::DeleteThreatenedItem(k);
    testsupport::ClearModelCaches();
    open();
    EXPECT_EQ(items().rows(), 1);
    EXPECT_FALSE(form->pnlDetails()->isEnabled());
    EXPECT_EQ(form->pnlTotal()->text(), "$0");
    click(outcomes(), 3, 0);
    EXPECT_FALSE(form->pnlDetails()->isEnabled());
    leave();
}

} // namespace
