// Older files opened the way the user opens them: the question, Cancel, OK, and what the
// converted file then holds and computes.

#include "oldfiles.h"

#include "core/g0items.h"
#include "core/u11datafile.h"
#include "core/u14properties.h"
#include "platform/dao/dao.h"
#include "platform/ui/scriptedprompter.h"
#include "upgrade/upgrader.h"

#ifdef TOLMAR_HAVE_MODEL
#include "model/c51alternative.h"
#include "model/g51alternatives.h"
#endif

#include <QMap>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using model::OutcomeKind;
using testing_upgrade::FileBytes;
using testing_upgrade::TemplatePath;
using testing_upgrade::WriteOldFile;

namespace {

const QString kHead = QStringLiteral("This file must be modified to work with Tolmar Rude 06.\r\n");
const QString kTail = QStringLiteral(
    "Once converted, the file cannot be opened with a previous version of TolmarVire.\r\n\r\n"
    "Do you want to convert this file to a Tolmar Rude 06 file?");
const QString kWorstCase = QStringLiteral("All Tolmar Worst Case data will be lost.\r\n");
const QString kBefore5 = QStringLiteral(
    "All Brevan Stage I and Periodic Assessment data will be lost.\r\n"
    "All Brevan Stage II and most Stage III report sections will be saved.\r\n"
    "All Tolmar Safety issues will be lost.\r\n"
    "All values for Tolmar Threatened Items will be lost.\r\n");
const QString kBefore6 = QStringLiteral(
    "Some Brevan Size-up and Stage I data will be lost.\r\n"
    "All values for Tolmar Threatened Items will be lost.\r\n");

struct Format {
    const char* id;
    QString question;
};

// The worst-case line appears where the file's analysis level is "3" (4.00.00 and 05.01.02).
const Format kFormats[] = {
    {"3.93.00", kHead + kBefore5 + QStringLiteral("All other Tolmar data will be saved.\r\n") + kTail},
    {"4.00.00", kHead + kBefore5 + kWorstCase + QStringLiteral("All other Tolmar data will be saved.\r\n") + kTail},
    {"04.01.01", kHead + kBefore5 + QStringLiteral("All other Tolmar data will be saved.\r\n") + kTail},
    {"05.01.02", kHead + kBefore6 + kWorstCase + QStringLiteral("All other data will be saved.\r\n") + kTail},
};

// Tables the conversions read and leave in place, or create for the older planning component.
const QSet<QString> kLeftBehind = {
    QStringLiteral("Alternatives"), QStringLiteral("ManagementGoals"), QStringLiteral("ListOfItems"),
    QStringLiteral("TolmarTopics"), QStringLiteral("BrevanRatings"), QStringLiteral("BrevanResources"),
    QStringLiteral("BrevanContents")};

class OpeningOldFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        upgrade::Install();
    }
    void TearDown() override
    {
        if (core::gDatabase())
            core::CloseDatafile();
        core::SetUpgrader(nullptr);
    }

    core::OpenResult OpenByDialog(const QString& path)
    {
        prompter.file(path);
        return core::QueryOpenDatafile();
    }

    QTemporaryDir dir;
    ui::ScriptedPrompter prompter;
};

// Field name -> type, and the primary key, of every table of a file.
struct Layout {
    QMap<QString, QMap<QString, dao::FieldType>> fields;
    QMap<QString, QStringList> keys;
};

Layout LayoutOf(dao::Database& db)
{
    Layout layout;
    for (const QString& table : db.TableNames()) {
        for (const dao::FieldDef& f : db.Fields(table))
            layout.fields[table].insert(f.name, f.type);
        layout.keys[table] = db.PrimaryKey(table);
    }
    return layout;
}

} // namespace

