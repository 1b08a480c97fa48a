#include "worksheets/analysis/frm562sruselist.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c38srtype.h"
#include "model/c51alternative.h"
#include "model/c53outcome.h"
#include "model/c67sruselist.h"
#include "model/c68sruse.h"
#include "model/g51alternatives.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/tabs/indextab.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompter.h"
#include "platform/ui/screen.h"
#include "worksheets/analysis/costentry.h"
#include "worksheets/analysis/costgrids.h"
#include "worksheets/analysis/formguards.h"
#include "worksheets/common/figurepanel.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/outcomegrids.h"
#include "worksheets/common/worksheetform.h"
#include "worksheets/common/wrappedlist.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace worksheets {

namespace {

const QColor kLightYellow(255, 255, 224);
const QColor kBrightYellow(255, 255, 0);
const QColor kWhite(255, 255, 255);
const QColor kGrey(192, 192, 192);

bool IsItemType(const model::c68SRUse& line)
{
    return line.SRType() && line.SRType()->UnitType() == QLatin1String("item");
}

// The lines in the order they are stored: by position, ties in the order loaded.
QList<std::shared_ptr<model::c68SRUse>> StoredOrder(const model::c67SRUseList& list)
{
    QList<std::shared_ptr<model::c68SRUse>> lines = list.SRUseCollection().Items();
    std::stable_sort(lines.begin(), lines.end(),
                     [](const auto& a, const auto& b) { return a->ItemIndex() < b->ItemIndex(); });
    return lines;
}

} // namespace

