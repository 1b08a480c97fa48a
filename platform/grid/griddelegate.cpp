#include "platform/grid/griddelegate.h"

#include "platform/grid/gridmodel.h"
#include "platform/ui/showntext.h"

#include <QApplication>
#include <QFontMetrics>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace grid {

CellText LayOutCellText(const QFontMetrics& metrics, const QRect& cell, const QString& text, bool wrap)
{
    CellText laid{cell.adjusted(3, 1, -3, -1), text};
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
        QString text = mModel->displayText(r, c);
        if (!text.isEmpty()) {
            text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            text.replace('\r', '\n');
            painter->setPen(textColor);
            painter->setFont(option.font);
            painter->setClipRect(rect);
            const bool wrap = mModel->column(c).wordWrap;
            const QFontMetrics metrics(option.font);
            const CellText laid = LayOutCellText(metrics, rect, ui::ShownText(text, metrics, rect.size()), wrap);
            painter->drawText(laid.rect, int(mModel->alignment(r, c)) | (wrap ? int(Qt::TextWordWrap) : 0), laid.text);
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

} // namespace grid
