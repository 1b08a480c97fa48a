#pragma once

#include "platform/dao/rowreader.h"

#include <QList>
#include <QString>
#include <QVariant>

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

// Values of a query's row taken by column position, converted as the null-safe field readers
// convert a field (Null reads as "" or 0). Lists that read all their rows with one query use
// these instead of looking each field up by name on every row.
namespace model::rowvalue {

inline QString Text(const QVariant& v) { return v.isNull() ? QString() : v.toString(); }

// Fractions half to even, whatever the floating-point rounding mode; out of range clamped.
inline int Long(const QVariant& v)
{
    if (v.isNull())
        return 0;
    if (v.typeId() == QMetaType::Int)
        return v.toInt();
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return 0;
    double r = std::floor(d);
    const double fraction = d - r;   // exact
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    if (r >= double(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (r <= double(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return int(r);
}

inline float Single(const QVariant& v)
{
    if (v.isNull())
        return 0.0f;
    bool ok = false;
    const float f = v.toFloat(&ok);
    return ok ? f : 0.0f;
}

// The same conversions of a reader's field, taking a whole number or a Single straight from the
// row when it holds one.
inline QString Text(const dao::RowReader& row, int col) { return Text(row.Value(col)); }

inline int Long(const dao::RowReader& row, int col)
{
    if (const std::optional<int> whole = row.Whole(col))
        return *whole;
    return Long(row.Value(col));
}

inline float Single(const dao::RowReader& row, int col)
{
    if (const std::optional<float> single = row.Single(col))
        return *single;
    // A whole number converts to float as QVariant converts it.
    if (const std::optional<int> whole = row.Whole(col))
        return float(*whole);
    return Single(row.Value(col));
}

// The rows an FMU keeps numbered 1..count (NVC resources, cost brackets), as a seek for each
// number finds them: the rows come ordered by number and row, and only the first row of a number
// counts. each(row) is called once for every number found.
template <class Row, class Each>
void ForEachNumberedRow(const QList<Row>& rows, int count, Each each)
{
    std::vector<bool> seen(size_t(std::max(count, 0)));
    for (const Row& row : rows) {
        if (row.number < 1 || row.number > count || seen[size_t(row.number - 1)])
            continue;
        seen[size_t(row.number - 1)] = true;
        each(row);
    }
}

} // namespace model::rowvalue
