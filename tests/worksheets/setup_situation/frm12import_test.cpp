#include "support/prepfixture.h"
#include "support/jetfixtures.h"
#include "support/keeppicture.h"
#include "support/placedarea.h"
#include "support/wholeentries.h"

#include "core/g0items.h"
#include "core/g13rmas.h"
#include "core/u11datafile.h"
#include "core/uimode.h"
#include "model/g33fmus.h"
#include "model/g38srtypes.h"
#include "platform/dao/dao.h"
#include "platform/grid/grid.h"
#include "support/placedform.h"
#include "worksheets/common/worksheetform.h"
#include "worksheets/setup_situation/frm12import.h"
#include "worksheets/setup_situation/registerforms.h"

#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QListWidget>
#include <QMap>
#include <QPushButton>
#include <QTest>

using namespace worksheets::setup_situation;
using model::PrepFile;
using testsupport::FileBytes;
using prepfixture::SetFormat;

namespace {

const QString kNotPrep = QStringLiteral("The file does not appear to be a Tolmar Prep file.\r\nIt cannot be opened.");

QStringList Texts(const QListWidget* list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

QStringList Column(const grid::Grid* g, int col)
{
    QStringList texts;
    for (int r = 0; r < g->rows(); ++r)
        texts << g->text(r, col);
    return texts;
}

void Select(QListWidget* list, int index) { list->item(index)->setSelected(true); }

void ClickEntry(QListWidget* list, int index)
{
    list->scrollToItem(list->item(index));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(index)).center());
}

class Frm12ImportTest : public PrepFixture {
protected:
    void TearDown() override
    {
        form.reset();
        worksheets::gCurrentWorksheetID.clear();
        PrepFixture::TearDown();
    }

    void show()
    {
        form = testsupport::NewForm<frm12Import>();
        form->resize(900, 600);
        form->Setup();
    }
    void enterRow(int row, int col = 0) { form->grdFCD->setCurrentCell(row, col); }

    std::unique_ptr<frm12Import> form;
};

TEST_F(Frm12ImportTest, RegisteredAsTab12)
{
    RegisterForms();
    std::unique_ptr<worksheets::WorksheetForm> f = testsupport::CreateForm("tab12");
    EXPECT_NE(dynamic_cast<frm12Import*>(f.get()), nullptr);
}

