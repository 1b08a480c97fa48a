#include "worksheets/analysis/frm56_costsummary.h"

#include "core/savescope.h"
#include "core/u91trace.h"
#include "core/u92utilities.h"
#include "core/uimode.h"
#include "model/c53outcome.h"
#include "model/g33fmus.h"
#include "platform/grid/grid.h"
#include "platform/grid/numberformat.h"
#include "platform/label/formattedlabel.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompter.h"
#include "worksheets/analysis/costentry.h"
#include "worksheets/analysis/costgrids.h"
#include "worksheets/analysis/formguards.h"
#include "worksheets/analysis/frm561costperacre.h"
#include "worksheets/analysis/frm562sruselist.h"
#include "worksheets/analysis/frm563dailycost.h"
#include "worksheets/common/boxorder.h"
#include "worksheets/common/figurepanel.h"
#include "worksheets/common/outcomegrids.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace worksheets {

namespace {

using core::CostSource;

QLabel* FigureLabel(const QString& name, QWidget* parent)
{
    auto* l = new FigurePanel(name, 110, parent);
    l->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return l;
}

QString Rounded3(float v, const char* format)
{
    return grid::FormatNumber(core::RoundSignificant(double(v), 3), QString::fromLatin1(format));
}

} // namespace

frm56_CostSummary::frm56_CostSummary(QWidget* parent)
    : WorksheetForm(QStringLiteral("frm56_CostSummary"), parent)
{
    grdOutcomes = new grid::Grid(this);
    grdOutcomes->setObjectName(QStringLiteral("grdOutcomes"));

    auto* guideCaption = new QLabel(QStringLiteral("Guidelines for estimating suppression cost:"), this);
    guideCaption->setWordWrap(true);
    FLabel1 = new label::FormattedLabel(this);
    FLabel1->setObjectName(QStringLiteral("FLabel1"));

    auto* methods = new QFrame(this);
    methods->setObjectName(QStringLiteral("pnlMethods"));
    methods->setFrameShape(QFrame::StyledPanel);
    auto* intro = new QLabel(
        QStringLiteral("For each Outcome, select one of the following methods for estimating suppression cost:"), methods);
    intro->setWordWrap(true);
    optSize = new QRadioButton(QStringLiteral("Estimated cost based on fire size"), methods);
    optSize->setObjectName(QStringLiteral("optSize"));
    optSRUse = new QRadioButton(QStringLiteral("Estimated cost of suppression resources"), methods);
    optSRUse->setObjectName(QStringLiteral("optSRUse"));
    optDaily = new QRadioButton(QStringLiteral("Estimated cost based on daily rate"), methods);
    optDaily->setObjectName(QStringLiteral("optDaily"));
    optAdjust = new QRadioButton(QStringLiteral("Type in estimate and provide explanation below"), methods);
    optAdjust->setObjectName(QStringLiteral("optAdjust"));
    mOptions = new QButtonGroup(this);
    mOptions->addButton(optSize, core::StoredValue(CostSource::BySize));
    mOptions->addButton(optSRUse, core::StoredValue(CostSource::ResourceList));
    mOptions->addButton(optDaily, core::StoredValue(CostSource::Daily));
    mOptions->addButton(optAdjust, core::StoredValue(CostSource::Entered));
    lblSize = FigureLabel(QStringLiteral("lblSize"), methods);
    lblSRUse = FigureLabel(QStringLiteral("lblSRUse"), methods);
    lblDaily = FigureLabel(QStringLiteral("lblDaily"), methods);
    txtAdjustedCost = new QLineEdit(methods);
    txtAdjustedCost->setObjectName(QStringLiteral("txtAdjustedCost"));
    txtAdjustedCost->setAlignment(Qt::AlignRight);
    txtAdjustedCost->setMaximumWidth(lblSize->minimumSizeHint().width() + 10);
    txtAdjustedCost->setMaxLength(24);
    SelectTextOnFocus(txtAdjustedCost);
    cmdSize = new QPushButton(QStringLiteral("Review Estimate"), methods);
    cmdSize->setObjectName(QStringLiteral("cmdSize"));
    cmdSRUse = new QPushButton(QStringLiteral("Get/Edit Estimate"), methods);
    cmdSRUse->setObjectName(QStringLiteral("cmdSRUse"));
    cmdDaily = new QPushButton(QStringLiteral("Get/Edit Estimate"), methods);
    cmdDaily->setObjectName(QStringLiteral("cmdDaily"));
    auto* dailyNote = new QLabel(QStringLiteral("Note: this method is generally used for a revised Tolmar after a "
                                                "daily expense rate has been established."),
                                 methods);
    dailyNote->setWordWrap(true);
    lblUnknownSource = new QLabel(methods);
    lblUnknownSource->setObjectName(QStringLiteral("lblUnknownSource"));
    lblUnknownSource->setWordWrap(true);
    lblUnknownSource->setStyleSheet(QStringLiteral("color: #b00000;"));
    lblUnknownSource->hide();

    auto* m = new QGridLayout(methods);
    m->addWidget(intro, 0, 0, 1, 4);
    m->addWidget(optSize, 1, 0);
    m->addWidget(lblSize, 1, 1);
    m->addWidget(cmdSize, 1, 2);
    m->addWidget(optSRUse, 2, 0);
    m->addWidget(lblSRUse, 2, 1);
    m->addWidget(cmdSRUse, 2, 2);
    m->addWidget(optDaily, 3, 0);
    m->addWidget(lblDaily, 3, 1);
    m->addWidget(cmdDaily, 3, 2);
    // Under its method, across the panel: beside the button it took the width the methods'
    // captions need and wrapped a word to a line.
    m->addWidget(dailyNote, 4, 0, 1, 4);
    m->addWidget(optAdjust, 5, 0);
    m->addWidget(txtAdjustedCost, 5, 1);
    m->addWidget(lblUnknownSource, 6, 0, 1, 4);
    m->setColumnStretch(3, 1);

    auto* rationaleCaption = new QLabel(QStringLiteral("Describe the basis or rationale for the cost estimate"), this);
    txtCostRationale = new QPlainTextEdit(this);
    txtCostRationale->setObjectName(QStringLiteral("txtCostRationale"));
    txtCostRationale->setTabChangesFocus(true);
    rationaleCaption->setBuddy(txtCostRationale);

    auto* left = new QVBoxLayout;
    left->addWidget(grdOutcomes, 3);
    left->addWidget(methods);
    left->addWidget(rationaleCaption);
    left->addWidget(txtCostRationale, 2);
    auto* right = new QVBoxLayout;
    right->addWidget(guideCaption);
    right->addWidget(FLabel1);
    right->addStretch();
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left, 3);
    layout->addLayout(right, 1);

    setTabOrder(grdOutcomes, optSize);
    setTabOrder(optSize, cmdSize);
    setTabOrder(cmdSize, cmdSRUse);
    setTabOrder(cmdSRUse, cmdDaily);
    setTabOrder(cmdDaily, txtAdjustedCost);
    setTabOrder(txtAdjustedCost, txtCostRationale);

    SetupGrid();

    connect(grdOutcomes, &grid::Grid::enterCell, this, ui::Guarded(this, &frm56_CostSummary::grdOutcomes_EnterCell));
    connect(mOptions, &QButtonGroup::idClicked, this, ui::Guarded(this, &frm56_CostSummary::optCost_Click));
    connect(cmdSize, &QPushButton::clicked, this, ui::Guarded(this, &frm56_CostSummary::cmdSize_Click));
    connect(cmdSRUse, &QPushButton::clicked, this, ui::Guarded(this, &frm56_CostSummary::cmdSRUse_Click));
    connect(cmdDaily, &QPushButton::clicked, this, ui::Guarded(this, &frm56_CostSummary::cmdDaily_Click));
    connect(txtAdjustedCost, &QLineEdit::textEdited, this, ui::Guarded(this, &frm56_CostSummary::txtAdjustedCost_Change));
    connect(txtAdjustedCost, &QLineEdit::editingFinished, this, ui::Guarded([this] { CommitAdjustedCost(); }));
    connect(txtCostRationale, &QPlainTextEdit::textChanged, this, ui::Guarded(this, &frm56_CostSummary::txtCostRationale_Change));
}

