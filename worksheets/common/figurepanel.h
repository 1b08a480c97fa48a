#pragma once

#include <QLabel>

namespace worksheets {

// A sunken panel that shows a figure (a cost, a loss, a total), right-aligned, at least
// minWidth pixels wide so that panels one above the other line up. However short of room its
// layout is, it is never narrower than its figure: a figure always shows whole.
class FigurePanel : public QLabel {
public:
    FigurePanel(const QString& name, int minWidth, QWidget* parent);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

private:
    int mMinWidth;
};

} // namespace worksheets
