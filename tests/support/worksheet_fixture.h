#pragma once

// A data file for a worksheet test, made from the template, with the model's caches cleared
// before and after each test, as a worksheet meets them after the file is loaded; and the
// worksheet itself, shown and left as the shell does it, with what its tests write and read.

#include "core/savescope.h"
#include "model/c41objective.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "platform/grid/grid.h"
#include "support/analysis_builder.h"
#include "support/datafile_fixture.h"
#include "support/placedform.h"
#include "worksheets/common/worksheetform.h"

#include <QApplication>
#include <QSize>
#include <QTest>
#include <QVariant>

#include <cmath>
#include <memory>

class WorksheetDataFixture : public DatafileFixture {
protected:
    void SetUp() override
    {
        DatafileFixture::SetUp();
        testsupport::ClearModelCaches();
    }
    void TearDown() override
    {
        testsupport::ClearModelCaches();
        DatafileFixture::TearDown();
    }
};

// How a test shows its worksheet and how it leaves it.
struct WorksheetShowing {
    QSize size{1000, 620};          // the room the main window gives it
    bool waitUntilActive = false;   // focus and typing are tried only once the window is active
    bool saveAllOrNothing = false;  // leave() stores the edits as one whole, as the shell does
};

//   class MyTest : public WorksheetFixture<frm43Outcomes> {
//       MyTest() : WorksheetFixture({.size = {776, 470}}) {}
//   };
//   TEST_F(MyTest, Something) { open(); ...; leave(); EXPECT_EQ(stored("Items", 11, "Body"), ...); }
template <class Form = worksheets::WorksheetForm>
class WorksheetFixture : public WorksheetDataFixture {
protected:
    using Alt = testsupport::CostedAlternative;

    explicit WorksheetFixture(const WorksheetShowing& showing = {}) : mShowing(showing) {}

    void TearDown() override
    {
        form.reset();
        WorksheetDataFixture::TearDown();
    }

    // The worksheet as the shell shows it; a fixture for several worksheets names the one.
    template <class Shown = Form>
    Shown& open()
    {
        std::unique_ptr<Shown> made = testsupport::NewForm<Shown>();
        Shown& shown = *made;
        form = std::move(made);
        shown.resize(mShowing.size);
        shown.Setup();
        shown.show();
        QApplication::setActiveWindow(&shown);
        if (mShowing.waitUntilActive) {
            EXPECT_TRUE(QTest::qWaitForWindowActive(&shown));
            QApplication::processEvents();
        }
        return shown;
    }
    // The worksheet as the shell leaves one that saves through its form: the save, the form gone.
    void leave()
    {
        if (mShowing.saveAllOrNothing)
            core::SaveAllOrNothing([this] { form->SaveChanges(); });
        else
            form->SaveChanges();
        form.reset();
    }
    // The caches dropped, as loading the file leaves them.
    void reload() { testsupport::ClearModelCaches(); }

    // A field of the stored row, "<no row>" when there is none.
    QVariant stored(const QString& table, int key, const QString& field)
    {
        auto rs = db().OpenTable(table);
        rs->Seek(key);
        return rs->NoMatch() ? QVariant(QStringLiteral("<no row>")) : rs->Field(field);
    }
    // An objective or safety issue (under root 2) written to the file as an earlier session left it.
    int storedNode(int parentKey, const QString& name, int priority)
    {
        model::c41Objective* node = parentKey == 2 ? model::AddSafetyIssue(QString(), parentKey)
                                                   : model::AddObjective(QString(), parentKey);
        node->SetItemName(name);
        node->SetPriority(priority);
        node->SaveChanges();
        const int key = node->ItemKey();
        reload();
        return key;
    }
    // Adds the alternative (named "A", "B", ... in order) and returns its key.
    int addAlternative(const Alt& a) { return testsupport::AddCostedAlternative(a); }

    static QStringList columnTexts(const grid::Grid& grid, int col)
    {
        QStringList texts;
        for (int r = 1; r < grid.rows(); ++r)
            texts << grid.text(r, col);
        return texts;
    }
    // Where a fraction of the cell's width lies, in the grid's viewport.
    static QPoint cellPoint(grid::Grid& grid, int row, int col, double fraction = 0.5)
    {
        const QRect r = grid.visualRect(grid.gridModel()->index(row, col));
        return QPoint(r.left() + int(std::lround(fraction * r.width())), r.center().y());
    }
    static void clickCell(grid::Grid& grid, int row, int col, double fraction = 0.5)
    {
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellPoint(grid, row, col, fraction));
    }

    std::unique_ptr<Form> form;

private:
    WorksheetShowing mShowing;
};
