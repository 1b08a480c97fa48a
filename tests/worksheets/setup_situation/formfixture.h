#pragma once

// A worksheet form on a fresh data file, shown as the shell shows it, with the item cache and
// the values at risk read afresh for each test.
//
//   class MyTest : public FormFixture<frm22General> {};
//   TEST_F(MyTest, Something) { open(); ...; EXPECT_EQ(stored("Items", 11, "Body"), ...); }

#include "core/g0items.h"
#include "model/g36threateneditems.h"
#include "support/datafile_fixture.h"
#include "support/placedform.h"

#include <QApplication>
#include <QVariant>

#include <memory>

template <class Form>
class FormFixture : public DatafileFixture {
protected:
    void SetUp() override
    {
        DatafileFixture::SetUp();
        clearCaches();
    }
    void TearDown() override
    {
        form.reset();
        clearCaches();
        DatafileFixture::TearDown();
    }
    // As loading the file does.
    void clearCaches()
    {
        model::ClearThreatenedItems();
        core::ClearItems();
    }
    Form& open()
    {
        form = testsupport::NewForm<Form>();
        form->resize(1000, 620);
        form->Setup();
        form->show();
        QApplication::setActiveWindow(form.get());
        return *form;
    }
    // A field of the stored row, "<no row>" when there is none.
    QVariant stored(const QString& table, int key, const QString& field)
    {
        auto rs = db().OpenTable(table);
        rs->Seek(key);
        return rs->NoMatch() ? QVariant(QStringLiteral("<no row>")) : rs->Field(field);
    }

    std::unique_ptr<Form> form;
};
