#pragma once

#include <QWidget>

class QTextEdit;

namespace richtext {

// Shows and moves the indents and tab stops of the paragraph at the caret.
// Drag the top marker for the first line, the bottom one for the left indent,
// the right one for the right indent; click the scale to add a tab stop and
// drag a tab stop off the ruler to remove it.
class Ruler : public QWidget
{
    Q_OBJECT

public:
    explicit Ruler(QTextEdit* edit, QWidget* parent = nullptr);

    QSize sizeHint() const override;

    // Positions in pixels from the left text edge, for tests and the markers.
    double textLeft() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    enum class Handle { None, First, Left, Right, Tab };

    double textWidth() const;
    double snap(double px) const;
    void applyDrag(double x, double y, bool finished);

    QTextEdit* mEdit;
    Handle mHandle = Handle::None;
    int mTabIndex = -1;
    double mDragX = 0;
    bool mRemoveTab = false;
};

} // namespace richtext
