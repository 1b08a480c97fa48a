#pragma once

#include <QSize>
#include <QString>
#include <QStyledItemDelegate>

class QFontMetrics;

namespace ui {

// As much of a text as an area can show in a font: as many lines as fit in its height, each
// as long as the narrowest letters make one, with an ellipsis where it is cut. Laying out the
// rest would take time (seconds, for the megabytes a damaged or foreign file may hold in a
// name) to show nothing more.
QString ShownText(const QString& text, const QFontMetrics& metrics, const QSize& area);
// A line to be shown with its middle left out: no longer than both its ends could fill the
// width with the narrowest letters, so that eliding it lays out no more than that.
QString ShownEnds(const QString& line, const QFontMetrics& metrics, int width);

// The entries of a list or combo box laid out no further than its view can show them.
class ShownTextDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;
};

} // namespace ui
