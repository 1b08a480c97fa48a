#include "reports/sections/sectionnumbers.h"

#include "model/c34nvctable.h"
#include "model/c35aactable.h"
#include "model/c53outcome.h"
#include "model/g33fmus.h"
#include "model/textnumbers.h"
#include "platform/grid/numberformat.h"

namespace reports::sections {

namespace {

// A whole-number share: the product rounded half to even, then its hundredths with the
// remainder dropped.
QString WholeHundredths(double product)
{
    return QString::number(model::textnum::RoundHalfEven(product) / 100);
}

}  // namespace

double FireSizeNumber(const model::c53Outcome& outcome)
{
    return model::textnum::LeadingNumber(outcome.FireSize());
}

QString NextSizeText(float t)
{
    // The cost worksheet shows the same lower bounds; the report writes them with two decimals.
    const QString next = model::NextFromText(t);
    if (next.isEmpty())
        return QString();
    return grid::FormatNumber(next.toDouble(), QStringLiteral("#,0.00"));
}

ImpactCells FMUImpactCells(float fmuPercent, int filPercent, double fireSize, float nvcPerAcre)
{
    const double share = double(fmuPercent) * filPercent;
    return {WholeHundredths(share), grid::FormatNumber(share * fireSize / 10000.0, QStringLiteral("0")),
            grid::FormatNumber(double(nvcPerAcre) * share * fireSize / 10000.0, QStringLiteral("0"))};
}

ImpactCells WholeFireImpactCells(int filPercent, double fireSize, float nvcPerAcre)
{
    return {QString::number(filPercent), WholeHundredths(fireSize * filPercent),
            grid::FormatNumber(double(nvcPerAcre) * filPercent * fireSize / 100.0, QStringLiteral("0"))};
}

int GetImpactTableLayout()
{
    int k = 0;
    for (int r = 1; r <= model::kNVCResourceCount; ++r)
        if (model::AnyFMUResourceValue(r))
            ++k;
    if (k == 14)
        return 38;
    if (k >= 11)
        return 39;
    if (k >= 9)
        return 48;
    return 49;
}

}  // namespace reports::sections
