#pragma once

// A fresh data file with the template's trees (objectives root 1 with its five categories,
// safety root 2), the model's caches cleared around each test, and a worksheet of this folder
// opened and left as the shell does it.

#include "core/savescope.h"
#include "model/c41objective.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "platform/grid/grid.h"
#include "support/analysis_builder.h"
#include "support/placedform.h"
#include "support/worksheet_fixture.h"
#include "worksheets/common/worksheetform.h"

#include <QApplication>
#include <QTest>

#include <memory>

class ObjectivesFixture : public WorksheetDataFixture {
protected:
    void TearDown() override
    {
        form.reset();
        WorksheetDataFixture::TearDown();
    }

    // The worksheet as the shell shows it.
    template <class Form>
    Form& open()
    {
        auto* made = testsupport::NewForm<Form>().release();
        form.reset(made);
        made->resize(1100, 650);
        made->Setup();
        made->show();
        QApplication::setActiveWindow(made);
        return *made;
    }
    // The worksheet as the shell leaves it: its save whole or not at all, the form gone, the
    // caches that leaving drops dropped.
    void leave(bool dropsObjectives = false)
    {
        core::SaveAllOrNothing([this] { form->SaveChanges(); });
        form.reset();
        if (dropsObjectives)
            model::ClearObjectives();
    }

    // A node written to the file as an earlier session left it.
    int storedNode(int parentKey, const QString& name, int priority)
    {
        model::c41Objective* node = parentKey == 2 ? model::AddSafetyIssue(QString(), parentKey)
                                                   : model::AddObjective(QString(), parentKey);
        node->SetItemName(name);
        node->SetPriority(priority);
        node->SaveChanges();
        const int key = node->ItemKey();
        testsupport::ClearModelCaches();
        return key;
    }

    QVariant stored(int key, const QString& field)
    {
        auto rs = db().OpenTable("Objectives");
        rs->SetIndex("PrimaryKey");
        rs->Seek(key);
        return rs->NoMatch() ? QVariant(QStringLiteral("<no row>")) : rs->Field(field);
    }

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

    std::unique_ptr<worksheets::WorksheetForm> form;
};
