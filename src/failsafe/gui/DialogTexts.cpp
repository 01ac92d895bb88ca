#include "DialogTexts.h"

#include <QHash>

#include <algorithm>

namespace vm::failsafe::gui {

QStringList viewEntries()
{
    return {
        QStringLiteral("To help resolve the problem, please enter what you were doing."),
        QStringLiteral("View detailed information about the error source"),
        QStringLiteral("View error context and procedure trace"),
        QStringLiteral("View local system information"),
    };
}

QString headingText(const ErrorRecord& record, const QString& exeName)
{
    const int levels = std::clamp<int>(record.remoteLevels, 0, kErrorSlots - 1);
    QString text = QStringLiteral("An unexpected '") + record.slot[levels].description.toLower() +
                   QStringLiteral("' error occurred in ");
    if (levels > 0)
        text += QStringLiteral("a component used by ");
    text += exeName + QLatin1Char('.');
    return text + QStringLiteral("\r\n") + QString::number(levels + 1) + QStringLiteral(" error(s) are logged.");
}

QStringList errorLevelEntries(const ErrorRecord& record)
{
    const int levels = std::clamp<int>(record.remoteLevels, 0, kErrorSlots - 1);
    QStringList entries;
    for (int i = 0; i <= levels; ++i)
        entries << QStringLiteral("Error ") + QString::number(levels - i + 1) + QStringLiteral(" - ") +
                       record.slot[i].description;
    return entries;
}

QString lineFieldText(std::int32_t line, std::int16_t codePointer)
{
    if (line == 0)
        return QStringLiteral(" line numbers not used - Code Pointer = ") + QString::number(codePointer);
    return QLatin1Char(' ') + QString::number(line);
}

QString statusTextFor(const QString& objectName)
{
    static const QHash<QString, QString> texts = {
        {QStringLiteral("frmFAILSAFE"), QStringLiteral("Press 'Continue' to acknowledge this error and continue.")},
        {QStringLiteral("nsCtrlContinue"), QStringLiteral("Press to acknowledge this error and continue.")},
        {QStringLiteral("nsCtrlMore"), QStringLiteral("Press to break to design-mode in this procedure.")},
        {QStringLiteral("fsPrint"), QStringLiteral("Press to print this tabs data to the default printer.")},
        {QStringLiteral("nsHelp"), QStringLiteral("Press to show detailed help about this error.")},
        {QStringLiteral("nsCtrlLabel1"), QStringLiteral("The error module")},
        {QStringLiteral("ErrModule"), QStringLiteral("The error module")},
        {QStringLiteral("nsCtrlLabel2"), QStringLiteral("The error procedure")},
        {QStringLiteral("ErrProcedure"), QStringLiteral("The error procedure")},
        {QStringLiteral("nsCtrlLabel4"), QStringLiteral("The line number where the error happened")},
        {QStringLiteral("ErrLine"), QStringLiteral("The line number where the error happened")},
        {QStringLiteral("nsCtrlLabel5"), QStringLiteral("The error number")},
        {QStringLiteral("ErrNo"), QStringLiteral("The error number")},
        {QStringLiteral("nsCtrlLabel6"), QStringLiteral("A description of the error")},
        {QStringLiteral("nsCtrlLabel7"), QStringLiteral("The error category")},
        {QStringLiteral("ErrType"), QStringLiteral("The error category")},
        {QStringLiteral("nsCtrlProjLab"), QStringLiteral("The error source")},
        {QStringLiteral("errProject"), QStringLiteral("The error source")},
    };
    return texts.value(objectName);
}

}  // namespace vm::failsafe::gui
