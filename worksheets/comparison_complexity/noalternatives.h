#pragma once

#include <QString>

namespace worksheets::comparison_complexity {

// What the comparison worksheets show in place of their figures while the analysis has no
// alternative to compare.
inline QString NoAlternativesText()
{
    return QStringLiteral("There are no alternatives to compare yet.  Enter them on the Identify Alternatives "
                          "worksheet of the Alternatives section.");
}

} // namespace worksheets::comparison_complexity
