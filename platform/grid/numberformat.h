#pragma once

#include <QColor>
#include <QString>

namespace grid {

// Text of a number in one of the display formats the worksheets use: "0", "#", "#,0",
// "#,#", "$#,0", "$#,#", "#.00", "#,#.00", "0.0", "#.0", "fixed", and any of these behind a
// literal prefix such as " #,0". A format rounds half away from zero at its last digit;
// a negative number starts with the minus sign. An empty format gives the plain number.
QString FormatNumber(double value, const QString& format);

// The number a cell's text stands for, whether raw ("1000.5") or formatted ("$1,000",
// "-3.5", ".50", "(1,000)" is not used): blanks, a dollar sign and thousands separators are
// skipped, then the leading number is read. Text without a number, empty text included, is 0.
double NumericValue(const QString& text);

// True when the whole text is one number as the display formats write it.
bool IsNumericText(const QString& text);

// A Windows colour value (&HBBGGRR); the system colours &H80000000 + n map to the palette
// (&H8000000F, button face, is the colour of header cells).
QColor VbColor(quint32 value);

} // namespace grid
