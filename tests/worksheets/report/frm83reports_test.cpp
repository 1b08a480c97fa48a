#include "reports/report_fixture.h"
#include "support/placedform.h"
#include "support/runtool.h"

#include "worksheets/common/worksheetform.h"
#include "worksheets/report/frm83reports.h"
#include "worksheets/report/registerforms.h"

#include <QCheckBox>
#include <QFile>
#include <QGroupBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QRadioButton>
#include <QTest>
#include <QApplication>

#include <memory>

using reports::VSPrinter1;
using testsupport::RunTool;

namespace {

class frm83ReportsTest : public ReportFixture {
protected:
    void SetUp() override
    {
        ReportFixture::SetUp();
        worksheets::report::RegisterForms();
        form.reset(static_cast<worksheets::report::frm83Reports*>(testsupport::CreateForm(QStringLiteral("tab83")).release()));
        ASSERT_NE(form, nullptr);
        form->Setup();
    }
    void TearDown() override
    {
        form.reset();
        reports::UnloadPreviewWindow();
        ReportFixture::TearDown();
    }

    QPushButton* Button(const QString& caption) const
    {
        for (QPushButton* b : form->findChildren<QPushButton*>())
            if (b->text() == caption)
                return b;
        return nullptr;
    }

    std::unique_ptr<worksheets::report::frm83Reports> form;
};

}  // namespace

TEST_F(frm83ReportsTest, ListsTheNineteenSectionsUncheckedWithItsCommands)
{
    EXPECT_EQ(worksheets::gCurrentWorksheetID, QStringLiteral("tab83"));
    const QStringList captions = {"Situation", "Decision, Rationale", "Signature Page", "Values at Risk", "Resource Objectives",
                                  "Suppression Objectives", "Safety Issues", "Alternatives", "Estimated Suppression Cost",
                                  "AAC Table", "Values Protected", "Estimated Loss", "Computation of NVC", "NVC Tables",
                                  "Safety Assessment", "Decision Tree", "Comparison Matrix", "Comparison Graphs",
                                  "Complexity Analysis"};
    for (int i = 1; i <= 19; ++i) {
        EXPECT_EQ(form->chkSection(i)->text(), captions[i - 1]);
        EXPECT_FALSE(form->chkSection(i)->isChecked());
    }
    for (const char* caption : {"Pre&view", "&Print", "Save to File...", "Select All", "Clear All", "Printer &Setup"})
        EXPECT_NE(Button(QString::fromLatin1(caption)), nullptr) << caption;
    const QGroupBox* colors = form->findChild<QGroupBox*>();
    ASSERT_NE(colors, nullptr);
    EXPECT_EQ(colors->title(), QStringLiteral("Graph Colors"));
    QStringList options;
    for (const QRadioButton* r : colors->findChildren<QRadioButton*>())
        options << r->text() + (r->isChecked() ? QStringLiteral("*") : QString());
    EXPECT_EQ(options, (QStringList{"B/W patterns", "Colored patterns*", "Solid colors"}));

    form->cmdSelect_Click();
    for (int i = 1; i <= 19; ++i)
        EXPECT_TRUE(form->chkSection(i)->isChecked());
    form->cmdClear_Click();
    for (int i = 1; i <= 19; ++i)
        EXPECT_FALSE(form->chkSection(i)->isChecked());
}

TEST_F(frm83ReportsTest, PreviewShowsTheChosenSectionsAndThePreviewPrintsThemAfterTheWorksheetIsGone)
{
    form->chkSection(17)->setChecked(true);
    form->chkSection(2)->setChecked(true);
    for (QRadioButton* r : form->findChildren<QRadioButton*>())
        if (r->text() == QStringLiteral("Solid colors"))
            r->setChecked(true);
    Button(QStringLiteral("Pre&view"))->click();
    EXPECT_EQ(form->SelectedSectionCount(), 2);
    EXPECT_EQ(reports::SelectedSectionCount(), 2);
    EXPECT_EQ(reports::GraphColorOption(), reports::GraphColors::Solid);
    reports::frmPreview& preview = reports::PreviewWindow();
    EXPECT_TRUE(preview.isVisible());
    // The summary's page, then the matrix: a page for alternatives A to C and one for D.
    ASSERT_EQ(VSPrinter1().PageCount(), 3);
    EXPECT_TRUE(Calls()[1].startsWith(QStringLiteral("Paragraph \"Decision Summary\"")));
    EXPECT_EQ(Calls().filter(QStringLiteral("Paragraph \"Comparison of Alternatives\"")).size(), 2);
    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_PNG")) {
        form->resize(900, 640);
        form->grab().save(qEnvironmentVariable("TOLMAR_KEEP_PNG") + QStringLiteral("-worksheet.png"));
        preview.resize(820, 900);
        preview.grab().save(qEnvironmentVariable("TOLMAR_KEEP_PNG") + QStringLiteral("-preview.png"));
    }

    form.reset();   // the user leaves the worksheet
    VSPrinter1().StartDoc();   // anything else in the document meanwhile
    VSPrinter1().EndDoc();
    const QString pdf = QDir(tempDir()).filePath(QStringLiteral("printed.pdf"));
    prompter.printTo(pdf);
    preview.cmdPrintReport_Click();
    // The printed pages went out as they were laid out; the preview lays out and keeps its own again.
    EXPECT_EQ(VSPrinter1().output(), printing::Output::Preview);
    EXPECT_TRUE(VSPrinter1().KeepsPages());
    EXPECT_TRUE(Calls()[1].startsWith(QStringLiteral("Paragraph \"Decision Summary\"")));
    EXPECT_EQ(VSPrinter1().PageCount(), 3);
    EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\b"))));
}