frm56_CostSummary::~frm56_CostSummary()
{
    DisconnectChildren(*this);
    mCurrent = nullptr;
}

void frm56_CostSummary::Setup()
{
    BeginSetup(QStringLiteral("frm56_CostSummary.Setup"));
    core::BusyScope busy;
    ShowCostGuidelines();
    SetupGrid();
    ShowOutcomeTimes(*grdOutcomes);
    ShowEstimatedCosts();
    WidenColumnsToTexts(*grdOutcomes);
    mCurrent = nullptr;
    if (grdOutcomes->rows() > 1) {
        grdOutcomes->setCurrentCell(1, 0);
        mCurrent = grdOutcomes->rowObject<model::c53Outcome>(1);
    }
    ShowOutcomeCost();
}

void frm56_CostSummary::SetupGrid()
{
    SetupCostColumnGrid(*grdOutcomes);
}

void frm56_CostSummary::ShowCostGuidelines()
{
    FLabel1->setCaption(QStringLiteral("If historical costs are available, they should be used ")
                        + QStringLiteral("as an initial starting point.  ")
                        + QStringLiteral("Revise costs as necessary to reflect the current incident.")
                        + QStringLiteral("|CR|Describe the basis for the cost estimate in the space provided.")
                        + QStringLiteral("|CR|Consider the following factors when making a cost estimate:")
                        + QStringLiteral("|CR||PARALEFT:180|- Fire location")
                        + QStringLiteral("|CR|- Distance to non-Federal lands") + QStringLiteral("|CR|- Access")
                        + QStringLiteral("|CR|- Terrain") + QStringLiteral("|CR|- Land management direction")
                        + QStringLiteral("|CR|- Fuel types") + QStringLiteral("|CR|- Duration")
                        + QStringLiteral("|CR|- Values at risk")
                        + QStringLiteral("|CR|- Other factors that might influence overall cost"));
}

