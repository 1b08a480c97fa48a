#include "platform/ui/prompter.h"
#include "platform/ui/scriptedprompter.h"

namespace ui {

namespace {
class SilentPrompter : public Prompter {
public:
    Answer ask(const Message& message) override { return message.defaultButton; }
    QString chooseFile(const FileDialog&) override { return {}; }
};

SilentPrompter gSilent;
Prompter* gPrompter = &gSilent;
} // namespace

Prompter& prompter() { return *gPrompter; }

Prompter* setPrompter(Prompter* p)
{
    Prompter* previous = gPrompter;
    gPrompter = p ? p : &gSilent;
    return previous;
}

Answer MsgBox(const QString& text, Buttons buttons, Icon icon, Answer defaultButton, const QString& title)
{
    return prompter().ask(Message{text, buttons, icon, defaultButton, title.isEmpty() ? kProgramTitle : title});
}

QString Lines(const QStringList& lines) { return lines.join(QStringLiteral("\r\n")); }

ScriptedPrompter::ScriptedPrompter() { mPrevious = setPrompter(this); }
ScriptedPrompter::~ScriptedPrompter() { setPrompter(mPrevious); }

namespace {
// The next scripted answer, or otherwise when the script has run out.
template <class T> T Next(std::deque<T>& script, T otherwise)
{
    if (script.empty())
        return otherwise;
    T next = std::move(script.front());
    script.pop_front();
    return next;
}
} // namespace

Answer ScriptedPrompter::ask(const Message& message)
{
    mMessages.append(message);
    return Next(mAnswers, message.defaultButton);
}

QString ScriptedPrompter::chooseFile(const FileDialog& dialog)
{
    mDialogs.append(dialog);
    return Next(mFiles, QString());
}

PrintChoice ScriptedPrompter::choosePrinter(const PrintDialog& dialog)
{
    mPrintDialogs.append(dialog);
    return Next(mPrints, PrintChoice());
}

} // namespace ui
