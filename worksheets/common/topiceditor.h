#pragma once

#include <QString>
#include <QWidget>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace core {
class c0Item;
}
namespace richtext {
class RichTextEditor;
}
namespace spell {
class SpellChecker;
}

namespace worksheets {

// A body as it is stored after an edit: a body with text whose RTF no longer ends in
// "\par }" but in "}" gets "\par " put before its final brace, so that every stored body
// ends in a closed paragraph. A body without plain text is kept exactly as read.
QString ApplyEndingRule(const QString& rtf, const QString& plainText);

// The one spelling checker of the program, with "Custom.dct" in the program folder; made on
// first use, since loading the dictionary takes a moment.
spell::SpellChecker& TopicSpellChecker();

// The editor of a topic: a one-line name box above a rich-text body with its button bar
// (and a ruler when asked), and a spell-check button. The form keeps the object shown and
// stores into it what nameChanged and bodyChanged carry; both are raised only for the user's
// edits (never while the program is busy filling the boxes), the body already passed
// through the ending rule. An edit that makes the body longer than the file takes is taken
// back at once, with a message, and not raised.
//
//   mTopic = new TopicEditor(this);
//   connect(mTopic, &TopicEditor::nameChanged, this, ui::Guarded([this](const QString& t) { mCurrent->SetHeading(t); }));
//   connect(mTopic, &TopicEditor::bodyChanged, this, ui::Guarded([this](const QString& r) { mCurrent->SetBody(r); }));
//   ...
//   mTopic->display(mCurrent->Heading(), mCurrent->Body());
class TopicEditor : public QWidget {
    Q_OBJECT
public:
    enum class Ruler { Hidden, Shown };
    explicit TopicEditor(QWidget* parent = nullptr, Ruler ruler = Ruler::Hidden);

    // Captions shown above the name box and the body (each hidden while empty); an "&" in
    // a caption makes its letter jump to the box.
    void setCaptions(const QString& nameCaption, const QString& bodyCaption);
    // For a body without a name of its own (an outcome's description): the name box and its
    // caption are hidden; display() then ignores the name.
    void hideNameBox();

    // Shows an object: the name as plain text, the body as RTF; both boxes enabled. Runs
    // under the busy counter, so nothing is written back.
    void display(const QString& name, const QString& rtf);
    // No object to show: both boxes emptied and disabled, under the busy counter.
    void showEmpty();
    bool isEmptyState() const;

    QString name() const;
    // The body's RTF with the ending rule applied, as it would be stored.
    QString bodyRtf() const;

    // Puts the cursor in the name box with its text selected, for typing a new name at once.
    void focusName();
    // Runs the spell check on the body in the checker's dialog; corrections reach the
    // object through bodyChanged.
    void checkSpelling();

    QLineEdit* nameBox() const { return mName; }
    QLabel* nameCaption() const { return mNameCaption; }
    richtext::RichTextEditor* bodyEditor() const { return mBody; }
    QPushButton* spellButton() const { return mSpell; }

signals:
    void nameChanged(const QString& name);
    void bodyChanged(const QString& rtf);

private:
    void onNameChanged(const QString& text);
    void onBodyChanged();
    void refuseBody(qint64 bytes);

    QLabel* mNameCaption = nullptr;
    QLabel* mBodyCaption = nullptr;
    QLineEdit* mName = nullptr;
    richtext::RichTextEditor* mBody = nullptr;
    QPushButton* mSpell = nullptr;
    QString mAccepted;   // the body as last shown or taken, to go back to
};

class ItemList;

// A topic list's editor stores what the user types into the item the form shows (null when
// none): the name as its heading, and as its list entry's text, the body as its body. Forms
// whose topics carry their name twice (as item name and heading) ask for both.
enum class TopicName { HeadingOnly, HeadingAndItemName };
void StoreTopicEdits(TopicEditor* editor, ItemList* list, std::function<core::c0Item*()> current,
                     TopicName name = TopicName::HeadingOnly);

} // namespace worksheets
