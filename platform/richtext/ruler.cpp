#include "platform/richtext/ruler.h"

#include "platform/richtext/units.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <cmath>

namespace richtext {

namespace {
constexpr double kInch = 96.0;
constexpr double kSnap = kInch / 16.0;
constexpr int kGrab = 5;
}

Ruler::Ruler(QTextEdit* edit, QWidget* parent)
    : QWidget(parent), mEdit(edit)
{
    setMouseTracking(false);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(edit, &QTextEdit::cursorPositionChanged, this, qOverload<>(&QWidget::update));
    connect(edit->document(), &QTextDocument::contentsChanged, this, qOverload<>(&QWidget::update));
    connect(edit->horizontalScrollBar(), &QScrollBar::valueChanged, this, qOverload<>(&QWidget::update));
}

QSize Ruler::sizeHint() const
{
    return QSize(400, 26);
}

double Ruler::textLeft() const
{
    const QPoint viewport = mEdit->viewport()->mapTo(window(), QPoint(0, 0));
    const QPoint self = mapTo(window(), QPoint(0, 0));
    return viewport.x() - self.x() + mEdit->document()->documentMargin() - mEdit->horizontalScrollBar()->value();
}

double Ruler::textWidth() const
{
    return qMax(1.0, mEdit->viewport()->width() - 2 * mEdit->document()->documentMargin());
}

double Ruler::snap(double px) const
{
    return std::round(px / kSnap) * kSnap;
}

void Ruler::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.fillRect(rect(), palette().window());
    const double x0 = textLeft();
    const double w = textWidth();
    const int h = height();
    p.fillRect(QRectF(x0, 3, w, h - 6), palette().base());
    p.setPen(palette().text().color());
    QFont f = font();
    f.setPointSizeF(7);
    p.setFont(f);
    for (int i = 1; i * kInch / 8 < w; ++i) {
        const double x = x0 + i * kInch / 8;
        if (i % 8 == 0)
            p.drawText(QRectF(x - 10, 4, 20, h - 10), Qt::AlignCenter, QString::number(i / 8));
        else
            p.drawLine(QPointF(x, h / 2.0 - (i % 4 == 0 ? 4 : i % 2 == 0 ? 2.5 : 1)),
                       QPointF(x, h / 2.0 + (i % 4 == 0 ? 4 : i % 2 == 0 ? 2.5 : 1)));
    }

    const QTextBlockFormat bf = mEdit->textCursor().blockFormat();
    double first = bf.leftMargin() + bf.textIndent();
    double left = bf.leftMargin();
    double right = w - bf.rightMargin();
    QList<QTextOption::Tab> tabs = bf.tabPositions();
    switch (mHandle) {
    case Handle::First: first = mDragX; break;
    case Handle::Left: first += mDragX - left; left = mDragX; break;
    case Handle::Right: right = mDragX; break;
    case Handle::Tab:
        if (mTabIndex >= 0 && mTabIndex < tabs.size()) {
            if (mRemoveTab)
                tabs.removeAt(mTabIndex);
            else
                tabs[mTabIndex].position = mDragX;
        }
        break;
    case Handle::None: break;
    }

    p.setPen(palette().text().color());
    p.setBrush(palette().button());
    auto down = [&](double x) {
        p.drawPolygon(QPolygonF({QPointF(x0 + x - 4, 1), QPointF(x0 + x + 4, 1), QPointF(x0 + x, 8)}));
    };
    auto up = [&](double x) {
        p.drawPolygon(QPolygonF({QPointF(x0 + x - 4, h - 1), QPointF(x0 + x + 4, h - 1), QPointF(x0 + x, h - 8)}));
    };
    down(first);
    up(left);
    up(right);
    QPen tabPen(palette().text().color(), 1.6);
    p.setPen(tabPen);
    for (const QTextOption::Tab& t : std::as_const(tabs)) {
        const double x = x0 + t.position;
        p.drawLine(QPointF(x, h - 12), QPointF(x, h - 5));
        if (t.type == QTextOption::RightTab)
            p.drawLine(QPointF(x - 5, h - 5), QPointF(x, h - 5));
        else if (t.type == QTextOption::CenterTab)
            p.drawLine(QPointF(x - 3, h - 5), QPointF(x + 3, h - 5));
        else
            p.drawLine(QPointF(x, h - 5), QPointF(x + 5, h - 5));
    }
}

