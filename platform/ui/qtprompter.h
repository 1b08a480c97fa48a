#pragma once

#include "platform/ui/prompter.h"

class QWidget;

namespace ui {

// The prompter of the running program: message boxes, file and print dialogs on screen.
class QtPrompter : public Prompter {
public:
    // parent: the window the boxes are modal to (may be null, or change later).
    explicit QtPrompter(QWidget* parent = nullptr) : mParent(parent) {}
    void setParent(QWidget* parent) { mParent = parent; }

    Answer ask(const Message& message) override;
    QString chooseFile(const FileDialog& dialog) override;
    PrintChoice choosePrinter(const PrintDialog& dialog) override;

private:
    QWidget* mParent;
    QString mLastFolder;
};

// The first "*.ext" of a filter, without "*." ("tlm" for "Tolmar Rude files (*.tlm);;All Files (*)").
QString DefaultSuffix(const QString& filter);

} // namespace ui
