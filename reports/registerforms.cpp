#include "reports/registerforms.h"

#include "reports/frm82topics.h"
#include "reports/frm83reports.h"
#include "reports/frmpreview.h"
#include "reports/reportproduction.h"

namespace reports {

void RegisterForms()
{
    worksheets::RegisterWorksheetForm(QStringLiteral("tab82"), [](QWidget* parent) { return new frm82Topics(parent); });
    worksheets::RegisterWorksheetForm(QStringLiteral("tab83"), [](QWidget* parent) { return new frm83Reports(parent); });
    SetReportProducer([](printing::Output output, const QString& fileName) { RunReport(output, fileName); });
}

}  // namespace reports