frm562SRUseList::frm562SRUseList(model::c53Outcome* startOutcome, QWidget* parent)
    : ModalDialog(QStringLiteral("frm562SRUseList"), parent), mStart(startOutcome)
{
    setWindowTitle(QStringLiteral("Estimate  Cost based on Suppression Resources"));

    grdOutcomes = new grid::Grid(this);
    grdOutcomes->setObjectName(QStringLiteral("grdOutcomes"));

    TabStrip1 = new tabs::IndexTab(this);
    TabStrip1->setObjectName(QStringLiteral("TabStrip1"));
    TabStrip1->setCaptions(QStringLiteral("|Select individual resources|Copy an existing list"));
    TabStrip1->setTabEnabled(0, false);

    pnlTab1 = new QWidget(this);
    pnlTab1->setObjectName(QStringLiteral("pnlTab1"));
    auto* pickCaption = new QLabel(QStringLiteral("Select an item by clicking on it"), pnlTab1);
    lstSRMaster = new QListWidget(pnlTab1);
    lstSRMaster->setObjectName(QStringLiteral("lstSRMaster"));
    WrapLongEntries(lstSRMaster);
    lstSRMaster->installEventFilter(this);
    pickCaption->setBuddy(lstSRMaster);
    mTypes = new ItemList(lstSRMaster);
    auto* page1 = new QVBoxLayout(pnlTab1);
    page1->setContentsMargins(0, 0, 0, 0);
    page1->addWidget(pickCaption);
    page1->addWidget(lstSRMaster);

    pnlTab2 = new QWidget(this);
    pnlTab2->setObjectName(QStringLiteral("pnlTab2"));
    auto* copy1 = new QLabel(
        QStringLiteral("Once you have created a list for one Outcome, you can copy that list to other Outcomes."), pnlTab2);
    copy1->setWordWrap(true);
    auto* copy2 = new QLabel(
        QStringLiteral("Select the list you would like to copy and then click the Copy List button below."), pnlTab2);
    copy2->setWordWrap(true);
    grdLists = new grid::Grid(pnlTab2);
    grdLists->setObjectName(QStringLiteral("grdLists"));
    cmdCopy = new QPushButton(QStringLiteral("Copy List"), pnlTab2);
    cmdCopy->setObjectName(QStringLiteral("cmdCopy"));
    cmdCopy->setAutoDefault(false);
    auto* page2 = new QVBoxLayout(pnlTab2);
    page2->setContentsMargins(0, 0, 0, 0);
    page2->addWidget(copy1);
    page2->addWidget(copy2);
    page2->addWidget(grdLists);
    page2->addWidget(cmdCopy, 0, Qt::AlignRight);

    auto* selectedCaption = new QLabel(QStringLiteral(" Selected resources:"), this);
    grdSRList = new grid::Grid(this);
    grdSRList->setObjectName(QStringLiteral("grdSRList"));
    selectedCaption->setBuddy(grdSRList);
    cmdDelete = new QPushButton(QStringLiteral("&Delete Row"), this);
    cmdDelete->setObjectName(QStringLiteral("cmdDelete"));
    cmdDelete->setAutoDefault(false);
    auto* costCaption = new QLabel(QStringLiteral(" Total Suppression Costs:"), this);
    pnlCost = new FigurePanel(QStringLiteral("pnlCost"), 120, this);
    lblInstructions = new QLabel(this);
    lblInstructions->setObjectName(QStringLiteral("lblInstructions"));
    lblInstructions->setWordWrap(true);
    lblInstructions->setText(
        QStringLiteral("Note: This worksheet is optional.  ")
        + QStringLiteral("It can be used to get a general estimate of potential suppression costs.  ")
        + QStringLiteral("A general estimate may be more useful than a precise estimate that takes a lot of analysis time."));

    auto* left = new QVBoxLayout;
    left->addWidget(grdOutcomes, 3);
    left->addWidget(TabStrip1);
    // The two pages take the same room, so the outcomes above keep theirs when the tab changes.
    mPages = new QStackedWidget(this);
    mPages->addWidget(pnlTab1);
    mPages->addWidget(pnlTab2);
    left->addWidget(mPages, 2);
    auto* totalRow = new QHBoxLayout;
    totalRow->addWidget(cmdDelete);
    totalRow->addStretch();
    totalRow->addWidget(costCaption);
    totalRow->addWidget(pnlCost);
    auto* right = new QVBoxLayout;
    right->addWidget(selectedCaption);
    right->addWidget(grdSRList, 1);
    right->addLayout(totalRow);
    auto* top = new QHBoxLayout;
    top->addLayout(left, 1);
    top->addLayout(right, 1);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(lblInstructions, 1);
    bottom->addWidget(cmdClose());
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(bottom);

    SetupOutcomeGrids();
    SetupListGrids();
    resize(qMax(minimumSizeHint().width(), 900), ui::TwipsToPixels(7605));
    mPages->setCurrentWidget(pnlTab1);
    TabStrip1->setCurrentTab(1);

    connect(grdOutcomes, &grid::Grid::enterCell, this, ui::Guarded(this, &frm562SRUseList::grdOutcomes_EnterCell));
    connect(TabStrip1, &tabs::IndexTab::clicked, this, ui::Guarded(this, &frm562SRUseList::TabStrip1_Click));
    // A click (or Enter) on a resource type adds a line; moving through the list adds none.
    connect(lstSRMaster, &QListWidget::itemClicked, this, ui::Guarded([this] { lstSRMaster_Click(); }));
    connect(grdLists, &grid::Grid::enterCell, this, ui::Guarded(this, &frm562SRUseList::grdLists_EnterCell));
    connect(cmdCopy, &QPushButton::clicked, this, ui::Guarded(this, &frm562SRUseList::cmdCopy_Click));
    connect(cmdDelete, &QPushButton::clicked, this, ui::Guarded(this, &frm562SRUseList::cmdDelete_Click));
    connect(grdSRList, &grid::Grid::enterCell, this, ui::Guarded(this, &frm562SRUseList::grdSRList_EnterCell));
    connect(grdSRList, &grid::Grid::leaveCell, this, ui::Guarded(this, &frm562SRUseList::grdSRList_LeaveCell));
    connect(grdSRList, &grid::Grid::beforeEdit, this, ui::Guarded(this, &frm562SRUseList::grdSRList_BeforeEdit));
    connect(grdSRList, &grid::Grid::changeEdit, this, ui::Guarded(this, &frm562SRUseList::grdSRList_ChangeEdit));
    connect(grdSRList, &grid::Grid::afterEdit, this, ui::Guarded(this, &frm562SRUseList::grdSRList_AfterEdit));
    connect(grdSRList, &grid::Grid::editCancelled, this, ui::Guarded(this, &frm562SRUseList::grdSRList_EditCancelled));
    connect(grdSRList, &grid::Grid::keyDown, this, ui::Guarded(this, &frm562SRUseList::grdSRList_KeyDown));
    // Back in the grid, the cursor is on a name, so no count opens for typing by itself.
    connect(grdSRList, &grid::Grid::lostFocus, this, ui::Guarded([this] { grdSRList->setCol(Name); }));
}