TEST_F(Frm12ImportTest, SetupListsThePrepFilesAndTheAnalysisButOpensNone)
{
    writePrep("north.fcd");
    writePrep("old.fcd", {SetFormat("3.00.00"), "DROP TABLE ManagementGoals",
                          "UPDATE Properties SET Value = 'Old Unit' WHERE Property = 'UnitName'"});
    core::NewRMA("Town Edge", core::kDefaultItemBody)->SaveChanges();
    model::NewFMU("", "Valley-1");
    model::ClearFMUs();

    show();

    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab12");
    EXPECT_TRUE(core::IsIdle());
    EXPECT_EQ(Column(form->grdFCD, 0), QStringList({"File Name", "north.fcd", "old.fcd"}));
    EXPECT_EQ(Column(form->grdFCD, 1), QStringList({"Unit Name", "Kestrel Valley District", "Old Unit"}));
    EXPECT_EQ(form->grdFCD->row(), 0);
    EXPECT_EQ(form->prepFile(), nullptr);
    EXPECT_FALSE(form->cmdImport->isEnabled());
    EXPECT_EQ(form->lblTolmarFile->text(), "Fire1.tlm Contents");
    EXPECT_EQ(Texts(form->lstRMAList), QStringList({"Town Edge"}));
    EXPECT_EQ(Texts(form->lstFMUList), QStringList({"Valley-1"}));
    EXPECT_FALSE(form->cmdDeleteRMA->isEnabled());
    EXPECT_FALSE(form->cmdDeleteFMU->isEnabled());
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(Frm12ImportTest, EnteringARowOpensItsFileOnceAndKeepsTheChoices)
{
    writePrep("a north.fcd");
    writePrep("b old.fcd", {SetFormat("3.00.00"), "DROP TABLE ManagementGoals"});
    writePrep("c broken.fcd", {"DROP TABLE NVCPerAcre"});
    show();
    {
        // The program moving the cell while it fills opens nothing.
        core::BusyScope busy;
        enterRow(2);
    }
    EXPECT_EQ(form->prepFile(), nullptr);

    enterRow(1);
    const PrepFile* opened = form->prepFile();
    ASSERT_NE(opened, nullptr);
    EXPECT_EQ(form->lblPrepFile->text(), "a north.fcd Contents");
    EXPECT_EQ(Texts(form->lstRMA), QStringList({"Upper Watershed", "Grazing Allotments", "Heritage Sites"}));
    EXPECT_EQ(Texts(form->lstFMU), QStringList({"North-1", "North-2", "North-3", "South-1"}));
    EXPECT_EQ(form->lstFMU->item(2)->data(Qt::UserRole).toLongLong(), 703);
    EXPECT_EQ(form->lstRMA->item(2)->data(Qt::UserRole).toInt(), 5);
    EXPECT_TRUE(form->cmdImport->isEnabled());

    // Along the row, to the header and back: the same file, the same choices.
    Select(form->lstRMA, 1);
    Select(form->lstFMU, 3);
    enterRow(1, 1);
    enterRow(0, 0);
    enterRow(1, 0);
    EXPECT_EQ(form->prepFile(), opened);
    EXPECT_TRUE(form->lstRMA->item(1)->isSelected());
    EXPECT_TRUE(form->lstFMU->item(3)->isSelected());

    // An old file: no areas.
    enterRow(2);
    ASSERT_NE(form->prepFile(), nullptr);
    EXPECT_EQ(form->prepFile()->FileName(), "b old.fcd");
    EXPECT_TRUE(Texts(form->lstRMA).isEmpty());
    EXPECT_EQ(form->lstFMU->count(), 4);
    EXPECT_TRUE(prompter.messages().isEmpty());

    // A damaged file: the message, no file open, Import refused, the lists as they were.
    enterRow(3);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, kNotPrep);
    EXPECT_EQ(form->prepFile(), nullptr);
    EXPECT_FALSE(form->cmdImport->isEnabled());
    EXPECT_EQ(form->lblPrepFile->text(), "b old.fcd Contents");
    EXPECT_EQ(form->lstFMU->count(), 4);
    // Moving along the refused row does not ask again.
    enterRow(3, 1);
    EXPECT_EQ(prompter.messages().size(), 1);
}

// The only file of the folder is refused; the user mends it and chooses its row again, with
// the mouse on the cell already current, on the row's other cell, or with Enter. The file opens
// then, once, and choosing the row of the open file again keeps it and its choices.
TEST_F(Frm12ImportTest, ARefusedFileIsTriedAgainWhenItsRowIsChosenAgain)
{
    const QString incompatible = "The file uses an incompatible format.  It cannot be opened.";
    enum class Again { PressSameCell, PressOtherCell, Enter };
    enum class Spoil { Statements, HeldOpen, NotADatabase };
    struct Case {
        const char* what;
        Spoil spoil;
        QStringList statements;
        QString message;
        Again again;
    };
    const QList<Case> cases = {
        {"damaged", Spoil::Statements, {"DROP TABLE NVCPerAcre"}, kNotPrep, Again::PressSameCell},
        {"wrong format", Spoil::Statements, {SetFormat("4.02.00")}, incompatible, Again::PressOtherCell},
        {"held by another program", Spoil::HeldOpen, {}, kNotPrep, Again::Enter},
        {"not a database", Spoil::NotADatabase, {}, kNotPrep, Again::PressSameCell},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        prompter.clear();
        const QString file = writePrep("north.fcd", c.statements);
        std::unique_ptr<dao::Database> holder;
        if (c.spoil == Spoil::HeldOpen)
            holder = dao::Database::Open(file);
        if (c.spoil == Spoil::NotADatabase) {
            QFile text(file);
            ASSERT_TRUE(text.open(QIODevice::WriteOnly | QIODevice::Truncate));
            text.write("not a database");
        }
        show();
        form->show();
        grid::Grid* g = form->grdFCD;
        auto press = [g](int col) {
            const QRect cell = g->visualRect(g->gridModel()->index(1, col));
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, cell.center());
        };

        press(0);
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_EQ(prompter.messages()[0].text, c.message);
        EXPECT_EQ(form->prepFile(), nullptr);

        holder.reset();
        writePrep("north.fcd");
        const QByteArray mended = FileBytes(file);
        switch (c.again) {
        case Again::PressSameCell: press(0); break;
        case Again::PressOtherCell: press(1); break;
        case Again::Enter: QTest::keyClick(g, Qt::Key_Return); break;
        }
        EXPECT_EQ(prompter.messages().size(), 1);
        const PrepFile* opened = form->prepFile();
        ASSERT_NE(opened, nullptr);
        EXPECT_EQ(form->lblPrepFile->text(), "north.fcd Contents");
        EXPECT_EQ(form->lstFMU->count(), 4);
        EXPECT_TRUE(form->cmdImport->isEnabled());

        Select(form->lstFMU, 2);
        press(0);
        press(1);
        QTest::keyClick(g, Qt::Key_Return);
        EXPECT_EQ(form->prepFile(), opened);
        EXPECT_TRUE(form->lstFMU->item(2)->isSelected());
        EXPECT_EQ(prompter.messages().size(), 1);
        form.reset();
        EXPECT_EQ(FileBytes(file), mended);
    }
}

