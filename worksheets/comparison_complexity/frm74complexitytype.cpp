#include "worksheets/comparison_complexity/frm74complexitytype.h"

#include "core/u14properties.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "model/complexitytables.h"
#include "platform/grid/grid.h"
#include "platform/ui/guard.h"
#include "worksheets/comparison_complexity/complexitywidgets.h"

#include <QEvent>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace worksheets::comparison_complexity {

using namespace model::complexity;
using namespace worksheets::complexity;

namespace {

const QString kTeam = QStringLiteral("OverheadTeam");
const QString kRationale = QStringLiteral("OverheadTeamRationale");
constexpr int kCategoryColTwips = 2160;

} // namespace

frm74ComplexityType::frm74ComplexityType(QWidget* parent) : WorksheetForm(QStringLiteral("frm74ComplexityType"), parent)
{
    auto* instruction = Bold(new QLabel(QStringLiteral("Determine the type of incident based on its complexity"), this));

    mCategories = new CategoryColumn(QStringLiteral("Rating"), {}, this);
    grdFactors = new grid::Grid(this);
    grdFactors->setObjectName(QStringLiteral("grdFactors"));
    grdFactors->installEventFilter(this);
    auto* top = new QHBoxLayout;
    top->setSpacing(16);
    auto* left = new QVBoxLayout;
    left->addWidget(mCategories);
    left->addStretch();
    top->addLayout(left);
    top->addWidget(grdFactors, 1);

    // The counts sit under the first letter of their word, in a fixed-pitch font.
    const QFont fixed = FixedPitch(font());
    const QFontMetrics fm(fixed);
    // Each count is a label of its own; widths[i] characters (0: the last) keep it under its word.
    auto countRow = [&](const QString& header, const QString& caption, std::array<QLabel*, 3>& counts,
                        const std::array<int, 3>& widths, const QString& name, QGridLayout* grid, int row) {
        auto* head = new QLabel(header, this);
        head->setFont(fixed);
        head->setTextFormat(Qt::PlainText);
        grid->addWidget(head, row, 1);
        auto* line = new QHBoxLayout;
        line->setSpacing(0);
        for (int i = 0; i < 3; ++i) {
            if (widths[size_t(i)] < 0)
                continue;
            auto* count = new QLabel(this);
            count->setObjectName(QStringLiteral("%1(%2)").arg(name).arg(i));
            count->setFont(fixed);
            if (widths[size_t(i)] > 0)
                count->setFixedWidth(fm.horizontalAdvance(QString(widths[size_t(i)], QLatin1Char(' '))));
            counts[size_t(i)] = count;
            line->addWidget(count);
        }
        line->addStretch();
        grid->addWidget(new QLabel(caption, this), row + 1, 0);
        grid->addLayout(line, row + 1, 1);
    };

    auto* summary = new QFrame(this);
    summary->setFrameShape(QFrame::Panel);
    summary->setFrameShadow(QFrame::Sunken);
    auto* summaryGrid = new QGridLayout(summary);
    summaryGrid->setHorizontalSpacing(12);
    summaryGrid->addWidget(Bold(new QLabel(QStringLiteral("Summary"), summary)), 0, 0, 1, 2);
    countRow(QStringLiteral("Low   Med   High"), QStringLiteral("Categories"), lblCategories, {6, 6, 0},
             QStringLiteral("lblCategories"), summaryGrid, 1);
    countRow(QStringLiteral("No        Yes"), QStringLiteral("Elements"), lblFactors, {10, -1, 0},
             QStringLiteral("lblFactors"), summaryGrid, 3);
    summaryGrid->setRowStretch(5, 1);

    auto* typeBox = new QFrame(this);
    typeBox->setFrameShape(QFrame::Panel);
    typeBox->setFrameShadow(QFrame::Sunken);
    txtTeam = new QLineEdit(typeBox);
    txtTeam->setObjectName(QStringLiteral("txtTeam"));
    txtRationale = new QPlainTextEdit(typeBox);
    txtRationale->setObjectName(QStringLiteral("txtRationale"));
    txtRationale->setTabChangesFocus(true);
    auto* typeLabel = new QLabel(QStringLiteral("&Type"), typeBox);
    typeLabel->setBuddy(txtTeam);
    auto* rationaleLabel = new QLabel(QStringLiteral("&Rationale:"), typeBox);
    rationaleLabel->setBuddy(txtRationale);
    auto* typeGrid = new QGridLayout(typeBox);
    typeGrid->addWidget(Bold(new QLabel(QStringLiteral("Incident Complexity"), typeBox)), 0, 0, 1, 2);
    typeGrid->addWidget(typeLabel, 1, 0);
    typeGrid->addWidget(txtTeam, 1, 1);
    typeGrid->addWidget(rationaleLabel, 2, 0, Qt::AlignTop);
    typeGrid->addWidget(txtRationale, 2, 1);
    typeGrid->setColumnStretch(1, 1);
    typeGrid->setRowStretch(2, 1);

    auto* bottom = new QHBoxLayout;
    bottom->setSpacing(16);
    bottom->addWidget(summary);
    bottom->addWidget(typeBox, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(10, 8, 10, 10);
    layout->setSpacing(10);
    layout->addWidget(instruction);
    layout->addLayout(top, 3);
    layout->addLayout(bottom, 2);

    connect(txtTeam, &QLineEdit::textChanged, this, ui::Guarded([this] {
        if (core::IsIdle())
            mTeamChanged = true;
    }));
    connect(txtRationale, &QPlainTextEdit::textChanged, this, ui::Guarded([this] {
        if (core::IsIdle())
            mRationaleChanged = true;
    }));
    txtTeam->installEventFilter(this);
    txtRationale->installEventFilter(this);
}

void frm74ComplexityType::Setup()
{
    BeginSetup(QStringLiteral("frm74ComplexityType.Setup"));
    core::BusyScope busy;
    grdFactors->setFixedRows(1);
    grdFactors->setFormatString(QStringLiteral("Category     |Selected Elements"));
    grdFactors->setColWidth(0, kCategoryColTwips);
    grdFactors->setMergeCol(0, true);
    grdFactors->setColWordWrap(1, true);
    grdFactors->setRows(1);
    ShowSelectedFactors();
    ShowCategoryRatings();
    ShowSummary();
}

void frm74ComplexityType::ShowSelectedFactors()
{
    core::Trace(QStringLiteral("ShowSelectedFactors"));
    int n = 0;
    for (const SelectedElement& element : SelectedElements()) {
        ++n;
        grdFactors->setRows(n + 1);
        grdFactors->setText(n, 0, element.category);
        grdFactors->setText(n, 1, element.name);
    }
    FitColumns();
}

void frm74ComplexityType::ShowCategoryRatings()
{
    core::Trace(QStringLiteral("ShowCategoryRatings"));
    mCategories->showTallies(CountElements());
}

void frm74ComplexityType::SumIncidentScores()
{
    core::Trace(QStringLiteral("SumIncidentScores"));
    mCategoryCounts = {};
    mFactorCounts = {};
    // The categories are counted by the rating their elements give, as their captions show it.
    const Tallies tallies = CountElements();
    for (int k = 1; k <= kCategoryCount; ++k) {
        const Tally& t = tallies[size_t(k)];
        ++mCategoryCounts[size_t(Rate(t))];
        mFactorCounts[0] += t.elements - t.yes;
        mFactorCounts[2] += t.yes;
    }
}

void frm74ComplexityType::ShowSummary()
{
    core::Trace(QStringLiteral("ShowSummary"));
    SumIncidentScores();
    for (int i = 0; i < 3; ++i)
        lblCategories[size_t(i)]->setText(QString::number(mCategoryCounts[size_t(i)]));
    lblFactors[0]->setText(QString::number(mFactorCounts[0]));
    lblFactors[2]->setText(QString::number(mFactorCounts[2]));
    core::BusyScope busy;
    txtTeam->setText(core::Property_Get(kTeam));
    txtRationale->setPlainText(core::Property_Get(kRationale));
}

void frm74ComplexityType::Update()
{
    if (mTeamChanged) {
        core::Property_Set(kTeam, txtTeam->text());
        mTeamChanged = false;
    }
    if (mRationaleChanged) {
        core::Property_Set(kRationale, txtRationale->toPlainText());
        mRationaleChanged = false;
    }
}

void frm74ComplexityType::FitColumns()
{
    grdFactors->autoSizeCols();
    grdFactors->setColWidth(0, std::max(grdFactors->colWidth(0), kCategoryColTwips));
    FillLastColumn(*grdFactors);
    grdFactors->autoSizeRows(0);
}

bool frm74ComplexityType::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == grdFactors && event->type() == QEvent::Resize && grdFactors->cols() > 1) {
        FitColumns();
    } else if (watched == txtTeam && event->type() == QEvent::FocusIn) {
        // After the click that gave the focus, which would otherwise place the caret.
        QTimer::singleShot(0, txtTeam, ui::Guarded(txtTeam, &QLineEdit::selectAll));
    } else if ((watched == txtTeam || watched == txtRationale) && event->type() == QEvent::FocusOut) {
        ui::RunHandler([this] { Update(); });
    }
    return WorksheetForm::eventFilter(watched, event);
}

} // namespace worksheets::comparison_complexity
