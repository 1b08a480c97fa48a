#pragma once

// A data file for a worksheet test, with the model caches cleared before and after, and the
// form shown as the shell shows it: sized as in the main window, active, so that focus and
// typing behave as they do for the user.

#include "support/placedform.h"
#include "support/worksheet_fixture.h"
#include "worksheets/common/worksheetform.h"

#include <QApplication>
#include <QTest>

#include <memory>

template <class Form>
class WorksheetFixture : public WorksheetDataFixture {
protected:
    void TearDown() override
    {
        form.reset();
        WorksheetDataFixture::TearDown();
    }

    Form& open()
    {
        form = testsupport::NewForm<Form>();
        form->resize(776, 470);
        form->Setup();
        form->show();
        QApplication::setActiveWindow(form.get());
        EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
        QApplication::processEvents();
        return *form;
    }
    // As the shell leaves a worksheet that saves through its form.
    void leave()
    {
        form->SaveChanges();
        form.reset();
    }

    QVariant stored(const QString& table, int key, const QString& field)
    {
        auto rs = db().OpenTable(table);
        rs->Seek(key);
        return rs->NoMatch() ? QVariant(QStringLiteral("<no row>")) : rs->Field(field);
    }

    std::unique_ptr<Form> form;
};