void frm56_CostSummary::ShowEstimatedCosts()
{
    ShowCostColumn(*grdOutcomes, Cost, [](model::c53Outcome& o) { return o.EstimatedCost(); });
}

void frm56_CostSummary::ShowFigures()
{
    if (!mCurrent)
        return;
    lblSize->setText(Rounded3(mCurrent->CostBySize(), "#,0"));
    lblSRUse->setText(Rounded3(mCurrent->SRUseCost(), "#,#"));
    lblDaily->setText(Rounded3(mCurrent->DailyCost(), "#,#"));
}

void frm56_CostSummary::ShowOutcomeCost()
{
    core::BusyScope busy;
    const bool any = mCurrent != nullptr;
    for (QWidget* w : std::initializer_list<QWidget*>{optSize, optSRUse, optDaily, optAdjust, cmdSize, cmdSRUse,
                                                      cmdDaily, txtAdjustedCost, txtCostRationale})
        w->setEnabled(any);
    mAmountTyped = false;
    if (!any)
        return;
    const int source = core::StoredValue(mCurrent->CostSource());
    if (QAbstractButton* option = mOptions->button(source)) {
        option->setChecked(true);
        lblUnknownSource->hide();
    } else {
        // A file may hold a source that is none of the four: no option is chosen, and the
        // outcome has no estimate until the user picks one.
        mOptions->setExclusive(false);
        for (QAbstractButton* b : mOptions->buttons())
            b->setChecked(false);
        mOptions->setExclusive(true);
        lblUnknownSource->setText(QStringLiteral("The cost method stored for this outcome (%1) is none of these, so "
                                                 "its estimated cost is 0. Select a method.")
                                      .arg(source));
        lblUnknownSource->show();
    }
    ShowFigures();
    txtAdjustedCost->setText(grid::FormatNumber(mCurrent->AdjustedCost(), QStringLiteral("#,#")));
    txtCostRationale->setPlainText(mCurrent->CostRationale());
}

void frm56_CostSummary::SaveChanges()
{
    CommitAdjustedCost();
    if (mCurrent)
        mCurrent->SaveChanges();
}

