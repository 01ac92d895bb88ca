#include "MessageCommands.h"

#include "BoxEdit.h"
#include "CommandFailure.h"
#include "CommandRun.h"
#include "CsvWriter.h"
#include "JsonText.h"
#include "MailboxFolder.h"
#include "ParallelLines.h"
#include "Progress.h"
#include "SafeText.h"
#include "Stats.h"

#include "config/Paths.h"
#include "mailbox/MessageDelete.h"
#include "mailbox/MessageListing.h"
#include "mailbox/MessageOperations.h"
#include "mailbox/MessagePurge.h"
#include "mailbox/MessageQuery.h"
#include "mailbox/MessageRefusal.h"
#include "platform/AppFolder.h"
#include "platform/FileSystem.h"
#include "platform/FolderLock.h"
#include "platform/ParallelFor.h"
#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <array>
#include <ctime>
#include <optional>
#include <vector>

namespace vm::vmbox {

namespace {

enum Field { Box, Date, Seconds, Status, Line, Caller, File, Note, kFields };
const std::array<QString, kFields> kHeader = {
    QStringLiteral("Box"),  QStringLiteral("Date"),   QStringLiteral("Seconds"), QStringLiteral("Status"),
    QStringLiteral("Line"), QStringLiteral("Caller"), QStringLiteral("File"),    QStringLiteral("Note")};

using Row = std::array<QString, kFields>;

}  // namespace

// "yyyy-MM-dd HH:mm:ss" in local time. Made by hand: through QDateTime the
// listing is much slower (BM_ListMessages/100000).
QString localTimeText(std::int64_t seconds)
{
    const auto t = static_cast<time_t>(seconds);
    tm local{};
    localtime_r(&t, &local);
    QString text(19, u' ');
    QChar* out = text.data();
    const auto put = [&](int value, int digits, int at) {
        for (int k = digits - 1; k >= 0; --k, value /= 10)
            out[at + k] = QChar(u'0' + value % 10);
    };
    put(local.tm_year + 1900, 4, 0);
    out[4] = u'-';
    put(local.tm_mon + 1, 2, 5);
    out[7] = u'-';
    put(local.tm_mday, 2, 8);
    put(local.tm_hour, 2, 11);
    out[13] = u':';
    put(local.tm_min, 2, 14);
    out[16] = u':';
    put(local.tm_sec, 2, 17);
    return text;
}

namespace {

QString noteOf(const mailbox::MessageInfo& m)
{
    if (m.notAFile.isEmpty() && m.parts && m.sound.complete)
        return QString();
    QStringList notes;
    if (!m.notAFile.isEmpty())
        notes << m.notAFile + QStringLiteral(", not a message file");
    if (m.notAFile.isEmpty() && !m.parts)
        notes << QStringLiteral("the name has no message's form");
    if (m.notAFile.isEmpty() && !m.sound.complete)
        notes << QStringLiteral("still being written or cut off: ") + m.sound.problem;
    return notes.join(QStringLiteral("; "));
}

Row rowOf(const mailbox::MessageInfo& m)
{
    const bool timed = m.notAFile.isEmpty() && m.sound.complete;
    return {m.box,
            localTimeText(m.seconds),
            timed ? QString::number(static_cast<qint64>(platform::roundHalfEven(m.sound.seconds))) : QString(),
            m.parts ? (m.isNew() ? QStringLiteral("new") : QStringLiteral("saved")) : QString(),
            m.parts ? m.parts->line : QString(),
            m.parts ? m.parts->caller : QString(),
            m.file,
            noteOf(m)};
}

enum class Controls { Kept, Escaped };

std::vector<Row> rows(std::vector<mailbox::MessageInfo> messages, Controls controls)
{
    std::vector<Row> all(messages.size());
    platform::parallelFor(messages.size(), platform::workerThreads(), [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            all[i] = rowOf(messages[i]);
            messages[i] = {};  // freed here, on every core, rather than all at the end on one
            if (controls == Controls::Escaped)
                for (QString& field : all[i])
                    field = withControlsEscaped(field);
        }
    });
    return all;
}

// A message named on the command line: a path, or a bare name in the folder.
QString messagePath(const QString& file)
{
    return file.contains(u'/') ? QFileInfo(file).absoluteFilePath() : config::messageFolder() + file;
}

// Runs a message operation; a failure of the file layer names its file.
template <class Step>
auto onFile(const QString& path, Step&& step)
{
    try {
        return step();
    } catch (const platform::RuntimeError& e) {
        failData(fileFailure(path, e.number(), e.description()));
    }
}

class MessageRun : public CommandRun {
public:
    using CommandRun::CommandRun;

    // Changes hold the folder's lock as every changing command does.
    void lock(std::optional<platform::FolderLock>& held)
    {
        held.emplace(platform::appFolder());
        if (!held->tryLock(inv_.wait))
            failData(held->refusal());
    }

