// libFuzzer entry: any caption must parse, lay out and paint; every character shown comes
// from the caption, and parsing twice gives the same paragraphs.
#include "platform/label/formattedlabel.h"
#include "support/fuzzsupport.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzsupport::StartApplication<QApplication>("markup_fuzz");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString caption = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<label::Paragraph> paragraphs = label::ParseMarkup(caption);
    qsizetype shown = 0;
    for (const label::Paragraph& p : paragraphs)
        shown += p.text().size();
    if (shown > caption.size())
        std::abort();
    const QList<label::Paragraph> again = label::ParseMarkup(caption);
    if (again.size() != paragraphs.size())
        std::abort();
    for (qsizetype i = 0; i < again.size(); ++i)
        if (again[i].runs != paragraphs[i].runs)
            std::abort();

    static label::FormattedLabel* widget = new label::FormattedLabel;
    widget->setCaption(caption);
    const int height = widget->heightForWidth(240);
    widget->resize(240, qBound(1, height, 400));
    static QImage image(240, 400, QImage::Format_ARGB32_Premultiplied);
    widget->render(&image);
    return 0;
}
