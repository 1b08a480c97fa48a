#pragma once

#include "model/textnumbers.h"

#include <QObject>
#include <QString>

#include <functional>

class QLineEdit;

namespace worksheets {

// One rule for a box that takes a number, typed or pasted (the grids' number cells follow it
// through RefuseTypedNumber). Each change of the text that reads as a number of the box's kind
// goes to the model at once; any other text ("1,", "-" on the way to a number, or "abc") keeps
// the value so far. When the typing ends (Enter, leaving the box, the form storing or showing
// another object: commit()) the text is judged: one that is no number of the kind, or one the
// field cannot keep, is refused with a message naming the field, and the value from before the
// typing comes back into the model and the box; a number held to the range shows the value
// stored. Nothing typed reads as 0.
//
//   auto* days = new NumberBox(txtContain, this, {.max = 9999, .whole = true, .unit = "days"},
//                              "The time to contain", "time");
//   days->held = [this] { return mCurrent->ContainTime(); };
//   days->take = [this](double v) { mCurrent->SetContainTime(int(v)); ShowRow(); };
//
// Changes made while the program is busy are fills, not typing. The form owns it; its signals
// reach it through the form, so a form that cuts its controls' signals as it goes cuts them.
class NumberBox : public QObject {
public:
    // what names the field in a message ("The time to contain"); stays the value in the line
    // after it ("The time stays 4.").
    NumberBox(QLineEdit* box, QObject* form, const model::textnum::NumberKind& kind, const QString& what,
              const QString& stays);

    std::function<double()> held;                                   // what the object shown holds
    std::function<void(double)> take;                               // gives it a value and shows what follows
    std::function<QString(double)> show;                            // the box's text for a value: "#,0"
    std::function<model::textnum::Typed(const QString&)> read;      // ReadNumber with the kind

    // Judges what was typed since the box was filled or judged last; false when it was refused.
    bool commit();

private:
    void changed(const QString& text);
    void setText(const QString& text);

    QLineEdit* mBox;
    model::textnum::NumberKind mKind;
    QString mWhat;
    QString mStays;
    bool mTyping = false;
    double mBefore = 0;
};

// A box of a percent with labels (a probability, a protection level): a number, a number with
// its percent sign or one of the field's labels (label(n)), held within 0 ... 100 as a whole
// number and shown, when held, with its label. The form gives held and take.
NumberBox* LabelledPercentBox(QLineEdit* box, QObject* form, const QString& what, const QString& stays,
                              QString (*label)(int));

// The message that refuses a typed text, and the value that stays (as the field shows it; an
// empty field says no more).
void RefuseTypedNumber(const QString& what, const QString& stays, const QString& text,
                       const model::textnum::Typed& typed, const model::textnum::NumberKind& kind,
                       const QString& kept);

} // namespace worksheets
