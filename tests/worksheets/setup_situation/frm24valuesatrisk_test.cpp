#include "worksheets/setup_situation/frm24valuesatrisk.h"

#include "core/g0items.h"
#include "core/savescope.h"
#include "core/uimode.h"
#include "model/c36threateneditem.h"
#include "model/g36threateneditems.h"
#include "platform/grid/grid.h"
#include "platform/ui/screen.h"
#include "support/worksheet_fixture.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <algorithm>
#include <functional>
#include <memory>

using worksheets::frm24ValuesAtRisk;

namespace {

class ValuesAtRiskTest : public WorksheetFixture<frm24ValuesAtRisk> {
protected:
    ValuesAtRiskTest() : WorksheetFixture({.saveAllOrNothing = true}) {}
    // A value at risk as an earlier session left it in the file.
    int storedItem(const QString& name, double loss, const QString& probability)
    {
        auto item = model::AddThreatenedItem(name);
        item->SetPotentialLoss(loss);
        item->SetProbabilityLabel(probability);
        item->SaveChanges();
        reload();
        return item->ItemKey();
    }
    grid::Grid* grid() const { return form->grdItems(); }
    QStringList row(int r) const
    {
        QStringList cells;
        for (int c = 0; c < 4; ++c)
            cells << grid()->text(r, c);
        return cells;
    }
    void clickRow(int r)
    {
        const QPoint at = grid()->visualRect(grid()->gridModel()->index(r, 0)).center();
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, at);
    }
    // Replaces the box's text key by key, as a user selecting it and typing over it.
    void typeInto(QComboBox* combo, const QString& text)
    {
        combo->lineEdit()->setFocus();
        combo->lineEdit()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(combo->lineEdit(), Qt::Key_Delete);
        else if (std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128; }))
            QTest::keyClicks(combo->lineEdit(), text);
        else
            combo->lineEdit()->insert(text);   // as pasted: the key simulator types ASCII only
    }
    void typeName(const QString& text)
    {
        form->txtName()->setFocus();
        form->txtName()->selectAll();
        QTest::keyClicks(form->txtName(), text);
    }
    int count(const QString& sql, const QVariantList& params = {})
    {
        auto rs = db().OpenRecordset(sql, params);
        return rs->Field(0).toInt();
    }
    void expectNoItemShown()
    {
        EXPECT_EQ(form->current(), nullptr);
        EXPECT_FALSE(form->pnlItemDetails()->isEnabled());
        EXPECT_EQ(form->txtName()->text(), "");
        EXPECT_EQ(form->cboDamage()->currentText(), "");
        EXPECT_EQ(form->cboProbability()->currentText(), "");
        EXPECT_EQ(form->txtNotes()->toPlainText(), "");
        EXPECT_EQ(form->pnlRisk()->text(), "");
        EXPECT_FALSE(form->cmdDeleteItem()->isEnabled());
    }

};

// The total's caption where its row is short of room, at the width of its own text: the ink of
// its closing bracket still lies inside it, where it was cut and read "(rounded]".
TEST_F(ValuesAtRiskTest, TheTotalsCaptionEndsInItsWholeBracket)
{
    open();
    auto* caption = form->findChild<QLabel*>("pnlLabel");
    ASSERT_NE(caption, nullptr);
    caption->resize(caption->sizeHint().width(), caption->sizeHint().height());
    const QString shown = "Total expected value at risk (rounded)";
    const QFontMetricsF metrics(caption->font());
    const QRect room = caption->contentsRect();
    const double left = (caption->alignment() & Qt::AlignRight)
                            ? room.right() + 1 - std::max(0, caption->indent()) - metrics.horizontalAdvance(shown)
                            : room.left() + std::max(0, caption->indent());
    EXPECT_LT(left + metrics.boundingRect(shown).right(), double(room.right() + 1));
    EXPECT_GE(left, double(room.left()));
}

TEST_F(ValuesAtRiskTest, AFileWithoutValuesAtRiskOffersOnlyAdd)
{
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    EXPECT_EQ(grid()->rows(), 1);
    EXPECT_EQ(grid()->text(0, 0), "Item");
    EXPECT_EQ(form->pnlTotal()->text(), "$0");
    // The three-line headers ("Probability / of Loss / (%)") show whole in the font on screen.
    EXPECT_GE(ui::TwipsToPixels(grid()->rowHeight(0)), 3 * grid()->fontMetrics().lineSpacing());
    expectNoItemShown();
    EXPECT_EQ(QApplication::focusWidget(), form->cmdAddItem());
    EXPECT_TRUE(form->lblInstructions()->text().startsWith("List values that may be at risk from the fire.  May "));
    EXPECT_TRUE(form->lblInstructions()->text().endsWith(
        "\r\nAdd an Item by clicking the Add Item button below and entering details on the right."));
}

