#include "reports/pagefurniture.h"

#include "core/c0item.h"
#include "core/g2situation.h"
#include "core/u13folders.h"
#include "reports/frmpreview.h"
#include "reports/printsettings.h"
#include "support/datafile_fixture.h"

#include <QDir>
#include <QTextBlock>

using printing::PageItem;
using reports::VSPrinter1;

namespace {
class PageFurnitureTest : public DatafileFixture {
protected:
    void SetUp() override
    {
        DatafileFixture::SetUp();
        VSPrinter1().StartDoc();
        reports::PrintSet_Init();
    }
    void TearDown() override
    {
        VSPrinter1().EndDoc();
        reports::SetSelectedSectionCount(0);
        DatafileFixture::TearDown();
    }
    static void SetItem(int key, const QString& body)
    {
        core::c0Item* item = core::GetSituationItem(key);
        ASSERT_NE(item, nullptr);
        item->SetBody(body);
        item->SaveChanges();
    }
};
}  // namespace

TEST_F(PageFurnitureTest, RunningLineNumbersPagesOnlyFromEightSections)
{
    SetItem(221, QStringLiteral("12"));
    SetItem(11, QStringLiteral("Ridge"));
    const struct { int sections; const char* right; } cases[] = {{8, "Page 1"}, {19, "Page 1"}, {7, "Page ___"}, {0, "Page ___"}};
    for (const auto& c : cases) {
        reports::SetSelectedSectionCount(c.sections);
        reports::SetPageHeaderFooter();
        auto& vp = VSPrinter1();
        EXPECT_EQ(vp.RunningLineMode(), printing::RunningLineMode::HeaderRuled);
        printing::RunningLine line;
        line.text = vp.RunningLineText();
        EXPECT_EQ(printing::RunningLineParts(line, 1),
                  (QStringList{"Tolmar No. 12", "Ridge", QString::fromLatin1(c.right)})) << c.sections;
    }
}

// The running line parts its three texts with "|": a fire name holding one stays whole.
TEST_F(PageFurnitureTest, AFireNameWithBarsAndSemicolonsStaysInTheMiddle)
{
    SetItem(221, QStringLiteral("12|A"));
    SetItem(11, QStringLiteral("Ridge | Ash; East"));
    reports::SetSelectedSectionCount(8);
    reports::SetPageHeaderFooter();
    printing::RunningLine line;
    line.text = VSPrinter1().RunningLineText();
    EXPECT_EQ(printing::RunningLineParts(line, 3), (QStringList{"Tolmar No. 12|A", "Ridge | Ash; East", "Page 3"}));
}

TEST_F(PageFurnitureTest, EmptyItemsLeaveTheLabelAlone)
{
    SetItem(221, QString());
    SetItem(11, QString());
    reports::SetPageHeaderFooter();
    EXPECT_EQ(VSPrinter1().RunningLineText(), QStringLiteral("Tolmar No. ||Page ___"));
}

TEST_F(PageFurnitureTest, EveryFurtherPageGetsTheRunningLineAndAModestTopMargin)
{
    SetItem(11, QStringLiteral("Ridge"));
    auto& vp = VSPrinter1();
    for (int top : {4320, 4300}) {
        vp.StartDoc();
        vp.SetRunningLine(QString());
        vp.SetMarginTop(top);
        vp.NewPage();
        EXPECT_EQ(vp.MarginTop(), top == 4320 ? 1440 : 4300);
        EXPECT_EQ(vp.CurrentY(), top == 4320 ? 1440 : 4300);
        EXPECT_TRUE(vp.RunningLineText().contains(QStringLiteral("|Ridge|"))) << top;
    }
}

