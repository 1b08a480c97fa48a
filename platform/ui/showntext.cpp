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

QString ShownEnds(const QString& line, const QFontMetrics& metrics, int width)
{
    qsizetype each = std::max(1, width) / std::max(1, metrics.horizontalAdvance(QLatin1Char('i'))) + 1;
    if (line.size() <= 2 * each + 1)
        return line;
    qsizetype tail = line.size() - each;
    if (line.at(each - 1).isHighSurrogate())
        --each;
    if (line.at(tail).isLowSurrogate())
        ++tail;
    return line.left(each) + QChar(0x2026) + line.mid(tail);
}

void ShownTextDelegate::initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    const auto* view = qobject_cast<const QAbstractItemView*>(option->widget);
    option->text = ShownText(option->text, option->fontMetrics, view ? view->viewport()->size() : option->rect.size());
}

} // namespace ui
