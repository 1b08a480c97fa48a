#include "worksheets/setup_situation/frm15srmaster.h"

#include "platform/ui/guard.h"
#include "worksheets/setup_situation/frm15zsrmadd.h"

#include "worksheets/common/gridfit.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/u92utilities.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/ui/prompter.h"
#include "platform/ui/screen.h"

#include <QFontMetrics>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <cmath>

namespace worksheets {

namespace {

struct ColumnLayout {
    const char* header;
    int width;
    Qt::Alignment alignment;
    const char* format;
    int maxLength;
};

// Units are sized at setup to hold the longest unit name the Add dialog accepts.
const ColumnLayout kColumns[frm15SRMaster::ColumnCount] = {
    {"#", 480, Qt::AlignCenter, "#", 4},
    {"Name", 3600, Qt::AlignLeft | Qt::AlignVCenter, "", 50},
    {"Short Name", 1440, Qt::AlignLeft | Qt::AlignVCenter, "", 20},
    {"Units", 900, Qt::AlignCenter, "", frm15SRMaster::kUnitsLength},
    {"Cost", 1320, Qt::AlignRight | Qt::AlignVCenter, "$#,0.00", frm15SRMaster::kCostLength},
    {"", 0, Qt::AlignLeft, "", 0},
};

QLabel* Instruction(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

frm15SRMaster::frm15SRMaster(QWidget* parent)
    : WorksheetForm(QStringLiteral("frm15SRMaster"), parent)
{
    grdMasterList = new grid::Grid(this);
    grdMasterList->setObjectName(QStringLiteral("grdMasterList"));
    txtSource = new QPlainTextEdit(this);
    txtSource->setObjectName(QStringLiteral("txtSource"));
    txtSource->setTabChangesFocus(true);
    cmdAdd = new QPushButton(QStringLiteral("&Add Item"), this);
    cmdDelete = new QPushButton(QStringLiteral("&Delete Item"), this);

    auto* top = Instruction(QStringLiteral("List specific fire management resources available in your area and current "
                                           "costs for those resources. Current rates for contracted and agency resources "
                                           "are published in the Interagency Incident Business Management Handbook."),
                            this);
    auto* annual = Instruction(QStringLiteral("It is recommended that cost data be updated annually using the Tolmar Prep "
                                              "part of the Tolmar Rude program."),
                               this);
    auto* sourceLabel = new QLabel(QStringLiteral("Source of data"), this);
    auto* modified = Instruction(QStringLiteral("If you modify the list, provide the source for the data, the date, and "
                                                "your name in the box above."),
                                 this);

    // The list takes the room; the notes sit below it, so even a small screen shows every
    // column of the list.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdAdd);
    buttons->addWidget(cmdDelete);
    buttons->addStretch();
    txtSource->setMaximumHeight(txtSource->fontMetrics().lineSpacing() * 4 + 12);
    mBody = new QWidget(this);
    auto* column = new QVBoxLayout(mBody);
    column->setContentsMargins(0, 0, 0, 0);
    column->addWidget(top);
    column->addWidget(grdMasterList, 1);
    column->addLayout(buttons);
    column->addSpacing(6);
    column->addWidget(sourceLabel);
    column->addWidget(txtSource);
    column->addWidget(modified);
    column->addWidget(annual);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(mBody, 1);
    layout->addStretch(0);

    connect(grdMasterList, &grid::Grid::enterCell, this, ui::Guarded(this, &frm15SRMaster::grdMasterList_EnterCell));
    connect(grdMasterList, &grid::Grid::beforeEdit, this, ui::Guarded(this, &frm15SRMaster::grdMasterList_BeforeEdit));
    connect(grdMasterList, &grid::Grid::changeEdit, this, ui::Guarded(this, &frm15SRMaster::grdMasterList_ChangeEdit));
    connect(grdMasterList, &grid::Grid::afterEdit, this, ui::Guarded(this, &frm15SRMaster::grdMasterList_AfterEdit));
    connect(grdMasterList, &grid::Grid::editCancelled, this, ui::Guarded(this, &frm15SRMaster::grdMasterList_EditCancelled));
    connect(cmdAdd, &QPushButton::clicked, this, ui::Guarded(this, &frm15SRMaster::cmdAdd_Click));
    connect(cmdDelete, &QPushButton::clicked, this, ui::Guarded(this, &frm15SRMaster::cmdDelete_Click));
    connect(txtSource, &QPlainTextEdit::textChanged, this, ui::Guarded(this, &frm15SRMaster::txtSource_Change));
}

QString frm15SRMaster::CostText(double cost) { return QString::number(cost, 'f', 2); }

bool frm15SRMaster::ReadCost(const QString& text, double* cost)
{
    double v = 0;
    if (!model::textnum::ReadTypedValue(text, 0.0, kMaxUnitCost, &v))
        return false;
    *cost = std::round(v * 100.0) / 100.0;
    return true;
}

int frm15SRMaster::typeCount() const { return grdMasterList->rows() - 1; }

void frm15SRMaster::Setup()
{
    // Fills without the busy counter: the source box's change handler stores what it is given.
    BeginSetup(QStringLiteral("frm15SRMaster.Setup"));
    SetupMasterGrid();
    LoadGrid();
    txtSource->setPlainText(model::GetSRDataSource());
}

void frm15SRMaster::SetupMasterGrid()
{
    grid::Grid& g = *grdMasterList;
    g.setCols(ColumnCount);
    g.setFixedCols(0);
    g.setRows(1);
    g.setFixedRows(1);
    for (int c = 0; c < ColumnCount; ++c) {
        g.setText(0, c, QString::fromLatin1(kColumns[c].header));
        g.setColWidth(c, kColumns[c].width);
        g.setColAlignment(c, kColumns[c].alignment);
        g.setFixedAlignment(c, Qt::AlignCenter);
        g.setColFormat(c, QString::fromLatin1(kColumns[c].format));
    }
    g.setColDataType(Position, grid::DataType::Long);
    g.setColDataType(Cost, grid::DataType::Currency);
    g.setColHidden(Key, true);
    // A unit name as long as the Add dialog takes shows whole.
    const QFontMetrics metrics(g.font());
    const int unitsPixels = metrics.horizontalAdvance(QString(kUnitsLength, QLatin1Char('x'))) + 12;
    g.setColWidth(Units, std::max(kColumns[Units].width, ui::PixelsToTwips(unitsPixels)));
    g.setEditable(true);
    // The list and its notes no wider than the list's columns.
    mBody->setMaximumWidth(CellsSize(g).width() + g.style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void frm15SRMaster::LoadGrid()
{
    core::Trace(QStringLiteral("LoadGrid"));
    mCurrent = nullptr;
    mTypes = model::ReloadSRTypes();
    grdMasterList->setRows(mTypes->Count() + 1);
    for (int i = 1; i <= mTypes->Count(); ++i) {
        const auto& typ = mTypes->At(i - 1);
        // Gaps and repeats of an older or imported list are closed here; the new numbers are
        // stored with the next save.
        if (typ->Index() != i)
            typ->SetIndex(i);
        LoadRow(typ, i);
    }
    EnableDelete();
}

void frm15SRMaster::LoadRow(const std::shared_ptr<model::c38SRType>& typ, int iRow)
{
    grid::Grid& g = *grdMasterList;
    g.setText(iRow, Position, QString::number(typ->Index()));
    g.setText(iRow, LongName, typ->LongName());
    g.setText(iRow, ShortName, typ->ShortName());
    g.setText(iRow, Units, typ->UnitName());
    g.setText(iRow, Cost, CostText(typ->UnitCost()));
    g.setText(iRow, Key, QString::number(typ->ItemKey()));
    g.setRowObject(iRow, typ.get());
}

// Delete acts on the current row: until a row is chosen there is nothing for it to take.
void frm15SRMaster::EnableDelete() { cmdDelete->setEnabled(typeCount() > 0 && grdMasterList->row() >= 1); }

void frm15SRMaster::SaveChanges()
{
    if (mCurrent)
        mCurrent->SaveChanges();
    // Renumbered types from the load; each writes only when it changed.
    if (mTypes) {
        for (const auto& typ : *mTypes)
            typ->SaveChanges();
    }
    model::SaveSRDataSource();
}

void frm15SRMaster::grdMasterList_EnterCell()
{
    const int row = grdMasterList->row();
    if (row < 1)
        return;
    mCurrent = grdMasterList->rowObject<model::c38SRType>(row);
    EnableDelete();
    grdMasterList->editCell();
}

void frm15SRMaster::grdMasterList_BeforeEdit(int row, int col, bool& cancel)
{
    if (row < 1 || col >= Key || !grdMasterList->rowObject<model::c38SRType>(row)) {
        cancel = true;
        return;
    }
    mCurrent = grdMasterList->rowObject<model::c38SRType>(row);
    grdMasterList->setEditMaxLength(kColumns[col].maxLength);
    mTextBeforeEdit = grdMasterList->text(row, col);
    mCostBeforeEdit = mCurrent->UnitCost();
}

void frm15SRMaster::grdMasterList_ChangeEdit()
{
    if (!mCurrent)
        return;
    const QString text = grdMasterList->editText();
    const int col = grdMasterList->col();
    if (col == Cost) {
        double cost = 0;
        // A text on its way to an amount ("1e") leaves the last good amount in place.
        if (ReadCost(text, &cost))
            mCurrent->SetUnitCost(cost);
    } else if (col != Position) {   // a position moves the row when the edit ends
        SetTextField(col, text);
    }
}

void frm15SRMaster::grdMasterList_AfterEdit(int row, int col)
{
    core::Trace(QStringLiteral("grdMasterList_AfterEdit ") + QString::number(row) + QStringLiteral(", ") + QString::number(col));
    if (!mCurrent || row < 1)
        return;
    grid::Grid& g = *grdMasterList;
    if (col == Position) {
        double typed = 0;
        if (!model::textnum::IsTypedNumber(g.text(row, col), &typed)) {
            g.setText(row, col, mTextBeforeEdit);
            ui::MsgBox(QStringLiteral("The position must be a whole number from 1 to ") + QString::number(typeCount()) +
                           QStringLiteral("."),
                       ui::Buttons::OK, ui::Icon::Warning);
            SaveChanges();
            return;
        }
        const int count = typeCount();
        const int newRow = std::clamp(model::textnum::RoundHalfEven(typed), 1, count);
        g.setText(row, col, QString::number(newRow));
        mCurrent->SetIndex(newRow);
        if (newRow != row)
            MoveRow(row, newRow);
    } else if (col == Cost) {
        double cost = 0;
        if (!ReadCost(g.text(row, col), &cost)) {
            cost = mCostBeforeEdit;
            ui::MsgBox(QStringLiteral("The cost must be an amount from 0 to 99,999,999,999.99 dollars."),
                       ui::Buttons::OK, ui::Icon::Warning);
        }
        mCurrent->SetUnitCost(cost);
        // The grid shows exactly the amount stored.
        g.setText(row, col, CostText(cost));
    } else {
        SetTextField(col, g.text(row, col));
    }
    SaveChanges();
}

void frm15SRMaster::SetTextField(int col, const QString& text)
{
    switch (col) {
    case LongName: mCurrent->SetLongName(text); break;
    case ShortName: mCurrent->SetShortName(text); break;
    case Units: mCurrent->SetUnitName(text); break;
    default: break;
    }
}

void frm15SRMaster::grdMasterList_EditCancelled(int row, int col)
{
    // Escape: the type gets back what it held when the edit began.
    if (!mCurrent || row < 1)
        return;
    if (col == Cost)
        mCurrent->SetUnitCost(mCostBeforeEdit);
    else
        SetTextField(col, mTextBeforeEdit);
}

void frm15SRMaster::Renumber(int fromRow, int toRow, int offset)
{
    for (int i = fromRow; i <= toRow; ++i) {
        grdMasterList->setText(i, Position, QString::number(i + offset));
        auto* typ = grdMasterList->rowObject<model::c38SRType>(i);
        typ->SetIndex(i + offset);
        typ->SaveChanges();
    }
}

void frm15SRMaster::MoveRow(int oldRow, int newRow)
{
    core::Trace(QStringLiteral("MoveRow"));
    core::SaveAllOrNothing([&] {
        SaveChanges();
        if (oldRow >= newRow)
            Renumber(newRow, oldRow - 1, 1);
        else
            Renumber(oldRow + 1, newRow, -1);
    });
    grdMasterList->sortNumeric(Position);
}

void frm15SRMaster::InsertType(const std::shared_ptr<model::c38SRType>& typ, int position)
{
    grid::Grid& g = *grdMasterList;
    position = std::clamp(position, 1, g.rows());
    // The rows from the position on move down one place; stored before the grid changes.
    Renumber(position, g.rows() - 1, 1);
    g.addItem(QString(), position < g.rows() ? position : -1);
    mTypes->Add(typ->ItemKey(), typ);
    LoadRow(typ, position);
    EnableDelete();
    g.setCurrentCell(position, LongName);
    g.showCell(position, LongName);
}

void frm15SRMaster::cmdAdd_Click()
{
    core::Trace(QStringLiteral("cmdAdd_Click"));
    // A cell still open (the button pressed by its shortcut) is stored first.
    grdMasterList->finishEdit();
    SaveChanges();
    frm15zSRMAdd dialog(*this, window());
    dialog.txtPosition->setText(QString::number(std::max(grdMasterList->row(), 0) + 1));
    dialog.exec();
}

void frm15SRMaster::cmdDelete_Click()
{
    core::Trace(QStringLiteral("cmdDelete_Click"));
    // A cell still open (the button pressed by its shortcut) is stored before anything goes.
    grdMasterList->finishEdit();
    SaveChanges();
    grid::Grid& g = *grdMasterList;
    const int row = g.row();
    // The type of the current row is the one checked and the one deleted.
    auto* typ = row >= 1 ? g.rowObject<model::c38SRType>(row) : nullptr;
    if (!typ)
        return;
    if (model::SRTypeInUse(typ->ItemKey())) {
        ui::MsgBox(QStringLiteral("Cannot delete resource that is in use"));
        return;
    }
    if (!core::ConfirmDelete(g.text(row, LongName)))
        return;
    const int key = typ->ItemKey();
    // The rows below move up one place: 1 ... n stays 1 ... n.
    core::SaveAllOrNothing([&] {
        model::DeleteSRTypeRecord(key);
        Renumber(row + 1, g.rows() - 1, -1);
    });
    g.removeItem(row);
    // Nothing may write the deleted type again.
    mCurrent = g.row() >= 1 ? g.rowObject<model::c38SRType>(g.row()) : nullptr;
    mTypes->Remove(key);
    EnableDelete();
}

void frm15SRMaster::txtSource_Change() { model::SetSRDataSource(txtSource->toPlainText()); }

} // namespace worksheets
