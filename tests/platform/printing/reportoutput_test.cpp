#include "printing_fixture.h"
#include "support/runtool.h"

#include "platform/printing/reportpreview.h"
#include "platform/printing/reporttable.h"
#include "platform/richtext/rtf.h"
#include "platform/ui/printersetup.h"
#include "platform/ui/scriptedprompter.h"

#include <QPainter>
#include <QPrinter>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextTable>
#include <QTextCursor>
#include <QTextFrame>

#include <sys/stat.h>

using testsupport::RunTool;

namespace {
// Three pages: paragraphs, a rich paragraph, a table, a drawing object for the RTF form.
void ProduceSample(printing::ReportDocument& doc, printing::Output output, const QString& file)
{
    doc.StartDoc(output, file);
    doc.SetRunningLine(QStringLiteral("Tolmar No. 7|Ridge Fire|Page %d"));
    doc.SetFontSize(12);
    doc.SetFontBold(true);
    doc.Paragraph(QStringLiteral("Decision Summary"));
    doc.SetFontBold(false);
    doc.SetFontSize(10);
    doc.Paragraph(QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Courier New;}}{\\colortbl;\\red255\\green0\\blue0;}"
                                 "\\f0\\fs20 Narrative with {\\cf1\\b red bold} text.\\par}"));
    doc.SetTableLineStyle(printing::LineStyle::Grid);
    doc.TableRows(QStringLiteral("6470|>1630|^1070|>1630;Item|Potential Loss ($)|Probability of Loss (%)|Expected Value at Risk ($);"
                                 "Cabin|125,000|30|38,000;"));
    doc.InsertRtf(QStringLiteral("{\\shp{\\shpleft280\\shptop280\\shpright1280\\shpbottom2280}}"));
    doc.NewPage();
    doc.Paragraph(QStringLiteral("Second page text"));
    doc.NewPage();
    doc.Paragraph(QStringLiteral("Third page text"));
    doc.EndDoc();
}
}  // namespace

TEST(ReportOutput, PdfOfThreePagesHoldsThePrintedText)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    printing::ReportDocument doc;
    ProduceSample(doc, printing::Output::Pdf, pdf);
    ASSERT_EQ(doc.PageCount(), 3);
    ASSERT_TRUE(QFile::exists(pdf));
    // The pages a preview keeps give the same file as a run written straight to it.
    printing::ReportDocument preview;
    ProduceSample(preview, printing::Output::Preview, QString());
    const QString again = dir.filePath(QStringLiteral("again.pdf"));
    ASSERT_TRUE(preview.WritePdf(again));
    EXPECT_EQ(RunTool(QStringLiteral("pdftotext"), {again, QStringLiteral("-")}),
              RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}));

    const QString info = RunTool(QStringLiteral("pdfinfo"), {pdf});
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\b")))) << info.toStdString();
    EXPECT_TRUE(info.contains(QStringLiteral("612 x 792"))) << "letter portrait";
    const QString text = RunTool(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    for (const char* expected : {"Decision Summary", "Narrative with red bold text.", "Cabin", "125,000",
                                 "Second page text", "Third page text", "Tolmar No. 7", "Ridge Fire", "Page 3"})
        EXPECT_TRUE(text.contains(QString::fromLatin1(expected))) << expected << "\n" << text.toStdString();

    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_PDF"))
        QFile::copy(pdf, qEnvironmentVariable("TOLMAR_KEEP_PDF"));
}

// A run written to a file sends each page out as it finishes and keeps nothing of what it drew,
// so a report of any length takes the memory of one page; an earlier file of the same name is
// replaced only by a whole report, never by a failed or cancelled one.
TEST(ReportOutput, PdfRunKeepsNoPagesAndReplacesTheFileOnlyWhenWhole)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    {
        QFile earlier(pdf);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier report");
    }
    printing::ReportDocument doc;
    doc.StartDoc(printing::Output::Pdf, pdf);
    doc.Paragraph(QStringLiteral("first page"));
    doc.NewPage();
    doc.Paragraph(QStringLiteral("cancelled on the second page"));
    doc.CancelDoc();
    QFile kept(pdf);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("earlier report"));
    kept.close();
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("report.pdf")})
        << "the unfinished file is gone";

    ProduceSample(doc, printing::Output::Pdf, pdf);
    EXPECT_FALSE(doc.KeepsPages());
    for (int p = 0; p < doc.PageCount(); ++p) {
        EXPECT_TRUE(doc.page(p).items.isEmpty()) << p;
        EXPECT_FALSE(doc.page(p).drawing) << p;
    }
    EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {pdf}).contains(QRegularExpression(QStringLiteral("Pages:\\s+3\\b"))));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("report.pdf")});

    doc.StartDoc(printing::Output::Preview);
    EXPECT_TRUE(doc.KeepsPages());
}

