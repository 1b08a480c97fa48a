#pragma once

#include <QLabel>

namespace worksheets {

// A label that shows a name (an alternative, a criterion, an outcome) in the width its layout
// gives it: a name longer than that shows its beginning and its end with the middle left out,
// as the drop-down boxes of long names do, and its whole text is the label's tooltip. The name
// never widens the label, so a long one moves nothing around it; text() is the whole name.
class NameLabel : public QLabel {
public:
    explicit NameLabel(QWidget* parent = nullptr);

    void setText(const QString& name);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // Where the text goes, as a label lays it out.
    QRect textRect() const;
    QString shownText() const;
    void tellWhole();
};

} // namespace worksheets