frm562SRUseList::~frm562SRUseList()
{
    DisconnectChildren(*this);
    mLine.reset();
    mCurrent = nullptr;
}

void frm562SRUseList::SetupOutcomeGrids()
{
    SetupCostColumnGrid(*grdOutcomes);
    grdLists->setCols(2);
    SetupOutcomeGrid(*grdLists);
    FitGridWidth(*grdLists);
}

void frm562SRUseList::SetupListGrids()
{
    grid::Grid& g = *grdSRList;
    g.setCols(ListColumnCount);
    g.setRows(1);
    g.setFixedRows(1);
    g.setFixedCols(0);
    struct Layout {
        const char* header;
        int width;
        grid::DataType type;
        const char* format;
        Qt::Alignment alignment;
    };
    const Layout columns[ListColumnCount] = {
        {"#", 300, grid::DataType::Long, "0", Qt::AlignCenter},
        {"Qty", 480, grid::DataType::Long, "#", Qt::AlignRight | Qt::AlignVCenter},
        {"Name", 1500, grid::DataType::Default, "", Qt::AlignLeft | Qt::AlignVCenter},
        {"Time", 480, grid::DataType::Long, "#", Qt::AlignRight | Qt::AlignVCenter},
        {"Units", 720, grid::DataType::String, "", Qt::AlignCenter},
        {"Cost", 1040, grid::DataType::Single, "$#,0", Qt::AlignRight | Qt::AlignVCenter},
    };
    for (int c = 0; c < ListColumnCount; ++c) {
        g.setText(0, c, QString::fromLatin1(columns[c].header));
        g.setColWidth(c, columns[c].width);
        g.setColDataType(c, columns[c].type);
        g.setColFormat(c, QString::fromLatin1(columns[c].format));
        g.setColAlignment(c, columns[c].alignment);
        g.setFixedAlignment(c, Qt::AlignCenter);
    }
    g.setEditable(true);
    FitGridWidth(g);
}

void frm562SRUseList::Setup()
{
    core::Trace(QStringLiteral("frm562SRUseList.Setup"));
    core::BusyScope busy;
    SetupOutcomeGrids();
    SetupListGrids();
    FillSRTypeList(*mTypes);
    FillOutcomeRows(*grdOutcomes);
    FillOutcomeTimes(*grdOutcomes);
    ShowOutcomeCosts();
    WidenColumnsToTexts(*grdOutcomes);
    FitGridHeight(*grdOutcomes, 12);
    const int row = StartRow(*grdOutcomes, mStart);
    mCurrent = row > 0 ? grdOutcomes->rowObject<model::c53Outcome>(row) : nullptr;
    if (row > 0)
        grdOutcomes->setCurrentCell(row, 0);
    LoadCopyableLists();
    ShowOutcome();
}

void frm562SRUseList::SaveChanges()
{
    if (!mLine && !mCurrent)
        return;
    core::SaveAllOrNothing([this] {
        if (mLine)
            mLine->SaveChanges();
    });
}

void frm562SRUseList::done(int result)
{
    ModalDialog::done(result);
    if (!unloaded())
        return;   // the save failed: the dialog stays up with the line it was editing
    mLine.reset();
    if (unloaded() && mCurrent)
        mCurrent->Reset();
}

bool frm562SRUseList::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lstSRMaster && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) && lstSRMaster->currentItem()) {
            ui::RunHandler([this] { lstSRMaster_Click(); });
            return true;
        }
    }
    return ModalDialog::eventFilter(watched, event);
}

std::shared_ptr<model::c68SRUse> frm562SRUseList::LineOfRow(int row) const
{
    if (!mCurrent || row < 1 || row >= grdSRList->rows())
        return nullptr;
    auto* line = grdSRList->rowObject<model::c68SRUse>(row);
    return line ? mCurrent->SRUseList().SRUseCollection().Find(line->ItemKey()) : nullptr;
}

QList<model::c53Outcome*> frm562SRUseList::GetOutcomesWithLists() const
{
    QList<model::c53Outcome*> outcomes;
    for (const auto& alternative : model::GetAlternatives()) {
        for (const model::OutcomeKind kind : model::kAlternativeOutcomeKinds) {
            model::c53Outcome* o = alternative->Outcome(kind).get();
            if (o && o->bShow() && o->SRUseList().SRUseCount() > 0)
                outcomes.append(o);
        }
    }
    return outcomes;
}

