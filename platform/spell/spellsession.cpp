#include "platform/spell/spellsession.h"

#include "platform/spell/spellchecker.h"

#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>

namespace spell {

SpellSession::SpellSession(SpellChecker& checker, QTextDocument* document)
    : mChecker(checker), mDocument(document), mCursor(document)
{
}

bool SpellSession::next()
{
    while (findNext()) {
        if (!mChangeAll.contains(mWord))
            return true;
        replace(mChangeAll.value(mWord));
    }
    mWord.clear();
    return false;
}

bool SpellSession::findNext()
{
    static const QRegularExpression words(QStringLiteral("[\\p{L}\\p{N}\\p{M}'\u2019]+"));
    mWord.clear();
    for (QTextBlock block = mDocument->findBlock(mPosition); block.isValid(); block = block.next()) {
        const QString text = block.text();
        const int base = block.position();
        auto it = words.globalMatch(text, qMax(0, mPosition - base));
        while (it.hasNext()) {
            const QRegularExpressionMatch m = it.next();
            QString w = m.captured();
            int start = base + int(m.capturedStart());
            // quotes around a word are not part of it
            while (!w.isEmpty() && (w.front() == u'\'' || w.front() == QChar(0x2019))) {
                w.remove(0, 1);
                ++start;
            }
            while (!w.isEmpty() && (w.back() == u'\'' || w.back() == QChar(0x2019)))
                w.chop(1);
            if (w.isEmpty() || start < mPosition || mChecker.check(w))
                continue;
            mCursor = QTextCursor(mDocument);
            mCursor.setPosition(start);
            mCursor.setPosition(start + int(w.size()), QTextCursor::KeepAnchor);
            mWord = w;
            return true;
        }
    }
    mPosition = mDocument->characterCount();
    return false;
}

QStringList SpellSession::suggestions() const
{
    return mWord.isEmpty() ? QStringList() : mChecker.suggest(mWord);
}

void SpellSession::replace(const QString& replacement)
{
    QTextCursor first(mDocument);
    first.setPosition(mCursor.selectionStart() + 1);
    const QTextCharFormat format = first.charFormat();
    const int start = mCursor.selectionStart();
    mCursor.insertText(replacement, format);
    mPosition = start + int(replacement.size());
    ++mChanges;
}

void SpellSession::change(const QString& replacement)
{
    if (mWord.isEmpty())
        return;
    replace(replacement);
}

void SpellSession::changeAll(const QString& replacement)
{
    if (mWord.isEmpty())
        return;
    mChangeAll.insert(mWord, replacement);
    replace(replacement);
}

void SpellSession::ignore()
{
    mPosition = mCursor.selectionEnd();
}

void SpellSession::ignoreAll()
{
    mChecker.ignoreAll(mWord);
    mPosition = mCursor.selectionEnd();
}

bool SpellSession::add()
{
    mPosition = mCursor.selectionEnd();
    return mChecker.add(mWord);
}

} // namespace spell
