#include "worksheets/setup_situation/frm12import.h"

#include "core/g13rmas.h"
#include "core/u11datafile.h"
#include "core/u13folders.h"
#include "core/u91trace.h"
#include "core/u92utilities.h"
#include "core/uimode.h"
#include "model/g33fmus.h"
#include "model/prepimport.h"
#include "platform/grid/grid.h"
#include "platform/ui/guard.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/wrappedlist.h"

#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace worksheets::setup_situation {

namespace {

constexpr int kCodeRole = Qt::UserRole;
constexpr int kFileNameWidth = 1320;   // twips

QFrame* Panel(QWidget* parent, const QString& name)
{
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Sunken);
    return panel;
}

QLabel* Caption(const QString& text, QWidget* buddy)
{
    auto* label = new QLabel(text);
    label->setBuddy(buddy);
    return label;
}

QListWidget* MultiList(const QString& name)
{
    auto* list = new QListWidget;
    list->setObjectName(name);
    // A click or the space bar adds an entry to the choice or takes it out again.
    list->setSelectionMode(QAbstractItemView::MultiSelection);
    return list;
}

// The keys of the selected entries, from the top.
template <typename Key>
QList<Key> SelectedKeys(const QListWidget* list)
{
    QList<Key> keys;
    for (int i = 0; i < list->count(); ++i)
        if (list->item(i)->isSelected())
            keys.append(list->item(i)->data(kCodeRole).value<Key>());
    return keys;
}

} // namespace

