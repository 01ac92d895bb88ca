#include "BoxCommands.h"

#include "BoxListing.h"
#include "CommandFailure.h"
#include "CommandRun.h"
#include "ImportPlan.h"
#include "MailboxFolder.h"
#include "Progress.h"
#include "SafeText.h"

#include "config/Paths.h"
#include "mailbox/BoxStore.h"
#include "mailbox/MessageRefusal.h"
#include "mailbox/SafeFileName.h"
#include "mailbox/WaveFormat.h"
#include "platform/AppFolder.h"
#include "platform/FileSystem.h"
#include "platform/LocaleText.h"
#include "platform/RuntimeError.h"
#include "platform/Trash.h"

#include <QFileInfo>

#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <functional>

namespace vm::vmbox {

namespace {

constexpr int kProblemsShown = 20;

// Input files are read whole; a larger one (or a device without end) is refused at once.
constexpr std::int64_t kLargestInput = std::int64_t{64} * 1024 * 1024;

// The application folder's own files: the engine reads them, and the window
// and the changing commands write them under the folder's lock. An export
// never replaces one of them, nor anything below the two folders.
struct SharedFile {
    const char* name;
    bool folder;
};
constexpr SharedFile kSharedFiles[] = {{"data", true},          {"system", true},
                                       {"QV.INI", false},       {"VmEmailForwardBody.txt", false},
                                       {"FSCLIENT.INI", false}, {".VoicemailManager.lock", false}};

// A file to read as messages name it.
QString shownInput(const QString& file) { return file == QLatin1String("-") ? QStringLiteral("standard input") : file; }

class Run : public CommandRun {
public:
    using CommandRun::CommandRun;

    static MailboxFolder readFolder() { return MailboxFolder(MailboxFolder::Purpose::Reading); }
    MailboxFolder changeFolder() { return MailboxFolder(MailboxFolder::Purpose::Changing, inv_.wait); }

    void list()
    {
        MailboxFolder folder = readFolder();
        switch (inv_.format) {
            case ListFormat::Table: out_.write(boxesAsTable(folder.table())); break;
            case ListFormat::Csv: out_.write(boxesAsCsv(folder.table())); break;
            case ListFormat::Json: out_.write(boxesAsJson(folder.table())); break;
        }
    }

    void exportFile()
    {
        const QString file = inv_.arguments[0];
        const bool toOutput = file == QLatin1String("-");
        if (!toOutput)
            refuseTarget(file);
        MailboxFolder folder = readFolder();
        const QByteArray csv = boxesAsCsv(folder.table());
        if (toOutput) {
            out_.write(csv);
            return;
        }
        try {
            platform::replaceFileAtomically(QFileInfo(file).absoluteFilePath(), csv);
        } catch (const platform::RuntimeError& e) {
            failData(fileFailure(file, e.number(), e.description()));
        }
    }

    // Checked before the folder is read: a target that cannot be written
    // is told as such, whatever else is wrong.
    static void refuseTarget(const QString& file)
    {
        if (const std::optional<QString> why = platform::writeRefusal(QFileInfo(file).absoluteFilePath()))
            failData(fileFailure(file, platform::err::PathFileAccessError, *why));
        const QString real = platform::realPathForWrite(file);
        for (const SharedFile& s : kSharedFiles) {
            // Shared files and folders may be links themselves: compared where they lead.
            const QString shared = platform::realPathForWrite(platform::appPath(QLatin1String(s.name)));
            if (s.folder ? (real + u'/').startsWith(shared + u'/') : real == shared)
                failData(QStringLiteral("%1: %2 is among the application folder's shared files (%3%4); export never "
                                        "writes there")
                             .arg(file, real, QLatin1String(s.name), s.folder ? QStringLiteral("/") : QString()));
        }
    }

    void importFile()
    {
        const QString file = shownInput(inv_.arguments[0]);
        // Standard input may be someone typing: the progress starts once it is read.
        const QByteArray csv = readInput(inv_.arguments[0], streams_.in);
        Progress progress(streams_.err, inv_.quiet, QStringLiteral("importing %1").arg(file));
        MailboxFolder folder(inv_.dryRun ? MailboxFolder::Purpose::Reading : MailboxFolder::Purpose::Changing,
                             inv_.wait);
        const ImportPlan plan = planImport(folder.table(), csv, inv_.encoding);
        if (!plan.problems.empty())
            failImport(file, plan);
        int boxes = 0;
        for (int i = 1; i <= folder.table().upperBound(); ++i)
            boxes += folder.table().at(i).Id.isEmpty() ? 0 : 1;
        if (!inv_.dryRun) {
            applyImport(folder.table(), plan);
            folder.save();
        }
        progress.finish();
        const auto added = static_cast<int>(plan.additions.size());
        const auto changed = static_cast<int>(plan.changes.size());
        if (inv_.dryRun) {
            for (const ImportRow& row : plan.additions)
                print(QStringLiteral("add %1").arg(row.edit.box.Id));
            for (const ImportRow& row : plan.changes)
                print(QStringLiteral("change %1: %2").arg(row.edit.box.Id, columnList(row.edit.changed)));
            print(QStringLiteral("would add %1, change %2 and leave %3 alone; nothing written")
                      .arg(added)
                      .arg(changed)
                      .arg(boxes - changed));
            return;
        }
        print(QStringLiteral("added %1, changed %2, left %3 alone").arg(added).arg(changed).arg(boxes - changed));
    }

