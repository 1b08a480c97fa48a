#include "oldfiles.h"

#include "core/u13folders.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace testing_upgrade {

namespace {

QString ReadScript(const QString& fileName)
{
    const QString root = qEnvironmentVariable("TOLMAR_SOURCE_DIR", QStringLiteral(TOLMAR_SOURCE_DIR_DEFAULT));
    QFile file(QDir(root).filePath(QStringLiteral("tests/fixtures/") + fileName));
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
        ADD_FAILURE() << "fixture script failed: " << (error ? error : "?");
        sqlite3_free(error);
    }
}

} // namespace

QString WriteOldFile(const QString& dir, const QString& format, const QString& name,
                     const QStringList& extraStatements)
{
    const QString path = QDir(dir).filePath(name.isEmpty() ? QStringLiteral("Old %1.tlm").arg(format) : name);
    QFile::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        ADD_FAILURE() << "cannot create " << path.toStdString();
        sqlite3_close(db);
        return path;
    }
    Run(db, ReadScript(QStringLiteral("common-tables.sql")));
    Run(db, ReadScript(QStringLiteral("format-%1.sql").arg(format)));
    for (const QString& statement : extraStatements)
        Run(db, statement);
    sqlite3_close(db);
    return path;
}

QByteArray FileBytes(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    return file.readAll();
}

QString TemplatePath()
{
    return core::JoinPath(core::AppPath(), QStringLiteral("TLM.new"));
}

} // namespace testing_upgrade
