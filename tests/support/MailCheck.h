#pragma once
// Mail as the tests see it: stand-in mail programs written as shell scripts,
// and stored mails read back by a real MIME parser.

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>

namespace vm::test {

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
    python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromLatin1(script), path});
    python.waitForFinished(30000);
    return QString::fromUtf8(python.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
}

}  // namespace vm::test
