#pragma once

#include <QString>

namespace model {
class c53Outcome;
}

// The numbers of the cost and NVC sections that are worked out before they are printed.
namespace reports::sections {

// The fire size the cost and NVC tables compute with: the leading number of the outcome's fire
// size text, 0 when the text has none. A size that cannot be read never stops a report.
double FireSizeNumber(const model::c53Outcome& outcome);

// The "From" text of the size class that follows one whose top size is t: "" when t is 0 or
// less or 9,999,999 or more; else the next size up, with two decimals ("0.26", "1.00", "5.10",
// "10.00", "1,501.00").
QString NextSizeText(float t);

// The "%", "Acres" and "Impact" cells of one FIL row of an outcome in the computation of NVC.
struct ImpactCells {
    QString percent;
    QString acres;
    QString impact;
};
// In an FMU: the FMU's share of the fire fmuPercent, the FIL's share within it filPercent, the
// fire size and the FIL's NVC per acre.
ImpactCells FMUImpactCells(float fmuPercent, int filPercent, double fireSize, float nvcPerAcre);
// The whole fire, without FMUs.
ImpactCells WholeFireImpactCells(int filPercent, double fireSize, float nvcPerAcre);

// How the estimated loss lays out its tables, from the number of resources with NVC values: a
// two-digit code, tables per page then the font size of the resource rows (38, 39, 48 or 49).
int GetImpactTableLayout();

}  // namespace reports::sections
