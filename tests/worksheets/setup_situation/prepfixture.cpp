#include "prepfixture.h"

#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace prepfixture {

namespace {

QString ReadScript(const QString& relativePath)
{
    const QString root = qEnvironmentVariable("TOLMAR_SOURCE_DIR", QStringLiteral(TOLMAR_SOURCE_DIR_DEFAULT));
    QFile file(QDir(root).filePath(relativePath));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "missing fixture script " << file.fileName().toStdString();
        return QString();
    }
    return QString::fromUtf8(file.readAll());
}

void Run(sqlite3* db, const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << "fixture script failed: " << (error ? error : "?") << "\n" << sql.left(200).toStdString();
        sqlite3_free(error);
    }
}

} // namespace

QString WritePrepFile(const QString& dir, const QString& name, const QStringList& extraStatements)
{
    const QString path = QDir(dir).filePath(name);
    QFile::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        ADD_FAILURE() << "cannot create " << path.toStdString();
        sqlite3_close(db);
        return path;
    }
    Run(db, ReadScript(QStringLiteral("data/prep/prepfile-tables.sql")));
    Run(db, ReadScript(QStringLiteral("tests/fixtures/prep-unit.sql")));
    for (const QString& statement : extraStatements)
        Run(db, statement);
    sqlite3_close(db);
    return path;
}

QString SetFormat(const QString& format)
{
    return QStringLiteral("UPDATE Properties SET Value = '%1' WHERE Property = 'DataFormatID'").arg(format);
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

} // namespace prepfixture