void frm562SRUseList::LoadCopyableLists()
{
    core::BusyScope busy;
    grdLists->setRows(1);
    for (model::c53Outcome* o : GetOutcomesWithLists()) {
        if (o == mCurrent)
            continue;
        const auto alternative = o->Alternative();
        grdLists->addItem((alternative ? alternative->Label() : QString()) + QLatin1Char('\t') + o->ShortName());
        grdLists->setRowObject(grdLists->rows() - 1, o);
    }
    WidenColumnsToTexts(*grdLists);
    grdLists->setRow(0);
    cmdCopy->setEnabled(false);
}

void frm562SRUseList::ShowOutcomeCosts()
{
    ShowCostColumn(*grdOutcomes, 5, [](model::c53Outcome& o) { return o.SRUseCost(); });
}

void frm562SRUseList::ShowOutcome()
{
    core::Trace(QStringLiteral("frm562SRUseList.ShowOutcome"));
    core::BusyScope busy;
    ShowSRUseList();
}

void frm562SRUseList::ShowSRUseList()
{
    mLine.reset();
    grdSRList->setRows(1);
    lstSRMaster->setEnabled(mCurrent != nullptr);
    if (mCurrent) {
        const auto lines = StoredOrder(mCurrent->SRUseList());
        for (int i = 0; i < lines.size(); ++i) {
            grdSRList->addItem(QString());
            ShowSRUseRow(*lines[i], i + 1);
        }
    }
    grdSRList->setCurrentCell(0, Name);
    WidenColumnsToTexts(*grdSRList, Name);
    cmdDelete->setEnabled(false);
    ShowTotalCost();
}

void frm562SRUseList::ShowSRUseRow(model::c68SRUse& line, int row)
{
    grid::Grid& g = *grdSRList;
    const auto type = line.SRType();
    g.setText(row, Position, QString::number(row));
    g.setText(row, Qty, QString::number(line.Quantity()));
    g.setText(row, Name, type ? type->ShortName() : QStringLiteral("(not in the resource list)"));
    g.setCellBackColor(row, Name, row, Name, kLightYellow);
    if (IsItemType(line)) {
        g.setText(row, Time, QString());
        g.setCellBackColor(row, Time, row, Time, kGrey);
    } else {
        g.setText(row, Time, QString::number(line.TimePeriods()));
        g.setCellBackColor(row, Time, row, Time, kWhite);
    }
    g.setText(row, Units, type ? type->UnitName() : QString());
    g.setCellBackColor(row, Units, row, Units, kLightYellow);
    g.setRowObject(row, &line);
    ShowRowCost(line, row);
}

void frm562SRUseList::ShowRowCost(model::c68SRUse& line, int row)
{
    grdSRList->setText(row, LineCost, QString::number(double(line.UseCost()), 'g', 15));
}

void frm562SRUseList::ShowTotalCost()
{
    core::Trace(QStringLiteral("ShowTotalCost"));
    float total = 0;
    for (int r = 1; r < grdSRList->rows(); ++r)
        total += float(grdSRList->value(r, LineCost));
    const QString text = grid::FormatNumber(total, QStringLiteral("$#,0"));
    pnlCost->setText(text);
    if (grdOutcomes->row() > 0 && grdOutcomes->rowObject<model::c53Outcome>(grdOutcomes->row()) == mCurrent)
        grdOutcomes->setText(grdOutcomes->row(), 5, text);
}

void frm562SRUseList::lstSRMaster_Click()
{
    const int row = lstSRMaster->currentRow();
    if (!mCurrent || row < 0)
        return;
    const int typeKey = mTypes->itemData(row);
    core::Trace(QStringLiteral("lstSRMaster_Click ") + mTypes->itemText(row));
    SaveChanges();
    std::shared_ptr<model::c68SRUse> line;
    core::SaveAllOrNothing([&] {
        line = mCurrent->SRUseList().NewSRUse(typeKey);
        // After older deletions the stored positions may have gaps: the new line goes last.
        if (line->ItemIndex() != grdSRList->rows())
            line->SetItemIndex(grdSRList->rows());
    });
    {
        core::BusyScope busy;
        grdSRList->addItem(QString());
        ShowSRUseRow(*line, grdSRList->rows() - 1);
        ShowTotalCost();
    }
    cmdDelete->setEnabled(true);
    grdSRList->setFocus();
    grdSRList->setCurrentCell(grdSRList->rows() - 1, Qty);
    if (!grdSRList->isEditing())
        grdSRList->editCell();
}

