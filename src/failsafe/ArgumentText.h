#pragma once
// The argument text a traced procedure passes on entry and exit:
// "(" + name=value parts joined by ", " + ")", "()" without parameters.

#include <QString>

#include <cstdint>
#include <initializer_list>

namespace vm::failsafe {

QString argumentList(std::initializer_list<QString> parts);

// The argument text of a procedure without parameters: "()".
inline QString noArguments() { return QStringLiteral("()"); }

// Parameters of control and form events, with the ordinary number-to-text
// conversion (no leading blank): Integer parameters (3, -1) and Single
// coordinates (120.5).
QString eventArg(const QString& name, long long value);
QString eventArg(const QString& name, double value);

// Parameters of the program's own procedures, shown by their variant type:
// the value's ordinary text when the type code (in decimal) occurs anywhere
// in "23456781117", else "<variant>". Null matches and adds no text. The
// name carries the type character ("strIn$", "i%").
enum class VariantType : int {
    Empty = 0,
    Null = 1,
    Integer = 2,
    Long = 3,
    Single = 4,
    Double = 5,
    Currency = 6,
    Date = 7,
    String = 8,
    Object = 9,
    Error = 10,
    Boolean = 11,
    Variant = 12,
    Decimal = 14,
    Byte = 17,
    Array = 8192,
};
QString variantArg(const QString& name, VariantType type, const QString& valueText);
QString variantArg(const QString& name, const QString& stringValue);  // String
QString variantArg(const QString& name, std::int16_t integerValue);   // Integer
QString variantArg(const QString& name, std::int32_t longValue);      // Long

// True when a value of this type shows its text.
bool variantTypeShown(VariantType type);

}  // namespace vm::failsafe
