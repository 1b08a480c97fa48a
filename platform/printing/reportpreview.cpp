#include "platform/printing/reportpreview.h"

#include "platform/printing/reportdocument.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace printing {

ReportPreview::ReportPreview(QWidget* parent) : QWidget(parent)
{
    auto* bar = new QHBoxLayout;
    auto button = [this, bar](const QString& text, const QString& tip) {
        auto* b = new QToolButton(this);
        b->setText(text);
        b->setToolTip(tip);
        bar->addWidget(b);
        return b;
    };
    mPrevious = button(QStringLiteral("<"), tr("Previous page"));
    mPageLabel = new QLabel(this);
    bar->addWidget(mPageLabel);
    mNext = button(QStringLiteral(">"), tr("Next page"));
    bar->addSpacing(12);
    mZoomOut = button(QStringLiteral("-"), tr("Zoom out"));
    mZoomIn = button(QStringLiteral("+"), tr("Zoom in"));
    mFit = button(tr("Fit Width"), tr("Fit the page to the window's width"));
    mFit->setCheckable(true);
    mFit->setChecked(true);
    bar->addStretch();

    mPageView = new QLabel;
    mPageView->setAlignment(Qt::AlignCenter);
    mScroll = new QScrollArea(this);
    mScroll->setWidget(mPageView);
    mScroll->setWidgetResizable(false);
    mScroll->setAlignment(Qt::AlignCenter);
    mScroll->setBackgroundRole(QPalette::Dark);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addLayout(bar);
    layout->addWidget(mScroll, 1);

    connect(mPrevious, &QToolButton::clicked, this, [this] { ShowPage(mPage - 1); });
    connect(mNext, &QToolButton::clicked, this, [this] { ShowPage(mPage + 1); });
    connect(mZoomIn, &QToolButton::clicked, this, [this] { SetZoom(EffectiveZoom() * 1.25); });
    connect(mZoomOut, &QToolButton::clicked, this, [this] { SetZoom(EffectiveZoom() / 1.25); });
    connect(mFit, &QToolButton::toggled, this, [this](bool on) { SetFitWidth(on); });
    UpdateView();
}

void ReportPreview::SetDocument(const ReportDocument* document)
{
    if (mDocument)
        disconnect(mDocument, nullptr, this, nullptr);
    mDocument = document;
    if (mDocument)
        connect(mDocument, &ReportDocument::Finished, this, &ReportPreview::Refresh);
    mPage = 0;
    UpdateView();
}

void ReportPreview::Refresh()
{
    UpdateView();
}

void ReportPreview::ShowPage(int index)
{
    const int count = mDocument ? mDocument->PageCount() : 0;
    mPage = std::clamp(index, 0, std::max(0, count - 1));
    UpdateView();
}

void ReportPreview::SetZoom(double zoom)
{
    mZoom = std::clamp(zoom, 0.1, 4.0);
    mFitWidth = false;
    mFit->setChecked(false);
    UpdateView();
}

void ReportPreview::SetFitWidth(bool on)
{
    mFitWidth = on;
    mFit->setChecked(on);
    UpdateView();
}

double ReportPreview::EffectiveZoom() const
{
    if (!mFitWidth || !mDocument)
        return mZoom;
    const int room = mScroll->viewport()->width() - 16;
    // 96 screen pixels an inch at zoom 1.
    return std::max(0.1, room / (mDocument->PageWidth() / 15.0));
}

QImage ReportPreview::PageImage(int index) const
{
    if (!mDocument || index < 0 || index >= mDocument->PageCount())
        return QImage();
    const double scale = EffectiveZoom() / 15.0;
    QImage image(std::max(1, int(mDocument->PageWidth() * scale)), std::max(1, int(mDocument->PageHeight() * scale)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
    painter.scale(scale, scale);
    mDocument->Render(painter, index);
    return image;
}

void ReportPreview::UpdateView()
{
    const int count = mDocument ? mDocument->PageCount() : 0;
    mPage = std::clamp(mPage, 0, std::max(0, count - 1));
    mPageLabel->setText(count ? tr("Page %1 of %2").arg(mPage + 1).arg(count) : tr("No pages"));
    mPrevious->setEnabled(mPage > 0);
    mNext->setEnabled(mPage + 1 < count);
    mPageView->setPixmap(count ? QPixmap::fromImage(PageImage(mPage)) : QPixmap());
    mPageView->adjustSize();
}

void ReportPreview::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (mFitWidth)
        UpdateView();
}

}  // namespace printing
