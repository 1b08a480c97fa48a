#pragma once

class QLineEdit;
class QString;
class QWidget;

namespace ui {

// Typing stops at a box's length: the user sees that it did, by a note at the box saying how
// many characters fit, whenever a key is refused for want of room or an edit leaves the box full.

// Shows the note at the box (or grid cell editor).
void ShowLengthReached(QWidget* box, int length);

// Watches every one-line box under root that has a length of its own (once per box, so it may be
// called again as the boxes are shown again).
void WatchLengths(QWidget* root);
void WatchLength(QLineEdit* box);

// Puts a stored value in a box whole. A file written elsewhere may hold a value longer than the
// box lets the user type; cut to the box's length it would be written back shortened at the
// user's first keystroke, so the box takes the stored length for as long as it shows that value
// (the user may shorten it, not lengthen it) and its own length again for a shorter one.
void ShowStored(QLineEdit* box, const QString& text);

} // namespace ui
