#include "shell/frm11intro.h"

#include "core/u91trace.h"
#include "platform/label/formattedlabel.h"

#include <QFrame>
#include <QLabel>
#include <QScrollArea>
#include <QVBoxLayout>

namespace shell {

namespace {
const QString kIntro = QStringLiteral("|CR||BEFORE:180|Worksheet 1: Introduction.  This page.");

// A section's description in the formatted label's markup: the overview, then one line for
// each worksheet of the section, kept in parts only so that the source lines stay short.
QStringList SectionDescriptionParts(int section)
{
    switch (section) {
    case 1:
        return {"The Setup Section is for preparing information that will be used later in the Tolmar process.  ",
                "If you have a Tolmar Prep file, the information can be imported from it.  ",
                "If you do not have a Tolmar Prep file, you can enter information directly into the tables.",
                kIntro,
                "|CR||BEFORE:90|Worksheet 2: Import Data.  Import information from a Tolmar Prep file.",
                "|CR|Worksheet 3: Resource Objectives.  Management goals will be used to ensure ",
                "that suppression objectives are consistent with resource management objectives for the area.",
                "|CR|Worksheet 4: NVC Table.  The NVC Table will be used to compute impacts in the Analysis Section.",
                "|CR|Worksheet 5: Suppression Resource List.  You will select suppression resources ",
                "from this list in the Alternatives Section.",
                "|CR|Worksheet 6: Cost / Acre.  This table is used to estimate suppression costs ",
                "based on historic cost per acre."};
    case 2:
        return {"In the Situation Section you provide information about the fire.",
                kIntro,
                "|CR||BEFORE:90|Worksheet 2: General Information.  Standard information about the fire ",
                "such as name and dates.",
                "|CR|Worksheet 3: Conditions.  Provide information about fuel conditions, ",
                "weather, fire behavior, and availability of suppression resources.",
                "|CR|Worksheet 4: Values at Risk.  List structures and other values threatened by the fire."};
    case 3:
        return {"In the Objectives Section you identify and prioritize the suppression objectives for this fire.",
                kIntro,
                "|CR||BEFORE:90|Worksheet 2: Safety Issues.  Describe the specific safety concerns for this fire.",
                "|CR|Worksheet 3: Describe Objectives.  Describe the suppression objectives for this fire.",
                "|CR|Worksheet 4: Prioritize Objectives.  Indicate the relative priority of each objective."};
    case 4:
        return {"In the Alternatives Section you identify and describe each of the alternatives to be considered.",
                kIntro,
                "|CR||BEFORE:90|Worksheet 2: Identify Alternatives.  List the alternative strategies to be considered.",
                "|CR|Worksheet 3: Outcomes.  For each strategy, describe possible outcomes: ",
                "target, fallback, and extreme outcomes.  ",
                "|CR|Worksheet 4: Probabilities.  Indicate the probability of achieving ",
                "the target and fallback outcomes for each alternative.",
                "|CR|Worksheet 5: FMUs.  If the fire could affect multiple Fire Management Units (FMUs), ",
                "a worksheet will be provided for indicating what percentage of the total fire area is in each FMU.  ",
                "If the fire will not affect multiple FMUs, this page is not shown."};
    case 5:
        return {"The Analysis Section is where you determine the costs and impacts of each outcome.",
                kIntro,
                "|CR||BEFORE:90|Worksheet 2: Safety Ratings.  Rate each outcome against the safety issues ",
                "identified in the Objectives Section.",
                "|CR|Worksheet 3: Objective Ratings.  Rate each outcome against the criteria ",
                "identified in the Objectives Section.",
                "|CR|Worksheet 4: Values Protected.  For each outcome, indicate the expected impact ",
                "on individual items such as structures affected by the fire.",
                "|CR|Worksheet 5: Natural Resource Impacts.  Indicate the impact on natural resources.",
                "|CR|Worksheet 6: Costs.  Review and modify the anticipated costs for each outcome."};
    case 6:
        return {"The Comparison Section shows how the alternatives compare, and allows you to select an alternative.",
                kIntro,
                "|CR||BEFORE:90|Worksheet 2: Graph.  A graphical view of the relative impacts ",
                "and costs of the alternatives.",
                "|CR|Worksheet 3: Decision Tree.  Compare two alternatives at a time ",
                "by viewing the decision tree for each one.",
                "|CR|Worksheet 4: Matrix.  A table showing the numbers for each outcome and alternative.",
                "|CR|Worksheet 5: Decision.  On this worksheet you select the alternative and provide a rationale."};
    case 7:
        return {"In the Report Section you add any final text and select what to preview and print.",
                kIntro,
                "|CR||BEFORE:90|Worksheet 2: Topics.  Add instructions and information ",
                "not covered elsewhere in the process.",
                "|CR|Worksheet 3: Preview and Print.  Select the pages to print, preview the report, and print it."};
    case 8:
        return {"In the Complexity Section you identify the complexity elements for this fire ",
                "and determine the overall complexity.",
                kIntro,
                "|CR||BEFORE:90|Worksheet 2: Complexity Analysis.  For each complexity category, ",
                "indicate which elements are present in the current fire.",
                "|CR|Worksheet 3: Guidelines.  A description of the complexity guidelines for each incident type.",
                "|CR|Worksheet 4: Incident Type.  Indicate the complexity for this fire, ",
                "based on the number of complexity elements present."};
    default: return {};
    }
}
} // namespace

QString frm11Intro::SectionTitle(int sectionID)
{
    static const QStringList titles = {"Setup Section",      "Situation Section",  "Objectives Section",
                                       "Alternatives Section", "Analysis Section", "Comparison Section",
                                       "Report Section",     "Complexity Section"};
    return sectionID >= 1 && sectionID <= 8 ? titles[sectionID - 1] : QString();
}

QString frm11Intro::SectionDescription(int sectionID) { return SectionDescriptionParts(sectionID).join(QString()); }

int frm11Intro::SectionHelpContext(int sectionID)
{
    static const int digits[] = {0, 1, 2, 3, 4, 5, 6, 8, 7};
    return sectionID >= 1 && sectionID <= 8 ? 4010 + 100 * digits[sectionID] : 0;
}

frm11Intro::frm11Intro(QWidget* parent) : WorksheetForm(QStringLiteral("frm11Intro"), parent)
{
    mTitle = new QLabel(QStringLiteral("Description of Section"), this);
    QFont titleFont = mTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    titleFont.setBold(true);
    mTitle->setFont(titleFont);

    mPanel = new QFrame(this);
    mPanel->setFrameShape(QFrame::Panel);
    mPanel->setFrameShadow(QFrame::Sunken);
    mPanel->setAutoFillBackground(true);
    QPalette pal = mPanel->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    mPanel->setPalette(pal);
    mDescription = new label::FormattedLabel(mPanel);
    auto* panelLayout = new QVBoxLayout(mPanel);
    panelLayout->setContentsMargins(18, 10, 18, 18);
    panelLayout->addWidget(mDescription);
    panelLayout->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(12, 12, 12, 12);
    layout->setSpacing(10);
    layout->addWidget(mTitle);
    layout->addWidget(mPanel, 1);
    setAutoFillBackground(true);
}

void frm11Intro::Setup() { Setup(worksheets::gCurrentSection); }

void frm11Intro::Setup(int sectionID)
{
    core::Trace(QStringLiteral("frm11Intro.Setup"));
    worksheets::FitWorksheetForm(this);
    worksheets::DisableEditMenu();
    worksheets::SectionMenu_Check(sectionID);
    worksheets::WorksheetMenu_Check(1);
    worksheets::gCurrentWorksheetID = QStringLiteral("tab11");
    if (sectionID >= 1 && sectionID <= 8) {
        mTitle->setText(SectionTitle(sectionID));
        setHelpContextID(SectionHelpContext(sectionID));
        mDescription->setCaption(SectionDescription(sectionID));
    }
    show();
}

} // namespace shell