// The report is written beside its name under a private mode and renamed when whole: it still
// gets the mode a file written in place would have, so that others the user shares it with can
// read it.
TEST(ReportOutput, PdfGetsTheModeOfTheFileItReplacesOrOfANewFile)
{
    QTemporaryDir dir;
    const mode_t mask = ::umask(022);
    ::umask(mask);
    const QString replaced = dir.filePath(QStringLiteral("replaced.pdf"));
    {
        QFile earlier(replaced);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
    }
    ASSERT_EQ(::chmod(QFile::encodeName(replaced).constData(), 0640), 0);
    const struct { QString file; mode_t mode; } cases[] = {{replaced, 0640},
                                                            {dir.filePath(QStringLiteral("new.pdf")), 0666 & ~mask}};
    for (const auto& c : cases) {
        printing::ReportDocument doc;
        ProduceSample(doc, printing::Output::Pdf, c.file);
        struct stat written {};
        ASSERT_EQ(::stat(QFile::encodeName(c.file).constData(), &written), 0);
        EXPECT_EQ(written.st_mode & 07777, c.mode) << c.file.toStdString();
    }
}

TEST(ReportOutput, PrinterGetsAllPagesOrTheOneOnView)
{
    QTemporaryDir dir;
    printing::ReportDocument doc;
    ProduceSample(doc, printing::Output::Preview, QString());
    const struct { int from, to; int pages; const char* text; } cases[] = {{0, -1, 3, "Third page text"},
                                                                          {1, 1, 1, "Second page text"}};
    for (const auto& c : cases) {
        const QString file = dir.filePath(QStringLiteral("printed%1.pdf").arg(c.from));
        ui::Printer& printer = ui::SharedPrinter();
        printer.setFile(file);
        ASSERT_TRUE(doc.PrintTo(printer, c.from, c.to));
        EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {file}).contains(QRegularExpression(QStringLiteral("Pages:\\s+%1\\b").arg(c.pages))));
        const QString text = RunTool(QStringLiteral("pdftotext"), {file, QStringLiteral("-")});
        EXPECT_TRUE(text.contains(QString::fromLatin1(c.text))) << text.toStdString();
        EXPECT_EQ(text.contains(QStringLiteral("Decision Summary")), c.pages == 3);
    }
}

TEST(ReportOutput, WidePagesComeOutAsATurnedSheet)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("wide.pdf"));
    printing::ReportDocument doc;
    doc.SetPageSize(15840, 12240);
    doc.StartDoc(printing::Output::Pdf, pdf);
    EXPECT_EQ(doc.PageWidth(), 15840);
    doc.TableRows(QStringLiteral("14400;a row as wide as the turned page;"));
    ASSERT_TRUE(doc.EndDoc());
    EXPECT_TRUE(RunTool(QStringLiteral("pdfinfo"), {pdf}).contains(QStringLiteral("792 x 612")));
    EXPECT_TRUE(RunTool(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")}).contains(QStringLiteral("a row as wide as the turned page")));
}

TEST(ReportOutput, FailedOutputIsReportedNotSwallowed)
{
    ui::ScriptedPrompter prompter;
    for (printing::Output output : {printing::Output::Pdf, printing::Output::Rtf}) {
        printing::ReportDocument doc;
        doc.StartDoc(output, QStringLiteral("/nonexistent-folder/report.out"));
        doc.Paragraph(QStringLiteral("x"));
        EXPECT_FALSE(doc.EndDoc());
    }
    ASSERT_EQ(prompter.messages().size(), 2);
    EXPECT_TRUE(prompter.messages()[0].text.contains(QStringLiteral("/nonexistent-folder/report.out")));
    EXPECT_EQ(prompter.messages()[0].icon, ui::Icon::Critical);

    // A preview writes nothing and asks nothing; pages printed to a PDF file that cannot be
    // written tell the user which file.
    prompter.clear();
    printing::ReportDocument doc;
    doc.StartDoc(printing::Output::Preview);
    doc.Paragraph(QStringLiteral("x"));
    EXPECT_TRUE(doc.EndDoc());
    EXPECT_TRUE(prompter.messages().isEmpty());
    ui::Printer& printer = ui::SharedPrinter();
    printer.setFile(QStringLiteral("/nonexistent-folder/printed.pdf"));
    EXPECT_FALSE(doc.PrintPages(0, 0));
    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].text.contains(QStringLiteral("/nonexistent-folder/printed.pdf")));
    printer.setFile(QString());
}

