// Placeholder until call tracking lands: runs the body and routes errors.
#include "Traced.h"

#include "FailSafe.h"
#include "PendingError.h"

#include "platform/RuntimeError.h"

namespace vm::failsafe {

void runTraced(const QString& module, const QString& procedure, const std::function<QString()>& arguments,
               const std::function<void()>& body)
{
    fsPUSH(module, procedure, arguments());
    try {
        body();
    } catch (...) {
        Err().set(toRuntimeError(std::current_exception()));
        fsERROR(module, procedure);
    }
    fsPOP(module, procedure, arguments());
}

QString argumentList(std::initializer_list<QString> parts)
{
    QString text = QStringLiteral("(");
    bool first = true;
    for (const QString& p : parts) {
        if (!first)
            text += QStringLiteral(", ");
        text += p;
        first = false;
    }
    return text + QLatin1Char(')');
}

QString eventArg(const QString& name, long long value) { return name + QLatin1Char('=') + QString::number(value); }
QString eventArg(const QString& name, double value) { return name + QLatin1Char('=') + QString::number(value); }
QString variantArg(const QString& name, VariantType, const QString& valueText) { return name + QLatin1Char('=') + valueText; }
QString variantArg(const QString& name, const QString& stringValue) { return name + QLatin1Char('=') + stringValue; }
QString variantArg(const QString& name, short integerValue) { return name + QLatin1Char('=') + QString::number(integerValue); }

}  // namespace vm::failsafe
