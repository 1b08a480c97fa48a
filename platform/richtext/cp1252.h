#pragma once

#include <QChar>

namespace richtext {

// Code page 1252 differs from Latin-1 only in 0x80..0x9F.
inline char16_t Cp1252ToUnicode(unsigned char c)
{
    static const char16_t high[32] = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
        0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    if (c >= 0x80 && c < 0xA0)
        return high[c - 0x80];
    return c;
}

// The code page 1252 byte of u, or -1 when u has none.
inline int UnicodeToCp1252(char16_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int c = 0x80; c < 0xA0; ++c)
        if (Cp1252ToUnicode(static_cast<unsigned char>(c)) == u && u >= 0x100)
            return c;
    return -1;
}

} // namespace richtext
