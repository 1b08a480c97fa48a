#include "worksheets/setup_situation/frm13rmas.h"

#include "core/g13rmas.h"
#include "core/u91trace.h"
#include "core/u92utilities.h"
#include "core/uimode.h"
#include "platform/richtext/emptybody.h"
#include "platform/ui/guard.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/topiceditor.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace worksheets {

namespace {

TopicListForm::Controls RMAControls()
{
    TopicListForm::Controls c;
    c.listName = QStringLiteral("lstRMAs");
    c.addCaption = QObject::tr("&Add RMA");
    c.addName = QStringLiteral("cmdAdd");
    c.deleteCaption = QObject::tr("&Delete RMA");
    c.naming = TopicName::HeadingOnly;
    // Areas imported from a Prep file often have long names that differ only at the end.
    c.wrapLongEntries = true;
    c.clickTrace = QStringLiteral("lstRMAs_Click ");
    c.deleteTrace = QStringLiteral("cmdDelete_Click");
    return c;
}

} // namespace

frm13RMAs::frm13RMAs(QWidget* parent) : TopicListForm(QStringLiteral("frm13RMAs"), RMAControls(), parent)
{
    auto* header = new QFrame(this);
    header->setObjectName(QStringLiteral("pnlHeader"));
    header->setFrameShape(QFrame::StyledPanel);
    auto* instructions = new QLabel(header);
    instructions->setObjectName(QStringLiteral("lblInstructions"));
    instructions->setWordWrap(true);
    instructions->setText(QStringLiteral("Add a Resource Management Area (RMA) to the list by clicking the Add RMA "
                                         "button below.  Then type the RMA name and those objectives relevant to "
                                         "fire management in the boxes on the right.\n"
                                         "Refer to appropriate land or forest management plan(s)."));
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->addWidget(instructions);

    auto* listCaption = new QLabel(tr("&Resource Management Areas:"), this);
    listCaption->setObjectName(QStringLiteral("Label1"));
    listCaption->setBuddy(listWidget());
    topic()->setCaptions(tr("RMA &Name:"), tr("Resource &Objectives:"));

    auto* left = new QVBoxLayout;
    left->addWidget(listCaption);
    left->addWidget(listWidget(), 1);
    left->addLayout(buttonRow());
    auto* layout = new QGridLayout(this);
    layout->addWidget(header, 0, 0, 1, 2);
    layout->addLayout(left, 1, 0);
    layout->addWidget(topic(), 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(1, 1);

    connect(addButton(), &QPushButton::clicked, this, ui::Guarded(this, &frm13RMAs::cmdAdd_Click));
}

void frm13RMAs::Setup()
{
    BeginSetup(QStringLiteral("frm13RMAs.Setup"));
    core::BusyScope busy;
    ShowFirstTopic();
}

void frm13RMAs::FillList(ItemList& list) { FillRMAList(list); }
core::c0Item* frm13RMAs::TopicOf(int key) { return core::GetRMA(key); }
void frm13RMAs::StoreShown() { core::SaveRMAs(); }
bool frm13RMAs::ConfirmDeletion() { return core::ConfirmDelete(list().text()); }
void frm13RMAs::DeleteTopic(int key) { core::DeleteRMA(key); }

void frm13RMAs::cmdAdd_Click()
{
    core::Trace(QStringLiteral("cmdAdd_Click"));
    core::c0Item* item = core::NewRMA(QStringLiteral("New RMA"), richtext::kEmptyBody);
    AppendEntry(item->Heading(), item->ItemKey());
    core::SaveRMAs();
    topic()->focusName();
}

} // namespace worksheets
