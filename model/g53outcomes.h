#pragma once

#include "model/c53outcome.h"
#include "model/outcomekind.h"

#include <QList>
#include <QString>

#include <memory>

// Outcomes as a whole: the shared Extreme outcome, the rows of a new alternative, short
// labels, and the rows and cell texts of the outcome grids.
namespace model {

std::shared_ptr<c53Outcome> GetExtremeOutcome();
void ClearExtremeOutcome();
// The Target and Fallback of a new alternative; outcomes a damaged file kept under its key go first.
void AddOutcomes(int altKey);
int AddOutcomeRecord(int altKey, int idx);
void AddOutcomeFMUs(int outcomeKey);
// "Tgt", "FB", "Ex"; "" for a number that names no outcome.
QString OutcomeShortLabel(OutcomeKind kind);

// Column layout of the outcome grids: "Outcomes" over columns 0 and 1 (one merged header),
// then "Acres", then "Contain" and "Control". Widths in twips.
enum class OutcomeGridKind { Outcomes, Acres, Times };
struct OutcomeGridColumn {
    QString header;
    int widthTwips;
    bool leftAligned;   // column 0; every other column is centred
};
QList<OutcomeGridColumn> OutcomeGridColumns(OutcomeGridKind kind);

// One row of an outcome grid: column 0 and column 1 texts and the outcome it shows.
struct OutcomeRow {
    QString label;        // the alternative's Label; the Extreme outcome's ShortName
    QString shortName;    // the outcome's ShortName
    std::shared_ptr<c53Outcome> outcome;
    bool extreme = false; // the Extreme row is shown merged and centred
};
// Target of every alternative, then its Fallback when shown.
QList<OutcomeRow> AlternativeOutcomeRows();
// AlternativeOutcomeRows, then the Extreme outcome.
QList<OutcomeRow> OutcomeRows();

// Cell texts of the outcome grid columns.
QString OutcomeAcresText(const c53Outcome& o);          // " 9999 ", " 10,000 "
QString OutcomeContainText(const c53Outcome& o);        // "0"
QString OutcomeControlText(const c53Outcome& o);        // " 0 "
QString OutcomeImpactPerAcreText(c53Outcome& o);        // " #,0"
QString OutcomeNVCLossText(c53Outcome& o);              // negated NVCLoss, "#,0"
QString OutcomeCostPerAcreText(c53Outcome& o);          // "#,0"
QString OutcomeCostBySizeText(c53Outcome& o);           // "#,0"

} // namespace model
