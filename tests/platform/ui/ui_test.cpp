#include "platform/ui/helpviewer.h"
#include "platform/ui/printersetup.h"
#include "platform/ui/itemdata.h"
#include "platform/ui/screen.h"
#include "platform/ui/scriptedprompter.h"
#include "platform/ui/waitcursor.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QListWidget>
#include <QPrinter>
#include <QScreen>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace ui;

namespace {
int OverrideDepth()
{
    // Count the stack of override cursors by taking them off, then put them back.
    int n = 0;
    while (QApplication::overrideCursor()) {
        QApplication::restoreOverrideCursor();
        ++n;
    }
    for (int i = 0; i < n; ++i)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    return n;
}
} // namespace

TEST(WaitCursor, OneCursorHoweverManyAskForIt)
{
    ASSERT_EQ(OverrideDepth(), 0);
    SetBusyCursor(true);          // the busy counter leaves 0
    BeginWaitCursor();            // a direct hourglass on top
    {
        WaitCursor scope;
        EXPECT_EQ(OverrideDepth(), 1);
        EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    }
    SetBusyCursor(false);         // the counter returns to 0 first
    EXPECT_TRUE(WaitCursorShown());
    EXPECT_EQ(OverrideDepth(), 1);
    EndWaitCursor();
    EXPECT_FALSE(WaitCursorShown());
    EXPECT_EQ(OverrideDepth(), 0);

    EndWaitCursor();              // unmatched: no effect, and the next request still shows it
    BeginWaitCursor();
    EXPECT_EQ(OverrideDepth(), 1);
    EndWaitCursor();
    EXPECT_EQ(OverrideDepth(), 0);
}

TEST(Screen, TwipsFollowTheLogicalInch)
{
    const double dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
    EXPECT_EQ(TwipsToPixels(1440), qRound(dpi));
    EXPECT_EQ(PixelsToTwips(TwipsToPixels(1440)), 1440);
    EXPECT_EQ(TwipsToPixels(0), 0);
    EXPECT_NEAR(ScreenHeightTwips(), QGuiApplication::primaryScreen()->geometry().height() * 1440.0 / dpi, 1);
}

TEST(ItemData, KeysOfListAndComboEntries)
{
    QComboBox combo;
    EXPECT_EQ(GetComboItemData(&combo), 0) << "no entries";
    AddComboItem(&combo, "A", 7);
    AddComboItem(&combo, "B", 9);
    AddComboItem(&combo, "B again", 9);
    combo.addItem("no key");

    SelectComboItemByData(&combo, 9);
    EXPECT_EQ(combo.currentIndex(), 1) << "the upper of two entries with the key";
    EXPECT_EQ(GetComboItemData(&combo), 9);
    SelectComboItemByData(&combo, 0);
    EXPECT_EQ(combo.currentIndex(), 3) << "an entry without a key carries 0";
    EXPECT_EQ(GetComboItemData(&combo), 0);
    SelectComboItemByData(&combo, 7);
    SelectComboItemByData(&combo, 42);
    EXPECT_EQ(combo.currentIndex(), -1) << "a key no entry carries clears the selection";

    QListWidget list;
    AddListItem(&list, "Alpha", 21);
    AddListItem(&list, "Beta", 35);
    EXPECT_EQ(GetListItemData(&list), 0);
    list.setCurrentRow(1);
    EXPECT_EQ(GetListItemData(&list), 35);
}

