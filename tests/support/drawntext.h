#pragma once

// What a report page puts on paper, read back from its recording: every run of text drawn, with
// the box its glyphs' ink takes (cut by the clip it was drawn in), in twips from the page's
// top-left corner. The recording is played on a device that draws
// nothing, as the printer and the PDF writer play it.

#include "platform/printing/reportdocument.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPicture>
#include <QPainter>
#include <QTextItem>

#include <QStringList>

#include <algorithm>

namespace testsupport {

struct DrawnText {
    QRectF box;
    QString text;
    QPointF origin;   // where the run starts on its baseline
};

class TextCapture final : public QPaintDevice {
public:
    TextCapture(int width, int height) : mWidth(width), mHeight(height) {}

    QPaintEngine* paintEngine() const override { return &mEngine; }
    const QList<DrawnText>& texts() const { return mEngine.texts; }
    void clear() { mEngine.texts.clear(); }

protected:
    int metric(PaintDeviceMetric metric) const override
    {
        switch (metric) {
        case PdmWidth: return mWidth;
        case PdmHeight: return mHeight;
        case PdmWidthMM: return mWidth * 254 / 14400;
        case PdmHeightMM: return mHeight * 254 / 14400;
        case PdmNumColors: return INT_MAX;
        case PdmDepth: return 32;
        case PdmDpiX:
        case PdmDpiY:
        case PdmPhysicalDpiX:
        case PdmPhysicalDpiY: return 1440;
        case PdmDevicePixelRatio: return 1;
        case PdmDevicePixelRatioScaled: return int(devicePixelRatioFScale());
        }
        return 0;
    }

private:
    class Engine final : public QPaintEngine {
    public:
        Engine() : QPaintEngine(QPaintEngine::AllFeatures) {}
        bool begin(QPaintDevice*) override { return true; }
        bool end() override { return true; }
        void updateState(const QPaintEngineState&) override {}
        void drawPixmap(const QRectF&, const QPixmap&, const QRectF&) override {}
        void drawPolygon(const QPointF*, int, PolygonDrawMode) override {}
        void drawRects(const QRectF*, int) override {}
        void drawLines(const QLineF*, int) override {}
        void drawPath(const QPainterPath&) override {}
        void drawTextItem(const QPointF& p, const QTextItem& item) override
        {
            if (item.text().trimmed().isEmpty())
                return;
            // The ink of the glyphs: two texts whose line boxes touch or share a sliver of
            // leading are not printed over each other.
            QRectF box = QFontMetricsF(item.font()).tightBoundingRect(item.text()).translated(p);
            QPainter* on = painter();
            if (on->hasClipping())
                box &= on->clipBoundingRect();
            if (box.isEmpty())
                return;
            texts.append({on->combinedTransform().mapRect(box), item.text(), on->combinedTransform().map(p)});
        }
        Type type() const override { return QPaintEngine::User; }

        QList<DrawnText> texts;
    };

    int mWidth, mHeight;
    mutable Engine mEngine;
};

// The runs of text of page index as printed, the running line included.
inline QList<DrawnText> DrawnTexts(const printing::ReportDocument& doc, int index)
{
    TextCapture device(doc.PageWidth(), doc.PageHeight());
    {
        QPainter painter(&device);
        doc.Render(painter, index);
    }
    return device.texts();
}

// The runs of the page's recording alone: what the report laid out, without the running line.
inline QList<DrawnText> RecordedTexts(const printing::ReportDocument& doc, int index)
{
    const printing::Page& page = doc.page(index);
    if (!page.drawing)
        return {};
    TextCapture device(doc.PageWidth(), doc.PageHeight());
    {
        QPainter painter(&device);
        painter.scale(page.drawing->logicalDpiX() / 1440.0, page.drawing->logicalDpiY() / 1440.0);
        painter.drawPicture(QPointF(0, 0), *page.drawing);
    }
    return device.texts();
}

// Two runs printed over each other: their ink shares more than a sliver.
inline bool Overlap(const DrawnText& a, const DrawnText& b)
{
    constexpr qreal kSliver = 4;
    const QRectF common = a.box & b.box;
    return common.width() > kSliver && common.height() > kSliver;
}

inline QString Placed(const DrawnText& t)
{
    return QStringLiteral("\"%1\" at %2,%3").arg(t.text).arg(qRound(t.box.x())).arg(qRound(t.box.y()));
}

// What reads wrong on one page, a line for each fault naming its texts.
inline QStringList PageFaults(const printing::ReportDocument& doc, int page)
{
    QStringList faults;
    const QRectF paper(0, 0, doc.PageWidth(), doc.PageHeight());
    QList<DrawnText> texts = DrawnTexts(doc, page);
    std::sort(texts.begin(), texts.end(), [](const DrawnText& a, const DrawnText& b) { return a.box.top() < b.box.top(); });
    for (qsizetype i = 0; i < texts.size(); ++i) {
        if (!paper.contains(texts[i].box))
            faults << QStringLiteral("off the paper: ") + Placed(texts[i]);
        for (qsizetype j = i + 1; j < texts.size() && texts[j].box.top() < texts[i].box.bottom(); ++j)
            if (Overlap(texts[i], texts[j]))
                faults << Placed(texts[i]) + QStringLiteral(" over ") + Placed(texts[j]);
    }
    // A glyph may stand a little out of its line's box (an underscore, an italic letter).
    QList<QRectF> boxes;
    for (const printing::PageItem& item : doc.page(page).items)
        if (item.kind == printing::PageItem::Kind::Text)
            boxes << item.rect.adjusted(-20, -20, 20, 20);
    for (const DrawnText& t : RecordedTexts(doc, page))
        if (std::none_of(boxes.begin(), boxes.end(), [&t](const QRectF& box) { return box.contains(t.box); }))
            faults << QStringLiteral("out of its box: ") + Placed(t);
    return faults;
}

}  // namespace testsupport