// An area's name as long as a Prep file holds them, in the placed window: whole in the Prep
// file's list and, once imported, in the analysis's list.
TEST_F(Frm12ImportTest, LongAreaNamesShowWholeOnBothSidesInThePlacedWindow)
{
    const QString north = "Upper Kestrel Creek Municipal Watershed and Spotted Owl Nesting Habitat, North Half";
    const QString south = "Upper Kestrel Creek Municipal Watershed and Spotted Owl Nesting Habitat, South Half";
    writePrep("north.fcd", {QString("UPDATE ManagementGoals SET ManagementArea = '%1' WHERE \"Key\" = 1").arg(north),
                            QString("UPDATE ManagementGoals SET ManagementArea = '%1' WHERE \"Key\" = 2").arg(south)});
    show();
    testsupport::PlacedWorksheetArea placed(*form);
    enterRow(1);
    ASSERT_EQ(Texts(form->lstRMA), QStringList({north, south, "Heritage Sites"}));
    ASSERT_GT(form->lstRMA->fontMetrics().horizontalAdvance(north), form->lstRMA->viewport()->width());
    testsupport::ExpectEntriesShowWhole(form->lstRMA);

    Select(form->lstRMA, 0);
    Select(form->lstRMA, 1);
    QTest::mouseClick(form->cmdImport, Qt::LeftButton);
    ASSERT_EQ(Texts(form->lstRMAList), QStringList({north, south}));
    testsupport::ExpectEntriesShowWhole(form->lstRMAList);
    testsupport::KeepPicture(placed.host(), "tab12_placed_long.png");
}

TEST_F(Frm12ImportTest, ImportBringsTheChoicesInAndRefreshesTheAnalysisLists)
{
    writePrep("north.fcd");
    show();
    enterRow(1);
    Select(form->lstRMA, 0);
    Select(form->lstRMA, 2);
    Select(form->lstFMU, 1);
    Select(form->lstFMU, 3);

    QTest::mouseClick(form->cmdImport, Qt::LeftButton);

    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(Texts(form->lstRMAList), QStringList({"Upper Watershed", "Heritage Sites"}));
    EXPECT_EQ(Texts(form->lstFMUList), QStringList({"North-2", "South-1"}));
    EXPECT_TRUE(form->lstRMA->selectedItems().isEmpty());
    EXPECT_TRUE(form->lstFMU->selectedItems().isEmpty());
    EXPECT_FALSE(form->cmdDeleteRMA->isEnabled());
    EXPECT_FALSE(form->cmdDeleteFMU->isEnabled());
    EXPECT_EQ(core::Property_Get("ImportFCD"), "north.fcd");
    EXPECT_EQ(model::SRTypeListEntries().size(), 3);

    // Importing the same unit again makes a second one, as asked.
    Select(form->lstFMU, 1);
    QTest::mouseClick(form->cmdImport, Qt::LeftButton);
    EXPECT_EQ(Texts(form->lstFMUList), QStringList({"North-2", "South-1", "North-2"}));
}

