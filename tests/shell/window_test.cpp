#include "shellfixture.h"

#include "core/u21display.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "platform/ui/helpviewer.h"
#include "platform/ui/screen.h"
#include "platform/ui/waitcursor.h"
#include "shell/a1tolmar.h"
#include "shell/frm01start.h"

#include <QApplication>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>

using namespace shelltest;

TEST(Display, ScreenHeightDecidesTheMainWindowFit)
{
    struct Case {
        int height;
        core::DisplayFit fit;
        bool message;
    };
    const QList<Case> cases = {{6000, core::DisplayFit::TooSmall, true}, {7999, core::DisplayFit::TooSmall, true},
                               {8000, core::DisplayFit::Maximize, false}, {9119, core::DisplayFit::Maximize, false},
                               {9120, core::DisplayFit::Place, false}, {15000, core::DisplayFit::Place, false}};
    for (const Case& c : cases) {
        ui::ScriptedPrompter prompter;
        EXPECT_EQ(core::CheckDisplay(c.height), c.fit) << c.height;
        ASSERT_EQ(prompter.messages().size(), c.message ? 1 : 0) << c.height;
        if (c.message) {
            const ui::Message& m = prompter.messages()[0];
            EXPECT_EQ(m.text, QStringLiteral("This program is designed for display at 800 x 600 resolution or higher.\r\n"
                                             "You may have difficulty using the program with your current display settings."));
            EXPECT_EQ(m.buttons, ui::Buttons::OK);
            EXPECT_EQ(m.icon, ui::Icon::None);
            EXPECT_EQ(m.title, ui::kProgramTitle);
        }
    }
}

TEST(Display, CenterFormKeepsTheSizeAndCentresOverTheMainWindow)
{
    EXPECT_EQ(core::CenterForm(QRect(100, 50, 800, 600), QRect(0, 0, 200, 100)), QRect(400, 300, 200, 100));
    const QRect wide = core::CenterForm(QRect(100, 50, 800, 600), QRect(5, 5, 1000, 100));
    EXPECT_EQ(wide.left(), 0) << "a form wider than the main window stands out to the left";
    EXPECT_EQ(wide.size(), QSize(1000, 100));
    EXPECT_EQ(core::GetCopyrightText().count("\r\n"), 2);
}

TEST(Display, KeepOnScreenMovesTheLeastThatBringsAFormInside)
{
    const QRect screen(0, 0, 1280, 900);
    const struct {
        QRect form;
        QPoint expected;
    } cases[] = {
        {QRect(100, 100, 400, 300), QPoint(100, 100)},    // inside: stays
        {QRect(-96, 50, 1000, 500), QPoint(0, 50)},       // out to the left
        {QRect(1000, 700, 400, 300), QPoint(880, 600)},   // out to the right and below
        {QRect(-10, -20, 1400, 1000), QPoint(0, 0)},      // larger than the screen: its top left in view
    };
    for (const auto& c : cases) {
        const QRect kept = core::KeepOnScreen(c.form, screen);
        EXPECT_EQ(kept.topLeft(), c.expected) << c.form.x() << "," << c.form.y();
        EXPECT_EQ(kept.size(), c.form.size());
    }
}

TEST_F(ShellTest, WorksheetsFillTheClientAboveTheTabRowsAsTheWindowResizes)
{
    startWithFile();
    window->mnuTab_Click(2);
    QWidget* page = form();
    ASSERT_NE(page, nullptr);
    auto twips = [](int px) { return ui::PixelsToTwips(px); };
    EXPECT_EQ(twips(page->x()), 120);
    EXPECT_EQ(twips(page->y()), 30);
    EXPECT_EQ(twips(page->width()), twips(window->client()->width()) - 240);
    EXPECT_EQ(tabs()->y() + tabs()->height(), window->client()->height()) << "tab rows docked at the bottom";
    EXPECT_EQ(tabs()->width(), window->client()->width());

    window->resize(700, 500);
    QApplication::processEvents();
    EXPECT_EQ(tabs()->y() + tabs()->height(), window->client()->height());
    EXPECT_EQ(twips(page->width()), twips(window->client()->width()) - 240);
    EXPECT_EQ(page->y() + page->height(), tabs()->y() + ui::TwipsToPixels(15));

    // A client no wider than 255 twips, or no taller than the tab rows plus 30, keeps the
    // worksheet's last width and height.
    const QSize before = page->size();
    window->client()->resize(ui::TwipsToPixels(255), tabs()->height() + ui::TwipsToPixels(30));
    shell::FitWorksheetForm(page);
    EXPECT_EQ(page->size(), before);
    EXPECT_EQ(page->pos(), QPoint(ui::TwipsToPixels(120), ui::TwipsToPixels(30)));
}

TEST_F(ShellTest, ResizingOnTheStartPageMovesNoTabRows)
{
    window->Startup(QString());
    window->resize(640, 480);
    QApplication::processEvents();
    EXPECT_FALSE(window->tabsLoaded());
    EXPECT_EQ(window->startPage()->geometry(), window->client()->rect());
}

TEST_F(ShellTest, OneWaitCursorForTheBusyCounterAndTheLoad)
{
    core::SetBusyCursorHandler(ui::SetBusyCursor);
    window->Startup(QString());
    core::BeginBusy();
    core::BeginBusy();
    EXPECT_EQ(QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor, Qt::WaitCursor);
    const QString path = CopyTemplate(dir, "Busy.tlm");
    shell::StartWithFile(path);   // the load shows the hourglass itself and takes it down again
    EXPECT_NE(QApplication::overrideCursor(), nullptr) << "the counter still holds the hourglass";
    core::EndBusy();
    EXPECT_NE(QApplication::overrideCursor(), nullptr);
    core::EndBusy();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "one restore when the counter returns to 0";
    shell::StartWithFile(path);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    core::SetBusyCursorHandler({});
}

