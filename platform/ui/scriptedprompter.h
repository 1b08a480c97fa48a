#pragma once

#include "platform/ui/prompter.h"

#include <QList>
#include <deque>

namespace ui {

// A prompter for tests: records every question and gives scripted answers in order.
// When the script runs out, a message gets its default button, a file dialog "" and a print
// dialog a cancel.
// Installed for the lifetime of the object.
class ScriptedPrompter : public Prompter {
public:
    ScriptedPrompter();
    ~ScriptedPrompter() override;

    void answer(Answer a) { mAnswers.push_back(a); }
    void file(const QString& path) { mFiles.push_back(path); }
    // The next print dialog is accepted, printing to that PDF file ("" keeps the printer chosen).
    void printTo(const QString& pdfFile) { mPrints.push_back({true, pdfFile}); }

    Answer ask(const Message& message) override;
    QString chooseFile(const FileDialog& dialog) override;
    PrintChoice choosePrinter(const PrintDialog& dialog) override;

    const QList<Message>& messages() const { return mMessages; }
    const QList<FileDialog>& dialogs() const { return mDialogs; }
    const QList<PrintDialog>& printDialogs() const { return mPrintDialogs; }
    void clear()
    {
        mMessages.clear();
        mDialogs.clear();
        mPrintDialogs.clear();
        mAnswers.clear();
        mFiles.clear();
        mPrints.clear();
    }

private:
    std::deque<Answer> mAnswers;
    std::deque<QString> mFiles;
    std::deque<PrintChoice> mPrints;
    QList<Message> mMessages;
    QList<FileDialog> mDialogs;
    QList<PrintDialog> mPrintDialogs;
    Prompter* mPrevious = nullptr;
};

} // namespace ui
