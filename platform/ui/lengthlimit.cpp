#include "platform/ui/lengthlimit.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QToolTip>
#include <QVariant>

#include <algorithm>

namespace ui {

namespace {

// QLineEdit's own limit when none is set.
constexpr int kNoLimit = 32767;
const char* const kWatched = "tolmarLengthWatched";
const char* const kOwnLength = "tolmarOwnLength";

class LengthWatch : public QObject {
public:
    explicit LengthWatch(QLineEdit* box) : QObject(box), mBox(box)
    {
        box->installEventFilter(this);
        // Only the user's edits (typing, pasting): a stored value shown whole says nothing.
        connect(box, &QLineEdit::textEdited, this, [this] {
            if (mBox->text().size() >= mBox->maxLength())
                ShowLengthReached(mBox, mBox->maxLength());
        });
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() != QEvent::KeyPress || mBox->isReadOnly())
            return false;
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.isEmpty() || !text.front().isPrint() ||
            (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)))
            return false;
        if (mBox->text().size() - mBox->selectedText().size() >= mBox->maxLength())
            ShowLengthReached(mBox, mBox->maxLength());
        return false;
    }

private:
    QLineEdit* mBox;
};

} // namespace

void ShowLengthReached(QWidget* box, int length)
{
    if (!box || length <= 0)
        return;
    const QString note = length == 1 ? QStringLiteral("Only 1 character fits here.")
                                     : QStringLiteral("At most %1 characters fit here.").arg(length);
    // Beside the box, so that it covers no box under it.
    QToolTip::showText(box->mapToGlobal(QPoint(box->width() + 4, 0)), note, box, QRect(), 4000);
}

void WatchLength(QLineEdit* box)
{
    if (!box || box->maxLength() >= kNoLimit || box->property(kWatched).toBool())
        return;
    box->setProperty(kWatched, true);
    new LengthWatch(box);
}

void ShowStored(QLineEdit* box, const QString& text)
{
    QVariant own = box->property(kOwnLength);
    if (!own.isValid()) {
        own = box->maxLength();
        box->setProperty(kOwnLength, own);
    }
    box->setMaxLength(std::max(own.toInt(), int(text.size())));
    box->setText(text);
}

void WatchLengths(QWidget* root)
{
    if (!root)
        return;
    for (QLineEdit* box : root->findChildren<QLineEdit*>())
        WatchLength(box);
}

} // namespace ui
