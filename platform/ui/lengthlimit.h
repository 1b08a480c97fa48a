#pragma once

class QLineEdit;
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

} // namespace ui