// Add, then edit by label and by number; each row shows its value at risk, the total sums
// the rows as shown and rounds once more.
TEST_F(ValuesAtRiskTest, AddEditByLabelAndByNumberAndTheTotal)
{
    open();
    QTest::mouseClick(form->cmdAddItem(), Qt::LeftButton);
    ASSERT_NE(form->current(), nullptr);
    const int key = form->current()->ItemKey();
    EXPECT_EQ(grid()->rows(), 2);
    // The row shows at once what the boxes show, as it will when read back.
    EXPECT_EQ(row(1), QStringList({"", "0", "50", "0"}));
    EXPECT_EQ(form->cboDamage()->currentText(), "0");
    EXPECT_EQ(form->cboProbability()->currentText(), "Medium (50%)");
    EXPECT_EQ(form->pnlRisk()->text(), "$0");
    EXPECT_TRUE(form->pnlItemDetails()->isEnabled());
    EXPECT_TRUE(form->cmdDeleteItem()->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), form->txtName());
    EXPECT_EQ(stored("Items", key, "ParentKey").toInt(), core::kValuesAtRiskGroupKey);
    EXPECT_EQ(stored("ValuesAtRisk", key, "Probability").toString(), "<no row>");

    QTest::keyClicks(form->txtName(), "Guard station");
    typeInto(form->cboDamage(), "50000");
    typeInto(form->cboProbability(), "Very High (95%)");
    EXPECT_EQ(row(1), QStringList({"Guard station", "50,000", "95", "48,000"}));
    EXPECT_EQ(form->pnlRisk()->text(), "$48,000");
    EXPECT_EQ(form->pnlTotal()->text(), "$48,000");
    form->txtNotes()->setFocus();
    QTest::keyClicks(form->txtNotes(), "Historic cabin, 1932");

    QTest::mouseClick(form->cmdAddItem(), Qt::LeftButton);
    QTest::keyClicks(form->txtName(), "Corrals");
    typeInto(form->cboDamage(), "$5,000");
    EXPECT_EQ(row(2), QStringList({"Corrals", "5,000", "50", "2,500"}));

    QTest::mouseClick(form->cmdAddItem(), Qt::LeftButton);
    QTest::keyClicks(form->txtName(), "Power line");
    typeInto(form->cboDamage(), "1000");
    // Picked from the list: one step down from Medium is Low, one up from there is High.
    form->cboProbability()->setFocus();
    QTest::keyClick(form->cboProbability(), Qt::Key_Down);
    EXPECT_EQ(form->cboProbability()->currentText(), "Low (25%)");
    EXPECT_EQ(row(3), QStringList({"Power line", "1,000", "25", "250"}));
    QTest::keyClick(form->cboProbability(), Qt::Key_Up);
    QTest::keyClick(form->cboProbability(), Qt::Key_Up);
    EXPECT_EQ(form->cboProbability()->currentText(), "High (75%)");
    EXPECT_EQ(row(3), QStringList({"Power line", "1,000", "75", "750"}));
    // 48,000 + 2,500 + 750 = 51,250, shown to two digits.
    EXPECT_EQ(form->pnlTotal()->text(), "$51,000");

    // Entering another row stores the item left; leaving stores the one shown.
    clickRow(1);
    EXPECT_EQ(form->current()->ItemKey(), key);
    EXPECT_EQ(form->txtNotes()->toPlainText(), "Historic cabin, 1932");
    EXPECT_EQ(stored("Items", key + 2, "ItemName").toString(), "Power line");
    EXPECT_EQ(stored("ValuesAtRisk", key + 2, "Probability").toInt(), 75);
    typeInto(form->cboDamage(), "60000");
    leave();
    EXPECT_EQ(stored("ValuesAtRisk", key, "PotentialLoss").toDouble(), 60000);
    EXPECT_EQ(stored("ValuesAtRisk", key, "Probability").toInt(), 95);
    EXPECT_EQ(stored("Items", key, "ItemText").toString(), "Historic cabin, 1932");

    reload();
    open();
    EXPECT_EQ(row(1), QStringList({"Guard station", "60,000", "95", "57,000"}));
    EXPECT_EQ(form->pnlTotal()->text(), "$60,000");   // 57,000 + 2,500 + 750 = 60,250
}