    void list()
    {
        QString box = inv_.arguments.value(0);
        // A box is one the list holds, named as set and delete name it.
        if (!box.isEmpty()) {
            MailboxFolder folder(MailboxFolder::Purpose::Reading);
            TargetBox t;
            try {
                t = targetOf(folder.table(), box);
            } catch (const FieldProblem& p) {
                failData(p.message());
            }
            if (t.index < 1)
                failData(QStringLiteral("%1: no box %2").arg(config::mailboxList(), t.id));
            box = t.id;
        }
        QByteArray text;
        {
            const Progress progress(streams_.err, inv_.quiet, QStringLiteral("listing messages"));
            // Lengths read before are taken from the operator's cache, not the files.
            std::vector<mailbox::MessageInfo> messages = mailbox::listMessages(
                box, mailbox::LengthCache::fileFor(platform::appFolder()));
            // Without a filter or an order the listing keeps the folder's order.
            if (inv_.found)
                messages = mailbox::findMessages(std::move(messages), inv_.criteria, inv_.order);
            switch (inv_.format) {
                case ListFormat::Table: text = messagesAsTable(std::move(messages)); break;
                case ListFormat::Csv: text = messagesAsCsv(std::move(messages)); break;
                case ListFormat::Json: text = messagesAsJson(std::move(messages)); break;
            }
        }
        out_.write(text);
    }

    void copy()
    {
        const QString path = messagePath(inv_.arguments[0]);
        MailboxFolder folder(MailboxFolder::Purpose::Changing, inv_.wait);
        TargetBox t;
        try {
            t = targetOf(folder.table(), inv_.arguments[1]);
        } catch (const FieldProblem& p) {
            failData(p.message());
        }
        const QString copy = onFile(path, [&] { return mailbox::copyMessage(folder.table(), path, t.id); });
        print(QStringLiteral("copied %1 to box %2 as %3")
                  .arg(QFileInfo(path).fileName(), t.id, QFileInfo(copy).fileName()));
    }

    void mark()
    {
        const QString path = messagePath(inv_.arguments[0]);
        const bool asNew = inv_.arguments[1] == QLatin1String("new");
        std::optional<platform::FolderLock> held;
        lock(held);
        const QString now = onFile(path, [&] { return mailbox::markMessage(path, asNew); });
        const QString name = QFileInfo(path).fileName();
        if (now == QFileInfo(path).absoluteFilePath())
            print(QStringLiteral("%1 is %2 already; nothing changed").arg(name, inv_.arguments[1]));
        else
            print(QStringLiteral("marked %1 %2: now %3").arg(name, inv_.arguments[1], QFileInfo(now).fileName()));
    }

    void exportTo()
    {
        const QString path = messagePath(inv_.arguments[0]);
        const QString target = inv_.arguments[1];
        if (target == QLatin1String("-")) {
            onFile(path, [&] {
                const mailbox::CheckedMessage m = mailbox::checkedMessage(path);
                m.content().forEachPiece([&](QByteArrayView piece) { out_.write(piece.data(), piece.size()); });
            });
            return;
        }
        onFile(path, [&] { return mailbox::exportMessage(path, QFileInfo(target).absoluteFilePath()); });
    }

    void remove()
    {
        const QString path = messagePath(inv_.arguments[0]);
        std::optional<platform::FolderLock> held;
        lock(held);
        const mailbox::Removed removed = onFile(
            path, [&] { return mailbox::deleteMessage(path, mailbox::Removal::ToTrash); });
        const QString name = QFileInfo(path).fileName();
        if (removed.trashed)
            print(QStringLiteral("moved %1 to the trash, from where it can be restored").arg(name));
        else
            print(QStringLiteral("deleted %1 for good: no trash took it (%2)").arg(name, removed.whyNotTrashed));
    }

    // The purge's last line: what it frees, in bytes and as a person reads it.
    static QString spaceLine(const QString& verb, std::int64_t bytes)
    {
        const QString line = QStringLiteral("%1 %2 bytes").arg(verb).arg(bytes);
        return bytes < 1024 ? line : line + QStringLiteral(" (%1)").arg(humanSize(bytes));
    }

    QString keptVerb() const { return inv_.dryRun ? QStringLiteral("would keep") : QStringLiteral("kept"); }

