#include "platform/ui/helpviewer.h"

#include "platform/ui/prompter.h"

#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QPointer>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace ui {

namespace {

QString gHelpFile;

class HelpDialog : public QDialog {
public:
    explicit HelpDialog(QWidget* parent) : QDialog(parent)
    {
        setWindowTitle(QStringLiteral("Tolmar Advanced Help"));
        setAttribute(Qt::WA_DeleteOnClose);
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        browser = new QTextBrowser(this);
        browser->setOpenExternalLinks(true);
        layout->addWidget(browser);
        resize(640, 560);
    }
    QTextBrowser* browser;
};

QPointer<HelpDialog> gWindow;

} // namespace

void SetHelpFile(const QString& path) { gHelpFile = path; }
QString HelpFile() { return gHelpFile; }

QString HelpHtmlFile()
{
    if (gHelpFile.isEmpty())
        return {};
    const QFileInfo info(gHelpFile);
    return info.dir().filePath(info.completeBaseName() + QStringLiteral(".html"));
}

QUrl HelpUrl(int context)
{
    const QString html = HelpHtmlFile();
    if (html.isEmpty() || !QFileInfo(html).isFile())
        return {};
    QUrl url = QUrl::fromLocalFile(html);
    if (context > 0)
        url.setFragment(QString::number(context));
    return url;
}

bool ShowHelp(QWidget* parent, int context)
{
    const QUrl url = HelpUrl(context);
    if (url.isEmpty()) {
        const QString html = HelpHtmlFile();
        MsgBox(Lines({QStringLiteral("No help file is installed."),
                      html.isEmpty() ? QString() : QStringLiteral("The help would be read from ") + html + QStringLiteral(".")}),
               Buttons::OK, Icon::Information);
        return false;
    }
    if (!gWindow)
        gWindow = new HelpDialog(parent);
    gWindow->browser->setSource(url);
    if (url.hasFragment())
        gWindow->browser->scrollToAnchor(url.fragment());
    gWindow->show();
    gWindow->raise();
    return true;
}

QWidget* HelpWindow() { return gWindow.data(); }

} // namespace ui
