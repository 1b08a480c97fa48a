#include "worksheets/common/topiceditor.h"

#include "core/c0item.h"
#include "core/u13folders.h"
#include "core/u91trace.h"
#include "core/uimode.h"
#include "platform/dao/dao.h"
#include "platform/richtext/richtexteditor.h"
#include "platform/spell/spellchecker.h"
#include "platform/spell/spelldialog.h"
#include "platform/ui/guard.h"
#include "platform/ui/lengthlimit.h"
#include "platform/ui/prompter.h"
#include "worksheets/common/itemlist.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTextEdit>
#include <QVBoxLayout>

#include <memory>

namespace worksheets {

namespace {
const QString kParagraphEnd = QStringLiteral("\\par }");

// The bytes a body takes in the file; the RTF writer escapes every character past ASCII, so
// only a long body needs measuring.
qint64 StoredBytes(const QString& rtf)
{
    return rtf.size() * 3 > dao::kLongestValue ? rtf.toUtf8().size() : rtf.size();
}

qint64 KB(qint64 bytes) { return (bytes + 1023) / 1024; }
} // namespace

QString ApplyEndingRule(const QString& rtf, const QString& plainText)
{
    if (plainText.isEmpty() || rtf.endsWith(kParagraphEnd) || !rtf.endsWith(QLatin1Char('}')))
        return rtf;
    return rtf.chopped(1) + kParagraphEnd;
}

spell::SpellChecker& TopicSpellChecker()
{
    static std::unique_ptr<spell::SpellChecker> checker;
    if (!checker)
        checker = std::make_unique<spell::SpellChecker>(spell::CustomDictionaryFolder(core::AppPath()));
    return *checker;
}

TopicEditor::TopicEditor(QWidget* parent, Ruler ruler) : QWidget(parent)
{
    mName = new QLineEdit(this);
    mName->setObjectName(QStringLiteral("txtHeading"));
    mBody = new richtext::RichTextEditor(this);
    mBody->setObjectName(QStringLiteral("txtBody"));
    mBody->setRulerVisible(ruler == Ruler::Shown);
    mSpell = new QPushButton(tr("S&pelling..."), this);
    mSpell->setObjectName(QStringLiteral("cmdSpellcheck"));
    mSpell->setToolTip(tr("Check the spelling of the text"));

    mNameCaption = new QLabel(this);
    mNameCaption->setBuddy(mName);
    mNameCaption->hide();
    mBodyCaption = new QLabel(this);
    mBodyCaption->setWordWrap(true);   // a long caption must not widen the form
    mBodyCaption->setBuddy(mBody->textEdit());
    mBodyCaption->hide();

    auto* spellRow = new QHBoxLayout;
    spellRow->addStretch(1);
    spellRow->addWidget(mSpell);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(mNameCaption);
    layout->addWidget(mName);
    layout->addWidget(mBodyCaption);
    layout->addWidget(mBody, 1);
    layout->addLayout(spellRow);

    connect(mName, &QLineEdit::textChanged, this, ui::Guarded(this, &TopicEditor::onNameChanged));
    connect(mBody, &richtext::RichTextEditor::changed, this, ui::Guarded(this, &TopicEditor::onBodyChanged));
    connect(mSpell, &QPushButton::clicked, this, ui::Guarded(this, &TopicEditor::checkSpelling));
}

void TopicEditor::setCaptions(const QString& nameCaption, const QString& bodyCaption)
{
    mNameCaption->setText(nameCaption);
    mNameCaption->setVisible(!nameCaption.isEmpty() && !mName->isHidden());
    mBodyCaption->setText(bodyCaption);
    mBodyCaption->setVisible(!bodyCaption.isEmpty());
}

void TopicEditor::hideNameBox()
{
    mName->hide();
    mNameCaption->hide();
    mNameCaption->setText(QString());
}

void TopicEditor::display(const QString& name, const QString& rtf)
{
    core::BusyScope busy;
    ui::ShowStored(mName, name);
    mBody->setRtf(rtf);
    mAccepted = rtf;
    mName->setEnabled(true);
    mBody->setEnabled(true);
    mSpell->setEnabled(true);
}

void TopicEditor::showEmpty()
{
    core::BusyScope busy;
    mName->setText(QString());
    mName->setEnabled(false);
    mBody->clear();
    mAccepted.clear();
    mBody->setEnabled(false);
    mSpell->setEnabled(false);
}

bool TopicEditor::isEmptyState() const { return !mName->isEnabled() && !mBody->isEnabled(); }

QString TopicEditor::name() const { return mName->text(); }

QString TopicEditor::bodyRtf() const { return ApplyEndingRule(mBody->rtf(), mBody->plainText()); }

void TopicEditor::focusName()
{
    mName->setFocus(Qt::OtherFocusReason);
    mName->selectAll();
}

void TopicEditor::checkSpelling()
{
    core::Trace(QStringLiteral("cmdSpellcheck_Click"));
    if (!mBody->isEnabled())
        return;
    spell::CheckSpelling(mBody->textEdit(), TopicSpellChecker(), window());
}

void TopicEditor::onNameChanged(const QString& text)
{
    if (!core::IsIdle())
        return;
    emit nameChanged(text);
}

void TopicEditor::onBodyChanged()
{
    if (!core::IsIdle())
        return;
    const QString rtf = bodyRtf();
    const qint64 bytes = StoredBytes(rtf);
    if (bytes > dao::kLongestValue) {
        refuseBody(bytes);
        return;
    }
    mAccepted = rtf;
    emit bodyChanged(rtf);
}

// A body the file cannot take would be refused only when the worksheet is left, and the
// worksheet's text would go with it: the change that made it too long is taken back at once,
// with the cursor where it was, so that the box always holds what can be stored.
void TopicEditor::refuseBody(qint64 bytes)
{
    QTextEdit* edit = mBody->textEdit();
    const int position = edit->textCursor().position();
    {
        core::BusyScope busy;
        mBody->setRtf(mAccepted);
    }
    QTextCursor cursor = edit->textCursor();
    cursor.setPosition(std::min(position, edit->document()->characterCount() - 1));
    edit->setTextCursor(cursor);
    ui::MsgBox(ui::Lines({QStringLiteral("This text would be too long to be saved: it would take %L1 KB, and a text "
                                         "holds at most %L2 KB.")
                              .arg(KB(bytes))
                              .arg(KB(dao::kLongestValue)),
                          QStringLiteral("The last change has not been taken.")}),
               ui::Buttons::OK, ui::Icon::Warning);
}

void StoreTopicEdits(TopicEditor* editor, ItemList* list, std::function<core::c0Item*()> current, TopicName name)
{
    QObject::connect(editor, &TopicEditor::nameChanged, editor, ui::Guarded([list, current, name](const QString& text) {
        core::c0Item* item = current();
        if (!core::IsIdle() || !item)
            return;
        if (name == TopicName::HeadingAndItemName)
            item->SetItemName(text);
        item->SetHeading(text);
        list->setItemText(list->listIndex(), text);
    }));
    QObject::connect(editor, &TopicEditor::bodyChanged, editor, ui::Guarded([current](const QString& rtf) {
        core::c0Item* item = current();
        if (!core::IsIdle() || !item)
            return;
        item->SetBody(rtf);
    }));
}

} // namespace worksheets
