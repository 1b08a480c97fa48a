#include "platform/ui/showntext.h"

#include <QAbstractItemView>
#include <QFontMetrics>

#include <algorithm>

namespace ui {

QString ShownText(const QString& text, const QFontMetrics& metrics, const QSize& area)
{
    const qsizetype lines = std::max(1, area.height()) / std::max(1, metrics.lineSpacing()) + 1;
    const qsizetype perLine = std::max(1, area.width()) / std::max(1, metrics.horizontalAdvance(QLatin1Char('i'))) + 1;
    const qsizetype shown = std::max<qsizetype>(2, lines * perLine);
    if (text.size() <= shown)
        return text;
    qsizetype kept = shown - 1;
    if (text.at(kept - 1).isHighSurrogate())
        --kept;
    return text.left(kept) + QChar(0x2026);
}

void ShownTextDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
    option->text = ShownText(option->text, option->fontMetrics, view ? view->viewport()->size() : option->rect.size());
}

} // namespace ui