frm12Import::frm12Import(QWidget* parent) : WorksheetForm(QStringLiteral("frm12Import"), parent)
{
    grdFCD = new grid::Grid;
    grdFCD->setObjectName(QStringLiteral("grdFCD"));
    lblPrepFile = new QLabel;
    lblPrepFile->setObjectName(QStringLiteral("lblPrepFile"));
    lstRMA = MultiList(QStringLiteral("lstRMA"));
    lstFMU = MultiList(QStringLiteral("lstFMU"));
    cmdImport = new QPushButton(tr("&Import >>"));
    cmdImport->setObjectName(QStringLiteral("cmdImport"));
    lblTolmarFile = new QLabel;
    lblTolmarFile->setObjectName(QStringLiteral("lblTolmarFile"));
    lstRMAList = new QListWidget;
    lstRMAList->setObjectName(QStringLiteral("lstRMAList"));
    lstFMUList = new QListWidget;
    lstFMUList->setObjectName(QStringLiteral("lstFMUList"));
    cmdDeleteRMA = new QPushButton(tr("&Delete Area"));
    cmdDeleteRMA->setObjectName(QStringLiteral("cmdDeleteRMA"));
    cmdDeleteFMU = new QPushButton(tr("De&lete FMU"));
    cmdDeleteFMU->setObjectName(QStringLiteral("cmdDeleteFMU"));
    // The areas' and units' names, as long as a Prep file has them, show whole on both sides.
    WrapLongEntries(lstRMA);
    WrapLongEntries(lstRMAList);
    WrapLongEntries(lstFMUList);
    mRMAList = new ItemList(lstRMAList);
    mFMUList = new ItemList(lstFMUList);

    auto* label1 = new QLabel(tr("Bring the resource management areas and fire management units of your unit "
                                 "from a Tolmar Prep file into this analysis."));
    label1->setObjectName(QStringLiteral("Label1"));
    label1->setWordWrap(true);

    // The file list across the top; below it what the chosen Prep file offers, the Import
    // button, and what the analysis holds, side by side and laid out alike.
    QFrame* pnlStep = Panel(this, QStringLiteral("pnlStep"));
    auto* stepLayout = new QVBoxLayout(pnlStep);
    stepLayout->addWidget(Caption(tr("1. Choose a &Prep file:"), grdFCD));
    stepLayout->addWidget(grdFCD);
    grdFCD->setMinimumHeight(90);

    QFrame* prepPanel = Panel(this, QStringLiteral("pnlPrepFile"));
    auto* prepLayout = new QVBoxLayout(prepPanel);
    prepLayout->addWidget(lblPrepFile);
    prepLayout->addWidget(Caption(tr("Resource &Management Areas"), lstRMA));
    prepLayout->addWidget(lstRMA, 1);
    prepLayout->addWidget(Caption(tr("Fire Management &Units"), lstFMU));
    prepLayout->addWidget(lstFMU, 1);

    auto* importColumn = new QVBoxLayout;
    importColumn->addStretch();
    importColumn->addWidget(new QLabel(tr("2. Select the areas\nand units to bring in,\nthen press Import.")));
    importColumn->addWidget(cmdImport);
    importColumn->addStretch();

    QFrame* ssPanel1 = Panel(this, QStringLiteral("SSPanel1"));
    auto* dataLayout = new QVBoxLayout(ssPanel1);
    dataLayout->addWidget(lblTolmarFile);
    dataLayout->addWidget(Caption(tr("Resource Management &Areas"), lstRMAList));
    dataLayout->addWidget(lstRMAList, 1);
    dataLayout->addWidget(cmdDeleteRMA, 0, Qt::AlignRight);
    dataLayout->addWidget(Caption(tr("Fire Management U&nits"), lstFMUList));
    dataLayout->addWidget(lstFMUList, 1);
    dataLayout->addWidget(cmdDeleteFMU, 0, Qt::AlignRight);

    auto* row = new QHBoxLayout;
    row->addWidget(prepPanel, 1);
    row->addLayout(importColumn);
    row->addWidget(ssPanel1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label1);
    layout->addWidget(pnlStep, 1);
    layout->addLayout(row, 3);

    connect(grdFCD, &grid::Grid::enterCell, this, ui::Guarded(this, &frm12Import::grdFCD_EnterCell));
    // The press has made its cell current by the time mouseDown is raised; only one that
    // found its row current already chooses again (a press that enters a row opens it there).
    grdFCD->viewport()->installEventFilter(this);
    connect(grdFCD, &grid::Grid::mouseDown, this, ui::Guarded([this](int button) {
        if (button == 1 && grdFCD->row() == mRowBeforePress)
            grdFCD_ChooseAgain();
    }));
    connect(grdFCD, &grid::Grid::keyDown, this, ui::Guarded([this](int& key, int) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            grdFCD_ChooseAgain();
    }));
    connect(cmdImport, &QPushButton::clicked, this, ui::Guarded(this, &frm12Import::cmdImport_Click));
    connect(cmdDeleteRMA, &QPushButton::clicked, this, ui::Guarded(this, &frm12Import::cmdDeleteRMA_Click));
    connect(cmdDeleteFMU, &QPushButton::clicked, this, ui::Guarded(this, &frm12Import::cmdDeleteFMU_Click));
    // Picking an entry offers its deletion; only a deletion takes the offer back.
    connect(mRMAList, &ItemList::click, this, ui::Guarded([this] { cmdDeleteRMA->setEnabled(true); }));
    connect(mFMUList, &ItemList::click, this, ui::Guarded([this] { cmdDeleteFMU->setEnabled(true); }));

    cmdImport->setEnabled(false);
    cmdDeleteRMA->setEnabled(false);
    cmdDeleteFMU->setEnabled(false);
}

frm12Import::~frm12Import()
{
    if (mPrep)
        mPrep->Close();
}

void frm12Import::Setup()
{
    BeginSetup(QStringLiteral("frm12Import.Setup"));
    core::BusyScope busy;
    SetupFCDGrid();
    lblTolmarFile->setText(core::GetDatafileTitle() + QStringLiteral(" Contents"));
    DisplayFCDFiles();
    FillDataFileLists();
}

void frm12Import::SetupFCDGrid()
{
    grdFCD->setFormatString(QStringLiteral("<File Name|<Unit Name"));
    grdFCD->setFixedRows(1);
    grdFCD->setFixedCols(0);
    grdFCD->setColWidth(0, kFileNameWidth);
    grdFCD->setColWidth(1, 3600);
}

void frm12Import::DisplayFCDFiles()
{
    core::Trace(QStringLiteral("frmImport.DisplayFCDFiles"));
    mFiles = model::BuildFCDFileList(core::GetCostsPath());
    grdFCD->clear();
    for (const model::PrepFileEntry& entry : mFiles)
        grdFCD->addItem(entry.FileName + QLatin1Char('\t') + entry.UnitName);
    // Long file names are shown whole: the columns grow to their texts, never below their widths.
    grdFCD->autoSizeCols();
    grdFCD->setColWidth(0, std::max(grdFCD->colWidth(0), kFileNameWidth));
    grdFCD->setColWidth(1, std::max(grdFCD->colWidth(1), 3600));
    if (!mFiles.isEmpty())
        grdFCD->setCurrentCell(0, 0);
    mEnteredRow = grdFCD->row();
}

