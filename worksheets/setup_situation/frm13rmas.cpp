#include "worksheets/setup_situation/frm13rmas.h"

#include "core/g13rmas.h"
#include "core/u91trace.h"
#include "core/u92utilities.h"
#include "core/uimode.h"
#include "platform/richtext/emptybody.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/topiceditor.h"
#include "worksheets/common/wrappedlist.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace worksheets {

frm13RMAs::frm13RMAs(QWidget* parent) : WorksheetForm(QStringLiteral("frm13RMAs"), parent)
{
    auto* header = new QFrame(this);
    header->setObjectName(QStringLiteral("pnlHeader"));
    header->setFrameShape(QFrame::StyledPanel);
    mInstructions = new QLabel(header);
    mInstructions->setObjectName(QStringLiteral("lblInstructions"));
    mInstructions->setWordWrap(true);
    mInstructions->setText(QStringLiteral("Add a Resource Management Area (RMA) to the list by clicking the Add RMA "
                                          "button below.  Then type the RMA name and those objectives relevant to "
                                          "fire management in the boxes on the right.\n"
                                          "Refer to appropriate land or forest management plan(s)."));
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->addWidget(mInstructions);

    auto* listCaption = new QLabel(tr("&Resource Management Areas:"), this);
    listCaption->setObjectName(QStringLiteral("Label1"));
    mListWidget = new QListWidget(this);
    mListWidget->setObjectName(QStringLiteral("lstRMAs"));
    // Areas imported from a Prep file often have long names that differ only at the end.
    WrapLongEntries(mListWidget);
    listCaption->setBuddy(mListWidget);
    mList = new ItemList(mListWidget);
    mAdd = new QPushButton(tr("&Add RMA"), this);
    mAdd->setObjectName(QStringLiteral("cmdAdd"));
    mDelete = new QPushButton(tr("&Delete RMA"), this);
    mDelete->setObjectName(QStringLiteral("cmdDelete"));

    mTopic = new TopicEditor(this);
    mTopic->setCaptions(tr("RMA &Name:"), tr("Resource &Objectives:"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mAdd);
    buttons->addWidget(mDelete);
    auto* left = new QVBoxLayout;
    left->addWidget(listCaption);
    left->addWidget(mListWidget, 1);
    left->addLayout(buttons);
    auto* layout = new QGridLayout(this);
    layout->addWidget(header, 0, 0, 1, 2);
    layout->addLayout(left, 1, 0);
    layout->addWidget(mTopic, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(1, 1);
    setTabOrder(mListWidget, mAdd);
    setTabOrder(mAdd, mDelete);
    setTabOrder(mDelete, mTopic->nameBox());

    connect(mList, &ItemList::click, this, &frm13RMAs::lstRMAs_Click);
    StoreTopicEdits(mTopic, mList, [this] { return mCurrent; });
    connect(mAdd, &QPushButton::clicked, this, &frm13RMAs::cmdAdd_Click);
    connect(mDelete, &QPushButton::clicked, this, &frm13RMAs::cmdDelete_Click);
}

frm13RMAs::~frm13RMAs() { mCurrent = nullptr; }

void frm13RMAs::Setup()
{
    BeginSetup(QStringLiteral("frm13RMAs.Setup"), QStringLiteral("tab13"), 3, true);
    core::BusyScope busy;
    mCurrent = nullptr;
    FillRMAList(*mList);
    if (mList->count() > 0) {
        mList->setListIndex(0);
    } else {
        ShowEmptyState();
    }
}

// Saves the areas and shows the chosen one; Setup relies on it to show the first area, so it
// runs while busy too.
void frm13RMAs::lstRMAs_Click()
{
    core::Trace(QStringLiteral("lstRMAs_Click ") + mList->text());
    const int key = mList->currentKey();
    SwitchShownEntry(
        *mList, [this] { return mCurrent ? mCurrent->ItemKey() : 0; }, [] { core::SaveRMAs(); },
        [this, key] {
            mCurrent = core::GetRMA(key);
            DisplayRMA();
        });
}

void frm13RMAs::DisplayRMA()
{
    if (!mCurrent)
        return;
    core::BusyScope busy;
    mTopic->display(mCurrent->Heading(), mCurrent->Body());
    mDelete->setEnabled(true);
}

void frm13RMAs::ShowEmptyState()
{
    core::BusyScope busy;
    mCurrent = nullptr;
    mTopic->showEmpty();
    mDelete->setEnabled(false);
}

void frm13RMAs::cmdAdd_Click()
{
    core::Trace(QStringLiteral("cmdAdd_Click"));
    core::c0Item* item = core::NewRMA(QStringLiteral("New RMA"), richtext::kEmptyBody);
    mList->addItem(item->Heading(), item->ItemKey());
    mList->setListIndex(mList->count() - 1);
    mDelete->setEnabled(true);
    core::SaveRMAs();
    mTopic->focusName();
}

void frm13RMAs::cmdDelete_Click()
{
    core::Trace(QStringLiteral("cmdDelete_Click"));
    if (!mCurrent || !core::ConfirmDelete(mList->text()))
        return;
    core::DeleteRMA(mCurrent->ItemKey());
    // A delete the file refused leaves the area on screen, still edited.
    mCurrent = nullptr;
    FillRMAList(*mList);
    if (mList->count() > 0)
        mList->setListIndex(0);
    else
        ShowEmptyState();
}

} // namespace worksheets
