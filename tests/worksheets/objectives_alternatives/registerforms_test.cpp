#include "worksheets/objectives_alternatives/registerforms.h"

#include "support/analysis_builder.h"
#include "support/datafile_fixture.h"
#include "support/placedform.h"
#include "worksheets/objectives_alternatives/frm42alternatives.h"
#include "worksheets/objectives_alternatives/frm43outcomes.h"
#include "worksheets/objectives_alternatives/frm44probabilities.h"
#include "worksheets/objectives_alternatives/frm45fmus.h"

#include <memory>

namespace {

class RegisterFormsTest : public DatafileFixture {
protected:
    void TearDown() override
    {
        testsupport::ClearModelCaches();
        DatafileFixture::TearDown();
    }
};

template <class Form>
bool Is(worksheets::WorksheetForm* form)
{
    return dynamic_cast<Form*>(form) != nullptr;
}

TEST_F(RegisterFormsTest, EachWorksheetOfTheSectionHasItsForm)
{
    worksheets::objectives_alternatives::RegisterForms();
    const struct {
        const char* id;
        bool (*is)(worksheets::WorksheetForm*);
    } forms[] = {{"tab42", Is<worksheets::frm42Alternatives>},
                 {"tab43", Is<worksheets::frm43Outcomes>},
                 {"tab44", Is<worksheets::frm44Probabilities>},
                 {"tab45", Is<worksheets::frm45FMUs>}};
    for (const auto& f : forms) {
        std::unique_ptr<worksheets::WorksheetForm> made = testsupport::CreateForm(f.id);
        ASSERT_NE(made, nullptr) << f.id;
        EXPECT_TRUE(f.is(made.get())) << f.id;
        made->Setup();
        EXPECT_EQ(worksheets::gCurrentWorksheetID, f.id);
        made->SaveChanges();
    }
}

} // namespace