TEST(HelpViewer, OpensTheHtmlBesideTheHelpFileAtTheTopic)
{
    QTemporaryDir dir;
    SetHelpFile(dir.filePath("TolmarVire.hlp"));
    {
        ScriptedPrompter prompter;
        EXPECT_TRUE(HelpUrl(4810).isEmpty());
        EXPECT_FALSE(ShowHelp(nullptr, 4810));
        ASSERT_EQ(prompter.messages().size(), 1);
        EXPECT_TRUE(prompter.messages()[0].text.startsWith("No help file is installed."));
        EXPECT_EQ(HelpWindow(), nullptr);
    }

    QFile html(dir.filePath("TolmarVire.html"));
    ASSERT_TRUE(html.open(QIODevice::WriteOnly));
    html.write("<html><body><h1 id=\"contents\">Contents</h1><a name=\"4810\"></a><p>Report</p></body></html>");
    html.close();

    const QUrl topic = HelpUrl(4810);
    EXPECT_EQ(topic.toLocalFile(), dir.filePath("TolmarVire.html"));
    EXPECT_EQ(topic.fragment(), QStringLiteral("4810"));
    EXPECT_FALSE(HelpUrl(0).hasFragment()) << "context 0 is the contents";

    ScriptedPrompter prompter;
    EXPECT_TRUE(ShowHelp(nullptr, 4810));
    EXPECT_TRUE(prompter.messages().isEmpty());
    ASSERT_NE(HelpWindow(), nullptr);
    EXPECT_TRUE(HelpWindow()->isVisible());
    HelpWindow()->close();
    SetHelpFile({});
}

// Printer Setup and Print ask through the print dialog, with or without a printer installed: a
// PDF file chosen there is where the next print goes, and a cancel changes nothing.
TEST(PrinterSetup, TheDialogChoosesAPrinterOrAPdfFile)
{
    ScriptedPrompter prompter;
    ASSERT_EQ(PrinterModuleFailure(), QString());
    QPrinter& printer = *SharedPrinter().qtPrinter();
    const QPrinter::OutputFormat before = printer.outputFormat();
    const QString beforeFile = printer.outputFileName();
    ShowPrinterSetup();
    EXPECT_FALSE(ChoosePrinter());
    EXPECT_EQ(printer.outputFormat(), before);
    EXPECT_EQ(printer.outputFileName(), beforeFile);

    prompter.printTo(QStringLiteral("/tmp/setup.pdf"));
    ShowPrinterSetup();
    EXPECT_EQ(printer.outputFormat(), QPrinter::PdfFormat);
    EXPECT_EQ(printer.outputFileName(), QStringLiteral("/tmp/setup.pdf"));
    prompter.printTo(QStringLiteral("/tmp/print.pdf"));
    EXPECT_TRUE(ChoosePrinter());
    EXPECT_EQ(printer.outputFileName(), QStringLiteral("/tmp/print.pdf"));

    ASSERT_EQ(prompter.printDialogs().size(), 4);
    EXPECT_EQ(prompter.printDialogs()[0].title, QStringLiteral("Printer Setup"));
    EXPECT_TRUE(prompter.printDialogs()[0].setupOnly);
    EXPECT_EQ(prompter.printDialogs()[1].title, QStringLiteral("Print"));
    EXPECT_FALSE(prompter.printDialogs()[1].setupOnly);
    EXPECT_TRUE(prompter.messages().isEmpty()) << "no dead end without a printer";
    printer.setOutputFileName(beforeFile);
    printer.setOutputFormat(before);
}

// Without the printer module beside the program nothing prints: the print dialog says why
// instead of showing, and a report sent to the printer is not printed, the user told.
TEST(PrinterSetup, WithoutThePrinterModuleThePrintDialogSaysWhy)
{
    ScriptedPrompter prompter;
    struct Restore {
        ~Restore() { LoadPrinterModule(PrinterModulePath()); }
    } restore;
    const QString why = LoadPrinterModule(QStringLiteral("/nonexistent/tolmar_printer.so"));
    ASSERT_TRUE(why.startsWith(QStringLiteral("Nothing can be printed: the printer module \"/nonexistent/tolmar_printer.so\" "
                                              "cannot be loaded ("))) << why.toStdString();
    EXPECT_FALSE(ChoosePrinter(QStringLiteral("/tmp/report.pdf")));
    ShowPrinterSetup();
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_EQ(prompter.messages()[0].text, why);
    EXPECT_EQ(prompter.messages()[0].icon, Icon::Warning);
    EXPECT_TRUE(prompter.printDialogs().isEmpty());
    EXPECT_EQ(SharedPrinter().device(), nullptr);
    EXPECT_FALSE(SharedPrinter().isValid());
    EXPECT_EQ(LoadPrinterModule(PrinterModulePath()), QString());
    EXPECT_NE(SharedPrinter().qtPrinter(), nullptr);
}
