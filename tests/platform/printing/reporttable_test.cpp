#include "printing_fixture.h"

#include "platform/printing/reporttable.h"

#include <QTextBlock>
#include <QTextLayout>

using printing::PageItem;
using printing::TableFormat;

TEST(TableFormat, ParsesAlignmentsWidthsRulesAndRows)
{
    const TableFormat f = TableFormat::Parse(QStringLiteral("7800|>2100!|^800;Objective|Priority (high=10)|Weight;a|1|0.10;"));
    ASSERT_EQ(f.columns.size(), 3);
    EXPECT_EQ(f.columns[0].width, 7800);
    EXPECT_EQ(f.columns[0].align, printing::Align::Left);
    EXPECT_EQ(f.columns[1].align, printing::Align::Right);
    EXPECT_TRUE(f.columns[1].rule);
    EXPECT_FALSE(f.columns[2].rule);
    EXPECT_EQ(f.columns[2].align, printing::Align::Center);
    EXPECT_EQ(f.columns[2].width, 800);
    ASSERT_EQ(f.rows.size(), 2);
    EXPECT_EQ(f.rows[1], (QStringList{"a", "1", "0.10"}));

    // " | ;" is a row of two blank cells; a damaged width still gives a column.
    const TableFormat g = TableFormat::Parse(QStringLiteral("2880|<x|6660;Analysis prepared by:|____; | ;"));
    ASSERT_EQ(g.columns.size(), 3);
    EXPECT_EQ(g.columns[1].width, 1440);
    EXPECT_EQ(g.rows.size(), 2);
    EXPECT_EQ(g.rows[1], (QStringList{" ", " "}));
}

