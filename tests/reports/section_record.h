#pragma once

// Reading back what a report section printed: its calls in the fixture's record form and the
// texts laid out on its pages.

#include "report_fixture.h"

#include <QRegularExpression>

#include <cmath>

namespace sectionrecord {

// "Paragraph \"text\" at x,y layout", as the document records a call.
inline QString Call(const QString& kind, const QString& text, const QString& at, const QString& layout)
{
    return QStringLiteral("%1 \"%2\" at %3 %4").arg(kind, text, at, layout);
}

// One text laid out on a page: a paragraph, or a cell of a table.
struct Printed {
    int x = 0, y = 0, width = 0, height = 0;
    double size = 0;
    bool bold = false;
    QString text;
};

inline QList<Printed> PrintedOn(int page)
{
    static const QRegularExpression kText(
        QStringLiteral("^text (-?\\d+),(-?\\d+) (\\d+)x(\\d+)(?: vertical)? .* ([\\d.]+)( b)?( i)? \"(.*)\"$"),
        QRegularExpression::DotMatchesEverythingOption);
    QList<Printed> out;
    for (const QString& line : reports::VSPrinter1().PageRecord(page)) {
        const QRegularExpressionMatch m = kText.match(line);
        if (!m.hasMatch())
            continue;
        out.append({m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt(),
                    m.captured(5).toDouble(), !m.captured(6).isEmpty(), m.captured(8)});
    }
    return out;
}

// The texts of the page that are not empty, in the order they were laid out.
inline QStringList TextsOn(int page)
{
    QStringList out;
    for (const Printed& p : PrintedOn(page))
        if (!p.text.isEmpty())
            out << p.text;
    return out;
}

// The first laid-out text of the page that reads exactly so; a default one (empty text) when none.
inline Printed Find(int page, const QString& text)
{
    for (const Printed& p : PrintedOn(page))
        if (p.text == text)
            return p;
    return {};
}

// The texts laid out on the same line as the given one, left to right.
inline QStringList RowOf(int page, const Printed& first)
{
    QList<Printed> row;
    for (const Printed& p : PrintedOn(page))
        if (p.y == first.y && !p.text.isEmpty())
            row.append(p);
    std::sort(row.begin(), row.end(), [](const Printed& a, const Printed& b) { return a.x < b.x; });
    QStringList out;
    for (const Printed& p : row)
        out << p.text;
    return out;
}

// The calls that print table rows, each as its row string.
inline QStringList TableRowStrings(const QStringList& calls)
{
    QStringList out;
    for (const QString& call : calls)
        if (call.startsWith(QStringLiteral("TableRows \"")))
            out << call.section(u'"', 1, 1);
    return out;
}

// The vertical position a call was made at.
inline int YOf(const QString& call)
{
    static const QRegularExpression kAt(QStringLiteral(" at -?\\d+,(-?\\d+) "));
    return kAt.match(call).captured(1).toInt();
}

// One table of a banded section (AAC and NVC tables, values protected, estimated loss): from the
// upper rule of its sub-title to the last thing printed before the next sub-title.
struct Band {
    int top = 0, bottom = 0;
};

// The bands of a page, found by the two rules across the page that frame every sub-title.
inline QList<Band> BandsOn(int page)
{
    const printing::ReportDocument& doc = reports::VSPrinter1();
    QList<Band> bands;
    bool upperRule = true;
    for (const printing::PageItem& item : doc.page(page).items) {
        const bool rule = item.kind == printing::PageItem::Kind::Line && item.from.x() == 720 &&
                          item.to.x() == doc.PageWidth() - 720 && item.from.y() == item.to.y();
        if (rule) {
            if (upperRule)
                bands.append({int(item.from.y()), int(item.from.y())});
            upperRule = !upperRule;
            continue;
        }
        const bool empty = item.kind == printing::PageItem::Kind::Text && item.lines.join(QString()).isEmpty();
        if (bands.isEmpty() || empty)
            continue;
        const qreal bottom = item.kind == printing::PageItem::Kind::Line ? std::max(item.from.y(), item.to.y())
                                                                          : item.rect.bottom();
        bands.last().bottom = std::max(bands.last().bottom, int(std::ceil(bottom)));
    }
    return bands;
}

}  // namespace sectionrecord
