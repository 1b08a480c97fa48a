#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QTextCursor>

class QTextDocument;

namespace spell {

class SpellChecker;

// One walk through a document's misspelled words, from the start to the end.
// Changes are made in the document itself, keeping the word's formatting.
class SpellSession
{
public:
    SpellSession(SpellChecker& checker, QTextDocument* document);

    // Moves to the next misspelled word; false when none is left.
    bool next();

    QString word() const { return mWord; }
    int position() const { return mCursor.selectionStart(); }
    QTextCursor selection() const { return mCursor; }
    QStringList suggestions() const;

    void change(const QString& replacement);
    void changeAll(const QString& replacement);  // this and every later occurrence
    void ignore();
    void ignoreAll();
    bool add();  // false when the custom dictionary could not be written

    int changeCount() const { return mChanges; }

private:
    bool findNext();
    void replace(const QString& replacement);

    SpellChecker& mChecker;
    QTextDocument* mDocument;
    QTextCursor mCursor;
    QString mWord;
    int mPosition = 0;
    int mChanges = 0;
    QHash<QString, QString> mChangeAll;
};

} // namespace spell