TEST_F(ReportDocumentTest, RowCellsTakeTheirColumnsAndAlignment)
{
    doc.TableRows(QStringLiteral("<2000|^2000|>2000;left|centre|right;"));
    const QList<PageItem> texts = Texts(0);
    ASSERT_EQ(texts.size(), 3);
    const Qt::Alignment expected[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (int i = 0; i < 3; ++i) {
        EXPECT_NEAR(texts[i].rect.left(), 720 + 2000 * i + 60, 1) << i;
        EXPECT_EQ(texts[i].doc->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, expected[i]) << i;
        EXPECT_EQ(texts[i].rect.top(), 720 + 30);
    }
    EXPECT_GT(doc.CurrentY(), 720);
    // Centred text alignment centres the table between the margins.
    doc.SetTextAlign(printing::Align::CenterMiddle);
    doc.TableRows(QStringLiteral("2000;x;"));
    EXPECT_NEAR(Texts(0).last().rect.left(), 720 + (10800 - 2000) / 2 + 60, 1);
}

TEST_F(ReportDocumentTest, LineStylesDrawTheirRules)
{
    struct Case { int style; const char* format; int lines; int frames; };
    const Case cases[] = {
        {0, "2000|2000;a|b;", 0, 0},
        {1, "2000|2000;a|b;", 1, 0},
        {2, "2000|2000;a|b;", 1, 0},
        {3, "2000|2000;a|b;", 2, 0},
        {4, "2000|2000;a|b;", 0, 1},
        {5, "2000|2000;a|b;", 3, 0},
        {6, "2000|2000;a|b;", 5, 0},
        {7, "2000|2000;a|b;", 0, 2},
        {0, "2000!|2000;a|b;", 1, 0},   // "!" rules the column's right edge
    };
    for (const Case& c : cases) {
        doc.StartDoc();
        doc.SetTableLineStyle(printing::LineStyle(c.style));
        doc.TableRows(QString::fromLatin1(c.format));
        int frames = 0;
        for (const PageItem& item : doc.page(0).items)
            frames += item.kind == PageItem::Kind::Box && item.frame;
        EXPECT_EQ(Count(0, PageItem::Kind::Line), c.lines) << "style " << c.style << " " << c.format;
        EXPECT_EQ(frames, c.frames) << "style " << c.style << " " << c.format;
    }
}

TEST_F(ReportDocumentTest, RowAndColumnRulesPartGroupsButNotSpanningCells)
{
    doc.AddTable(QStringLiteral("1000|1000|1000|1000;"), QStringLiteral("Title|||"), QStringLiteral("a|b|c|d;e|f|g|h;"));
    printing::ReportTable* t = doc.table();
    t->SetColSpan(0, 1, 4);
    t->SetColSpan(1, 2, 2);
    t->SetRuleAbove(2, true);
    t->SetColumnRule(2, true);
    doc.EndTable();
    QList<PageItem> lines;
    for (const PageItem& item : doc.page(0).items)
        if (item.kind == PageItem::Kind::Line)
            lines << item;
    // The column rule stands in row 2 only: the title and row 1 span it.
    ASSERT_EQ(lines.size(), 2);
    const PageItem& above = lines[0];
    const PageItem& column = lines[1];
    EXPECT_EQ(above.from.y(), above.to.y());
    EXPECT_EQ(above.from.x(), 720);
    EXPECT_EQ(above.to.x(), 4720);
    EXPECT_EQ(column.from.x(), 2720);
    EXPECT_EQ(column.to.x(), 2720);
    EXPECT_EQ(column.from.y(), above.from.y());
    // The RTF of the table rules the same cells.
    doc.StartDoc(printing::Output::Rtf, QStringLiteral("unused.rtf"));
    doc.AddTable(QStringLiteral("1000|1000;"), QStringLiteral("Title|"), QStringLiteral("a|b;c|d;"));
    doc.table()->SetColSpan(0, 1, 2);
    doc.table()->SetRuleAbove(2, true);
    doc.table()->SetColumnRule(1, true);
    doc.EndTable();
    const QStringList rows = doc.Rtf().split(QStringLiteral("\\trowd"));
    ASSERT_GE(rows.size(), 4);
    EXPECT_FALSE(rows[1].contains(QStringLiteral("\\clbrdrr"))) << "the title spans the rule";
    EXPECT_FALSE(rows[2].contains(QStringLiteral("\\clbrdrt")));
    EXPECT_TRUE(rows[2].contains(QStringLiteral("\\clbrdrr")));
    EXPECT_TRUE(rows[3].contains(QStringLiteral("\\clbrdrt")));
}

TEST_F(ReportDocumentTest, RowAndHeaderSettingsSetRowsApart)
{
    doc.TableRows(QStringLiteral("2000;a;"));
    const int plain = doc.CurrentY() - 720;
    doc.SetTableRowSetting(120);
    doc.TableRows(QStringLiteral("2000;b;"));
    EXPECT_EQ(Texts(0)[1].rect.top(), 720 + plain + 120 + 30);
    doc.SetTableRowSetting(0);
    doc.SetHeaderRowSetting(60);
    doc.TableRows(QStringLiteral("2000;c;"));
    bool shaded = false;
    for (const PageItem& item : doc.page(0).items)
        shaded |= item.kind == PageItem::Kind::Box && item.fill;
    EXPECT_TRUE(shaded) << "header rows stand apart";
}

TEST_F(ReportDocumentTest, CellTableWithSpansAndVerticalHeader)
{
    doc.AddTable(QStringLiteral("420|420|1020|720|480|4320|1080|960;"),
                 QStringLiteral(" National Preparedness Level| Regional Preparedness Level| Suppression cost to date|"
                                " Size to date|Selected alternative remains valid (Y or N)|By|Date|Time;"),
                 QString());
    printing::ReportTable* t = doc.table();
    ASSERT_NE(t, nullptr);
    // As the report code passes them: numbered settings over ranges of cells.
    using S = printing::ReportTable::Setting;
    t->Set(S::CellAlign, 0, 1, 0, 5, 6);
    t->Set(S::CellAlign, 0, 6, 0, 8, 4);
    t->Set(S(8), 0, 1, 0, 8, 0);   // a code without a look of its own
    t->Set(S::Rows, 0, 0, 0, 0, 10);
    t->Set(S::VerticalText, 0, 1, 0, 5, 1);
    t->Set(S::RowHeight, 0, 0, 0, 0, 3900);
    for (int r = 1; r <= 10; ++r)
        t->Set(S::RowHeight, r, 0, r, 0, 480);
    EXPECT_EQ(t->Rows(), 10);
    EXPECT_EQ(t->row(0).cells[6].align, printing::Align(4));
    t->SetColSpan(1, 1, 3);
    t->SetCellText(1, 1, QStringLiteral("spanning"));
    t->SetCellText(1, 2, QStringLiteral("hidden"));
    doc.EndTable();

    const QList<PageItem> texts = Texts(0);
    int vertical = 0;
    const int edges[] = {720, 1140, 1560, 2580, 3300, 3780};
    for (const PageItem& item : texts) {
        vertical += item.vertical;
        if (item.vertical) {
            // Read sideways, even a caption of two lines stays inside its narrow column.
            const int* right = std::upper_bound(std::begin(edges), std::end(edges), int(item.rect.left()));
            ASSERT_NE(right, std::end(edges));
            EXPECT_GE(item.rect.left(), *(right - 1)) << item.lines.value(0).toStdString();
            EXPECT_LE(item.rect.right(), *right) << item.lines.value(0).toStdString();
        }
        EXPECT_NE(item.lines.value(0), QStringLiteral("hidden")) << "a covered cell prints nothing";
        if (item.lines.value(0) == QStringLiteral("spanning")) {
            EXPECT_NEAR(item.rect.width(), 420 + 420 + 1020 - 120, 1);
        }
    }
    EXPECT_EQ(vertical, 5);
    EXPECT_EQ(doc.CurrentY(), 720 + 3900 + 10 * 480);
}

TEST_F(ReportDocumentTest, KeptRowsMoveToTheNextPageTogetherUnderTheRepeatedHeader)
{
    doc.AddTable(QStringLiteral("3000|3000;"), QStringLiteral("Head|er;"), QString());
    printing::ReportTable* t = doc.table();
    t->SetRows(40);
    for (int r = 1; r <= 40; ++r) {
        t->SetCellText(r, 1, QStringLiteral("row %1").arg(r));
        t->SetRowHeight(r, 400);
    }
    // Rows 34 to 36 straddle the first page's end: they must not be parted.
    t->SetKeepWithNext(34, true);
    t->SetKeepWithNext(35, true);
    doc.EndTable();

    ASSERT_EQ(doc.PageCount(), 2);
    auto firstTexts = [this](int page) {
        QStringList out;
        for (const PageItem& item : Texts(page))
            out << item.lines.value(0);
        return out;
    };
    const QStringList one = firstTexts(0), two = firstTexts(1);
    EXPECT_EQ(one.first(), QStringLiteral("Head"));
    EXPECT_EQ(two.first(), QStringLiteral("Head")) << "the header is repeated";
    EXPECT_EQ(one.last(), QStringLiteral("row 33"));
    EXPECT_EQ(two[2], QStringLiteral("row 34"));
}

TEST_F(ReportDocumentTest, AHeaderKeptWithItsRowsNeverStandsAloneAtThePageFoot)
{
    // Rows 1 to 5 are kept with the header; only the header and one row fit below the start.
    doc.SetCurrentY(doc.BottomLimit() - 1000);
    doc.AddTable(QStringLiteral("3000;"), QStringLiteral("Head;"), QString());
    printing::ReportTable* t = doc.table();
    t->SetRows(5);
    for (int r = 0; r <= 5; ++r) {
        t->SetCellText(r, 1, QStringLiteral("row %1").arg(r));
        t->SetRowHeight(r, 400);
        t->SetKeepWithNext(r, true);
    }
    doc.EndTable();
    ASSERT_EQ(doc.PageCount(), 2);
    EXPECT_TRUE(Texts(0).isEmpty());
    EXPECT_EQ(Texts(1).size(), 6);

    // A kept group taller than a page keeps the header with its first row only.
    doc.StartDoc();
    doc.SetCurrentY(doc.BottomLimit() - 1000);
    doc.AddTable(QStringLiteral("3000;"), QStringLiteral("Head;"), QString());
    t = doc.table();
    t->SetRows(60);
    for (int r = 0; r <= 60; ++r) {
        t->SetRowHeight(r, 400);
        t->SetKeepWithNext(r, true);
    }
    doc.EndTable();
    ASSERT_GE(doc.PageCount(), 3);
    ASSERT_EQ(Texts(0).size(), 1);
    EXPECT_EQ(Texts(0)[0].lines.value(0), QStringLiteral("Head")) << "the header stays with its first row";
}

TEST_F(ReportDocumentTest, RowTallerThanAPageGoesOnOverPagesWithoutLosingLines)
{
    doc.SetTableLineStyle(printing::LineStyle::Grid);
    doc.AddTable(QStringLiteral("2000|6000;"), QStringLiteral("Alternative|Description;"), QString());
    printing::ReportTable* t = doc.table();
    t->SetRows(2);
    t->SetCellText(1, 1, QStringLiteral("A"));
    t->SetCellText(1, 2, Words(1500));
    t->SetCellText(2, 1, QStringLiteral("B"));
    doc.EndTable();

    ASSERT_GE(doc.PageCount(), 2);
    const int limit = doc.PageHeight() - doc.MarginBottom();
    QStringList description;
    for (int p = 0; p < doc.PageCount(); ++p) {
        const QList<PageItem> texts = Texts(p);
        ASSERT_FALSE(texts.isEmpty());
        EXPECT_EQ(texts.first().lines.value(0), QStringLiteral("Alternative")) << "header on page " << p;
        for (const PageItem& item : texts) {
            EXPECT_LE(item.rect.bottom(), limit + 0.5);
            if (item.rect.width() > 5000 && item.lines.value(0) != QStringLiteral("Description"))
                description << item.lines;
        }
    }
    const QStringList words = description.join(u' ').split(u' ');
    EXPECT_EQ(words.size(), 1500);
    EXPECT_EQ(words.last(), QStringLiteral("word1500"));
    EXPECT_EQ(Texts(doc.PageCount() - 1).last().lines.value(0), QStringLiteral("B"));
}

TEST_F(ReportDocumentTest, CellsHoldPlainLinesAndRichFragments)
{
    doc.SetFontSize(11);
    doc.AddTable(QStringLiteral("5400|5400;"), QStringLiteral("Ardwyn\r\n|;"), QString());
    printing::ReportTable* t = doc.table();
    t->SetColSpan(0, 1, 2);
    t->SetRows(1);
    t->SetCellText(1, 1, QStringLiteral("{\\par\\b Tolmar Number:}  12{\\par\\par\\b Fire Name:}  Ridge{\\par}"));
    t->SetCellText(1, 2, QStringLiteral("{draft} stays as typed"));
    doc.EndTable();

    const QList<PageItem> texts = Texts(0);
    ASSERT_EQ(texts.size(), 3);
    EXPECT_EQ(texts[0].doc->blockCount(), 2) << "the line break in the header cell is kept";
    const QTextDocument& rich = *texts[1].doc;
    EXPECT_EQ(rich.toPlainText().split(QChar::ParagraphSeparator).join(u'\n').split(u'\n'),
              (QStringList{"", "Tolmar Number:  12", "", "Fire Name:  Ridge"}));
    bool labelBold = false, valueBold = false;
    for (QTextBlock b = rich.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            if (it.fragment().text().contains(QStringLiteral("Fire Name:")))
                labelBold = it.fragment().charFormat().font().bold();
            if (it.fragment().text().contains(QStringLiteral("Ridge")))
                valueBold = it.fragment().charFormat().font().bold();
        }
    EXPECT_TRUE(labelBold);
    EXPECT_FALSE(valueBold);
    EXPECT_EQ(texts[2].doc->toPlainText(), QStringLiteral("{draft} stays as typed"));
}

TEST_F(ReportDocumentTest, DamagedTableStringsPrintWhatTheyCanAndNeverStop)
{
    const char* inputs[] = {"", ";", "abc", "|||;", "2000;", "2000", "-5|0|x!;a|b|c|d|e;", "^>!;x;",
                            "99999999|1;wide|narrow;", "2000|2000;only one cell;"};
    for (const char* input : inputs) {
        doc.TableRows(QString::fromLatin1(input));
        doc.AddTable(QString::fromLatin1(input), QString::fromLatin1(input), QString::fromLatin1(input));
        printing::ReportTable* t = doc.table();
        ASSERT_NE(t, nullptr);
        t->SetCellText(99, 99, QStringLiteral("out of range"));
        t->SetColSpan(0, 1, 50);
        t->SetRowSpan(0, 1, 50);
        t->SetRows(-3);
        doc.EndTable();
    }
    for (int p = 0; p < doc.PageCount(); ++p)
        for (const PageItem& item : Texts(p))
            EXPECT_NE(item.lines.value(0), QStringLiteral("out of range"));
    EXPECT_TRUE(doc.EndDoc());
}

// A word wider than its cell would break inside itself ("Probabilit" over "y"): the cell is set
// smaller until the word fits whole, and a cell whose words fit keeps the table's size.
TEST_F(ReportDocumentTest, AWordWiderThanItsCellIsSetSmallerNotBroken)
{
    doc.SetFontSize(8);
    doc.SetFontBold(true);
    doc.TableRows(QStringLiteral("^800|^800;Probability of Loss (%)|of Loss;"));
    const QList<PageItem> texts = Texts(0);
    ASSERT_EQ(texts.size(), 2);
    const QTextBlock block = texts[0].doc->begin();
    ASSERT_GE(block.layout()->lineCount(), 2);
    const QTextLine first = block.layout()->lineAt(0);
    EXPECT_EQ(block.text().mid(first.textStart(), first.textLength()).trimmed(), QStringLiteral("Probability"));
    EXPECT_LT(texts[0].doc->defaultFont().pixelSize(), 160);
    EXPECT_GE(texts[0].doc->defaultFont().pixelSize(), 107) << "never below two thirds of the size";
    EXPECT_EQ(texts[1].doc->defaultFont().pixelSize(), 160);
}

// Cells alike share one layout; a cell of the same text in another width or weight is laid out
// for itself, whatever was laid out before it.
TEST_F(ReportDocumentTest, CellsOfTheSameTextInAnotherWidthOrWeightAreLaidOutForThemselves)
{
    const QString row = QStringLiteral("Probability of Loss (%)|Probability of Loss (%);");
    doc.TableRows(QStringLiteral("1100|4000;") + row + row);
    doc.SetFontBold(true);
    doc.TableRows(QStringLiteral("1100|4000;") + row);
    const QList<PageItem> texts = Texts(0);
    ASSERT_EQ(texts.size(), 6);
    // The narrow cells wrap onto three lines (the bold ones set smaller, "Probability" being
    // wider than the cell), the wide ones keep to one.
    const struct { int item; int height; bool bold; } cases[] = {
        {0, 690, false}, {1, 230, false}, {2, 690, false}, {3, 230, false}, {4, 654, true}, {5, 230, true}};
    for (const auto& c : cases) {
        EXPECT_NEAR(texts[c.item].rect.height(), c.height, 10) << c.item;
        EXPECT_EQ(texts[c.item].font.bold(), c.bold) << c.item;
    }
    EXPECT_EQ(texts[0].doc, texts[2].doc) << "alike";
    EXPECT_NE(texts[0].doc, texts[4].doc);
}
