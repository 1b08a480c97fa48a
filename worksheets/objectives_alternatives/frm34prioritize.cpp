#include "worksheets/objectives_alternatives/frm34prioritize.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/c41objective.h"
#include "model/g41objectives.h"
#include "model/g42safetyissues.h"
#include "model/textnumbers.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/ui/guard.h"
#include "platform/ui/screen.h"
#include "worksheets/common/bardrag.h"
#include "worksheets/common/numberbox.h"
#include "worksheets/objectives_alternatives/nodegrid.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QResizeEvent>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

namespace worksheets {

namespace {

const QString kPriorityHeader = QStringLiteral("Priority (0 low, 10 high)");
constexpr int kMaxPriority = 10;
constexpr int kMinNameTwips = 1800;
constexpr int kColTwips[] = {2460, 480, 1440};   // the percent column keeps the default

// A typed or pasted priority: a whole number, halves to even, held within 0 ... 10.
constexpr model::textnum::NumberKind kPriorityKind{.min = 0, .max = kMaxPriority, .whole = true, .held = true};

bool IsSafetyIssue(const model::c41Objective& node) { return node.bSafetyIssue(); }
bool IsSafetyRoot(const model::c41Objective& node) { return node.bSafetyRoot(); }
bool IsObjective(const model::c41Objective& node) { return node.bObjective(); }
bool IsCategory(const model::c41Objective& node) { return node.bCategory(); }

} // namespace

frm34Prioritize::frm34Prioritize(QWidget* parent) : WorksheetForm(QStringLiteral("frmPrioritize"), parent)
{
    auto* header = new QFrame(this);
    header->setObjectName(QStringLiteral("pnlHeader"));
    header->setFrameShape(QFrame::StyledPanel);
    auto* title = new QLabel(QStringLiteral("Prioritize Objectives"), header);
    title->setObjectName(QStringLiteral("Label3"));
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.3);
    title->setFont(titleFont);
    auto* headerLayout = new QVBoxLayout(header);
    headerLayout->addWidget(title);

    mSafety.name = QStringLiteral("grdSafety");
    mSafety.isMember = IsSafetyIssue;
    mSafety.isGroup = IsSafetyRoot;
    mObjectives.name = QStringLiteral("Grid1");
    mObjectives.isMember = IsObjective;
    mObjectives.isGroup = IsCategory;

    auto* grids = new QHBoxLayout;
    for (PriorityGrid* g : {&mSafety, &mObjectives}) {
        g->grid = new grid::Grid(this);
        g->grid->setObjectName(g->name);
        g->grid->setEditable(true);
        g->grid->installEventFilter(this);
        grids->addWidget(g->grid);
        ConnectGrid(*g);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(header);
    layout->addLayout(grids, 1);
    setTabOrder(mSafety.grid, mObjectives.grid);
}

frm34Prioritize::~frm34Prioritize()
{
    mSafety.current = nullptr;
    mObjectives.current = nullptr;
}

// The names take whatever width the other columns leave, so that long names stay readable
// on a large screen.
bool frm34Prioritize::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize)
        for (PriorityGrid* g : {&mSafety, &mObjectives})
            if (watched == g->grid)
                fitNameColumn(*g, static_cast<QResizeEvent*>(event)->size().width());
    return WorksheetForm::eventFilter(watched, event);
}

void frm34Prioritize::fitNameColumn(PriorityGrid& g, int gridWidth)
{
    grid::Grid& grid = *g.grid;
    if (grid.cols() < ColCount)
        return;
    int others = 0;
    for (int c = ColPriority; c < ColCount; ++c)
        others += ui::TwipsToPixels(grid.colWidth(c));
    const int free = gridWidth - 2 * grid.frameWidth() - grid.verticalScrollBar()->sizeHint().width() - others - 2;
    // On a small screen the names give way first, before the grid needs scrolling sideways;
    // a name longer than its column breaks into lines, its row as tall as they need.
    grid.setColWidth(ColName, std::max(kMinNameTwips, ui::PixelsToTwips(free)));
    grid.autoSizeRows(0);
}