TEST(ReportOutput, RtfTablesKeepTheirSpansAndHeader)
{
    printing::ReportDocument doc;
    doc.StartDoc(printing::Output::Preview);
    doc.AddTable(QStringLiteral("3600|3600|3600;"), QStringLiteral("Alternative A||;"), QString());
    printing::ReportTable* t = doc.table();
    t->SetColSpan(0, 1, 3);
    t->SetRows(2);
    t->SetCellText(1, 1, QStringLiteral("Target"));
    t->SetCellText(1, 3, QStringLiteral("Extreme"));
    t->SetColSpan(2, 1, 3);
    t->SetCellText(2, 1, QStringLiteral("{\\b Issue:} crossing"));
    doc.EndTable();
    doc.EndDoc();
    const QString rtf = doc.Rtf();
    EXPECT_EQ(rtf.count(QStringLiteral("\\row")), 3);
    EXPECT_EQ(rtf.count(QStringLiteral("\\clmgf")), 2);
    EXPECT_EQ(rtf.count(QStringLiteral("\\clmrg")), 4);
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\trhdr")));
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\b Issue:}"))) << "rich cell text keeps its bold run";

    QTextDocument read;
    ASSERT_TRUE(richtext::ReadRtf(rtf, &read));
    QTextTable* table = nullptr;
    for (QTextFrame* frame : read.rootFrame()->childFrames())
        if ((table = qobject_cast<QTextTable*>(frame)))
            break;
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->rows(), 3);
    EXPECT_TRUE(read.toPlainText().contains(QStringLiteral("Issue: crossing")));
}

TEST(ReportOutput, RtfOfTheRunReadsBackWithItsTables)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("report.rtf"));
    printing::ReportDocument doc;
    ProduceSample(doc, printing::Output::Rtf, path);
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString rtf = QString::fromLatin1(file.readAll());

    // One font table for the whole file: the embedded text's font joined it.
    EXPECT_EQ(rtf.count(QStringLiteral("{\\fonttbl")), 1);
    EXPECT_EQ(rtf.count(QStringLiteral("{\\colortbl")), 1);
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\red255\\green0\\blue0;")));
    // The drawing object stands in the first paragraph of its page, where a word processor puts
    // it on that page.
    EXPECT_TRUE(rtf.contains(QRegularExpression(QStringLiteral("\\{\\\\shp\\{\\\\shpleft280\\\\shptop280\\\\shpright1280\\\\shpbottom2280\\}\\}"
                                                               "\\{\\\\f\\d+\\\\fs24\\\\b Decision Summary\\}"))))
        << rtf.toStdString();
    // Two page breaks: the one after the table starts a section, as word processors lose a break
    // in the paragraph that closes a table.
    EXPECT_EQ(rtf.count(QStringLiteral("\\page\n")) + rtf.count(QStringLiteral("\\sbkpage")), 2);
    EXPECT_TRUE(rtf.contains(QStringLiteral("{\\field{\\*\\fldinst PAGE}")));

    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_RTF"))
        QFile::copy(path, qEnvironmentVariable("TOLMAR_KEEP_RTF"));
    QTextDocument read;
    ASSERT_TRUE(richtext::ReadRtf(rtf, &read));
    const QString plain = read.toPlainText();
    EXPECT_TRUE(plain.contains(QStringLiteral("Decision Summary")));
    EXPECT_TRUE(plain.contains(QStringLiteral("Narrative with red bold text.")));
    EXPECT_TRUE(plain.contains(QStringLiteral("Third page text")));
    QTextTable* table = nullptr;
    for (QTextFrame* frame : read.rootFrame()->childFrames())
        if ((table = qobject_cast<QTextTable*>(frame)))
            break;
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(table->columns(), 4);
    EXPECT_EQ(table->rows(), 2);
    auto cell = [table](int r, int c) {
        QTextCursor a = table->cellAt(r, c).firstCursorPosition();
        a.setPosition(table->cellAt(r, c).lastCursorPosition().position(), QTextCursor::KeepAnchor);
        return a.selectedText();
    };
    EXPECT_EQ(cell(0, 0), QStringLiteral("Item"));
    EXPECT_EQ(cell(1, 3), QStringLiteral("38,000"));
}

