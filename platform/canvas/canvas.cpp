#include "platform/canvas/canvas.h"

#include <QPainter>
#include <QPalette>

#include <cmath>

namespace canvas {

Canvas::Canvas(QWidget* parent) : QWidget(parent) {}

Canvas::~Canvas() = default;

double Canvas::pixelsPerTwip() const
{
    const int dpi = logicalDpiY();
    return (dpi > 0 ? dpi : 96) / 1440.0;
}

int Canvas::toPixels(int twips) const { return int(std::lround(twips * pixelsPerTwip())); }

void Canvas::clear()
{
    mDrawing.clear();
    updateGeometry();
    update();
}

void Canvas::add(Shape shape)
{
    shape.color = mForeColor;
    shape.lineWidth = mLineWidth;
    mDrawing.add(shape);
    if (mSizeTwips.isEmpty())
        updateGeometry();
    update();
}

void Canvas::drawLine(int x1, int y1, int x2, int y2)
{
    Shape s;
    s.kind = Shape::Kind::Line;
    s.x1 = x1;
    s.y1 = y1;
    s.x2 = x2;
    s.y2 = y2;
    add(s);
}

void Canvas::drawText(int x, int y, const QString& text)
{
    Shape s;
    s.kind = Shape::Kind::Text;
    s.x1 = x;
    s.y1 = y;
    s.text = text;
    s.font = font();
    add(s);
}

void Canvas::drawRect(int x, int y, int width, int height)
{
    Shape s;
    s.kind = Shape::Kind::Rect;
    s.x1 = x;
    s.y1 = y;
    s.x2 = x + width;
    s.y2 = y + height;
    s.fill = mFillColor;
    add(s);
}

void Canvas::setFontBold(bool bold)
{
    QFont f = font();
    f.setBold(bold);
    setFont(f);
}

void Canvas::setBackColor(const QColor& color)
{
    QPalette p = palette();
    p.setColor(QPalette::Window, color);
    setPalette(p);
    setAutoFillBackground(true);
}

int Canvas::textWidth(const QString& text) const { return TextWidthTwips(font(), text); }
int Canvas::textHeight() const { return TextHeightTwips(font()); }

void Canvas::setSizeTwips(int width, int height)
{
    mSizeTwips = QSize(width, height);
    resize(toPixels(width), toPixels(height));
    updateGeometry();
}

void Canvas::placeWidget(QWidget* child, int x, int y, int width, int height)
{
    if (!child)
        return;
    if (child->parentWidget() != this)
        child->setParent(this);
    child->setGeometry(toPixels(x), toPixels(y), toPixels(width), toPixels(height));
}

QSize Canvas::sizeHint() const
{
    if (!mSizeTwips.isEmpty())
        return QSize(toPixels(mSizeTwips.width()), toPixels(mSizeTwips.height()));
    const QRect box = mDrawing.extent();
    // One twip-pixel more than the far edge, so that a line on it still shows.
    return QSize(toPixels(qMax(0, box.right())) + 2, toPixels(qMax(0, box.bottom())) + 2);
}

QSize Canvas::minimumSizeHint() const { return sizeHint(); }

void Canvas::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    mDrawing.paint(painter, pixelsPerTwip());
}

} // namespace canvas
