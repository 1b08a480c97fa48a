#include "worksheets/setup_situation/frm23situation.h"

#include "core/g2situation.h"
#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "platform/richtext/richtexteditor.h"
#include "platform/ui/guard.h"
#include "worksheets/common/itemlist.h"
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

const QString kNewTopic = QStringLiteral("New Topic");

TopicListForm::Controls SituationControls()
{
    TopicListForm::Controls c;
    c.listName = QStringLiteral("lstTopics");
    c.addCaption = QObject::tr("&Add Topic");
    c.addName = QStringLiteral("cmdNewTopic");
    c.deleteCaption = QObject::tr("Delete Topic");
    c.ruler = TopicEditor::Ruler::Shown;
    c.naming = TopicName::HeadingAndItemName;
    c.wrapLongEntries = true;
    c.instructions = true;
    c.clickTrace = QStringLiteral("frm23Situation.lstTopics_Click ");
    return c;
}

} // namespace

frm23Situation::frm23Situation(QWidget* parent)
    : TopicListForm(QStringLiteral("frm23Situation"), SituationControls(), parent)
{
    auto* listCaption = new QLabel(tr("&Topics"), this);
    auto* listHelp = new QLabel(tr("Click on each topic below and fill in narrative on the right."), this);
    listHelp->setWordWrap(true);
    listCaption->setBuddy(listWidget());

    auto* instructionsPanel = new QFrame(this);
    instructionsPanel->setFrameShape(QFrame::StyledPanel);
    auto* instructionsCaption = new QLabel(tr("Special instructions for this topic:"), instructionsPanel);
    lblInstructions()->setTextFormat(Qt::PlainText);
    auto* instructionsLayout = new QVBoxLayout(instructionsPanel);
    instructionsLayout->addWidget(instructionsCaption);
    instructionsLayout->addWidget(lblInstructions());

    topic()->setObjectName(QStringLiteral("SSPanel1"));
    topic()->setCaptions(tr("Heading"), QString());
    topic()->nameBox()->setMaxLength(80);

    auto* left = new QVBoxLayout;
    left->addWidget(listCaption);
    left->addWidget(listHelp);
    left->addWidget(listWidget(), 1);
    left->addLayout(buttonRow());
    auto* right = new QVBoxLayout;
    right->addWidget(instructionsPanel);
    right->addWidget(topic(), 1);
    auto* layout = new QGridLayout(this);
    layout->addLayout(left, 0, 0);
    layout->addLayout(right, 0, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);

    connect(addButton(), &QPushButton::clicked, this, ui::Guarded(this, &frm23Situation::cmdNewTopic_Click));
}

void frm23Situation::Setup()
{
    BeginSetup(QStringLiteral("frm23Situation.Setup"));
    core::BusyScope busy;
    ShowFirstTopic();
}

void frm23Situation::SaveChanges()
{
    if (core::c0Item* shown = current())
        core::SaveAllOrNothing([shown] { shown->SaveChanges(); });
}

void frm23Situation::FillList(ItemList& list)
{
    list.clear();
    for (core::c0Item* item : core::GetSituationTopics())
        list.addItem(item->ItemName(), item->ItemKey());
}

core::c0Item* frm23Situation::TopicOf(int key) { return core::GetSituationItem(key); }
void frm23Situation::DeleteTopic(int key) { core::DeleteItem(key); }
void frm23Situation::TopicShown() { topic()->bodyEditor()->textEdit()->setFocus(Qt::OtherFocusReason); }

void frm23Situation::cmdNewTopic_Click()
{
    core::Trace(QStringLiteral("cmdNewTopic_Click"));
    SaveChanges();
    const int key = core::NewSituationTopic(kNewTopic);
    AppendEntry(kNewTopic, key);
    // The box stays empty for the user's own heading; untouched, the topic keeps the name.
    if (current())
        current()->SetHeading(kNewTopic);
    topic()->nameBox()->setFocus(Qt::OtherFocusReason);
}

} // namespace worksheets
