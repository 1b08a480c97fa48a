#include "shell/frm02tabs.h"

#include "core/u91trace.h"
#include "platform/tabs/indextab.h"
#include "platform/ui/guard.h"
#include "platform/ui/screen.h"
#include "shell/a3tolmarforms.h"
#include "shell/frm0_tolmar.h"
#include "shell/modelcaches.h"
#include "worksheets/common/worksheetform.h"

#include <QAction>
#include <QTabBar>

namespace shell {

using worksheets::gCurrentSection;

namespace {

// The one section whose tabs hang on the data: its FMUs page is offered with two FMUs or more.
constexpr int kAlternativesSection = 4;

struct SectionTabs {
    QString captions;
    QStringList items;        // Worksheet menu items 2.. of the section
};

SectionTabs TabsOf(int section, int fmuCount)
{
    switch (section) {
    case 1:
        return {"|Introduction|Import Data|Resource Objectives|NVC Table|Suppression Resource List|Cost / Acre",
                {"&2 Import Data", "&3 Resource Objectives", "&4 NVC Table", "&5 Suppression Resource List", "&6 Cost / Acre"}};
    case 2:
        return {"|Introduction|General Information|Conditions|Values at Risk",
                {"&2 General Information", "&3 Conditions", "&4 Values at Risk"}};
    case 3:
        return {"|Introduction|Safety Issues|Describe Objectives|Prioritize Objectives",
                {"&2 Safety Issues", "&3 Describe Objectives", "&4 Prioritize Objectives"}};
    case kAlternativesSection:
        if (fmuCount < 2)
            return {"|Introduction|Identify Alternatives|Outcomes|Probabilities",
                    {"&2 Identify Alternatives", "&3 Outcomes", "&4 Probabilities"}};
        return {"|Introduction|Identify Alternatives|Outcomes|Probabilities|FMUs",
                {"&2 Identify Alternatives", "&3 Outcomes", "&4 Probabilities", "&5 FMUs"}};
    case 5:
        return {"|Introduction|Safety Ratings|Objective Ratings|Values Protected|Natural Resource Impacts|Costs",
                {"&2 Safety Ratings", "&3 Objective Ratings", "&4 Values Protected", "&5 Natural Resource Impacts", "&6 Costs"}};
    case 6:
        return {"|Introduction|Graph|Decision Tree|Matrix|Decision", {"&2 Graph", "&3 Decision Tree", "&4 Matrix", "&5 Decision"}};
    case 7:
        return {"|Introduction|Topics|Preview and Print", {"&2 Topics", "&3 Preview and Print"}};
    case 8:
        return {"|Introduction|Complexity Analysis|Guidelines|Incident Type",
                {"&2 Complexity Analysis", "&3 Guidelines", "&4 Incident Type"}};
    default: return {};
    }
}

} // namespace

frm02Tabs::frm02Tabs(frm0_Tolmar* main, QWidget* parent) : QWidget(parent), mMain(main)
{
    setObjectName(QStringLiteral("frm02Tabs"));
    core::TraceLoad(QStringLiteral("frm02Tabs"));
    setAutoFillBackground(true);

    // Where Arial is not installed, the face standing in for it is found once and kept for
    // both rows; naming that face instead would only load it a second time under its own name.
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(font().pointSizeF());

    mSections = new tabs::IndexTab(this);
    mWorksheets = new tabs::IndexTab(this);
    for (tabs::IndexTab* row : {mSections, mWorksheets}) {
        row->setFont(arial);
        row->bar()->setShape(QTabBar::RoundedSouth);
        row->bar()->setDocumentMode(false);
    }
    QFont bold = arial;
    bold.setBold(true);
    mSections->setFont(bold);

    mSections->setCaptions(QStringLiteral("|Setup|Situation|Objectives|Alternatives|Analysis|Comparison|Report|Complexity"));
    mWorksheets->setCaptions(TabsOf(1, 0).captions);
    mSections->setTabEnabled(0, false);
    mWorksheets->setTabEnabled(0, false);

    connect(mSections, &tabs::IndexTab::switching, this, ui::Guarded(this, &frm02Tabs::vsTab1_Switch));
    connect(mSections, &tabs::IndexTab::clicked, this, ui::Guarded(this, &frm02Tabs::vsTab1_Click));
    connect(mWorksheets, &tabs::IndexTab::switching, this, ui::Guarded(this, &frm02Tabs::vsTab2_Switch));
    connect(mWorksheets, &tabs::IndexTab::clicked, this, ui::Guarded(this, &frm02Tabs::vsTab2_Click));

    // The rows need room for two lines of tabs whatever the font; never less than the design.
    const int rowHeight = mSections->bar()->sizeHint().height();
    const int height = qMax(ui::TwipsToPixels(kHeightTwips), 2 * rowHeight + 4);
    QWidget* client = mMain->client();
    setGeometry(0, client->height() - height, client->width(), height);
    hide();
}

frm02Tabs::~frm02Tabs() { core::TraceUnload(QStringLiteral("frm02Tabs")); }

void frm02Tabs::resizeEvent(QResizeEvent*)
{
    // The worksheet row stands above the section row, indented on the left.
    const int indent = ui::TwipsToPixels(75);
    const int rowHeight = height() / 2;
    mSections->setGeometry(0, height() - rowHeight, width(), rowHeight);
    if (width() > ui::TwipsToPixels(136))
        mWorksheets->setGeometry(indent, 0, width() - ui::TwipsToPixels(135), height() - rowHeight);
}

void frm02Tabs::InitializeTabs()
{
    mSections->setCurrentTab(1);
    mWorksheets->setCurrentTab(1);
    show();
    raise();
}

void frm02Tabs::vsTab1_Switch(int, int newTab, bool*)
{
    core::TraceStart(QStringLiteral("switch to section ") + QString::number(newTab));
    // A save that fails is reported; the change goes on all the same.
    RunGuarded(QStringLiteral("saving the worksheet"), [] { UpdateCurrentWorksheet(); });
    if (mWorksheets->currentTab() == 1)
        RunGuarded(QStringLiteral("the section change"), [] { UnloadCurrentWorksheet(); });
    gCurrentSection = newTab;
}

void frm02Tabs::vsTab1_Click()
{
    RunGuarded(QStringLiteral("the section change"), [&] {
        ChangeSections();
        if (mWorksheets->currentTab() == 1)
            DisplayWorksheet(1);
    });
    KeepStepping(mSections);
    core::TraceFinished(QStringLiteral("switching sections"));
}

void frm02Tabs::vsTab2_Switch(int, int newTab, bool*)
{
    core::TraceStart(QStringLiteral("switch to worksheet ") + QString::number(newTab));
    RunGuarded(QStringLiteral("saving the worksheet"), [] { UpdateCurrentWorksheet(); });
    RunGuarded(QStringLiteral("the worksheet change"), [] { UnloadCurrentWorksheet(); });
}

void frm02Tabs::vsTab2_Click()
{
    setEnabled(false);
    const bool shown = RunGuarded(QStringLiteral("the worksheet change"), [&] { DisplayWorksheet(mWorksheets->currentTab()); });
    setEnabled(true);
    // A worksheet that could not be filled has been dropped: the section's introduction stands
    // in its place, so that the tab rows and the menus name the page on screen.
    if (!shown)
        ShowIntroduction();
    KeepStepping(mWorksheets);
    core::TraceFinished(QStringLiteral("switching worksheets"));
}

void frm02Tabs::ShowIntroduction()
{
    if (mWorksheets->currentTab() != 1)
        mWorksheets->setCurrentTab(1);
}

// The worksheet shown takes the focus; a user stepping through a row with the arrow keys gets
// it back on the row, to go on stepping.
void frm02Tabs::KeepStepping(tabs::IndexTab* row)
{
    if (row->steppingByKey())
        row->bar()->setFocus(Qt::OtherFocusReason);
}

void frm02Tabs::ChangeSections()
{
    core::Trace(QStringLiteral("ChangeSections"));
    mWorksheets->setCurrentTab(1);
    mMain->SectionMenu_Check(gCurrentSection);
    if (gCurrentSection < 1 || gCurrentSection > 8)
        return;
    // An FMU count that cannot be read is reported and the row offered without the FMUs
    // page, so that the captions still match the section's worksheets.
    int fmus = 0;
    if (gCurrentSection == kAlternativesSection)
        RunGuarded(QStringLiteral("counting the FMUs"), [&] { fmus = Model().FMUCount(); });
    const SectionTabs t = TabsOf(gCurrentSection, fmus);
    mWorksheets->setCaptions(t.captions);
    for (int i = 0; i < t.items.size(); ++i)
        mMain->tabItem(i + 2)->setText(t.items[i]);
    const int count = t.items.size() + 1;
    for (int i = 4; i <= 6; ++i)
        mMain->tabItem(i)->setVisible(i <= count);
}

} // namespace shell
