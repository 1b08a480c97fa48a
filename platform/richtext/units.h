#pragma once

#include <QFont>
#include <cmath>

namespace richtext {

// Layout lengths are kept in screen pixels at 96 dpi; RTF counts twips (1440 an inch).
inline double TwipsToPixels(int twips) { return twips / 15.0; }
inline int PixelsToTwips(double px) { return int(std::lround(px * 15.0)); }

// The one font of every body: Arial, 10 point.
inline QFont DefaultFont()
{
    QFont f(QStringLiteral("Arial"));
    f.setPointSizeF(10.0);
    return f;
}

} // namespace richtext