// The probability box takes a label, a number or a number with its percent sign; what it takes
// is kept within 0 to 100. Any other text keeps the probability so far while it is typed.
TEST_F(ValuesAtRiskTest, ProbabilityTypedAsLabelOrNumber)
{
    storedItem("Barn", 10000, "Medium (50%)");
    open();
    const struct {
        const char* typed;
        const char* column;
        const char* risk;
    } cases[] = {
        {"95%", "95", "$9,500"},          {"Very High (95%)", "95", "$9,500"}, {"12.5", "12", "$1,200"},
        {"13.5", "14", "$1,400"},         {"-5", "0", "$0"},                   {"150", "100", "$10,000"},
        {"", "0", "$0"},                  {"Very", "0", "$0"},                 {"medium (50%)", "0", "$0"},
        {"30 %", "30", "$3,000"},
    };
    for (const auto& c : cases) {
        typeInto(form->cboProbability(), QString::fromLatin1(c.typed));
        EXPECT_EQ(form->cboProbability()->currentText(), QString::fromLatin1(c.typed)) << "kept as typed";
        EXPECT_EQ(grid()->text(1, 2), QString::fromLatin1(c.column)) << c.typed;
        EXPECT_EQ(form->pnlRisk()->text(), QString::fromLatin1(c.risk)) << c.typed;
        EXPECT_EQ(form->pnlTotal()->text(), QString::fromLatin1(c.risk)) << c.typed;
    }
    // Once the typing ends the box shows the probability used, and no message: a number beyond
    // the range is held to it.
    prompter.clear();
    typeInto(form->cboProbability(), "150");
    QTest::keyClick(form->cboProbability()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(form->cboProbability()->currentText(), "100");
    EXPECT_EQ(grid()->text(1, 2), "100");
    EXPECT_TRUE(prompter.messages().isEmpty());
    leave();
    reload();
    open();
    EXPECT_EQ(form->cboProbability()->currentText(), "100");
}

TEST_F(ValuesAtRiskTest, TheLossShowsAsTypedUntilReloadedAndAClearedBoxEmptiesTheRow)
{
    const int key = storedItem("Barn", 50000, "Very High (95%)");
    storedItem("Well", 2000, "Medium (50%)");
    open();
    EXPECT_EQ(form->pnlTotal()->text(), "$49,000");   // 48,000 + 1,000
    typeInto(form->cboDamage(), "12345");
    EXPECT_EQ(row(1), QStringList({"Barn", "12,345", "95", "12,000"}));
    EXPECT_EQ(form->pnlTotal()->text(), "$13,000");

    // Cleared: the loss counts as none, its cells go blank; the total waits for a number.
    typeInto(form->cboDamage(), "");
    EXPECT_EQ(row(1), QStringList({"Barn", "", "95", ""}));
    EXPECT_EQ(form->pnlRisk()->text(), "");
    EXPECT_EQ(form->pnlTotal()->text(), "$13,000");
    EXPECT_EQ(form->current()->PotentialLoss(), 0);
    typeInto(form->cboDamage(), "12345");
    leave();
    EXPECT_EQ(stored("ValuesAtRisk", key, "PotentialLoss").toDouble(), 12345) << "stored as typed";

    reload();
    open();
    EXPECT_EQ(row(1), QStringList({"Barn", "12,300", "95", "12,000"}));
    EXPECT_EQ(form->cboDamage()->currentText(), "12,300");
    // A negative loss is no loss.
    typeInto(form->cboDamage(), "-8000");
    EXPECT_EQ(row(1), QStringList({"Barn", "0", "95", "0"}));
}

// A loss that is no amount is refused when typing ends, by Enter, by leaving the box or by
// moving to another item: the loss before the typing comes back and is what is stored.
TEST_F(ValuesAtRiskTest, ALossThatIsNoAmountIsRefusedAndTheLossBeforeStays)
{
    const int key = storedItem("Barn", 50000, "Very High (95%)");
    storedItem("Well", 2000, "Medium (50%)");
    open();
    const struct {
        const char* typed;
        const char* message;
    } cases[] = {
        {"abc", "The expected loss must be a number of dollars, such as 12,500; \"abc\" is not."},
        {"12abc", "must be a number of dollars"},
        {"1e39", "cannot be more than 999,999,999,999 dollars."},
        {"99999999999", "of 99,999,999,999 cannot be kept exactly"},
    };
    const std::function<void()> endings[] = {
        [this] { QTest::keyClick(form->cboDamage()->lineEdit(), Qt::Key_Return); },
        [this] { QTest::keyClick(form->cboDamage()->lineEdit(), Qt::Key_Tab); },
        [this] { clickRow(2); },
    };
    for (const auto& c : cases) {
        for (const auto& end : endings) {
            SCOPED_TRACE(c.typed);
            clickRow(1);
            prompter.clear();
            typeInto(form->cboDamage(), "5");
            typeInto(form->cboDamage(), QString::fromLatin1(c.typed));
            end();
            ASSERT_EQ(prompter.messages().size(), 1);
            const QString said = prompter.messages()[0].text;
            EXPECT_TRUE(said.contains(QString::fromLatin1(c.message))) << said.toStdString();
            EXPECT_TRUE(said.endsWith("\r\nThe amount stays 50,000.")) << said.toStdString();
            EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Warning);
            EXPECT_EQ(row(1), QStringList({"Barn", "50,000", "95", "48,000"}));
            EXPECT_EQ(form->pnlTotal()->text(), "$49,000");
            EXPECT_EQ(stored("ValuesAtRisk", key, "PotentialLoss").toDouble(), 50000);
            clickRow(1);
            EXPECT_EQ(form->cboDamage()->currentText(), "50,000");
            EXPECT_EQ(form->pnlRisk()->text(), "$48,000");
        }
    }
    // A number typed after a refusal is taken as ever, without a word.
    prompter.clear();
    typeInto(form->cboDamage(), "7000");
    QTest::keyClick(form->cboDamage()->lineEdit(), Qt::Key_Return);
    EXPECT_TRUE(prompter.messages().isEmpty());
    leave();
    EXPECT_EQ(stored("ValuesAtRisk", key, "PotentialLoss").toDouble(), 7000);
}

