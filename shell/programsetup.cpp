#include "shell/programsetup.h"

#include "core/uimode.h"
#include "platform/ui/qtprompter.h"
#include "platform/ui/waitcursor.h"
#include "reports/frmpreview.h"
#include "shell/frm0_tolmar.h"
#include "shell/worksheetforms.h"
#include "upgrade/upgrader.h"

#include <QApplication>

namespace shell {

void SetUpProgram(ui::QtPrompter& prompter)
{
    QApplication::setApplicationName(QStringLiteral("Tolmar Advanced"));
    ui::setPrompter(&prompter);
    core::SetBusyCursorHandler(ui::SetBusyCursor);
    upgrade::Install();
    RegisterWorksheetForms();
    frm0_Tolmar::SetPreviewUnloader(reports::UnloadPreviewWindow);
}

} // namespace shell