void frm34Prioritize::ConnectGrid(PriorityGrid& g)
{
    PriorityGrid* pg = &g;
    connect(g.grid, &grid::Grid::enterCell, this, ui::Guarded([this, pg] { EnterCell(*pg); }));
    connect(g.grid, &grid::Grid::beforeEdit, this,
            ui::Guarded([this, pg](int row, int col, bool& cancel) { BeforeEdit(*pg, row, col, cancel); }));
    connect(g.grid, &grid::Grid::keyPressEdit, this, ui::Guarded([this](int, int, int& code) { KeyPressEdit(code); }));
    connect(g.grid, &grid::Grid::changeEdit, this, ui::Guarded([this, pg] { ChangeEdit(*pg); }));
    connect(g.grid, &grid::Grid::afterEdit, this, ui::Guarded([this, pg](int row, int col) { AfterEdit(*pg, row, col); }));
    connect(g.grid, &grid::Grid::editCancelled, this, ui::Guarded([this, pg](int row, int) { EditCancelled(*pg, row); }));
    // Before the bar's own handler, so that the nodes are stored before the press sets one.
    connect(g.grid, &grid::Grid::mouseDown, this, ui::Guarded([this, pg] { MouseDown(*pg); }));
    auto* drag = new BarDrag(*g.grid, ColBar);
    drag->setOnRelease = true;
    drag->canDrag = [this, pg](int row) { return memberAt(*pg, row) != nullptr; };
    drag->set = [this, pg](int row, double fraction) { SetPriorityFromMouse(*pg, row, fraction); };
}

void frm34Prioritize::Setup()
{
    BeginSetup(QStringLiteral("frmPrioritize.Setup"));
    core::BusyScope busy;
    mSafety.current = nullptr;
    mObjectives.current = nullptr;
    SetupPriorityGrid(mSafety, QStringLiteral("Safety Issue"));
    SetupPriorityGrid(mObjectives, QStringLiteral("Objective"));
    ShowPriorities(mSafety, true);
    ShowPriorities(mObjectives, false);
    for (PriorityGrid* g : {&mSafety, &mObjectives})
        fitNameColumn(*g, g->grid->width());
}

void frm34Prioritize::SaveChanges()
{
    if (mSafety.current)
        mSafety.current->SaveChanges();
    if (mObjectives.current)
        mObjectives.current->SaveChanges();
}

void frm34Prioritize::saveBoth()
{
    core::SaveAllOrNothing([this] { SaveChanges(); });
}

void frm34Prioritize::SetupPriorityGrid(PriorityGrid& g, const QString& header)
{
    grid::Grid& grid = *g.grid;
    grid.setCols(ColCount);
    grid.setRows(1);
    for (int c = 0; c < ColCount; ++c)
        grid.setFixedAlignment(c, Qt::AlignCenter);
    grid.setText(0, ColName, header);
    grid.setText(0, ColPriority, kPriorityHeader);
    grid.setText(0, ColBar, kPriorityHeader);
    grid.setText(0, ColPercent, QStringLiteral("%"));
    for (int c = ColName; c <= ColBar; ++c)
        grid.setColWidth(c, kColTwips[c]);
    // The bar is widened where the shared priority header would not fit above it.
    const int headerTwips = ui::PixelsToTwips(grid.fontMetrics().horizontalAdvance(kPriorityHeader) + 16);
    grid.setColWidth(ColBar, std::max(kColTwips[ColBar], headerTwips - kColTwips[ColPriority]));
    grid.setColAlignment(ColName, Qt::AlignLeft | Qt::AlignVCenter);
    grid.setColWordWrap(ColName, true);
    grid.setColAlignment(ColPriority, Qt::AlignRight | Qt::AlignVCenter);
    grid.setColAlignment(ColPercent, Qt::AlignRight | Qt::AlignVCenter);
    grid.setColDataType(ColPercent, grid::DataType::Single);
    grid.setMergeRow(0, true);
    grid.setMergeCol(ColName, true);
}

// Safety: every node of the tree, its root the first (green) row. Objectives: the root left
// out, each category a green row above its objectives.
void frm34Prioritize::ShowPriorities(PriorityGrid& g, bool showsRoot)
{
    core::BusyScope busy;
    grid::Grid& grid = *g.grid;
    const QList<model::c41Objective*>& nodes =
        showsRoot ? model::SafetyIssuesCollection() : model::ObjectivesCollection();
    FillNodeRows(grid, nodes, showsRoot, g.isGroup, ColPercent);
    // A group carries no priority: its name runs on over the cells it leaves empty rather than
    // being cut where the name column ends on a small screen.
    for (int row = 1; row < grid.rows(); ++row) {
        const model::c41Objective* node = NodeOfRow(grid, row);
        if (!node || !g.isGroup(*node))
            continue;
        for (int c = ColPriority; c < ColCount; ++c)
            grid.setText(row, c, grid.text(row, ColName));
        grid.setMergeRow(row, true);
    }
    for (int row = 1; row < grid.rows(); ++row)
        if (const model::c41Objective* node = memberAt(g, row))
            showPriority(g, row, node->Priority());
    ShowPercents(g);
}

