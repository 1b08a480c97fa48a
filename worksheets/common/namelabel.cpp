#include "worksheets/common/namelabel.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>

namespace worksheets {

NameLabel::NameLabel(QWidget* parent) : QLabel(parent)
{
    setTextFormat(Qt::PlainText);
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Fixed);
}

void NameLabel::setText(const QString& name)
{
    QLabel::setText(name);
    tellWhole();
}

QSize NameLabel::minimumSizeHint() const
{
    const QSize whole = QLabel::minimumSizeHint();
    const int room = fontMetrics().horizontalAdvance(text()) - fontMetrics().horizontalAdvance(QChar(0x2026));
    return {whole.width() - std::max(0, room), whole.height()};
}

QSize NameLabel::sizeHint() const { return {minimumSizeHint().width(), QLabel::sizeHint().height()}; }

QRect NameLabel::textRect() const
{
    QRect room = contentsRect().adjusted(margin(), margin(), -margin(), -margin());
    // A framed label without an indent of its own indents by half an x.
    int inset = indent();
    if (inset < 0)
        inset = frameWidth() > 0 ? fontMetrics().horizontalAdvance(QLatin1Char('x')) / 2 : 0;
    if (alignment() & Qt::AlignLeft)
        room.setLeft(room.left() + inset);
    else if (alignment() & Qt::AlignRight)
        room.setRight(room.right() - inset);
    return room;
}

QString NameLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideMiddle, std::max(0, textRect().width()));
}

void NameLabel::paintEvent(QPaintEvent* event)
{
    const QString shown = shownText();
    if (shown == text()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textRect(), int(QStyle::visualAlignment(layoutDirection(), alignment())), palette(),
                          isEnabled(), shown, foregroundRole());
}

void NameLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    tellWhole();
}

void NameLabel::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        tellWhole();
}

void NameLabel::tellWhole() { setToolTip(shownText() == text() ? QString() : text()); }

} // namespace worksheets