namespace {
// A page drawn at a tenth of its size on a device of 144 dots an inch, as a printer's resolution
// differs from the recording's.
QImage PageAt144(const printing::ReportDocument& doc, int page)
{
    QImage image(doc.PageWidth() / 10, doc.PageHeight() / 10, QImage::Format_RGB32);
    image.setDotsPerMeterX(5669);
    image.setDotsPerMeterY(5669);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.scale(0.1, 0.1);
    doc.Render(painter, page);
    return image;
}

struct Ink {
    QRect box;
    int dots = 0;
};

Ink InkOf(const QImage& image)
{
    Ink ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128) {
                ink.box |= QRect(x, y, 1, 1);
                ++ink.dots;
            }
    return ink;
}
}  // namespace

// A finished page keeps one recording of what it draws in place of its text documents: it draws
// the same text in the same place as the live page did, at any resolution.
TEST(ReportOutput, AFinishedPageDrawsWhatItsLayoutDrew)
{
    printing::ReportDocument doc;
    doc.StartDoc(printing::Output::Preview);
    doc.SetFontBold(true);
    doc.Paragraph(QStringLiteral("Decision Summary"));
    doc.SetFontBold(false);
    doc.Paragraph(QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0\\fswiss Arial;}}\\f0\\fs20 Narrative with {\\b bold} text.\\par}"));
    doc.SetTableLineStyle(printing::LineStyle::Grid);
    doc.TableRows(QStringLiteral("6470|>1630;Cabin|125,000;Barn|38,000;"));
    const QStringList liveRecord = doc.PageRecord(0);
    const Ink live = InkOf(PageAt144(doc, 0));
    ASSERT_TRUE(doc.page(0).items.first().doc) << "the page on which the report goes on keeps its documents";
    ASSERT_TRUE(doc.EndDoc());

    EXPECT_FALSE(doc.page(0).items.first().doc);
    EXPECT_EQ(doc.PageRecord(0).mid(0, liveRecord.size() - 1), liveRecord.mid(0, liveRecord.size() - 1))
        << "the record, fonts included, outlives the documents";
    const Ink recorded = InkOf(PageAt144(doc, 0));
    ASSERT_GT(live.dots, 100);
    EXPECT_LE((recorded.box.topLeft() - live.box.topLeft()).manhattanLength(), 2);
    EXPECT_LE((recorded.box.bottomRight() - live.box.bottomRight()).manhattanLength(), 2);
    EXPECT_NEAR(recorded.dots, live.dots, live.dots / 10);
}

TEST(ReportOutput, PreviewShowsEachPageAndFitsTheWidth)
{
    printing::ReportDocument doc;
    ProduceSample(doc, printing::Output::Preview, QString());
    printing::ReportPreview preview;
    preview.resize(900, 700);
    preview.SetDocument(&doc);
    preview.show();
    preview.ShowPage(5);
    EXPECT_EQ(preview.CurrentPage(), 2);
    // A new run shows itself as soon as it ends.
    doc.StartDoc();
    doc.EndDoc();
    EXPECT_EQ(preview.CurrentPage(), 0);
    ProduceSample(doc, printing::Output::Preview, QString());
    preview.SetZoom(1.0);
    const QImage page = preview.PageImage(0);
    EXPECT_EQ(page.width(), 816);   // 8.5 in at 96 an inch
    EXPECT_EQ(page.height(), 1056);
    // Something dark is drawn where the title stands.
    bool ink = false;
    for (int y = 40; y < 90 && !ink; ++y)
        for (int x = 40; x < 400 && !ink; ++x)
            ink = qGray(page.pixel(x, y)) < 100;
    EXPECT_TRUE(ink);
    if (qEnvironmentVariableIsSet("TOLMAR_KEEP_PNG"))
        page.save(qEnvironmentVariable("TOLMAR_KEEP_PNG"));
}

