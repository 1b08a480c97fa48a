#include "core/uimode.h"
#include "platform/ui/application.h"
#include "platform/ui/qtprompter.h"
#include "platform/ui/waitcursor.h"
#include "reports/frmpreview.h"
#include "shell/frm0_tolmar.h"
#include "shell/worksheetforms.h"
#include "upgrade/upgrader.h"

#include <QStringList>

int main(int argc, char** argv)
{
    ui::Application app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolmar Advanced"));

    ui::QtPrompter prompter;
    ui::setPrompter(&prompter);
    core::SetBusyCursorHandler(ui::SetBusyCursor);
    upgrade::Install();
    shell::RegisterWorksheetForms();

    shell::frm0_Tolmar::SetPreviewUnloader(reports::UnloadPreviewWindow);
    shell::frm0_Tolmar window;
    prompter.setParent(&window);

    // The whole command line is the path of the file to open; it is neither unquoted nor split.
    QStringList args = QApplication::arguments();
    args.removeFirst();
    window.Startup(args.join(QLatin1Char(' ')));
    window.show();
    const int result = app.exec();
    ui::setPrompter(nullptr);
    return result;
}
