#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace ui {

// Help is an HTML file beside the program, named after the help file's stem
// ("TolmarVire.hlp" -> "TolmarVire.html"); a topic is the anchor named by its context number.
void SetHelpFile(const QString& path);
QString HelpFile();
QString HelpHtmlFile();

// The page to show for a context number (0: the contents), or an empty url when no help
// file is installed.
QUrl HelpUrl(int context);

// Shows the page in the help window, or says that no help file is installed.
// Returns whether the help window was shown.
bool ShowHelp(QWidget* parent, int context);

// The help window when it is open (tests), else null.
QWidget* HelpWindow();

} // namespace ui
