#pragma once

#include "platform/ui/prompter.h"

#include <QList>
#include <deque>

namespace ui {

// A prompter for tests: records every question and gives scripted answers in order.
// When the script runs out, a message gets its default button and a file dialog gets "".
// Installed for the lifetime of the object.
class ScriptedPrompter : public Prompter {
public:
    ScriptedPrompter();
    ~ScriptedPrompter() override;

    void answer(Answer a) { mAnswers.push_back(a); }
    void file(const QString& path) { mFiles.push_back(path); }

    Answer ask(const Message& message) override;
    QString chooseFile(const FileDialog& dialog) override;

    const QList<Message>& messages() const { return mMessages; }
    const QList<FileDialog>& dialogs() const { return mDialogs; }
    void clear() { mMessages.clear(); mDialogs.clear(); mAnswers.clear(); mFiles.clear(); }

private:
    std::deque<Answer> mAnswers;
    std::deque<QString> mFiles;
    QList<Message> mMessages;
    QList<FileDialog> mDialogs;
    Prompter* mPrevious = nullptr;
};

} // namespace ui