void Ruler::mousePressEvent(QMouseEvent* event)
{
    if (!mEdit->isEnabled() || mEdit->isReadOnly() || event->button() != Qt::LeftButton)
        return;
    const double x = event->position().x() - textLeft();
    const double y = event->position().y();
    const QTextBlockFormat bf = mEdit->textCursor().blockFormat();
    const double first = bf.leftMargin() + bf.textIndent();
    const double left = bf.leftMargin();
    const double right = textWidth() - bf.rightMargin();
    mHandle = Handle::None;
    if (y < height() / 2.0 && std::abs(x - first) <= kGrab)
        mHandle = Handle::First;
    else if (y >= height() / 2.0 && std::abs(x - left) <= kGrab)
        mHandle = Handle::Left;
    else if (std::abs(x - right) <= kGrab)
        mHandle = Handle::Right;
    else {
        const QList<QTextOption::Tab> tabs = bf.tabPositions();
        for (int i = 0; i < tabs.size(); ++i)
            if (std::abs(x - tabs.at(i).position) <= kGrab) {
                mHandle = Handle::Tab;
                mTabIndex = i;
            }
    }
    if (mHandle == Handle::None && x > 0 && x < textWidth()) {
        QList<QTextOption::Tab> tabs = bf.tabPositions();
        tabs.append(QTextOption::Tab(snap(x), QTextOption::LeftTab));
        std::sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.position < b.position; });
        QTextBlockFormat change;
        change.setTabPositions(tabs);
        mEdit->textCursor().mergeBlockFormat(change);
        return;
    }
    mDragX = snap(x);
    mRemoveTab = false;
    update();
}

void Ruler::mouseMoveEvent(QMouseEvent* event)
{
    if (mHandle != Handle::None)
        applyDrag(event->position().x() - textLeft(), event->position().y(), false);
}

void Ruler::mouseReleaseEvent(QMouseEvent* event)
{
    if (mHandle != Handle::None)
        applyDrag(event->position().x() - textLeft(), event->position().y(), true);
}

void Ruler::applyDrag(double x, double y, bool finished)
{
    const double w = textWidth();
    mDragX = snap(qBound(0.0, x, w));
    mRemoveTab = mHandle == Handle::Tab && (y < -10 || y > height() + 10);
    if (!finished) {
        update();
        return;
    }
    QTextCursor cursor = mEdit->textCursor();
    const QTextBlockFormat bf = cursor.blockFormat();
    QTextBlockFormat change;
    switch (mHandle) {
    case Handle::First:
        change.setTextIndent(mDragX - bf.leftMargin());
        break;
    case Handle::Left:
        change.setLeftMargin(qMin(mDragX, w - bf.rightMargin() - kSnap));
        break;
    case Handle::Right:
        change.setRightMargin(qMax(0.0, w - qMax(mDragX, bf.leftMargin() + kSnap)));
        break;
    case Handle::Tab: {
        QList<QTextOption::Tab> tabs = bf.tabPositions();
        if (mTabIndex >= 0 && mTabIndex < tabs.size()) {
            if (mRemoveTab)
                tabs.removeAt(mTabIndex);
            else
                tabs[mTabIndex].position = mDragX;
        }
        std::sort(tabs.begin(), tabs.end(), [](const auto& a, const auto& b) { return a.position < b.position; });
        change.setTabPositions(tabs);
        break;
    }
    case Handle::None:
        break;
    }
    mHandle = Handle::None;
    mTabIndex = -1;
    cursor.mergeBlockFormat(change);
    update();
}

} // namespace richtext
