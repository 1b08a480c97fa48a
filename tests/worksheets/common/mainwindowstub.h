#pragma once

// A main window for the worksheet frame's tests: a plain widget to centre over and parent to,
// and a count of the worksheets it was asked to drop.

#include "worksheets/common/worksheetform.h"

#include <QWidget>

class MainWindowStub : public worksheets::MainWindowHooks {
public:
    QWidget window;
    int drops = 0;
    QWidget* mainWindow() override { return &window; }
    QWidget* worksheetParent() override { return &window; }
    void FitWorksheetForm(QWidget*) override {}
    void SetTitleBar(const QString&) override {}
    void EnableEditMenu() override {}
    void DisableEditMenu() override {}
    void SectionMenu_Check(int) override {}
    void WorksheetMenu_Check(int) override {}
    void DropWorksheet() override { ++drops; }
};
