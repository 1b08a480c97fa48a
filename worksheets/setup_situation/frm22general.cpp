#include "worksheets/setup_situation/frm22general.h"

#include "core/g2situation.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "platform/ui/guard.h"
#include "platform/ui/lengthlimit.h"
#include "worksheets/common/boxorder.h"

#include <QDateTime>
#include <QFontMetrics>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <array>

namespace worksheets {

namespace {

struct BoxLayout {
    const char* objectName;
    const char* caption;   // "" for a box beside the one before it
    int itemKey;
    int maxLength;
    bool centred;
};

constexpr std::array<BoxLayout, frm22General::BoxCount> kBoxes{{
    {"txtTolmar", "Tolmar #", 221, 5, true},
    {"txtName", "Fire Name", 11, 50, false},
    {"txtIncident", "Incident Number", 52, 40, false},
    {"txtStartDate", "Start Date / Time", 61, 20, true},
    {"txtStartTime", "", 62, 10, true},
    {"txtCurrentDate", "Current Date / Time", 222, 20, true},
    {"txtCurrentTime", "", 223, 10, true},
    {"txtJurisdiction", "Jurisdiction(s)", 53, 50, false},
    {"txtArea", "Geographic Area", 55, 50, false},
    {"txtUnit", "Administrative Unit", 54, 50, false},
    {"txtCode", "Accounting or Management Code", 217, 40, false},
    {"txtFireSize", "Current Size", 57, 9, true},
}};

constexpr int kCurrentDateKey = 222;
constexpr int kCurrentTimeKey = 223;
constexpr int kFireNameKey = 11;

} // namespace

int frm22General::ItemKeyOf(Box b) { return kBoxes[b].itemKey; }

frm22General::frm22General(QWidget* parent) : WorksheetForm(QStringLiteral("frm22General"), parent)
{
    setWindowTitle(tr("Fire Situation"));
    auto* panel = new QFrame(this);
    panel->setObjectName(QStringLiteral("pnlGeneral"));
    panel->setFrameShape(QFrame::StyledPanel);
    auto* grid = new QGridLayout(panel);
    grid->setHorizontalSpacing(12);
    grid->setVerticalSpacing(8);
    const QFontMetrics metrics(font());
    const int charWidth = metrics.horizontalAdvance(QLatin1Char('0'));

    int row = -1;
    QHBoxLayout* line = nullptr;   // the boxes of the caption's row, side by side
    for (int i = 0; i < BoxCount; ++i) {
        const BoxLayout& entry = kBoxes[i];
        auto* box = new QLineEdit(panel);
        box->setObjectName(QString::fromLatin1(entry.objectName));
        box->setMaxLength(entry.maxLength);
        box->setAlignment(entry.centred ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
        // Wide enough for what the box may hold, up to about forty characters.
        box->setFixedWidth(charWidth * (std::min(entry.maxLength, 40) + 3));
        mBoxes[i] = box;
        if (entry.caption[0] != '\0') {
            ++row;
            auto* caption = new QLabel(tr(entry.caption), panel);
            caption->setBuddy(box);
            grid->addWidget(caption, row, 0, Qt::AlignRight | Qt::AlignVCenter);
            line = new QHBoxLayout;
            grid->addLayout(line, row, 1);
        }
        line->addWidget(box);
        if (i == FireSize)
            line->addWidget(new QLabel(tr(" acres"), panel));
        if (i + 1 == BoxCount || kBoxes[i + 1].caption[0] != '\0')
            line->addStretch(1);
        connect(box, &QLineEdit::textChanged, this, ui::Guarded([this, i](const QString& text) { BoxChanged(Box(i), text); }));
    }
    grid->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(panel);
    layout->addStretch(1);

    auto* order = new BoxOrder(QList<QWidget*>(std::begin(mBoxes), std::end(mBoxes)), BoxOrder::Up::Ignored,
                               BoxOrder::Key::Consumed, this);
    order->setMovesAcross(mBoxes[StartDate]);
    order->setMovesAcross(mBoxes[CurrentDate]);
    for (Box b : {Tolmar, StartTime, CurrentTime})
        SelectTextOnFocus(mBoxes[b]);
}

void frm22General::Setup()
{
    BeginSetup(QStringLiteral("frm22General.Setup"));
    DisplayData();
}

void frm22General::DisplayData()
{
    core::Trace(QStringLiteral("frm22General.DisplayData"));
    core::BusyScope busy;
    for (int i = 0; i < BoxCount; ++i) {
        const int key = kBoxes[i].itemKey;
        if (key == kCurrentDateKey)
            mBoxes[i]->setText(DefaultCurrentDate());
        else if (key == kCurrentTimeKey)
            mBoxes[i]->setText(DefaultCurrentTime());
        else
            ui::ShowStored(mBoxes[i], core::GetSituationItem(key)->Body());
    }
}

// The first visit stamps the analysis with the present moment; later visits show what it holds.
QString frm22General::DefaultCurrentDate()
{
    core::c0Item* item = core::GetSituationItem(kCurrentDateKey);
    if (item->Body().isEmpty())
        item->SetBody(QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy")));
    return item->Body();
}

QString frm22General::DefaultCurrentTime()
{
    core::c0Item* item = core::GetSituationItem(kCurrentTimeKey);
    if (item->Body().isEmpty())
        item->SetBody(QTime::currentTime().toString(QStringLiteral("HHmm")));
    return item->Body();
}

void frm22General::BoxChanged(Box b, const QString& text)
{
    if (!core::IsIdle())
        return;
    core::GetSituationItem(kBoxes[b].itemKey)->SetBody(text);
    if (kBoxes[b].itemKey == kFireNameKey)
        SetTitleBar(text);
}

} // namespace worksheets
