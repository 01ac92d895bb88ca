#include "IncompleteStart.h"

#include "config/Paths.h"
#include "platform/AppFolder.h"
#include "platform/FileSystem.h"
#include "platform/KeptCopy.h"

#include <QDir>

namespace vm::manager_window {

namespace {

QString inFolder(const QString& path) { return QDir(platform::appFolder()).relativeFilePath(path); }

}  // namespace

QString IncompleteStart::notice() const
{
    QStringList lines{QStringLiteral("The Voicemail Manager did not read everything in %1 when it started:")
                          .arg(QDir::toNativeSeparators(platform::appFolder()))};
    // describe() leads with the file's path; the folder is named above.
    for (const mailbox::LoadProblem& problem : problems)
        lines << QStringLiteral("\u2022 ") + inFolder(problem.file) + problem.describe().mid(problem.file.size());
    if (!configKey.isEmpty())
        lines << QStringLiteral(
                     "\u2022 %1: the value of %2 is no whole number from -32768 to 32767. The start-up "
                     "ended there: the e-mail, FTP and length fields, the command and the e-mail body "
                     "are empty, and the mailbox list shows once its tab is opened again.")
                     .arg(inFolder(config::iniFile()), configKey);
    else if (loadEndedEarly)
        lines << QStringLiteral(
            "\u2022 The start-up ended at an error (see its report), so some of the settings "
            "fields are empty.");
    return lines.join(QLatin1Char('\n'));
}

QString IncompleteStart::noticeDetails() const
{
    QStringList lines{
        QStringLiteral("When this window closes, it writes the mailbox list, the e-mail body and the settings as "
                       "they then stand, so what the start-up did not read will be missing from those files. Before "
                       "it writes them, it keeps the previous version of each in the same folder, named after the "
                       "file and the date and time of the close:")};
    for (const QString& file : {config::mailboxList(), config::emailBodyFile(), config::iniFile()})
        lines << QStringLiteral("\u2022 %1.YYYY-MM-DD_HHMM.%2").arg(inFolder(file), kKeptReason);
    return lines.join(QLatin1Char('\n'));
}

void keepPreviousVersions(const QStringList& files, const QDateTime& when)
{
    const QString stamp = when.toString(QStringLiteral("yyyy-MM-dd_HHmm"));
    for (const QString& file : files) {
        // A file the close may not write stays as it is without a copy.
        if (platform::fileExists(file) && !platform::writeRefusal(file))
            platform::keepCopy(file, stamp, kKeptReason);
    }
}

}  // namespace vm::manager_window
