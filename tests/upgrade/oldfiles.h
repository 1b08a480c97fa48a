#pragma once

// Data files of the older formats, written for each test from the scripts in tests/fixtures.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace testing_upgrade {

// Writes <dir>/<name> from common-tables.sql and format-<format>.sql, then runs the extra
// statements (to damage the file); returns its path. Fails the test when a script is missing.
QString WriteOldFile(const QString& dir, const QString& format, const QString& name = QString(),
                     const QStringList& extraStatements = {});

QByteArray FileBytes(const QString& path);

// The template of new files in the program folder.
QString TemplatePath();

} // namespace testing_upgrade
