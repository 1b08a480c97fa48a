#pragma once

// A data file made from the template, fresh model caches, and helpers that work a worksheet's
// grid the way a user does: enter a cell (which opens its editor), type, end with Enter or
// Escape, or paste through the Edit menu's route (the editor's paste slot).

#include "support/analysis_builder.h"
#include "support/placedform.h"
#include "support/worksheet_fixture.h"

#include "core/uimode.h"
#include "platform/grid/grid.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>

#include <memory>

class SetupWorksheetTest : public WorksheetDataFixture {
protected:
    static QLineEdit* Editor(grid::Grid& g) { return g.viewport()->findChild<QLineEdit*>(); }

    // Enters the cell as a click would; the worksheets open the editor at once. On the cell
    // that is already current, F2 opens it, as a user would.
    static QLineEdit* Enter(grid::Grid& g, int row, int col)
    {
        const bool same = g.row() == row && g.col() == col;
        g.setCurrentCell(row, col);
        if (same && !g.isEditing())
            QTest::keyClick(&g, Qt::Key_F2);
        EXPECT_TRUE(g.isEditing()) << "no editor on " << row << "," << col;
        return Editor(g);
    }

    // Replaces the cell's text by typing and ends the edit with the key (Enter or Escape).
    static void Type(grid::Grid& g, int row, int col, const QString& text, Qt::Key end = Qt::Key_Return)
    {
        QLineEdit* editor = Enter(g, row, col);
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClick(editor, Qt::Key_Delete);
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, end);
    }

    // Replaces the cell's text with the clipboard through the Edit menu's Paste.
    static void Paste(grid::Grid& g, int row, int col, const QString& text)
    {
        QLineEdit* editor = Enter(g, row, col);
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QApplication::clipboard()->setText(text);
        QMetaObject::invokeMethod(editor, "paste");
        g.finishEdit();
    }
};

// One worksheet form on the data file: shown as the shell shows it, and revisited as a user
// leaving it and coming back sees it (save, unload, every cache dropped, a new form).
template <class Form>
class WorksheetTest : public SetupWorksheetTest {
protected:
    void Show()
    {
        form = testsupport::NewForm<Form>();
        form->resize(1000, 700);
        form->Setup();
    }

    void Revisit()
    {
        form->SaveChanges();
        form.reset();
        testsupport::ClearModelCaches();
        Show();
    }

    std::unique_ptr<Form> form;
};
