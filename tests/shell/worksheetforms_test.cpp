#include "shell/worksheetforms.h"
#include "worksheets/common/worksheetform.h"

#include <gtest/gtest.h>

#include <memory>

TEST(WorksheetForms, TheReportWorksheetsHaveTheirOwnForms)
{
    shell::RegisterWorksheetForms();
    const struct { const char* id; const char* form; } cases[] = {{"tab82", "frm82Topics"}, {"tab83", "frm83Reports"}};
    for (const auto& c : cases) {
        std::unique_ptr<worksheets::WorksheetForm> form(worksheets::CreateWorksheetForm(QString::fromLatin1(c.id), nullptr));
        ASSERT_NE(form, nullptr) << c.id;
        EXPECT_EQ(form->formName(), QString::fromLatin1(c.form));
        worksheets::UnregisterWorksheetForm(QString::fromLatin1(c.id));
    }
}
