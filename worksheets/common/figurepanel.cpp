#include "worksheets/common/figurepanel.h"

#include <algorithm>

namespace worksheets {

FigurePanel::FigurePanel(const QString& name, int minWidth, QWidget* parent) : QLabel(parent), mMinWidth(minWidth)
{
    setObjectName(name);
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    setTextFormat(Qt::PlainText);
}

// A label's own hints are its text's size; an explicit minimum width would let a layout that is
// short of room squeeze the figure below it.
QSize FigurePanel::minimumSizeHint() const
{
    const QSize figure = QLabel::minimumSizeHint();
    return {std::max(figure.width(), mMinWidth), figure.height()};
}

QSize FigurePanel::sizeHint() const
{
    const QSize figure = QLabel::sizeHint();
    return {std::max(figure.width(), mMinWidth), figure.height()};
}

} // namespace worksheets