void frm562SRUseList::TabStrip1_Click()
{
    grdLists->setRow(0);
    const bool first = TabStrip1->currentTab() == 1;
    mPages->setCurrentWidget(first ? pnlTab1 : pnlTab2);
}

void frm562SRUseList::grdLists_EnterCell() { cmdCopy->setEnabled(grdLists->row() >= 1); }

void frm562SRUseList::cmdCopy_Click()
{
    cmdCopy->setEnabled(false);
    auto* source = grdLists->row() >= 1 ? grdLists->rowObject<model::c53Outcome>(grdLists->row()) : nullptr;
    if (!mCurrent || !source || source == mCurrent)
        return;
    SaveChanges();
    core::SaveAllOrNothing([&] {
        mCurrent->SRUseList().AppendList(source->SRUseList());
        // The copies follow the lines shown, in the order of the list they come from.
        int position = 0;
        for (const auto& line : StoredOrder(mCurrent->SRUseList()))
            if (line->ItemIndex() != ++position)
                line->SetItemIndex(position);
    });
    ShowOutcome();
    grdLists->setRow(0);
}

void frm562SRUseList::cmdDelete_Click()
{
    core::Trace(QStringLiteral("cmdDelete_Click ") + QString::number(grdSRList->row()));
    DeleteSRUseRow();
}

void frm562SRUseList::grdSRList_KeyDown(int& key, int)
{
    if (key != Qt::Key_Delete || grdSRList->col() != Name)
        return;
    core::Trace(QStringLiteral("grdSRList KEY_DELETE ") + QString::number(grdSRList->row()));
    if (grdSRList->row() >= 1)
        DeleteSRUseRow();
    key = 0;
}

void frm562SRUseList::DeleteSRUseRow()
{
    const int r = grdSRList->row();
    const auto line = LineOfRow(r);
    if (!mCurrent || !line)
        return;
    mLine.reset();
    core::SaveAllOrNothing([&] {
        mCurrent->SRUseList().DeleteSRUse(line->ItemKey());
        core::BusyScope busy;
        grdSRList->removeItem(r);
        // The lines after it move up one place, on screen and in the file, so a line added
        // later cannot take a position another line holds.
        StoreShownOrder();
    });
    core::BusyScope busy;
    const bool any = grdSRList->rows() > 1;
    if (any) {
        grdSRList->setCellBackColor(grdSRList->row(), Name, grdSRList->row(), Name, kBrightYellow);
        mLine = LineOfRow(grdSRList->row());
    }
    ShowTotalCost();
    cmdDelete->setEnabled(any && mLine != nullptr);
}

void frm562SRUseList::StoreShownOrder()
{
    for (int r = 1; r < grdSRList->rows(); ++r) {
        grdSRList->setText(r, Position, QString::number(r));
        if (auto* line = grdSRList->rowObject<model::c68SRUse>(r); line && line->ItemIndex() != r)
            line->SetItemIndex(r);
    }
}

void frm562SRUseList::MoveRow(int fromRow, int toRow)
{
    core::Trace(QStringLiteral("MoveRow ") + QString::number(fromRow) + QStringLiteral(" to ") + QString::number(toRow));
    grid::Grid& g = *grdSRList;
    core::BusyScope busy;
    if (fromRow >= toRow) {
        for (int r = toRow; r < fromRow; ++r)
            g.setText(r, Position, QString::number(r + 1));
    } else {
        for (int r = fromRow + 1; r <= toRow; ++r)
            g.setText(r, Position, QString::number(r - 1));
    }
    g.setText(fromRow, Position, QString::number(toRow));
    g.sortNumeric(Position);
    core::SaveAllOrNothing([this] { StoreShownOrder(); });
    ResetNameColors();
}

void frm562SRUseList::ResetNameColors()
{
    if (grdSRList->rows() > 1)
        grdSRList->setCellBackColor(1, Name, grdSRList->rows() - 1, Name, kLightYellow);
}

void frm562SRUseList::grdOutcomes_EnterCell()
{
    if (!core::IsIdle())
        return;
    SwitchOutcome(
        *grdOutcomes, mCurrent,
        [this] {
            SaveChanges();
            mLine.reset();
            // The outcome left reads its stored lines when next asked.
            if (mCurrent)
                mCurrent->Reset();
        },
        [this] {
            ShowOutcome();
            LoadCopyableLists();
        });
}

