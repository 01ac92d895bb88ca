#pragma once
// A fresh error module for error-handler tests: everything TraceFixture
// fixes, plus a fixed moment for the error log's start and stop lines and a
// fixed system information report.

#include "TraceFixture.h"

#include "failsafe/ErrorDialogHost.h"
#include "failsafe/ErrorHandler.h"
#include "failsafe/PendingError.h"

#include "platform/LocaleText.h"
#include "platform/MailSender.h"
#include "platform/RuntimeError.h"

#include <QDateTime>
#include <QFile>
#include <QProcess>

namespace vm::test {

inline const QString kPlayMsg = u"Sub cmdPlayMsg_Click"_s;
inline const QString kFixedReport =
    u"Application running on computer TESTBOX\r\n   Title...............RiVaVaz\r\n\r\n"_s;

class ErrorFixture : public TraceFixture {
protected:
    void SetUp() override
    {
        TraceFixture::SetUp();
        overrides_.replace(failsafe::errorLogClock(), [] { return QDateTime(QDate(2026, 12, 6), QTime(9, 30, 15)); });
        overrides_.replace(failsafe::systemReportBuilder(),
                           [this](QString& report) { ++reportsBuilt_, report = kFixedReport; });
        overrides_.replace(failsafe::messageBoxHook(),
                           [this](failsafe::BoxIcon, failsafe::BoxButtons, const QString& title, const QString& text) {
                               return boxes_ << title + u": "_s + text, false;
                           });
    }

    // Pushes the frames of the window's load handler and `procedure`, then
    // hands error `number` to fsERROR as the procedure's error block does.
    std::optional<int> failIn(const QString& procedure, int number, const QString& source = kProjectName)
    {
        push(u"Sub Form_Load"_s);
        push(procedure);
        failsafe::Err().set(RuntimeError(number, standardErrorDescription(number), source));
        return failsafe::fsERROR(kForm, procedure);
    }

    QString logText() const { return ansi::decode(app_.read(u"error.log"_s)); }

    int reportsBuilt_ = 0;
    QStringList boxes_;
};

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
for h in ('To', 'Subject', 'MIME-Version'):
    print(h + '=' + str(m[h]))
print('Type=' + m.get_content_type())
print('Defects=' + str(len(m.defects)))
for part in m.walk():
    if not part.is_multipart():
        payload = part.get_payload(decode=True) or b''
        print('Part=' + part.get_content_type() + '|' + str(part.get_filename()) + '|' +
              base64.b64encode(payload).decode('ascii'))
)PY";
    QProcess python;
    python.start(u"python3"_s, {u"-c"_s, QString::fromLatin1(script), path});
    python.waitForFinished(30000);
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace vm::test
