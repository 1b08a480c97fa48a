#pragma once

#include <QSet>
#include <QString>
#include <QStringList>
#include <memory>

namespace spell {

// Words are checked against the en_US dictionary and the user's custom
// dictionary "Custom.dct" (one word a line) in the given folder; words added
// are written there at once, so they are known at the next start.
class SpellChecker
{
public:
    explicit SpellChecker(const QString& customFolder,
                          const QString& affixFile = QStringLiteral("/usr/share/hunspell/en_US.aff"),
                          const QString& dictionaryFile = QStringLiteral("/usr/share/hunspell/en_US.dic"));
    ~SpellChecker();

    bool isValid() const { return mHunspell != nullptr; }
    QString customDictionaryPath() const { return mCustomPath; }

    // Words with digits and words in capitals (codes, acronyms) pass.
    bool check(const QString& word) const;
    QStringList suggest(const QString& word) const;

    // Adds to the custom dictionary; false when the file cannot be written
    // (the word is still known until the program ends).
    bool add(const QString& word);
    void ignoreAll(const QString& word);

private:
    void loadCustom();

    struct Dictionary;
    std::unique_ptr<Dictionary> mHunspell;
    QString mCustomPath;
    QSet<QString> mCustom;
    QSet<QString> mIgnored;
};

// Where "Custom.dct" lives: the program folder, or the user's data folder
// when the program folder cannot be written.
QString CustomDictionaryFolder(const QString& programFolder);

} // namespace spell
