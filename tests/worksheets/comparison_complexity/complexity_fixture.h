#pragma once

// A data file from the template with the complexity worksheets' tables at hand: element and
// category rows read and written directly, as a file from elsewhere might hold them.

#include "core/u19rowdata.h"
#include "core/uimode.h"
#include "platform/grid/grid.h"
#include "support/datafile_fixture.h"
#include "support/placedform.h"

#include <QApplication>

#include <memory>

class ComplexityFixture : public DatafileFixture {
protected:
    struct Element {
        QString name;
        int rating = 0;
        bool exists = false;
    };

    Element element(int category, int number)
    {
        auto rs = db().OpenTable("ComplexityFactors");
        rs->Seek(category, number);
        Element e;
        e.exists = !rs->NoMatch();
        e.name = core::GetFieldText(*rs, "Name");
        e.rating = core::GetFieldLong(*rs, "Rating");
        return e;
    }
    int elementCount(int category)
    {
        auto rs = db().OpenRecordset("SELECT * FROM ComplexityFactors WHERE CategoryKey = ?", {category});
        return rs->RecordCount();
    }
    void setElementRating(int category, int number, int rating)
    {
        db().Execute("UPDATE ComplexityFactors SET Rating = ? WHERE CategoryKey = ? AND FactorNumber = ?",
                     {rating, category, number});
    }
    int storedCategoryRating(int category)
    {
        auto rs = db().OpenTable("ComplexityCategories");
        rs->Seek(category);
        return core::GetFieldLong(*rs, "Rating");
    }
    void setStoredCategoryRating(int category, int rating)
    {
        db().Execute("UPDATE ComplexityCategories SET Rating = ? WHERE \"Key\" = ?", {rating, category});
    }
    // Every row of both tables, to tell that nothing was written.
    QStringList complexityRows()
    {
        return rowsOf({"SELECT * FROM ComplexityCategories", "SELECT * FROM ComplexityFactors"});
    }
    bool propertyRowExists(const QString& name)
    {
        return db().OpenRecordset("SELECT * FROM Properties WHERE Property = ?", {name})->RecordCount() > 0;
    }
};

// One complexity worksheet on that file, shown as the shell shows it.
template <class Form>
class ComplexityFormFixture : public ComplexityFixture {
protected:
    void show()
    {
        form = testsupport::NewForm<Form>();
        form->resize(900, 600);
        form->Setup();
        QApplication::processEvents();
        ASSERT_TRUE(core::IsIdle());
    }
    void TearDown() override
    {
        form.reset();
        ComplexityFixture::TearDown();
    }
    grid::Grid* grd() const { return form->template findChild<grid::Grid*>("grdFactors"); }

    std::unique_ptr<Form> form;
};
