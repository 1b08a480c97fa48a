#pragma once

#include <QString>

namespace reports {

// True only while a report is produced for an RTF file.
extern bool bRTFExport;

// The number of sections chosen for the run; the report worksheet sets it when it counts them.
int SelectedSectionCount();
void SetSelectedSectionCount(int count);

QString GetRtfFileName();
// The PDF file the print dialog proposes when it prints to a file: the data file's name in the
// user's documents folder.
QString PrintFileName();
void SetPageHeaderFooter();
void PrintSectionTitle(const QString& title);
// Prints text centred between two rules at the top margin and returns where the lower rule
// stands: 250 twips below the upper one, further for a title that wraps.
int PrintSubTitle(const QString& text);
QString GetReportFontName();
int GetUsableWidth();
int MaxLong(int a, int b);
void RtfLineShape(int x1, int y1, int x2, int y2);
// The drawing object RtfLineShape inserts for a line in the given pen colour (0xBBGGRR) and width.
QString RtfLineShapeText(int x1, int y1, int x2, int y2, int penColor, int penWidth);

}  // namespace reports
