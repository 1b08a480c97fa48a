#include "platform/ui/screen.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
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

int TitleBarWidth(const QWidget& window, const QString& title)
{
    if (title.isEmpty())
        return 0;
    QFont bold = window.font();
    bold.setBold(true);
    // The icon at the left, close, maximize and minimize at the right, and their margins.
    const int furniture = 4 * window.fontMetrics().height() + 80;
    return QFontMetrics(bold).horizontalAdvance(title) + furniture;
}

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
