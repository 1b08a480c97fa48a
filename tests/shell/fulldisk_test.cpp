// A full disk under the data file: opening it says so and leaves it closed and unlocked, and
// closing the program with edits the file could not take keeps the program open until they
// are stored, kept in a copy elsewhere, or given up by the user.

#include "shellfixture.h"

#include "shell/frm01start.h"
#include "support/fulldisk.h"

#include <QDir>
#include <QFileInfo>
#include <QPushButton>

#include <optional>

using namespace shelltest;

namespace {

QByteArray Bytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString StoredProperty(const QString& path, const QString& key)
{
    auto db = dao::Database::Open(path, dao::OpenOptions{false, true});
    auto rs = db->OpenRecordset("SELECT Value FROM Properties WHERE Property = ?", {key});
    return rs->Eof() ? QString() : rs->Field(0).toString();
}

class FullDiskTest : public ShellTest {
protected:
    // The file on a disk of its own, a worksheet shown whose save writes an edit into the file.
    QString startOnDisk()
    {
        const QString folder = dir.filePath("disk");
        QDir().mkdir(folder);
        disk.emplace(folder);
        const QString path = CopyTemplate(dir, "disk/Fire1.tlm");
        window->Startup(path);
        EXPECT_TRUE(core::gFileOpen());
        window->mnuSection_Click(4);
        window->mnuTab_Click(3);
        form()->onSave = [] { core::Property_Set("OverheadTeam", "Type 2"); };
        prompter.clear();
        return path;
    }

    // Closed before the disk goes (TearDown), the disk after.
    std::optional<testsupport::FullDisk> disk;
};

const char* const kDiskFull = "database or disk is full";

TEST_F(FullDiskTest, AFileOnAFullDiskNamedOnTheCommandLineIsClosedWithAMessage)
{
    const QString folder = dir.filePath("disk");
    ASSERT_TRUE(QDir().mkdir(folder));
    disk.emplace(folder);
    const QString path = CopyTemplate(dir, "disk/Fire1.tlm");
    const QByteArray before = Bytes(path);
    disk->fill();
    window->Startup(path);
    disk->empty();
    EXPECT_FALSE(core::gFileOpen());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, QString("The file %1 cannot be opened: the disk it is on is full.\r\nNothing in it "
                                                   "has been changed. Free some space on that disk, and open it again.")
                                               .arg(QFileInfo(path).absoluteFilePath()));
    EXPECT_EQ(Bytes(path), before);
    EXPECT_NO_THROW(dao::Database::Open(path)) << "the file is unlocked";
    ASSERT_TRUE(window->startPageLoaded());
    EXPECT_TRUE(window->startPage()->cmdOpen()->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Tolmar Advanced"));
}

TEST_F(FullDiskTest, ClosingWithEditsTheFullDiskCannotTakeKeepsTheProgramOpen)
{
    const QString path = startOnDisk();
    disk->fill();
    prompter.answer(ui::Answer::No);
    EXPECT_FALSE(window->close());
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(core::gFileOpen());
    EXPECT_EQ(id(), QStringLiteral("tab43")) << "the worksheet stays, with its edits";
    ASSERT_EQ(prompter.messages().size(), 1);
    const ui::Message& question = prompter.messages()[0];
    EXPECT_EQ(question.buttons, ui::Buttons::YesNo);
    EXPECT_EQ(question.defaultButton, ui::Answer::No);
    EXPECT_TRUE(question.text.startsWith("The changes on this worksheet could not be saved:\r\n")) << question.text.toStdString();
    EXPECT_TRUE(question.text.contains(kDiskFull));
    EXPECT_TRUE(question.text.endsWith("Close anyway and lose these changes?"));

    // Space freed: the next close stores the edits and ends the program without a word.
    disk->empty();
    prompter.clear();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_FALSE(core::gFileOpen());
    EXPECT_EQ(StoredProperty(path, "OverheadTeam"), "Type 2");
}

TEST_F(FullDiskTest, TheUserMayCloseAndLoseTheEdits)
{
    const QString path = startOnDisk();
    disk->fill();
    prompter.answer(ui::Answer::No);
    window->mnuFile_Click(9);   // File, Exit asks as the close box does
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].buttons, ui::Buttons::YesNo);
    prompter.answer(ui::Answer::Yes);
    EXPECT_TRUE(window->close());
    disk->empty();
    EXPECT_FALSE(core::gFileOpen());
    EXPECT_EQ(StoredProperty(path, "OverheadTeam"), "");
    EXPECT_NO_THROW(dao::Database::Open(path));
}

TEST_F(FullDiskTest, SaveAsElsewhereTakesTheEditsTheFullDiskCannot)
{
    const QString path = startOnDisk();
    const QByteArray before = Bytes(path);
    disk->fill();
    const QString copy = dir.filePath("Copy of Fire1.tlm");
    prompter.file(copy);
    window->mnuFile_Click(4);
    ASSERT_GE(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.contains(kDiskFull)) << "the failed save is reported first";
    ASSERT_TRUE(core::gFileOpen());
    EXPECT_EQ(core::gDatabase()->Path(), copy);
    EXPECT_EQ(core::Property_Get("OverheadTeam"), "Type 2");
    EXPECT_EQ(id(), QStringLiteral("tab11")) << "the copy is loaded as after any Save As";
    disk->empty();
    EXPECT_EQ(Bytes(path), before);

}

TEST_F(FullDiskTest, ASaveAsOntoTheFullDiskLeavesTheFileAndItsEditsOnScreen)
{
    const QString path = startOnDisk();
    disk->fill();
    prompter.file(dir.filePath("disk/Copy of Fire1.tlm"));
    window->mnuFile_Click(4);
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_TRUE(prompter.messages()[1].text.contains("the disk it is on is full")) << prompter.messages()[1].text.toStdString();
    ASSERT_TRUE(core::gFileOpen());
    EXPECT_EQ(core::gDatabase()->Path(), path);
    EXPECT_EQ(id(), QStringLiteral("tab43"));

    disk->empty();
    prompter.clear();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(StoredProperty(path, "OverheadTeam"), "Type 2");
}

} // namespace
