#include "shell/frm01start.h"

#include "core/u21display.h"
#include "core/u91trace.h"
#include "platform/label/formattedlabel.h"
#include "platform/ui/guard.h"
#include "shell/a1tolmar.h"
#include "shell/frm0_tolmar.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace shell {

frm01Start::frm01Start(QWidget* parent, bool background) : QWidget(parent), mBackground(background)
{
    setObjectName(QStringLiteral("frm01Start"));
    core::TraceLoad(QStringLiteral("frm01Start"));
    // Behind a file's worksheets only the frame shows: the card is built when something asks for it.
    if (!mBackground)
        buildCard();
}

void frm01Start::buildCard() const
{
    if (mCard)
        return;
    auto* self = const_cast<frm01Start*>(this);
    self->makeCard();
    if (mBackground)
        self->hideCard();
}

void frm01Start::makeCard()
{
    mCard = new QFrame(this);
    mCard->setObjectName(QStringLiteral("startCard"));
    mCard->setFrameShape(QFrame::StyledPanel);
    mCard->setAutoFillBackground(true);
    mCard->setMaximumWidth(720);
    QPalette cardPalette = mCard->palette();
    cardPalette.setColor(QPalette::Window, cardPalette.color(QPalette::Base));
    mCard->setPalette(cardPalette);

    mTitle = new QLabel(QStringLiteral("Tolmar Advanced"), mCard);
    QFont titleFont = mTitle->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 2.2);
    titleFont.setBold(true);
    mTitle->setFont(titleFont);
    mTitle->setAlignment(Qt::AlignCenter);

    mPnlOverview = new QFrame(mCard);
    mPnlOverview->setFrameShape(QFrame::StyledPanel);
    mPnlOverview->setFrameShadow(QFrame::Plain);
    mPnlOverview->setAutoFillBackground(true);
    QPalette panelPalette = cardPalette;
    panelPalette.setColor(QPalette::Window, panelPalette.color(QPalette::AlternateBase));
    mPnlOverview->setPalette(panelPalette);
    mOverview = new label::FormattedLabel(mPnlOverview);
    mStartText = new label::FormattedLabel(mPnlOverview);
    auto* overviewLayout = new QVBoxLayout(mPnlOverview);
    overviewLayout->setContentsMargins(16, 4, 16, 14);
    overviewLayout->setSpacing(14);
    overviewLayout->addWidget(mOverview);
    overviewLayout->addWidget(mStartText);

    mPnlButtons = new QFrame(mCard);
    mNew = new QPushButton(QStringLiteral("&New"), mPnlButtons);
    mOpen = new QPushButton(QStringLiteral("&Open"), mPnlButtons);
    mExit = new QPushButton(QStringLiteral("E&xit"), mPnlButtons);
    auto* buttons = new QHBoxLayout(mPnlButtons);
    buttons->setContentsMargins(0, 0, 0, 0);
    buttons->addStretch();
    for (QPushButton* b : {mNew, mOpen, mExit}) {
        b->setMinimumWidth(110);
        buttons->addWidget(b);
    }
    buttons->addStretch();

    mCopyright = new QLabel(mCard);
    mCopyright->setAlignment(Qt::AlignCenter);
    QFont small = mCopyright->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    mCopyright->setFont(small);

    auto* cardLayout = new QVBoxLayout(mCard);
    cardLayout->setContentsMargins(32, 28, 32, 20);
    cardLayout->setSpacing(18);
    cardLayout->addWidget(mTitle);
    cardLayout->addWidget(mPnlOverview);
    cardLayout->addWidget(mPnlButtons);
    cardLayout->addWidget(mCopyright);

    auto* outer = new QVBoxLayout(this);
    outer->addStretch(1);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(mCard, 4);
    row->addStretch(1);
    outer->addLayout(row);
    outer->addStretch(2);

    mOverview->setCaption(QStringLiteral(
        "|CR||BEFORE:90|Tolmar Advanced 06 assists in preparing a Ardwyn (Tolmar) for fires that require a "
        "suppression-oriented response.|CR|The program records and organizes information about the fire "
        "situation, management objectives, and possible strategies.|CR|It then assists with analysis of the "
        "alternatives, comparison to select the best option, and preparing a final report."));
    mStartText->setCaption(QStringLiteral(
        "To create a new Tolmar file, click the New button.|BEFORE:180||CR|To review or update an existing "
        "Tolmar file, click the Open button."));
    QString copyright = core::GetCopyrightText();
    mCopyright->setText(copyright.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));

    connect(mNew, &QPushButton::clicked, this, ui::Guarded([] {
        core::Trace(QStringLiteral("cmdNew_Click"));
        RunGuarded(QStringLiteral("New"), [] { NewFile(); });
    }));
    connect(mOpen, &QPushButton::clicked, this, ui::Guarded([] {
        core::Trace(QStringLiteral("cmdOpen_Click"));
        RunGuarded(QStringLiteral("Open"), [] { OpenFile(); });
    }));
    connect(mExit, &QPushButton::clicked, this, ui::Guarded([] {
        core::TraceStart(QStringLiteral("cmdExit_Click"));
        if (auto* main = frm0_Tolmar::instance())
            main->close();
    }));
}

frm01Start::~frm01Start() { core::TraceUnload(QStringLiteral("frm01Start")); }

void frm01Start::SetBackground()
{
    mBackground = true;
    if (mCard)
        hideCard();
    update();
}

void frm01Start::hideCard()
{
    mPnlOverview->hide();
    mPnlButtons->hide();
    mCard->hide();
}

label::FormattedLabel* frm01Start::flbStart() const { return buildCard(), mStartText; }
label::FormattedLabel* frm01Start::flbOverview() const { return buildCard(), mOverview; }
QLabel* frm01Start::lblTitle() const { return buildCard(), mTitle; }
QLabel* frm01Start::lblCopyright() const { return buildCard(), mCopyright; }
QPushButton* frm01Start::cmdNew() const { return buildCard(), mNew; }
QPushButton* frm01Start::cmdOpen() const { return buildCard(), mOpen; }
QPushButton* frm01Start::cmdExit() const { return buildCard(), mExit; }
QFrame* frm01Start::pnlOverview() const { return buildCard(), mPnlOverview; }
QFrame* frm01Start::pnlButtons() const { return buildCard(), mPnlButtons; }

void frm01Start::paintEvent(QPaintEvent* event)
{
    QWidget::paintEvent(event);
    if (!mBackground)
        return;
    // The bevelled frame around the client area.
    QPainter p(this);
    const QRect r = rect();
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(r.left(), r.top(), r.right() - 1, r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(r.left() + 1, r.top() + 1, r.left() + 1, r.bottom());
    p.drawLine(r.right() - 1, r.top() + 1, r.right() - 1, r.bottom());
    p.setPen(palette().color(QPalette::Shadow));
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
    p.drawLine(r.right() - 5, r.top() + 1, r.right() - 5, r.bottom());
}

} // namespace shell