void frm56_CostSummary::grdOutcomes_EnterCell()
{
    if (!core::IsIdle())
        return;
    SwitchOutcome(*grdOutcomes, mCurrent, [this] { core::SaveAllOrNothing([this] { SaveChanges(); }); },
                  [this] { ShowOutcomeCost(); });
}

void frm56_CostSummary::optCost_Click(int source)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetCostSource(static_cast<CostSource>(source));
    lblUnknownSource->hide();
    ShowEstimatedCosts();
}

void frm56_CostSummary::txtAdjustedCost_Change(const QString& text)
{
    if (!core::IsIdle() || !mCurrent)
        return;
    if (!mAmountTyped) {
        mAmountTyped = true;
        mAmountBefore = mCurrent->AdjustedCost();
        mSourceBefore = mCurrent->CostSource();
    }
    const costentry::Typed typed = costentry::ReadAmount(text);
    if (typed.reading == costentry::Reading::Value) {
        mCurrent->SetAdjustedCost(costentry::StoredAmount(typed.value));
        // Typing an amount makes it the outcome's estimate.
        optAdjust->setChecked(true);
        optCost_Click(core::StoredValue(CostSource::Entered));
    } else if (typed.reading == costentry::Reading::Empty) {
        mCurrent->SetAdjustedCost(0);
    }
    // Any other text is on its way to a number or is refused when typing ends; the amount
    // kept so far stays.
    const int r = grdOutcomes->findRowObject(mCurrent);
    if (r > 0)
        grdOutcomes->setText(r, Cost, grid::FormatNumber(mCurrent->EstimatedCost(), QStringLiteral("#,0")));
}

bool frm56_CostSummary::CommitAdjustedCost()
{
    if (!mAmountTyped || !mCurrent)
        return true;
    mAmountTyped = false;
    const QString text = txtAdjustedCost->text();
    const costentry::Typed typed = costentry::ReadAmount(text);
    if (typed.ok())
        return true;
    // The outcome gets back what it had before the typing, its method included.
    mCurrent->SetAdjustedCost(mAmountBefore);
    mCurrent->SetCostSource(mSourceBefore);
    {
        core::BusyScope busy;
        txtAdjustedCost->setText(grid::FormatNumber(mAmountBefore, QStringLiteral("#,#")));
        if (QAbstractButton* option = mOptions->button(core::StoredValue(mSourceBefore)))
            option->setChecked(true);
        ShowEstimatedCosts();
    }
    ui::MsgBox(costentry::AmountMessage(QStringLiteral("The estimated cost"), text, typed) + QStringLiteral("\r\n")
                   + QStringLiteral("The amount stays ") + grid::FormatNumber(mAmountBefore, QStringLiteral("#,0"))
                   + QStringLiteral("."),
               ui::Buttons::OK, ui::Icon::Warning);
    return false;
}

void frm56_CostSummary::txtCostRationale_Change()
{
    if (!core::IsIdle() || !mCurrent)
        return;
    mCurrent->SetCostRationale(txtCostRationale->toPlainText());
}

void frm56_CostSummary::AfterDialog()
{
    ShowFigures();
    ShowEstimatedCosts();
}

void frm56_CostSummary::OpenDialog(const DialogMaker& make)
{
    CommitAdjustedCost();
    if (!mCurrent)
        return;
    make(mCurrent)->ShowModal();
    AfterDialog();
}

void frm56_CostSummary::cmdSize_Click()
{
    OpenDialog([](model::c53Outcome* o) -> std::unique_ptr<ModalDialog> {
        if (model::FMUCount() == 0)
            return std::make_unique<frm561CostPerAcre>(o);
        return std::make_unique<frm561CostPerAcreFMU>(o);
    });
}

void frm56_CostSummary::cmdSRUse_Click()
{
    OpenDialog([](model::c53Outcome* o) { return std::make_unique<frm562SRUseList>(o); });
}

void frm56_CostSummary::cmdDaily_Click()
{
    OpenDialog([](model::c53Outcome* o) { return std::make_unique<frm563DailyCost>(o); });
}

} // namespace worksheets
