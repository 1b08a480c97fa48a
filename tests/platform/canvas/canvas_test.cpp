#include "platform/canvas/canvas.h"

#include <QImage>
#include <QLineEdit>
#include <QPainter>

#include <gtest/gtest.h>

using canvas::Canvas;
using canvas::Shape;

namespace {

// Pixel position of a twip coordinate on the canvas.
int Px(const Canvas& c, int twips) { return int(std::lround(twips * c.pixelsPerTwip())); }

bool IsDark(QRgb p) { return qGray(p) < 128; }

// How many dark pixels lie in a rectangle of the image.
int DarkPixels(const QImage& image, const QRect& r)
{
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x)
            if (image.rect().contains(x, y) && IsDark(image.pixel(x, y)))
                ++n;
    return n;
}

TEST(Canvas, ElementsKeepTheSettingsInForceWhenDrawn)
{
    Canvas c;
    c.drawLine(0, 0, 1440, 720);
    c.setForeColor(Qt::red);
    c.setLineWidth(3);
    c.setFillColor(QColor(0xC0, 0xFF, 0xC0));
    c.drawRect(100, 200, 1000, 500);
    c.setFillColor(QColor());
    c.setFontBold(true);
    c.drawText(150, 250, "Target Outcome");

    const QList<Shape>& s = c.drawing().shapes();
    ASSERT_EQ(s.size(), 3);
    EXPECT_EQ(s[0].kind, Shape::Kind::Line);
    EXPECT_EQ(s[0].color, QColor(Qt::black));
    EXPECT_EQ(s[0].lineWidth, 1);
    EXPECT_EQ(QRect(QPoint(s[0].x1, s[0].y1), QPoint(s[0].x2, s[0].y2)), QRect(QPoint(0, 0), QPoint(1440, 720)));
    EXPECT_EQ(s[1].kind, Shape::Kind::Rect);
    EXPECT_EQ(QRect(QPoint(s[1].x1, s[1].y1), QPoint(s[1].x2, s[1].y2)), QRect(100, 200, 1001, 501));
    EXPECT_EQ(s[1].color, QColor(Qt::red));
    EXPECT_EQ(s[1].fill, QColor(0xC0, 0xFF, 0xC0));
    EXPECT_EQ(s[1].lineWidth, 3);
    EXPECT_EQ(s[2].kind, Shape::Kind::Text);
    EXPECT_TRUE(s[2].font.bold());
    EXPECT_FALSE(s[2].fill.isValid());
    EXPECT_EQ(c.drawing().texts(), QStringList{"Target Outcome"});

    c.clear();
    EXPECT_TRUE(c.drawing().isEmpty());
    EXPECT_TRUE(c.drawing().texts().isEmpty());
}

TEST(Canvas, PaintsAtTwipPositions)
{
    Canvas c;
    c.setSizeTwips(3000, 2000);
    c.setBackColor(Qt::white);
    c.drawLine(150, 300, 2850, 300);                   // across, at y 300
    c.setFillColor(QColor(0xC0, 0xFF, 0xC0));
    c.drawRect(1500, 900, 1200, 900);
    c.setFillColor(QColor());
    c.drawText(150, 900, "Fallback");
    c.resize(c.sizeHint());
    const QImage image = c.grab().toImage();
    ASSERT_EQ(image.size(), QSize(Px(c, 3000), Px(c, 2000)));

    const int lineY = Px(c, 300);
    EXPECT_TRUE(IsDark(image.pixel(Px(c, 1500), lineY)));
    EXPECT_FALSE(IsDark(image.pixel(Px(c, 1500), lineY + 4)));
    EXPECT_EQ(QColor(image.pixel(Px(c, 2100), Px(c, 1350))), QColor(0xC0, 0xFF, 0xC0));
    EXPECT_TRUE(IsDark(image.pixel(Px(c, 1500), Px(c, 1350))));   // the frame's left edge
    // The text lies below and to the right of its point, within its measured box.
    const QRect textBox(Px(c, 150), Px(c, 900), Px(c, c.textWidth("Fallback")), Px(c, c.textHeight()));
    EXPECT_GT(DarkPixels(image, textBox), 20);
    EXPECT_EQ(DarkPixels(image, QRect(0, Px(c, 900) - 6, Px(c, 1400), 5)), 0);

    c.clear();
    const QImage blank = c.grab().toImage();
    EXPECT_EQ(DarkPixels(blank, blank.rect()), 0);
}

TEST(Canvas, PaintsAtAnotherScaleForAPrintedPage)
{
    Canvas c;
    c.drawLine(0, 1440, 2880, 1440);   // one inch down, two inches long
    QImage page(700, 400, QImage::Format_RGB32);
    page.fill(Qt::white);
    page.setDotsPerMeterX(int(300 / 0.0254));
    page.setDotsPerMeterY(int(300 / 0.0254));
    QPainter painter(&page);
    c.drawing().paint(painter, 300.0 / 1440);
    painter.end();
    EXPECT_TRUE(IsDark(page.pixel(500, 300)));
    EXPECT_FALSE(IsDark(page.pixel(500, 310)));
    EXPECT_FALSE(IsDark(page.pixel(620, 300)));   // past two inches
}

TEST(Canvas, AsksForWhatIsDrawnOrTheSizeItWasGiven)
{
    Canvas c;
    c.drawRect(0, 0, 1440, 720);
    EXPECT_GE(c.sizeHint().width(), Px(c, 1440));
    EXPECT_LE(c.sizeHint().width(), Px(c, 1440) + 3);
    c.drawLine(0, 0, 2880, 2880);
    EXPECT_GE(c.sizeHint().height(), Px(c, 2880));
    EXPECT_EQ(c.drawing().extent(), QRect(QPoint(0, 0), QPoint(2880, 2880)));

    c.setSizeTwips(9615, 3315);
    EXPECT_EQ(c.sizeHint(), QSize(Px(c, 9615), Px(c, 3315)));
    c.clear();
    EXPECT_EQ(c.sizeHint(), QSize(Px(c, 9615), Px(c, 3315)));
}

TEST(Canvas, PlacesChildWidgetsInTwips)
{
    Canvas c;
    auto* box = new QLineEdit;
    c.placeWidget(box, 60, 60, 2232, 300);
    EXPECT_EQ(box->parentWidget(), &c);
    EXPECT_EQ(box->geometry(), QRect(Px(c, 60), Px(c, 60), Px(c, 2232), Px(c, 300)));
    c.clear();   // clearing the drawing leaves the children
    EXPECT_EQ(box->parentWidget(), &c);
}

TEST(Canvas, MeasuresTextInTwips)
{
    Canvas c;
    const int narrow = c.textWidth("i");
    const int wide = c.textWidth("Expected Objectives Score:  10.0");
    EXPECT_GT(narrow, 0);
    EXPECT_GT(wide, 10 * narrow);
    EXPECT_EQ(c.textWidth(""), 0);
    EXPECT_GT(c.textHeight(), 100);   // any legible font is taller than 1/14 inch
}

} // namespace