TEST_F(Frm12ImportTest, AFailedImportKeepsTheChoicesAndTheFile)
{
    writePrep("north.fcd", {"DELETE FROM SuppressionPerAcreCost WHERE FMZKey = 12"});
    show();
    enterRow(1);
    Select(form->lstRMA, 0);
    Select(form->lstFMU, 3);
    const QByteArray before = FileBytes(path());

    QTest::mouseClick(form->cmdImport, Qt::LeftButton);

    EXPECT_EQ(FileBytes(path()), before);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.contains("north.fcd"));
    EXPECT_TRUE(prompter.messages()[0].text.contains("\"South\" lacks its cost per acre"));
    EXPECT_TRUE(form->lstRMA->item(0)->isSelected());
    EXPECT_TRUE(form->lstFMU->item(3)->isSelected());
    EXPECT_TRUE(Texts(form->lstRMAList).isEmpty());
    EXPECT_TRUE(Texts(form->lstFMUList).isEmpty());
}

TEST_F(Frm12ImportTest, DeletingAnEntryAsksFirstAndThenWaitsForTheNextPick)
{
    core::NewRMA("Town Edge", core::kDefaultItemBody)->SaveChanges();
    core::NewRMA("Airshed", core::kDefaultItemBody)->SaveChanges();
    model::NewFMU("", "Valley-1");
    model::NewFMU("", "Valley-2");
    model::ClearFMUs();
    show();

    ClickEntry(form->lstRMAList, 1);
    EXPECT_TRUE(form->cmdDeleteRMA->isEnabled());
    prompter.answer(ui::Answer::No);
    QTest::mouseClick(form->cmdDeleteRMA, Qt::LeftButton);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "Do you really want to delete Airshed");
    EXPECT_EQ(prompter.messages()[0].defaultButton, ui::Answer::No);
    EXPECT_EQ(Texts(form->lstRMAList), QStringList({"Town Edge", "Airshed"}));
    EXPECT_TRUE(form->cmdDeleteRMA->isEnabled());

    prompter.answer(ui::Answer::Yes);
    QTest::mouseClick(form->cmdDeleteRMA, Qt::LeftButton);
    EXPECT_EQ(Texts(form->lstRMAList), QStringList({"Town Edge"}));
    EXPECT_FALSE(form->cmdDeleteRMA->isEnabled());
    EXPECT_EQ(core::GetRMAs().size(), 1);

    ClickEntry(form->lstFMUList, 0);
    prompter.answer(ui::Answer::Yes);
    QTest::mouseClick(form->cmdDeleteFMU, Qt::LeftButton);
    EXPECT_EQ(prompter.messages().last().text, "Do you really want to delete Valley-1");
    EXPECT_EQ(Texts(form->lstFMUList), QStringList({"Valley-2"}));
    EXPECT_FALSE(form->cmdDeleteFMU->isEnabled());
    model::ClearFMUs();
    EXPECT_EQ(model::FMUCount(), 1);
}

TEST_F(Frm12ImportTest, BrowsingEveryKindOfPrepFileChangesNone)
{
    writePrep("a 4.01.01.fcd");
    writePrep("b 4.00.00.fcd", {SetFormat("4.00.00")});
    writePrep("c 3.92.00.fcd", {SetFormat("3.92.00")});
    writePrep("d 3.00.00.fcd", {SetFormat("3.00.00"), "DROP TABLE ManagementGoals"});
    writePrep("e unknown.fcd", {SetFormat("4.02.00")});
    writePrep("f no format.fcd", {"DELETE FROM Properties WHERE Property = 'DataFormatID'"});
    QFile text(core::JoinPath(costs(), "g text.fcd"));
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("not a database");
    text.close();
    writePrep("h locked.fcd");
    const QString readOnly = writePrep("i read-only.fcd", {SetFormat("3.92.00")});
    QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    QMap<QString, QByteArray> bytes;
    for (const QString& name : QDir(costs()).entryList(QDir::Files))
        bytes[name] = FileBytes(core::JoinPath(costs(), name));
    auto holder = dao::Database::Open(core::JoinPath(costs(), "h locked.fcd"));

    show();
    EXPECT_EQ(Column(form->grdFCD, 1).mid(7), QStringList({"", "", "Kestrel Valley District"}));
    const QString incompatible = "The file uses an incompatible format.  It cannot be opened.";
    const QStringList expected = {"", "", "", "", incompatible, incompatible, kNotPrep, kNotPrep, ""};
    for (int row = 1; row <= expected.size(); ++row) {
        SCOPED_TRACE(row);
        prompter.clear();
        enterRow(row);
        if (expected[row - 1].isEmpty()) {
            EXPECT_TRUE(prompter.messages().isEmpty());
            ASSERT_NE(form->prepFile(), nullptr);
            // Importing from each format reads the file and never writes it.
            Select(form->lstFMU, 0);
            QTest::mouseClick(form->cmdImport, Qt::LeftButton);
            EXPECT_TRUE(prompter.messages().isEmpty());
        } else {
            ASSERT_EQ(prompter.messages().size(), 1);
            EXPECT_EQ(prompter.messages()[0].text, expected[row - 1]);
            EXPECT_EQ(form->prepFile(), nullptr);
        }
    }
    EXPECT_EQ(Texts(form->lstFMUList), QStringList({"North-1", "North-1", "North-1", "North-1", "North-1"}));
    form.reset();
    holder.reset();
    for (auto it = bytes.cbegin(); it != bytes.cend(); ++it)
        EXPECT_EQ(FileBytes(core::JoinPath(costs(), it.key())), it.value()) << it.key().toStdString();
}

