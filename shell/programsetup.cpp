#include "shell/programsetup.h"

#include "core/uimode.h"
#include "platform/ui/qtprompter.h"
#include "platform/ui/waitcursor.h"
#include "reports/frmpreview.h"
#include "shell/frm0_tolmar.h"
#include "shell/worksheetforms.h"
#include "upgrade/upgrader.h"

#include <QApplication>
#include <QFontDatabase>
#include <QThreadPool>

namespace shell {

void SetUpProgram(ui::QtPrompter& prompter)
{
    QApplication::setApplicationName(QStringLiteral("Tolmar Advanced"));
    // Reading the system's fonts is the longest step before the first paint, and nothing needs
    // them before the tab rows are made: it runs beside building the window and opening the
    // file. The font database may be used from any thread, and the application waits for the
    // global pool before it goes.
    QThreadPool::globalInstance()->start([] { QFontDatabase::families(); });
    ui::setPrompter(&prompter);
    core::SetBusyCursorHandler(ui::SetBusyCursor);
    upgrade::Install();
    RegisterWorksheetForms();
    frm0_Tolmar::SetPreviewUnloader(reports::UnloadPreviewWindow);
}

} // namespace shell
