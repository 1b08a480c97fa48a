#pragma once

#include "platform/canvas/drawing.h"

#include <QWidget>

namespace canvas {

// A picture to draw on: lines, texts and rectangles at positions in twips, kept until the
// canvas is cleared and painted again whenever the widget is. Each element takes the colour,
// fill, line width and font in force when it is drawn. Child widgets (a box to type in, a
// drop-down list) can be placed on it in twips too.
//
//   canvas->clear();
//   canvas->drawRect(2400, 120, 3000, 1000);
//   canvas->drawLine(300, 1500, 2400, 620);
//   canvas->drawText(2460, 160, "Target Outcome");
class Canvas : public QWidget {
    Q_OBJECT
public:
    explicit Canvas(QWidget* parent = nullptr);
    ~Canvas() override;

    void clear();
    void drawLine(int x1, int y1, int x2, int y2);
    // The text's top-left corner at (x, y).
    void drawText(int x, int y, const QString& text);
    void drawRect(int x, int y, int width, int height);

    // The settings of the elements drawn from now on.
    void setForeColor(const QColor& color) { mForeColor = color; }
    QColor foreColor() const { return mForeColor; }
    void setFillColor(const QColor& color) { mFillColor = color; }   // invalid: rectangles not filled
    QColor fillColor() const { return mFillColor; }
    void setLineWidth(int pixels) { mLineWidth = qMax(1, pixels); }
    int lineWidth() const { return mLineWidth; }
    // Texts take the widget's font (QWidget::setFont); this makes it bold or plain.
    void setFontBold(bool bold);
    void setBackColor(const QColor& color);

    // Measures in the current font, in twips.
    int textWidth(const QString& text) const;
    int textHeight() const;

    // The size the canvas asks for, in twips; without one it asks for what is drawn.
    void setSizeTwips(int width, int height);
    // Places a child widget at a rectangle given in twips.
    void placeWidget(QWidget* child, int x, int y, int width, int height);

    const Drawing& drawing() const { return mDrawing; }
    double pixelsPerTwip() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void add(Shape shape);
    int toPixels(int twips) const;

    Drawing mDrawing;
    QColor mForeColor = Qt::black;
    QColor mFillColor;
    int mLineWidth = 1;
    QSize mSizeTwips;
};

} // namespace canvas
