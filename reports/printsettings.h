#pragma once

#include "platform/printing/reportpage.h"

#include <QList>
#include <QString>

#include <optional>

namespace reports {

// One saved layout of the report document.
struct PrintSettingsRecord {
    int TopMargin = 0;
    int LeftMargin = 0;
    int RightMargin = 0;
    int BottomMargin = 0;
    int LayoutMode = 0;
    printing::Align TextAlign = printing::Align::Left;
    int IndentLeft = 0;
    int IndentSecond = 0;
    int IndentThird = 0;
    QString FontName;
    std::optional<float> FontSize;
    bool FontBold = false;
    bool FontItalic = false;
};

// Empties the stack to its one base element; called at the start of every report run.
void PrintSet_Init();
void PushPrintSettings();
// Restores the last pushed layout. With nothing pushed it does nothing: the base element stays.
void PopPrintSettings();
const QList<PrintSettingsRecord>& PrintSettingsStack();

void DrawRule(int x1, int y1, int x2, int y2);

}  // namespace reports
