// Data files of earlier versions as users hold them, Jet databases, opened with File > Open:
// converted into a new data file beside them, upgraded with the usual questions, and told of.

#include "oldfiles.h"

#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "core/u14properties.h"
#include "platform/ui/scriptedprompter.h"
#include "support/immutable.h"
#include "support/jetfixtures.h"
#include "upgrade/upgrader.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <unistd.h>

using testsupport::FileBytes;

namespace {

class JetDataFiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        upgrade::Install();
        // A program folder of its own, with the template.
        ASSERT_TRUE(QFile::copy(testing_upgrade::TemplatePath(), dir.filePath(QStringLiteral("TLM.new"))));
        core::SetAppPath(dir.path());
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("TolmarData")));
        ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("share")));
    }
    void TearDown() override
    {
        if (core::gDatabase())
            core::CloseDatafile();
        core::SetUpgrader(nullptr);
        core::SetAppPath(QString());
    }

    // A Jet data file of format "4.00.00" in the folder.
    QString jetFile(const QString& folder)
    {
        return jettest::Write(QDir(dir.filePath(folder)).filePath(QStringLiteral("Smith Fire.tlm")),
                              jettest::Fixture(QStringLiteral("format-4.00.00.tlm")));
    }
    QStringList files(const QString& folder) const
    {
        return QDir(dir.filePath(folder)).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }
    core::OpenResult openByDialog(const QString& path)
    {
        prompter.file(path);
        return core::QueryOpenDatafile();
    }
    // The conversion's question and the edition's, both agreed to.
    void agreeToUpgrade()
    {
        prompter.answer(ui::Answer::OK);
        prompter.answer(ui::Answer::Yes);
    }

    QTemporaryDir dir;
    ui::ScriptedPrompter prompter;
};

TEST_F(JetDataFiles, TheFirstOpenConvertsBesideTheFileAndTheNextOpensThatCopy)
{
    const QString jet = jetFile(QStringLiteral("share"));
    const QByteArray before = FileBytes(jet);
    const QString copy = QDir::toNativeSeparators(dir.filePath(QStringLiteral("share/Smith Fire (converted).tlm")));

    agreeToUpgrade();
    ASSERT_EQ(openByDialog(jet), core::OpenResult::Open);
    ASSERT_EQ(prompter.messages().size(), 3);
    EXPECT_EQ(prompter.messages()[0].title, QStringLiteral("Convert to Tolmar Rude 06 File?"));
    EXPECT_EQ(prompter.messages()[1].title, QStringLiteral("Convert to Tolmar Advanced?"));
    const ui::Message& told = prompter.messages()[2];
    EXPECT_EQ(told.text, QStringLiteral("Smith Fire.tlm was made with an earlier version of Tolmar Rude.\r\n"
                                        "Its analysis has been converted into a new file, which opens now:\r\n%1\r\n"
                                        "Smith Fire.tlm itself is left as it was.")
                             .arg(copy));
    EXPECT_EQ(told.icon, ui::Icon::Information);
    EXPECT_EQ(core::gDatabase()->Path(), copy);
    EXPECT_EQ(core::Property_Get(QStringLiteral("FullFileName")), copy);
    EXPECT_EQ(core::Property_Get(QStringLiteral("DataFormatID")), core::kCurrentFormat);
    EXPECT_EQ(core::Property_Get(QStringLiteral("ProgramID")), core::kProgramEdition);
    core::CloseDatafile();
    EXPECT_EQ(files(QStringLiteral("share")), (QStringList{"Smith Fire (converted).tlm", "Smith Fire.tlm"}));
    EXPECT_EQ(FileBytes(jet), before);

    prompter.clear();
    ASSERT_EQ(openByDialog(jet), core::OpenResult::Open);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, QStringLiteral("Smith Fire.tlm was converted before.\r\n"
                                                          "Its analysis opens from the converted file:\r\n%1\r\n"
                                                          "Smith Fire.tlm itself is left as it was.")
                                               .arg(copy));
    EXPECT_EQ(core::gDatabase()->Path(), copy);
    core::CloseDatafile();
    EXPECT_EQ(files(QStringLiteral("share")), (QStringList{"Smith Fire (converted).tlm", "Smith Fire.tlm"}));
    EXPECT_EQ(FileBytes(jet), before);
}

TEST_F(JetDataFiles, CancelAtAnyQuestionLeavesNoNewFile)
{
    const QString jet = jetFile(QStringLiteral("share"));
    const QByteArray before = FileBytes(jet);
    const QList<QList<ui::Answer>> answers = {{ui::Answer::Cancel}, {ui::Answer::OK, ui::Answer::No}};
    for (const QList<ui::Answer>& script : answers) {
        SCOPED_TRACE(script.size());
        prompter.clear();
        for (ui::Answer a : script)
            prompter.answer(a);
        EXPECT_EQ(openByDialog(jet), core::OpenResult::Failed);
        EXPECT_EQ(prompter.messages().size(), script.size()) << "no message beyond the questions";
        EXPECT_EQ(core::gDatabase(), nullptr);
        EXPECT_EQ(files(QStringLiteral("share")), QStringList{"Smith Fire.tlm"});
        EXPECT_EQ(FileBytes(jet), before);
    }
}

