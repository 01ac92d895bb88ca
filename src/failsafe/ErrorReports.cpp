#include "ErrorReports.h"

#include "CallTree.h"
#include "SystemInfo.h"
#include "SystemInfoFormat.h"

#include "platform/AppFolder.h"
#include "platform/FileSystem.h"
#include "platform/LocaleText.h"
#include "platform/RuntimeError.h"
#include "platform/SystemQuery.h"

#include <QFileInfo>
#include <QLocale>

namespace vm::failsafe {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// One block of the defect report: the label line, then the value.
void addBlock(QString& body, const QString& label, const QString& value) { body += label + kCrLf + value + kCrLf; }

// A block whose value may fail to come: it then stays empty.
template <class Value>
void addQueriedBlock(QString& body, const QString& label, Value&& value)
{
    QString text;
    platform::ignoreErrors([&] { text = value(); });
    addBlock(body, label, text);
}

QString optionalNumber(const std::optional<int>& value) { return value ? QString::number(*value) : QString(); }

QString errorKey(const ErrorSlot& slot)
{
    const QString sep = QStringLiteral(" : ");
    return slot.source + sep + slot.moduleTrail + sep + slot.procedureTrail + sep + QString::number(slot.line) + sep +
           QString::number(slot.number);
}

QString loginName()
{
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("LOGNAME") : user;
}

QString componentBlocks(const platform::SystemQuery& query)
{
    QString blocks;
    const std::optional<QStringList> modules = query.processModules();
    if (!modules)
        return blocks;
    for (const QString& path : *modules) {
        addQueriedBlock(blocks, QStringLiteral("NAME:"), [&] { return path; });
        addQueriedBlock(blocks, QStringLiteral("SIZE:"),
                        [&] { return failsafe::formatThousands(std::uint64_t(QFileInfo(path).size())); });
        addQueriedBlock(blocks, QStringLiteral("DATEMODIFIED:"), [&] { return pfFileTime(path, 0); });
        addQueriedBlock(blocks, QStringLiteral("FILEVERSION:"),
                        [&] { return pfFileVersionInfo(path, failsafe::kFileVersion); });
        addQueriedBlock(blocks, QStringLiteral("DATECREATED:"), [&] { return pfFileTime(path, 1); });
        addQueriedBlock(blocks, QStringLiteral("PRODUCTVERSION:"),
                        [&] { return pfFileVersionInfo(path, failsafe::kProductVersion); });
        addQueriedBlock(blocks, QStringLiteral("PRODUCTNAME:"),
                        [&] { return pfFileVersionInfo(path, failsafe::kProductName); });
        addQueriedBlock(blocks, QStringLiteral("COMPANYNAME:"),
                        [&] { return pfFileVersionInfo(path, failsafe::kCompanyName); });
        addQueriedBlock(blocks, QStringLiteral("FILEDESCRIPTION:"),
                        [&] { return pfFileVersionInfo(path, failsafe::kFileDescription); });
    }
    return blocks;
}

}  // namespace

QString emailSubject(const QString& exeName) { return QStringLiteral("Remote Error Report From ") + exeName; }

QString emailBody(const ErrorSlot& slot, const QString& exeName)
{
    return QStringLiteral("Tarvik FailSafe reports error ") + QString::number(slot.number) + QStringLiteral(" (") +
           slot.description + QStringLiteral(")") + QStringLiteral(" occurred in ") + exeName +
           QStringLiteral(". The attached log file has complete details.");
}

bool sendEmailReport(const ErrorLogTexts& texts)
{
    const FailSafeState& s = state();
    const QString tempPath = platform::appPath(kEmailTempFileName);
    // A file left over from an interrupted report must not be sent again.
    platform::ignoreErrors([&] { platform::deleteFile(tempPath); });
    bool sent = false;
    const std::optional<QByteArray> entry = currentErrorLogEntry(texts);
    // Made as a new file, so that nothing another account put at the name
    // since (a link, a file of its own) receives the report.
    if (entry && platform::ignoreErrors([&] { platform::createNewFile(tempPath, *entry); })) {
        platform::MailMessage m;
        m.to << s.settings.emailAddress;
        m.subject = emailSubject(platform::executableName());
        m.body = emailBody(s.error.slot[0], platform::executableName());
        m.attachments << platform::MailAttachment{tempPath, kEmailAttachmentName};
        sent = platform::sendMail(m);
    }
    platform::ignoreErrors([&] { platform::deleteFile(tempPath); });
    return sent;
}

