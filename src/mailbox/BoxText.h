#pragma once
// How typed text becomes a box's fields: box numbers and PINs keep only
// their ASCII digits (a PIN at most the first four), the other texts lose
// the blanks around them. The window's store and the command-line
// companion both go through these, so a box is stored alike either way.

#include <QString>

namespace vm::mailbox {

inline constexpr qsizetype kPinDigits = 4;

// Only the ASCII digits of `text`, in order.
QString digitsOnly(const QString& text);

// The box number kept from a typed one; "" when it has no digits.
inline QString boxIdFromText(const QString& typed) { return digitsOnly(typed); }

// The PIN kept from a typed one: its first four digits; leading zeros stay.
inline QString boxPinFromText(const QString& typed) { return digitsOnly(typed).left(kPinDigits); }

// Leading and trailing blanks removed; tabs and other white space stay.
QString trimBlanks(const QString& text);

}  // namespace vm::mailbox