TEST_F(frm83ReportsTest, SaveToFileCancelledDoesNothingAndAChosenFileGetsTheReport)
{
    form->chkSection(3)->setChecked(true);
    VSPrinter1().StartDoc();
    VSPrinter1().EndDoc();
    Button(QStringLiteral("Save to File..."))->click();
    ASSERT_EQ(prompter.dialogs().size(), 1);
    EXPECT_EQ(prompter.dialogs()[0].title, QStringLiteral("Save as RTF File"));
    EXPECT_EQ(prompter.dialogs()[0].fileName, QStringLiteral("Fire1.rtf"));
    EXPECT_EQ(Calls(), (QStringList{"StartDoc", "EndDoc"})) << "a cancelled dialog produces nothing";

    const QString file = QDir(tempDir()).filePath(QStringLiteral("Ridge.rtf"));
    prompter.file(file);
    Button(QStringLiteral("Save to File..."))->click();
    EXPECT_TRUE(QFile::exists(file));
    EXPECT_EQ(VSPrinter1().output(), printing::Output::Rtf);
    EXPECT_FALSE(reports::PreviewWindow().isVisible()) << "saving shows no preview";
    // The dialog is gone: the user is told where the report went.
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_EQ(prompter.messages()[0].text,
              QStringLiteral("The report was saved in the file\r\n") + QDir::toNativeSeparators(file));
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Information);
}

TEST_F(frm83ReportsTest, PrinterSetupShowsTheSystemDialog)
{
    Button(QStringLiteral("Printer &Setup"))->click();
    ASSERT_EQ(prompter.printDialogs().size(), 1);
    EXPECT_EQ(prompter.printDialogs()[0].title, QStringLiteral("Printer Setup"));
    EXPECT_TRUE(prompter.messages().isEmpty());
}

// Print asks where the pages go before it lays them out: a cancel leaves the document as it was
// and asks nothing more; a PDF file chosen there gets the pages, with no printer installed.
TEST_F(frm83ReportsTest, PrintAsksWhereThePagesGoAndACancelPrintsNothing)
{
    form->chkSection(3)->setChecked(true);
    VSPrinter1().StartDoc();
    VSPrinter1().EndDoc();
    Button(QStringLiteral("&Print"))->click();
    ASSERT_EQ(prompter.printDialogs().size(), 1);
    EXPECT_EQ(prompter.printDialogs()[0].title, QStringLiteral("Print"));
    EXPECT_TRUE(prompter.printDialogs()[0].fileName.endsWith(QStringLiteral("/Fire1.pdf")))
        << "a file named after the analysis, for printing to a file";
    EXPECT_EQ(Calls(), (QStringList{"StartDoc", "EndDoc"})) << "a cancelled dialog produces nothing";
    EXPECT_TRUE(prompter.messages().isEmpty());

    const QString pdf = QDir(tempDir()).filePath(QStringLiteral("Signature.pdf"));
    prompter.printTo(pdf);
    Button(QStringLiteral("&Print"))->click();
    EXPECT_TRUE(RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).contains(QStringLiteral("Final Review")));
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(frm83ReportsTest, PreviewRunsTheReportAgainOnlyWhileThereIsAProducer)
{
    reports::frmPreview& preview = reports::PreviewWindow();
    auto button = [&](const char* caption) {
        for (QPushButton* b : preview.findChildren<QPushButton*>())
            if (b->text() == QString::fromLatin1(caption))
                return b;
        return static_cast<QPushButton*>(nullptr);
    };
    EXPECT_TRUE(button("Save to File")->isEnabled());
    EXPECT_TRUE(button("Print Report")->isEnabled());
    reports::SetReportProducer(nullptr);
    EXPECT_FALSE(button("Save to File")->isEnabled());
    EXPECT_FALSE(button("Print Report")->isEnabled());
    EXPECT_TRUE(button("Print Page")->isEnabled());
    worksheets::report::RegisterForms();
    EXPECT_TRUE(button("Save to File")->isEnabled());
}

TEST_F(frm83ReportsTest, TheKeyboardAloneChoosesAndPrints)
{
    form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    form->chkSection(1)->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(form->chkSection(1)->isChecked());
    VSPrinter1().StartDoc();   // whatever an earlier run left
    VSPrinter1().EndDoc();
    const QString pdf = QDir(tempDir()).filePath(QStringLiteral("printed.pdf"));
    prompter.printTo(pdf);
    QTest::keyClick(form->windowHandle(), Qt::Key_P, Qt::AltModifier);
    // An access key presses its button visibly: the click comes a moment later.
    QTest::qWaitFor([] { return VSPrinter1().output() == printing::Output::Printer; });
    EXPECT_EQ(VSPrinter1().output(), printing::Output::Printer);
    EXPECT_EQ(reports::SelectedSectionCount(), 1);
    EXPECT_FALSE(reports::PreviewWindow().isVisible()) << "printing shows no preview";
    EXPECT_EQ(prompter.printDialogs().size(), 1);
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(prompter.messages().isEmpty());
    QTest::keyClick(form->windowHandle(), Qt::Key_V, Qt::AltModifier);
    QTest::qWaitFor([] { return reports::PreviewWindow().isVisible(); });
    EXPECT_EQ(VSPrinter1().output(), printing::Output::Preview);
    EXPECT_TRUE(reports::PreviewWindow().isVisible());
}
