#include "core_sandbox.h"

#include "core/u91trace.h"

#include <QDir>

#include <cstdio>
#include <functional>

using namespace coretest;

namespace {

class TraceTest : public Sandbox {};

TEST_F(TraceTest, EveryLineKindHasItsExactBytes)
{
    core::TraceProgramStart("Tolmar Advanced 06.6", 15360, 11520);
    const QByteArray start = "\r\n* * * * * Program Start * * * * *\r\n07/04/2026\r\nApp.Path = " + core::AppPath().toUtf8()
                             + "\r\nScreen: 15360 x 11520\r\n14:05:09 Start Tolmar Advanced 06.6\r\n\r\n";
    EXPECT_EQ(Bytes(file("Tolmar.LOG")), start);

    core::Trace("frm22General.DisplayData");
    core::TraceLoad("frm22General");
    core::TraceUnload("frm22General");
    core::TraceStart("mnuFileNew");
    core::TraceFinished("mnuFileNew");
    core::TraceWarning("  Err = 76, DataPath = /opt/tolmar");
    core::TraceError("Property_Set: No database loaded");
    core::TraceProgramEnd("Tolmar Advanced");
    EXPECT_EQ(Bytes(file("Tolmar.LOG")), start
                                             + "14:05:09   frm22General.DisplayData\r\n"
                                               "14:05:09   Load frm22General\r\n"
                                               "14:05:09   Unloaded frm22General\r\n"
                                               "\r\n14:05:09 Start mnuFileNew\r\n"
                                               "14:05:09 Finished mnuFileNew\r\n\r\n"
                                               "\r\n14:05:09  Warning!   Err = 76, DataPath = /opt/tolmar\r\n\r\n"
                                               "\r\n* * * ERROR * * *\r\n14:05:09   Property_Set: No database loaded\r\n\r\n"
                                               "\r\n14:05:09 Tolmar Advanced\r\n* * * * * Program End * * * * *\r\n\r\n");
    EXPECT_EQ(Bytes(file("ERROR.LOG")),
              "\r\n* * * ERROR * * *\r\n07/04/2026\r\n14:05:09   Property_Set: No database loaded\r\n\r\n");
}

TEST_F(TraceTest, StartEmptiesTheTraceLogButTheErrorLogGrows)
{
    EXPECT_FALSE(QFileInfo::exists(file("ERROR.LOG")));
    core::TraceProgramStart("first run");
    EXPECT_FALSE(QFileInfo::exists(file("ERROR.LOG")));
    core::TraceError("first error");
    core::SetTraceClock([] { return QDateTime(QDate(2026, 12, 31), QTime(23, 59, 58)); });
    core::TraceProgramStart("second run");
    core::TraceError("second error");

    const QString trace = log("Tolmar.LOG");
    EXPECT_FALSE(trace.contains("first"));
    EXPECT_TRUE(trace.startsWith("\r\n* * * * * Program Start * * * * *\r\n12/31/2026\r\n"));
    const QString errors = log("ERROR.LOG");
    EXPECT_TRUE(errors.contains("07/04/2026\r\n14:05:09   first error"));
    EXPECT_TRUE(errors.contains("12/31/2026\r\n23:59:58   second error"));
}

// The log stays open between lines: each line must still be on disk at once, and a log removed
// while the program runs comes back with the next line, as when every line opened the file anew.
TEST_F(TraceTest, EachLineIsOnDiskAtOnceAndARemovedLogComesBack)
{
    core::TraceProgramStart("run");
    core::Trace("first");
    EXPECT_TRUE(Bytes(file("Tolmar.LOG")).endsWith("14:05:09   first\r\n"));
    ASSERT_TRUE(QFile::remove(file("Tolmar.LOG")));
    core::Trace("second");
    EXPECT_EQ(Bytes(file("Tolmar.LOG")), "14:05:09   second\r\n");
    ASSERT_TRUE(QFile::rename(file("Tolmar.LOG"), file("Tolmar.old")));
    QFile stranger(file("Tolmar.LOG"));
    ASSERT_TRUE(stranger.open(QIODevice::WriteOnly));
    stranger.write("kept\r\n");
    stranger.close();
    core::Trace("third");
    EXPECT_EQ(Bytes(file("Tolmar.LOG")), "kept\r\n14:05:09   third\r\n");
    EXPECT_EQ(Bytes(file("Tolmar.old")), "14:05:09   second\r\n");
}

// The same after the log has taken several lines in a row: each change reaches the next line.
TEST_F(TraceTest, ALogChangedBetweenTwoLinesIsTakenUpByTheSecond)
{
    const QString log = file("Tolmar.LOG");
    const auto writeFile = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    const struct {
        const char* change;
        std::function<void()> make;
        QByteArray after;   // the log after the line that follows the change
    } cases[] = {
        {"removed", [&] { ASSERT_TRUE(QFile::remove(log)); }, "14:05:09   next\r\n"},
        {"renamed, another file made under its name",
         [&] {
             ASSERT_TRUE(QFile::rename(log, file("Tolmar.old")));
             writeFile(log, "kept\r\n");
         },
         "kept\r\n14:05:09   next\r\n"},
        {"replaced by a file renamed onto it",
         [&] {
             writeFile(file("other"), "other\r\n");
             ASSERT_EQ(::rename(QFile::encodeName(file("other")).constData(), QFile::encodeName(log).constData()), 0);
         },
         "other\r\n14:05:09   next\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        QFile::remove(file("Tolmar.old"));
        core::TraceProgramStart("run");
        core::Trace("first");
        core::Trace("second");
        c.make();
        core::Trace("next");
        EXPECT_EQ(Bytes(log), c.after);
        core::Trace("last");
        EXPECT_EQ(Bytes(log), c.after + "14:05:09   last\r\n");
    }
}

TEST_F(TraceTest, AProgramFolderThatCannotBeWrittenSendsTheLogsElsewhere)
{
    QTemporaryDir home;
    const QByteArray previous = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", home.path().toUtf8());
    core::SetAppPath(file("not a folder/bin"));

    EXPECT_NO_THROW(core::Trace("frm12Import.Setup"));
    EXPECT_NO_THROW(core::TraceError("disk full"));
    const QString folder = core::LogFolder();
    EXPECT_TRUE(folder.startsWith(home.path())) << folder.toStdString();
    EXPECT_EQ(Bytes(core::JoinPath(folder, "Tolmar.LOG")),
              "14:05:09   frm12Import.Setup\r\n\r\n* * * ERROR * * *\r\n14:05:09   disk full\r\n\r\n");
    EXPECT_TRUE(QFileInfo::exists(core::JoinPath(folder, "ERROR.LOG")));
    qputenv("XDG_DATA_HOME", previous);
}

class FoldersTest : public Sandbox {};

TEST_F(FoldersTest, DataAndCostsFoldersFallBackInOrder)
{
    const QString app = core::AppPath();
    EXPECT_EQ(core::GetDataPath(), app);
    EXPECT_EQ(core::GetCostsPath(), app);
    EXPECT_TRUE(log("Tolmar.LOG").contains("  Warning!   Err = 76, DataPath = " + app + "\r\n"));
    EXPECT_TRUE(log("Tolmar.LOG").contains("  Warning!   Err = 76, CostsPath = " + app + "\r\n"));

    QDir(app).mkdir("DATA99");
    EXPECT_EQ(core::GetDataPath(), app + QDir::separator() + "DATA99");
    QDir(app).mkdir("TolmarData");
    QDir(app).mkdir("Costs");
    EXPECT_EQ(core::GetDataPath(), app + QDir::separator() + "TolmarData");
    EXPECT_EQ(core::GetCostsPath(), app + QDir::separator() + "Costs");
}

TEST_F(FoldersTest, AnInstalledProgramOffersTheUsersDocumentsForDataFiles)
{
    QTemporaryDir home;
    QDir(home.path()).mkdir("Documents");
    const QByteArray previousHome = qgetenv("HOME");
    const QByteArray previousConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_CONFIG_HOME", home.path().toUtf8());
    core::SetAppPath(file("not a folder/bin"));   // stands for a folder that cannot be written

    const QString documents = QDir::toNativeSeparators(home.path() + "/Documents");
    EXPECT_EQ(core::GetDataPath(), documents);
    EXPECT_EQ(core::GetCostsPath(), core::AppPath());

    qputenv("HOME", previousHome);
    qputenv("XDG_CONFIG_HOME", previousConfig);
}

TEST(FileTitleTest, SplitsOnEitherSeparator)
{
    const struct {
        const char* path;
        const char* title;
    } cases[] = {
        {"C:\\Fires\\2026\\Fire1.tlm", "Fire1.tlm"}, {"/home/fm/fires/Fire1.tlm", "Fire1.tlm"},
        {"Fire1.tlm", "Fire1.tlm"}, {"", ""}, {"C:\\Fires/mixed\\Fire2.tlm", "Fire2.tlm"}, {"/home/fm/", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(core::GetFileTitle(c.path), c.title) << c.path;
}

TEST(JoinPathTest, UsesThePlatformSeparatorOnce)
{
    const QString sep = QDir::separator();
    EXPECT_EQ(core::JoinPath("/opt/tolmar", "TLM.new"), "/opt/tolmar" + sep + "TLM.new");
    EXPECT_EQ(core::JoinPath("/opt/tolmar/", "TLM.new"), "/opt/tolmar" + sep + "TLM.new");
    EXPECT_EQ(core::JoinPath("", "TLM.new"), "TLM.new");
}

} // namespace
