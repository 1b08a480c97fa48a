#pragma once

// The Cost Summary worksheet and its dialogs on a data file: an analysis built through the
// model, the worksheet shown as the shell shows it, a dialog opened from its button and
// worked while it runs modally, and grid cells typed into as a user does.

#include "support/placedform.h"
#include "worksheets/setup_situation/setup_fixture.h"

#include "model/c35aactable.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/g33fmus.h"
#include "model/g51alternatives.h"
#include "model/g53outcomes.h"
#include "model/modeldata.h"
#include "platform/grid/grid.h"
#include "support/withdialog.h"
#include "worksheets/analysis/frm56_costsummary.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

class CostTest : public SetupWorksheetTest {
protected:
    void TearDown() override
    {
        form.reset();
        SetupWorksheetTest::TearDown();
    }

    // The small analysis of the builder: four alternatives, two FMUs, every cost source.
    void BuildWithFMUs() { testsupport::BuildAnalysis(testsupport::kSmallAnalysis); }

    // An analysis without FMUs: "A" with its Target and Fallback, "B" with its Target only,
    // and the Extreme outcome; one cost table for the whole fire.
    void BuildWithoutFMUs()
    {
        model::c35AACTable* table = model::GetAACTable(0);
        table->SetTopSize(1, 100);
        table->SetCost(1, 50);
        table->SetTopSize(2, 0);
        table->SetCost(2, 30);
        table->SaveChanges();
        auto a = model::AddAlternative(QStringLiteral("A"));
        a->SetHeading(QStringLiteral("Direct attack"));
        a->SaveChanges();
        SetOutcome(*a->Outcome(model::OutcomeKind::Target), "50", 2, 5);
        a->Outcome(model::OutcomeKind::Fallback)->SetSuccess(50);
        SetOutcome(*a->Outcome(model::OutcomeKind::Fallback), "500", 4, 9);
        auto b = model::AddAlternative(QStringLiteral("B"));
        b->SetHeading(QStringLiteral("Confine"));
        b->SaveChanges();
        SetOutcome(*b->Outcome(model::OutcomeKind::Target), "2000", 6, 20);
        SetOutcome(*model::GetExtremeOutcome(), "12000", 20, 45);
        testsupport::ClearModelCaches();
    }

    static void SetOutcome(model::c53Outcome& o, const char* acres, int contain, int control)
    {
        o.SetFireSize(QString::fromLatin1(acres));
        o.SetContainTimeString(QString::number(contain));
        o.SetControlTimeString(QString::number(control));
        o.SaveChanges();
    }

    // The outcome of a grid row, by the texts of its two name columns ("A. Direct attack",
    // "Target"; "Extreme Outcome" for the shared one).
    static int RowOf(const grid::Grid& g, const QString& label, const QString& shortName)
    {
        for (int r = 1; r < g.rows(); ++r)
            if (g.text(r, 0) == label && g.text(r, 1) == shortName)
                return r;
        return -1;
    }

    // The worksheet as the shell shows it.
    worksheets::frm56_CostSummary& Show()
    {
        form = testsupport::NewForm<worksheets::frm56_CostSummary>();
        form->resize(1100, 760);
        form->Setup();
        form->show();
        QApplication::setActiveWindow(form.get());
        return *form;
    }
    // Leaves the worksheet and comes back: saved, unloaded, every cache dropped, shown anew.
    void Revisit()
    {
        form->SaveChanges();
        form.reset();
        testsupport::ClearModelCaches();
        Show();
    }
    // The user picks a row of the worksheet's outcome grid.
    void Choose(int row) { form->grdOutcomes->setCurrentCell(row, 0); }

    // Clicks the button that opens a dialog, runs work on the dialog while it is up, then
    // closes it with its Close button; returns once the worksheet has its figures back.
    template <class Dialog>
    void WithDialog(QPushButton* opener, const std::function<void(Dialog&)>& work)
    {
        testsupport::WithDialog<Dialog>(opener, work);
    }

    // Replaces a box's text by typing, as a user who selects it first; text the keyboard
    // cannot type here is pasted.
    static void TypeInto(QLineEdit* box, const QString& text)
    {
        box->setFocus();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Delete);
        bool ascii = true;
        for (QChar c : text)
            ascii = ascii && c.unicode() < 128;
        if (ascii) {
            QTest::keyClicks(box, text);
        } else {
            QApplication::clipboard()->setText(text);
            box->paste();
        }
    }

    // Every outcome's estimate, in grid order, read from the model afresh.
    QList<float> EstimatedCosts()
    {
        QList<float> costs;
        for (const model::OutcomeRow& row : model::OutcomeRows())
            costs << row.outcome->EstimatedCost();
        return costs;
    }

    // The window as a PNG in $TOLMAR_KEEP_PNG, to be looked at.
    static void Keep(QWidget* window, const QString& name)
    {
        const QString folder = qEnvironmentVariable("TOLMAR_KEEP_PNG");
        if (!folder.isEmpty())
            window->grab().save(QDir(folder).filePath(name));
    }

    std::unique_ptr<worksheets::frm56_CostSummary> form;
};
