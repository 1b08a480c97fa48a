#pragma once

#include <QList>
#include <QObject>
#include <QPointer>
#include <QWidget>

class QLineEdit;

namespace worksheets {

// The keyboard moves through a column of one-line boxes: Enter and Down arrow (Right arrow in
// a box that moves across) give the focus to the next box of the fixed order, Up arrow (where
// the form has it) to the previous one.
// The last box keeps the focus on Enter and Down, the first on Up; disabled and hidden boxes
// are passed over. By default the move uses the key up; with KeepKey the box it was typed in
// still gets it afterwards, on forms where that box acts on it too.
class BoxOrder : public QObject {
    Q_OBJECT
public:
    enum class Up { Ignored, MovesBack };
    enum class Key { Consumed, KeepKey };

    BoxOrder(QList<QWidget*> boxes, Up up = Up::Ignored, Key key = Key::Consumed, QObject* parent = nullptr);

    // In this box Right arrow, not Down, moves on: a date box whose time box sits beside it.
    // Down is then left to the box.
    void setMovesAcross(QWidget* box);

    // The box after (or before) this one in the order; null at either end or for a stranger.
    QWidget* next(QWidget* box) const;
    QWidget* previous(QWidget* box) const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QList<QPointer<QWidget>> mBoxes;
    QList<QPointer<QWidget>> mAcross;
    Up mUp;
    Key mKey;
};

// Selects the whole text of the box whenever it gets the focus, by keyboard or mouse; with a
// length, only that many characters from the start (typing then replaces them).
void SelectTextOnFocus(QLineEdit* box, int length = -1);

// Drops every typed character that is not one of allowed (digits only: "0123456789"), and,
// with a length, every character typed into a full box, with the note that it is full.
// Editing keys (Backspace, Delete, arrows) and shortcuts still work; a paste is left to the
// box's change handler, which judges the text whole.
void AcceptOnlyCharacters(QLineEdit* box, const QString& allowed, int length = 0);

} // namespace worksheets