TEST(ReportOutput, RichParagraphHoldingTablesKeepsThemInTheRtf)
{
    // Rich text built as tables elsewhere (the RTF form of a section) is printed as one paragraph.
    const QString built = QStringLiteral(
        "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Before\\par"
        "\\trowd\\trgaph108\\trleft0\\cellx4000\\cellx8000"
        "\\pard\\intbl {\\b Alternative A}\\cell\\pard\\intbl Target\\cell\\row"
        "\\trowd\\trgaph108\\trleft0\\cellx4000\\cellx8000"
        "\\pard\\intbl 1,200 acres\\cell\\pard\\intbl 40%\\cell\\row"
        "\\pard After\\par}");
    printing::ReportDocument doc;
    doc.StartDoc(printing::Output::Preview);
    doc.Paragraph(built);
    doc.EndDoc();

    QTextDocument read;
    ASSERT_TRUE(richtext::ReadRtf(doc.Rtf(), &read));
    QTextTable* table = nullptr;
    for (QTextFrame* frame : read.rootFrame()->childFrames())
        if ((table = qobject_cast<QTextTable*>(frame)))
            break;
    ASSERT_NE(table, nullptr) << doc.Rtf().toStdString();
    EXPECT_EQ(table->rows(), 2);
    EXPECT_EQ(table->columns(), 2);
    EXPECT_EQ(table->cellAt(1, 0).firstCursorPosition().block().text(), QStringLiteral("1,200 acres"));
    EXPECT_EQ(table->cellAt(0, 1).firstCursorPosition().block().text(), QStringLiteral("Target"));
    const QString plain = read.toPlainText();
    EXPECT_LT(plain.indexOf(QStringLiteral("Before")), plain.indexOf(QStringLiteral("Target")));
    EXPECT_GT(plain.indexOf(QStringLiteral("After")), plain.indexOf(QStringLiteral("40%")));
}

TEST(ReportOutput, RtfKeepsTheHangingIndentOfEveryListItem)
{
    printing::ReportDocument doc;
    doc.StartDoc(printing::Output::Preview);
    doc.SetIndentLeft(1440);
    doc.Paragraph(QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20"
                                 "\\pard\\fi-360\\li360\\tx360 first item\\par"
                                 "\\pard\\fi-360\\li360\\tx360 second item\\par}"));
    doc.EndDoc();
    EXPECT_EQ(doc.Rtf().count(QStringLiteral("\\li1800\\fi-360\\ri0 ")), 2) << doc.Rtf().toStdString();
}

// A word processor shows each list item 600 twips in, as the preview does, its bullet or number
// hanging 360 twips before its text.
TEST(ReportOutput, RtfListItemsKeepTheirBulletOrNumberAndIndent)
{
    for (bool numbered : {false, true}) {
        SCOPED_TRACE(numbered ? "numbers" : "bullets");
        printing::ReportDocument doc;
        doc.StartDoc(printing::Output::Preview);
        doc.Paragraph(ListBody(numbered));
        doc.EndDoc();
        const QRegularExpression item(QStringLiteral("\\\\li600\\\\fi-360\\\\ri0\\\\tx600 \\{\\\\f(\\d+)\\\\fs20 %1\\\\tab\\}"
                                                     "\\{\\\\f\\1\\\\fs20 Two type 2")
                                          .arg(numbered ? QStringLiteral("1\\.") : QStringLiteral("\\\\bullet")));
        EXPECT_TRUE(doc.Rtf().contains(item)) << doc.Rtf().toStdString();
    }
}

