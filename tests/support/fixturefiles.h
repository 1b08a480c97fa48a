#pragma once

// Files for test fixtures: databases written from the SQL scripts of the source tree (the test
// target defines TOLMAR_SOURCE_DIR_DEFAULT; TOLMAR_SOURCE_DIR, when set, takes its place), and
// the bytes of a file, to show that something left it as it was.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace testsupport {

// A script by its path in the source tree; fails the test when it is missing.
inline QString ReadSourceScript(const QString& relativePath)
{
    const QString root = qEnvironmentVariable("TOLMAR_SOURCE_DIR", QStringLiteral(TOLMAR_SOURCE_DIR_DEFAULT));
    QFile file(QDir(root).filePath(relativePath));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "missing fixture script " << file.fileName().toStdString();
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}

inline void RunScript(sqlite3* db, const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << "fixture script failed: " << (error ? error : "?") << "\n" << sql.left(200).toStdString();
        sqlite3_free(error);
    }
}

// Writes a new database at path from the scripts (source-tree paths), then the statements.
inline QString WriteScriptedDatabase(const QString& path, const QStringList& scripts, const QStringList& statements = {})
{
    QFile::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        ADD_FAILURE() << "cannot create " << path.toStdString();
        sqlite3_close(db);
        return path;
    }
    for (const QString& script : scripts)
        RunScript(db, ReadSourceScript(script));
    for (const QString& statement : statements)
        RunScript(db, statement);
    sqlite3_close(db);
    return path;
}

// The whole file; empty when it cannot be read.
inline QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace testsupport
