#pragma once

// A program folder of its own for each test: a temporary folder holding a copy of the built
// template, a scripted prompter and a fixed clock for the logs.

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "core/u91trace.h"
#include "platform/ui/scriptedprompter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <optional>

namespace coretest {

inline QDateTime FixedNow()
{
    return QDateTime(QDate(2026, 7, 4), QTime(14, 5, 9));
}

inline QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Runs SQL on a file straight through SQLite, apart from the engine under test.
inline void Sql(const QString& path, const char* sql)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    char* err = nullptr;
    const int rc = sqlite3_exec(db, sql, nullptr, nullptr, &err);
    const std::string message = err ? err : "";
    sqlite3_free(err);
    sqlite3_close(db);
    ASSERT_EQ(rc, SQLITE_OK) << message;
}

inline QString SqlValue(const QString& path, const QString& sql)
{
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_stmt* st = nullptr;
    QString value = QStringLiteral("<none>");
    if (sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &st, nullptr) == SQLITE_OK && sqlite3_step(st) == SQLITE_ROW)
        value = sqlite3_column_type(st, 0) == SQLITE_NULL
                    ? QStringLiteral("<null>")
                    : QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 0)));
    sqlite3_finalize(st);
    sqlite3_close(db);
    return value;
}

class Sandbox : public ::testing::Test {
protected:
    static QString BuiltTemplate()
    {
        core::SetAppPath(QString());
        return core::JoinPath(core::AppPath(), QStringLiteral("TLM.new"));
    }

    void SetUp() override
    {
        ASSERT_TRUE(mDir.isValid());
        const QString built = BuiltTemplate();
        ASSERT_TRUE(QFileInfo::exists(built)) << built.toStdString();
        ASSERT_TRUE(QFile::copy(built, file(QStringLiteral("TLM.new"))));
        core::SetAppPath(mDir.path());
        core::SetTraceClock(FixedNow);
    }

    void TearDown() override
    {
        if (core::gDatabase())
            core::CloseDatafile();
        core::SetUpgrader(nullptr);
        core::SetTraceClock({});
        core::SetAppPath(QString());
    }

    QString file(const QString& name) const { return mDir.filePath(name); }

    // A data file made from the template, with the given format and edition rows (nullopt: no row).
    QString dataFile(const QString& name, std::optional<QString> format = QStringLiteral("06.01.01"),
                     std::optional<QString> edition = QStringLiteral("Advanced"))
    {
        const QString path = file(name);
        QFile::remove(path);
        EXPECT_TRUE(QFile::copy(file(QStringLiteral("TLM.new")), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        const auto put = [&](const char* key, const std::optional<QString>& value) {
            const QString sql = value ? QStringLiteral("UPDATE Properties SET Value = '%1' WHERE Property = '%2';").arg(*value, key)
                                      : QStringLiteral("DELETE FROM Properties WHERE Property = '%1';").arg(key);
            Sql(path, sql.toUtf8().constData());
        };
        put("DataFormatID", format);
        put("ProgramID", edition);
        return path;
    }

    QString log(const QString& name) const { return QString::fromUtf8(Bytes(file(name))); }

    ui::ScriptedPrompter prompter;

private:
    QTemporaryDir mDir;
};

} // namespace coretest
