#include "worksheets/report/registerforms.h"

#include "reports/frmpreview.h"
#include "reports/reportproduction.h"
#include "worksheets/report/frm82topics.h"
#include "worksheets/report/frm83reports.h"

namespace worksheets::report {

void RegisterForms()
{
    worksheets::RegisterWorksheetForm(QStringLiteral("tab82"), [](QWidget* parent) { return new frm82Topics(parent); });
    worksheets::RegisterWorksheetForm(QStringLiteral("tab83"), [](QWidget* parent) { return new frm83Reports(parent); });
    reports::SetReportProducer([](printing::Output output, const QString& fileName) { reports::RunReport(output, fileName); });
}

}  // namespace worksheets::report
