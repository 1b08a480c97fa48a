#include "worksheets/setup_situation/frm14nvctable.h"

#include "platform/ui/guard.h"
#include "worksheets/common/gridfit.h"
#include "worksheets/common/itemlist.h"
#include "worksheets/common/listfills.h"
#include "worksheets/common/wrappedlist.h"

#include "core/u14properties.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c34nvctable.h"
#include "model/g33fmus.h"
#include "model/g34nvcresources.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/prompter.h"
#include "platform/ui/screen.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace worksheets {

namespace {

constexpr int kNameWidth = 2640;
constexpr int kFILWidth = 1020;
constexpr int kNameLength = 50;
constexpr int kValueLength = 14;
constexpr double kMaxValue = 9999999.0;
const QColor kGrey(128, 128, 128);
const QColor kBlack(0, 0, 0);
const QString kTotalFormat = QStringLiteral("$#,0");

QLabel* Panel(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMargin(2);
    return label;
}

// The table shows whole, each total under the column it adds up: a column widens to its total
// as to its figures, and the grid takes the size of its cells.
template <size_t N> void LineUpTotals(grid::Grid& g, QLabel* caption, const std::array<QLabel*, N>& totals)
{
    for (size_t c = 1; c < N; ++c) {
        const int need = totals[c]->minimumSizeHint().width();
        if (need > g.columnWidth(int(c)))
            g.setColWidth(int(c), ui::PixelsToTwips(need) + 1);
    }
    g.setFixedSize(CellsSize(g));
    caption->setFixedWidth(g.frameWidth() + g.columnWidth(0));
    for (size_t c = 1; c < N; ++c)
        totals[c]->setFixedWidth(g.columnWidth(int(c)));
}

// A FIL cell's editor text as a value: empty or a lone minus sign (a loss about to be typed)
// is 0; false for anything that is not a number within the table's range.
bool ReadValueText(const QString& text, float* value)
{
    double v = 0;
    if (!model::textnum::ReadTypedValue(text, -kMaxValue, kMaxValue, &v))
        return false;
    *value = float(v);
    return true;
}

} // namespace

