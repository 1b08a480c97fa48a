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

Answer ScriptedPrompter::ask(const Message& message)
{
    mMessages.append(message);
    if (mAnswers.empty())
        return message.defaultButton;
    Answer a = mAnswers.front();
    mAnswers.pop_front();
    return a;
}

QString ScriptedPrompter::chooseFile(const FileDialog& dialog)
{
    mDialogs.append(dialog);
    if (mFiles.empty())
        return {};
    QString f = mFiles.front();
    mFiles.pop_front();
    return f;
}

PrintChoice ScriptedPrompter::choosePrinter(const PrintDialog& dialog)
{
    mPrintDialogs.append(dialog);
    if (mPrints.empty())
        return {};
    PrintChoice c = mPrints.front();
    mPrints.pop_front();
    return c;
}

} // namespace ui
