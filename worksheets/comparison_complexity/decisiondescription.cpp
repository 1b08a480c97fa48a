#include "worksheets/comparison_complexity/decisiondescription.h"

#include "core/u14properties.h"
#include "platform/richtext/rtf.h"
#include "platform/richtext/scratchdocument.h"

#include <QCryptographicHash>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocumentFragment>

namespace worksheets::comparison_complexity {

namespace {

// Writes into one document, so that the pieces join as paragraphs of one text rather than as
// documents laid end to end. Labels and breaks take no format from the text before them (a
// label after a bulleted list is not a bullet).
class DescriptionWriter {
public:
    DescriptionWriter() : mCursor(mDoc.document()) {}

    void text(const QString& t) { mCursor.insertText(t, QTextCharFormat()); }
    void paragraph() { mCursor.insertBlock(QTextBlockFormat(), QTextCharFormat()); }
    void rtf(const QString& rtf)
    {
        QTextDocument part;
        if (!richtext::ReadRtf(rtf, &part))
            QTextCursor(&part).insertText(rtf);   // a description kept as plain text stays text
        mCursor.insertFragment(QTextDocumentFragment(&part));
    }
    QString save() const { return mDoc.save(); }

private:
    richtext::ScratchDocument mDoc;
    QTextCursor mCursor;
};

} // namespace

QString FallbackOpening() { return QStringLiteral("This alternative includes a Fallback outcome."); }

QString BuildFallbackDescription(const QString& altBody, const QString& targetDescription,
                                 const QString& fallbackDescription)
{
    DescriptionWriter w;
    w.text(FallbackOpening());
    w.paragraph();
    w.paragraph();
    w.rtf(altBody);
    w.paragraph();
    w.paragraph();
    w.text(QStringLiteral("Target:"));
    w.paragraph();
    w.paragraph();
    w.rtf(targetDescription);
    w.paragraph();
    w.text(QStringLiteral("Fallback:"));
    w.paragraph();
    w.paragraph();
    w.rtf(fallbackDescription);
    return w.save();
}

QString BuildTargetOnlyDescription(const QString& altBody, const QString& targetDescription)
{
    DescriptionWriter w;
    w.rtf(altBody);
    w.paragraph();
    w.paragraph();
    w.rtf(targetDescription);
    return w.save();
}

bool IsBuiltFallbackDescription(const QString& body)
{
    return richtext::RtfToPlainText(body).startsWith(FallbackOpening());
}

namespace {

const QString kBuiltProperty = QStringLiteral("BuiltDescription");

QString Fingerprint(const QString& body)
{
    return QString::fromLatin1(QCryptographicHash::hash(body.toUtf8(), QCryptographicHash::Sha1).toHex());
}

} // namespace

void NoteBuiltDescription(const QString& body) { core::Property_Set(kBuiltProperty, Fingerprint(body)); }

bool IsUneditedBuiltDescription(const QString& body)
{
    return IsBuiltFallbackDescription(body) && core::Property_Get(kBuiltProperty) == Fingerprint(body);
}

} // namespace worksheets::comparison_complexity
