// Data files of earlier versions, Jet databases, through every route that opens a file: the
// start page's Open button, File > Open and the command line.

#include "shellfixture.h"

#include "platform/dao/dao.h"
#include "shell/frm01start.h"
#include "support/fixturefiles.h"
#include "support/jetfixtures.h"
#include "upgrade/upgrader.h"

#include <QDir>
#include <QPushButton>

using namespace shelltest;
using testsupport::FileBytes;

namespace {

class JetShellTest : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        upgrade::Install();
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        core::SetUpgrader(nullptr);
    }
    // The conversion's question and the edition's, both agreed to.
    void agreeToUpgrade()
    {
        prompter.answer(ui::Answer::OK);
        prompter.answer(ui::Answer::Yes);
    }
};

// The Jet file of format "4.00.00" and the SQLite file it was written from, each opened as a
// user opens it, give the same upgraded analysis.
TEST_F(JetShellTest, AJetDataFileOpensAsTheSameAnalysisAsItsSource)
{
    const QString jet = jettest::Write(dir.filePath("Smith Fire.tlm"), jettest::Fixture("format-4.00.00.tlm"));
    const QByteArray before = FileBytes(jet);
    const QString native = testsupport::WriteScriptedDatabase(
        dir.filePath("Jones Fire.tlm"), {"tests/fixtures/common-tables.sql", "tests/fixtures/format-4.00.00.sql"});
    window->Startup(QString());

    prompter.file(jet);
    agreeToUpgrade();
    window->startPage()->cmdOpen()->click();
    ASSERT_TRUE(core::gFileOpen());
    const QString copy = dir.filePath("Smith Fire (converted).tlm");
    EXPECT_EQ(core::gDatabase()->Path(), copy);
    EXPECT_TRUE(window->windowTitle().contains("[Smith Fire (converted).tlm]")) << window->windowTitle().toStdString();
    EXPECT_EQ(id(), QStringLiteral("tab11"));
    ASSERT_EQ(prompter.messages().size(), 3);
    EXPECT_TRUE(prompter.messages()[2].text.contains(copy));

    prompter.clear();
    prompter.file(native);
    agreeToUpgrade();
    window->mnuFile_Click(2);
    ASSERT_TRUE(core::gFileOpen());
    EXPECT_EQ(core::gDatabase()->Path(), native);
    core::CloseDatafile();

    const QStringList skip{"FullFileName"};
    EXPECT_EQ(jettest::Describe(copy, skip), jettest::Describe(native, skip));
    EXPECT_EQ(FileBytes(jet), before);
}

// Given on the command line again, the Jet file opens its copy; no second copy is made.
TEST_F(JetShellTest, TheCommandLineOpensTheCopyMadeBefore)
{
    const QString jet = jettest::Write(dir.filePath("Smith Fire.tlm"), jettest::Fixture("format-4.00.00.tlm"));
    agreeToUpgrade();
    window->Startup(jet);
    ASSERT_TRUE(core::gFileOpen());
    const QString copy = dir.filePath("Smith Fire (converted).tlm");
    EXPECT_EQ(core::gDatabase()->Path(), copy);
    const QStringList before = QDir(dir.path()).entryList({"*.tlm", "*.part"}, QDir::Files);

    window.reset();
    core::CloseDatafile();
    window = std::make_unique<shell::frm0_Tolmar>();
    window->show();
    prompter.clear();
    window->Startup(jet);
    ASSERT_TRUE(core::gFileOpen());
    EXPECT_EQ(core::gDatabase()->Path(), copy);
    EXPECT_EQ(core::Property_Get("FullFileName"), copy);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.startsWith("Smith Fire.tlm was converted before."));
    EXPECT_EQ(QDir(dir.path()).entryList({"*.tlm", "*.part"}, QDir::Files), before);
}

// A damaged Jet file on the command line: the message, then the start page.
TEST_F(JetShellTest, ADamagedJetFileOnTheCommandLineEndsOnTheStartPage)
{
    const QByteArray bytes = jettest::Fixture("format-4.00.00.tlm").left(3 * jettest::kJet4Page);
    const QString jet = jettest::Write(dir.filePath("Smith Fire.tlm"), bytes);
    window->Startup(jet);
    EXPECT_FALSE(core::gFileOpen());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, QStringLiteral("Smith Fire.tlm cannot be read: it is damaged or not a database."));
    ASSERT_TRUE(window->startPageLoaded());
    EXPECT_TRUE(window->startPage()->cmdOpen()->isVisible());
    EXPECT_EQ(FileBytes(jet), bytes);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.tlm", "*.part"}, QDir::Files), QStringList{"Smith Fire.tlm"});
}

// A Jet file holding a memo longer than any field of this program holds (a long topic typed in
// an earlier version): the message names the field, and the file is left as it was.
TEST_F(JetShellTest, AJetMemoPastTheLongestValueIsRefusedWithAMessage)
{
    // Three bytes a character once converted, two in the Jet file.
    const QString text = QStringLiteral("Ridge \u2014 crest \u2014 saddle. ").repeated(int(dao::kLongestValue / 24) + 1);
    const QByteArray memo = jettest::Ucs2(text);
    QList<QByteArray> chunks;
    for (qsizetype at = 0; at < memo.size(); at += 4000)
        chunks << memo.mid(at, 4000);
    const QByteArray bytes = jettest::WithLongMemo(jettest::Fixture("format-4.00.00.tlm"), QStringLiteral("Last section"), chunks);
    ASSERT_FALSE(bytes.isEmpty());
    const QString jet = jettest::Write(dir.filePath("Smith Fire.tlm"), bytes);
    window->Startup(jet);
    EXPECT_FALSE(core::gFileOpen());
    ASSERT_EQ(prompter.messages().size(), 1);
    const QString said = prompter.messages()[0].text;
    EXPECT_TRUE(said.contains(QStringLiteral("Its field Brevan2Topics.Body holds a value of %L1 bytes; no field of this "
                                             "program's files holds more than 524,288.")
                                  .arg(text.toUtf8().size())))
        << said.toStdString();
    ASSERT_TRUE(window->startPageLoaded());
    EXPECT_EQ(FileBytes(jet), bytes);
    EXPECT_EQ(QDir(dir.path()).entryList({"*.tlm", "*.part"}, QDir::Files), QStringList{"Smith Fire.tlm"});
}

} // namespace
