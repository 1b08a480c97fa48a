#pragma once

// A data file holding an analysis built through the model, and the user's hand on the
// worksheets' grids: clicks, presses and drags at a fraction of a cell's width, sent as mouse
// events, and keys sent to whatever holds the focus.

#include "support/analysis_builder.h"
#include "support/datafile_fixture.h"
#include "support/failingwrites.h"
#include "platform/grid/grid.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QTest>

class AnalysisFixture : public DatafileFixture {
protected:
    void TearDown() override
    {
        testsupport::ClearModelCaches();
        DatafileFixture::TearDown();
    }

    void build(const testsupport::AnalysisSize& size) { testsupport::BuildAnalysis(size); }

    // Shows a form the way the shell does and gives it the keyboard.
    static void showForm(QWidget& form, int width = 1100, int height = 760)
    {
        form.resize(width, height);
        form.show();
        QApplication::setActiveWindow(form.window());
        QApplication::processEvents();
    }

    static QPoint at(grid::Grid& g, int row, int col, double fraction = 0.5)
    {
        const QRect r = g.visualRect(g.gridModel()->index(row, col));
        return QPoint(r.left() + int(std::lround(fraction * r.width())), r.center().y());
    }
    static void click(grid::Grid& g, int row, int col, double fraction = 0.5)
    {
        g.setFocus();
        QTest::mouseClick(g.viewport(), Qt::LeftButton, {}, at(g, row, col, fraction));
    }
    // Press on a bar, drag through the fractions given (of the pressed cell's width), release
    // at the last.
    static void drag(grid::Grid& g, int row, int col, std::initializer_list<double> fractions)
    {
        g.setFocus();
        const double first = *fractions.begin();
        QTest::mousePress(g.viewport(), Qt::LeftButton, {}, at(g, row, col, first));
        QPoint last = at(g, row, col, first);
        for (double f : fractions) {
            last = at(g, row, col, f);
            QTest::mouseMove(g.viewport(), last);
        }
        QTest::mouseRelease(g.viewport(), Qt::LeftButton, {}, last);
    }
    static void key(Qt::Key k)
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, k);
    }
    static void type(const QString& text)
    {
        QWidget* target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClicks(target, text);
    }

    // Every write to the table fails until heal(), as on a full disk.
    void breakTable(const QString& table) { testsupport::BreakTable(db(), table); }
    void heal(const QString& table) { testsupport::HealTable(db(), table); }

    // The file's bytes as they are on disk.
    QByteArray fileHash() const
    {
        QFile f(path());
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
    }

    // Kept for looking at when TOLMAR_KEEP_PNG names a folder.
    static void keep(QWidget& w, const QString& name)
    {
        const QString folder = qEnvironmentVariable("TOLMAR_KEEP_PNG");
        if (!folder.isEmpty())
            w.grab().save(QDir(folder).filePath(name));
    }
};
