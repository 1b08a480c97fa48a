#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace ui {

// Lengths in twips: 1440 to the logical inch of the primary screen.
double PixelsPerTwip();
int TwipsToPixels(int twips);
int PixelsToTwips(int pixels);

// The width a window needs so that its title bar shows the title whole: the title in a bold
// face of the window's font, and room for the window's icon and its buttons.
int TitleBarWidth(const QWidget& window, const QString& title);

// The available area of the primary screen, in twips.
int ScreenWidthTwips();
int ScreenHeightTwips();

} // namespace ui
