#include "platform/ui/application.h"
#include "platform/ui/qtprompter.h"
#include "shell/frm0_tolmar.h"
#include "shell/programsetup.h"

#include <QStringList>

int main(int argc, char** argv)
{
    shell::PrepareFontReading();
    ui::Application app(argc, argv);
    ui::QtPrompter prompter;
    shell::SetUpProgram(prompter);
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