QString defectSubject(const Settings& settings)
{
    return QStringLiteral("FailSafe New Defect [") + settings.bugDatabase + QLatin1Char(']');
}

QString defectBody(const FailSafeState& s, const QDateTime& entered)
{
    const platform::SystemQuery& query = platform::systemQuery();
    const ErrorSlot& slot = s.error.slot[0];
    QString body;
    addBlock(body, QStringLiteral("KEY:"), errorKey(slot));
    addQueriedBlock(body, QStringLiteral("REPORTED BY:"), loginName);
    addQueriedBlock(body, QStringLiteral("CONFIGURATION:"), [] { return message(62); });
    addQueriedBlock(body, QStringLiteral("MACHINE NAME:"), [&] { return query.computerName(); });
    addQueriedBlock(body, QStringLiteral("OS:"), pfWindowsVersion);
    addQueriedBlock(body, QStringLiteral("CPU:"), pfCpuName);
    addQueriedBlock(body, QStringLiteral("NUM CPU:"), [&] { return optionalNumber(query.processorCount()); });
    addQueriedBlock(body, QStringLiteral("PHYSICAL MEMORY:"),
                    [&] { return failsafe::kilobytesText(query.memory().totalPhysical); });
    addQueriedBlock(body, QStringLiteral("DISPLAY RESOLUTION:"),
                    [&] { return failsafe::screenSizeText(query.display()); });
    addQueriedBlock(body, QStringLiteral("COLOR PALETTE:"), [&] { return failsafe::colourCountText(query.display()); });
    addQueriedBlock(body, QStringLiteral("NUM MONITORS:"), [&] { return failsafe::monitorCountText(query.display()); });
    addQueriedBlock(body, QStringLiteral("NUM MOUSEBUTTONS:"), [&] { return optionalNumber(query.mouseButtons()); });
    addQueriedBlock(body, QStringLiteral("HAS MOUSEWHEEL:"), [&] { return failsafe::yesNo(query.mouseWheel()); });
    addQueriedBlock(body, QStringLiteral("COUNTRY:"),
                    [] { return QLocale::territoryToString(QLocale::system().territory()); });
    addQueriedBlock(body, QStringLiteral("LANGUAGE:"), [&] { return query.languageName(); });
    addQueriedBlock(body, QStringLiteral("MIDEAST:"), [&] { return failsafe::yesNo(query.mideastEnabled()); });
    addQueriedBlock(body, QStringLiteral("DBCS:"), [&] { return failsafe::yesNo(query.doubleByteCharsets()); });
    QString components;
    platform::ignoreErrors([&] { components = componentBlocks(query); });
    body += QStringLiteral("OTHER COMPONENTS:") + kCrLf + components;
    addBlock(body, QStringLiteral("PROJECT:"), s.settings.bugProject);
    addBlock(body, QStringLiteral("ASSIGNED TO:"), s.settings.bugAssignedTo);
    addBlock(body, QStringLiteral("DATE/TIME ENTERED:"), platform::generalDate(entered));
    addBlock(body, QStringLiteral("SYNOPSIS:"), slot.category + QStringLiteral(": ") + runtimeErrorText(slot));
    addBlock(body, QStringLiteral("DESCRIPTION:"), s.error.userComment);
    addBlock(body, QStringLiteral("PRODUCT:"), platform::executableName());
    QString stack;
    platform::ignoreErrors([&] { stack = callTreeLines(s.error, s.stack.codePointer).join(kCrLf); });
    addBlock(body, QStringLiteral("STACK:"), stack);
    return body;
}

platform::MailMessage defectMessage(const FailSafeState& s, const QDateTime& entered)
{
    platform::MailMessage m;
    m.to << s.settings.bugAddress;
    m.subject = defectSubject(s.settings);
    m.body = defectBody(s, entered);
    // A link put at the log's name since it was last written would mail the
    // file it points to.
    if (s.circular.on && s.settings.attachLog && !platform::writeRefusal(s.circular.path))
        m.attachments << platform::MailAttachment{s.circular.path, kCircularAttachmentName};
    return m;
}

bool sendDefectReport(const QDateTime& entered)
{
    bool sent = false;
    platform::ignoreErrors([&] { sent = platform::sendMail(defectMessage(state(), entered)); });
    return sent;
}

}  // namespace vm::failsafe
