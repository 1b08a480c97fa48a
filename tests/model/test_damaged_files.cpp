// Data files damaged on disk, or written by something other than this program, must never
// crash the program: a file is either refused untouched, or it opens and every figure of the
// comparison either computes or fails with an error the program can show.

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "platform/dao/dao.h"
#include "platform/ui/scriptedprompter.h"
#include "support/analysis_builder.h"

#include <QCryptographicHash>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray Digest(const QString& path)
{
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return QCryptographicHash::hash(f.readAll(), QCryptographicHash::Sha256);
}

class DamagedFiles : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        sDir = new QTemporaryDir;
        sAnalysis = sDir->filePath(QStringLiteral("analysis.tlm"));
        ui::ScriptedPrompter prompter;
        QString error;
        ASSERT_TRUE(testsupport::CreateAnalysisFile(core::JoinPath(core::AppPath(), QStringLiteral("TLM.new")),
                                                    sAnalysis, testsupport::kSmallAnalysis, &error))
            << error.toStdString();
    }
    static void TearDownTestSuite() { delete sDir; }

    QString copy(const QString& name)
    {
        const QString path = sDir->filePath(name);
        QFile::remove(path);
        QFile::copy(sAnalysis, path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        return path;
    }

    // Opens the file as the program would and computes the comparison. Returns whether it
    // opened; a refused file must be left as it was.
    static bool OpenAndCompute(const QString& path)
    {
        ui::ScriptedPrompter prompter;   // answers every question with its default
        testsupport::ClearModelCaches();
        const QByteArray before = Digest(path);
        if (!core::OpenDatafile(path)) {
            EXPECT_EQ(Digest(path), before) << "a refused file was changed";
            return false;
        }
        try {
            testsupport::ComputeMatrix();
        } catch (const std::exception&) {
            // A clear error is fine: the program shows it and carries on.
        }
        testsupport::ClearModelCaches();
        core::CloseDatafile();
        return true;
    }

    static QTemporaryDir* sDir;
    static QString sAnalysis;
};

QTemporaryDir* DamagedFiles::sDir = nullptr;
QString DamagedFiles::sAnalysis;

TEST_F(DamagedFiles, StrangeValuesInAnyColumnNeverCrashTheComparison)
{
    const char* const tables[] = {"Items", "Objectives", "Scores", "Outcomes", "OutcomeFMZs", "ItemImpacts",
                                  "ValuesAtRisk", "ValuesProtected", "SRTypes", "SRUses", "FMZList",
                                  "NVCPerAcre", "SuppressionPerAcreCost", "Properties"};
    // Values another program could have left: nothing, text, out of range, negative, huge,
    // beyond any field's range, infinite and not a number.
    const QVariant values[] = {QVariant(), QStringLiteral("abc"), 0, -1, 1e12, 2147483647,
                               1e300, -1e300, QStringLiteral("inf"), QStringLiteral("-inf"),
                               QStringLiteral("nan"), 1e39, 9223372036854775808.0 /* 2^63 */};
    int opened = 0;
    for (const char* table : tables) {
        QStringList fields;
        {
            auto db = dao::Database::Open(sAnalysis, {false, true});
            for (const auto& f : db->Fields(table))
                fields << f.name;
        }
        for (const QString& field : fields) {
            for (const QVariant& value : values) {
                SCOPED_TRACE(QStringLiteral("%1.%2 = %3").arg(table, field, value.toString()).toStdString());
                const QString path = copy(QStringLiteral("values.tlm"));
                try {
                    // Written past the engine's type checks, as a foreign program would.
                    auto db = dao::Database::Open(path);
                    db->Execute(QStringLiteral("UPDATE \"%1\" SET \"%2\" = ?").arg(table, field), {value});
                } catch (const dao::Error&) {
                    continue;   // a key no file can hold (a null or repeated key)
                }
                opened += OpenAndCompute(path);
            }
        }
    }
    EXPECT_GT(opened, 0);
}

TEST_F(DamagedFiles, MissingTablesAndRowsNeverCrashTheComparison)
{
    const char* const statements[] = {
        "DROP TABLE Scores", "DROP TABLE OutcomeFMZs", "DROP TABLE SRUses", "DROP TABLE ValuesProtected",
        "DROP TABLE NVCPerAcre", "DROP TABLE SuppressionPerAcreCost", "DROP TABLE ItemImpacts",
        "DELETE FROM Outcomes WHERE ParentKey = 0", "DELETE FROM Objectives WHERE \"Key\" <= 2",
        "DELETE FROM Items", "DELETE FROM FMZList", "DELETE FROM SRTypes",
        "UPDATE Objectives SET ChildKey = \"Key\", SiblingKey = \"Key\"",
        "UPDATE Outcomes SET ParentKey = ItemKey",
    };
    for (const char* sql : statements) {
        SCOPED_TRACE(sql);
        const QString path = copy(QStringLiteral("rows.tlm"));
        {
            auto db = dao::Database::Open(path);
            db->Execute(QString::fromLatin1(sql));
        }
        OpenAndCompute(path);
    }
}

TEST_F(DamagedFiles, DamagedBytesAreRefusedUntouchedOrComputeWithoutACrash)
{
    QFile original(sAnalysis);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray clean = original.readAll();
    ASSERT_GT(clean.size(), 4096);
    for (quint32 seed = 1; seed <= 60; ++seed) {
        SCOPED_TRACE(seed);
        QRandomGenerator random(seed);
        QByteArray bytes = clean;
        // A few damaged bytes past the header, or a file cut short.
        if (seed % 10 == 0) {
            bytes.truncate(int(random.bounded(100, int(bytes.size()))));
        } else {
            for (int i = 0; i < 8; ++i)
                bytes[int(random.bounded(100, int(bytes.size())))] = char(random.bounded(256));
        }
        const QString path = copy(QStringLiteral("bytes.tlm"));
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        f.close();
        OpenAndCompute(path);
    }
}

} // namespace
