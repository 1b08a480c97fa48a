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

// The platform's print dialog over the printer the program prints to (printersetup.h): a
// printer, or printing to a PDF file, and the paper.
struct PrintDialog {
    QString title;            // "Print", "Printer Setup"
    bool setupOnly = false;   // the choice is kept for later: nothing is printed on OK
    QString fileName;         // the PDF file proposed when the pages go to a file and none is named
};

struct PrintChoice {
    bool accepted = false;
    QString fileName;   // printing to a PDF file: its name; "" for a printer
};

class Prompter {
public:
    virtual ~Prompter() = default;
    virtual Answer ask(const Message& message) = 0;
    // The chosen path, or "" when the user cancels.
    virtual QString chooseFile(const FileDialog& dialog) = 0;
    // Where to print. A prompter with no dialog to show answers as a cancel.
    virtual PrintChoice choosePrinter(const PrintDialog& dialog)
    {
        (void)dialog;
        return {};
    }
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
