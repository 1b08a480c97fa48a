// A worksheet whose filling fails half way on an error of the data file is not left on screen:
// the user is told, the section's introduction takes its place, nothing of the half-filled page
// is saved, and once the file reads again the worksheet shows what the file holds.

#include "support/mainwindow_fixture.h"

#include "core/u11datafile.h"
#include "model/g33fmus.h"
#include "model/textnumbers.h"
#include "platform/dao/dao.h"
#include "platform/grid/grid.h"
#include "platform/tabs/indextab.h"
#include "shell/frm02tabs.h"
#include "shell/frm11intro.h"
#include "worksheets/setup_situation/frm14nvctable.h"

#include <QApplication>
#include <QLineEdit>

namespace {

class SetupFailureTest : public MainWindowFixture {};

// The NVC table of an FMU as the file holds it, each value as the grid shows it.
QStringList StoredNVC(int fmuKey)
{
    QStringList values;
    for (int r = 1; r <= 14; ++r) {
        for (int fil = 1; fil <= 6; ++fil) {
            auto rs = core::gDatabase()->OpenRecordset(
                QStringLiteral("SELECT FIL%1 FROM NVCPerAcre WHERE FMZKey = ? AND ResourceNumber = ?").arg(fil), {fmuKey, r});
            values << (rs->Eof() ? QString() : model::textnum::SingleText(rs->Field(0).toFloat()));
        }
    }
    return values;
}

QStringList ShownNVC(const worksheets::frm14NVCTable& page)
{
    QStringList values;
    for (int r = 1; r <= 14; ++r)
        for (int fil = 1; fil <= 6; ++fil)
            values << page.grdNVC->text(r, fil);
    return values;
}

} // namespace

TEST_F(SetupFailureTest, AWorksheetThatCannotBeFilledIsDroppedUnsaved)
{
    const int fmu = model::FMUListEntries().value(0).Key;
    const QStringList stored = StoredNVC(fmu);
    ASSERT_NE(stored.count(QStringLiteral("0")), stored.size()) << "a table with values to lose";

    // The NVC values cannot be read, once the grid and the FMU list of the worksheet are made.
    core::gDatabase()->Execute(QStringLiteral("ALTER TABLE NVCPerAcre RENAME TO NVCPerAcreHeld"));
    window->mnuTab_Click(4);
    QApplication::processEvents();
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.startsWith(QStringLiteral("An error occurred in the worksheet change.\r\n")))
        << prompter.messages()[0].text.toStdString();
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_TRUE(window->findChildren<worksheets::frm14NVCTable*>().isEmpty()) << "the half-filled page is gone";
    EXPECT_NE(qobject_cast<shell::frm11Intro*>(shell::CurrentWorksheetForm()), nullptr);
    EXPECT_EQ(worksheets::gCurrentWorksheetID, QStringLiteral("tab11"));
    EXPECT_EQ(window->tabsForm()->vsTab2()->currentTab(), 1);

    // The file reads again: the worksheet shows the stored values, not what the failed filling
    // left behind, and an edit of one value stores that value alone.
    core::gDatabase()->Execute(QStringLiteral("ALTER TABLE NVCPerAcreHeld RENAME TO NVCPerAcre"));
    auto* page = Show<worksheets::frm14NVCTable>(4);
    ASSERT_NE(page, nullptr);
    EXPECT_EQ(ShownNVC(*page), stored);
    page->grdNVC->setCurrentCell(1, 1);
    auto* editor = page->grdNVC->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("123"));
    window->mnuTab_Click(5);
    QStringList expected = stored;
    expected[0] = QStringLiteral("123");
    EXPECT_EQ(StoredNVC(fmu), expected);
    EXPECT_EQ(prompter.messages().size(), 1);
}
