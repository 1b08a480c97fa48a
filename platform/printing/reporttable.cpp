#include "platform/printing/reporttable.h"

#include "platform/printing/reportdocument.h"
#include "platform/printing/rtfwriter.h"
#include "platform/printing/textlayout.h"

#include <QAbstractTextDocumentLayout>
#include <QHash>
#include <QTextDocument>

#include <algorithm>
#include <functional>

namespace printing {

namespace {
// Stand-ins from the private-use area, which no keyboard types.
constexpr char16_t kBarStandIn = 0xE000;
constexpr char16_t kSemicolonStandIn = 0xE001;
}  // namespace

QString TableText(QString text)
{
    return text.replace(u'|', kBarStandIn).replace(u';', kSemicolonStandIn);
}

QStringList SplitCells(const QString& row)
{
    QStringList cells = row.split(u'|');
    for (QString& cell : cells)
        cell.replace(kBarStandIn, u'|').replace(kSemicolonStandIn, u';');
    return cells;
}

namespace {
constexpr int kPadX = 60;
constexpr int kPadY = 30;
const QColor kHeaderShade(225, 225, 225);

// Reports print the same short cells over and over (a rating, "0", a heading row on every page),
// and laying a cell out is most of a table's time: a short plain cell is laid out once for its
// text, font, width and alignment and shared by every cell like it. A laid-out cell is only read
// from then on, so sharing it changes nothing on the page. Long and rich texts rarely repeat.
std::shared_ptr<QTextDocument> SharedCell(const QString& text, const QFont& font, int width, Align align, bool vertical,
                                          const std::function<std::shared_ptr<QTextDocument>()>& layOut)
{
    constexpr qsizetype kLongest = 80;
    constexpr qsizetype kKept = 4096;
    if (text.size() > kLongest || IsRtf(text))
        return layOut();
    static QHash<QString, std::shared_ptr<QTextDocument>> cells;
    const QString key = QStringLiteral("%1|%2|%3|%4|").arg(font.key()).arg(width).arg(int(align)).arg(vertical) + text;
    if (const auto found = cells.constFind(key); found != cells.cend())
        return *found;
    if (cells.size() >= kKept)
        cells.clear();
    return *cells.insert(key, layOut());
}
}  // namespace

int ReportTable::CellPadding(int width)
{
    return std::min(kPadX, width / 15);
}

QList<TableColumn> TableFormat::ParseColumns(const QString& columnFormat)
{
    QList<TableColumn> columns;
    for (QString part : columnFormat.split(u'|')) {
        part = part.trimmed();
        TableColumn c;
        if (part.startsWith(u'<') || part.startsWith(u'^') || part.startsWith(u'>')) {
            c.align = part.at(0) == u'<' ? Align::Left : part.at(0) == u'^' ? Align::Center : Align::Right;
            part.remove(0, 1);
        }
        if (part.endsWith(u'!')) {
            c.rule = true;
            part.chop(1);
        }
        bool ok = false;
        c.width = std::max(0, part.toInt(&ok));
        if (!ok)
            c.width = 1440;   // a damaged width still gives a readable column
        columns.append(c);
    }
    return columns;
}

TableFormat TableFormat::Parse(const QString& text)
{
    TableFormat format;
    QStringList parts = text.split(u';');
    if (parts.isEmpty())
        return format;
    format.columns = ParseColumns(parts.takeFirst());
    // The text ends in ";", which leaves one empty part behind it.
    if (!parts.isEmpty() && parts.last().isEmpty())
        parts.removeLast();
    for (const QString& row : parts)
        format.rows.append(SplitCells(row));
    return format;
}

ReportTable::ReportTable(QList<TableColumn> columns, const QStringList& header,
                         const QList<QStringList>& body, double fontSize, bool bold, printing::LineStyle lineStyle,
                         int headerSetting, int rowSetting)
    : mColumns(std::move(columns)), mFontSize(fontSize), mBold(bold), mLineStyle(lineStyle),
      mHeaderSetting(headerSetting)
{
    auto makeRow = [this](const QStringList& cells, int spaceAbove) {
        Row row;
        row.spaceAbove = spaceAbove;
        for (int c = 0; c < Columns(); ++c) {
            Cell cell;
            cell.text = c < cells.size() ? cells.at(c) : QString();
            row.cells.append(cell);
        }
        return row;
    };
    mHasHeader = !header.isEmpty();
    mRows.append(makeRow(header, 0));
    for (const QStringList& cells : body)
        mRows.append(makeRow(cells, rowSetting));
}

void ReportTable::SetRows(int count)
{
    count = std::max(0, count);
    while (Rows() > count)
        mRows.removeLast();
    while (Rows() < count) {
        Row row;
        for (int c = 0; c < Columns(); ++c)
            row.cells.append(Cell());
        mRows.append(row);
    }
    Cover();
}

ReportTable::Cell* ReportTable::cell(int row, int col)
{
    if (row < 0 || row >= mRows.size() || col < 1 || col > Columns())
        return nullptr;
    return &mRows[row].cells[col - 1];
}

QString ReportTable::CellText(int row, int col) const
{
    if (row < 0 || row >= mRows.size() || col < 1 || col > Columns())
        return QString();
    return mRows.at(row).cells.at(col - 1).text;
}

void ReportTable::SetCellText(int row, int col, const QString& text)
{
    if (Cell* c = cell(row, col))
        c->text = text;
}

void ReportTable::SetColSpan(int row, int col, int span)
{
    if (Cell* c = cell(row, col)) {
        c->colSpan = std::clamp(span, 1, Columns() - col + 1);
        Cover();
    }
}

void ReportTable::SetRowSpan(int row, int col, int span)
{
    if (Cell* c = cell(row, col)) {
        c->rowSpan = std::clamp(span, 1, int(mRows.size()) - row);
        Cover();
    }
}

void ReportTable::SetCellAlign(int row, int col, Align code)
{
    if (Cell* c = cell(row, col))
        c->align = code;
}

void ReportTable::SetCellFontSize(int row, int col, double points)
{
    if (Cell* c = cell(row, col))
        c->fontSize = points;
}

void ReportTable::SetCellBold(int row, int col, bool bold)
{
    if (Cell* c = cell(row, col))
        c->bold = bold ? 1 : 0;
}

void ReportTable::SetCellVertical(int row, int col, bool vertical)
{
    if (Cell* c = cell(row, col))
        c->vertical = vertical;
}

void ReportTable::SetRowHeight(int row, int twips)
{
    if (row >= 0 && row < mRows.size())
        mRows[row].height = std::max(0, twips);
}

void ReportTable::SetKeepWithNext(int row, bool keep)
{
    if (row >= 0 && row < mRows.size())
        mRows[row].keepWithNext = keep;
}

void ReportTable::SetRuleAbove(int row, bool on)
{
    if (row >= 0 && row < mRows.size())
        mRows[row].ruleAbove = on;
}

void ReportTable::SetColumnRule(int col, bool on)
{
    if (col >= 1 && col <= Columns())
        mColumns[col - 1].rule = on;
}

void ReportTable::SetRowSpaceAbove(int row, int twips)
{
    if (row >= 0 && row < mRows.size())
        mRows[row].spaceAbove = std::max(0, twips);
}

void ReportTable::Set(Setting setting, int row1, int col1, int row2, int col2, int value)
{
    if (setting == Setting::Rows) {
        SetRows(value);
        return;
    }
    for (int r = std::max(0, row1); r <= std::min<int>(row2, int(mRows.size()) - 1); ++r) {
        if (setting == Setting::RowHeight) {
            SetRowHeight(r, value);
            continue;
        }
        for (int c = std::max(1, col1); c <= std::min(col2, Columns()); ++c) {
            if (setting == Setting::CellAlign)
                SetCellAlign(r, c, Align(value));
            else if (setting == Setting::VerticalText)
                SetCellVertical(r, c, value != 0);
        }
    }
}

void ReportTable::Cover()
{
    for (Row& row : mRows)
        for (Cell& c : row.cells)
            c.covered = false;
    for (int r = 0; r < mRows.size(); ++r) {
        for (int col = 0; col < Columns(); ++col) {
            const Cell& c = mRows[r].cells[col];
            if (c.covered)
                continue;
            for (int rr = r; rr < std::min<int>(r + c.rowSpan, mRows.size()); ++rr)
                for (int cc = col; cc < std::min(col + c.colSpan, Columns()); ++cc)
                    if (rr != r || cc != col)
                        mRows[rr].cells[cc].covered = true;
        }
    }
}

void ReportTable::Layout(ReportDocument& d) const
{
    const int rowCount = int(mRows.size());
    QList<int> colX{0};
    for (const TableColumn& c : mColumns)
        colX.append(colX.last() + c.width);
    const int width = colX.last();
    const int left = d.MarginLeft() + d.IndentLeft();
    const int room = d.RightEdge() - left;
    const Align h = Horizontal(d.TextAlign());
    const int x0 = left + (h == Align::Center ? (room - width) / 2 : h == Align::Right ? room - width : 0);

    struct Laid {
        std::shared_ptr<QTextDocument> doc;
        int height = 0;
    };
    QList<QList<Laid>> laid(rowCount, QList<Laid>(Columns()));
    QList<int> rowHeight(rowCount, 0);
    QList<std::pair<int, int>> spanned;   // (row, col) of cells spanning rows

    auto isHeaderRow = [this](int r) { return r == 0 ? mHasHeader : false; };
    for (int r = 0; r < rowCount; ++r) {
        if (r == 0 && !mHasHeader)
            continue;
        for (int col = 0; col < Columns(); ++col) {
            const Cell& c = mRows[r].cells[col];
            if (c.covered)
                continue;
            QFont font = d.CurrentFont();
            font.setPixelSize(qRound((c.fontSize > 0 ? c.fontSize : mFontSize) * 20));
            font.setBold(c.bold >= 0 ? c.bold == 1 : mBold);
            const int cellWidth = colX[std::min(col + c.colSpan, Columns())] - colX[col];
            const Align align = c.align ? Horizontal(*c.align) : mColumns[col].align;
            Laid& l = laid[r][col];
            if (c.vertical) {
                // Read bottom to top, the text wraps within a set row height and runs as long as
                // it needs otherwise.
                const int fixed = mRows[r].height;
                const int across = fixed > 0 ? fixed - 2 * kPadY : 100000;
                l.doc = SharedCell(c.text, font, across, align, true, [&] {
                    auto doc = MakeDocument(c.text, font, across, 0, align);
                    if (fixed <= 0)
                        doc->setTextWidth(doc->idealWidth() + 1);
                    return doc;
                });
                l.height = int(l.doc->textWidth()) + 2 * kPadY;
            } else {
                const int pad = CellPadding(cellWidth);
                const int inside = cellWidth - 2 * pad;
                l.doc = SharedCell(c.text, font, inside, align, false, [&] {
                    QFont fitted = font;
                    FitWidestWord(fitted, c.text, inside);
                    return MakeDocument(c.text, fitted, inside, 0, align);
                });
                l.height = int(l.doc->documentLayout()->documentSize().height() + 0.5) + 2 * kPadY;
            }
            if (isHeaderRow(r))
                l.height += mHeaderSetting;
            if (c.rowSpan > 1)
                spanned.append({r, col});
            else
                rowHeight[r] = std::max(rowHeight[r], l.height);
        }
        rowHeight[r] = std::max(rowHeight[r], mRows[r].height);
    }
    for (auto [r, col] : spanned) {
        const int last = std::min(r + mRows[r].cells[col].rowSpan, rowCount) - 1;
        int sum = 0;
        for (int rr = r; rr <= last; ++rr)
            sum += rowHeight[rr] + (rr > r ? mRows[rr].spaceAbove : 0);
        rowHeight[last] += std::max(0, laid[r][col].height - sum);
    }

    auto lineItem = [&d](qreal x1, qreal y1, qreal x2, qreal y2) {
        PageItem item;
        item.kind = PageItem::Kind::Line;
        item.from = QPointF(x1, y1);
        item.to = QPointF(x2, y2);
        d.AddItem(item);
    };

    // A cell of row r that runs across the left edge of column col (0-based).
    auto spansAcross = [this](int r, int col) {
        for (int c = 0; c < col; ++c) {
            const Cell& cell = mRows[r].cells[c];
            if (!cell.covered && c + cell.colSpan > col)
                return true;
        }
        return false;
    };

    // The rules of row r: its line style, a rule above the row where it asks for one, and the
    // rules of the ruled columns, except through a cell that spans them. frameCells also frames
    // the row's cells (grid style).
    auto drawRules = [&](int r, int top, int bottom, bool frameCells) {
        const printing::LineStyle style = mLineStyle;
        const int cellFrames = frameCells ? r : -1;
        if (HasRuleAbove(style) || mRows[r].ruleAbove)
            lineItem(x0, top, x0 + width, top);
        if (HasRuleBelow(style))
            lineItem(x0, bottom, x0 + width, bottom);
        if (style == LineStyle::Box) {
            PageItem box;
            box.kind = PageItem::Kind::Box;
            box.rect = QRectF(x0, top, width, bottom - top);
            box.frame = true;
            d.AddItem(box);
        }
        for (int col = 0; col <= Columns(); ++col) {
            const bool columnRule = HasColumnRules(style) || (col > 0 && mColumns[col - 1].rule && !spansAcross(r, col));
            if (columnRule && style != LineStyle::Grid)
                lineItem(x0 + colX[col], top, x0 + colX[col], bottom);
        }
        if (style == LineStyle::Grid && cellFrames >= 0) {
            for (int col = 0; col < Columns(); ++col) {
                const Cell& c = mRows[cellFrames].cells[col];
                if (c.covered)
                    continue;
                PageItem frame;
                frame.kind = PageItem::Kind::Box;
                frame.rect = QRectF(x0 + colX[col], top, colX[std::min(col + c.colSpan, Columns())] - colX[col],
                                    bottom - top);
                frame.frame = true;
                d.AddItem(frame);
            }
        }
    };

    auto placeRow = [&](int r) {
        const Row& row = mRows[r];
        const int top = d.CurrentY() + row.spaceAbove;
        const bool header = isHeaderRow(r) || (mHeaderSetting > 0 && !mHasHeader);
        for (int col = 0; col < Columns(); ++col) {
            const Cell& c = row.cells[col];
            if (c.covered)
                continue;
            const int x = x0 + colX[col];
            const int w = colX[std::min(col + c.colSpan, Columns())] - colX[col];
            int hgt = rowHeight[r];
            for (int rr = r + 1; rr < std::min(r + c.rowSpan, rowCount); ++rr)
                hgt += rowHeight[rr] + mRows[rr].spaceAbove;
            if (header) {
                PageItem shade;
                shade.kind = PageItem::Kind::Box;
                shade.rect = QRectF(x, top, w, hgt);
                shade.fill = true;
                shade.brushColor = kHeaderShade;
                d.AddItem(shade);
            }
            const Laid& l = laid[r][col];
            if (l.doc && !c.text.isEmpty()) {
                PageItem text;
                text.doc = l.doc;
                text.vertical = c.vertical;
                const int contentH = l.height - 2 * kPadY - (isHeaderRow(r) ? mHeaderSetting : 0);
                const bool middle = (c.align && CentredVertically(*c.align)) || c.vertical;
                const int dy = middle ? std::max(0, (hgt - 2 * kPadY - contentH) / 2) : 0;
                if (c.vertical)
                    text.rect = QRectF(x + std::max(0, (w - int(l.doc->documentLayout()->documentSize().height())) / 2),
                                       top + kPadY + dy, l.doc->documentLayout()->documentSize().height(), contentH);
                else
                    text.rect = QRectF(x + CellPadding(w), top + kPadY + (isHeaderRow(r) ? mHeaderSetting / 2 : 0) + dy,
                                       w - 2 * CellPadding(w), contentH);
                text.lines = QStringList{c.text.startsWith(QStringLiteral("{\\")) ? l.doc->toPlainText() : c.text};
                d.AddItem(text);
            }
            if (mLineStyle == LineStyle::Grid) {
                PageItem frame;
                frame.kind = PageItem::Kind::Box;
                frame.rect = QRectF(x, top, w, hgt);
                frame.frame = true;
                d.AddItem(frame);
            }
        }
        const int bottom = top + rowHeight[r];
        drawRules(r, top, bottom, false);
        d.mY = bottom;
    };

    // A row taller than a page goes on over as many pages as its cells need, each cell cut
    // between two of its lines.
    auto placeTallRow = [&](int r, const std::function<void()>& newPage) {
        const Row& row = mRows[r];
        QList<qreal> source(Columns(), 0);
        int top = d.CurrentY() + row.spaceAbove;
        while (true) {
            const int room = d.BottomLimit() - top - 2 * kPadY;
            int used = 0;
            bool done = true;
            for (int col = 0; col < Columns(); ++col) {
                const Cell& c = row.cells[col];
                const Laid& l = laid[r][col];
                if (c.covered || !l.doc || c.text.isEmpty())
                    continue;
                const qreal height = l.doc->documentLayout()->documentSize().height();
                if (source[col] >= height - 0.5)
                    continue;
                qreal cut = height;
                if (height - source[col] > room) {
                    cut = CutBefore(*l.doc, source[col], source[col] + room);
                    if (cut <= source[col])   // at least one line a page, however little room
                        cut = NextLineBottom(*l.doc, source[col]);
                    done = false;
                }
                const int x = x0 + colX[col];
                const int w = colX[std::min(col + c.colSpan, Columns())] - colX[col];
                PageItem text;
                text.doc = l.doc;
                text.sourceTop = source[col];
                text.rect = QRectF(x + CellPadding(w), top + kPadY, w - 2 * CellPadding(w), cut - source[col]);
                text.lines = LinesWithin(*l.doc, source[col], cut);
                d.AddItem(text);
                used = std::max(used, int(std::lround(cut - source[col])));
                source[col] = cut;
            }
            const int bottom = done ? top + used + 2 * kPadY : d.BottomLimit();
            drawRules(r, top, bottom, true);
            d.mY = bottom;
            if (done)
                return;
            newPage();
            top = d.CurrentY();
        }
    };

    auto Splittable = [&](int r) {
        for (const Cell& c : mRows[r].cells)
            if (!c.covered && (c.rowSpan > 1 || c.vertical))
                return false;
        return r > 0;
    };

    auto groupHeight = [&](int from, int to) {
        int sum = 0;
        for (int r = from; r <= to; ++r)
            sum += rowHeight[r] + mRows[r].spaceAbove;
        return sum;
    };

    // Rows printed again on a page the document ran on to are the word processor's to repeat.
    if (d.mRtf && !d.mRepeatingHeading) {
        QList<QList<std::shared_ptr<QTextDocument>>> docs(rowCount);
        for (int r = 0; r < rowCount; ++r)
            for (const Laid& l : laid[r])
                docs[r].append(l.doc);
        d.mRtf->Table(*this, x0, colX, docs);
    }

    d.mXSet = false;
    const int headerHeight = mHasHeader ? groupHeight(0, 0) : 0;
    if (mHasHeader) {
        // Keep the header with the first body row, or with all the rows it is kept with when
        // they fit on a page: a table kept together never leaves its header alone at a page foot.
        int firstLast = 1;
        if (mRows[0].keepWithNext)
            while (firstLast + 1 < rowCount && mRows[firstLast].keepWithNext)
                ++firstLast;
        if (firstLast > 1 && headerHeight + groupHeight(1, firstLast) > d.BottomLimit() - d.MarginTop())
            firstLast = 1;
        const int first = rowCount > 1 ? groupHeight(1, firstLast) : 0;
        if (d.CurrentY() + headerHeight + first > d.BottomLimit() && d.CurrentY() > d.MarginTop())
            d.OverflowPage();
        placeRow(0);
    }
    int r = 1;
    while (r < rowCount) {
        int last = r;
        while (last + 1 < rowCount) {
            bool joined = mRows[last].keepWithNext;
            for (int rr = r; rr <= last && !joined; ++rr)
                for (const Cell& c : mRows[rr].cells)
                    if (!c.covered && rr + c.rowSpan - 1 > last)
                        joined = true;
            if (!joined)
                break;
            ++last;
        }
        const bool roomOnFreshPage = groupHeight(r, last) + headerHeight <= d.BottomLimit() - d.MarginTop();
        const bool pageHasRows = d.CurrentY() > d.MarginTop() + headerHeight;
        if (d.CurrentY() + groupHeight(r, last) > d.BottomLimit() && (roomOnFreshPage || pageHasRows)) {
            d.OverflowPage();
            if (mHasHeader)
                placeRow(0);
        }
        auto newPage = [&] {
            d.OverflowPage();
            if (mHasHeader)
                placeRow(0);
        };
        for (int rr = r; rr <= last; ++rr) {
            const bool fits = d.CurrentY() + groupHeight(rr, rr) <= d.BottomLimit();
            if (!fits && groupHeight(rr, rr) + headerHeight > d.BottomLimit() - d.MarginTop() && Splittable(rr)) {
                placeTallRow(rr, newPage);
                continue;
            }
            if (rr > r && !fits)
                newPage();
            placeRow(rr);
        }
        r = last + 1;
    }
    d.mX = d.MarginLeft();
}

}  // namespace printing
