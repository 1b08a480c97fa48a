#include "worksheets/comparison_complexity/frm73guide.h"

#include "core/u91trace.h"
#include "platform/label/formattedlabel.h"
#include "platform/ui/guard.h"

#include <QButtonGroup>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace worksheets::comparison_complexity {

namespace {

// Every topic starts from the margins, so no indent of the topic shown before carries over.
const QString kOpening = QStringLiteral("|Before:60||Left:0||Right:0|");

const char* const kCaptions[frm73Guide::kTopicCount] = {"Incident Complexity", "Type 1", "Type 2",
                                                        "Type 3", "Type 4", "Area Command"};

// The pieces of each topic: one starting with "|CR|" opens a paragraph, any other continues it.
QStringList Pieces(int index)
{
    switch (index) {
    case 0:
        return {
            "|B:1|Incident Complexity",
            "|CR||B:0|Many factors determine the complexity of an incident: the size of the area involved, its "
            "location, the threat to life and property, political sensitivity, organizational complexity, "
            "jurisdictional boundaries, values at risk, weather, fuels and fire behavior, and the strategy and "
            "tactics chosen.  ",
            "Incidents are typed by their complexity, from the small Type 4 initial attack incident to the Type 1 "
            "incident, the most complex of all.  ",
            "The qualifications required of the Incident Commander are decided by the agency responsible for the "
            "incident.",
            "|CR|The Agency Administrator, or a representative the administrator designates, determines the "
            "complexity of the incident and assigns personnel qualified to manage it.  ",
            "Where several agencies are involved, they determine the complexity and assign the personnel jointly.",
            "|CR|Note: The descriptions of the incident types are guidelines only.  ",
            "They describe the complexity of incidents and are not meant to correlate incident typing to the typing "
            "of incident management teams.",
        };
    case 1:
        return {
            "|B:1|Type 1:",
            "|CR||B:0|The difference between a Type 1 and a Type 2 incident is one of size and complexity.  ",
            "Whether an incident is managed as a Type 1 or a Type 2 incident depends on the needs and policies of "
            "the agencies involved.",
            "|CR|A Type 1 incident is divided into divisions and usually into branches, in operations and often in "
            "logistics as well, to keep every supervisor's span of control manageable.",
            "|CR|The most qualified incident management teams, with the most experienced Command and General Staff, "
            "are assigned to Type 1 incidents.",
            "|CR|The Type 1 Incident meets all of the criteria of a Type 2 Incident plus the following:",
            "|CR||Left:180|1. All Command and General Staff positions are activated.",
            "|CR|2. Operations personnel often exceed 500 per operational period, and total personnel usually "
            "exceed 1,000.  ",
            "These numbers are guides only.",
            "|CR||Left:0|A Type 1 incident is a large and complex incident that needs well-qualified personnel in "
            "every position.  ",
            "Personnel assigned to a Type 1 incident have usually served on several Type 2 incidents first.",
        };
    case 2:
        return {
            "|B:1|Type 2:",
            "|CR||B:0|The Type 2 incident is the first level at which most or all of the Command and General Staff "
            "positions are filled.  ",
            "Together they run a large organization, with its own base and support, over multiple operational "
            "periods.",
            "|CR|Characteristics:",
            "|CR||Left:180|1. Most or all of the Command and General Staff positions are filled.",
            "|CR|2. Base/camp(s) are established.",
            "|CR|3. The incident extends into multiple operational periods.",
            "|CR|4. A written action plan is needed and prepared.",
            "|CR|5. Many of the functional units are needed and staffed.",
            "|CR|6. Operations personnel usually do not exceed 200 per operational period, and total personnel "
            "normally do not exceed 500.  ",
            "These numbers are guides only.",
        };
    case 3:
        return {
            "|B:1|Type 3:  |B:0|(Extended Attack Incident)",
            "|CR||B:0|A Type 3 incident is an initial attack that calls for a large number of resources, or an "
            "extended attack on a fire that initial attack did not contain.  ",
            "Its size depends on the fuels: in timber a Type 3 fire may stay under 100 acres, while in range areas "
            "it may reach 1,000 acres or more.",
            "|CR|Characteristics:",
            "|CR||Left:180|1. Resources vary from several single resources to several Task Forces/Strike Teams.",
            "|CR|2. The incident may be divided into divisions, or into segments where divisions are not needed.",
            "|CR|3. The incident may extend into multiple operational periods, with a written action plan.",
            "|CR|4. Some of the Command and General Staff positions may be filled.",
            "|CR|5. May utilize staging areas and establish a base.",
        };
    case 4:
        return {
            "|B:1|Type 4:  |B:0|(Initial Attack Incident)",
            "|CR||B:0|Nationwide about 95 percent of all wildland fire incidents fall into this type.  ",
            "They are small, simple incidents, handled with very few forces and usually controlled by the first "
            "resources to arrive.",
            "|CR|Characteristics:",
            "|CR||Left:180|1. Resources vary from a single firefighter to several single resources.",
            "|CR|2. The incident is normally contained within one operational period.",
            "|CR|3. Normally does not require a written action plan.",
            "|CR|4. Normally the Command/General Staff positions will not be activated.",
        };
    case 5:
        return {
            "|B:1|Area Command:",
            "|CR||B:0|An Area Command is established when an incident is so large that it is divided into separate "
            "incidents, or when several incidents lie close together, each with its own Incident Commander and "
            "each competing for the same resources.  ",
            "The role of the Area Command is oversight: it directs the incident management teams but takes no "
            "direct part in tactical operations.  ",
            "It sets the priorities among the incidents and allocates critical resources that are in short supply "
            "according to those priorities.",
        };
    default: return {};
    }
}

QLabel* Wrapped(const QString& text, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

QString frm73Guide::TopicText(int index) { return kOpening + Pieces(index).join(QString()); }

frm73Guide::frm73Guide(QWidget* parent) : WorksheetForm(QStringLiteral("frm73Guide"), parent)
{
    auto* left = new QVBoxLayout;
    left->setSpacing(6);
    left->addWidget(Wrapped(
        QStringLiteral("Click each of these topics to see the relevant section of the complexity guidelines."), this));
    auto* group = new QButtonGroup(this);
    for (int i = 0; i < kTopicCount; ++i) {
        auto* button = new QPushButton(QString::fromLatin1(kCaptions[i]), this);
        button->setObjectName(QStringLiteral("cmdShow(%1)").arg(i));
        button->setCheckable(true);
        group->addButton(button, i);
        connect(button, &QPushButton::clicked, this, ui::Guarded([this, i] { cmdShow_Click(i); }));
        cmdShow[size_t(i)] = button;
        left->addWidget(button);
    }
    left->addSpacing(12);
    left->addWidget(Wrapped(QStringLiteral("Guidelines can include rules of thumb and specific issues that should be "
                                           "considered in a particular location."),
                            this));
    cmdLocal = new QPushButton(QStringLiteral("Local Guidelines"), this);
    cmdLocal->setObjectName(QStringLiteral("cmdLocal"));
    cmdLocal->setCheckable(true);
    group->addButton(cmdLocal, kTopicCount);
    connect(cmdLocal, &QPushButton::clicked, this, ui::Guarded(this, &frm73Guide::cmdLocal_Click));
    left->addWidget(cmdLocal);
    Text1 = new QLineEdit(QStringLiteral("None."), this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    // Local guidelines come with the template; the box only shows them, and looks it: no caret,
    // no place in the Tab order, the page's own colour behind the text.
    Text1->setFocusPolicy(Qt::NoFocus);
    Text1->setFrame(false);
    QPalette shown = Text1->palette();
    shown.setColor(QPalette::Base, shown.color(QPalette::Window));
    Text1->setPalette(shown);
    left->addWidget(Text1);
    left->addWidget(Wrapped(QStringLiteral("Local guidelines can be added to a template to serve as a reminder or "
                                           "quick reference when a fire occurs."),
                            this));
    left->addStretch();

    auto* page = new QFrame;
    page->setAutoFillBackground(true);
    QPalette pal = page->palette();
    pal.setColor(QPalette::Window, pal.color(QPalette::Base));
    page->setPalette(pal);
    FLabel1 = new label::FormattedLabel(page);
    FLabel1->setObjectName(QStringLiteral("FLabel1"));
    auto* pageLayout = new QVBoxLayout(page);
    pageLayout->setContentsMargins(16, 10, 16, 16);
    pageLayout->addWidget(FLabel1);
    pageLayout->addStretch();
    auto* scroll = new QScrollArea(this);
    scroll->setFrameShape(QFrame::Panel);
    scroll->setFrameShadow(QFrame::Sunken);
    scroll->setWidgetResizable(true);
    scroll->setWidget(page);

    auto* source = Wrapped(QStringLiteral("The guidelines are taken from the Wildland and Prescribed Fire "
                                          "Qualification System Guide (PMS 310-1), National Wildfire Coordinating "
                                          "Group."),
                           this);
    QFont small = source->font();
    small.setItalic(true);
    source->setFont(small);

    auto* right = new QVBoxLayout;
    right->addWidget(scroll, 1);
    right->addWidget(source);

    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(10, 10, 10, 10);
    layout->setSpacing(16);
    layout->addLayout(left);
    layout->addLayout(right, 1);
    // The buttons keep their width; the text gets the rest.
    for (QPushButton* b : cmdShow)
        b->setMinimumWidth(160);
}

void frm73Guide::Setup()
{
    BeginSetup(QStringLiteral("frm73Guide.Setup"));
    cmdShow_Click(0);
}

void frm73Guide::cmdShow_Click(int index)
{
    core::Trace(QStringLiteral("cmdShow_Click ") + QString::number(index));
    if (index < 0 || index >= kTopicCount)
        return;
    ShowText(TopicText(index), cmdShow[size_t(index)]);
}

void frm73Guide::cmdLocal_Click()
{
    core::Trace(QStringLiteral("cmdLocal_Click"));
    QString local = Text1->text();
    local.replace(QLatin1Char('|'), QLatin1Char('/'));   // a bar would start a tag
    ShowText(kOpening + QStringLiteral("|B:1|Local Guidelines|CR||B:0|") + local, cmdLocal);
}

void frm73Guide::ShowText(const QString& text, QPushButton* chosen)
{
    FLabel1->hide();
    FLabel1->setCaption(text);
    FLabel1->show();
    chosen->setChecked(true);
}

} // namespace worksheets::comparison_complexity