void frm34Prioritize::showPriority(PriorityGrid& g, int row, int priority)
{
    g.grid->setText(row, ColPriority, QString::number(priority));
    g.grid->setCellFloodPercent(row, ColBar, priority * 10.0);
}

// A weight depends on every priority of its grid, so every member row is written again.
void frm34Prioritize::ShowPercents(PriorityGrid& g)
{
    core::Trace(QStringLiteral("ShowPercents"));
    for (int row = 1; row < g.grid->rows(); ++row)
        if (const model::c41Objective* node = memberAt(g, row))
            g.grid->setText(row, ColPercent, grid::FormatNumber(double(node->Weight()) * 100.0, QStringLiteral("0")));
}

model::c41Objective* frm34Prioritize::memberAt(const PriorityGrid& g, int row) const
{
    model::c41Objective* node = NodeOfRow(*g.grid, row);
    return node && g.isMember(*node) ? node : nullptr;
}

void frm34Prioritize::EnterCell(PriorityGrid& g)
{
    saveBoth();
    const int row = g.grid->row();
    g.current = NodeOfRow(*g.grid, row);
    if (g.grid->col() == ColPriority && memberAt(g, row))
        g.grid->editCell();
}

void frm34Prioritize::BeforeEdit(PriorityGrid& g, int row, int col, bool& cancel)
{
    saveBoth();
    g.current = NodeOfRow(*g.grid, row);
    if (col != ColPriority || !memberAt(g, row)) {
        cancel = true;
        return;
    }
    g.grid->setEditMaxLength(4);
    g.priorityBeforeEdit = g.current->Priority();
}

void frm34Prioritize::KeyPressEdit(int& code)
{
    if (code >= 32 && !(code >= '0' && code <= '9'))
        code = 0;
}

// The bar and the percentages follow the typing; a text that is no priority (pasted) keeps
// the priority so far until the edit ends.
void frm34Prioritize::ChangeEdit(PriorityGrid& g)
{
    if (!g.current)
        return;
    const model::textnum::Typed typed = model::textnum::ReadNumber(g.grid->editText(), kPriorityKind);
    if (!typed.ok())
        return;
    const int v = int(typed.value);
    g.grid->setCellFloodPercent(g.grid->row(), ColBar, v * 10.0);
    g.current->SetPriority(v);
    ShowPercents(g);
}

void frm34Prioritize::AfterEdit(PriorityGrid& g, int row, int col)
{
    core::Trace(g.name + QStringLiteral("_AfterEdit"));
    const int before = g.priorityBeforeEdit;
    g.priorityBeforeEdit = -1;
    const QString text = g.grid->text(row, col);
    const model::textnum::Typed typed = model::textnum::ReadNumber(text, kPriorityKind);
    model::c41Objective* node = memberAt(g, row);
    if (typed.ok() || !node || before < 0) {
        g.grid->setText(row, col, QString::number(typed.ok() ? int(typed.value) : node ? node->Priority() : 0));
        return;
    }
    node->SetPriority(before);
    showPriority(g, row, before);
    ShowPercents(g);
    RefuseTypedNumber(QStringLiteral("The priority"), QStringLiteral("priority"), text, typed, kPriorityKind,
                      QString::number(before));
}

// Escape leaves the cell as it was before the edit; the priority, its bar and the percentages
// that followed the typing go back with it.
void frm34Prioritize::EditCancelled(PriorityGrid& g, int row)
{
    const int before = g.priorityBeforeEdit;
    g.priorityBeforeEdit = -1;
    model::c41Objective* node = memberAt(g, row);
    if (!node || before < 0 || node->Priority() == before)
        return;
    node->SetPriority(before);
    showPriority(g, row, before);
    ShowPercents(g);
}

void frm34Prioritize::MouseDown(PriorityGrid& g)
{
    saveBoth();
    const int row = g.grid->row();
    g.current = NodeOfRow(*g.grid, row);
}

void frm34Prioritize::SetPriorityFromMouse(PriorityGrid& g, int row, double fraction)
{
    model::c41Objective* node = memberAt(g, row);
    if (!node)
        return;
    const double t = std::clamp(fraction, 0.0, 1.0);
    const int p = model::textnum::RoundHalfEven(10.0 * t);
    if (p != int(g.grid->value(row, ColPriority))) {
        g.grid->setText(row, ColPriority, QString::number(p));
        g.grid->setCellFloodPercent(row, ColBar, 100.0 * t);
    }
    node->SetPriority(p);
    ShowPercents(g);
}

} // namespace worksheets