TEST_F(ValuesAtRiskTest, DeleteTakesTheRowAndTheLastLeavesNothingShown)
{
    const int a = storedItem("Barn", 50000, "Very High (95%)");
    const int b = storedItem("Well", 2000, "Medium (50%)");
    const int c = storedItem("Fence", 1000, "High (75%)");
    open();
    EXPECT_EQ(form->pnlTotal()->text(), "$50,000");   // 48,000 + 1,000 + 750
    clickRow(2);
    QTest::mouseClick(form->cmdDeleteItem(), Qt::LeftButton);
    EXPECT_TRUE(prompter.messages().isEmpty()) << "deleted without asking";
    EXPECT_EQ(grid()->rows(), 3);
    EXPECT_EQ(row(2), QStringList({"Fence", "1,000", "75", "750"}));
    EXPECT_EQ(form->current()->ItemKey(), c);
    EXPECT_EQ(form->txtName()->text(), "Fence");
    EXPECT_EQ(form->pnlTotal()->text(), "$49,000");
    EXPECT_EQ(stored("Items", b, "ItemName").toString(), "<no row>");

    QTest::mouseClick(form->cmdDeleteItem(), Qt::LeftButton);
    EXPECT_EQ(form->current()->ItemKey(), a);
    QTest::mouseClick(form->cmdDeleteItem(), Qt::LeftButton);
    EXPECT_EQ(grid()->rows(), 1);
    EXPECT_EQ(form->pnlTotal()->text(), "$0");
    // The three-line headers ("Probability / of Loss / (%)") show whole in the font on screen.
    EXPECT_GE(ui::TwipsToPixels(grid()->rowHeight(0)), 3 * grid()->fontMetrics().lineSpacing());
    expectNoItemShown();
    // Nothing typed now reaches a deleted item.
    QTest::keyClicks(form->txtName(), "ghost");
    leave();
    EXPECT_EQ(count("SELECT COUNT(*) FROM Items WHERE ParentKey = 23"), 0);
}

