#include "platform/richtext/scratchdocument.h"

#include "platform/richtext/rtf.h"
#include "platform/richtext/units.h"

#include <QTextDocumentFragment>
#include <QTextTable>

namespace richtext {

ScratchDocument::ScratchDocument()
    : mCursor(&mDoc)
{
    mDoc.setDefaultFont(DefaultFont());
}

bool ScratchDocument::load(const QString& rtf)
{
    mTables.clear();
    const bool ok = ReadRtf(rtf, &mDoc);
    mDoc.setDefaultFont(DefaultFont());
    mCursor = QTextCursor(&mDoc);
    if (!ok) {
        insertText(rtf);
        mCursor.movePosition(QTextCursor::Start);
    }
    return ok;
}

QString ScratchDocument::save() const
{
    return WriteRtf(mDoc);
}

void ScratchDocument::clear()
{
    mTables.clear();
    mDoc.clear();
    mCursor = QTextCursor(&mDoc);
}

QString ScratchDocument::plainText() const
{
    return PlainText(mDoc);
}

int ScratchDocument::length() const
{
    return mDoc.characterCount() - 1;
}

void ScratchDocument::setSelection(int start, int length)
{
    const int end = this->length();
    const int from = qBound(0, start, end);
    const int to = qBound(from, length > end - from ? end : from + qMax(0, length), end);
    mCursor.setPosition(from);
    mCursor.setPosition(to, QTextCursor::KeepAnchor);
}

int ScratchDocument::selectionStart() const
{
    return mCursor.selectionStart();
}

int ScratchDocument::selectionLength() const
{
    return mCursor.selectionEnd() - mCursor.selectionStart();
}

QString ScratchDocument::selectedText() const
{
    QString t = mCursor.selectedText();
    t.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    t.replace(QChar::LineSeparator, QStringLiteral("\r\n"));
    return t;
}

QString ScratchDocument::selectedRtf() const
{
    QTextDocument part;
    part.setDefaultFont(DefaultFont());
    if (mCursor.hasSelection())
        QTextCursor(&part).insertFragment(mCursor.selection());
    return WriteRtf(part);
}

void ScratchDocument::moveToEnd()
{
    mCursor.movePosition(QTextCursor::End);
}

void ScratchDocument::insertText(const QString& text)
{
    QString t = text;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    t.replace(u'\r', u'\n');
    const QStringList paragraphs = t.split(u'\n');
    for (int i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            mCursor.insertBlock();
        mCursor.insertText(paragraphs.at(i));
    }
}

void ScratchDocument::replaceSelectionWithRtf(const QString& rtf)
{
    QTextDocument part;
    if (!ReadRtf(rtf, &part))
        QTextCursor(&part).insertText(rtf);  // plain text stays text
    mCursor.insertFragment(QTextDocumentFragment(&part));
}

bool ScratchDocument::find(const QString& text, int from)
{
    if (text.isEmpty())
        return false;
    const QTextCursor found = mDoc.find(text, qBound(0, from, length()), QTextDocument::FindCaseSensitively);
    if (found.isNull())
        return false;
    mCursor = found;
    return true;
}

int ScratchDocument::insertTable(int rows, int columns)
{
    QTextTableFormat f;
    f.setBorder(1);
    f.setCellPadding(3);
    f.setCellSpacing(0);
    f.setBorderCollapse(true);
    QTextTable* t = mCursor.insertTable(qMax(1, rows), qMax(1, columns), f);
    mTables.append(t);
    return int(mTables.size());
}

QTextTable* ScratchDocument::table(int number) const
{
    if (number < 1 || number > mTables.size())
        return nullptr;
    return mTables.at(number - 1).data();
}

bool ScratchDocument::setCellText(int number, int row, int column, const QString& text)
{
    QTextTable* t = table(number);
    if (!t || row < 1 || column < 1 || row > t->rows() || column > t->columns())
        return false;
    const QTextTableCell cell = t->cellAt(row - 1, column - 1);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
    c.removeSelectedText();
    mCursor = c;
    insertText(text);
    return true;
}

QString ScratchDocument::cellText(int number, int row, int column) const
{
    QTextTable* t = table(number);
    if (!t || row < 1 || column < 1 || row > t->rows() || column > t->columns())
        return QString();
    const QTextTableCell cell = t->cellAt(row - 1, column - 1);
    QTextCursor c = cell.firstCursorPosition();
    c.setPosition(cell.lastPosition(), QTextCursor::KeepAnchor);
    QString s = c.selectedText();
    s.replace(QChar::ParagraphSeparator, QStringLiteral("\r\n"));
    return s;
}

int ScratchDocument::cellStart(int number, int row, int column) const
{
    QTextTable* t = table(number);
    if (!t || row < 1 || column < 1 || row > t->rows() || column > t->columns())
        return -1;
    return t->cellAt(row - 1, column - 1).firstPosition();
}

void ScratchDocument::setSelectionFontSize(double points)
{
    if (points <= 0)
        return;
    QTextCharFormat f;
    f.setFontPointSize(points);
    mCursor.mergeCharFormat(f);
}

void ScratchDocument::setSelectionBold(bool bold)
{
    QTextCharFormat f;
    f.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    mCursor.mergeCharFormat(f);
}

} // namespace richtext
