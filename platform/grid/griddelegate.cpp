#include "platform/grid/griddelegate.h"

#include "platform/grid/gridmodel.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/showntext.h"

#include <QApplication>
#include <QAbstractItemView>
#include <QFontMetrics>
#include <QHelpEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTextLayout>
#include <QToolTip>

#include <algorithm>
#include <cmath>

namespace grid {

namespace {

// Between a cell's edge and its text.
constexpr int kCellMargin = 3;

} // namespace

CellText LayOutCellText(const QFontMetrics& metrics, const QRect& cell, const QString& text, bool wrap)
{
    CellText laid{cell.adjusted(kCellMargin, 1, -kCellMargin, -1), text};
    if (!wrap)
        return laid;
    qsizetype blanks = 0;
    while (blanks < text.size() && text.at(blanks) == QLatin1Char(' '))
        ++blanks;
    if (blanks == 0 || blanks == text.size())
        return laid;
    laid.rect.setLeft(std::min(laid.rect.right(), laid.rect.left() + metrics.horizontalAdvance(text.left(blanks))));
    laid.text = text.mid(blanks);
    return laid;
}

int FigureWidth(const QFontMetrics& metrics, const QString& text)
{
    QString number = text.trimmed();
    if (number.endsWith(QLatin1Char('%')))
        number.chop(1);
    if (!IsNumericText(number))
        return 0;
    // The advance as the text is laid out, unrounded: a rounded one can fall short of what
    // painting needs by a fraction, and the figure is drawn cut.
    return int(std::ceil(QFontMetricsF(metrics).horizontalAdvance(text))) + 2 * kCellMargin;
}

QString WrappedLines(const QFont& font, const QRect& room, const QString& text)
{
    QTextLayout layout(text, font);
    QTextOption wrapping;
    wrapping.setWrapMode(QTextOption::WordWrap);
    layout.setTextOption(wrapping);
    QList<QTextLine> lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(room.width());
        lines.append(line);
    }
    layout.endLayout();
    const QFontMetricsF metrics(font);
    const int fit = std::max(1, int((room.height() + 2) / metrics.lineSpacing()));
    if (lines.size() <= fit || text.contains(QLatin1Char('\n')))
        return {};
    QStringList shown;
    for (int i = 0; i < fit - 1; ++i)
        shown << text.mid(lines[i].textStart(), lines[i].textLength()).trimmed();
    shown << QFontMetrics(font).elidedText(text.mid(lines[fit - 1].textStart()).trimmed(), Qt::ElideRight, room.width());
    return shown.join(QLatin1Char('\n'));
}

bool CellTextFits(const QFontMetrics& metrics, const QRect& cell, const QString& text, bool wrap)
{
    const CellText laid = LayOutCellText(metrics, cell, text, wrap);
    const QRect used = metrics.boundingRect(QRect(laid.rect.topLeft(), QSize(laid.rect.width(), 1 << 20)),
                                            wrap ? int(Qt::TextWordWrap) : 0, laid.text);
    return used.width() <= laid.rect.width() && used.height() <= laid.rect.height() + 2;
}

GridDelegate::GridDelegate(const GridModel* model, QObject* parent)
    : QStyledItemDelegate(parent)
    , mModel(model)
{
}

void GridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int r = index.row();
    const int c = index.column();
    if (!mModel->valid(r, c))
        return;
    const Cell& cell = mModel->cell(r, c);
    const bool fixed = mModel->isFixed(r, c);
    const QPalette& palette = option.palette;
    const QRect rect = option.rect;

    painter->save();
    painter->fillRect(rect, cell.back.isValid() ? cell.back : palette.color(fixed ? QPalette::Button : QPalette::Base));

    if (cell.flood >= 0.0) {
        const double percent = std::clamp(cell.flood, 0.0, 100.0);
        QRect bar = rect.adjusted(0, 1, 0, -1);
        bar.setWidth(int(bar.width() * percent / 100.0 + 0.5));
        if (bar.width() > 0)
            painter->fillRect(bar, floodColor);
    }

    const QColor textColor = cell.fore.isValid() ? cell.fore : palette.color(fixed ? QPalette::ButtonText : QPalette::Text);
    if (!fixed && mModel->column(c).type == DataType::Boolean) {
        QStyleOptionButton box;
        box.state = QStyle::State_Enabled | (mModel->isChecked(r, c) ? QStyle::State_On : QStyle::State_Off);
        const QSize size = QApplication::style()->subElementRect(QStyle::SE_CheckBoxIndicator, &box).size();
        box.rect = QRect(rect.center() - QPoint(size.width() / 2, size.height() / 2), size);
        QApplication::style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter);
    } else {
        const QString text = shownText(r, c);
        if (!text.isEmpty()) {
            painter->setPen(textColor);
            painter->setFont(option.font);
            painter->setClipRect(rect);
            const bool wrap = mModel->column(c).wordWrap;
            const QFontMetrics metrics(option.font);
            CellText laid = LayOutCellText(metrics, rect, ui::ShownText(text, metrics, rect.size()), wrap);
            int flags = int(mModel->alignment(r, c));
            if (wrap) {
                const QString lines = WrappedLines(option.font, laid.rect, laid.text);
                if (!lines.isEmpty())
                    laid.text = lines;
                else
                    flags |= Qt::TextWordWrap;
            } else {
                // As the boxes of long names do: beginning and end, so that names that differ
                // only at their ends are told apart.
                QStringList lines = laid.text.split(QLatin1Char('\n'));
                for (QString& line : lines)
                    line = metrics.elidedText(ui::ShownEnds(line, metrics, laid.rect.width()), Qt::ElideMiddle,
                                                 laid.rect.width());
                laid.text = lines.join(QLatin1Char('\n'));
            }
            painter->drawText(laid.rect, flags, laid.text);
        }
    }

    if (r == currentRow && c == currentCol && !fixed) {
        painter->setClipping(false);
        QPen pen(palette.color(QPalette::Highlight));
        pen.setWidth(2);
        painter->setPen(pen);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(rect.adjusted(1, 1, -1, -1));
    }
    painter->restore();
}

QString GridDelegate::shownText(int row, int col) const
{
    if (!mModel->isFixed(row, col) && mModel->column(col).type == DataType::Boolean)
        return {};
    QString text = mModel->displayText(row, col);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace('\r', '\n');
    return text;
}

bool GridDelegate::helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                             const QModelIndex& index)
{
    if (event->type() == QEvent::ToolTip && index.isValid() && mModel->valid(index.row(), index.column())) {
        const QString text = shownText(index.row(), index.column());
        if (!text.isEmpty() &&
            !CellTextFits(QFontMetrics(option.font), option.rect, text, mModel->column(index.column()).wordWrap)) {
            QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
            return true;
        }
    }
    return QStyledItemDelegate::helpEvent(event, view, option, index);
}

} // namespace grid