// A value at risk added after one was deleted starts with nothing of the old one: not its
// loss, probability or protection levels, even when it is given the same key.
TEST_F(ValuesAtRiskTest, ANewItemInheritsNothingFromADeletedOne)
{
    storedItem("Barn", 10000, "Low (25%)");
    const int last = storedItem("Lodge", 900000, "Very High (95%)");
    db().Execute("INSERT INTO ValuesProtected (OutcomeKey, ItemKey, Protection) VALUES (1, ?, 75)", {last});
    open();
    clickRow(2);
    ASSERT_EQ(form->current()->ItemKey(), last);
    QTest::mouseClick(form->cmdDeleteItem(), Qt::LeftButton);
    leave();

    reopen();   // the highest key is handed out again
    reload();
    open();
    QTest::mouseClick(form->cmdAddItem(), Qt::LeftButton);
    ASSERT_EQ(form->current()->ItemKey(), last);
    EXPECT_EQ(form->cboDamage()->currentText(), "0");
    EXPECT_EQ(form->cboProbability()->currentText(), "Medium (50%)");
    EXPECT_EQ(form->pnlRisk()->text(), "$0");
    EXPECT_EQ(count("SELECT COUNT(*) FROM ValuesProtected WHERE ItemKey = ?", {last}), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM ValuesAtRisk WHERE ItemKey = ?", {last}), 0);
    leave();
    reload();
    open();
    // Left unedited it keeps its empty name and reads the defaults.
    EXPECT_EQ(row(2), QStringList({"", "0", "50", "0"}));
}

TEST_F(ValuesAtRiskTest, HostileTypedValuesNeverCrashAndAlwaysSave)
{
    const int key = storedItem("Barn", 50000, "Very High (95%)");
    open();
    // Each typed over 50,000, then saved: an amount the file can hold is stored, a negative one
    // is no loss; anything else is refused when typing ends, with the reason, and the 50,000
    // stays.
    const char* const tooLarge = "cannot be more than 999,999,999,999 dollars.\r\nThe amount stays 50,000.";
    const char* const notANumber = "is not.\r\nThe amount stays 50,000.";
    const struct {
        const char* typed;
        float stored;
        const char* refusal;
    } losses[] = {
        {"1e39", 50000, tooLarge},    {"1e308", 50000, tooLarge},     {"-1e308", 0, nullptr},
        {"1e-320", 0, nullptr},       {"nan", 50000, notANumber},     {"inf", 50000, notANumber},
        {"$", 50000, notANumber},     {"-", 50000, notANumber},       {".", 50000, notANumber},
        {"1,2,3", 50000, notANumber},      {"0x1F", 50000, notANumber},    {"99999999999999999999999999", 50000, tooLarge},
        {"١٢٣", 50000, notANumber}, {"12e", 50000, notANumber}, {"$-", 50000, notANumber},
        {"--5", 50000, notANumber},   {"5$", 50000, notANumber},
    };
    const auto save = [this] { core::SaveAllOrNothing([this] { form->SaveChanges(); }); };
    for (const auto& c : losses) {
        SCOPED_TRACE(c.typed);
        typeInto(form->cboDamage(), "50000");
        save();
        prompter.clear();
        typeInto(form->cboDamage(), QString::fromUtf8(c.typed));
        save();
        EXPECT_FLOAT_EQ(stored("ValuesAtRisk", key, "PotentialLoss").toFloat(), c.stored);
        if (c.refusal) {
            ASSERT_EQ(prompter.messages().size(), 1);
            EXPECT_TRUE(prompter.messages()[0].text.endsWith(QString::fromLatin1(c.refusal)))
                << prompter.messages()[0].text.toStdString();
        } else {
            EXPECT_TRUE(prompter.messages().isEmpty());
        }
    }
    const char* chances[] = {"1e10", "-1e10", "nan", "99999999999", "0.5", "-0.5", "١٢٣", "(95%)", "95%%"};
    for (const char* text : chances) {
        typeInto(form->cboProbability(), QString::fromUtf8(text));
        EXPECT_GE(form->current()->Probability(), 0) << text;
        EXPECT_LE(form->current()->Probability(), 100) << text;
        EXPECT_NO_THROW(core::SaveAllOrNothing([this] { form->SaveChanges(); })) << text;
    }
    typeName(QString(3000, QLatin1Char('n')));
    form->txtName()->insert("\t{\\rtf}\r\n");   // pasted
    form->txtNotes()->setFocus();
    form->txtNotes()->insertPlainText("\t\\par }{\r\n");
    // A loss is kept to the dollar as typed: 1e38 would not be, 900,000,000 is.
    typeInto(form->cboDamage(), "1e38");
    QTest::keyClick(form->cboDamage()->lineEdit(), Qt::Key_Return);
    EXPECT_NE(grid()->text(1, 1), "1e+38");
    typeInto(form->cboDamage(), "900,000,000");
    EXPECT_EQ(grid()->text(1, 1), "900,000,000");
    leave();
    EXPECT_EQ(stored("ValuesAtRisk", key, "PotentialLoss").toDouble(), 900000000);
    reload();
    open();
    EXPECT_TRUE(form->txtName()->text().startsWith(QString(3000, QLatin1Char('n'))));
}

TEST_F(ValuesAtRiskTest, AnItemThatCannotBeStoredStaysShownWithItsRow)
{
    const int a = storedItem("Barn", 50000, "Very High (95%)");
    storedItem("Well", 2000, "Medium (50%)");
    open();
    typeName("Barn and shop");
    db().Execute("ALTER TABLE ValuesAtRisk RENAME TO ValuesAway");   // the save fails
    EXPECT_ANY_THROW(grid()->setRow(2));
    EXPECT_EQ(grid()->row(), 1);
    EXPECT_EQ(form->current()->ItemKey(), a);
    EXPECT_EQ(form->txtName()->text(), "Barn and shop");
    EXPECT_EQ(stored("Items", a, "ItemName").toString(), "Barn") << "all or nothing";

    db().Execute("ALTER TABLE ValuesAway RENAME TO ValuesAtRisk");
    clickRow(2);
    EXPECT_EQ(form->txtName()->text(), "Well");
    EXPECT_EQ(stored("Items", a, "ItemName").toString(), "Barn and shop");
}

TEST_F(ValuesAtRiskTest, AnItemThatCannotBeDeletedStaysShownAndEditable)
{
    const int a = storedItem("Barn", 50000, "Very High (95%)");
    open();
    db().Execute("ALTER TABLE ValuesProtected RENAME TO ProtectedAway");   // the delete fails
    form->cmdDeleteItem()->click();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_EQ(grid()->rows(), 2);
    ASSERT_NE(form->current(), nullptr);
    EXPECT_EQ(form->current()->ItemKey(), a);
    typeName("Barn, kept");
    EXPECT_EQ(grid()->text(1, 0), "Barn, kept");
    db().Execute("ALTER TABLE ProtectedAway RENAME TO ValuesProtected");
    leave();
    EXPECT_EQ(stored("Items", a, "ItemName").toString(), "Barn, kept");
}

// Add and fill in an item with the keyboard alone: Space on Add, then Tab from box to box.
TEST_F(ValuesAtRiskTest, KeyboardAlone)
{
    open();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    ASSERT_EQ(QApplication::focusWidget(), form->cmdAddItem());
    QTest::keyClick(form->cmdAddItem(), Qt::Key_Space);
    ASSERT_EQ(QApplication::focusWidget(), form->txtName());
    QTest::keyClicks(form->txtName(), "Repeater site");
    QTest::keyClick(form->txtName(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->cboDamage());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), "250000");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->cboProbability());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);   // from Medium up to High
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), form->txtNotes());
    QTest::keyClicks(form->txtNotes(), "On the ridge top");
    EXPECT_EQ(row(1), QStringList({"Repeater site", "250,000", "75", "190,000"}));
    EXPECT_EQ(form->pnlTotal()->text(), "$190,000");
    EXPECT_EQ(form->current()->Notes(), "On the ridge top");
}

TEST_F(ValuesAtRiskTest, ChangesFiredWhileFillingWriteNothing)
{
    const int key = storedItem("Barn", 50000, "Very High (95%)");
    open();
    {
        core::BusyScope busy;
        form->txtName()->setText("Overwritten");
        form->cboDamage()->setEditText("1");
        form->cboProbability()->setEditText("1");
        form->txtNotes()->setPlainText("Overwritten");
    }
    EXPECT_FALSE(form->current()->IsDirty());
    EXPECT_EQ(row(1), QStringList({"Barn", "50,000", "95", "48,000"}));
    leave();
    EXPECT_EQ(stored("Items", key, "ItemName").toString(), "Barn");
}

} // namespace
