#pragma once
// Numbers typed or stored as text, converted the way the classic run time
// converts them. Two flavours:
//  - the strict conversion (textToDouble, textToInt16): the whole text must be
//    a number, else error 13;
//  - the leading-number parse (leadingNumber): takes whatever number the text
//    begins with and 0 when there is none; never error 13.
// Both accept "&H" (hexadecimal) and "&O" (octal) whole numbers; one to four
// digits' worth (up to FFFF / 177777) read as a 16-bit value, so "&HFFFF" is
// -1, longer ones as a 32-bit value, and anything larger raises error 6.
// The decimal point is always "." whatever the locale.

#include <QString>

#include <cstdint>

namespace vm::platform {

// Optional blanks, optional sign, digits with an optional fraction (at least
// one digit in all), an optional exponent ("E" or "D", optional sign, digits),
// optional blanks; or an "&H"/"&O" number between optional blanks.
// Raises error 13 for anything else (the empty text included) and error 6
// when the value does not fit in a double.
double textToDouble(const QString& text);

// textToDouble rounded to the nearest whole number, halves to even; error 6
// when the result is outside -32768..32767.
std::int16_t textToInt16(const QString& text);

// The number at the start of the text: blanks, tabs and line feeds are
// skipped wherever they stand ("1 2" is 12), then an optional sign, digits,
// fraction and exponent as far as they go ("12abc" is 12, "1e" is 1), or an
// "&H"/"&O" number. 0 when the text begins with no number. Raises error 6
// only when the number does not fit in a double.
double leadingNumber(const QString& text);

}  // namespace vm::platform
