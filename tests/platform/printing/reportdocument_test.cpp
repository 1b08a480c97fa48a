#include "printing_fixture.h"

#include "platform/richtext/rtf.h"
#include "support/drawntext.h"

#include <QAbstractTextDocumentLayout>
#include <QFontInfo>
#include <QTextBlock>

using printing::PageItem;

TEST_F(ReportDocumentTest, ParagraphsWrapBetweenMarginsAndBreakAtTheBottomMargin)
{
    doc.SetFontSize(12);
    for (int i = 0; i < 40; ++i)
        doc.Paragraph(Words(60));

    ASSERT_GT(doc.PageCount(), 2);
    EXPECT_EQ(pagesStarted, doc.PageCount()) << "every page, the first included, is announced";
    const int limit = doc.PageHeight() - doc.MarginBottom();
    for (int p = 0; p < doc.PageCount(); ++p) {
        const QList<PageItem> texts = Texts(p);
        ASSERT_FALSE(texts.isEmpty());
        if (p > 0) {
            EXPECT_EQ(texts.first().rect.top(), doc.MarginTop()) << "page " << p;
        }
        for (const PageItem& t : texts) {
            EXPECT_LE(t.rect.bottom(), limit + 0.5) << "page " << p;
            EXPECT_GE(t.rect.left(), 720);
            EXPECT_LE(t.rect.right(), doc.PageWidth() - 720 + 0.5);
            EXPECT_GT(t.lines.size(), 0);
        }
    }
    // Lines are whole: the first paragraph wraps into several lines and no word is lost or split.
    const QList<PageItem> first = Texts(0);
    EXPECT_GT(first.first().lines.size(), 3);
    QStringList all;
    for (int p = 0; p < doc.PageCount(); ++p)
        for (const PageItem& t : Texts(p))
            all << t.lines;
    EXPECT_EQ(all.join(u' ').split(u' ').count(QStringLiteral("word60")), 40);
}

TEST_F(ReportDocumentTest, MeasuringPrintsNothingAndPredictsThePrintedBottom)
{
    doc.SetCurrentY(5000);
    doc.SetMarginLeft(1440);
    const QRect measured = doc.MeasureParagraph(Words(80));
    EXPECT_EQ(doc.page(0).items.size(), 0);
    EXPECT_EQ(doc.CurrentY(), 5000);
    EXPECT_EQ(measured.top(), 5000);
    EXPECT_EQ(measured.left(), 1440);

    doc.Paragraph(Words(80));
    EXPECT_NEAR(doc.CurrentY(), measured.bottom() + 1, 2);
    // The same text as an RTF fragment measures the same.
    EXPECT_NEAR(doc.MeasureParagraph(QStringLiteral("{\\i0 %1}").arg(Words(80))).height(), measured.height(), 1);

    // Indents narrow the measure as they narrow the print.
    doc.SetIndentLeft(1440);
    doc.SetIndentSecond(720);
    doc.SetIndentThird(1440);
    const QRect narrow = doc.MeasureParagraph(Words(80));
    EXPECT_GT(narrow.height(), measured.height());
    const int top = doc.CurrentY();
    doc.Paragraph(Words(80));
    EXPECT_NEAR(doc.CurrentY() - top, narrow.height(), 2);
}

TEST_F(ReportDocumentTest, TextWithoutLineEndIsFollowedOnTheSameLine)
{
    doc.SetFontBold(true);
    doc.Text(QStringLiteral("Start Date/Time:   "));
    const int y = doc.CurrentY();
    const int x = doc.CurrentX();
    EXPECT_EQ(y, 720);
    EXPECT_GT(x, 720 + 500);
    doc.SetFontBold(false);
    doc.Paragraph(QStringLiteral("7/1/2026  14:00"));

    const QList<PageItem> texts = Texts(0);
    ASSERT_EQ(texts.size(), 2);
    EXPECT_EQ(texts[1].rect.top(), y);
    EXPECT_GT(doc.CurrentY(), y);
    EXPECT_EQ(doc.CurrentX(), doc.MarginLeft());
    // The value starts where the label ended.
    const QTextBlock block = texts[1].doc->begin();
    EXPECT_NEAR(texts[1].rect.left() + block.layout()->lineAt(0).x(), x, 2);
}

TEST_F(ReportDocumentTest, EmptyParagraphIsOneEmptyLine)
{
    doc.SetFontSize(10);
    doc.Paragraph(QString());
    const int one = doc.CurrentY() - 720;
    EXPECT_GT(one, 150);
    EXPECT_LT(one, 300);
}

TEST_F(ReportDocumentTest, RichParagraphKeepsItsFormattingAndIndent)
{
    doc.SetIndentLeft(1440);
    doc.Paragraph(QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 plain {\\b bold} end\\par second\\par}"));
    const QList<PageItem> texts = Texts(0);
    ASSERT_EQ(texts.size(), 1);
    EXPECT_EQ(texts[0].rect.left(), 720 + 1440);
    EXPECT_EQ(texts[0].lines, (QStringList{QStringLiteral("plain bold end"), QStringLiteral("second")}));
    bool sawBold = false;
    for (auto it = texts[0].doc->begin().begin(); !it.atEnd(); ++it)
        sawBold |= it.fragment().text() == QStringLiteral("bold") && it.fragment().charFormat().font().bold();
    EXPECT_TRUE(sawBold);
}

