#pragma once

#include <QString>
#include <QStringList>

namespace ui {

// Every message box and file dialog of the program goes through the one installed Prompter,
// so that core and model code can ask the user without depending on widgets, and tests can
// answer without a screen.

enum class Icon { None, Information, Warning, Critical, Question };
enum class Buttons { OK, OKCancel, YesNo, YesNoCancel, RetryCancel, AbortRetryIgnore };
enum class Answer { OK, Cancel, Yes, No, Retry, Abort, Ignore };

// The title shown when a message gives none of its own.
inline const QString kProgramTitle = QStringLiteral("Tolmar Advanced");

struct Message {
    QString text;          // lines joined by "\r\n"
    Buttons buttons = Buttons::OK;
    Icon icon = Icon::None;
    Answer defaultButton = Answer::OK;
    QString title = kProgramTitle;
};

struct FileDialog {
    enum class Kind { Open, Save };
    Kind kind = Kind::Open;
    QString title;
    QString folder;        // initial folder
    QString fileName;      // proposed name
    QString filter;        // "Tolmar Rude files (*.tlm);;All Files (*)"
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer ask(const Message& message) = 0;
    // The chosen path, or "" when the user cancels.
    virtual QString chooseFile(const FileDialog& dialog) = 0;
};

// The installed prompter. Before one is installed a silent one answers every message with its
// default button and every file dialog with "" (cancel).
Prompter& prompter();
// Installs p (not owned); nullptr restores the silent one. Returns the previous one.
Prompter* setPrompter(Prompter* p);

// Shorthand for prompter().ask(...).
Answer MsgBox(const QString& text, Buttons buttons = Buttons::OK, Icon icon = Icon::None,
              Answer defaultButton = Answer::OK, const QString& title = kProgramTitle);

// Joins the lines of one message as the program always does ("\r\n").
QString Lines(const QStringList& lines);

} // namespace ui
