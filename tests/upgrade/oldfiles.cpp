#include "oldfiles.h"

#include "core/u13folders.h"
#include "support/fixturefiles.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace testing_upgrade {

QString WriteOldFile(const QString& dir, const QString& format, const QString& name,
                     const QStringList& extraStatements)
{
    const QString path = QDir(dir).filePath(name.isEmpty() ? QStringLiteral("Old %1.tlm").arg(format) : name);
    return testsupport::WriteScriptedDatabase(
        path, {QStringLiteral("tests/fixtures/common-tables.sql"), QStringLiteral("tests/fixtures/format-%1.sql").arg(format)},
        extraStatements);
}

QByteArray FileBytes(const QString& path) { return testsupport::FileBytes(path); }

QString TemplatePath()
{
    return core::JoinPath(core::AppPath(), QStringLiteral("TLM.new"));
}

} // namespace testing_upgrade
