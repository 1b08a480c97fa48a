#pragma once

#include "model/g51alternatives.h"
#include "platform/grid/numberformat.h"
#include "reports/frmpreview.h"

#include <algorithm>

// What the comparison sections share: alternatives side by side in groups of up to three a page,
// money and scores as they print them.
namespace reports::sections {

// Calls print(first, last) for alternatives 1 to 3, 4 to 6, ... (1-based), starting a new page
// after every group but the last. The count is read afresh for each group.
template <typename PrintGroup>
void ForEachGroupOfThree(PrintGroup print)
{
    for (int first = 1; first <= model::GetAlternatives().Count(); first += 3) {
        const int n = model::GetAlternatives().Count();
        const int last = std::min(first + 2, n);
        print(first, last);
        if (last < n)
            VSPrinter1().NewPage();
    }
}

inline QString Money(double value)
{
    return grid::FormatNumber(value, QStringLiteral("$#,0"));
}

inline QString Score(double value)
{
    return grid::FormatNumber(value, QStringLiteral("0.0"));
}

}  // namespace reports::sections
