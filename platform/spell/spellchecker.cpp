#include "platform/spell/spellchecker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

#include <hunspell/hunspell.hxx>

namespace spell {

namespace {

const QString kCustomName = QStringLiteral("Custom.dct");

QString Normalized(const QString& word)
{
    QString w = word;
    w.replace(QChar(0x2019), u'\'');
    return w;
}

bool PassesWithoutLookup(const QString& word)
{
    bool letters = false;
    bool allUpper = true;
    for (QChar c : word) {
        if (c.isDigit())
            return true;
        if (c.isLetter()) {
            letters = true;
            if (!c.isUpper())
                allUpper = false;
        }
    }
    return !letters || (allUpper && word.size() > 1);
}

} // namespace

SpellChecker::SpellChecker(const QString& customFolder, const QString& affixFile, const QString& dictionaryFile)
    : mCustomPath(QDir(customFolder).filePath(kCustomName))
{
    if (QFileInfo::exists(affixFile) && QFileInfo::exists(dictionaryFile))
        mHunspell = std::make_unique<Hunspell>(QFile::encodeName(affixFile).constData(),
                                               QFile::encodeName(dictionaryFile).constData());
    loadCustom();
}

void SpellChecker::loadCustom()
{
    QFile file(mCustomPath);
    if (!file.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = file.readAll();
    auto decoder = QStringDecoder(QStringDecoder::Utf8);
    QString text = decoder(bytes);
    if (decoder.hasError())
        text = QString::fromLatin1(bytes);  // an older file in the Windows code page
    for (const QString& line : text.split(u'\n')) {
        const QString w = Normalized(line.trimmed());
        if (w.isEmpty() || mCustom.contains(w))
            continue;
        mCustom.insert(w);
        if (mHunspell)
            mHunspell->add(w.toStdString());
    }
}

SpellChecker::~SpellChecker() = default;

bool SpellChecker::check(const QString& word) const
{
    const QString w = Normalized(word);
    if (w.isEmpty() || PassesWithoutLookup(w) || mIgnored.contains(w) || mCustom.contains(w))
        return true;
    if (!mHunspell)
        return true;
    return mHunspell->spell(w.toStdString());
}

QStringList SpellChecker::suggest(const QString& word) const
{
    QStringList out;
    if (!mHunspell)
        return out;
    for (const std::string& s : mHunspell->suggest(Normalized(word).toStdString()))
        out.append(QString::fromStdString(s));
    return out;
}

bool SpellChecker::add(const QString& word)
{
    const QString w = Normalized(word.trimmed());
    if (w.isEmpty())
        return true;
    if (!mCustom.contains(w)) {
        mCustom.insert(w);
        if (mHunspell)
            mHunspell->add(w.toStdString());
    }
    // Another checker may have added words since this one read the file: keep them.
    loadCustom();
    // Write the whole list anew so a failed write never leaves half a file.
    QStringList words(mCustom.begin(), mCustom.end());
    words.sort(Qt::CaseInsensitive);
    QDir().mkpath(QFileInfo(mCustomPath).absolutePath());
    QSaveFile file(mCustomPath);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    file.write(words.join(u'\n').toUtf8());
    file.write("\n");
    return file.commit();
}

void SpellChecker::ignoreAll(const QString& word)
{
    mIgnored.insert(Normalized(word));
}

QString CustomDictionaryFolder(const QString& programFolder)
{
    const QFileInfo folder(programFolder);
    const QFileInfo custom(QDir(programFolder).filePath(kCustomName));
    if (folder.isDir() && folder.isWritable() && (!custom.exists() || custom.isWritable()))
        return folder.absoluteFilePath();
    const QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    const QString moved = QDir(data).filePath(kCustomName);
    // Words the user added before keep counting when the program folder turned read-only.
    if (custom.exists() && !QFileInfo::exists(moved) && QDir().mkpath(data))
        QFile::copy(custom.absoluteFilePath(), moved);
    return data;
}

} // namespace spell
