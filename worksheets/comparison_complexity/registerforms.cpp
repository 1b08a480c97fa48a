#include "worksheets/comparison_complexity/registerforms.h"

#include "worksheets/common/worksheetform.h"
#include "worksheets/comparison_complexity/frm62graphs.h"
#include "worksheets/comparison_complexity/frm63decisiontree.h"
#include "worksheets/comparison_complexity/frm64matrix.h"
#include "worksheets/comparison_complexity/frm65decision.h"
#include "worksheets/comparison_complexity/frm72complexity.h"
#include "worksheets/comparison_complexity/frm73guide.h"
#include "worksheets/comparison_complexity/frm74complexitytype.h"

namespace worksheets::comparison_complexity {

void RegisterForms()
{
    RegisterWorksheetForm(QStringLiteral("tab62"), [](QWidget* parent) { return new frm62Graphs(parent); });
    RegisterWorksheetForm(QStringLiteral("tab63"), [](QWidget* parent) { return new frm63DecisionTree(parent); });
    RegisterWorksheetForm(QStringLiteral("tab64"), [](QWidget* parent) { return new frm64Matrix(parent); });
    RegisterWorksheetForm(QStringLiteral("tab65"), [](QWidget* parent) { return new frm65Decision(parent); });

    RegisterWorksheetForm(QStringLiteral("tab72"), [](QWidget* parent) { return new frm72Complexity(parent); });
    RegisterWorksheetForm(QStringLiteral("tab73"), [](QWidget* parent) { return new frm73Guide(parent); });
    RegisterWorksheetForm(QStringLiteral("tab74"), [](QWidget* parent) { return new frm74ComplexityType(parent); });
}

} // namespace worksheets::comparison_complexity