TEST_F(OpeningOldFiles, CancelLeavesTheFileAsItWas)
{
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.id);
        const QString path = WriteOldFile(dir.path(), QString::fromLatin1(format.id));
        const QByteArray before = FileBytes(path);
        prompter.clear();
        prompter.answer(ui::Answer::Cancel);

        EXPECT_EQ(OpenByDialog(path), core::OpenResult::Failed);
        ASSERT_EQ(prompter.messages().size(), 1);
        const ui::Message& question = prompter.messages().first();
        EXPECT_EQ(question.text, format.question);
        EXPECT_EQ(question.title, QStringLiteral("Convert to Tolmar Rude 06 File?"));
        EXPECT_EQ(question.buttons, ui::Buttons::OKCancel);
        EXPECT_EQ(question.icon, ui::Icon::Question);
        EXPECT_EQ(question.defaultButton, ui::Answer::Cancel);
        EXPECT_FALSE(core::gFileOpen());
        EXPECT_EQ(FileBytes(path), before);
    }
}

// The conversion has run when the edition question comes; declining it must undo the conversion too.
TEST_F(OpeningOldFiles, DecliningTheEditionAfterConvertingLeavesTheFileAsItWas)
{
    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.id);
        const QString path = WriteOldFile(dir.path(), QString::fromLatin1(format.id));
        const QByteArray before = FileBytes(path);
        prompter.clear();
        prompter.answer(ui::Answer::OK);
        prompter.answer(ui::Answer::No);

        EXPECT_EQ(OpenByDialog(path), core::OpenResult::Failed);
        ASSERT_EQ(prompter.messages().size(), 2);
        EXPECT_EQ(prompter.messages().at(1).title, QStringLiteral("Convert to Tolmar Advanced?"));
        EXPECT_FALSE(core::gFileOpen());
        EXPECT_EQ(FileBytes(path), before);
    }
}

TEST_F(OpeningOldFiles, OkConvertsToTheLayoutOfNewFiles)
{
    auto templ = dao::Database::Open(TemplatePath(), dao::OpenOptions{false, true});
    const Layout current = LayoutOf(*templ);
    templ->Close();
    ASSERT_FALSE(current.fields.isEmpty());

    for (const Format& format : kFormats) {
        SCOPED_TRACE(format.id);
        const QString path = WriteOldFile(dir.path(), QString::fromLatin1(format.id));
        prompter.clear();
        prompter.answer(ui::Answer::OK);    // convert
        prompter.answer(ui::Answer::Yes);   // and take it into this edition

        ASSERT_EQ(OpenByDialog(path), core::OpenResult::Open);
        EXPECT_EQ(core::Property_Get(QStringLiteral("DataFormatID")), QStringLiteral("06.01.01"));
        EXPECT_EQ(core::Property_Get(QStringLiteral("ProgramID")), QStringLiteral("Advanced"));

        const Layout converted = LayoutOf(*core::gDatabase());
        for (auto it = current.fields.cbegin(); it != current.fields.cend(); ++it) {
            SCOPED_TRACE(it.key().toStdString());
            ASSERT_TRUE(converted.fields.contains(it.key()));
            EXPECT_EQ(converted.fields.value(it.key()), it.value());
            EXPECT_EQ(converted.keys.value(it.key()), current.keys.value(it.key()));
        }
        QSet<QString> extra;
        for (const QString& table : converted.fields.keys())
            if (!current.fields.contains(table))
                extra.insert(table);
        EXPECT_EQ(extra, kLeftBehind);

        // Opened again, it is a current file: no question.
        core::CloseDatafile();
        prompter.clear();
        EXPECT_TRUE(core::OpenDatafile(path));
        EXPECT_TRUE(prompter.messages().isEmpty());
        core::CloseDatafile();
    }
}

TEST_F(OpeningOldFiles, AFailedConversionOpensNothingAndChangesNothing)
{
    const struct {
        const char* format;
        const char* damage;
    } cases[] = {
        {"4.00.00", "DROP TABLE ListOfItems"},       // the first step fails
        {"4.00.00", "DROP TABLE BrevanNeed"},        // the second step fails after the first has run
        {"05.01.02", "DROP TABLE SRUses"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.format) + ": " + c.damage);
        const QString path = WriteOldFile(dir.path(), QString::fromLatin1(c.format), QStringLiteral("Damaged.tlm"),
                                          {QString::fromLatin1(c.damage)});
        const QByteArray before = FileBytes(path);
        prompter.clear();
        prompter.answer(ui::Answer::OK);

        EXPECT_EQ(OpenByDialog(path), core::OpenResult::Failed);
        ASSERT_EQ(prompter.messages().size(), 2);
        EXPECT_EQ(prompter.messages().at(1).text,
                  QStringLiteral("The file does not appear to be a Tolmar Rude file.\r\nIt cannot be opened."));
        EXPECT_FALSE(core::gFileOpen());
        EXPECT_EQ(FileBytes(path), before);
    }
}

