#pragma once
// A fresh error module for error-handler tests: everything TraceFixture
// fixes, plus a fixed moment for the error log's start and stop lines and a
// fixed system information report.

#include "TraceFixture.h"

#include "failsafe/ErrorDialogHost.h"
#include "failsafe/ErrorHandler.h"
#include "failsafe/FailSafe.h"
#include "failsafe/PendingError.h"

#include "platform/LocaleText.h"
#include "platform/MailSender.h"
#include "platform/RuntimeError.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>
#include <QStringList>

namespace vm::test {

inline const QString kWindowModule = QStringLiteral("frmVmailCfg.frm");
inline const QString kFixedReport = QStringLiteral("Application running on computer TESTBOX\r\n   Title...............RiVaVaz\r\n\r\n");

class ErrorFixture : public TraceFixture {
protected:
    void SetUp() override
    {
        TraceFixture::SetUp();
        failsafe::setErrorLogClock([] { return QDateTime(QDate(2026, 12, 6), QTime(9, 30, 15)); });
        failsafe::setSystemReportBuilder([this](QString& report) {
            ++reportsBuilt_;
            report = kFixedReport;
        });
        failsafe::setMessageBoxHook([this](failsafe::BoxIcon, failsafe::BoxButtons, const QString& title,
                                           const QString& text) {
            boxes_ << title + QStringLiteral(": ") + text;
            return false;
        });
    }

    void TearDown() override
    {
        failsafe::setErrorDialogHost(nullptr);
        failsafe::setErrorLogClock(nullptr);
        failsafe::setSystemReportBuilder(nullptr);
        mail::setMailProgram({});
        mail::setMailTimeoutMs(20000);
        TraceFixture::TearDown();
    }

    // Pushes the frames of the window's load handler and `procedure`, then
    // hands error `number` to fsERROR as the procedure's error block does.
    std::optional<int> failIn(const QString& procedure, int number, const QString& source = kProjectName)
    {
        failsafe::fsPUSH(kWindowModule, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
        failsafe::fsPUSH(kWindowModule, procedure, QStringLiteral("()"));
        failsafe::Err().set(RuntimeError(number, standardErrorDescription(number), source));
        return failsafe::fsERROR(kWindowModule, procedure);
    }

    QByteArray logBytes(const QString& name = QStringLiteral("error.log")) const { return app_.read(name); }

    int reportsBuilt_ = 0;
    QStringList boxes_;
};

// Date and time of the fixed moment in the system locale's short forms.
inline QString fixedStamp()
{
    return locale::shortDate(QDate(2026, 12, 6)) + QLatin1Char(' ') + locale::longTime(QTime(9, 30, 15));
}

// Writes an executable shell script.
inline QString writeScript(const QString& path, const QByteArray& body)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) {
        f.write("#!/bin/sh\n" + body);
        f.close();
        f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return path;
}

// Parses a stored mail with python3's email package and prints one fact per
// line: headers, then for each leaf part its type, file name and payload
// (base64 of the decoded bytes).
inline QStringList parseMime(const QString& path)
{
    static const char* script = R"PY(
import sys, base64, email
from email import policy
m = email.message_from_binary_file(open(sys.argv[1], 'rb'), policy=policy.default)
print('To=' + str(m['To']))
print('Subject=' + str(m['Subject']))
print('MIME-Version=' + str(m['MIME-Version']))
print('Type=' + m.get_content_type())
print('Defects=' + str(len(m.defects)))
for part in m.walk():
    if part.is_multipart():
        continue
    payload = part.get_payload(decode=True) or b''
    print('Part=' + part.get_content_type() + '|' + str(part.get_filename()) + '|' +
          base64.b64encode(payload).decode('ascii'))
)PY";
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(script), path});
    python.waitForFinished(30000);
    return QString::fromUtf8(python.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

}  // namespace vm::test