// Where the Jet file's folder cannot be written, the user chooses where the copy goes, the data
// folder and the copy's name proposed; the next open finds the copy there.
TEST_F(JetDataFiles, AFolderThatCannotBeWrittenAsksWhereToKeepTheCopy)
{
    const QString jet = jetFile(QStringLiteral("share"));
    const QByteArray before = FileBytes(jet);
    std::optional<testsupport::Immutable> immutable;
    if (geteuid() == 0) {
        immutable.emplace(dir.filePath(QStringLiteral("share")));
        if (!immutable->set())
            GTEST_SKIP() << "the superuser may write any folder here";
    } else {
        QFile::setPermissions(dir.filePath(QStringLiteral("share")), QFile::ReadOwner | QFile::ExeOwner);
    }
    const QString data = QDir::toNativeSeparators(dir.filePath(QStringLiteral("TolmarData")));

    // Cancelled: nothing anywhere.
    prompter.file(jet);
    prompter.file(QString());
    EXPECT_EQ(core::QueryOpenDatafile(), core::OpenResult::Failed);
    ASSERT_EQ(prompter.dialogs().size(), 2);
    const ui::FileDialog& asked = prompter.dialogs()[1];
    EXPECT_EQ(asked.kind, ui::FileDialog::Kind::Save);
    EXPECT_EQ(asked.title, QStringLiteral("Save the Converted Copy of Smith Fire.tlm"));
    EXPECT_EQ(asked.folder, data);
    EXPECT_EQ(asked.fileName, QStringLiteral("Smith Fire (converted).tlm"));
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_TRUE(files(QStringLiteral("TolmarData")).isEmpty());

    prompter.clear();
    prompter.file(jet);
    prompter.file(QDir(data).filePath(QStringLiteral("Smith Fire (converted).tlm")));
    agreeToUpgrade();
    ASSERT_EQ(core::QueryOpenDatafile(), core::OpenResult::Open);
    const QString copy = QDir(data).filePath(QStringLiteral("Smith Fire (converted).tlm"));
    EXPECT_EQ(core::gDatabase()->Path(), copy);
    core::CloseDatafile();
    EXPECT_EQ(files(QStringLiteral("TolmarData")), QStringList{"Smith Fire (converted).tlm"});

    prompter.clear();
    ASSERT_EQ(openByDialog(jet), core::OpenResult::Open);
    EXPECT_EQ(prompter.dialogs().size(), 1) << "the copy is found without a second dialog";
    EXPECT_EQ(core::gDatabase()->Path(), copy);
    core::CloseDatafile();
    immutable.reset();
    QFile::setPermissions(dir.filePath(QStringLiteral("share")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(files(QStringLiteral("share")), QStringList{"Smith Fire.tlm"});
    EXPECT_EQ(FileBytes(jet), before);
}

// A Jet file that cannot be read: one message, the file open before stays open, nothing is
// written anywhere.
TEST_F(JetDataFiles, AJetFileThatCannotBeReadIsToldAndLeftAsItWas)
{
    const QString other = dir.filePath(QStringLiteral("TolmarData/Other.tlm"));
    ASSERT_TRUE(QFile::copy(dir.filePath(QStringLiteral("TLM.new")), other));
    QFile::setPermissions(other, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(core::OpenDatafile(other));
    const QByteArray base = jettest::Fixture(QStringLiteral("format-4.00.00.tlm"));
    const int rows = jettest::PageHolding(base, QStringLiteral("DataFormatID"));
    ASSERT_GT(rows, 2);
    const QByteArray damaged[] = {
        base.left(jettest::kJet4Page),
        jettest::WithPage(base, rows, [](int) { return 0; }),
        jettest::WithPage(base, jettest::OwnerOf(base, rows), [](int i) { return i * 7; }),
    };
    for (const QByteArray& bytes : damaged) {
        const QString jet = jettest::Write(dir.filePath(QStringLiteral("share/Smith Fire.tlm")), bytes);
        prompter.clear();
        EXPECT_EQ(openByDialog(jet), core::OpenResult::Cancelled);
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0].text, QStringLiteral("Smith Fire.tlm cannot be read: it is damaged or not a database."));
        EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
        ASSERT_NE(core::gDatabase(), nullptr);
        EXPECT_EQ(core::gDatabase()->Path(), other);
        EXPECT_EQ(files(QStringLiteral("share")), QStringList{"Smith Fire.tlm"});
        EXPECT_EQ(FileBytes(jet), bytes);
    }
}

} // namespace
