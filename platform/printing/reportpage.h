#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QStringList>

#include <memory>

class QPicture;
class QTextDocument;

namespace printing {

// Text alignment codes, with the numbers reports pass and save. The code modulo 3 is the
// horizontal alignment; 6 to 8 also centre the text vertically in its box (3 to 5 align as 0 to 2).
enum class Align { Left = 0, Center = 1, Right = 2, LeftMiddle = 6, CenterMiddle = 7, RightMiddle = 8 };
inline Align Horizontal(Align code) { return Align(int(code) % 3); }
inline bool CentredVertically(Align code) { return int(code) >= 6; }

// Table line styles, with the numbers reports pass.
enum class LineStyle {
    None = 0,
    RuleBelow = 1,
    RuleAbove = 2,
    RulesAboveAndBelow = 3,
    Box = 4,
    ColumnRules = 5,
    ColumnRulesAboveAndBelow = 6,
    Grid = 7,
};
inline bool HasRuleAbove(LineStyle s)
{
    return s == LineStyle::RuleAbove || s == LineStyle::RulesAboveAndBelow || s == LineStyle::ColumnRulesAboveAndBelow;
}
inline bool HasRuleBelow(LineStyle s)
{
    return s == LineStyle::RuleBelow || s == LineStyle::RulesAboveAndBelow || s == LineStyle::ColumnRulesAboveAndBelow;
}
inline bool HasColumnRules(LineStyle s) { return s == LineStyle::ColumnRules || s == LineStyle::ColumnRulesAboveAndBelow; }

// Where the running line stands and whether a rule parts it from the page, with the numbers
// reports pass.
enum class RunningLineMode { Header = 0, Footer = 1, HeaderRuled = 2, FooterRuled = 3 };
inline bool InFooter(RunningLineMode mode) { return mode == RunningLineMode::Footer || mode == RunningLineMode::FooterRuled; }
inline bool Ruled(RunningLineMode mode) { return mode == RunningLineMode::HeaderRuled || mode == RunningLineMode::FooterRuled; }

// Rich text keeps the lengths of its lists and tables in screen pixels, 96 an inch.
constexpr int kTwipsPerPixel = 15;

// One laid-out primitive of a page. All coordinates are twips from the page's top-left corner.
struct PageItem {
    enum class Kind { Text, Line, Box };
    Kind kind = Kind::Text;

    // Text: a slice [sourceTop, sourceTop + rect.height()) of a laid-out document drawn at rect.
    // The document goes when its page is finished (see Page::drawing).
    std::shared_ptr<QTextDocument> doc;
    QFont font;           // the document's default font, for the record
    qreal sourceTop = 0;
    qreal sourceLeft = 0;   // where the rect begins in the document: below 0 for a line set out left
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
    RunningLineMode mode = RunningLineMode::HeaderRuled;
};

struct Page {
    QList<PageItem> items;
    std::shared_ptr<const QPicture> drawing;   // the items as drawn, in twips, once the page is finished
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

// Row strings part their cells with "|" and their rows with ";", so a typed name holding either
// would move the cells after it. TableText makes a text one cell whatever it holds, and
// SplitCells parts a row string into cells with such texts given back as they were typed.
QString TableText(QString text);
QStringList SplitCells(const QString& row);

}  // namespace printing
