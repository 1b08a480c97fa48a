#include "reports/frmpreview.h"

#include "platform/printing/reportpreview.h"
#include "platform/ui/printersetup.h"
#include "platform/ui/scriptedprompter.h"
#include "reports/pagefurniture.h"

#include <QFile>

#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(frmPreview, WindowSizeFollowsTheScreen)
{
    EXPECT_EQ(reports::PreviewWindowSize(QSize(12000, 9000)), QSize(12000, 8200));
    EXPECT_EQ(reports::PreviewWindowSize(QSize(19200, 17280)), QSize(12240, 15840));
    EXPECT_EQ(reports::PreviewWindowSize(QSize(19200, 16640)), QSize(12240, 15840));
}

TEST(frmPreview, SaveToFileRunsTheReportIntoTheChosenRtfFile)
{
    ui::ScriptedPrompter prompter;
    QList<std::pair<printing::Output, QString>> runs;
    bool exportFlagDuringRun = false;
    reports::SetReportProducer([&](printing::Output output, const QString& file) {
        runs.append({output, file});
        exportFlagDuringRun = reports::bRTFExport;
    });
    reports::frmPreview window;
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Print Preview"));
    QStringList captions;
    for (QPushButton* b : window.findChildren<QPushButton*>())
        captions << b->text();
    EXPECT_EQ(captions, (QStringList{"Save to File", "Print Page", "Print Report", "Close"}));

    window.cmdSave_Click();   // cancelled
    EXPECT_TRUE(runs.isEmpty());

    QTemporaryDir dir;
    prompter.file(dir.filePath(QStringLiteral("r.rtf")));
    window.cmdSave_Click();
    ASSERT_EQ(runs.size(), 1);
    EXPECT_EQ(runs[0].first, printing::Output::Rtf);
    EXPECT_EQ(runs[0].second, dir.filePath(QStringLiteral("r.rtf")));
    EXPECT_TRUE(exportFlagDuringRun);
    EXPECT_FALSE(reports::bRTFExport);

    window.cmdPrintReport_Click();
    ASSERT_EQ(runs.size(), 2);
    EXPECT_EQ(runs[1].first, printing::Output::Printer);
    reports::SetReportProducer(nullptr);
}

// A printed run sends its pages out as it goes and keeps none of them: the preview it was started
// from shows its pages again, not blank sheets.
TEST(frmPreview, PrintReportLeavesThePreviewWithItsPages)
{
    ui::ScriptedPrompter prompter;
    QTemporaryDir dir;
    ui::Printer& printer = ui::SharedPrinter();
    printer.setFile(dir.filePath(QStringLiteral("printed.pdf")));
    QList<printing::Output> runs;
    reports::SetReportProducer([&](printing::Output output, const QString& file) {
        runs.append(output);
        auto& vp = reports::VSPrinter1();
        vp.StartDoc(output, file);
        vp.Paragraph(QStringLiteral("the report"));
        vp.EndDoc();
    });
    reports::frmPreview window;
    window.cmdPrintReport_Click();
    EXPECT_EQ(runs, (QList<printing::Output>{printing::Output::Printer, printing::Output::Preview}));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("printed.pdf"))));
    EXPECT_TRUE(reports::VSPrinter1().KeepsPages());
    EXPECT_FALSE(reports::VSPrinter1().page(0).items.isEmpty());
    reports::SetReportProducer(nullptr);
    printer.setFile(QString());
}

TEST(frmPreview, ShowsTheDocumentAndHidesOnClose)
{
    ui::ScriptedPrompter prompter;
    auto& vp = reports::VSPrinter1();
    vp.StartDoc();
    vp.Paragraph(QStringLiteral("one"));
    vp.NewPage();
    vp.Paragraph(QStringLiteral("two"));
    vp.EndDoc();

    reports::frmPreview& window = reports::PreviewWindow();
    window.show();
    window.preview()->ShowPage(1);
    EXPECT_EQ(window.preview()->CurrentPage(), 1);
    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_PNG")) {
        window.grab().save(qEnvironmentVariable("TOLMAR_KEEP_PNG"));
    }
    window.cmdClose_Click();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(&reports::PreviewWindow(), &window) << "closing keeps the window and its document";
    reports::UnloadPreviewWindow();
    EXPECT_NE(reports::PreviewWindow().preview(), nullptr) << "a later report makes a new one";
    reports::UnloadPreviewWindow();
}