frm14NVCTable::frm14NVCTable(QWidget* parent)
    : WorksheetForm(QStringLiteral("frm14NVCTable"), parent)
{
    pnlHeader = new QLabel(QStringLiteral("Net value change (NVC) per acre, in dollars, of each resource at each fire "
                                          "intensity level (FIL). Enter losses as negative numbers and gains as "
                                          "positive numbers."),
                           this);
    pnlHeader->setWordWrap(true);
    pnlHeader->setFrameStyle(QFrame::Panel | QFrame::Raised);
    pnlHeader->setMargin(4);
    optNVC = new QRadioButton(QStringLiteral("Use Net Value Change (NVC): Gains minus Losses"), this);
    optLoss = new QRadioButton(QStringLiteral("Use Losses only - Agency Fire Management Policy"), this);
    lblFMU = new QLabel(QStringLiteral("FMU"), this);
    cboFMU = new LongChoiceBox(this);
    cboFMU->setMinimumContentsLength(24);
    mFMUs = new ItemList(cboFMU);
    grdNVC = new grid::Grid(this);
    grdNVC->setObjectName(QStringLiteral("grdNVC"));
    pnlLabel = Panel(QStringLiteral("Gain or loss per acre"), this);
    for (int c = 1; c <= kFILColumns; ++c) {
        pnlAcreImpact[c] = Panel(QString(), this);
        pnlAcreImpact[c]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    lblMinus = new QLabel(QStringLiteral("Be sure to include a minus sign (-) for losses."), this);
    lblMinus->setStyleSheet(QStringLiteral("background-color: yellow; padding: 3px;"));
    lblMinus->hide();

    auto* fmuRow = new QHBoxLayout;
    fmuRow->addWidget(lblFMU);
    fmuRow->addWidget(cboFMU);
    fmuRow->addStretch();
    auto* gridRow = new QHBoxLayout;
    gridRow->addWidget(grdNVC);
    gridRow->addStretch();
    // The totals sit under the FIL columns they add up.
    auto* totalsRow = new QHBoxLayout;
    totalsRow->setSpacing(0);
    totalsRow->addWidget(pnlLabel);
    for (int c = 1; c <= kFILColumns; ++c)
        totalsRow->addWidget(pnlAcreImpact[c]);
    totalsRow->addStretch();
    auto* minusRow = new QHBoxLayout;
    minusRow->addWidget(lblMinus);
    minusRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(pnlHeader);
    layout->addWidget(optNVC);
    layout->addWidget(optLoss);
    layout->addLayout(fmuRow);
    layout->addLayout(gridRow);
    layout->addLayout(totalsRow);
    layout->addLayout(minusRow);
    layout->addStretch();

    connect(mFMUs, &ItemList::click, this, ui::Guarded(this, &frm14NVCTable::cboFMU_Click));
    connect(optNVC, &QRadioButton::toggled, this, ui::Guarded([this](bool on) { OptionPicked(true, on); }));
    connect(optLoss, &QRadioButton::toggled, this, ui::Guarded([this](bool on) { OptionPicked(false, on); }));
    connect(grdNVC, &grid::Grid::enterCell, this, ui::Guarded(this, &frm14NVCTable::grdNVC_EnterCell));
    connect(grdNVC, &grid::Grid::beforeEdit, this, ui::Guarded(this, &frm14NVCTable::grdNVC_BeforeEdit));
    connect(grdNVC, &grid::Grid::keyPressEdit, this, ui::Guarded(this, &frm14NVCTable::grdNVC_KeyPressEdit));
    connect(grdNVC, &grid::Grid::changeEdit, this, ui::Guarded(this, &frm14NVCTable::grdNVC_ChangeEdit));
    connect(grdNVC, &grid::Grid::afterEdit, this, ui::Guarded(this, &frm14NVCTable::grdNVC_AfterEdit));
    connect(grdNVC, &grid::Grid::editCancelled, this, ui::Guarded(this, &frm14NVCTable::grdNVC_EditCancelled));
}

void frm14NVCTable::Setup()
{
    BeginSetup(QStringLiteral("frm14NVCTable.Setup"));
    core::BusyScope busy;
    SetupNVCGrid();
    ShowFirstFMU(*mFMUs, lblFMU, [this] {
        mFMUKey = 0;
        DisplayNVCTable();
    });
}

void frm14NVCTable::SetupNVCGrid()
{
    grid::Grid& g = *grdNVC;
    g.setCols(kFILColumns + 1);
    g.setFixedCols(0);
    g.setRows(kResources + 1);
    g.setFixedRows(1);
    // Wide enough for the longest resource name in the font on screen.
    int nameWidth = kNameWidth;
    for (int r = 1; r <= kResources; ++r)
        nameWidth = std::max(nameWidth, ui::PixelsToTwips(g.fontMetrics().horizontalAdvance(model::GetResourceName(r)) + 12));
    g.setColWidth(0, nameWidth);
    g.setColDataType(0, grid::DataType::String);
    for (int c = 1; c <= kFILColumns; ++c) {
        g.setColWidth(c, kFILWidth);
        g.setColAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
        g.setFixedAlignment(c, Qt::AlignCenter);
        g.setColDataType(c, grid::DataType::Currency);
        g.setColFormat(c, QStringLiteral("#.00"));
        g.setText(0, c, QStringLiteral("FIL ") + QString::number(c));
    }
    g.setEditable(true);
    LineUpTotals(g, pnlLabel, pnlAcreImpact);
}

void frm14NVCTable::cboFMU_Click()
{
    SwitchShownObject([this] { SaveChanges(); },
                      [this] {
                          mFMUKey = mFMUs->currentKey();
                          DisplayNVCTable();
                      });
}

void frm14NVCTable::SaveChanges()
{
    model::SaveNVCResources();
    if (mTable)
        mTable->SaveChanges();
}

void frm14NVCTable::DisplayNVCTable()
{
    mTable = model::GetNVCTable(mFMUKey);
    // One reading of the option for the shading, the totals and the model's own figures.
    const bool useGains = model::UseNVCGains();
    core::BusyScope busy;
    for (int r = 1; r <= kResources; ++r) {
        grdNVC->setText(r, 0, model::GetResourceName(r));
        for (int c = 1; c <= kFILColumns; ++c) {
            grdNVC->setText(r, c, model::textnum::SingleText(mTable->NVCCellValue(r, c)));
            ColourCell(r, c, useGains);
        }
    }
    (useGains ? optNVC : optLoss)->setChecked(true);
    // The caption says what the totals add from the start, not only once an option is clicked.
    pnlLabel->setText(useGains ? QStringLiteral("Gain or loss per acre") : QStringLiteral("Loss per acre"));
    ShowAcreImpacts();
}

void frm14NVCTable::ColourCell(int row, int col, bool useGains)
{
    const bool counts = useGains || mTable->NVCCellValue(row, col) < 0.0f;
    grdNVC->setCellForeColor(row, col, row, col, counts ? kBlack : kGrey);
}

void frm14NVCTable::ShowAcreImpacts()
{
    if (!mTable)
        return;
    // From the table itself, so the totals add exactly the values that are stored.
    const bool lossesOnly = optLoss->isChecked();
    for (int c = 1; c <= kFILColumns; ++c) {
        double total = 0;
        for (int r = 1; r <= kResources; ++r) {
            const float v = mTable->NVCCellValue(r, c);
            if (!(lossesOnly && v > 0.0f))
                total += double(v);
        }
        pnlAcreImpact[c]->setText(grid::FormatNumber(total, kTotalFormat));
    }
    LineUpTotals(*grdNVC, pnlLabel, pnlAcreImpact);
}

void frm14NVCTable::ColourNVCCells()
{
    if (!mTable)
        return;
    const bool useGains = model::UseNVCGains();
    for (int r = 1; r <= kResources; ++r)
        for (int c = 1; c <= kFILColumns; ++c)
            ColourCell(r, c, useGains);
}

void frm14NVCTable::OptionPicked(bool gains, bool checked)
{
    if (!core::IsIdle())
        return;
    if (checked) {
        pnlLabel->setText(gains ? QStringLiteral("Gain or loss per acre") : QStringLiteral("Loss per acre"));
        core::Property_Set(QStringLiteral("UseNVCGains"), gains ? QStringLiteral("Yes") : QStringLiteral("No"));
    }
    ColourNVCCells();
    ShowAcreImpacts();
}

void frm14NVCTable::grdNVC_EnterCell()
{
    if (grdNVC->row() >= 1)
        grdNVC->editCell();
}

void frm14NVCTable::grdNVC_BeforeEdit(int row, int col, bool& cancel)
{
    if (!mTable || row < 1) {
        cancel = true;
        return;
    }
    if (col == 0) {
        grdNVC->setEditMaxLength(kNameLength);
        mNameBeforeEdit = model::GetResourceName(row);
    } else {
        grdNVC->setEditMaxLength(kValueLength);
        mValueBeforeEdit = mTable->NVCCellValue(row, col);
    }
}

void frm14NVCTable::grdNVC_KeyPressEdit(int row, int col, int& code)
{
    if (code == '-') {
        lblMinus->hide();
        mMinusTyped = true;
    } else if (code >= '0' && code <= '9') {
        if (row > 0 && col > 0 && grdNVC->value(row, col) == 0.0 && !mMinusTyped)
            lblMinus->show();
    }
}

void frm14NVCTable::grdNVC_ChangeEdit()
{
    // Every change of the editor's text, typed or pasted, reaches the table and the totals.
    const int row = grdNVC->row();
    const int col = grdNVC->col();
    if (!mTable || row < 1)
        return;
    if (col == 0) {
        model::SetResourceName(row, grdNVC->editText());
        return;
    }
    float v = 0.0f;
    // A text on its way to a number ("1e") leaves the last good value in place.
    if (!ReadValueText(grdNVC->editText(), &v))
        return;
    mTable->SetNVCCellValue(row, col, v);
    ShowAcreImpacts();
}

void frm14NVCTable::grdNVC_AfterEdit(int row, int col)
{
    if (!mTable || row < 1)
        return;
    if (col == 0) {
        model::SetResourceName(row, grdNVC->text(row, 0));
        return;
    }
    float v = 0.0f;
    if (ReadValueText(grdNVC->text(row, col), &v)) {
        mTable->SetNVCCellValue(row, col, v);
    } else {
        mTable->SetNVCCellValue(row, col, mValueBeforeEdit);
        ui::MsgBox(QStringLiteral("The value per acre must be a number from -9,999,999 to 9,999,999."),
                   ui::Buttons::OK, ui::Icon::Warning);
    }
    grdNVC->setText(row, col, model::textnum::SingleText(mTable->NVCCellValue(row, col)));
    if (!model::UseNVCGains()) {
        ColourCell(row, col, false);
        mMinusTyped = false;   // the reminder may come again
    }
    ShowAcreImpacts();
}

void frm14NVCTable::grdNVC_EditCancelled(int row, int col)
{
    if (!mTable || row < 1)
        return;
    if (col == 0) {
        model::SetResourceName(row, mNameBeforeEdit);
        return;
    }
    mTable->SetNVCCellValue(row, col, mValueBeforeEdit);
    ShowAcreImpacts();
}

} // namespace worksheets
