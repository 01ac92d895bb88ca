#pragma once
// How the program's own procedures are traced and error-trapped: entry call,
// body, error block through fsERROR, exit call on every path.
//
//   runTraced(kModule, "Sub cmdPlayMsg_Click", [] { return QStringLiteral("()"); },
//             [&] { ...body... });
//
// The arguments callback is called at entry and again at exit, so the exit
// text shows the parameters' values of that moment.

#include <QString>

#include <functional>
#include <initializer_list>

namespace vm::failsafe {

void runTraced(const QString& module, const QString& procedure, const std::function<QString()>& arguments,
               const std::function<void()>& body);

// "(" + parts joined by ", " + ")"; "()" for none.
QString argumentList(std::initializer_list<QString> parts);

// Parameters of control and form events: name=value with the ordinary
// number-to-text conversion (3, -1, 120.5).
QString eventArg(const QString& name, long long value);
QString eventArg(const QString& name, double value);

// Parameters of the program's own procedures: the value is shown when its
// variant type code (as decimal text) occurs in "23456781117", otherwise
// "<variant>". The name carries its type character ("strIn$", "i%").
enum class VariantType : int {
    Empty = 0, Null = 1, Integer = 2, Long = 3, Single = 4, Double = 5, Currency = 6, Date = 7,
    String = 8, Object = 9, Error = 10, Boolean = 11, Variant = 12, Byte = 17, Array = 8192,
};
QString variantArg(const QString& name, VariantType type, const QString& valueText);
QString variantArg(const QString& name, const QString& stringValue);   // String
QString variantArg(const QString& name, short integerValue);           // Integer

}  // namespace vm::failsafe