    [[noreturn]] void failImport(const QString& file, const ImportPlan& plan)
    {
        QStringList lines;
        for (const ImportProblem& p : plan.problems) {
            if (lines.size() == kProblemsShown) {
                lines << QStringLiteral("%1: %2 more problems").arg(file).arg(plan.problems.size() - kProblemsShown);
                break;
            }
            lines << QStringLiteral("%1:%2:%3: %4").arg(file).arg(p.line).arg(p.column).arg(p.what);
        }
        throw CommandFailure(kExitBadData, lines);
    }

    static QString columnList(const std::vector<Column>& columns)
    {
        QStringList names;
        for (const Column c : columns)
            names << columnName(c);
        return names.join(QStringLiteral(", "));
    }

    // The box an ID argument names, with any problem told as the command line gives it.
    TargetBox target(const mailbox::MailboxTable& table)
    {
        try {
            return targetOf(table, inv_.arguments[0]);
        } catch (const FieldProblem& p) {
            failData(p.message());
        }
    }

    TargetBox existing(const mailbox::MailboxTable& table)
    {
        TargetBox t = target(table);
        if (t.index < 1)
            failData(QStringLiteral("%1: no box %2").arg(config::mailboxList(), t.id));
        return t;
    }

    BoxEdit edited(const mailbox::MailboxTable& table, const TargetBox& t)
    {
        try {
            return editBox(table, t, inv_.fields);
        } catch (const FieldProblem& p) {
            // Add takes its PIN as an argument, and the message names the PIN.
            if (inv_.command->run == addBox && p.column() == Column::Pin)
                failData(p.message());
            failData(QStringLiteral("--%1: %2").arg(optionName(p.column()), p.message()));
        }
    }

    void add()
    {
        MailboxFolder folder = changeFolder();
        const TargetBox t = target(folder.table());
        if (t.index > 0)
            failData(
                QStringLiteral("%1: box %2 exists already; change it with vmbox set").arg(config::mailboxList(), t.id));
        if (folder.table().upperBound() >= kMostEntries)
            failData(QStringLiteral("%1: box %2 would be entry %3 of the list; it holds at most %4")
                         .arg(config::mailboxList(), t.id)
                         .arg(kMostEntries + 1)
                         .arg(kMostEntries));
        const BoxEdit edit = edited(folder.table(), t);
        mailbox::storeBox(folder.table(), edit.box);
        folder.save();
        print(QStringLiteral("added box %1").arg(t.id));
    }

    void set()
    {
        MailboxFolder folder = changeFolder();
        const TargetBox t = existing(folder.table());
        const BoxEdit edit = edited(folder.table(), t);
        mailbox::storeBox(folder.table(), edit.box);
        folder.save();
        print(edit.changed.empty() ? QStringLiteral("box %1 unchanged").arg(t.id)
                                   : QStringLiteral("changed box %1: %2").arg(t.id, columnList(edit.changed)));
    }

    // A file operation of a command before it has changed anything.
    template <class Step>
    static auto firstStep(const QString& path, Step&& step)
    {
        try {
            return step();
        } catch (const platform::RuntimeError& e) {
            failData(fileFailure(path, e.number(), e.description()));
        }
    }

    // Runs `step` on `path`; when it fails, `undo` takes back what the command
    // has done before it, and the failure is told, with `done` when that
    // cannot be undone.
    template <class Step>
    static void stepOrUndo(const QString& path, Step&& step, const std::function<void()>& undo, const QString& done)
    {
        QStringList lines;
        try {
            step();
            return;
        } catch (const CommandFailure& f) {
            lines = f.lines();
        } catch (const platform::RuntimeError& e) {
            lines << fileFailure(path, e.number(), e.description());
        }
        try {
            undo();
        } catch (const platform::RuntimeError& e) {
            lines << QStringLiteral("%1, and that could not be undone: %2 (error %3)")
                         .arg(done, e.description())
                         .arg(e.number());
        }
        throw CommandFailure(kExitBadData, lines);
    }

    // The last step: the old greeting, kept aside until the list was saved, goes.
    static void removeAside(const QString& aside, const QString& done)
    {
        try {
            platform::deleteFile(aside);
        } catch (const platform::RuntimeError& e) {
            failData(QStringLiteral("%1, but the old greeting, moved to %2, could not be removed: %3 (error %4)")
                         .arg(done, aside, e.description())
                         .arg(e.number()));
        }
    }

