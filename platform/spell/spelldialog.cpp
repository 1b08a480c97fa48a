#include "platform/spell/spelldialog.h"

#include "platform/spell/spellchecker.h"
#include "platform/spell/spellsession.h"
#include "platform/ui/prompter.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

namespace spell {

SpellDialog::SpellDialog(SpellSession& session, QTextEdit* editor, QWidget* parent)
    : QDialog(parent), mSession(session), mEditor(editor)
{
    setWindowTitle(tr("Spelling"));
    mWord = new QLineEdit(this);
    mWord->setReadOnly(true);
    mChangeTo = new QLineEdit(this);
    mSuggestions = new QListWidget(this);

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(tr("Not in dictionary:"), this), 0, 0);
    grid->addWidget(mWord, 1, 0);
    grid->addWidget(new QLabel(tr("Change to:"), this), 2, 0);
    grid->addWidget(mChangeTo, 3, 0);
    grid->addWidget(new QLabel(tr("Suggestions:"), this), 4, 0);
    grid->addWidget(mSuggestions, 5, 0, 2, 1);

    auto* buttons = new QVBoxLayout;
    for (const QString& text : {tr("&Ignore"), tr("I&gnore All"), tr("&Add"), tr("&Change"), tr("C&hange All"),
                                tr("Close")}) {
        auto* b = new QPushButton(text, this);
        b->setAutoDefault(false);
        buttons->addWidget(b);
        mButtons.append(b);
    }
    buttons->addStretch();
    grid->addLayout(buttons, 0, 1, 7, 1);

    connect(mSuggestions, &QListWidget::currentTextChanged, mChangeTo, &QLineEdit::setText);
    connect(mSuggestions, &QListWidget::itemDoubleClicked, this, [this] { button(tr("&Change"))->click(); });
    connect(button(tr("&Ignore")), &QPushButton::clicked, this, [this] {
        mSession.ignore();
        advance();
    });
    connect(button(tr("I&gnore All")), &QPushButton::clicked, this, [this] {
        mSession.ignoreAll();
        advance();
    });
    connect(button(tr("&Add")), &QPushButton::clicked, this, [this] {
        if (!mSession.add())
            ui::MsgBox(ui::Lines({tr("The word could not be added to the custom dictionary."),
                                  tr("It is known only until the program is closed.")}),
                       ui::Buttons::OK, ui::Icon::Warning);
        advance();
    });
    connect(button(tr("&Change")), &QPushButton::clicked, this, [this] {
        if (!mChangeTo->text().isEmpty())
            mSession.change(mChangeTo->text());
        else
            mSession.ignore();
        advance();
    });
    connect(button(tr("C&hange All")), &QPushButton::clicked, this, [this] {
        if (!mChangeTo->text().isEmpty())
            mSession.changeAll(mChangeTo->text());
        else
            mSession.ignore();
        advance();
    });
    connect(button(tr("Close")), &QPushButton::clicked, this, &QDialog::reject);
    button(tr("&Change"))->setDefault(true);
}

QPushButton* SpellDialog::button(const QString& text) const
{
    for (QPushButton* b : mButtons)
        if (b->text() == text || QString(b->text()).remove(u'&') == QString(text).remove(u'&'))
            return b;
    return nullptr;
}

QString SpellDialog::currentWord() const
{
    return mWord->text();
}

bool SpellDialog::start()
{
    if (!mSession.next())
        return false;
    showWord();
    return true;
}

void SpellDialog::advance()
{
    if (mSession.next())
        showWord();
    else
        accept();
}

void SpellDialog::showWord()
{
    mWord->setText(mSession.word());
    mSuggestions->clear();
    const QStringList suggestions = mSession.suggestions();
    mSuggestions->addItems(suggestions);
    mChangeTo->setText(suggestions.isEmpty() ? mSession.word() : suggestions.first());
    if (!suggestions.isEmpty())
        mSuggestions->setCurrentRow(0);
    if (mEditor) {
        mEditor->setTextCursor(mSession.selection());
        mEditor->ensureCursorVisible();
    }
}

int CheckSpelling(QTextEdit* editor, SpellChecker& checker, QWidget* parent)
{
    if (!editor || editor->isReadOnly() || !editor->isEnabled())
        return 0;
    if (!checker.isValid()) {
        ui::MsgBox(QObject::tr("The spelling dictionary could not be found."), ui::Buttons::OK, ui::Icon::Warning);
        return 0;
    }
    SpellSession session(checker, editor->document());
    SpellDialog dialog(session, editor, parent ? parent : editor->window());
    if (dialog.start())
        dialog.exec();
    if (dialog.result() == QDialog::Accepted || session.word().isEmpty())
        ui::MsgBox(QObject::tr("The spelling check is complete."), ui::Buttons::OK, ui::Icon::Information);
    return session.changeCount();
}

} // namespace spell
