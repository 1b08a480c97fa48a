#include "worksheets/objectives_alternatives/objectivetreeform.h"

#include "core/g13rmas.h"
#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/u92utilities.h"
#include "core/uimode.h"
#include "model/c41objective.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "platform/grid/grid.h"
#include "platform/label/formattedlabel.h"
#include "platform/richtext/richtexteditor.h"
#include "platform/ui/guard.h"
#include "worksheets/common/gridfit.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/topiceditor.h"
#include "worksheets/common/wrappedlist.h"
#include "worksheets/objectives_alternatives/nodegrid.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QToolBar>
#include <QVBoxLayout>

namespace worksheets {

namespace {

constexpr int kNodeColTwips = 3900;

QLabel* BoldLabel(const QString& text, QWidget* parent, const QString& name)
{
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setWordWrap(true);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

} // namespace

ObjectiveTreeForm::Config ObjectiveTreeForm::ConfigFor(Tree tree)
{
    const bool safety = tree == Tree::SafetyIssues;
    Config c;
    c.formName = safety ? QStringLiteral("frm32SafetyIssues") : QStringLiteral("frm33Objectives");
    c.setupTrace = c.formName + QStringLiteral(".Setup");
    c.title = safety ? QStringLiteral("Safety Issues") : QStringLiteral("Fire Management Objectives");
    c.instructions = safety ? QStringLiteral("List and describe specific Safety issues.\n"
                                             "To add an issue click the Add Issue button below, "
                                             "then fill in the name and description.")
                            : QStringLiteral("Add specific objectives for each category in the list on the left.\n"
                                             "To add an objective, first select the category "
                                             "and then click the Add Objective button below.\n"
                                             "Objectives for the 'Other' category are optional.");
    c.gridHeader = safety ? QStringLiteral("Safety Issue") : QStringLiteral("Category/Objective");
    c.memberCaption = safety ? QStringLiteral("Issue") : QStringLiteral("Objective");
    c.addCaption = safety ? QStringLiteral("&Add Issue") : QStringLiteral("&Add Objective");
    c.deleteCaption = safety ? QStringLiteral("&Delete Issue") : QStringLiteral("&Delete Objective");
    c.showsRoot = safety;
    c.tracesSetupGrid = safety;
    c.hasRMAGuidelines = !safety;
    if (safety) {
        c.isGroup = [](const model::c41Objective& node) { return node.bSafetyRoot(); };
        c.collection = []() -> const QList<model::c41Objective*>& { return model::SafetyIssuesCollection(); };
        c.add = [](int parentKey) { return model::AddSafetyIssue(QString(), parentKey); };
        c.clear = [] { model::ClearSafetyIssues(); };
        c.get = [](int key) { return model::GetSafetyIssue(key); };
        c.remove = [](int key) { model::DeleteSafetyIssue(key); };
    } else {
        c.isGroup = [](const model::c41Objective& node) { return node.bCategory(); };
        c.collection = []() -> const QList<model::c41Objective*>& { return model::ObjectivesCollection(); };
        c.add = [](int parentKey) { return model::AddObjective(QString(), parentKey); };
        c.clear = [] { model::ClearObjectives(); };
        c.get = [](int key) { return model::GetObjective(key); };
        c.remove = [](int key) { model::DeleteObjective(key); };
    }
    return c;
}

ObjectiveTreeForm::ObjectiveTreeForm(Config config, QWidget* parent)
    : WorksheetForm(config.formName, parent)
    , mConfig(std::move(config))
{
    auto* header = new QFrame(this);
    header->setObjectName(QStringLiteral("pnlHeader"));
    header->setFrameShape(QFrame::StyledPanel);
    QLabel* title = BoldLabel(mConfig.title, header, QStringLiteral("Label3"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title->setFont(titleFont);
    auto* instructions = new QLabel(mConfig.instructions, header);
    instructions->setObjectName(QStringLiteral("lblInstructions"));
    instructions->setWordWrap(true);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->addWidget(title);
    headerLayout->addWidget(instructions);

    mGrid = new grid::Grid(this);
    mGrid->setObjectName(QStringLiteral("Grid1"));
    mGrid->setCols(1);
    mGrid->setColWidth(0, kNodeColTwips);
    mGrid->setFixedWidth(CellsSize(*mGrid).width() + mGrid->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    mAdd = new QPushButton(mConfig.addCaption, this);
    mAdd->setObjectName(QStringLiteral("cmdAdd"));
    mDelete = new QPushButton(mConfig.deleteCaption, this);
    mDelete->setObjectName(QStringLiteral("cmdDelete"));

    mTopic = new TopicEditor(this);
    mTopic->setCaptions(QStringLiteral("Category"), QStringLiteral("Description"));
    mNameCaption = mTopic->nameCaption();
    mNameCaption->setObjectName(QStringLiteral("lblName"));

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(mAdd);
    buttons->addWidget(mDelete);
    buttons->addStretch(1);
    auto* left = new QVBoxLayout;
    left->addWidget(mGrid, 1);
    left->addLayout(buttons);
    auto* right = new QVBoxLayout;
    right->addWidget(mTopic, 3);

    if (mConfig.hasRMAGuidelines) {
        auto* notes = new QLabel(QStringLiteral("Note: You must add at least one objective to a category "
                                                "for that category to be included in the analysis.\n"
                                                "Categories with no objectives will be ignored."),
                                 this);
        notes->setObjectName(QStringLiteral("lblNotes"));
        notes->setWordWrap(true);
        left->addWidget(notes);

        auto* guidelines = new QFrame(this);
        guidelines->setFrameShape(QFrame::StyledPanel);
        auto* consistent = BoldLabel(QStringLiteral("Ensure that management objectives for the fire are consistent "
                                                    "with resource management objectives for the affected area(s)."),
                                     guidelines, QStringLiteral("Label2"));
        auto* areaCaption = new QLabel(QStringLiteral("Resource Objectives for Management Area:"), guidelines);
        areaCaption->setObjectName(QStringLiteral("Label4"));
        mRMACombo = new LongChoiceBox(guidelines);
        mRMACombo->setObjectName(QStringLiteral("cboRMAs"));
        // Its width comes from the row, never from the longest name: a box that grows to its
        // names (a 20 ms timer after filling) would push the worksheet wider than the window at
        // one visit and not at the next. The chosen name is cut in the middle, the list shows it
        // whole.
        mRMACombo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        mRMACombo->setMinimumContentsLength(8);
        areaCaption->setBuddy(mRMACombo);
        mRMAs = new ItemList(mRMACombo);
        mGuidelines = new richtext::RichTextEditor(guidelines);
        mGuidelines->setObjectName(QStringLiteral("txtGuidelines"));
        mGuidelines->buttonBar()->hide();
        mGuidelines->textEdit()->setReadOnly(true);
        // Tinted like the form, so that it does not invite typing.
        QPalette tinted = mGuidelines->textEdit()->palette();
        tinted.setColor(QPalette::Base, tinted.color(QPalette::Window));
        mGuidelines->textEdit()->setPalette(tinted);
        auto* area = new QHBoxLayout;
        area->addWidget(areaCaption);
        area->addWidget(mRMACombo, 1);
        auto* box = new QVBoxLayout(guidelines);
        box->addWidget(consistent);
        box->addLayout(area);
        box->addWidget(mGuidelines, 1);
        right->addWidget(guidelines, 2);
        connect(mRMAs, &ItemList::click, this, ui::Guarded(this, &ObjectiveTreeForm::cboRMAs_Click));
    } else {
        auto* guidelines = new QFrame(this);
        guidelines->setFrameShape(QFrame::StyledPanel);
        auto* caption = BoldLabel(QStringLiteral("Guidelines for describing safety issues:"), guidelines,
                                  QStringLiteral("Label2"));
        auto* text = new label::FormattedLabel(guidelines);
        text->setObjectName(QStringLiteral("FLabel1"));
        text->setCaption(QStringLiteral("Do not list issues that are present on every fire.  Emphasize the issues "
                                        "that are particularly relevant in this area, at this time, under current "
                                        "conditions."));
        auto* box = new QVBoxLayout(guidelines);
        box->addWidget(caption);
        box->addWidget(text);
        right->addWidget(guidelines);
    }

    auto* layout = new QGridLayout(this);
    layout->addWidget(header, 0, 0, 1, 2);
    layout->addLayout(left, 1, 0);
    layout->addLayout(right, 1, 1);
    layout->setColumnStretch(1, 1);
    layout->setRowStretch(1, 1);

    // The name's field holds 255 characters; a longer paste stops there rather than being
    // stored past the field's size.
    mTopic->nameBox()->setMaxLength(255);

    setTabOrder(mGrid, mAdd);
    setTabOrder(mAdd, mDelete);
    setTabOrder(mDelete, mTopic->nameBox());
    setTabOrder(mTopic->nameBox(), mTopic->bodyEditor()->textEdit());
    setTabOrder(mTopic->bodyEditor()->textEdit(), mTopic->spellButton());
    if (mRMACombo) {
        setTabOrder(mTopic->spellButton(), mRMACombo);
        setTabOrder(mRMACombo, mGuidelines->textEdit());
    }

    connect(mGrid, &grid::Grid::enterCell, this, ui::Guarded(this, &ObjectiveTreeForm::Grid1_EnterCell));
    connect(mTopic, &TopicEditor::nameChanged, this, ui::Guarded(this, &ObjectiveTreeForm::txtName_Change));
    connect(mTopic, &TopicEditor::bodyChanged, this, ui::Guarded(this, &ObjectiveTreeForm::txtBody_Change));
    connect(mAdd, &QPushButton::clicked, this, ui::Guarded(this, &ObjectiveTreeForm::cmdAdd_Click));
    connect(mDelete, &QPushButton::clicked, this, ui::Guarded(this, &ObjectiveTreeForm::cmdDelete_Click));
}

ObjectiveTreeForm::~ObjectiveTreeForm() { mCurrent = nullptr; }

void ObjectiveTreeForm::Setup()
{
    BeginSetup(mConfig.setupTrace);
    core::BusyScope busy;
    mCurrent = nullptr;
    SetupGrid();
    if (mRMAs)
        FillRMAList(*mRMAs);
    LoadGrid();
    if (mGrid->rows() > 1)
        mGrid->setRow(1);
    ShowSelectedNode();
}

void ObjectiveTreeForm::SaveChanges()
{
    if (mCurrent)
        mCurrent->SaveChanges();
}

void ObjectiveTreeForm::SetupGrid()
{
    if (mConfig.tracesSetupGrid)
        core::Trace(QStringLiteral("SetupGrid"));
    mGrid->setCols(1);
    mGrid->setColWidth(0, kNodeColTwips);
    mGrid->setColAlignment(0, Qt::AlignLeft | Qt::AlignVCenter);
    mGrid->setRows(1);
    mGrid->setFixedAlignment(0, Qt::AlignCenter);
    mGrid->setText(0, 0, mConfig.gridHeader);
}

void ObjectiveTreeForm::LoadGrid()
{
    FillNodeRows(*mGrid, mConfig.collection(), mConfig.showsRoot, mConfig.isGroup, 0);
}

bool ObjectiveTreeForm::isGroupRow(int row) const
{
    const model::c41Objective* node = NodeOfRow(*mGrid, row);
    return node && mConfig.isGroup(*node);
}

// Stores the node being left (still the current one), then shows the entered row's; the fill
// of Setup and Add relies on it, so it shows while busy too.
void ObjectiveTreeForm::Grid1_EnterCell()
{
    if (core::IsIdle()) {
        try {
            core::SaveAllOrNothing([this] { SaveChanges(); });
        } catch (...) {
            // The node on screen could not be stored: its row stays the current one, so that
            // what the user types next still lands in the row it belongs to.
            if (mCurrent) {
                const QSignalBlocker quiet(mGrid);
                mGrid->setRow(mGrid->findRowObject(mCurrent));
            }
            throw;
        }
    }
    ShowSelectedNode();
}

void ObjectiveTreeForm::ShowSelectedNode()
{
    core::BusyScope busy;
    mCurrent = NodeOfRow(*mGrid, mGrid->row());
    if (!mCurrent) {
        // An objectives tree without categories: nothing to show and nothing to add under.
        mTopic->setCaptions(mConfig.memberCaption, QStringLiteral("Description"));
        mTopic->showEmpty();
        mDelete->setEnabled(false);
        mAdd->setEnabled(false);
        return;
    }
    mTopic->display(mCurrent->ItemName(), mCurrent->Description());
    const bool group = mConfig.isGroup(*mCurrent);
    mTopic->setCaptions(group ? QStringLiteral("Category") : mConfig.memberCaption, QStringLiteral("Description"));
    mDelete->setEnabled(!group);
    mAdd->setEnabled(true);
    mTopic->nameBox()->setFocus(Qt::OtherFocusReason);
}

void ObjectiveTreeForm::txtName_Change(const QString& text)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetItemName(text);
    const int row = mGrid->row();
    mGrid->setText(row, 0, NodeRowText(mCurrent->ItemName(), isGroupRow(row)));
}

void ObjectiveTreeForm::txtBody_Change(const QString& rtf)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetDescription(rtf);
}

void ObjectiveTreeForm::cmdAdd_Click()
{
    core::Trace(QStringLiteral("cmdAdd_Click"));
    if (!mCurrent)
        return;
    core::SaveAllOrNothing([this] { SaveChanges(); });
    // A member is added to the group of the row it was asked on, never under another member.
    const int parentKey = isGroupRow(mGrid->row()) ? mCurrent->ItemKey() : mCurrent->ParentKey();
    const int key = mConfig.add(parentKey)->ItemKey();
    // Read afresh, so that the new node takes its place in the tree with its stored values.
    mCurrent = nullptr;
    mConfig.clear();
    {
        core::BusyScope busy;
        LoadGrid();
        const int row = mGrid->findRowObject(mConfig.get(key));
        mGrid->setRow(row);
        mGrid->showCell(row, 0);
    }
    ShowSelectedNode();
}

void ObjectiveTreeForm::cmdDelete_Click()
{
    core::Trace(QStringLiteral("cmdDelete_Click"));
    if (!mCurrent || isGroupRow(mGrid->row()))
        return;
    if (!core::ConfirmDelete(mTopic->name()))
        return;
    // Forgotten before it goes: no save or handler may reach the deleted node, and its
    // unsaved edits go with it.
    const int key = mCurrent->ItemKey();
    mCurrent = nullptr;
    try {
        mConfig.remove(key);
    } catch (...) {
        ShowSelectedNode();   // still in the tree: shown again as it was
        throw;
    }
    mGrid->removeItem(mGrid->row());
    ShowSelectedNode();
}

void ObjectiveTreeForm::cboRMAs_Click()
{
    const int key = mRMAs->currentKey();
    if (key <= 0)
        return;
    mGuidelines->setRtf(core::GetRMA(key)->Body());
}

} // namespace worksheets
