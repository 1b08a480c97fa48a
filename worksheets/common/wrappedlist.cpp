#include "worksheets/common/wrappedlist.h"

#include "platform/ui/guard.h"
#include "platform/ui/showntext.h"

#include <QListWidget>
#include <QStylePainter>

namespace worksheets {

namespace {

class SpacedEntries : public ui::ShownTextDelegate {
public:
    using ui::ShownTextDelegate::ShownTextDelegate;

    // The text stays centred in the taller entry: the room falls half above and half below.
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return ui::ShownTextDelegate::sizeHint(option, index) + QSize(0, kRoom);
    }

private:
    static constexpr int kRoom = 4;   // pixels
};

} // namespace

void WrapLongEntries(QListWidget* list)
{
    list->setWordWrap(true);
    list->setTextElideMode(Qt::ElideNone);
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Entries are laid out again when the list's width changes, so they wrap to the new width.
    list->setResizeMode(QListView::Adjust);
    list->setItemDelegate(new SpacedEntries(list));
}

LongChoiceBox::LongChoiceBox(QWidget* parent) : QComboBox(parent)
{
    connect(this, &QComboBox::currentTextChanged, this, ui::Guarded([this](const QString& text) { setToolTip(text); }));
}

// As the box paints itself, but with the chosen text cut in the middle instead of at the right
// edge of its field.
void LongChoiceBox::paintEvent(QPaintEvent* event)
{
    if (isEditable()) {
        QComboBox::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    const int iconRoom = option.currentIcon.isNull() ? 0 : option.iconSize.width() + 4;
    // The label keeps a pixel clear at each side of the field. Its middle goes, so both ends are
    // kept of a text longer than the field could show.
    const QSize room(field.width() - iconRoom - 2, fontMetrics().height());
    const qsizetype most = ui::ShownText(option.currentText, fontMetrics(), room).size();
    if (option.currentText.size() > most)
        option.currentText = option.currentText.left(most / 2) + option.currentText.right(most / 2);
    option.currentText = fontMetrics().elidedText(option.currentText, Qt::ElideMiddle, room.width());
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

} // namespace worksheets