void frm562SRUseList::grdSRList_EnterCell()
{
    SaveChanges();
    const int r = grdSRList->row();
    mLine = LineOfRow(r);
    if (!mLine) {
        cmdDelete->setEnabled(false);
        return;
    }
    grdSRList->setCellBackColor(r, Name, r, Name, kBrightYellow);
    cmdDelete->setEnabled(true);
    const int c = grdSRList->col();
    if (core::IsIdle() && (c == Position || c == Qty || c == Time) && !grdSRList->isEditing())
        grdSRList->editCell();
}

void frm562SRUseList::grdSRList_LeaveCell()
{
    const int r = grdSRList->row();
    core::Trace(QStringLiteral("grdSRList_LeaveCell ") + QString::number(r) + QStringLiteral(", ")
                + QString::number(grdSRList->col()));
    if (r >= 1 && r < grdSRList->rows())
        grdSRList->setCellBackColor(r, Name, r, Name, kLightYellow);
}

void frm562SRUseList::grdSRList_BeforeEdit(int row, int col, bool& cancel)
{
    const auto line = LineOfRow(row);
    if (!line || !(col == Position || col == Qty || (col == Time && !IsItemType(*line)))) {
        cancel = true;
        return;
    }
    grdSRList->setEditMaxLength(4);
    mBeforeEdit = col == Position ? row : (col == Qty ? line->Quantity() : line->TimePeriods());
}

bool frm562SRUseList::SetCount(model::c68SRUse& line, int col, const QString& text)
{
    const costentry::Typed typed = costentry::ReadCount(text);
    if (!typed.ok())
        return false;
    const int n = int(typed.value);
    if (col == Qty)
        line.SetQuantity(n);
    else
        line.SetTimePeriods(n);
    return true;
}

void frm562SRUseList::grdSRList_ChangeEdit()
{
    const int r = grdSRList->row();
    const int c = grdSRList->col();
    const auto line = LineOfRow(r);
    if (!line || (c != Qty && c != Time))
        return;
    // A text on its way to a count keeps the count so far; the end of the edit judges it.
    if (!SetCount(*line, c, grdSRList->editText()))
        return;
    ShowRowCost(*line, r);
    ShowTotalCost();
}

void frm562SRUseList::grdSRList_AfterEdit(int row, int col)
{
    core::Trace(QStringLiteral("grdSRList_AfterEdit ") + QString::number(row) + QStringLiteral(", ")
                + QString::number(col));
    const auto line = LineOfRow(row);
    if (!line)
        return;
    if (col == Qty || col == Time) {
        const QString text = grdSRList->text(row, col);
        if (!SetCount(*line, col, text)) {
            ui::MsgBox(costentry::CountMessage(col == Qty ? QStringLiteral("The quantity") : QStringLiteral("The number of periods"),
                                               text),
                       ui::Buttons::OK, ui::Icon::Warning);
            SetCount(*line, col, QString::number(mBeforeEdit));
        }
        grdSRList->setText(row, col, QString::number(col == Qty ? line->Quantity() : line->TimePeriods()));
        SaveChanges();
        ShowRowCost(*line, row);
        ShowTotalCost();
        return;
    }
    if (col != Position)
        return;
    SaveChanges();
    const QString text = grdSRList->text(row, col);
    double typed = 0;
    if (!text.trimmed().isEmpty() && !model::textnum::IsNumeric(text, &typed)) {
        ui::MsgBox(QStringLiteral("The position must be a number from 1 to ") + QString::number(grdSRList->rows() - 1)
                       + QStringLiteral("; \"") + text.trimmed() + QStringLiteral("\" is not."),
                   ui::Buttons::OK, ui::Icon::Warning);
        grdSRList->setText(row, col, QString::number(row));
        return;
    }
    const int last = grdSRList->rows() - 1;
    const int n = std::clamp(model::textnum::RoundHalfEven(typed), 1, last);
    grdSRList->setText(row, col, QString::number(n));
    if (n != row)
        MoveRow(row, n);
}

void frm562SRUseList::grdSRList_EditCancelled(int row, int col)
{
    const auto line = LineOfRow(row);
    if (!line || (col != Qty && col != Time))
        return;
    SetCount(*line, col, QString::number(mBeforeEdit));
    ShowRowCost(*line, row);
    ShowTotalCost();
}

} // namespace worksheets
