#pragma once

// Prep files for the tests, written from the scripts of data/prep and tests/fixtures, and a
// data file open beside a costs folder that holds them.

#include "core/g0items.h"
#include "core/u13folders.h"
#include "model/g33fmus.h"
#include "model/g38srtypes.h"
#include "model/g51alternatives.h"
#include "support/datafile_fixture.h"
#include "support/fixturefiles.h"

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QStringList>

namespace prepfixture {

// Writes <dir>/<name>: the Prep tables, the small unit of tests/fixtures/prep-unit.sql, then
// the extra statements. Fails the test when a script does not run.
inline QString WritePrepFile(const QString& dir, const QString& name, const QStringList& extraStatements = {})
{
    return testsupport::WriteScriptedDatabase(
        QDir(dir).filePath(name), {"data/prep/prepfile-tables.sql", "tests/fixtures/prep-unit.sql"}, extraStatements);
}

// The statement that relabels a fixture's format.
inline QString SetFormat(const QString& format)
{
    return QStringLiteral("UPDATE Properties SET Value = '%1' WHERE Property = 'DataFormatID'").arg(format);
}

} // namespace prepfixture

// A data file open as in DatafileFixture, with the program folder moved to its temporary
// folder so that the costs folder is <temp>/Costs.
class PrepFixture : public DatafileFixture {
protected:
    void SetUp() override
    {
        DatafileFixture::SetUp();
        ClearCaches();
        core::SetAppPath(tempDir());
        ASSERT_TRUE(QDir(tempDir()).mkpath(QStringLiteral("Costs")));
    }
    void TearDown() override
    {
        ClearCaches();
        DatafileFixture::TearDown();
        core::SetAppPath(QString());
    }

    // Nothing of one test's file is carried into the next.
    static void ClearCaches()
    {
        model::ClearFMUs();
        model::ClearSRTypes();
        model::ClearAlternatives();
        core::ClearItems();
    }

    QString costs() const { return core::JoinPath(tempDir(), QStringLiteral("Costs")); }
    QString writePrep(const QString& name, const QStringList& extra = {})
    {
        return prepfixture::WritePrepFile(costs(), name, extra);
    }
};
