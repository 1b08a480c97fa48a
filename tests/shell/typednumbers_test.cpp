// One rule for every box and grid cell that takes a number, typed or pasted: only the ASCII
// digits are digits; a text that is no number of the field's kind is refused with a message and
// the value from before stays; a number held to the field's range shows what is stored. Each
// value is brought in as a user does, the worksheet left (which stores it) and shown again.

#include "support/mainwindow_fixture.h"

#include "platform/grid/grid.h"
#include "shell/a3tolmarforms.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>

#include <array>

namespace {

enum class Entry { Pasted, Typed };

struct Input {
    const char* name;
    QString text;
    Entry entry;
};

const std::array<Input, 7> kInputs{{
    {"abc", QStringLiteral("abc"), Entry::Pasted},
    {"0x10", QStringLiteral("0x10"), Entry::Pasted},
    {"Arabic-Indic three", QStringLiteral("\u0663"), Entry::Pasted},
    {"1e309", QStringLiteral("1e309"), Entry::Pasted},
    {"99999999999", QStringLiteral("99999999999"), Entry::Pasted},
    {"120", QStringLiteral("120"), Entry::Typed},
    {"18o,000", QStringLiteral("18o,000"), Entry::Typed},
}};

// "=" : refused with a message, the value from before stays.
const char* const kKept = "=";

struct NumberField {
    const char* id;       // the worksheet
    const char* name;     // the box, combo box or grid
    int col;              // the grid's column; -1 for a box
    std::array<const char*, kInputs.size()> shown;   // what the field shows after each input
};

const NumberField kFields[] = {
    // Outcomes: the first alternative's Target (row 2). Typing drops the letter (and, in the
    // four-digit days, the separator and what does not fit).
    {"tab43", "txtSize", -1, {kKept, kKept, kKept, kKept, kKept, "120", "18000"}},
    {"tab43", "txtContain", -1, {kKept, kKept, kKept, kKept, kKept, "120", "1800"}},
    // Probabilities: held within 0 ... 100.
    {"tab44", "txtSuccess1", -1, {kKept, kKept, kKept, "100", "100", "100", "100"}},
    // Values at Risk: a loss kept as a Single to the cent; a probability held within 0 ... 100.
    {"tab24", "cboDamage", -1, {kKept, kKept, kKept, kKept, kKept, "120", kKept}},
    {"tab24", "cboProbability", -1, {kKept, kKept, kKept, "100", "100", "100", kKept}},
    // Values Protected: a level held within 0 ... 100, shown with its label.
    {"tab54", "cboProbability", -1, {kKept, kKept, kKept, "Yes (100%)", "Yes (100%)", "Yes (100%)", kKept}},
    // Prioritize: held within 0 ... 10; a cell takes four characters.
    {"tab34", "Grid1", 1, {kKept, kKept, kKept, "10", "10", "10", "10"}},
    // FMU Portions: 0 ... 9999 in four characters.
    {"tab45", "grdFMUs", 1, {kKept, kKept, kKept, kKept, "9999", "120", "1800"}},
    // Objective Ratings: held within 0 ... 10.
    {"tab53", "Grid1", 3, {kKept, kKept, kKept, "10", "10", "10", "10"}},
    // NVC Table and Suppression Resource List, which judged whole texts before.
    {"tab14", "grdNVC", 1, {kKept, kKept, kKept, kKept, kKept, "120", kKept}},
    {"tab15", "grdMasterList", 4, {kKept, kKept, kKept, kKept, "99999999999.00", "120.00", kKept}},
};

class TypedNumbers : public MainWindowFixture {
protected:
    QWidget* ShowWorksheet(const QString& id)
    {
        const shell::WorksheetInfo* info = shell::FindWorksheet(id);
        if (!info)
            return nullptr;
        window->sectionItem(info->section)->trigger();
        window->tabItem(info->worksheet)->trigger();
        return worksheets::gCurrentWorksheetID == id ? shell::CurrentWorksheetForm() : nullptr;
    }

    // Leaves the worksheet for its section's introduction, which stores it.
    void Leave() { window->tabItem(1)->trigger(); }

    // The box a user types into: a combo box's own.
    static QLineEdit* Box(QWidget* form, const NumberField& f)
    {
        QWidget* w = form->findChild<QWidget*>(QString::fromLatin1(f.name));
        if (auto* combo = qobject_cast<QComboBox*>(w))
            return combo->lineEdit();
        return qobject_cast<QLineEdit*>(w);
    }

    // The first row of the grid whose cell in the column takes an edit; 0 when none.
    static int EditableRow(grid::Grid* g, int col)
    {
        for (int row = g->fixedRows(); row < g->rows(); ++row) {
            g->setCurrentCell(row, col);
            g->editCell();
            if (g->isEditing()) {
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
                return row;
            }
        }
        return 0;
    }

    // Shows the worksheet with the field's object chosen: on the Outcomes worksheet the first
    // alternative's Target, elsewhere the object the worksheet opens on.
    QWidget* Open(const NumberField& f)
    {
        QWidget* form = ShowWorksheet(QString::fromLatin1(f.id));
        if (form && QLatin1String(f.id) == QLatin1String("tab43"))
            form->findChild<grid::Grid*>(QStringLiteral("grdOutcomes"))->setRow(2);
        return form;
    }

    QString Shown(QWidget* form, const NumberField& f, int row)
    {
        if (f.col < 0)
            return Box(form, f)->text();
        return form->findChild<grid::Grid*>(QString::fromLatin1(f.name))->text(row, f.col);
    }

    // Brings the value into the field and ends the typing: Tab out of a box, Enter in a cell.
    static void Enter(QWidget* target, const Input& input, Qt::Key finishKey)
    {
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
        if (input.entry == Entry::Typed) {
            QTest::keyClicks(target, input.text);
        } else {
            QApplication::clipboard()->setText(input.text);
            QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
        }
        QTest::keyClick(QApplication::focusWidget(), finishKey);
    }
};

TEST_F(TypedNumbers, EveryNumberBoxAndCellFollowsTheOneRule)
{
    for (const NumberField& f : kFields) {
        for (size_t i = 0; i < kInputs.size(); ++i) {
            const Input& input = kInputs[i];
            SCOPED_TRACE(QStringLiteral("%1 %2, %3").arg(f.id, f.name, input.name).toStdString());
            QWidget* form = Open(f);
            ASSERT_NE(form, nullptr);
            int row = 0;
            if (f.col >= 0) {
                auto* g = form->findChild<grid::Grid*>(QString::fromLatin1(f.name));
                ASSERT_NE(g, nullptr);
                row = EditableRow(g, f.col);
                ASSERT_GT(row, 0);
            } else {
                ASSERT_NE(Box(form, f), nullptr);
            }
            const QString before = Shown(form, f, row);
            prompter.clear();
            if (f.col < 0) {
                Enter(Box(form, f), input, Qt::Key_Tab);
            } else {
                auto* g = form->findChild<grid::Grid*>(QString::fromLatin1(f.name));
                g->setCurrentCell(row, f.col);
                g->editCell();
                ASSERT_TRUE(g->isEditing());
                Enter(QApplication::focusWidget(), input, Qt::Key_Return);
            }
            const bool refused = QLatin1String(f.shown[i]) == QLatin1String(kKept);
            if (refused) {
                ASSERT_EQ(prompter.messages().size(), 1);
                EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Warning);
            } else {
                EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().value(0).text.toStdString();
            }
            Leave();
            form = Open(f);
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(Shown(form, f, row), refused ? before : QString::fromUtf8(f.shown[i]));
            Leave();
        }
    }
}

} // namespace