TEST_F(ReportDocumentTest, RunningLineIsTakenAsItStandsWhenThePageIsFinished)
{
    doc.SetRunningLine(QStringLiteral("Tolmar No. 12|Ridge|Page %d"));
    doc.NewPage();
    doc.SetRunningLine(QStringLiteral("||"));
    doc.SetRunningLineMode(printing::RunningLineMode::Header);
    doc.SetRunningLine(QStringLiteral("left|%d of it|x"));   // the last setting on a page wins
    doc.EndDoc();

    ASSERT_EQ(doc.PageCount(), 2);
    EXPECT_EQ(printing::RunningLineParts(doc.page(0).runningLine, 1),
              (QStringList{QStringLiteral("Tolmar No. 12"), QStringLiteral("Ridge"), QStringLiteral("Page 1")}));
    EXPECT_EQ(doc.page(0).runningLine.mode, printing::RunningLineMode::HeaderRuled);
    EXPECT_EQ(doc.PageRecord(1).last(), QStringLiteral("running 0 [left|2 of it|x] %1 10").arg(doc.FontName()));
}

TEST_F(ReportDocumentTest, NewPageHandlerCanResetTheLayoutOfEveryFurtherPage)
{
    doc.SetNewPageHandler([](printing::ReportDocument& d) {
        if (d.MarginTop() > 4300) {
            d.SetMarginTop(1440);
            d.SetCurrentY(1440);
        }
    });
    doc.SetMarginTop(4320);
    doc.SetCurrentY(4320);
    for (int i = 0; i < 30; ++i)
        doc.Paragraph(Words(50));
    ASSERT_GT(doc.PageCount(), 1);
    EXPECT_EQ(Texts(0).first().rect.top(), 4320);
    EXPECT_EQ(Texts(1).first().rect.top(), 1440);
}

TEST_F(ReportDocumentTest, BoxesAndLinesUseThePenAndBrush)
{
    doc.SetPenColor(Qt::red);
    doc.SetPenWidth(20);
    doc.DrawLine(720, 1000, 11520, 1000);
    doc.SetBrushColor(QColor(0, 0, 255));
    doc.SetBrushStyle(4);
    doc.TextBox(QString(), 1440, 2000, 800, 3000, true);
    const int before = doc.CurrentY();
    doc.SetTextAlign(printing::Align::CenterMiddle);
    doc.TextBox(QStringLiteral("Alternative A"), 1440, 5100, 2400, 0);

    EXPECT_EQ(doc.CurrentY(), before) << "boxes do not move the print position";
    const QStringList record = doc.PageRecord(0);
    EXPECT_EQ(record[0], QStringLiteral("line 720,1000 11520,1000"));
    EXPECT_EQ(record[1], QStringLiteral("box 1440,2000 800x3000 fill #0000ff 4 frame"));
    EXPECT_TRUE(record[2].startsWith(QStringLiteral("text 1440,5100 2400x"))) << record[2].toStdString();
    EXPECT_TRUE(record[2].endsWith(QStringLiteral("\"Alternative A\"")));
    const int h = doc.MeasureTextBox(QStringLiteral("Alternative A"), 2400);
    EXPECT_GT(h, 150);
    EXPECT_GT(doc.MeasureTextBox(Words(40), 2400), 4 * h) << "a long text in a narrow box wraps";
}

TEST_F(ReportDocumentTest, CallsAreRecordedWithTheLayoutTheyWereMadeIn)
{
    doc.SetMarginLeft(2880);
    doc.SetFontSize(11);
    doc.SetCurrentX(1080);
    doc.SetFontBold(true);
    doc.Paragraph(QStringLiteral("Selected Alternative"));
    doc.TableRows(QStringLiteral("2880|6660;a|b;"));
    doc.NewPage();
    doc.EndDoc();
    const QString font = doc.FontName();
    EXPECT_EQ(calls.calls(), (QStringList{
        QStringLiteral("StartDoc"),
        QStringLiteral("Paragraph \"Selected Alternative\" at 1080,720 margins 720,2880,720,720 indents 0,0,0 align 0 %1 11 b").arg(font),
        QStringLiteral("TableRows \"2880|6660;a|b;\" style 0 row 0 header 0 at 2880,%1 margins 720,2880,720,720 indents 0,0,0 align 0 %2 11 b")
            .arg(Texts(0)[0].rect.bottom()).arg(font),
        QStringLiteral("NewPage"),
        QStringLiteral("EndDoc")}));
}

