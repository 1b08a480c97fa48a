#include "worksheets/report/frm82topics.h"

#include "core/c0item.h"
#include "core/g0items.h"
#include "core/g8summary.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/g51alternatives.h"
#include "platform/richtext/richtexteditor.h"
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

namespace worksheets::report {

namespace {
// The decision texts, which the Decision worksheet edits too.
bool IsFixedTopic(int key)
{
    return key == core::kDecisionDescriptionKey || key == core::kDecisionRationaleKey;
}

worksheets::TopicListForm::Controls TopicControls()
{
    worksheets::TopicListForm::Controls c;
    c.listName = QStringLiteral("lstTopics");
    c.addCaption = QStringLiteral("&Add Topic");
    c.addName = QStringLiteral("cmdNewTopic");
    c.deleteCaption = QStringLiteral("Delete Topic");
    c.ruler = worksheets::TopicEditor::Ruler::Shown;
    c.naming = worksheets::TopicName::HeadingOnly;
    c.wrapLongEntries = false;
    c.instructions = true;
    c.clickTrace = QStringLiteral("lstTopics_Click ");
    c.deleteTrace = QStringLiteral("cmdDelete_Click");
    return c;
}

}  // namespace

frm82Topics::frm82Topics(QWidget* parent) : TopicListForm(QStringLiteral("frm82Topics"), TopicControls(), parent)
{
    setWindowTitle(QStringLiteral("Decision Summary"));

    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("SSPanel1"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* alternativeCaption = new QLabel(QStringLiteral("Selected Alternative"), panel);
    QFont bold = alternativeCaption->font();
    bold.setBold(true);
    alternativeCaption->setFont(bold);
    mAlternative = new worksheets::NameLabel(panel);
    mAlternative->setObjectName(QStringLiteral("lblAlternative"));
    auto* instruction = new QLabel(QStringLiteral("Click on each topic name below and fill in a narrative on the right.  "
                                                  "Add additional topics as needed."), panel);
    instruction->setWordWrap(true);
    auto* panelLayout = new QGridLayout(panel);
    panelLayout->addWidget(alternativeCaption, 0, 0);
    panelLayout->addWidget(mAlternative, 0, 1);
    panelLayout->addWidget(instruction, 1, 0, 1, 2);
    panelLayout->setColumnStretch(1, 1);

    QListWidget* topics = listWidget();
    // Wide enough for the longer of the two decision texts' names whole.
    topics->setMinimumWidth(topics->fontMetrics().horizontalAdvance(
                                QStringLiteral("Rationale for selecting this Alternative")) +
                            4 * topics->frameWidth() + 12);

    auto* instructionsCaption = new QLabel(QStringLiteral("Special instructions for this topic:"), this);
    topic()->setCaptions(QStringLiteral("Heading"), QString());
    topic()->spellButton()->setText(QStringLiteral("Spellcheck"));

    auto* left = new QVBoxLayout;
    left->addWidget(topics, 1);
    left->addLayout(buttonRow());
    auto* right = new QVBoxLayout;
    right->addWidget(instructionsCaption);
    right->addWidget(lblInstructions());
    right->addWidget(topic(), 1);
    auto* layout = new QGridLayout(this);
    layout->addWidget(panel, 0, 0, 1, 2);
    layout->addLayout(left, 1, 0);
    layout->addLayout(right, 1, 1);
    layout->setColumnStretch(0, 1);
    layout->setColumnStretch(1, 3);
    layout->setRowStretch(1, 1);

    // A topic chosen with the mouse or with Enter takes the user on to its text, to type at
    // once; the arrow keys stay in the list to look through the topics.
    connect(topics, &QListWidget::itemClicked, this, ui::Guarded(this, &frm82Topics::FocusBody));
    connect(topics, &QListWidget::itemActivated, this, ui::Guarded(this, &frm82Topics::FocusBody));
    connect(addButton(), &QPushButton::clicked, this, ui::Guarded(this, &frm82Topics::cmdNewTopic_Click));
}

void frm82Topics::Setup()
{
    BeginSetup(QStringLiteral("frm82Topics.Setup"));
    core::BusyScope busy;
    const auto selected = model::GetSelectedAlternative();
    mAlternative->setText(selected ? selected->Label() : QString());
    ShowFirstTopic();
    FocusBody();
}

void frm82Topics::FocusBody()
{
    if (current())
        topic()->bodyEditor()->textEdit()->setFocus(Qt::OtherFocusReason);
}

void frm82Topics::SaveChanges()
{
    if (current())
        current()->SaveChanges();
}

void frm82Topics::FillList(worksheets::ItemList& list) { worksheets::FillSummaryList(list); }
core::c0Item* frm82Topics::TopicOf(int key) { return core::GetSummaryItem(key); }
bool frm82Topics::Deletable(const core::c0Item& topic) const { return !IsFixedTopic(topic.ItemKey()); }
void frm82Topics::DeleteTopic(int key) { core::DeleteItem(key); }

void frm82Topics::cmdNewTopic_Click()
{
    core::Trace(QStringLiteral("cmdNewTopic_Click"));
    const int key = core::NewItem(QString(), core::kSummaryGroupKey);
    AppendEntry(QString(), key);
    topic()->focusName();
}

}  // namespace worksheets::report
