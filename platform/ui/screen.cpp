#include "platform/ui/screen.h"

#include <QGuiApplication>
#include <QScreen>
#include <cmath>

namespace ui {

double PixelsPerTwip()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return (dpi > 0 ? dpi : 96.0) / 1440.0;
}

int TwipsToPixels(int twips) { return int(std::lround(twips * PixelsPerTwip())); }
int PixelsToTwips(int pixels) { return int(std::lround(pixels / PixelsPerTwip())); }

int ScreenWidthTwips()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? PixelsToTwips(screen->geometry().width()) : 0;
}

int ScreenHeightTwips()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? PixelsToTwips(screen->geometry().height()) : 0;
}

} // namespace ui
