#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <memory>

class QTextDocument;

namespace printing {

// One laid-out primitive of a page. All coordinates are twips from the page's top-left corner.
struct PageItem {
    enum class Kind { Text, Line, Box };
    Kind kind = Kind::Text;

    // Text: a slice [sourceTop, sourceTop + rect.height()) of a laid-out document drawn at rect.
    std::shared_ptr<QTextDocument> doc;
    qreal sourceTop = 0;
    QRectF rect;
    QStringList lines;   // the text lines of the slice, for the record
    bool vertical = false;

    // Line
    QPointF from, to;

    // Box (also the frame and fill of table cells and text boxes)
    QColor penColor = Qt::black;
    int penWidth = 0;     // twips; 0 draws the thinnest line of the device
    bool frame = false;
    bool fill = false;
    QColor brushColor = Qt::white;
    int brushStyle = 0;
};

struct RunningLine {
    QString text;         // "left|centre|right", "%d" standing for the page number
    QFont font;
    int mode = 2;
};

struct Page {
    QList<PageItem> items;
    RunningLine runningLine;   // as it stood when the page was finished
    int number = 0;
};

// Colours as whole numbers in the order the report code writes them: red + green * 256 + blue * 65536
// (255 is red). QColor's own constructor from a number reads them the other way round.
inline QColor ColorFromBgr(int bgr)
{
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}
inline int BgrFromColor(const QColor& color)
{
    const QColor c = color.toRgb();
    return c.red() | (c.green() << 8) | (c.blue() << 16);
}

// The three parts of a running line with the page number filled in.
QStringList RunningLineParts(const RunningLine& line, int pageNumber);

}  // namespace printing
