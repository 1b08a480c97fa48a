#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QTextCursor>
#include <QTextDocument>

class QTextTable;

namespace richtext {

// A rich-text document worked on without a screen: reports build into it and
// cut descriptions out of it. Positions count characters of the document, a
// paragraph break counting one; tables and cells are numbered from 1.
class ScratchDocument
{
public:
    ScratchDocument();

    bool load(const QString& rtf);   // false when the text is not RTF (it is then loaded as plain text)
    QString save() const;
    void clear();

    QString plainText() const;       // as RtfToPlainText gives it
    int length() const;              // positions in the document

    void setSelection(int start, int length);  // clamped to the document
    int selectionStart() const;
    int selectionLength() const;
    QString selectedText() const;
    QString selectedRtf() const;
    void moveToEnd();

    // At the caret, over the selection. "\r\n" and "\n" start a new paragraph.
    void insertText(const QString& text);
    void replaceSelectionWithRtf(const QString& rtf);

    // Searches from position from; selects the first match.
    bool find(const QString& text, int from = 0);

    // Inserts a table at the caret and returns its number.
    int insertTable(int rows, int columns);
    bool setCellText(int table, int row, int column, const QString& text);
    QString cellText(int table, int row, int column) const;
    int cellStart(int table, int row, int column) const;  // -1 for no such cell
    int tableCount() const { return int(mTables.size()); }

    void setSelectionFontSize(double points);
    void setSelectionBold(bool bold);

    QTextDocument* document() { return &mDoc; }
    const QTextDocument* document() const { return &mDoc; }

private:
    QTextTable* table(int number) const;

    QTextDocument mDoc;
    QTextCursor mCursor;
    QList<QPointer<QTextTable>> mTables;
};

} // namespace richtext