void frm12Import::FillDataFileLists()
{
    FillRMAList(*mRMAList);
    cmdDeleteRMA->setEnabled(false);
    FillFMUList(*mFMUList);
    cmdDeleteFMU->setEnabled(false);
}

void frm12Import::grdFCD_EnterCell()
{
    const int row = grdFCD->row();
    core::Trace(QStringLiteral("frmImport.cmdNext1_Click ") + QString::number(row));
    if (!core::IsIdle())
        return;
    // Moving along the row just entered (or back onto the open file's row) keeps the file
    // and the choices made in its lists; nor does it ask again about a file just refused.
    if (row == mEnteredRow)
        return;
    mEnteredRow = row;
    OpenRowFile(row);
}

// A press on the row already entered, or Enter, chooses its file again: a file that was
// refused is tried anew once the user has mended it, without leaving its row first (with one
// file in the folder there is no other row to go to).
void frm12Import::grdFCD_ChooseAgain()
{
    const int row = grdFCD->row();
    core::Trace(QStringLiteral("frmImport.cmdNext1_Click ") + QString::number(row));
    if (!core::IsIdle() || row != mEnteredRow)
        return;
    OpenRowFile(row);
}

bool frm12Import::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grdFCD->viewport() && event->type() == QEvent::MouseButtonPress)
        mRowBeforePress = grdFCD->row();
    return WorksheetForm::eventFilter(watched, event);
}

void frm12Import::OpenRowFile(int row)
{
    if (row < 1 || row > mFiles.size())
        return;
    const model::PrepFileEntry& entry = mFiles.at(row - 1);
    if (mPrep && mPrep->FileName() == entry.FileName)
        return;
    if (mPrep) {
        mPrep->Close();
        mPrep.reset();
    }
    cmdImport->setEnabled(false);
    mPrep = model::PrepFile::Open(core::JoinPath(core::GetCostsPath(), entry.FileName));
    if (!mPrep)
        return;

    core::BusyScope busy;
    lblPrepFile->setText(entry.FileName + QStringLiteral(" Contents"));
    lstRMA->clear();
    for (const model::PrepArea& area : mPrep->Areas()) {
        auto* item = new QListWidgetItem(area.ManagementArea, lstRMA);
        item->setData(kCodeRole, area.Key);
    }
    lstFMU->clear();
    for (const model::PrepFMUEntry& unit : mPrep->FMUEntries()) {
        auto* item = new QListWidgetItem(unit.Text, lstFMU);
        item->setData(kCodeRole, unit.Code);
    }
    cmdImport->setEnabled(true);
}

void frm12Import::cmdImport_Click()
{
    if (!mPrep)
        return;
    if (!model::ImportFromPrep(*mPrep, SelectedKeys<int>(lstRMA), SelectedKeys<qint64>(lstFMU)))
        return;
    lstRMA->clearSelection();
    lstFMU->clearSelection();
    core::BusyScope busy;
    FillDataFileLists();
}

void frm12Import::cmdDeleteRMA_Click()
{
    core::Trace(QStringLiteral("frmImport.cmdDeleteRMA_Click"));
    DeleteEntry(*mRMAList, cmdDeleteRMA, core::DeleteRMA, FillRMAList);
}

void frm12Import::cmdDeleteFMU_Click()
{
    core::Trace(QStringLiteral("frmImport.cmdDeleteFMU_Click"));
    DeleteEntry(*mFMUList, cmdDeleteFMU, model::DeleteFMU, FillFMUList);
}

void frm12Import::DeleteEntry(ItemList& list, QPushButton* deleteButton, void (*remove)(int key),
                              void (*fill)(ItemList& list))
{
    const int index = list.listIndex();
    if (index < 0 || !core::ConfirmDelete(list.itemText(index)))
        return;
    remove(list.itemData(index));
    core::BusyScope busy;
    fill(list);
    // The user picks again before the next deletion.
    deleteButton->setEnabled(false);
}

} // namespace worksheets::setup_situation
