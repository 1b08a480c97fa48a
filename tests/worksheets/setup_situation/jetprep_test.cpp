// Prep files of the companion setup program, Jet databases, on the Import Data worksheet: listed
// beside SQLite ones, read through a copy with every check of the Prep file reader, never written.

#include "prepfixture.h"
#include "support/jetfixtures.h"

#include "core/u11datafile.h"
#include "platform/grid/grid.h"
#include "worksheets/setup_situation/frm12import.h"

#include <QCoreApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>

using namespace worksheets::setup_situation;
using testsupport::FileBytes;

namespace {

const QStringList kCedarBasin = {"data/prep/prepfile-tables.sql", "data/prep/srmasterlist.sql", "data/prep/cedarbasin.sql"};

class JetPrepTest : public PrepFixture {
protected:
    void TearDown() override
    {
        form.reset();
        worksheets::gCurrentWorksheetID.clear();
        PrepFixture::TearDown();
    }

    void show()
    {
        form = std::make_unique<frm12Import>();
        form->resize(900, 600);
        form->Setup();
    }
    // Enters the file's row and imports every area and unit it offers.
    void importAll(const QString& fileName)
    {
        for (int row = 1; row < form->grdFCD->rows(); ++row)
            if (form->grdFCD->text(row, 0) == fileName)
                form->grdFCD->setCurrentCell(row, 0);
        ASSERT_NE(form->prepFile(), nullptr);
        ASSERT_EQ(form->prepFile()->FileName(), fileName);
        for (QListWidget* list : {form->lstRMA, form->lstFMU})
            for (int i = 0; i < list->count(); ++i)
                list->item(i)->setSelected(true);
        form->cmdImport->click();
    }

    std::unique_ptr<frm12Import> form;
};

TEST_F(JetPrepTest, TheJetCedarBasinImportsAsTheSqliteOneDoes)
{
    const QString jet = jettest::Write(QDir(costs()).filePath("Cedar Basin.fcd"), jettest::Fixture("Cedar Basin.fcd"));
    const QByteArray before = FileBytes(jet);
    testsupport::WriteScriptedDatabase(QDir(costs()).filePath("Red Mesa.fcd"),
                                       {"data/prep/prepfile-tables.sql", "data/prep/srmasterlist.sql", "data/prep/redmesa.sql"});
    show();
    ASSERT_EQ(form->grdFCD->rows(), 3);
    EXPECT_EQ(form->grdFCD->text(1, 0), "Cedar Basin.fcd");
    EXPECT_EQ(form->grdFCD->text(1, 1), "Cedar Basin Ranger District");
    EXPECT_EQ(form->grdFCD->text(2, 0), "Red Mesa.fcd");
    importAll("Cedar Basin.fcd");
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_GT(form->lstFMUList->count(), 0);
    form.reset();
    const QStringList fromJet = jettest::Describe(db(), {"FullFileName"});
    EXPECT_EQ(FileBytes(jet), before);

    // The same import from the SQLite file the Jet one was written from, into a new analysis.
    core::CloseDatafile();
    ClearCaches();
    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QFile::copy(QDir(QCoreApplication::applicationDirPath()).filePath("TLM.new"), path()));
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(core::OpenDatafile(path()));
    ASSERT_TRUE(QFile::remove(jet));
    testsupport::WriteScriptedDatabase(jet, kCedarBasin);
    show();
    importAll("Cedar Basin.fcd");
    form.reset();
    EXPECT_EQ(jettest::Describe(db(), {"FullFileName"}), fromJet);
}

TEST_F(JetPrepTest, AJetPrepFileThatCannotBeReadIsTold)
{
    const QByteArray bytes = jettest::Fixture("Red Mesa.fcd").left(2 * jettest::kJet4Page);
    const QString broken = jettest::Write(QDir(costs()).filePath("Broken.fcd"), bytes);
    show();
    ASSERT_EQ(form->grdFCD->rows(), 2);
    EXPECT_EQ(form->grdFCD->text(1, 1), QString());
    form->grdFCD->setCurrentCell(1, 0);
    EXPECT_EQ(form->prepFile(), nullptr);
    EXPECT_FALSE(form->cmdImport->isEnabled());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, QStringLiteral("Broken.fcd cannot be read: it is damaged or not a database."));
    EXPECT_EQ(FileBytes(broken), bytes);
}

} // namespace
