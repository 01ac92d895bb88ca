#include "Vmbox.h"

#include "BoxListing.h"
#include "CommandFailure.h"
#include "CommandLine.h"
#include "ImportPlan.h"
#include "MailboxFolder.h"
#include "WaveFormat.h"

#include "config/Paths.h"
#include "mailbox/BoxStore.h"
#include "mailbox/SafeFileName.h"
#include "platform/AppFolder.h"
#include "platform/FileSystem.h"
#include "platform/LocaleText.h"
#include "platform/RuntimeError.h"

#include <QFileInfo>

namespace vm::vmbox {

namespace {

constexpr int kProblemsShown = 20;

class Run {
public:
    Run(const Invocation& inv, QIODevice& out, QIODevice& err) : inv_(inv), out_(out), err_(err) {}

    void command()
    {
        switch (*inv_.command) {
            case Command::List: return list();
            case Command::Export: return exportFile();
            case Command::Import: return importFile();
            case Command::Add: return add();
            case Command::Set: return set();
            case Command::Delete: return remove();
            case Command::Greeting: return greeting();
        }
    }

private:
    void print(const QString& line) { out_.write((line + QLatin1Char('\n')).toUtf8()); }
    void warn(const QString& line) { err_.write((QStringLiteral("vmbox: ") + line + QLatin1Char('\n')).toUtf8()); }

    MailboxFolder readFolder()
    {
        MailboxFolder folder(MailboxFolder::Purpose::Reading);
        if (!folder.warning().isEmpty())
            warn(folder.warning());
        return folder;
    }
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
        MailboxFolder folder = readFolder();
        try {
            fs::replaceFileAtomically(QFileInfo(file).absoluteFilePath(), boxesAsCsv(folder.table()));
        } catch (const RuntimeError& e) {
            failData(fileFailure(file, e.number(), e.description()));
        }
    }

    QByteArray readInput(const QString& file)
    {
        try {
            if (QFileInfo(file).isDir())
                raiseError(err::PathFileAccessError);
            return fs::readFile(file);
        } catch (const RuntimeError& e) {
            failData(fileFailure(file, e.number(), e.description()));
        }
    }

