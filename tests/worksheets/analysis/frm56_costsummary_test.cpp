#include "cost_fixture.h"

#include "core/costsource.h"
#include "support/placedform.h"
#include "worksheets/analysis/frm561costperacre.h"
#include "worksheets/analysis/frm562sruselist.h"
#include "worksheets/analysis/frm563dailycost.h"
#include "worksheets/analysis/registerforms.h"
#include "support/placedarea.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>

using model::CostSource;
using worksheets::frm56_CostSummary;

namespace {

class CostSummaryTest : public CostTest {
protected:
    int Key(const QString& label, const QString& shortName)
    {
        const int r = RowOf(*form->grdOutcomes, label, shortName);
        auto* o = r > 0 ? form->grdOutcomes->rowObject<model::c53Outcome>(r) : nullptr;
        return o ? o->ItemKey() : -1;
    }
    QVariant Stored(int outcomeKey, const QString& field)
    {
        auto rs = db().OpenRecordset(QStringLiteral("SELECT ") + field + QStringLiteral(" FROM Outcomes WHERE ItemKey = ?"),
                                     {outcomeKey});
        return rs->Eof() ? QVariant(QStringLiteral("<no row>")) : rs->Field(0);
    }
    void Store(const QString& label, const QString& field, const QVariant& value)
    {
        auto alt = label.isEmpty() ? nullptr : model::GetAlternatives().Items().value(label == "A" ? 0 : 1);
        const int key = alt ? alt->Outcome(model::OutcomeKind::Target)->ItemKey() : model::GetExtremeOutcome()->ItemKey();
        db().Execute(QStringLiteral("UPDATE Outcomes SET ") + field + QStringLiteral(" = ? WHERE ItemKey = ?"), {value, key});
        testsupport::ClearModelCaches();
    }
    QString CostCell(int row) const { return form->grdOutcomes->text(row, frm56_CostSummary::Cost); }
    QStringList CostColumn() const
    {
        QStringList texts;
        for (int r = 1; r < form->grdOutcomes->rows(); ++r)
            texts << CostCell(r);
        return texts;
    }
    QList<QRadioButton*> Options() const { return {form->optSize, form->optSRUse, form->optDaily, form->optAdjust}; }
    int CheckedCount() const
    {
        int n = 0;
        for (QRadioButton* o : Options())
            n += o->isChecked();
        return n;
    }
};

TEST_F(CostSummaryTest, IsTheRegisteredFormOfItsWorksheet)
{
    worksheets::analysis::RegisterForms();
    std::unique_ptr<worksheets::WorksheetForm> made = testsupport::CreateForm("tab56");
    ASSERT_NE(dynamic_cast<frm56_CostSummary*>(made.get()), nullptr);
    made->Setup();
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab56");
}

TEST_F(CostSummaryTest, StoredSourceZeroReadsAsCostByFireSize)
{
    BuildWithoutFMUs();
    Store("A", "CostSource", 0);
    Show();
    ASSERT_EQ(form->grdOutcomes->row(), 1);
    EXPECT_EQ(form->grdOutcomes->text(1, 0), "A. Direct attack");
    EXPECT_TRUE(form->optSize->isChecked());
    EXPECT_EQ(CheckedCount(), 1);
    // 50 acres at $50 an acre.
    EXPECT_EQ(form->lblSize->text(), "2,500");
    EXPECT_EQ(CostCell(1), "2,500");
    // The other figures of an outcome without lines or rates: 0 by size shows "0", the others nothing.
    EXPECT_EQ(form->lblSRUse->text(), "");
    EXPECT_EQ(form->lblDaily->text(), "");
    // Showing stored nothing.
    EXPECT_FALSE(form->currentOutcome()->IsDirty());
}

TEST_F(CostSummaryTest, CostBySizeShowsThreeSignificantDigits)
{
    BuildWithoutFMUs();
    model::c35AACTable* table = model::GetAACTable(0);
    table->SetTopSize(1, 200000);
    table->SetCost(1, 1);
    table->SaveChanges();
    Store("B", "FireSize", 123456);
    Show();
    const int b = RowOf(*form->grdOutcomes, "B. Confine", "Target");
    Choose(b);
    EXPECT_EQ(form->lblSize->text(), "123,000");
    EXPECT_EQ(CostCell(b), "123,000");
}

TEST_F(CostSummaryTest, TypingAnAmountMakesItTheEstimate)
{
    BuildWithoutFMUs();
    Show();
    const int a = Key("A. Direct attack", "Target");
    EXPECT_TRUE(form->optSize->isChecked());
    const QStringList before = CostColumn();

    TypeInto(form->txtAdjustedCost, "12,500");
    EXPECT_TRUE(form->optAdjust->isChecked());
    EXPECT_EQ(form->currentOutcome()->CostSource(), CostSource::Entered);
    EXPECT_EQ(CostCell(1), "12,500");
    // Only this outcome's cost changed.
    EXPECT_EQ(CostColumn().mid(1), before.mid(1));
    form->txtCostRationale->setFocus();
    QTest::keyClicks(form->txtCostRationale, "Two engines for ten days");

    // Stored when another outcome is chosen.
    EXPECT_EQ(Stored(a, "CostSource").toInt(), 1);
    Choose(2);
    EXPECT_EQ(Stored(a, "CostSource").toInt(), 8);
    EXPECT_DOUBLE_EQ(Stored(a, "AdjustedCost").toDouble(), 12500);
    EXPECT_EQ(Stored(a, "CostRationale").toString(), "Two engines for ten days");

    // Clearing the box: 0, the typed-amount option stays.
    Choose(1);
    EXPECT_EQ(form->txtAdjustedCost->text(), "12,500");
    TypeInto(form->txtAdjustedCost, "");
    EXPECT_EQ(CostCell(1), "0");
    EXPECT_TRUE(form->optAdjust->isChecked());
    EXPECT_TRUE(prompter.messages().isEmpty());
    Revisit();
    EXPECT_TRUE(form->optAdjust->isChecked());
    EXPECT_EQ(form->txtAdjustedCost->text(), "");
    EXPECT_EQ(CostCell(1), "0");
}

// Whatever is typed as the amount, the program keeps running, keeps an amount it can store
// exactly, and says why it refuses the rest.
TEST_F(CostSummaryTest, HostileAmountsAreRefusedAndTheKeptAmountStays)
{
    BuildWithoutFMUs();
    Show();
    struct Case {
        const char* typed;
        double kept;          // the amount afterwards; -1: the one before (5,000)
        const char* message;  // part of the refusal, "" when accepted
    };
    const Case cases[] = {
        {"abc", -1, "must be a number of dollars"},
        {"12a", -1, "must be a number of dollars"},
        {"1,2,3", -1, "must be a number of dollars"},
        {"-250", -1, "cannot be below 0"},
        {"1e999", -1, "cannot be more than 999,999,999,999"},
        {"5e12", -1, "cannot be more than 999,999,999,999"},
        {"20,000,001", -1, "the nearest amounts that can are 20,000,000 and 20,000,002"},
        {"1,000,000.01", -1, "cannot be kept exactly"},
        {"\xd9\xa1\xd9\xa2", -1, ""},
        {"$7,500", 7500, ""},
        {"12,500.5", 12500.5, ""},
        {"20,000,000", 20000000, ""},
        {"0", 0, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        TypeInto(form->txtAdjustedCost, "5,000");
        QTest::keyClick(form->txtAdjustedCost, Qt::Key_Return);
        ASSERT_FLOAT_EQ(form->currentOutcome()->AdjustedCost(), 5000);
        prompter.clear();
        TypeInto(form->txtAdjustedCost, QString::fromUtf8(c.typed));
        QTest::keyClick(form->txtAdjustedCost, Qt::Key_Return);
        const float amount = form->currentOutcome()->AdjustedCost();
        EXPECT_GE(amount, 0.0f);
        if (QString::fromLatin1(c.message).isEmpty() && c.kept >= 0) {
            EXPECT_TRUE(prompter.messages().isEmpty());
            EXPECT_FLOAT_EQ(amount, float(c.kept));
        } else if (c.kept < 0) {
            EXPECT_FLOAT_EQ(amount, 5000);
            if (*c.message) {
                ASSERT_EQ(prompter.messages().size(), 1);
                EXPECT_TRUE(prompter.messages()[0].text.contains(QString::fromLatin1(c.message)))
                    << prompter.messages()[0].text.toStdString();
                EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Warning);
                EXPECT_EQ(form->txtAdjustedCost->text(), "5,000");
            }
        }
    }
    // What was kept is what the file holds.
    Choose(2);
    Choose(1);
    EXPECT_FLOAT_EQ(form->currentOutcome()->AdjustedCost(), 0);
}

// The arrow keys move through the outcomes; each move stores the outcome left.
TEST_F(CostSummaryTest, EveryMethodCaptionShowsWholeInTheWorksheetAreaOfThePlacedWindow)
{
    BuildWithoutFMUs();
    Show();
    const testsupport::PlacedWorksheetArea placed(*form);
    ASSERT_EQ(form->width(), 792);
    for (QRadioButton* o : Options())
        EXPECT_GE(o->width(), o->sizeHint().width()) << o->text().toStdString();
}

TEST_F(CostSummaryTest, ArrowsMoveThroughTheOutcomes)
{
    BuildWithoutFMUs();
    Show();
    const int a = Key("A. Direct attack", "Target");
    form->optDaily->click();
    form->grdOutcomes->setFocus();
    QTest::keyClick(form->grdOutcomes, Qt::Key_Down);
    EXPECT_EQ(form->grdOutcomes->row(), 2);
    EXPECT_EQ(form->currentOutcome()->ItemKey(), Key("A. Direct attack", "Fallback"));
    EXPECT_EQ(Stored(a, "CostSource").toInt(), 4);
    QTest::keyClick(form->grdOutcomes, Qt::Key_Down);
    QTest::keyClick(form->grdOutcomes, Qt::Key_Down);
    EXPECT_EQ(form->grdOutcomes->text(form->grdOutcomes->row(), 0), "Extreme Outcome");
    for (int i = 0; i < 4; ++i)
        QTest::keyClick(form->grdOutcomes, Qt::Key_Up);   // the header row is never entered
    EXPECT_EQ(form->grdOutcomes->row(), 1);
    EXPECT_TRUE(form->optDaily->isChecked());
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(CostSummaryTest, AnOutcomeThatCannotBeStoredStaysShown)
{
    BuildWithoutFMUs();
    Show();
    const int a = Key("A. Direct attack", "Target");
    TypeInto(form->txtAdjustedCost, "12,500");
    model::c53Outcome* shown = form->currentOutcome();

    db().Execute("ALTER TABLE Outcomes RENAME TO OutcomesAway");   // the save fails
    EXPECT_ANY_THROW(Choose(2));   // the program's own move gets the handler's error
    EXPECT_EQ(form->grdOutcomes->row(), 1);
    EXPECT_EQ(form->currentOutcome(), shown);
    EXPECT_EQ(form->txtAdjustedCost->text(), "12,500");
    EXPECT_TRUE(form->optAdjust->isChecked());

    db().Execute("ALTER TABLE OutcomesAway RENAME TO Outcomes");
    Choose(2);
    EXPECT_NE(form->currentOutcome(), shown);
    EXPECT_DOUBLE_EQ(Stored(a, "AdjustedCost").toDouble(), 12500);
    EXPECT_EQ(Stored(a, "CostSource").toInt(), 8);
}

TEST_F(CostSummaryTest, AnUnknownStoredSourceSelectsNoOptionAndSaysSo)
{
    BuildWithoutFMUs();
    Store("B", "CostSource", 3);
    Store("B", "DailyContainCost", 1000);   // 6 days to containment
    Show();
    EXPECT_TRUE(form->optSize->isChecked());
    EXPECT_TRUE(form->lblUnknownSource->isHidden());
    const int b = RowOf(*form->grdOutcomes, "B. Confine", "Target");
    const QStringList before = CostColumn();

    Choose(b);
    EXPECT_EQ(CheckedCount(), 0);   // not the option of the outcome shown before
    EXPECT_FALSE(form->lblUnknownSource->isHidden());
    EXPECT_TRUE(form->lblUnknownSource->text().contains("(3)"));
    EXPECT_EQ(CostCell(b), "0");
    EXPECT_FALSE(form->currentOutcome()->IsDirty());

    // The keyboard alone picks a method: the cost column follows at once, for this row only.
    form->optDaily->setFocus();
    QTest::keyClick(form->optDaily, Qt::Key_Space);
    EXPECT_TRUE(form->optDaily->isChecked());
    EXPECT_EQ(form->currentOutcome()->CostSource(), CostSource::Daily);
    EXPECT_TRUE(form->lblUnknownSource->isHidden());
    EXPECT_EQ(form->lblDaily->text(), "6,000");
    EXPECT_EQ(CostCell(b), "6,000");
    QTest::keyClick(form->optDaily, Qt::Key_Up);
    EXPECT_TRUE(form->optSRUse->isChecked());
    EXPECT_EQ(form->currentOutcome()->CostSource(), CostSource::ResourceList);
    for (int r = 1; r < form->grdOutcomes->rows(); ++r) {
        if (r != b) {
            EXPECT_EQ(CostCell(r), before[r - 1]);
        }
    }
}

// The dialogs open on the outcome chosen on the worksheet, and closing them unchanged
// changes no cost and no stored row.
TEST_F(CostSummaryTest, DialogsOpenOnTheChosenOutcomeAndChangeNothingUntouched)
{
    BuildWithFMUs();
    Show();
    auto dump = [this] {
        return rowsOf({"SELECT * FROM Outcomes ORDER BY ItemKey", "SELECT * FROM SRUses ORDER BY ItemKey",
                       "SELECT * FROM SuppressionPerAcreCost ORDER BY FMZKey, Sequence"});
    };
    const QStringList stored = dump();
    const QList<float> costs = EstimatedCosts();
    const QStringList column = CostColumn();
    const int row = 4;
    Choose(row);
    model::c53Outcome* chosen = form->currentOutcome();
    const QString figures = form->lblSize->text() + form->lblSRUse->text() + form->lblDaily->text();

    WithDialog<worksheets::frm561CostPerAcreFMU>(form->cmdSize, [&](worksheets::frm561CostPerAcreFMU& d) {
        EXPECT_EQ(d.currentOutcome(), chosen);
        EXPECT_EQ(d.grdOutcomes->row(), row);
        Keep(&d, "frm561CostPerAcreFMU.png");
    });
    WithDialog<worksheets::frm562SRUseList>(form->cmdSRUse, [&](worksheets::frm562SRUseList& d) {
        EXPECT_EQ(d.currentOutcome(), chosen);
        EXPECT_EQ(d.grdOutcomes->row(), row);
        Keep(&d, "frm562SRUseList.png");
    });
    WithDialog<worksheets::frm563DailyCost>(form->cmdDaily, [&](worksheets::frm563DailyCost& d) {
        EXPECT_EQ(d.currentOutcome(), chosen);
        EXPECT_EQ(d.grdOutcomes->row(), row);
        Keep(&d, "frm563DailyCost.png");
    });
    EXPECT_EQ(form->currentOutcome(), chosen);
    EXPECT_EQ(form->lblSize->text() + form->lblSRUse->text() + form->lblDaily->text(), figures);
    EXPECT_EQ(CostColumn(), column);
    EXPECT_EQ(EstimatedCosts(), costs);
    Keep(form.get(), "frm56_CostSummary.png");
    Revisit();
    EXPECT_EQ(dump(), stored);
    EXPECT_EQ(CostColumn(), column);
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(CostSummaryTest, WithoutFMUsTheWholeFireTableOpensOnTheChosenOutcome)
{
    BuildWithoutFMUs();
    Show();
    const int b = RowOf(*form->grdOutcomes, "B. Confine", "Target");
    Choose(b);
    const QStringList tables = rowsOf({"SELECT * FROM SuppressionPerAcreCost ORDER BY FMZKey, Sequence"});
    const QList<float> costs = EstimatedCosts();
    // Looked at, every cell entered, closed: nothing changes.
    WithDialog<worksheets::frm561CostPerAcre>(form->cmdSize, [&](worksheets::frm561CostPerAcre& d) {
        for (int r = 2; r < d.grdCosts->rows(); ++r)
            for (int c = 0; c < 3; ++c)
                d.grdCosts->setCurrentCell(r, c);
    });
    EXPECT_EQ(rowsOf({"SELECT * FROM SuppressionPerAcreCost ORDER BY FMZKey, Sequence"}), tables);
    EXPECT_EQ(EstimatedCosts(), costs);
    WithDialog<worksheets::frm561CostPerAcre>(form->cmdSize, [&](worksheets::frm561CostPerAcre& d) {
        EXPECT_EQ(d.grdOutcomes->row(), b);
        EXPECT_EQ(d.fmuKey(), 0);
        // Bracket 2 (no top size, $30) serves the fire of 2,000 acres: raise it to $40.
        Type(*d.grdCosts, 3, 2, "40");
        EXPECT_EQ(d.grdOutcomes->text(b, 4), "80,000");
        Keep(&d, "frm561CostPerAcre.png");
    });
    // The worksheet shows the new estimate beside the option and in the cost column.
    EXPECT_EQ(form->lblSize->text(), "80,000");
    EXPECT_EQ(CostCell(b), "80,000");
    EXPECT_FLOAT_EQ(model::GetAACTable(0)->Cost(2), 40);
}

} // namespace
