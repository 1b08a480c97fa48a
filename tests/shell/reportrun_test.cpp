// A report run lets the screen catch up between its sections, and takes no input meanwhile: a
// user who presses the window's close box, File > Open or another worksheet's tab while it runs
// finds the report made, the worksheet still on screen and the file as it was.

#include "support/mainwindow_fixture.h"

#include "platform/tabs/indextab.h"
#include "reports/frmpreview.h"
#include "reports/reportproduction.h"
#include "shell/frm02tabs.h"
#include "worksheets/report/frm83reports.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpontaneKeyEvent>
#include <QTabBar>
#include <QTimer>

namespace {

class ReportRunTest : public MainWindowFixture {
protected:
    void TearDown() override
    {
        reports::UnloadPreviewWindow();
        MainWindowFixture::TearDown();
    }

    QByteArray FileBytes() const
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    // What a user's hand does: a click in the middle of a rectangle of a widget.
    static void Click(QWidget* widget, const QRect& where)
    {
        QTest::mouseClick(widget, Qt::LeftButton, {}, where.center());
    }

    void PressCloseBox()
    {
        QCloseEvent close;
        QSpontaneKeyEvent::setSpontaneous(&close);
        QApplication::sendEvent(window->windowHandle(), &close);
    }

    void ChooseFileOpen()
    {
        QMenuBar* bar = window->menuBar();
        QAction* file = bar->actions().value(0);
        ASSERT_NE(file, nullptr);
        ASSERT_EQ(file->text(), QStringLiteral("&File"));
        Click(bar, bar->actionGeometry(file));
        QMenu* menu = file->menu();
        QAction* open = menu->actions().value(1);
        ASSERT_EQ(open->text(), QStringLiteral("&Open"));
        Click(menu, menu->actionGeometry(open));
    }

    void PressTopicsTab()
    {
        QTabBar* row = window->tabsForm()->vsTab2()->bar();
        Click(row, row->tabRect(2));
    }
};

} // namespace

TEST_F(ReportRunTest, CloseOpenAndATabPressedDuringARunAreDropped)
{
    window->mnuSection_Click(7);
    auto* form = Show<worksheets::report::frm83Reports>(3);
    ASSERT_NE(form, nullptr);
    for (int i = 1; i <= reports::kSectionCount; ++i)
        form->chkSection(i)->setChecked(true);
    QPushButton* preview = nullptr;
    for (QPushButton* button : form->findChildren<QPushButton*>())
        if (button->text() == QStringLiteral("Pre&view"))
            preview = button;
    ASSERT_NE(preview, nullptr);
    // An undisturbed run first: it stores the default of a setting it reads.
    QTest::mouseClick(preview, Qt::LeftButton);
    reports::PreviewWindow().hide();
    const QByteArray before = FileBytes();
    ASSERT_FALSE(before.isEmpty());

    // Due at the first moment the run lets the event loop go, after its first section.
    bool pressedMidRun = false;
    QTimer::singleShot(0, window.get(), [&] {
        pressedMidRun = reports::ReportRunning();
        PressTopicsTab();
        ChooseFileOpen();
        PressCloseBox();
    });
    QTest::mouseClick(preview, Qt::LeftButton);

    EXPECT_TRUE(pressedMidRun);
    EXPECT_FALSE(reports::ReportRunning());
    EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().value(0).text.toStdString();
    EXPECT_TRUE(prompter.dialogs().isEmpty()) << "no file was asked for";
    // The whole report is there: the preview shows it, a page at least for each section.
    EXPECT_TRUE(reports::PreviewWindow().isVisible());
    EXPECT_GT(reports::VSPrinter1().PageCount(), 19);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(core::gFileOpen());
    EXPECT_EQ(shell::CurrentWorksheetForm(), form);
    EXPECT_EQ(worksheets::gCurrentWorksheetID, QStringLiteral("tab83"));
    EXPECT_EQ(window->tabsForm()->vsTab2()->currentTab(), 3);
    EXPECT_EQ(FileBytes(), before);

    // Once the run is over the same hand works again.
    PressTopicsTab();
    EXPECT_EQ(worksheets::gCurrentWorksheetID, QStringLiteral("tab82"));
}
