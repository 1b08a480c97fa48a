#include "prepfixture.h"

#include "support/fixturefiles.h"

namespace prepfixture {

QString WritePrepFile(const QString& dir, const QString& name, const QStringList& extraStatements)
{
    return testsupport::WriteScriptedDatabase(
        QDir(dir).filePath(name), {"data/prep/prepfile-tables.sql", "tests/fixtures/prep-unit.sql"}, extraStatements);
}

QString SetFormat(const QString& format)
{
    return QStringLiteral("UPDATE Properties SET Value = '%1' WHERE Property = 'DataFormatID'").arg(format);
}

} // namespace prepfixture
