#include "platform/grid/gridedit.h"

#include "platform/ui/lengthlimit.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QRegularExpression>

#include <algorithm>

namespace grid {

GridEdit::GridEdit(QWidget* parent)
    : QLineEdit(parent)
{
    setFrame(false);
    setContextMenuPolicy(Qt::NoContextMenu);   // its paste would pass by the length limit
    setAcceptDrops(false);
    setDragEnabled(false);
}

void GridEdit::insertFiltered(const QString& text)
{
    for (QChar ch : text) {
        if (ch == '\r' || ch == '\n' || ch == '\t')
            break;
        int code = ch.unicode();
        if (filter)
            filter(code);
        if (code == 0)
            continue;
        if (!hasRoom()) {
            ui::ShowLengthReached(this, limit);
            break;
        }
        insert(QString(QChar(code)));
    }
}

void GridEdit::insertPasted(const QString& text)
{
    QString line = text;
    const qsizetype end = line.indexOf(QRegularExpression(QStringLiteral("[\\r\\n\\t]")));
    if (end >= 0)
        line.truncate(end);
    if (limit > 0) {
        const qsizetype room = limit - (this->text().size() - selectedText().size());
        if (line.size() > room) {
            line.truncate(std::max<qsizetype>(0, room));
            ui::ShowLengthReached(this, limit);
        }
    }
    if (!line.isEmpty())
        insert(line);
}

bool GridEdit::hasRoom() const
{
    return limit <= 0 || text().size() - selectedText().size() < limit;
}

void GridEdit::paste() { insertPasted(QApplication::clipboard()->text()); }

void GridEdit::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Escape:
        emit cancelRequested();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Up:
    case Qt::Key_Down:
        emit commitRequested(event->key());
        return;
    default:
        break;
    }
    if (event->matches(QKeySequence::Paste)) {
        paste();
        return;
    }
    const QString text = event->text();
    if (text.size() == 1 && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        int code = text[0].unicode();
        if (filter)
            filter(code);
        if (code == 0)
            return;
        if (code >= 32 && !hasRoom()) {
            ui::ShowLengthReached(this, limit);
            return;
        }
        if (code != text[0].unicode()) {
            if (code >= 32)
                insert(QString(QChar(code)));
            return;
        }
    }
    QLineEdit::keyPressEvent(event);
}

void GridEdit::keyReleaseEvent(QKeyEvent* event)
{
    QLineEdit::keyReleaseEvent(event);
    if (!event->isAutoRepeat())
        emit keyReleased(event->key(), int(event->modifiers()));
}

void GridEdit::focusOutEvent(QFocusEvent* event)
{
    QLineEdit::focusOutEvent(event);
    // Another window coming to the front leaves the edit open, as the user left it.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason)
        emit focusLost();
}

void GridEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::MiddleButton)
        return;   // the selection paste of X11 would pass by the length limit
    QLineEdit::mousePressEvent(event);
}

void GridEdit::inputMethodEvent(QInputMethodEvent* event)
{
    // Composed text is committed through the filter like typed text.
    const QString committed = event->commitString();
    event->accept();
    if (!committed.isEmpty())
        insertFiltered(committed);
}

} // namespace grid
