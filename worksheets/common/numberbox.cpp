#include "worksheets/common/numberbox.h"

#include "core/uimode.h"
#include "platform/ui/guard.h"
#include "platform/ui/prompter.h"

#include <QLineEdit>

namespace worksheets {

using model::textnum::Reading;
using model::textnum::Typed;

NumberBox::NumberBox(QLineEdit* box, QObject* form, const model::textnum::NumberKind& kind, const QString& what,
                     const QString& stays)
    : QObject(form), mBox(box), mKind(kind), mWhat(what), mStays(stays)
{
    show = [](double v) { return model::textnum::PlainNumber(v); };
    read = [kind](const QString& text) { return model::textnum::ReadNumber(text, kind); };
    // Through the form, so that a form cutting its controls' signals as it goes cuts these too.
    connect(box, &QLineEdit::textChanged, form, ui::Guarded([this](const QString& text) { changed(text); }));
    connect(box, &QLineEdit::editingFinished, form, ui::Guarded([this] { commit(); }));
}

void NumberBox::changed(const QString& text)
{
    if (!core::IsIdle()) {
        mTyping = false;   // the form shows a value: what comes next is typing over it
        return;
    }
    if (!held || !take)
        return;
    if (!mTyping) {
        mTyping = true;
        mBefore = held();
    }
    // A text on its way to a number ("1,", "-"), or one refused when the typing ends, keeps
    // the value so far.
    const Typed typed = read(text);
    if (typed.ok())
        take(typed.value);
}

bool NumberBox::commit()
{
    if (!mTyping || !held || !take)
        return true;
    mTyping = false;
    const QString text = mBox->text();
    const Typed typed = read(text);
    if (typed.ok()) {
        if (typed.held)
            setText(show(held()));
        return true;
    }
    take(mBefore);
    const QString kept = show(mBefore);
    setText(kept);
    RefuseTypedNumber(mWhat, mStays, text, typed, mKind, kept);
    return false;
}

// The box shows a text of the value it stands for; no handler takes it as typing.
void NumberBox::setText(const QString& text)
{
    core::BusyScope busy;
    mBox->setText(text);
}

NumberBox* LabelledPercentBox(QLineEdit* box, QObject* form, const QString& what, const QString& stays,
                              QString (*label)(int))
{
    static constexpr model::textnum::NumberKind kPercent{.min = 0, .max = 100, .whole = true, .held = true};
    auto* number = new NumberBox(box, form, kPercent, what, stays);
    number->read = [label](const QString& text) { return model::textnum::ReadPercent(text, kPercent, label); };
    number->show = [label](double v) { return label(int(v)); };
    return number;
}

void RefuseTypedNumber(const QString& what, const QString& stays, const QString& text, const Typed& typed,
                       const model::textnum::NumberKind& kind, const QString& kept)
{
    QStringList lines{model::textnum::RefusalMessage(what, text, typed, kind)};
    if (!kept.isEmpty())
        lines << QStringLiteral("The ") + stays + QStringLiteral(" stays ") + kept + QStringLiteral(".");
    ui::MsgBox(ui::Lines(lines), ui::Buttons::OK, ui::Icon::Warning);
}

} // namespace worksheets
