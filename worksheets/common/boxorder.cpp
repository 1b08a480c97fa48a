#include "worksheets/common/boxorder.h"

#include "platform/ui/lengthlimit.h"
#include "platform/ui/guard.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTimer>

namespace worksheets {

BoxOrder::BoxOrder(QList<QWidget*> boxes, Up up, Key key, QObject* parent)
    : QObject(parent ? parent : (boxes.isEmpty() ? nullptr : boxes.first())), mUp(up), mKey(key)
{
    for (QWidget* box : boxes) {
        mBoxes.append(box);
        if (box)
            box->installEventFilter(this);
    }
}

void BoxOrder::setMovesAcross(QWidget* box)
{
    if (box)
        mAcross.append(box);
}

QWidget* BoxOrder::next(QWidget* box) const
{
    const int i = int(mBoxes.indexOf(box));
    for (int j = i < 0 ? int(mBoxes.size()) : i + 1; j < mBoxes.size(); ++j)
        if (mBoxes[j])
            return mBoxes[j];
    return nullptr;
}

QWidget* BoxOrder::previous(QWidget* box) const
{
    const int i = int(mBoxes.indexOf(box));
    for (int j = i - 1; j >= 0; --j)
        if (mBoxes[j])
            return mBoxes[j];
    return nullptr;
}

bool BoxOrder::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto* box = qobject_cast<QWidget*>(watched);
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->modifiers() & ~(Qt::KeypadModifier))
        return false;
    const bool across = mAcross.contains(box);
    QWidget* target = nullptr;
    switch (key->key()) {
    case Qt::Key_Down:
    case Qt::Key_Right:
        if (across != (key->key() == Qt::Key_Right))
            return false;
        target = next(box);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        target = next(box);
        break;
    case Qt::Key_Up:
        if (mUp != Up::MovesBack)
            return false;
        target = previous(box);
        break;
    default:
        return false;
    }
    // A disabled or hidden box cannot take the focus: skip on past it.
    const bool back = key->key() == Qt::Key_Up;
    while (target && !(target->isEnabled() && target->isVisibleTo(target->window())))
        target = back ? previous(target) : next(target);
    if (target)
        target->setFocus(Qt::TabFocusReason);
    return mKey == Key::Consumed;
}

namespace {
class SelectOnFocus : public QObject {
public:
    SelectOnFocus(QLineEdit* box, int length) : QObject(box), mLength(length) { box->installEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::FocusIn) {
            // A mouse click places the cursor after the focus arrives: select once it has.
            QPointer<QLineEdit> box = static_cast<QLineEdit*>(watched);
            QTimer::singleShot(0, box, ui::Guarded([box, length = mLength] {
                if (!box || !box->hasFocus())
                    return;
                if (length < 0)
                    box->selectAll();
                else
                    box->setSelection(0, length);
            }));
        }
        return false;
    }

private:
    int mLength;
};

class CharacterFilter : public QObject {
public:
    CharacterFilter(QLineEdit* box, const QString& allowed, int length)
        : QObject(box), mBox(box), mAllowed(allowed), mLength(length)
    {
        box->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
            return false;
        const QString text = key->text();
        if (text.isEmpty() || !text.front().isPrint())
            return false;
        for (const QChar c : text)
            if (!mAllowed.contains(c))
                return true;
        if (mLength > 0 && mBox->text().size() - mBox->selectedText().size() >= mLength) {
            ui::ShowLengthReached(mBox, mLength);
            return true;
        }
        return false;
    }

private:
    QLineEdit* mBox;
    QString mAllowed;
    int mLength;
};
} // namespace

void AcceptOnlyCharacters(QLineEdit* box, const QString& allowed, int length)
{
    if (box)
        new CharacterFilter(box, allowed, length);
}

void SelectTextOnFocus(QLineEdit* box, int length)
{
    if (box)
        new SelectOnFocus(box, length);
}

} // namespace worksheets
