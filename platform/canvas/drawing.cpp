#include "platform/canvas/drawing.h"

#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPainter>
#include <QPen>
#include <QScreen>

#include <cmath>

namespace canvas {

namespace {

double ScreenTwipsPerPixel()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return 1440.0 / (dpi > 0 ? dpi : 96.0);
}

QRect ShapeBounds(const Shape& s)
{
    switch (s.kind) {
    case Shape::Kind::Text:
        return QRect(s.x1, s.y1, TextWidthTwips(s.font, s.text), TextHeightTwips(s.font));
    case Shape::Kind::Line:
    case Shape::Kind::Rect:
        break;
    }
    return QRect(QPoint(qMin(s.x1, s.x2), qMin(s.y1, s.y2)), QPoint(qMax(s.x1, s.x2), qMax(s.y1, s.y2)));
}

} // namespace

int TextWidthTwips(const QFont& font, const QString& text)
{
    return int(std::ceil(QFontMetricsF(font).horizontalAdvance(text) * ScreenTwipsPerPixel()));
}

int TextHeightTwips(const QFont& font) { return int(std::ceil(QFontMetricsF(font).height() * ScreenTwipsPerPixel())); }

QStringList Drawing::texts() const
{
    QStringList out;
    for (const Shape& s : mShapes)
        if (s.kind == Shape::Kind::Text)
            out << s.text;
    return out;
}

QRect Drawing::extent() const
{
    QRect box;
    for (const Shape& s : mShapes)
        box = box.united(ShapeBounds(s));
    return box;
}

void Drawing::paint(QPainter& painter, double pixelsPerTwip) const
{
    painter.save();
    const auto px = [pixelsPerTwip](int twips) { return twips * pixelsPerTwip; };
    // Line widths are given in screen pixels; a printer's finer dots get as many more.
    const double penScale = pixelsPerTwip * ScreenTwipsPerPixel();
    for (const Shape& s : mShapes) {
        QPen pen(s.color.isValid() ? s.color : QColor(Qt::black));
        pen.setWidthF(qMax(1.0, s.lineWidth * penScale));
        pen.setCapStyle(Qt::FlatCap);
        painter.setPen(pen);
        switch (s.kind) {
        case Shape::Kind::Line:
            painter.setRenderHint(QPainter::Antialiasing, s.x1 != s.x2 && s.y1 != s.y2);
            painter.drawLine(QPointF(px(s.x1), px(s.y1)), QPointF(px(s.x2), px(s.y2)));
            break;
        case Shape::Kind::Rect: {
            painter.setRenderHint(QPainter::Antialiasing, false);
            const QRectF r(QPointF(px(s.x1), px(s.y1)), QPointF(px(s.x2), px(s.y2)));
            if (s.fill.isValid())
                painter.fillRect(r, s.fill);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(r);
            break;
        }
        case Shape::Kind::Text: {
            painter.setFont(s.font);
            const QFontMetricsF metrics(s.font, painter.device());
            painter.drawText(QPointF(px(s.x1), px(s.y1) + metrics.ascent()), s.text);
            break;
        }
        }
    }
    painter.restore();
}

} // namespace canvas
