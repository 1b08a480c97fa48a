#include "platform/richtext/texttortf.h"

#include "platform/richtext/rtftext.h"

namespace richtext {

namespace {

void AppendEscaped(QString& out, QChar c)
{
    const char16_t u = c.unicode();
    switch (u) {
    case u'\\': out += QStringLiteral("\\\\"); return;
    case u'{': out += QStringLiteral("\\{"); return;
    case u'}': out += QStringLiteral("\\}"); return;
    case u'\t': out += QStringLiteral("\\tab "); return;
    default: break;
    }
    if (u >= 0x20 && u < 0x80) {
        out += c;
    } else if (u >= 0x80) {
        // \uc0 in the header: no fallback character follows; RTF wants a signed 16-bit value.
        out += QStringLiteral("\\u%1 ").arg(u > 0x7FFF ? int(u) - 0x10000 : int(u));
    }
    // Other control characters have no place in a paragraph's text and are left out.
}

} // namespace

QString TextToRTF(QString text)
{
    TrimTrailingBreaks(text);
    QString out = kRtfHeader;
    out.reserve(kRtfHeader.size() + text.size() + 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\r' || c == u'\n') {
            // CR LF is one break; a lone CR or LF breaks the line too, or the words would run together.
            if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
                ++i;
            out += QStringLiteral("\\par ");
            continue;
        }
        AppendEscaped(out, c);
    }
    out += QStringLiteral("\\par }");
    return out;
}

} // namespace richtext