    void remove()
    {
        MailboxFolder folder = changeFolder();
        mailbox::MailboxTable& table = folder.table();
        const TargetBox t = existing(table);
        if (table.upperBound() == 1)
            failData(QStringLiteral("%1: box %2 is the list's only entry, and a list without boxes is never saved; "
                                    "nothing was changed")
                         .arg(config::mailboxList(), t.id));
        // The greeting goes to the trash first, or where no trash takes it
        // aside: where it cannot go, nothing has changed yet; where the list
        // cannot be saved, it is put back.
        const QString greeting = config::greetingFile(t.id);
        std::optional<QString> trashed;
        std::optional<QString> aside;
        QString notTrashed;
        if (!inv_.keepGreeting && mailbox::isSafeFileNamePart(t.id) && platform::existsAtName(greeting)) {
            const platform::TrashOutcome outcome = platform::moveToTrash(greeting);
            if (!outcome.trashed.isEmpty()) {
                trashed = outcome.trashed;
            } else {
                notTrashed = outcome.why;
                aside = firstStep(greeting, [&] { return platform::moveAside(greeting); });
            }
        }
        table.remove(t.index);
        stepOrUndo(
            config::mailboxList(), [&] { folder.save(); },
            [&] {
                if (aside)
                    platform::renameFile(*aside, greeting);
                if (trashed)
                    platform::takeBackFromTrash(*trashed, greeting);
            },
            QStringLiteral("the greeting %1 was moved to %2")
                .arg(greeting, trashed.value_or(aside.value_or(QString()))));
        if (aside)
            removeAside(*aside, QStringLiteral("deleted box %1").arg(t.id));
        print(QStringLiteral("deleted box %1; its messages stay").arg(t.id));
        if (aside)
            print(QStringLiteral("deleted the greeting %1 for good: no trash took it (%2)").arg(greeting, notTrashed));
    }

    void greeting()
    {
        const QString file = shownInput(inv_.arguments[1]);
        const QByteArray sound = readInput(inv_.arguments[1], streams_.in);
        QString problem;
        const std::optional<mailbox::WaveFormat> format = mailbox::waveFormatOf(sound, problem);
        if (!format)
            failData(QStringLiteral("%1: %2").arg(file, problem));
        if (!format->playableByEngine())
            failData(QStringLiteral("%1: %2; the engine plays WAV files in PCM, 8 kHz, 16 bit, mono")
                         .arg(file, format->describe()));
        MailboxFolder folder = changeFolder();
        const TargetBox t = existing(folder.table());
        if (!mailbox::isSafeFileNamePart(t.id))
            failData(QStringLiteral("box %1 cannot have a greeting: its number is no safe file name").arg(t.id));
        // The new greeting is written beside the old one first; the old one
        // is kept aside until the list is saved, and put back otherwise.
        const QString path = config::greetingFile(t.id);
        const platform::StagedFile staged = firstStep(path, [&] { return platform::stageReplacement(path, sound); });
        std::optional<QString> aside;
        stepOrUndo(
            path,
            [&] {
                if (platform::existsAtName(staged.target))
                    aside = platform::moveAside(staged.target);
            },
            [&] { platform::discardReplacement(staged); }, QString());
        const auto putBack = [&] {
            if (aside)
                platform::renameFile(*aside, staged.target);
        };
        const QString movedAside =
            QStringLiteral("the greeting %1 was moved to %2").arg(path, aside.value_or(QString()));
        stepOrUndo(
            path, [&] { platform::commitReplacement(staged); }, putBack, movedAside);
        stepOrUndo(
            config::mailboxList(), [&] { folder.save(); },
            [&] {
                if (aside)
                    putBack();
                else
                    platform::deleteFile(staged.target);
            },
            QStringLiteral("the new greeting %1 is installed").arg(path));
        if (aside)
            removeAside(*aside, QStringLiteral("installed the greeting of box %1").arg(t.id));
        print(QStringLiteral("installed the greeting of box %1").arg(t.id));
    }
};

}  // namespace

void listBoxes(const Invocation& inv, Streams& streams) { Run(inv, streams).list(); }
void exportBoxes(const Invocation& inv, Streams& streams) { Run(inv, streams).exportFile(); }
void importBoxes(const Invocation& inv, Streams& streams) { Run(inv, streams).importFile(); }
void addBox(const Invocation& inv, Streams& streams) { Run(inv, streams).add(); }
void setBox(const Invocation& inv, Streams& streams) { Run(inv, streams).set(); }
void deleteBox(const Invocation& inv, Streams& streams) { Run(inv, streams).remove(); }
void installGreeting(const Invocation& inv, Streams& streams) { Run(inv, streams).greeting(); }

QByteArray readInput(const QString& file, QIODevice& in)
{
    if (file != QLatin1String("-")) {
        try {
            return platform::readFile(file, kLargestInput);
        } catch (const platform::RuntimeError& e) {
            failData(fileFailure(file, e.number(), e.description()));
        }
    }
    QByteArray bytes;
    while (bytes.size() <= kLargestInput) {
        const QByteArray piece = in.read(std::min<qint64>(1 << 20, kLargestInput + 1 - bytes.size()));
        if (piece.isEmpty())
            break;
        bytes += piece;
    }
    if (bytes.size() > kLargestInput)
        failData(QStringLiteral("standard input: more than %1 bytes; a file read whole is at most that large")
                     .arg(kLargestInput));
    return bytes;
}

}  // namespace vm::vmbox
