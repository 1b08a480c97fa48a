#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTextEdit;

namespace spell {

class SpellChecker;
class SpellSession;

// The modal spelling dialog over an editor: each misspelled word in turn,
// with suggestions, Change, Change All, Ignore, Ignore All and Add.
class SpellDialog : public QDialog
{
    Q_OBJECT

public:
    SpellDialog(SpellSession& session, QTextEdit* editor, QWidget* parent = nullptr);

    // Shows the first misspelled word; false when there is none.
    bool start();

    QLineEdit* changeTo() const { return mChangeTo; }
    QListWidget* suggestionList() const { return mSuggestions; }
    QPushButton* button(const QString& text) const;
    QString currentWord() const;

private:
    void advance();
    void showWord();

    SpellSession& mSession;
    QTextEdit* mEditor;
    QLineEdit* mWord = nullptr;
    QLineEdit* mChangeTo = nullptr;
    QListWidget* mSuggestions = nullptr;
    QList<QPushButton*> mButtons;
};

// Runs the spelling check of editor in the dialog. Tells the user when the
// check is complete and when the dictionary is missing or a word could not be
// added. Returns the number of words changed.
int CheckSpelling(QTextEdit* editor, SpellChecker& checker, QWidget* parent = nullptr);

} // namespace spell