    void purge()
    {
        const mailbox::PurgeRule rule{inv_.olderThanDays, inv_.savedOnly, inv_.box};
        std::optional<platform::FolderLock> held;
        if (!inv_.dryRun)
            lock(held);
        Progress progress(streams_.err, inv_.quiet, QStringLiteral("choosing messages"));
        const std::vector<mailbox::PurgeCandidate> chosen = mailbox::purgeCandidates(rule,
                                                                                     QDateTime::currentDateTime());
        // From here each message deleted is a line of the result.
        progress.finish();
        int done = 0;
        int kept = 0;
        std::int64_t bytes = 0;
        QStringList failures;
        for (const mailbox::PurgeCandidate& c : chosen) {
            const QString when = localTimeText(c.seconds);
            // A message that must stay is listed, never deleted.
            if (const std::optional<QString> why = mailbox::whyKept(c.mode)) {
                print(QStringLiteral("%1 %2 (%3): %4").arg(keptVerb(), c.file, when, *why));
                ++kept;
                continue;
            }
            if (inv_.dryRun) {
                print(QStringLiteral("would delete %1 (%2)").arg(c.file, when));
            } else {
                const QString path = config::messageFolder() + c.file;
                try {
                    mailbox::deleteMessage(path, mailbox::Removal::ForGood);
                } catch (const platform::RuntimeError& e) {
                    failures << fileFailure(path, e.number(), e.description());
                    continue;
                } catch (const mailbox::MessageRefusal& r) {
                    failures << r.line();
                    continue;
                }
                print(QStringLiteral("deleted %1 (%2)").arg(c.file, when));
            }
            ++done;
            bytes += c.bytes;
        }
        const QString summary =
            QStringLiteral("%1 messages older than %2 days (%3 bytes)").arg(done).arg(rule.olderThanDays).arg(bytes);
        if (inv_.dryRun)
            print(QStringLiteral("would delete %1; nothing deleted").arg(summary));
        else
            print(QStringLiteral("deleted %1").arg(summary));
        if (kept > 0)
            print(QStringLiteral("%1 %2 messages marked read-only").arg(keptVerb()).arg(kept));
        print(spaceLine(inv_.dryRun ? QStringLiteral("would free") : QStringLiteral("freed"), bytes));
        if (!failures.isEmpty())
            throw CommandFailure(kExitBadData,
                                 failures << QStringLiteral("could not delete %1 of the %2 messages chosen; deleted %3")
                                                 .arg(failures.size())
                                                 .arg(chosen.size())
                                                 .arg(done));
    }
};

}  // namespace

QByteArray messagesAsTable(std::vector<mailbox::MessageInfo> messages)
{
    std::vector<Row> shown = rows(std::move(messages), Controls::Escaped);
    Row header;
    for (int f = 0; f < kFields; ++f)
        header[f] = kHeader[f].toUpper();
    std::array<qsizetype, kFields> width{};
    for (const Row& r : shown)
        for (int f = 0; f < kFields; ++f)
            width[f] = std::max(width[f], r[f].size());
    for (int f = 0; f < kFields; ++f)
        width[f] = std::max(width[f], header[f].size());
    const auto line = [&](const Row& r) {
        QString text;
        for (int f = 0; f < kFields; ++f) {
            text += r[f];
            if (f < kFields - 1)
                text.resize(text.size() + width[f] + 2 - r[f].size(), u' ');
        }
        // Trailing blanks of empty last columns help nobody.
        while (text.endsWith(u' '))
            text.chop(1);
        return (text += u'\n').toUtf8();
    };
    // Each line is made on whichever core is free: BM_ListMessages/100000
    // comes nearer its floor so than with the lines made on one core.
    return joinedLines(line(header), shown.size(), [&](std::size_t i) {
        QByteArray text = line(shown[i]);
        shown[i] = {};  // freed here, on every core, rather than all at the end on one
        return text;
    });
}

QByteArray messagesAsCsv(std::vector<mailbox::MessageInfo> messages)
{
    QString text;
    appendCsvRecord(text, QStringList(kHeader.begin(), kHeader.end()));
    for (const Row& r : rows(std::move(messages), Controls::Escaped))
        appendCsvRecord(text, QStringList(r.begin(), r.end()));
    return text.toUtf8();
}

QByteArray messagesAsJson(std::vector<mailbox::MessageInfo> messages)
{
    QString text = QStringLiteral("[");
    bool first = true;
    for (const Row& r : rows(std::move(messages), Controls::Kept)) {
        text += first ? QStringLiteral("\n  {") : QStringLiteral(",\n  {");
        first = false;
        for (int f = 0; f < kFields; ++f) {
            if (f > 0)
                text += QStringLiteral(", ");
            appendJsonString(text, kHeader[f]);
            text += QStringLiteral(": ");
            // Lengths are numbers; a file without one has null.
            if (f == Seconds)
                text += r[f].isEmpty() ? QStringLiteral("null") : r[f];
            else
                appendJsonString(text, r[f]);
        }
        text += u'}';
    }
    text += first ? QStringLiteral("]\n") : QStringLiteral("\n]\n");
    return text.toUtf8();
}

void showMessages(const Invocation& inv, Streams& streams) { MessageRun(inv, streams).list(); }
void copyMessageTo(const Invocation& inv, Streams& streams) { MessageRun(inv, streams).copy(); }
void markMessageAs(const Invocation& inv, Streams& streams) { MessageRun(inv, streams).mark(); }
void exportMessageTo(const Invocation& inv, Streams& streams) { MessageRun(inv, streams).exportTo(); }
void purgeMessages(const Invocation& inv, Streams& streams) { MessageRun(inv, streams).purge(); }

// Deletes that can be undone: the message goes to the trash where one takes it.
void deleteMessageFile(const Invocation& inv, Streams& streams) { MessageRun(inv, streams).remove(); }

}  // namespace vm::vmbox
