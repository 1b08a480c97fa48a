#include "report_fixture.h"
#include "support/runtool.h"

#include "core/uimode.h"
#include "platform/ui/printersetup.h"

#include <QFile>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTimer>

using reports::VSPrinter1;

using testsupport::RunTool;

namespace {

QString RightOfRunningLine(int page)
{
    return printing::RunningLineParts(VSPrinter1().page(page).runningLine, page + 1).at(2);
}

bool HasPrinter()
{
    return !QPrinterInfo::availablePrinters().isEmpty();
}

}  // namespace

TEST_F(ReportFixture, SectionsRunInIndexOrderWithAPageBetweenTwo)
{
    ASSERT_TRUE(Produce({19, 1}));
    const QStringList calls = Calls();
    ASSERT_GE(calls.size(), 4);
    EXPECT_TRUE(calls[1].startsWith(QStringLiteral("Paragraph \"\" at 720,720 "))) << "section 1 opens the document";
    const qsizetype page = calls.indexOf(QStringLiteral("NewPage"));
    ASSERT_GT(page, 0);
    EXPECT_TRUE(calls[page - 1].contains(QStringLiteral("Dry cold front"))) << "the page follows the situation's last topic";
    ExpectCalls(calls.mid(page, 2), {
        QStringLiteral("NewPage"),
        QStringLiteral("Paragraph \"Incident Complexity Analysis\" at 720,770 margins 720,720,720,720 indents 0,0,0 align 1 F 12 b")});
    EXPECT_EQ(calls.last(), QStringLiteral("EndDoc")) << "no page after the last section";
    ASSERT_GE(VSPrinter1().PageCount(), 2);
    EXPECT_TRUE(VSPrinter1().PageRecord(1).last().startsWith(QStringLiteral("running 2 [Tolmar No. 12|Ridge|Page ___]")));
}

TEST_F(ReportFixture, PagesAreNumberedFromEightSectionsOn)
{
    ASSERT_TRUE(Produce({1, 2, 3, 4, 5, 6, 7}));
    ASSERT_EQ(VSPrinter1().PageCount(), 7);
    for (int p = 1; p < 7; ++p)
        EXPECT_EQ(RightOfRunningLine(p), QStringLiteral("Page ___")) << p;

    ASSERT_TRUE(Produce({1, 2, 3, 4, 5, 6, 7, 8}));
    ASSERT_EQ(VSPrinter1().PageCount(), 8);
    EXPECT_EQ(RightOfRunningLine(0), QString()) << "the situation's first page carries no running line";
    for (int p = 1; p < 8; ++p)
        EXPECT_EQ(RightOfRunningLine(p), QStringLiteral("Page %1").arg(p + 1)) << p;
}

TEST_F(ReportFixture, NoSectionGivesOneEmptyPage)
{
    ASSERT_TRUE(Produce({}));
    EXPECT_EQ(Calls(), (QStringList{"StartDoc", "EndDoc"}));
    EXPECT_EQ(VSPrinter1().PageCount(), 1);
}

TEST_F(ReportFixture, AShortPageHasABottomMarginOfAQuarterInch)
{
    reports::ReportSelection selection;
    selection.sections[2] = true;
    selection.count = 1;
    reports::SetLastSelection(selection);
    auto& vp = VSPrinter1();
    for (const QSize page : {QSize(15840, 12240), QSize(12240, 15840)}) {
        vp.SetPageSize(page.width(), page.height());
        ASSERT_TRUE(reports::ProduceSelectedSections(printing::Output::Preview));
        const QString bottom = page.height() <= 14400 ? QStringLiteral("360") : QStringLiteral("720");
        EXPECT_TRUE(Calls()[1].contains(QStringLiteral(" margins 720,720,720,") + bottom + u' ')) << Calls()[1].toStdString();
        EXPECT_TRUE(Calls().last(2).first().contains(u',' + bottom + QStringLiteral(" indents")))
            << "kept to the end of the report: " << Calls().last(2).first().toStdString();
    }
}

