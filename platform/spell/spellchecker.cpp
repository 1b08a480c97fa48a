#include "platform/spell/spellchecker.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLibrary>
#include <QSaveFile>
#include <QStandardPaths>
#include <QStringDecoder>

#include <hunspell/hunspell.h>

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

// The spelling library is loaded with the first checker rather than with the program: mapping
// it was part of every start-up, for a check most sessions never make. Its C interface is the
// one a library loaded by name can be called through.
struct Library {
    decltype(&Hunspell_create) create = nullptr;
    decltype(&Hunspell_destroy) destroy = nullptr;
    decltype(&Hunspell_spell) spell = nullptr;
    decltype(&Hunspell_suggest) suggest = nullptr;
    decltype(&Hunspell_free_list) freeList = nullptr;
    decltype(&Hunspell_add) add = nullptr;
};

const Library* Loaded()
{
    static const Library library = [] {
        // Stays loaded to the end: checkers live as long as their worksheets.
        QLibrary file(QStringLiteral(TOLMAR_HUNSPELL_LIBRARY), TOLMAR_HUNSPELL_VERSION);
        Library l;
        l.create = reinterpret_cast<decltype(l.create)>(file.resolve("Hunspell_create"));
        l.destroy = reinterpret_cast<decltype(l.destroy)>(file.resolve("Hunspell_destroy"));
        l.spell = reinterpret_cast<decltype(l.spell)>(file.resolve("Hunspell_spell"));
        l.suggest = reinterpret_cast<decltype(l.suggest)>(file.resolve("Hunspell_suggest"));
        l.freeList = reinterpret_cast<decltype(l.freeList)>(file.resolve("Hunspell_free_list"));
        l.add = reinterpret_cast<decltype(l.add)>(file.resolve("Hunspell_add"));
        return l;
    }();
    const Library& l = library;
    return l.create && l.destroy && l.spell && l.suggest && l.freeList && l.add ? &library : nullptr;
}

} // namespace

struct SpellChecker::Dictionary {
    const Library& library;
    Hunhandle* handle;
    ~Dictionary() { library.destroy(handle); }
    void add(const QString& word) const { library.add(handle, word.toUtf8().constData()); }
};

SpellChecker::SpellChecker(const QString& customFolder, const QString& affixFile, const QString& dictionaryFile)
    : mCustomPath(QDir(customFolder).filePath(kCustomName))
{
    if (QFileInfo::exists(affixFile) && QFileInfo::exists(dictionaryFile)) {
        if (const Library* library = Loaded()) {
            if (Hunhandle* handle = library->create(QFile::encodeName(affixFile).constData(),
                                                    QFile::encodeName(dictionaryFile).constData()))
                mHunspell.reset(new Dictionary{*library, handle});
        }
    }
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
            mHunspell->add(w);
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
    return mHunspell->library.spell(mHunspell->handle, w.toUtf8().constData()) != 0;
}

QStringList SpellChecker::suggest(const QString& word) const
{
    QStringList out;
    if (!mHunspell)
        return out;
    char** list = nullptr;
    const int count = mHunspell->library.suggest(mHunspell->handle, &list, Normalized(word).toUtf8().constData());
    for (int i = 0; i < count; ++i)
        out.append(QString::fromUtf8(list[i]));
    if (list)
        mHunspell->library.freeList(mHunspell->handle, &list, count);
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
            mHunspell->add(w);
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
