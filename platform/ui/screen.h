#pragma once

#include <QRect>

class QWidget;

namespace ui {

// Lengths in twips: 1440 to the logical inch of the primary screen.
double PixelsPerTwip();
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);

// The available area of the primary screen, in twips.
int ScreenWidthTwips();
int ScreenHeightTwips();

} // namespace ui