TEST_F(ReportDocumentTest, PositionBelowThePageStillMovesOn)
{
    // A position at or past the bottom margin must neither hang nor lose text.
    doc.SetCurrentY(doc.PageHeight() - 100);
    doc.Paragraph(Words(30));
    doc.SetMarginTop(doc.PageHeight());   // every new page starts below its own bottom
    doc.Paragraph(Words(30));
    QStringList all;
    for (int p = 0; p < doc.PageCount(); ++p)
        for (const PageItem& t : Texts(p))
            all << t.lines;
    EXPECT_EQ(all.join(u' ').split(u' ').size(), 60);
    EXPECT_LT(doc.PageCount(), 20);
    EXPECT_EQ(Texts(0).size(), 0) << "no line is printed below the bottom margin of the first page";
}

TEST_F(ReportDocumentTest, LeadInBeforeAStoredBodyMeasuresTheTextNotItsMarkup)
{
    // A row's page-break test measures "1" and nine blanks followed by the stored rich description.
    QTextDocument note;
    note.setPlainText(QStringLiteral("Keep the crews off the ridge after dark."));
    const QString body = richtext::WriteRtf(note);
    ASSERT_GT(body.size(), 150);
    const QString lead = QStringLiteral("1         ");
    doc.SetMarginRight(2160);
    const QRect rich = doc.MeasureParagraph(lead + body);
    const QRect plain = doc.MeasureParagraph(lead + note.toPlainText());
    EXPECT_NEAR(rich.height(), plain.height(), plain.height() / 2);

    doc.Paragraph(lead + body);
    EXPECT_EQ(Texts(0).last().lines, QStringList{lead + note.toPlainText()});
}

// A list in a topic body or a description stands as the editor shows it: its items 600 twips in
// from the paragraph (the editor's indent of 40 pixels at 96 an inch), the number before each item.
TEST_F(ReportDocumentTest, ListsStandAsTheEditorShowsThem)
{
    for (bool numbered : {false, true}) {
        SCOPED_TRACE(numbered ? "numbers" : "bullets");
        doc.StartDoc();
        doc.Paragraph(ListBody(numbered));
        ASSERT_TRUE(doc.EndDoc());
        const QList<testsupport::DrawnText> drawn = testsupport::DrawnTexts(doc, 0);
        const auto at = [&drawn](const QString& text) {
            for (const testsupport::DrawnText& t : drawn)
                if (t.text.startsWith(text))
                    return t;
            return testsupport::DrawnText();
        };
        EXPECT_NEAR(at(QStringLiteral("Crews:")).origin.x(), 720, 1);
        EXPECT_NEAR(at(QStringLiteral("Two type 2 crews")).origin.x(), 1320, 1);
        EXPECT_NEAR(at(QStringLiteral("One dozer")).origin.x(), 1320, 1);
        if (numbered) {
            const testsupport::DrawnText number = at(QStringLiteral("1."));
            EXPECT_GT(number.box.left(), 720);
            EXPECT_LE(number.box.right(), 1320);
            EXPECT_EQ(number.origin.y(), at(QStringLiteral("Two type 2 crews")).origin.y());
        }
    }
}

// A table in a topic body keeps the editor's room around its cells: a few points of padding and
// spacing, not the tenth of a page they took when counted twice.
TEST_F(ReportDocumentTest, TablesInRichTextKeepTheEditorsCellPadding)
{
    doc.Paragraph(QStringLiteral("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20"
                                 "\\trowd\\cellx2880\\cellx5760\\pard\\intbl Crew\\cell Days\\cell\\row\\pard\\par}"));
    ASSERT_TRUE(doc.EndDoc());
    QList<testsupport::DrawnText> drawn = testsupport::DrawnTexts(doc, 0);
    ASSERT_EQ(drawn.size(), 2);
    std::sort(drawn.begin(), drawn.end(), [](const auto& a, const auto& b) { return a.origin.x() < b.origin.x(); });
    // A border of 1 pixel and padding of 3 at 96 an inch: 15 and 45 twips before the text, the
    // second column 2880 twips on.
    EXPECT_GT(drawn[0].origin.x(), 720 + 45);
    EXPECT_LT(drawn[0].origin.x(), 720 + 15 + 45 + 30);
    EXPECT_GT(drawn[1].origin.x(), 720 + 2880 + 45);
    EXPECT_LT(drawn[1].origin.x(), 720 + 2880 + 15 + 45 + 30);
}

// The report asks for Arial; where the font system stands in for it by name (Liberation Sans,
// which has its metrics), that face sets the report, not the system's general fallback. A family
// the font system knows nothing of is not taken for one that exists.
TEST_F(ReportDocumentTest, ReportFontIsTheStandInTheFontSystemNamesForArial)
{
    EXPECT_EQ(QFontInfo(doc.CurrentFont()).family(), QFontInfo(QFont(QStringLiteral("Arial"))).family());
    EXPECT_TRUE(printing::ReportDocument::FontExists(QFontInfo(QFont()).family()));
    EXPECT_FALSE(printing::ReportDocument::FontExists(QStringLiteral("Qwzx Nonesuch Grotesk")));
}
