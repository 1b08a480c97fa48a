#pragma once

#include <QList>
#include <QString>

namespace core {
class c0Item;
}
namespace model {
class c53Outcome;
}

// The entry procedures of the nineteen report sections, each in a file of its own. The production
// loop reaches them through its dispatch table (reports/reportproduction.cpp): a new section is
// its file here plus its entry in that table.
namespace reports::sections {

void PrintSituation();            // 1
void PrintDecisionSummary();      // 2
void PrintSignaturePage();        // 3
void PrintValuesAtRisk();         // 4
void PrintRMObjectives();         // 5
void PrintObjectives();           // 6
void PrintSafetyIssues();         // 7
void PrintAlternatives();         // 8
void PrintCosts();                // 9
void PrintAACTables();            // 10
void PrintValuesProtected();      // 11
void PrintNVCImpacts();           // 12
void PrintImpactComputations();   // 13
void PrintNVCTables();            // 14
void PrintSafetyAssessment();     // 15
void PrintDecisionTree();         // 16
void PrintMatrix();               // 17
void PrintGraphs();               // 18
void PrintComplexity();           // 19

// Prints topics as the decision summary and the resource management objectives do: each heading
// in bold at the left, its narrative below, then an empty line; a topic that starts low on the
// page and would run past its foot starts a new page.
void PrintTopics(const QList<core::c0Item*>& topics);

// The page-break test before a topic of the decision summary and of the resource management
// objectives: a topic that starts low on the page and would run past the foot starts a new page
// with the topic layout.
void CheckTopicPageBreak(const QString& body);
// The layout of those topics: margins 1440 above, 2880 left, 1440 right; 11 points; at 1440.
void SetTopicLayout();

// The opening of a section that prints its table row by row: the settings saved, the running line,
// the title, then the rows from 1620 twips down with a right margin of 2160.
void StartRowTableSection(const QString& title);
// A row of the objectives or the safety tree: a category bold with a rule above and more room, any
// other node indented by three blanks, its name cell closed and the given cells after it.
void PrintTreeRow(bool category, const QString& name, const QString& cells = QString());
// A description below its row, indented an inch; an empty line after it when asked.
void PrintIndentedParagraph(const QString& text, bool emptyLineAfter = false);

// Prints a one-row table string (format, then the header cells) as a header row: 8 points, bold,
// no rules, shaded; leaves the font at 10 points, not bold.
void SetTableHeaderStyle(const QString& header);

// The page-break test before a table row that has a description below it: once the row lies below
// 12000 twips, a description whose bottom plus the allowance would pass the page foot starts a
// new page, on which the row goes at 1620 twips. The description is measured behind a row-number
// wide lead-in, as the rich text it is. True when a page was started.
bool BreakBeforeDescribedRow(const QString& description, int allowance);

// The band layout of the values-protected tables for a number of printed item lines: the tens
// digit is the number of tables a page, the units digit the body font size.
int ValuesProtectedLayoutCode(int itemLines);
int GetValuesProtectedLayout();

// The four facts of an outcome as the alternatives tables show them, label and value.
struct OutcomeFact {
    QString label;
    QString value;
};
QList<OutcomeFact> OutcomeFacts(int percent, const model::c53Outcome& outcome);

// The body of the alternatives section for an RTF file: three word-processor tables per
// alternative, as one RTF document.
QString BuildAlternativesRTF();

}  // namespace reports::sections
