#pragma once

#include <QRect>
#include <QString>

// The screen-size check of the main window, the centring of dialogs and the copyright text.
// Only the decisions live here; the shell applies them to its windows.
namespace core {

enum class DisplayFit {
    TooSmall,    // the user was told; the main window keeps its size and place
    Maximize,
    Place        // 12120 x 9120 twips at the top left corner of the screen
};

// Decides how the main window fits a screen of that height (twips); a screen below 8000 twips
// gets the resolution message.
DisplayFit CheckDisplay(int screenHeightTwips);
inline constexpr int kPlacedWidthTwips = 12120;
inline constexpr int kPlacedHeightTwips = 9120;

// Where a form of that geometry goes to stand centred over the main window (same size).
QRect CenterForm(const QRect& mainWindow, const QRect& form);
// The form moved the least that brings it inside the screen's area, its top left corner kept in
// view where it is larger: a dialog wider than the main window at the screen's edge would
// otherwise open with its left part (and its first controls) out of reach.
QRect KeepOnScreen(const QRect& form, const QRect& screen);

QString GetCopyrightText();

} // namespace core