TEST_F(PageFurnitureTest, SectionTitleIsCentredBoldAndLeavesTheLayoutAsItWas)
{
    auto& vp = VSPrinter1();
    vp.SetFontSize(9);
    vp.SetTextAlign(printing::Align::Left);
    vp.SetFontBold(false);
    reports::PrintSectionTitle(QStringLiteral("Values at Risk"));

    const QList<PageItem>& items = vp.page(0).items;
    ASSERT_EQ(items.size(), 2) << "the title and one empty line";
    EXPECT_EQ(items[0].rect.top(), vp.MarginTop() + 50);
    EXPECT_EQ(items[0].lines, QStringList{QStringLiteral("Values at Risk")});
    EXPECT_TRUE(items[0].doc->defaultFont().bold());
    EXPECT_EQ(items[0].doc->defaultFont().pixelSize(), 240);
    EXPECT_EQ(items[0].doc->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(items[1].rect.top(), items[0].rect.bottom());
    EXPECT_EQ(vp.FontSize(), 9);
    EXPECT_FALSE(vp.FontBold());
    EXPECT_EQ(vp.TextAlign(), printing::Align::Left);
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

TEST_F(PageFurnitureTest, SubTitleStandsBetweenTwoRules)
{
    auto& vp = VSPrinter1();
    vp.SetMarginTop(1440);
    reports::PrintSubTitle(QStringLiteral("AAC Table"));
    const QStringList record = vp.PageRecord(0);
    EXPECT_EQ(record[0], QStringLiteral("line 720,1440 11520,1440"));
    EXPECT_EQ(record[1], QStringLiteral("line 720,1690 11520,1690"));
    EXPECT_TRUE(record[2].startsWith(QStringLiteral("text 720,1440"))) << record[2].toStdString();
    EXPECT_TRUE(vp.FontBold());
    EXPECT_EQ(vp.FontSize(), 11);
    EXPECT_EQ(vp.TextAlign(), printing::Align::Left);
}

TEST_F(PageFurnitureTest, LineShapeForTheRtfFile)
{
    EXPECT_EQ(reports::RtfLineShapeText(2000, 3000, 1000, 1000, 255, 2),
              QStringLiteral("{\\shp{\\*\\shpinst\\shpleft280\\shptop280\\shpright1280\\shpbottom2280"
                             "\\shpbxmargin\\shpbxignore\\shpbymargin\\shpbyignore\\shpwr3\\shpfblwtxt0"
                             "{\\sp{\\sn posrelh}{\\sv 0}}{\\sp{\\sn posrelv}{\\sv 0}}"
                             "{\\sp{\\sn shapeType}{\\sv 20}}{\\sp{\\sn fFlipH}{\\sv 1}}{\\sp{\\sn fFlipV}{\\sv 1}}"
                             "{\\sp{\\sn lineColor}{\\sv 255}}{\\sp{\\sn lineWidth}{\\sv 1440}}}}"));
    const QString unflipped = reports::RtfLineShapeText(1000, 1000, 2000, 3000, 0, 1);
    EXPECT_TRUE(unflipped.contains(QStringLiteral("\\shpleft280\\shptop280\\shpright1280\\shpbottom2280\\")));
    EXPECT_TRUE(unflipped.contains(QStringLiteral("{\\sp{\\sn fFlipH}{\\sv 0}}{\\sp{\\sn fFlipV}{\\sv 0}}")));

    // The line is drawn always, the drawing object goes into the RTF only during an export.
    auto& vp = VSPrinter1();
    reports::RtfLineShape(1000, 1000, 2000, 1000);
    EXPECT_FALSE(vp.Rtf().contains(QStringLiteral("\\shp")));
    reports::bRTFExport = true;
    vp.SetPenColor(printing::ColorFromBgr(0xFF));
    vp.SetPenWidth(1);
    reports::RtfLineShape(1000, 1000, 2000, 1000);
    reports::bRTFExport = false;
    EXPECT_EQ(vp.Rtf().count(QStringLiteral("{\\shp{")), 1);
    EXPECT_TRUE(vp.Rtf().contains(QStringLiteral("{\\sn lineColor}{\\sv 255}}{\\sp{\\sn lineWidth}{\\sv 720}}")));
    EXPECT_EQ(vp.PenColor(), QColor(Qt::red));
    EXPECT_EQ(vp.page(0).items.size(), 2);
}

TEST_F(PageFurnitureTest, SmallHelpers)
{
    EXPECT_EQ(reports::MaxLong(5, 5), 5);
    EXPECT_EQ(reports::MaxLong(7, 3), 7);
    EXPECT_EQ(reports::MaxLong(-2, 3), 3);
    EXPECT_EQ(reports::GetUsableWidth(), 10800);
    EXPECT_FALSE(reports::GetReportFontName().isEmpty());
}

TEST_F(PageFurnitureTest, RtfFileNameFollowsTheDataFile)
{
    // A program folder without "docs": the dialog opens in it all the same, made on first use,
    // where a file dialog would have fallen back to another folder.
    const QString program = QDir(tempDir()).filePath(QStringLiteral("program"));
    ASSERT_TRUE(QDir().mkpath(program));
    core::SetAppPath(program);
    EXPECT_EQ(reports::GetRtfFileName(), QString()) << "cancel gives no name";
    core::SetAppPath(QString());
    ASSERT_EQ(prompter.dialogs().size(), 1);
    const ui::FileDialog& d = prompter.dialogs()[0];
    EXPECT_EQ(d.title, QStringLiteral("Save as RTF File"));
    EXPECT_EQ(d.fileName, QStringLiteral("Fire1.rtf"));
    EXPECT_EQ(d.folder, QDir(program).filePath(QStringLiteral("docs")));
    EXPECT_TRUE(QDir(d.folder).exists());
    EXPECT_EQ(d.kind, ui::FileDialog::Kind::Save);

    prompter.file(tempDir() + QStringLiteral("/out"));
    EXPECT_EQ(reports::GetRtfFileName(), tempDir() + QStringLiteral("/out.rtf"));
}
