#include "support/mainwindow_fixture.h"

#include "worksheets/common/costsizegrid.h"
#include "worksheets/setup_situation/frm12import.h"
#include "worksheets/setup_situation/frm14nvctable.h"
#include "worksheets/setup_situation/frm15srmaster.h"
#include "worksheets/setup_situation/frm16costperacre.h"

#include "core/u11datafile.h"
#include "model/c35aactable.h"
#include "model/g33fmus.h"
#include "model/g38srtypes.h"
#include "platform/dao/dao.h"
#include "platform/grid/grid.h"
#include "platform/ui/scriptedprompter.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm0_tolmar.h"
#include "worksheets/common/worksheetform.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QLabel>
#include <QListWidget>
#include <QMap>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace {

// The Setup worksheets in the program's main window, reached by the Worksheet menu.
class SetupShellTest : public MainWindowFixture {
protected:
    static QLineEdit* Editor(grid::Grid& g) { return g.viewport()->findChild<QLineEdit*>(); }

    double Read(const QString& sql, const QVariantList& params = {})
    {
        auto rs = core::gDatabase()->OpenRecordset(sql, params);
        return rs->Eof() ? -1 : rs->Field(0).toDouble();
    }
};

TEST_F(SetupShellTest, TheWorksheetsReplaceTheirPlaceholdersWithTheirIdsAndEditMenus)
{
    EXPECT_NE(Show<worksheets::frm14NVCTable>(4), nullptr);
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab14");
    EXPECT_TRUE(window->topMenu(4)->isEnabled());
    EXPECT_NE(Show<worksheets::frm15SRMaster>(5), nullptr);
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab15");
    EXPECT_TRUE(window->topMenu(4)->isEnabled());
    EXPECT_NE(Show<worksheets::frm16CostPerAcre>(6), nullptr);
    EXPECT_EQ(worksheets::gCurrentWorksheetID, "tab16");
    EXPECT_FALSE(window->topMenu(4)->isEnabled());
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(SetupShellTest, AValueStillBeingTypedIsStoredWhenTheWorksheetIsLeft)
{
    auto* nvc = Show<worksheets::frm14NVCTable>(4);
    ASSERT_NE(nvc, nullptr);
    const int fmu = nvc->currentFMUKey();
    nvc->grdNVC->setCurrentCell(3, 2);
    QLineEdit* editor = Editor(*nvc->grdNVC);
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, "-321");
    Show<worksheets::frm15SRMaster>(5);
    EXPECT_FLOAT_EQ(Read("SELECT FIL2 FROM NVCPerAcre WHERE FMZKey = ? AND ResourceNumber = 3", {fmu}), -321.0);
}

TEST_F(SetupShellTest, AnEditMenuPasteIsStoredLikeTyping)
{
    auto* costs = Show<worksheets::frm16CostPerAcre>(6);
    ASSERT_NE(costs, nullptr);
    const int fmu = costs->currentFMUKey();
    costs->grdCosts->setCurrentCell(4, worksheets::CostSizeGrid::Cost);
    ASSERT_TRUE(costs->grdCosts->isEditing());
    Editor(*costs->grdCosts)->setFocus();
    Editor(*costs->grdCosts)->selectAll();
    QApplication::clipboard()->setText("1,275");
    window->mnuEdit_Click(4);
    EXPECT_FLOAT_EQ(costs->currentTable()->Cost(3), 1275.0f);
    Show<worksheets::frm14NVCTable>(4);
    EXPECT_DOUBLE_EQ(Read("SELECT Cost FROM SuppressionPerAcreCost WHERE FMZKey = ? AND Sequence = 3", {fmu}), 1275.0);
}

TEST_F(SetupShellTest, LeavingTheResourceListDropsTheSharedTypesSoTheirNextUserSeesTheEdits)
{
    auto* list = Show<worksheets::frm15SRMaster>(5);
    ASSERT_NE(list, nullptr);
    auto* first = list->grdMasterList->rowObject<model::c38SRType>(1);
    const int key = first->ItemKey();
    list->grdMasterList->setCurrentCell(1, worksheets::frm15SRMaster::Cost);
    QLineEdit* editor = Editor(*list->grdMasterList);
    editor->selectAll();
    QTest::keyClicks(editor, "13,000.25");
    QTest::keyClick(editor, Qt::Key_Return);
    Show<worksheets::frm16CostPerAcre>(6);
    EXPECT_DOUBLE_EQ(model::GetSRType(key)->UnitCost(), 13000.25);
}

// The Alt letter of a caption ("Alt+L" for "De&lete FMU"), empty when it has none.
TEST_F(SetupShellTest, DeleteFMUIsPressedByItsAltLetter)
{
    auto* import = Show<worksheets::setup_situation::frm12Import>(2);
    ASSERT_NE(import, nullptr);
    ASSERT_GE(import->lstFMUList->count(), 1);
    QListWidget* units = import->lstFMUList;
    QTest::mouseClick(units->viewport(), Qt::LeftButton, {}, units->visualItemRect(units->item(0)).center());
    ASSERT_TRUE(import->cmdDeleteFMU->isEnabled());
    const QKeySequence alt = QKeySequence::mnemonic(import->cmdDeleteFMU->text());
    ASSERT_FALSE(alt.isEmpty());
    prompter.answer(ui::Answer::No);
    QTest::keySequence(window.get(), alt);
    // The button shows itself pressed for a moment before it acts.
    for (int i = 0; i < 50 && prompter.messages().isEmpty(); ++i)
        QTest::qWait(20);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.contains(units->item(0)->text()));
    EXPECT_EQ(units->count(), model::FMUCount());
}

} // namespace
