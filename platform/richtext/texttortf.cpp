#include "platform/richtext/texttortf.h"

#include "platform/richtext/rtfescape.h"
#include "platform/richtext/rtftext.h"

namespace richtext {

QString TextToRTF(QString text)
{
    TrimTrailingBreaks(text);
    QString out = kRtfHeader;
    out.reserve(kRtfHeader.size() + text.size() + 16);
    bool delimiterDue = false;
    qsizetype line = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != u'\r' && c != u'\n')
            continue;
        AppendRtfText(out, QStringView(text).mid(line, i - line), delimiterDue);
        // CR LF is one break; a lone CR or LF breaks the line too, or the words would run together.
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        out += QStringLiteral("\\par ");
        delimiterDue = false;
        line = i + 1;
    }
    AppendRtfText(out, QStringView(text).mid(line), delimiterDue);
    out += QStringLiteral("\\par }");
    return out;
}

} // namespace richtext
