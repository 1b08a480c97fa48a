#include "reports/printsettings.h"

#include "reports/frmpreview.h"

#include <gtest/gtest.h>

using reports::VSPrinter1;

namespace {
class PrintSettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        VSPrinter1().StartDoc();
        reports::PrintSet_Init();
    }
    void TearDown() override { VSPrinter1().EndDoc(); }

    static QString Layout()
    {
        const auto& vp = VSPrinter1();
        return QStringLiteral("%1 %2 %3 %4 m%5 a%6 i%7,%8,%9 %10 %11%12%13")
            .arg(vp.MarginTop()).arg(vp.MarginLeft()).arg(vp.MarginRight()).arg(vp.MarginBottom())
            .arg(vp.LayoutMode()).arg(int(vp.TextAlign())).arg(vp.IndentLeft()).arg(vp.IndentSecond())
            .arg(vp.IndentThird()).arg(vp.FontName()).arg(vp.FontSize())
            .arg(vp.FontBold() ? " b" : "").arg(vp.FontItalic() ? " i" : "");
    }

    static void Scramble(int n)
    {
        auto& vp = VSPrinter1();
        vp.SetMarginTop(1000 + n);
        vp.SetMarginLeft(2000 + n);
        vp.SetMarginRight(3000 + n);
        vp.SetMarginBottom(400 + n);
        vp.SetLayoutMode(2);
        vp.SetTextAlign(printing::Align::CenterMiddle);
        vp.SetIndentLeft(1440);
        vp.SetIndentSecond(360);
        vp.SetIndentThird(100 + n);
        vp.SetFontName(QStringLiteral("Courier"));
        vp.SetFontSize(8 + n);
        vp.SetFontBold(n % 2 == 0);
        vp.SetFontItalic(n % 2 == 1);
    }
};
}  // namespace

TEST_F(PrintSettingsTest, PopRestoresWhatPushSaved)
{
    const QString before = Layout();
    reports::PushPrintSettings();
    EXPECT_EQ(reports::PrintSettingsStack().size(), 2);
    VSPrinter1().SetMarginTop(4320);
    VSPrinter1().SetFontSize(12);
    VSPrinter1().SetFontBold(true);
    reports::PopPrintSettings();
    EXPECT_EQ(Layout(), before);
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

TEST_F(PrintSettingsTest, NestedPushesUnwindInOrder)
{
    Scramble(1);
    const QString outer = Layout();
    reports::PushPrintSettings();
    Scramble(2);
    const QString inner = Layout();
    reports::PushPrintSettings();
    Scramble(3);
    reports::PopPrintSettings();
    EXPECT_EQ(Layout(), inner);
    reports::PopPrintSettings();
    EXPECT_EQ(Layout(), outer);

    // A pop with nothing pushed leaves the layout and the base element alone.
    reports::PopPrintSettings();
    EXPECT_EQ(Layout(), outer);
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}

TEST_F(PrintSettingsTest, InitEmptiesTheStackToItsBase)
{
    reports::PushPrintSettings();
    reports::PushPrintSettings();
    reports::PrintSet_Init();
    EXPECT_EQ(reports::PrintSettingsStack().size(), 1);
}
