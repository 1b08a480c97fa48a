#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRect>
#include <QString>

class QPainter;

namespace canvas {

// One drawn element. Positions are twips (1440 to the inch) from the drawing's top left.
struct Shape {
    enum class Kind { Line, Text, Rect };
    Kind kind = Kind::Line;
    // Line: from (x1, y1) to (x2, y2). Text: top-left corner at (x1, y1). Rect: left x1, top
    // y1, right x2, bottom y2.
    int x1 = 0;
    int y1 = 0;
    int x2 = 0;
    int y2 = 0;
    QString text;
    QColor color;          // line, frame or text colour
    QColor fill;           // inside of a rectangle; invalid: not filled
    int lineWidth = 1;     // pixels on screen; scaled with the device when printed
    QFont font;            // of a text
};

// What is drawn, kept as a list so that it can be painted again at any scale (a widget, a
// printed page) and read back by tests without looking at pixels.
class Drawing {
public:
    void clear() { mShapes.clear(); }
    void add(const Shape& shape) { mShapes.append(shape); }
    const QList<Shape>& shapes() const { return mShapes; }
    bool isEmpty() const { return mShapes.isEmpty(); }

    // The texts in the order they were drawn.
    QStringList texts() const;
    // The bounding box of everything drawn, in twips; texts measured in their fonts as the
    // screen shows them.
    QRect extent() const;

    // Paints every shape with its top left at the painter's origin, scale pixels per twip.
    void paint(QPainter& painter, double pixelsPerTwip) const;

private:
    QList<Shape> mShapes;
};

// The size of a text in the font, in twips, as the screen shows it (96 dpi logical).
int TextWidthTwips(const QFont& font, const QString& text);
int TextHeightTwips(const QFont& font);

} // namespace canvas
