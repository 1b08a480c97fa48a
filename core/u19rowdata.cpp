#include "core/u19rowdata.h"

#include "core/u92utilities.h"

#include <cmath>

namespace core {

namespace {

// The field of the current row, or a null value where there is no row to read.
QVariant ReadField(const dao::Recordset& rs, const QString& field)
{
    if (rs.NoMatch())
        return {};
    try {
        return rs.Field(field);
    } catch (const dao::Error& e) {
        if (e.kind() == dao::Error::Kind::NoCurrentRecord)
            return {};
        throw;
    }
}

} // namespace

QString GetFieldText(const dao::Recordset& rs, const QString& field)
{
    const QVariant v = ReadField(rs, field);
    return v.isNull() ? QString() : v.toString();
}

int GetFieldLong(const dao::Recordset& rs, const QString& field)
{
    const QVariant v = ReadField(rs, field);
    if (v.isNull())
        return 0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return 0;
    return RoundHalfEven(d);
}

float GetFieldSingle(const dao::Recordset& rs, const QString& field)
{
    const QVariant v = ReadField(rs, field);
    if (v.isNull())
        return 0.0f;
    bool ok = false;
    const float f = v.toFloat(&ok);
    return ok ? f : 0.0f;
}

double GetFieldDouble(const dao::Recordset& rs, const QString& field)
{
    const QVariant v = ReadField(rs, field);
    if (v.isNull())
        return 0.0;
    bool ok = false;
    const double d = v.toDouble(&ok);
    return ok && std::isfinite(d) ? d : 0.0;
}

} // namespace core