    void importFile()
    {
        const QString file = inv_.arguments[0];
        const QByteArray csv = readInput(file);
        MailboxFolder folder(inv_.dryRun ? MailboxFolder::Purpose::Reading : MailboxFolder::Purpose::Changing,
                             inv_.wait);
        const ImportPlan plan = planImport(folder.table(), csv, inv_.encoding);
        if (!plan.problems.empty())
            failImport(file, plan);
        int boxes = 0;
        for (int i = 1; i <= folder.table().upperBound(); ++i)
            boxes += folder.table().at(i).Id.isEmpty() ? 0 : 1;
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
        applyImport(folder.table(), plan);
        folder.save();
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
    TargetBox target(const MailboxTable& table)
    {
        try {
            return targetOf(table, inv_.arguments[0]);
        } catch (const FieldProblem& p) {
            failData(p.message());
        }
    }

    TargetBox existing(const MailboxTable& table)
    {
        const TargetBox t = target(table);
        if (t.index < 1)
            failData(QStringLiteral("%1: no box %2").arg(paths::mailboxList(), t.id));
        return t;
    }

    BoxEdit edited(const MailboxTable& table, const TargetBox& t)
    {
        try {
            return editBox(table, t, inv_.fields);
        } catch (const FieldProblem& p) {
            failData(QStringLiteral("--%1: %2").arg(optionName(p.column()), p.message()));
        }
    }

    void add()
    {
        MailboxFolder folder = changeFolder();
        const TargetBox t = target(folder.table());
        if (t.index > 0)
            failData(
                QStringLiteral("%1: box %2 exists already; change it with vmbox set").arg(paths::mailboxList(), t.id));
        if (folder.table().upperBound() >= kMostEntries)
            failData(QStringLiteral("%1: box %2 would be entry %3 of the list; it holds at most %4")
                         .arg(paths::mailboxList(), t.id)
                         .arg(kMostEntries + 1)
                         .arg(kMostEntries));
        const BoxEdit edit = edited(folder.table(), t);
        storeBox(folder.table(), edit.box);
        folder.save();
        print(QStringLiteral("added box %1").arg(t.id));
    }

    void set()
    {
        MailboxFolder folder = changeFolder();
        const TargetBox t = existing(folder.table());
        const BoxEdit edit = edited(folder.table(), t);
        storeBox(folder.table(), edit.box);
        folder.save();
        print(edit.changed.empty() ? QStringLiteral("box %1 unchanged").arg(t.id)
                                   : QStringLiteral("changed box %1: %2").arg(t.id, columnList(edit.changed)));
    }

    void remove()
    {
        MailboxFolder folder = changeFolder();
        MailboxTable& table = folder.table();
        const TargetBox t = existing(table);
        if (table.upperBound() == 1)
            failData(QStringLiteral("%1: box %2 is the list's only entry, and a list without boxes is never saved; "
                                    "nothing was changed")
                         .arg(paths::mailboxList(), t.id));
        QStringList greeting;
        if (!inv_.keepGreeting && isSafeFileNamePart(t.id))
            greeting << paths::greetingFile(t.id);
        table.remove(t.index);
        folder.save(greeting);
        print(QStringLiteral("deleted box %1; its messages stay").arg(t.id));
    }

    void greeting()
    {
        const QString file = inv_.arguments[1];
        const QByteArray sound = readInput(file);
        const std::optional<WaveFormat> format = waveFormatOf(sound);
        if (!format)
            failData(
                QStringLiteral("%1: not a WAV file (no RIFF/WAVE header with a format and a data chunk)").arg(file));
        if (!format->playableByEngine())
            failData(QStringLiteral("%1: %2; the engine plays WAV files in PCM, 8 kHz, 16 bit, mono")
                         .arg(file, format->describe()));
        MailboxFolder folder = changeFolder();
        const TargetBox t = existing(folder.table());
        if (!isSafeFileNamePart(t.id))
            failData(QStringLiteral("box %1 cannot have a greeting: its number is no safe file name").arg(t.id));
        const QString path = paths::greetingFile(t.id);
        try {
            fs::replaceFileAtomically(path, sound);
        } catch (const RuntimeError& e) {
            failData(fileFailure(path, e.number(), e.description()));
        }
        folder.save();
        print(QStringLiteral("installed the greeting of box %1").arg(t.id));
    }

    const Invocation& inv_;
    QIODevice& out_;
    QIODevice& err_;
};

}  // namespace

int runVmbox(const QStringList& arguments, QIODevice& out, QIODevice& err)
{
    const auto fail = [&](const QStringList& lines) {
        for (const QString& line : lines)
            err.write((QStringLiteral("vmbox: ") + line + QLatin1Char('\n')).toUtf8());
    };
    try {
        const Invocation inv = parseCommandLine(arguments);
        if (inv.help) {
            out.write((inv.command ? commandHelp(*inv.command) : programHelp()).toUtf8());
            return 0;
        }
        if (inv.version) {
            const locale::Version v = locale::programVersion();
            out.write(QStringLiteral("vmbox %1.%2.%3\n").arg(v.major).arg(v.minor).arg(v.revision).toUtf8());
            return 0;
        }
        if (!inv.appFolder.isEmpty())
            setAppFolder(inv.appFolder);
        else if (!isApplicationFolder(appFolder()))
            failUsage(QStringLiteral("%1 (the folder of this program) is no application folder: it holds neither "
                                     "QV.INI nor data; name one with --app-folder DIR")
                          .arg(appFolder()));
        Run(inv, out, err).command();
        return 0;
    } catch (const CommandFailure& f) {
        fail(f.lines());
        return f.exitStatus();
    } catch (const RuntimeError& e) {
        fail({QStringLiteral("%1 (error %2)").arg(e.description()).arg(e.number())});
        return kExitBadData;
    }
}

}  // namespace vm::vmbox
