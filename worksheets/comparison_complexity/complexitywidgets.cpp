#include "worksheets/comparison_complexity/complexitywidgets.h"

#include "platform/grid/grid.h"
#include "platform/ui/guard.h"
#include "platform/ui/screen.h"

#include <QFontDatabase>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyleOptionFocusRect>

namespace worksheets::complexity {

using namespace model::complexity;

namespace {

const QColor kLightYellow(255, 255, 224);   // &HE0FFFF
const QColor kYellow(255, 255, 0);          // &HFFFF

// A caption that acts on a click. It takes the focus by Tab so that the categories can be
// chosen without a mouse.
class ClickLabel : public QLabel {
public:
    ClickLabel(const QString& text, std::function<void()> onClick, QWidget* parent)
        : QLabel(text, parent), mOnClick(std::move(onClick))
    {
        setFocusPolicy(Qt::StrongFocus);
        setCursor(Qt::PointingHandCursor);
    }

protected:
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton) {
            ui::RunHandler(mOnClick);
            event->accept();
            return;
        }
        QLabel::mousePressEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override
    {
        switch (event->key()) {
        case Qt::Key_Space:
        case Qt::Key_Return:
        case Qt::Key_Enter: ui::RunHandler(mOnClick); return;
        case Qt::Key_Down: focusNextChild(); return;
        case Qt::Key_Up: focusPreviousChild(); return;
        default: QLabel::keyPressEvent(event);
        }
    }
    void paintEvent(QPaintEvent* event) override
    {
        QLabel::paintEvent(event);
        if (!hasFocus())
            return;
        QPainter painter(this);
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(1, 1, -1, -1);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }

private:
    std::function<void()> mOnClick;
};

} // namespace

QLabel* Bold(QLabel* label)
{
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

QFont FixedPitch(const QFont& like)
{
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSizeF(like.pointSizeF());
    return fixed;
}

void FillLastColumn(grid::Grid& grid)
{
    const int last = grid.cols() - 1;
    if (last < 0)
        return;
    int room = grid.width() - 2 * grid.frameWidth() - grid.verticalScrollBar()->sizeHint().width();
    for (int c = 0; c < last; ++c)
        room -= grid.columnWidth(c);
    grid.setColWidth(last, ui::PixelsToTwips(std::max(room, 60)));
}

CategoryColumn::CategoryColumn(const QString& ratingHeader, std::function<void(int)> onClick, QWidget* parent)
    : QWidget(parent)
{
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setHorizontalSpacing(8);
    layout->setVerticalSpacing(4);

    layout->addWidget(Bold(new QLabel(QStringLiteral("Category"), this)), 0, 0);
    if (!ratingHeader.isEmpty())
        layout->addWidget(Bold(new QLabel(ratingHeader, this)), 0, 1);

    // The rating words are padded to one width, so they line up in a fixed-pitch font.
    const QFont fixed = FixedPitch(font());
    for (int k = 1; k <= kCategoryCount; ++k) {
        QLabel* caption = onClick ? new ClickLabel(CategoryCaption(k), [onClick, k] { onClick(k); }, this)
                                  : new QLabel(CategoryCaption(k), this);
        caption->setObjectName(QStringLiteral("lblCategory(%1)").arg(k));
        caption->setAutoFillBackground(true);
        caption->setFrameShape(QFrame::Box);
        caption->setMinimumHeight(caption->sizeHint().height() + 6);
        mCategory[size_t(k)] = caption;
        setChosen(k, false);

        auto* rating = new QLabel(this);
        rating->setObjectName(QStringLiteral("lblCategoryComplexity(%1)").arg(k));
        rating->setFont(fixed);
        rating->setTextFormat(Qt::PlainText);
        mRating[size_t(k)] = rating;

        layout->addWidget(caption, k, 0);
        layout->addWidget(rating, k, 1);
    }
    layout->setColumnStretch(0, 1);
}

void CategoryColumn::showTally(int k, const Tally& tally)
{
    if (ValidCategory(k))
        mRating[size_t(k)]->setText(RatingCaption(tally));
}

void CategoryColumn::showTallies(const Tallies& tallies)
{
    for (int k = 1; k <= kCategoryCount; ++k)
        showTally(k, tallies[size_t(k)]);
}

void CategoryColumn::setChosen(int k, bool chosen)
{
    if (!ValidCategory(k))
        return;
    QLabel* caption = mCategory[size_t(k)];
    QPalette pal = caption->palette();
    pal.setColor(QPalette::Window, chosen ? kYellow : kLightYellow);
    pal.setColor(QPalette::WindowText, Qt::black);
    caption->setPalette(pal);
}

} // namespace worksheets::complexity
