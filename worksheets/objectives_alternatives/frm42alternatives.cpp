#include "worksheets/objectives_alternatives/frm42alternatives.h"

#include "core/u91trace.h"
#include "core/u92utilities.h"
#include "core/uimode.h"
#include "model/c51alternative.h"
#include "model/g51alternatives.h"
#include "platform/label/formattedlabel.h"
#include "platform/richtext/richtexteditor.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompter.h"
#include "worksheets/common/boxorder.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/topiceditor.h"
#include "worksheets/common/wrappedlist.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace worksheets {

QString NextAlternativeLabel(const QString& lastLabel, int count)
{
    if (count <= 0)
        return QStringLiteral("A");
    // A label of one or two letters of one case continues its own sequence: "Z" gives "AA",
    // "AZ" gives "BA", "z" gives "aa". A longer word ("Alpha") is a name, not a sequence.
    const int position = core::AlternativePosition(lastLabel);
    const bool oneCase = lastLabel == lastLabel.toUpper() || lastLabel == lastLabel.toLower();
    if (position > 0 && lastLabel.size() <= 2 && oneCase) {
        const QString next = core::AlternativeLetters(position + 1);
        return lastLabel == lastLabel.toLower() ? next.toLower() : next;
    }
    // Otherwise the first letter decides ("Alpha" gives "B"), as far as it is one.
    const QChar first = lastLabel.isEmpty() ? QChar() : lastLabel.front();
    if ((first >= u'A' && first <= u'Y') || (first >= u'a' && first <= u'y'))
        return QChar(first.unicode() + 1);
    return core::AlternativeLetters(count + 1);
}

frm42Alternatives::frm42Alternatives(QWidget* parent)
    : WorksheetForm(QStringLiteral("frm42Alternatives"), parent)
{
    setWindowTitle(tr("Strategies"));

    auto* listCaption = new QLabel(tr("A&lternatives"), this);
    mListWidget = new QListWidget(this);
    mListWidget->setObjectName(QStringLiteral("lstAlternatives"));
    WrapLongEntries(mListWidget);
    listCaption->setBuddy(mListWidget);
    mList = new ItemList(mListWidget);
    mAdd = new QPushButton(tr("&Add New Alternative"), this);
    mAdd->setObjectName(QStringLiteral("cmdAdd"));
    mDelete = new QPushButton(tr("&Delete Alternative"), this);
    mDelete->setObjectName(QStringLiteral("cmdDelete"));

    auto* guideCaption = new QLabel(tr("Guidelines for developing alternatives:"), this);
    mGuidelines = new label::FormattedLabel(this);
    mGuidelines->setObjectName(QStringLiteral("FLabel1"));

    mDetails = new QWidget(this);
    mDetails->setObjectName(QStringLiteral("pnlDetails"));
    auto* nameCaption = new QLabel(tr("Alternative Label and &Name"), mDetails);
    mLabel = new QLineEdit(mDetails);
    mLabel->setObjectName(QStringLiteral("txtLabel"));
    mLabel->setMaximumWidth(mLabel->fontMetrics().horizontalAdvance(QStringLiteral("MMMMM")) + 12);
    mName = new QLineEdit(mDetails);
    mName->setObjectName(QStringLiteral("txtName"));
    nameCaption->setBuddy(mLabel);
    mTopic = new TopicEditor(mDetails);
    mTopic->hideNameBox();
    mTopic->setCaptions(QString(), tr("Describe the general theme of the  Alternative and what strategies would be "
                                      "used to implement it."));

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(mLabel);
    nameRow->addWidget(mName, 1);
    auto* details = new QVBoxLayout(mDetails);
    details->setContentsMargins(0, 0, 0, 0);
    details->addWidget(nameCaption);
    details->addLayout(nameRow);
    details->addWidget(mTopic, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mAdd);
    buttons->addWidget(mDelete);
    auto* left = new QVBoxLayout;
    left->addWidget(listCaption);
    left->addWidget(mListWidget, 1);
    left->addLayout(buttons);
    // The guidelines run across the foot of the form, where they need the fewest lines.
    auto* guide = new QVBoxLayout;
    guide->addWidget(guideCaption);
    guide->addWidget(mGuidelines);
    auto* layout = new QGridLayout(this);
    layout->addLayout(left, 0, 0);
    layout->addWidget(mDetails, 0, 1);
    layout->addLayout(guide, 1, 0, 1, 2);
    layout->setColumnStretch(0, 2);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(0, 1);

    setTabOrder(mListWidget, mAdd);
    setTabOrder(mAdd, mDelete);
    setTabOrder(mDelete, mLabel);
    setTabOrder(mLabel, mName);
    setTabOrder(mName, mTopic->bodyEditor()->textEdit());

    // The label is as a rule one letter: typing replaces it. The name is typed anew.
    SelectTextOnFocus(mLabel, 1);
    SelectTextOnFocus(mName);

    connect(mList, &ItemList::click, this, ui::Guarded(this, &frm42Alternatives::lstAlternatives_Click));
    connect(mLabel, &QLineEdit::textChanged, this, ui::Guarded(this, &frm42Alternatives::txtLabel_Change));
    connect(mName, &QLineEdit::textChanged, this, ui::Guarded(this, &frm42Alternatives::txtName_Change));
    connect(mTopic, &TopicEditor::bodyChanged, this, ui::Guarded(this, &frm42Alternatives::txtBody_Change));
    connect(mAdd, &QPushButton::clicked, this, ui::Guarded(this, &frm42Alternatives::cmdAdd_Click));
    connect(mDelete, &QPushButton::clicked, this, ui::Guarded(this, &frm42Alternatives::cmdDelete_Click));
}

