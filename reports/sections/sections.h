#pragma once

#include <QList>
#include <QString>

namespace core {
class c0Item;
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

}  // namespace reports::sections