// A word processor puts a drawing object on the page of the paragraph that holds it, placed from
// that page's margins: each object of a page stands in the page's first paragraph, or, on a page
// of drawings alone (a further page of trees), in a paragraph of its own that takes no room.
TEST(ReportOutput, RtfDrawingObjectsStandInAParagraphOfTheirPage)
{
    printing::ReportDocument doc;
    doc.StartDoc(printing::Output::Preview);
    doc.Paragraph(QStringLiteral("Decision Tree"));
    doc.TextBox(QStringLiteral("Target Outcome"), 4545, 1440, 3600, 0);
    doc.NewPage();
    doc.TextBox(QStringLiteral("Fallback Plan"), 4545, 1440, 3600, 0);
    doc.NewPage();
    doc.Paragraph(QStringLiteral("Comparison of Alternatives"));
    doc.EndDoc();
    const QStringList pages = doc.Rtf().split(QStringLiteral("\\page\n"));
    ASSERT_EQ(pages.size(), 3) << doc.Rtf().toStdString();
    // The box 3825 twips right of the left margin and 720 below the top one, in front of the text.
    EXPECT_TRUE(pages[0].contains(QStringLiteral("{\\shp{\\*\\shpinst\\shpleft3825\\shptop720\\shpright7425\\shpbottom")));
    EXPECT_TRUE(pages[0].contains(QStringLiteral("\\shpbxmargin\\shpbxignore\\shpbymargin\\shpbyignore\\shpwr3")));
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\\\pard[^{]*\\{\\\\shp.*Target Outcome.*\\}\\{\\\\f\\d+\\\\fs20 Decision Tree\\}"),
                                   QRegularExpression::MultilineOption | QRegularExpression::DotMatchesEverythingOption)
                    .match(pages[0]).hasMatch())
        << pages[0].toStdString();
    EXPECT_TRUE(pages[1].startsWith(QStringLiteral("\\pard\\plain\\sl-20\\slmult0{\\fs2 {\\shp"))) << pages[1].toStdString();
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Fallback Plan")));
    EXPECT_FALSE(pages[2].contains(QStringLiteral("\\shp")));
}

TEST(ReportOutput, RtfBreaksPagesOnlyWhereTheReportAsksForANewPage)
{
    // Text and tables that run on over a page end flow on in the word processor; only the report's
    // own page breaks are hard breaks there.
    printing::ReportDocument doc;
    doc.StartDoc(printing::Output::Preview);
    doc.SetRunningLine(QStringLiteral("Tolmar No. 7|Ridge|Page %d"));
    QStringList words;
    for (int i = 0; i < 1200; ++i)
        words << QStringLiteral("word%1").arg(i);
    doc.Paragraph(words.join(u' '));
    for (int i = 0; i < 60; ++i)
        doc.TableRows(QStringLiteral("3000|3000;row %1|value;").arg(i));
    ASSERT_GE(doc.PageCount(), 3);
    const int flowed = doc.PageCount();
    doc.NewPage();
    doc.Paragraph(QStringLiteral("Next section"));
    doc.EndDoc();
    ASSERT_EQ(doc.PageCount(), flowed + 1);
    const QString rtf = doc.Rtf();
    // The page after a table starts a section: a page break in the paragraph that closes a table
    // is lost by LibreOffice.
    const QRegularExpression hardBreak(QStringLiteral("\\\\page|\\\\sbkpage"));
    EXPECT_EQ(rtf.count(hardBreak), 1);
    EXPECT_EQ(rtf.count(QStringLiteral("\\sect\\sectd\\sbkpage")), 1);
    EXPECT_LT(rtf.indexOf(QStringLiteral("row 59")), rtf.indexOf(hardBreak));
    EXPECT_GT(rtf.indexOf(QStringLiteral("Next section")), rtf.indexOf(hardBreak));

    // After a paragraph the plain page break does.
    doc.StartDoc(printing::Output::Preview);
    doc.Paragraph(QStringLiteral("One"));
    doc.NewPage();
    doc.Paragraph(QStringLiteral("Two"));
    doc.EndDoc();
    EXPECT_EQ(doc.Rtf().count(hardBreak), 1);
    EXPECT_EQ(doc.Rtf().count(QStringLiteral("\\page\n")), 1);
}

TEST(ReportOutput, RtfPlacesTextAndTablesBetweenTheMarginsOfTheRun)
{
    // The file's own page margins are those of the report's start; a section's wider margins
    // become indents there, so headings, bodies and tables stand where the preview shows them.
    printing::ReportDocument doc;
    doc.StartDoc(printing::Output::Preview);
    doc.SetMarginLeft(2880);
    doc.SetMarginRight(1440);
    doc.SetCurrentX(1080);
    doc.Paragraph(QStringLiteral("Heading"));
    doc.Paragraph(QStringLiteral("Body"));
    doc.SetMarginLeft(1440);
    doc.TableRows(QStringLiteral("2880|6660;Selected Alternative|A;"));
    doc.EndDoc();
    const QString rtf = doc.Rtf();
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\li2160\\fi-1800\\ri720 {"))) << rtf.toStdString();
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\li2160\\fi0\\ri720 {")));
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\trleft720")));
    EXPECT_TRUE(rtf.contains(QStringLiteral("\\cellx3600")));
}