// Prep files of the setup program are Jet databases: listed beside SQLite ones, read through a
// copy with every check of the Prep reader, never written.
TEST_F(Frm12ImportTest, TheJetCedarBasinImportsAsTheSqliteOneDoes)
{
    const QStringList cedarBasin = {"data/prep/prepfile-tables.sql", "data/prep/srmasterlist.sql", "data/prep/cedarbasin.sql"};
    const QString jet = jettest::Write(core::JoinPath(costs(), "Cedar Basin.fcd"), jettest::Fixture("Cedar Basin.fcd"));
    const QByteArray before = FileBytes(jet);
    testsupport::WriteScriptedDatabase(core::JoinPath(costs(), "Red Mesa.fcd"),
                                       {"data/prep/prepfile-tables.sql", "data/prep/srmasterlist.sql", "data/prep/redmesa.sql"});
    // Enters the Cedar Basin row and imports every area and unit it offers.
    const auto importAll = [this] {
        show();
        ASSERT_EQ(Column(form->grdFCD, 0), QStringList({"File Name", "Cedar Basin.fcd", "Red Mesa.fcd"}));
        EXPECT_EQ(form->grdFCD->text(1, 1), "Cedar Basin Ranger District");
        enterRow(1);
        ASSERT_NE(form->prepFile(), nullptr);
        for (QListWidget* list : {form->lstRMA, form->lstFMU})
            for (int i = 0; i < list->count(); ++i)
                Select(list, i);
        form->cmdImport->click();
        EXPECT_TRUE(prompter.messages().isEmpty());
        EXPECT_GT(form->lstFMUList->count(), 0);
        form.reset();
    };
    importAll();
    const QStringList fromJet = jettest::Describe(db(), {"FullFileName"});
    EXPECT_EQ(FileBytes(jet), before);

    // The same import from the SQLite file the Jet one was written from, into a new analysis.
    core::CloseDatafile();
    ClearCaches();
    ASSERT_TRUE(QFile::remove(path()));
    ASSERT_TRUE(QFile::copy(core::JoinPath(QCoreApplication::applicationDirPath(), "TLM.new"), path()));
    QFile::setPermissions(path(), QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(core::OpenDatafile(path()));
    ASSERT_TRUE(QFile::remove(jet));
    testsupport::WriteScriptedDatabase(jet, cedarBasin);
    importAll();
    EXPECT_EQ(jettest::Describe(db(), {"FullFileName"}), fromJet);
}

TEST_F(Frm12ImportTest, AJetPrepFileThatCannotBeReadIsTold)
{
    const QByteArray bytes = jettest::Fixture("Red Mesa.fcd").left(2 * jettest::kJet4Page);
    const QString broken = jettest::Write(core::JoinPath(costs(), "Broken.fcd"), bytes);
    show();
    EXPECT_EQ(Column(form->grdFCD, 1), QStringList({"Unit Name", ""}));
    enterRow(1);
    EXPECT_EQ(form->prepFile(), nullptr);
    EXPECT_FALSE(form->cmdImport->isEnabled());
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, QStringLiteral("Broken.fcd cannot be read: it is damaged or not a database."));
    EXPECT_EQ(FileBytes(broken), bytes);
}

} // namespace