TEST_F(OpeningOldFiles, NewItemsTakeKeysFromTheFileBeingConverted)
{
    // A file with high item keys is opened and used first; its key counter must not leak into
    // the next file's conversion.
    const QString first = WriteOldFile(dir.path(), QStringLiteral("05.01.02"), QStringLiteral("First.tlm"),
                                       {QStringLiteral("INSERT INTO Items (ItemKey, ParentKey) VALUES (5000, 23)")});
    prompter.answer(ui::Answer::OK);
    ASSERT_EQ(OpenByDialog(first), core::OpenResult::Open);
    EXPECT_EQ(core::NewItem(QStringLiteral("Barn"), 23), 5001);
    core::CloseDatafile();

    const QString second = WriteOldFile(dir.path(), QStringLiteral("4.00.00"));
    prompter.clear();
    prompter.answer(ui::Answer::OK);
    ASSERT_EQ(OpenByDialog(second), core::OpenResult::Open);
    auto rs = core::gDatabase()->OpenRecordset(QStringLiteral("SELECT ItemKey FROM Items WHERE ParentKey = 26 ORDER BY ChildIndex"));
    ASSERT_FALSE(rs->Eof());
    EXPECT_EQ(rs->Field(0).toInt(), 297);
}

#ifdef TOLMAR_HAVE_MODEL
TEST_F(OpeningOldFiles, ConvertedAlternativesComputeTheirExpectedValues)
{
    const QString path = WriteOldFile(dir.path(), QStringLiteral("05.01.02"));
    prompter.answer(ui::Answer::OK);
    ASSERT_EQ(OpenByDialog(path), core::OpenResult::Open);
    core::ClearItems();
    model::ClearAlternatives();

    auto alternative = model::GetAlternative(297);
    ASSERT_TRUE(alternative);
    // Target 75 %, Fallback 20 % of the remaining 25 (5 %), Extreme the rest (20 %).
    EXPECT_EQ(alternative->OutcomePercent(OutcomeKind::Target), 75);
    EXPECT_EQ(alternative->OutcomePercent(OutcomeKind::Fallback), 5);
    EXPECT_EQ(alternative->OutcomePercent(OutcomeKind::Extreme), 20);
    // 1,500 entered, 36,000 from the resource list, 90,000 entered for the Extreme outcome.
    EXPECT_FLOAT_EQ(alternative->ExpectedCost(), 21000.0f);
    model::ClearAlternatives();
}

TEST_F(OpeningOldFiles, ConvertedFourZeroFileReadsAsAlternativesAndSelection)
{
    const QString path = WriteOldFile(dir.path(), QStringLiteral("4.00.00"));
    prompter.answer(ui::Answer::OK);
    ASSERT_EQ(OpenByDialog(path), core::OpenResult::Open);
    core::ClearItems();
    model::ClearAlternatives();

    QStringList labels;
    for (const auto& alternative : model::GetAlternatives().Items())
        labels << alternative->Label();
    EXPECT_EQ(labels, (QStringList{QStringLiteral("A. Direct attack"), QStringLiteral("B. Indirect attack"),
                                   QStringLiteral("C. Confine")}));
    auto selected = model::GetSelectedAlternative();
    ASSERT_TRUE(selected);
    EXPECT_EQ(selected->Heading(), QStringLiteral("Indirect attack"));
    // Target 60 %, no Fallback row, Extreme the rest.
    EXPECT_EQ(selected->OutcomePercent(OutcomeKind::Target), 60);
    EXPECT_EQ(selected->OutcomePercent(OutcomeKind::Fallback), 0);
    EXPECT_EQ(selected->OutcomePercent(OutcomeKind::Extreme), 40);
    model::ClearAlternatives();
}
#endif
