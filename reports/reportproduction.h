#pragma once

#include "platform/printing/reportdocument.h"

#include <QSize>
#include <QString>

#include <array>

namespace ui {
class Printer;
}

namespace reports {

constexpr int kSectionCount = 19;

// How the bar charts of the comparison graphs fill their bars on paper and in the preview.
enum class GraphColors { BWPatterns, ColoredPatterns, Solid };

// The choice of one report: element i is true when section i is chosen (element 0 is unused).
// It belongs to the run, not to the worksheet, so that the preview can produce the same report
// again after the worksheet has been left.
struct ReportSelection {
    std::array<bool, kSectionCount + 1> sections{};
    int count = 0;
    GraphColors graphColors = GraphColors::ColoredPatterns;
};

// The check-box caption of section 1 to 19; "" for any other index.
QString SectionCaption(int index);

// The choice that the next run produces; setting it counts the chosen sections and sets
// SelectedSectionCount.
const ReportSelection& LastSelection();
void SetLastSelection(const ReportSelection& selection);
// The graph colour option of the run (solid colours during an RTF export).
GraphColors GraphColorOption();

// Runs the entry procedure of section 1 to 19; any other index does nothing. A section that is
// not part of this version prints one line saying so.
void PrintSection(int index);

// The production loop: a new document for the given output, the chosen sections in index order
// with a new page between two of them, then the end of the document (which writes the file or
// sends the pages to the printer).
bool ProduceSelectedSections(printing::Output output, const QString& fileName = QString());

// One report run with the last choice: the print dialog before a print run (a cancel ends the
// run with nothing produced), the hourglass, the RTF flag during an RTF export, the page size of
// the printer. A second run while one is under way is refused with a message; a run that
// fails part way tells the user and writes and prints nothing. True when the output was made.
bool RunReport(printing::Output output, const QString& fileName = QString());
bool ReportRunning();
// While a run is under way: tells the user that it is and returns true.
bool RefusedWhileRunning();

// The page the report is laid out on: the paper of the printer chosen in Printer Setup, turned as
// it is set there; US Letter upright when no printer is installed.
QSize ReportPageSize();
QSize PageSizeOf(const ui::Printer& printer);

}  // namespace reports
