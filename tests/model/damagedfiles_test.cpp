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
#include <QMap>
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

    // What became of one damaged copy.
    enum class Outcome { Refused, Computed, Failed };
    struct Result {
        Outcome outcome;
        QString error;          // Failed: the text the program shows
        dao::Error::Kind kind;  // Failed: the data engine's kind of error
    };

    // Opens the file as the program would and computes the comparison. A refused file must be
    // left as it was and the refusal explained; a failed computation must end in an error of
    // the data engine, which the program shows, and never in anything else.
    static Result OpenAndCompute(const QString& path)
    {
        ui::ScriptedPrompter prompter;   // answers every question with its default
        testsupport::ClearModelCaches();
        const QByteArray before = Digest(path);
        if (!core::OpenDatafile(path)) {
            EXPECT_EQ(Digest(path), before) << "a refused file was changed";
            EXPECT_FALSE(prompter.messages().isEmpty()) << "a file is refused without a word";
            return {Outcome::Refused, prompter.messages().value(0).text, dao::Error::Kind::Generic};
        }
        Result result{Outcome::Computed, QString(), dao::Error::Kind::Generic};
        try {
            testsupport::ComputeMatrix();
        } catch (const dao::Error& e) {
            result = {Outcome::Failed, e.message(), e.kind()};
        }
        testsupport::ClearModelCaches();
        core::CloseDatafile();
        return result;
    }

    static const char* Name(Outcome o)
    {
        return o == Outcome::Refused ? "refused" : o == Outcome::Computed ? "computed" : "failed";
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
    // A damaged property row leaves the file without a format it knows, so it is refused; any
    // other damaged column still opens and computes.
    const auto expected = [](const QString& table) { return table == "Properties" ? Outcome::Refused : Outcome::Computed; };
    QMap<Outcome, int> counted;
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
                const Result result = OpenAndCompute(path);
                EXPECT_EQ(result.outcome, expected(QString::fromLatin1(table)))
                    << Name(result.outcome) << ": " << result.error.toStdString();
                ++counted[result.outcome];
            }
        }
    }
    // Enough copies were opened for the test to mean something, with those skipped above.
    EXPECT_GT(counted[Outcome::Computed], 300);
    EXPECT_EQ(counted[Outcome::Refused], int(std::size(values)));   // Properties.Value, each value
}

TEST_F(DamagedFiles, MissingTablesAndRowsNeverCrashTheComparison)
{
    // A table of the format that is gone is refused at the door, naming the table; rows that
    // are gone or linked wrongly still compute.
    struct Case {
        const char* sql;
        Outcome outcome;
        const char* named;   // Refused: what the message names as missing
    };
    const Case cases[] = {
        {"DROP TABLE Scores", Outcome::Refused, "the table Scores"},
        {"DROP TABLE OutcomeFMZs", Outcome::Refused, "the table OutcomeFMZs"},
        {"DROP TABLE SRUses", Outcome::Refused, "the table SRUses"},
        {"DROP TABLE ValuesProtected", Outcome::Refused, "the table ValuesProtected"},
        {"DROP TABLE NVCPerAcre", Outcome::Refused, "the table NVCPerAcre"},
        {"DROP TABLE SuppressionPerAcreCost", Outcome::Refused, "the table SuppressionPerAcreCost"},
        {"DROP TABLE ItemImpacts", Outcome::Refused, "the table ItemImpacts"},
        {"DELETE FROM Outcomes WHERE ParentKey = 0", Outcome::Computed, ""},
        {"DELETE FROM Objectives WHERE \"Key\" <= 2", Outcome::Computed, ""},
        {"DELETE FROM Items", Outcome::Computed, ""},
        {"DELETE FROM FMZList", Outcome::Computed, ""},
        {"DELETE FROM SRTypes", Outcome::Computed, ""},
        {"UPDATE Objectives SET ChildKey = \"Key\", SiblingKey = \"Key\"", Outcome::Computed, ""},
        {"UPDATE Outcomes SET ParentKey = ItemKey", Outcome::Computed, ""},
    };
    QMap<Outcome, int> counted;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.sql);
        const QString path = copy(QStringLiteral("rows.tlm"));
        {
            auto db = dao::Database::Open(path);
            db->Execute(QString::fromLatin1(c.sql));
        }
        const Result result = OpenAndCompute(path);
        EXPECT_EQ(result.outcome, c.outcome) << Name(result.outcome) << ": " << result.error.toStdString();
        if (c.outcome == Outcome::Refused) {
            EXPECT_TRUE(result.error.contains(QString::fromLatin1(c.named))) << result.error.toStdString();
        }
        ++counted[result.outcome];
    }
    EXPECT_EQ(counted[Outcome::Refused], 7);
    EXPECT_EQ(counted[Outcome::Computed], 7);
}

TEST_F(DamagedFiles, DamagedBytesAreRefusedUntouchedOrComputeWithoutACrash)
{
    QFile original(sAnalysis);
    ASSERT_TRUE(original.open(QIODevice::ReadOnly));
    const QByteArray clean = original.readAll();
    ASSERT_GT(clean.size(), 4096);
    QMap<Outcome, int> counted;
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
        // Which pages the damage hits decides the outcome: any of the three, but a failure only
        // as the engine's report of a damaged file.
        const Result result = OpenAndCompute(path);
        if (result.outcome == Outcome::Failed) {
            EXPECT_EQ(result.kind, dao::Error::Kind::NotDatabase) << result.error.toStdString();
        }
        ++counted[result.outcome];
    }
    // Both ways out are taken: a test that refused every copy, or failed every computation,
    // would show nothing.
    EXPECT_GT(counted[Outcome::Refused], 0);
    EXPECT_GT(counted[Outcome::Computed], 0);
    EXPECT_EQ(counted[Outcome::Refused] + counted[Outcome::Computed] + counted[Outcome::Failed], 60);
}

} // namespace