frm42Alternatives::~frm42Alternatives() { mCurrent.reset(); }

void frm42Alternatives::Setup()
{
    BeginSetup(QStringLiteral("frm42Alternatives.Setup"));
    core::BusyScope busy;
    ShowGuidelines();
    mCurrent.reset();
    FillAlternativeList(*mList);
    if (mList->count() > 0) {
        mList->setListIndex(0);
        mDetails->setEnabled(true);
    } else {
        ShowNoAlternative();
    }
}

void frm42Alternatives::SaveChanges()
{
    core::Trace(QStringLiteral("frmAlternatives.SaveChanges"));
    if (mCurrent)
        mCurrent->SaveChanges();
}

void frm42Alternatives::ShowGuidelines()
{
    static const char* const kBullets[] = {
        "Frequently on large fires a combination of strategies is used on different portions of the perimeter.",
        "Each Alternative must be safely implementable.",
        "Alternatives should result in significantly different outcomes (size, cost, resource protection or damage, "
        "etc.) to best document trade-offs.",
        "Alternatives that include fire suppression techniques that may be less desirable should be evaluated, "
        "particularly during periods of firefighter shortages.",
        "Alternatives that result in minimal suppression costs must be evaluted, as well as the resultant resource "
        "damage and/or threat to property.",
        "Some Alternatives may only allow for protection of high values at risk until the perimeter reaches "
        "fuel/topographic changes, with resultant large acres burned.",
        "An Alternative may be structured that optimizes the use of natural or man-made barriers.",
        "Some alternatives may aggressively utilize mechanical equipment to minimize fire size and firefighter "
        "exposure.",
    };
    QString caption = QStringLiteral("Consider the following when forming alternatives:");
    for (const char* bullet : kBullets)
        caption += QStringLiteral("|CR|- ") + QString::fromLatin1(bullet);
    mGuidelines->setCaption(caption);
}

// Saves the alternative being left and shows the chosen one; Setup relies on it to show the
// first alternative, so it runs while busy too.
void frm42Alternatives::lstAlternatives_Click()
{
    core::Trace(QStringLiteral("lstAlternatives_Click ") + mList->text());
    const int key = mList->currentKey();
    SwitchShownEntry(
        *mList, [this] { return mCurrent ? mCurrent->ItemKey() : 0; }, [this] { SaveChanges(); },
        [this, key] {
            mCurrent = model::GetAlternative(key);
            ShowAlternative();
        });
    mLabel->setFocus(Qt::OtherFocusReason);
    mLabel->setSelection(0, 1);
}

void frm42Alternatives::ShowAlternative()
{
    core::BusyScope busy;
    if (!mCurrent) {
        ShowNoAlternative();
        return;
    }
    mLabel->setText(mCurrent->ItemName());
    mName->setText(mCurrent->Heading());
    mTopic->display(QString(), mCurrent->Body());
    mDetails->setEnabled(true);
    mDelete->setEnabled(true);
}

// No alternative to show: the details are locked and there is nothing to delete.
void frm42Alternatives::ShowNoAlternative()
{
    core::BusyScope busy;
    mCurrent.reset();
    mLabel->clear();
    mName->clear();
    mTopic->showEmpty();
    mDetails->setEnabled(false);
    mDelete->setEnabled(false);
}

void frm42Alternatives::UpdateListEntry()
{
    const int index = mList->findKey(mCurrent->ItemKey());
    if (index >= 0)
        mList->setItemText(index, mCurrent->Label());
}

void frm42Alternatives::txtLabel_Change(const QString& text)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetItemName(text);
    UpdateListEntry();
}

void frm42Alternatives::txtName_Change(const QString& text)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetHeading(text);
    UpdateListEntry();
}

void frm42Alternatives::txtBody_Change(const QString& rtf)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetBody(rtf);
}

void frm42Alternatives::cmdAdd_Click()
{
    core::Trace(QStringLiteral("frm42Alternatives.cmdAdd_Click"));
    SaveChanges();
    core::BusyScope busy;
    const int count = mList->count();
    QString last;
    if (count > 0)
        if (const auto alt = model::GetAlternative(mList->itemData(count - 1)))
            last = alt->ItemName();
    mCurrent = model::AddAlternative(NextAlternativeLabel(last, count));
    mList->addItem(mCurrent->Label(), mCurrent->ItemKey());
    mDetails->setEnabled(true);
    mList->setListIndex(mList->count() - 1);
}

bool frm42Alternatives::ConfirmDeleteAlternative()
{
    if (!core::ConfirmDelete(mCurrent->Label()))
        return false;
    const int key = mCurrent->ItemKey();
    mCurrent.reset();
    model::DeleteAlternative(key);
    return true;
}

void frm42Alternatives::cmdDelete_Click()
{
    core::Trace(QStringLiteral("frm42Alternatives.cmdDelete_Click"));
    if (!mCurrent)
        return;
    SaveChanges();
    if (mCurrent->ItemKey() == model::GetSelectedAlternativeKey()) {
        ui::MsgBox(QStringLiteral("Cannot delete selected Alternative"));
        return;
    }
    core::BusyScope busy;
    const int index = mList->listIndex();
    if (!ConfirmDeleteAlternative())
        return;
    FillAlternativeList(*mList);
    // The worksheet never stays empty: deleting the only alternative starts a new "A".
    if (index >= 0 && index < mList->count())
        mList->setListIndex(index);
    else if (mList->count() > 0)
        mList->setListIndex(mList->count() - 1);
    else
        cmdAdd_Click();
}

} // namespace worksheets
