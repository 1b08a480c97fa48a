#include "worksheets/comparison_complexity/registerforms.h"

#include "worksheets/common/worksheetform.h"
#include "worksheets/comparison_complexity/frm72complexity.h"
#include "worksheets/comparison_complexity/frm73guide.h"
#include "worksheets/comparison_complexity/frm74complexitytype.h"

namespace worksheets::comparison_complexity {

void RegisterForms()
{
    RegisterWorksheetForm(QStringLiteral("tab72"), [](QWidget* parent) { return new frm72Complexity(parent); });
    RegisterWorksheetForm(QStringLiteral("tab73"), [](QWidget* parent) { return new frm73Guide(parent); });
    RegisterWorksheetForm(QStringLiteral("tab74"), [](QWidget* parent) { return new frm74ComplexityType(parent); });
}

} // namespace worksheets::comparison_complexity
