#include "ArgumentText.h"

namespace vm::failsafe {

namespace {
// Type codes whose decimal text occurs in this string show their value.
const QString kShownTypeCodes = QStringLiteral("23456781117");

QString part(const QString& name, const QString& value) { return name + QLatin1Char('=') + value; }

// A Single as the ordinary conversion writes it: up to seven significant
// digits, exponent as "E+20".
QString singleText(double value)
{
    QString text = QString::number(static_cast<float>(value), 'g', 7);
    text.replace(QLatin1Char('e'), QLatin1Char('E'));
    return text;
}
}  // namespace

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

QString eventArg(const QString& name, long long value) { return part(name, QString::number(value)); }

QString eventArg(const QString& name, double value) { return part(name, singleText(value)); }

bool variantTypeShown(VariantType type) { return kShownTypeCodes.contains(QString::number(static_cast<int>(type))); }

QString variantArg(const QString& name, VariantType type, const QString& valueText)
{
    if (!variantTypeShown(type))
        return part(name, QStringLiteral("<variant>"));
    return part(name, type == VariantType::Null ? QString() : valueText);
}

QString variantArg(const QString& name, const QString& stringValue)
{
    return variantArg(name, VariantType::String, stringValue);
}

QString variantArg(const QString& name, std::int16_t integerValue)
{
    return variantArg(name, VariantType::Integer, QString::number(integerValue));
}

QString variantArg(const QString& name, std::int32_t longValue)
{
    return variantArg(name, VariantType::Long, QString::number(longValue));
}

}  // namespace vm::failsafe
