#include "core/u14properties.h"

#include "core/u11datafile.h"
#include "core/u19rowdata.h"
#include "core/u91trace.h"

namespace core {

namespace {
const QString kValue = QStringLiteral("Value");
} // namespace

QString Property_Get(const QString& key)
{
    dao::Recordset* rs = gProperties();
    if (!rs)
        return {};
    rs->Seek(key);
    return GetFieldText(*rs, kValue);
}

QString Property_GetOrAdd(const QString& key, const QString& defaultValue)
{
    dao::Recordset* rs = gProperties();
    if (!rs)
        return {};
    rs->Seek(key);
    if (!rs->NoMatch())
        return GetFieldText(*rs, kValue);
    rs->AddNew();
    rs->SetField(QStringLiteral("Property"), key);
    rs->SetField(kValue, defaultValue);
    rs->Update();
    return defaultValue;
}

void Property_Set(const QString& key, const QString& value)
{
    dao::Recordset* rs = gProperties();
    // The edition is written while the file is still being opened.
    if (!rs || (key != QLatin1String("ProgramID") && !gFileOpen())) {
        TraceError(QStringLiteral("Property_Set: No database loaded"));
        return;
    }
    rs->Seek(key);
    if (rs->NoMatch()) {
        rs->AddNew();
        rs->SetField(QStringLiteral("Property"), key);
        rs->SetField(kValue, value);
        rs->Update();
        return;
    }
    if (GetFieldText(*rs, kValue) == value)
        return;
    rs->Edit();
    rs->SetField(kValue, value);
    rs->Update();
}

} // namespace core