TEST_F(ReportFixture, PdfOfTheFourSectionsHoldsTheFireAndTheApprovalBlock)
{
    const QString pdf = QDir(tempDir()).filePath(QStringLiteral("Ridge.pdf"));
    ASSERT_TRUE(Produce({1, 2, 3, 5}, printing::Output::Pdf, pdf));
    EXPECT_TRUE(prompter.messages().isEmpty());
    EXPECT_EQ(VSPrinter1().PageCount(), 4);
    EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+4\\b"))));
    if (!HasPrinter())   // letter paper unless a printer says otherwise
        EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("612 x 792")));
    const QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_PDF"))
        QFile::copy(pdf, qEnvironmentVariable("TOLMAR_KEEP_PDF"));
    for (const char* expected : {"Ardwyn", "Fire Name: Ridge", "Tolmar No. 12", "Decision Summary", "A. Strategy 1",
                                 "Analysis prepared by:", "Agency Administrator Approval", "Date/Time", "Daily Review",
                                 "Final Review", "Resource Management Objectives", "Owyhee Uplands", "Code: {P0K3}"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(expected))) << expected;
}

TEST_F(ReportFixture, SavingToAFileWritesTheRtfAndNeverPrints)
{
    // A print run first: the output of one run must not carry over into the next.
    prompter.printTo(QDir(tempDir()).filePath(QStringLiteral("Ridge.pdf")));
    ASSERT_TRUE(Produce({2}, printing::Output::Printer));
    prompter.clear();
    const QString rtf = QDir(tempDir()).filePath(QStringLiteral("Ridge.rtf"));
    ASSERT_TRUE(Produce({1, 2, 3, 5}, printing::Output::Rtf, rtf));
    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_RTF"))
        QFile::copy(rtf, qEnvironmentVariable("TOLMAR_KEEP_RTF"));
    // No printer was asked for: the one message says where the report went.
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text, "The report was saved in the file\r\n" + QDir::toNativeSeparators(rtf));
    EXPECT_EQ(VSPrinter1().output(), printing::Output::Rtf);
    EXPECT_FALSE(reports::bRTFExport);
    QFile file(rtf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    EXPECT_TRUE(bytes.startsWith("{\\rtf1"));
    EXPECT_TRUE(bytes.contains("Agency Administrator Approval"));
    EXPECT_TRUE(bytes.contains("Estimated target suppression cost and size"));
    EXPECT_TRUE(bytes.contains("\\{P0K3\\}\\\\x")) << "a typed value stays text in the file";
}

TEST_F(ReportFixture, AFailedRunTellsTheUserAndLeavesNothingHalfDone)
{
    const QString rtf = QDir(tempDir()).filePath(QStringLiteral("Ridge.rtf"));
    testsupport::ClearModelCaches();
    core::CloseDatafile();   // every section now fails to read the analysis
    EXPECT_FALSE(Produce({2, 3}, printing::Output::Rtf, rtf));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.startsWith(QStringLiteral("The report could not be produced.")));
    EXPECT_TRUE(prompter.messages()[0].text.endsWith(QStringLiteral("Nothing was printed or saved.")));
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);
    EXPECT_FALSE(QFile::exists(rtf));
    EXPECT_FALSE(reports::bRTFExport);
    EXPECT_TRUE(core::IsIdle());
    EXPECT_FALSE(reports::ReportRunning());
    EXPECT_FALSE(VSPrinter1().IsDocOpen());
    EXPECT_EQ(Calls().last(), QStringLiteral("CancelDoc"));
}

TEST_F(ReportFixture, ASecondRunWhileOneIsUnderWayIsRefused)
{
    bool second = true;
    // Window events run between two sections; a click there asks for another run.
    QTimer::singleShot(0, [&] { second = reports::RunReport(printing::Output::Preview); });
    ASSERT_TRUE(Produce({2, 3}));
    EXPECT_FALSE(second);
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text,
              QStringLiteral("A report is being produced.\r\nWait until it is finished, then try again."));
    EXPECT_EQ(VSPrinter1().PageCount(), 2) << "the first run is whole";
    EXPECT_EQ(Calls().count(QStringLiteral("StartDoc")), 1);
}

TEST(ReportPageSize, FollowsThePrintersPaper)
{
    ui::Printer& shared = ui::SharedPrinter();
    QPrinter& printer = *shared.qtPrinter();
    const QPageLayout before = printer.pageLayout();
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setPageOrientation(QPageLayout::Landscape);
    EXPECT_EQ(reports::PageSizeOf(shared), QSize(16838, 11906));
    printer.setPageSize(QPageSize(QPageSize::Letter));
    printer.setPageOrientation(QPageLayout::Portrait);
    EXPECT_EQ(reports::PageSizeOf(shared), QSize(12240, 15840));
    printer.setPageLayout(before);
    if (!HasPrinter())
        EXPECT_EQ(reports::ReportPageSize(), QSize(12240, 15840));
}