TEST_F(ShellTest, HelpForTheCurrentWorksheetOpensItsTopic)
{
    startWithFile();
    QFile html(dir.filePath("TolmarVire.html"));
    ASSERT_TRUE(html.open(QIODevice::WriteOnly));
    html.write("<html><body><a name=\"4810\"></a><p>Report</p><a name=\"4710\"></a><p>Complexity</p></body></html>");
    html.close();
    ui::SetHelpFile(dir.filePath("TolmarVire.hlp"));

    for (auto [section, context] : {std::pair{7, 4810}, std::pair{8, 4710}}) {
        window->mnuSection_Click(section);
        window->mnuHelp_Click(1);
        ASSERT_NE(ui::HelpWindow(), nullptr);
        auto* browser = ui::HelpWindow()->findChild<QTextBrowser*>();
        ASSERT_NE(browser, nullptr);
        EXPECT_EQ(browser->source().fragment(), QString::number(context));
    }
    ui::HelpWindow()->close();
    QFile::remove(dir.filePath("TolmarVire.html"));
    window->mnuHelp_Click(2);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.startsWith("No help file is installed."));
}

namespace {
QString TraceText()
{
    QFile f(core::JoinPath(core::LogFolder(), QStringLiteral("Tolmar.LOG")));
    return f.open(QIODevice::ReadOnly) ? QString::fromUtf8(f.readAll()) : QString();
}
} // namespace

TEST_F(ShellTest, SectionChangeFromAWorksheetRunsInTheOrderOfTheTabRows)
{
    startWithFile();
    window->mnuTab_Click(4);
    const qsizetype start = TraceText().size();
    window->mnuSection_Click(3);
    const QString trace = TraceText().mid(start);
    const QStringList order = {"switch to section 3",
                               "a3Tolmarforms.UpdateCurrentWorksheet tab14",
                               "ChangeSections",
                               "switch to worksheet 1",
                               "a3Tolmarforms.UpdateCurrentWorksheet tab14",
                               "a3Tolmarforms.UnloadCurrentWorksheet, ID = tab14",
                               "a3Tolmarforms.DisplayWorksheet 1",
                               "frm11Intro.Setup",
                               "switching worksheets",
                               "a3Tolmarforms.DisplayWorksheet 1",
                               "frm11Intro.Setup",
                               "switching sections"};
    qsizetype at = 0;
    for (const QString& step : order) {
        const qsizetype found = trace.indexOf(step, at);
        ASSERT_GE(found, 0) << "missing or out of order: " << step.toStdString() << "\n" << trace.toStdString();
        at = found + step.size();
    }
    EXPECT_EQ(trace.count("frm11Intro.Setup"), 2);

    // An unload with no worksheet on screen writes its line and leaves the id empty.
    shell::UnloadCurrentWorksheet();
    shell::UnloadCurrentWorksheet();
    EXPECT_TRUE(TraceText().endsWith("a3Tolmarforms.UnloadCurrentWorksheet, ID = \n") ||
                TraceText().endsWith("a3Tolmarforms.UnloadCurrentWorksheet, ID = \r\n"));
    EXPECT_EQ(id(), QString());
}

TEST_F(ShellTest, DialogsCentreOverTheMainWindow)
{
    window->move(40, 30);
    QWidget dialog(nullptr, Qt::Dialog);
    dialog.resize(200, 120);
    dialog.show();
    worksheets::CenterForm(&dialog);
    const QRect main = window->frameGeometry();
    const QRect d = dialog.frameGeometry();
    EXPECT_EQ(d.left(), main.left() + (main.width() - d.width()) / 2);
    EXPECT_EQ(d.top(), main.top() + (main.height() - d.height()) / 2);
    EXPECT_EQ(dialog.size(), QSize(200, 120));

    // Wider than the main window at the screen's left edge: it opens whole on the screen, not
    // with its left part out of reach.
    window->move(0, 0);
    dialog.resize(window->width() + 200, 120);
    worksheets::CenterForm(&dialog);
    EXPECT_GE(dialog.frameGeometry().left(), window->screen()->availableGeometry().left());
}

TEST_F(ShellTest, F1OnTheFileSectionAndEditMenusShowsTheirHelp)
{
    startWithFile();
    window->mnuTab_Click(3);
    QFile html(dir.filePath("TolmarVire.html"));
    ASSERT_TRUE(html.open(QIODevice::WriteOnly));
    html.write("<html><body><a name=\"9100\"></a><p>Menus</p></body></html>");
    html.close();
    ui::SetHelpFile(dir.filePath("TolmarVire.hlp"));
    for (int top : {1, 2, 4}) {
        QMenu* menu = window->topMenu(top);
        menu->popup(window->mapToGlobal(QPoint(10, 10)));
        QTest::keyClick(menu, Qt::Key_F1);
        ASSERT_NE(ui::HelpWindow(), nullptr) << top;
        EXPECT_EQ(ui::HelpWindow()->findChild<QTextBrowser*>()->source().fragment(), QStringLiteral("9100")) << top;
        EXPECT_FALSE(menu->isVisible());
        ui::HelpWindow()->close();
    }
}
