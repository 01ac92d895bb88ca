#include "CommandTable.h"

#include "BoxColumns.h"
#include "BoxCommands.h"
#include "CommandFailure.h"
#include "Completion.h"
#include "ForwardCommand.h"
#include "MessageCommands.h"
#include "Stats.h"

#include "mailbox/MessageFileName.h"

#include <QDate>
#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace vm::vmbox {

namespace {

const Argument kId = {"ID", "the box number: digits"};
const Argument kFile = {"FILE", "a message: its path, or its bare name in data/VmSave/"};

// A whole number from `least` to `most` written in digits only.
qint64 wholeNumber(const QString& option, const QString& value, qint64 least, qint64 most, const QString& unit)
{
    bool ok = false;
    const qint64 n = value.toLongLong(&ok);
    if (!mailbox::isDigits(value) || !ok || n < least || n > most)
        failUsage(QStringLiteral("--%1 takes a number of %2 from %3 to %4, not \"%5\"")
                      .arg(option, unit)
                      .arg(least)
                      .arg(most)
                      .arg(value));
    return n;
}

QDate dateOf(const QString& option, const QString& value, bool daysBack)
{
    static const QRegularExpression lastDays(QStringLiteral("^([0-9]{1,5})d$"));
    if (daysBack) {
        if (const QRegularExpressionMatch m = lastDays.match(value); m.hasMatch()) {
            // The last N days: today and the N - 1 days before it.
            const qint64 days = wholeNumber(option, m.captured(1), 1, 36500, QStringLiteral("days"));
            return QDate::currentDate().addDays(1 - days);
        }
    }
    const QDate date = QDate::fromString(value, QStringLiteral("yyyy-MM-dd"));
    if (value.size() != 10 || !date.isValid())
        failUsage(QStringLiteral("--%1 takes a date YYYY-MM-DD%2, not \"%3\"")
                      .arg(option, daysBack ? QStringLiteral(" or a number of days Nd") : QString(), value));
    return date;
}

OptionSpec flag(const char* name, const char* description, std::function<void(Invocation&)> set)
{
    return {QLatin1String(name), QString(), QLatin1String(description),
            [set = std::move(set)](const QString&, Invocation& inv) { set(inv); }};
}

const OptionSpec kFormat = {
    QStringLiteral("format"), QStringLiteral("table|csv|json"), QStringLiteral("table (the default), csv or json."),
    [](const QString& value, Invocation& inv) {
        if (value == QLatin1String("csv"))
            inv.format = ListFormat::Csv;
        else if (value == QLatin1String("json"))
            inv.format = ListFormat::Json;
        else if (value != QLatin1String("table"))
            failUsage(QStringLiteral("--format takes table, csv or json, not \"%1\"").arg(value));
    }};

const OptionSpec kDryRun = flag("dry-run", "Show what would be done; write nothing.",
                                [](Invocation& inv) { inv.dryRun = true; });

struct FieldHelp {
    Column column;
    const char* value;
    const char* description;
};

const std::array<FieldHelp, 10> kFieldHelp = {{
    {Column::Pin, "DIGITS", "PIN: one to four digits."},
    {Column::Description, "TEXT", "Comment shown beside the box."},
    {Column::Groups, "TEXT", "Voicemail groups."},
    {Column::EmailForward, "ADDRESS", "E-mail address new messages go to."},
    {Column::PhoneForward, "NUMBER", "Telephone number new messages go to."},
    {Column::PagerNumber, "NUMBER", "Numeric pager telephone number."},
    {Column::PagerMessage, "DIGITS", "Digits sent to the pager."},
    {Column::OnReceive, "COMMAND", "Command line run when a message arrives."},
    {Column::FtpUpload, "0|1", "Upload new messages to the FTP server."},
    {Column::DeleteAfterForward, "0|1", "Delete a message once forwarded."},
}};

// Add takes the PIN as its argument.
std::vector<OptionSpec> fieldOptions(bool withPin)
{
    std::vector<OptionSpec> options;
    for (const FieldHelp& f : kFieldHelp)
        if (withPin || f.column != Column::Pin)
            options.push_back({optionName(f.column), QLatin1String(f.value), QLatin1String(f.description),
                               [column = f.column](const QString& value, Invocation& inv) {
                                   inv.fields.push_back({column, value});
                               }});
    return options;
}

std::vector<OptionSpec> findOptions()
{
    const auto found = [](Invocation& inv) -> Invocation& {
        inv.found = true;
        return inv;
    };
    return {
        kFormat,
        {QStringLiteral("caller"), QStringLiteral("TEXT"),
         QStringLiteral("Only messages whose caller contains TEXT (letter case ignored)."),
         [=](const QString& v, Invocation& inv) { found(inv).criteria.caller = v; }},
        {QStringLiteral("since"), QStringLiteral("DATE|Nd"),
         QStringLiteral("Only messages of this local day (YYYY-MM-DD) or later; Nd: of the last N days, today "
                        "included."),
         [=](const QString& v, Invocation& inv) {
             found(inv).criteria.from = dateOf(QStringLiteral("since"), v, true);
         }},
        {QStringLiteral("until"), QStringLiteral("DATE"),
         QStringLiteral("Only messages of this local day (YYYY-MM-DD) or earlier."),
         [=](const QString& v, Invocation& inv) {
             found(inv).criteria.to = dateOf(QStringLiteral("until"), v, false);
         }},
        flag("new", "Only new messages.",
             [=](Invocation& inv) { found(inv).criteria.kind = mailbox::MessageKind::New; }),
        flag("saved", "Only saved messages.",
             [=](Invocation& inv) { found(inv).criteria.kind = mailbox::MessageKind::Saved; }),
        {QStringLiteral("min-length"), QStringLiteral("SECONDS"),
         QStringLiteral("Only messages that play at least this many whole seconds."),
         [=](const QString& v, Invocation& inv) {
             found(inv).criteria.minSeconds = wholeNumber(QStringLiteral("min-length"), v, 0, 1000000000,
                                                          QStringLiteral("seconds"));
         }},
        {QStringLiteral("sort"), QStringLiteral("date|box|length|caller"),
         QStringLiteral("Order by this (default: box, then date)."),
         [=](const QString& v, Invocation& inv) {
             static const std::array<std::pair<const char*, mailbox::MessageKey>, 4> keys = {
                 {{"date", mailbox::MessageKey::Date},
                  {"box", mailbox::MessageKey::Box},
                  {"length", mailbox::MessageKey::Length},
                  {"caller", mailbox::MessageKey::Caller}}};
             for (const auto& [name, key] : keys)
                 if (v == QLatin1String(name)) {
                     found(inv).order.key = key;
                     return;
                 }
             failUsage(QStringLiteral("--sort takes date, box, length or caller, not \"%1\"").arg(v));
         }},
        flag("reverse", "Show the order the other way round.",
             [=](Invocation& inv) { found(inv).order.reverse = true; }),
    };
}

void checkSet(Invocation& inv)
{
    if (inv.fields.empty())
        failUsage(QStringLiteral("set needs at least one field option; see vmbox set --help"));
}

void checkAdd(Invocation& inv) { inv.fields.insert(inv.fields.begin(), GivenValue{Column::Pin, inv.arguments[1]}); }

void checkMark(Invocation& inv)
{
    if (inv.arguments[1] != QLatin1String("new") && inv.arguments[1] != QLatin1String("saved"))
        failUsage(QStringLiteral("message mark takes new or saved, not \"%1\"").arg(inv.arguments[1]));
}

void checkMessages(Invocation& inv)
{
    if (inv.criteria.from && inv.criteria.to && *inv.criteria.from > *inv.criteria.to)
        failUsage(QStringLiteral("--since %1 is after --until %2")
                      .arg(inv.criteria.from->toString(Qt::ISODate), inv.criteria.to->toString(Qt::ISODate)));
}

void checkComplete(Invocation& inv)
{
    if (inv.arguments[0] != QLatin1String("boxes") && inv.arguments[0] != QLatin1String("messages"))
        failUsage(QStringLiteral("complete takes boxes or messages, not \"%1\"").arg(inv.arguments[0]));
}

void showHelp(const Invocation& /*inv*/, Streams& streams) { streams.out.write(programHelp().toUtf8()); }

std::vector<CommandSpec> makeCommands()
{
    const QString none;
    return {
        {none,
         QStringLiteral("list"),
         {},
         QStringLiteral("show the boxes in table order on standard output"),
         QStringLiteral(
             "Shows the boxes as the window would (a legacy list is read too) and changes no file. The table\n"
             "shows control characters as \\xHH; csv is what export writes, json is UTF-8."),
         {kFormat},
         listBoxes},
        {none,
         QStringLiteral("export"),
         {{"FILE.csv", "the file to write, or - for standard output"}},
         QStringLiteral("write every box as CSV"),
         QStringLiteral(
             "Writes a header row naming the eleven fields (Id, Pin, Description, Groups, EmailForward,\n"
             "PhoneForward, PagerNumber, PagerMessage, OnReceive, FtpUpload, DeleteAfterForward) and one row\n"
             "a box, in windows-1252 with CR LF line ends. Importing the file again changes nothing. FILE.csv\n"
             "must be a regular file (a link is written at its target) outside the application folder's\n"
             "shared files: data/, QV.INI, VmEmailForwardBody.txt, FSCLIENT.INI and system/ are refused."),
         {},
         exportBoxes},
        {none,
         QStringLiteral("import"),
         {{"FILE.csv", "a regular file of at most 64 MiB, or - for standard input"}},
         QStringLiteral("add and change boxes from a CSV file"),
         QStringLiteral(
             "The header row names the columns: any of the eleven fields, in any order, letter case ignored;\n"
             "Id is required. A row whose Id names a box changes that box, any other row adds one (sorted\n"
             "into place as the window adds). A missing column keeps the stored value, or is empty for a new\n"
             "box; a value equal to the stored one is kept as it is. Other values lose the blanks at either\n"
             "end and must fit their field: Id digits, Pin one to four digits, the flags 0 or 1, text without\n"
             "control characters (tabs aside). New boxes need a PIN. The file is UTF-8 (recognised by its\n"
             "byte-order mark or its content) or windows-1252; characters windows-1252 lacks are refused.\n"
             "Quoting follows RFC 4180. A box may appear once per file. Any bad row, reported as\n"
             "FILE:LINE:COLUMN: what, makes the whole import write nothing."),
         {flag("dry-run", "Show what would be added, changed and left alone; write nothing.",
               [](Invocation& inv) { inv.dryRun = true; }),
          {QStringLiteral("encoding"), QStringLiteral("windows-1252|utf-8"),
           QStringLiteral("Read the file in this encoding (windows-1252 text whose bytes happen to form UTF-8 is "
                          "otherwise read as UTF-8)."),
           [](const QString& value, Invocation& inv) {
               if (value.compare(QLatin1String("windows-1252"), Qt::CaseInsensitive) == 0)
                   inv.encoding = CsvEncoding::Windows1252;
               else if (value.compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0)
                   inv.encoding = CsvEncoding::Utf8;
               else
                   failUsage(QStringLiteral("--encoding takes windows-1252 or utf-8, not \"%1\"").arg(value));
           }}},
         importBoxes},
        {none,
         QStringLiteral("add"),
         {kId, {"PIN", "one to four digits"}},
         QStringLiteral("add a box"),
         QStringLiteral("Adds the box as the window's Add / Modify button does; it is sorted into place. Fails when "
                        "the\nbox exists. Text values lose the blanks at either end."),
         fieldOptions(false),
         addBox,
         checkAdd},
        {none,
         QStringLiteral("set"),
         {kId},
         QStringLiteral("change fields of a box"),
         QStringLiteral(
             "Changes the fields given and keeps the others. ID names the box as the window does, or by the\n"
             "exact number it has in the list file. Text values lose the blanks at either end."),
         fieldOptions(true),
         setBox,
         checkSet},
        {none,
         QStringLiteral("delete"),
         {kId},
         QStringLiteral("delete a box and its greeting"),
         QStringLiteral(
             "Deletes the box as the window's delete button does, greeting included; its messages stay.\n"
             "A folder's only box cannot be deleted: a list without boxes is never saved. Either the box and\n"
             "its greeting both go, or nothing changes."),
         {flag("keep-greeting", "Leave the box's greeting file in place.",
               [](Invocation& inv) { inv.keepGreeting = true; })},
         deleteBox},
        {none,
         QStringLiteral("greeting"),
         {kId, {"FILE.wav", "a regular file of at most 64 MiB, or - for standard input"}},
         QStringLiteral("install a box's welcome greeting"),
         QStringLiteral(
             "Copies FILE.wav as the box's greeting after checking that the engine can play it to its end: a\n"
             "whole WAV file in the recording template's format, PCM, 8 kHz, 16 bit, mono."),
         {},
         installGreeting},
        // A message is its file in data/VmSave/, named Id_stamp_marker_line_caller.wav.
        {none,
         QStringLiteral("messages"),
         {{"[ID]", "only this box's messages; the list must hold the box"}},
         QStringLiteral("show the messages of every box or of one"),
         QStringLiteral(
             "Lists every entry of data/VmSave/ (or those whose name begins with ID_) with its box, the file's\n"
             "date and time, its length in seconds from the WAV header, new or saved, line, caller and file\n"
             "name. A name without a message's form, a file still being written (its WAV sizes disagree with\n"
             "its length) and anything that is no regular file are listed too, with a note saying so.\n"
             "The filters combine: a message is shown when it meets each one given. Changes no file."),
         findOptions(),
         showMessages,
         checkMessages},
        {QStringLiteral("message"),
         QStringLiteral("copy"),
         {kFile, kId},
         QStringLiteral("copy a message to another box"),
         QStringLiteral(
             "The copy keeps the stamp, line, caller and file time, takes the box's number and is new for it.\n"
             "Where that name is taken, the copy takes the next free second of the stamp; nothing is replaced.\n"
             "The box must exist."),
         {},
         copyMessageTo},
        {QStringLiteral("message"),
         QStringLiteral("mark"),
         {kFile, {"new|saved", "what the message becomes"}},
         QStringLiteral("mark a message new or saved"),
         QStringLiteral("Renames the message with the new-marker 1 (new) or 0 (saved) in one step that never replaces\n"
                        "another file; the file's time, which lists show as its date, stays."),
         {},
         markMessageAs,
         checkMark},
        {QStringLiteral("message"),
         QStringLiteral("export"),
         {kFile, {"TARGET", "a new file to write, or - for standard output"}},
         QStringLiteral("save a copy of a message outside the folder"),
         QStringLiteral(
             "Writes the message's bytes to TARGET, which must not exist yet (nothing is replaced), with the\n"
             "message's file time."),
         {},
         exportMessageTo},
        {QStringLiteral("message"),
         QStringLiteral("delete"),
         {kFile},
         QStringLiteral("delete a message to the trash"),
         QStringLiteral(
             "Moves the message to the desktop's trash, from where a file manager or gio trash --restore puts\n"
             "it back. Where no trash takes the file (no trash of this account on its file system) it is\n"
             "deleted for good, and the output says so. A message marked read-only is kept."),
         {},
         deleteMessageFile},
        {QStringLiteral("message"),
         QStringLiteral("forward"),
         {kFile, {"ADDRESS", "the e-mail address to send it to"}},
         QStringLiteral("send a message by e-mail"),
         QStringLiteral(
             "Sends the message as a WAV attachment with the subject and body of the window's Email tab, by\n"
             "the method it selects: through the SMTP server from the return address (with the login when\n"
             "one is set, encrypted when the server offers STARTTLS), or with the system's mail program,\n"
             "/usr/sbin/sendmail -t -i. Prints where it went; a refusal gives the server's or the mail\n"
             "program's reply. Changes no file."),
         {},
         forwardByEmail},
        {none,
         QStringLiteral("purge"),
         {},
         QStringLiteral("delete old messages"),
         QStringLiteral(
             "Deletes the messages whose file time is more than DAYS days old, and prints each one deleted and\n"
             "a summary. Only regular files whose names have a message's form are deleted. A message marked\n"
             "read-only is kept and listed as kept. Purge frees space: what it deletes is gone for good, and\n"
             "its last line says how much space that was."),
         {{QStringLiteral("older-than"), QStringLiteral("DAYS"),
           QStringLiteral("Delete messages whose file time is more than this many days old (0 takes every "
                          "message older than now)."),
           [](const QString& v, Invocation& inv) {
               inv.olderThanDays = static_cast<int>(
                   wholeNumber(QStringLiteral("older-than"), v, 0, 36500, QStringLiteral("days")));
           },
           true},
          flag("saved-only", "Leave new messages alone.", [](Invocation& inv) { inv.savedOnly = true; }),
          {QStringLiteral("box"), QStringLiteral("ID"), QStringLiteral("Only this box's messages."),
           [](const QString& v, Invocation& inv) {
               if (!mailbox::isDigits(v))
                   failUsage(QStringLiteral("--box takes a box number, not \"%1\"").arg(v));
               inv.box = v;
           }},
          flag("dry-run", "Show what would be deleted; delete nothing.", [](Invocation& inv) { inv.dryRun = true; })},
         purgeMessages},
        {none,
         QStringLiteral("stats"),
         {},
         QStringLiteral("count each box's messages, their length and size"),
         QStringLiteral(
             "Shows for each box with messages in data/VmSave/ how many are new and saved, how many seconds\n"
             "they play (from the WAV headers, as messages shows), the oldest and newest message's date and\n"
             "the bytes they take; then a line with the folder's totals and the space left on its file\n"
             "system. The table shows sizes in KiB, MiB and GiB; csv and json give exact bytes. Changes no\n"
             "file."),
         {kFormat},
         showStats},
        {none,
         QStringLiteral("help"),
         {{"[COMMAND]", "the command or group to explain"}},
         QStringLiteral("show the help of vmbox or of a command"),
         QStringLiteral("Shows what vmbox --help or vmbox COMMAND --help shows."),
         {},
         showHelp},
        {none,
         QStringLiteral("complete"),
         {{"boxes|messages", "what to name"}},
         QStringLiteral("name the boxes or messages, one a line, for the shell's completion"),
         QStringLiteral("Prints the box numbers of the list, or the names in data/VmSave/, one a line."),
         {},
         completeNames,
         checkComplete,
         true},
    };
}

}  // namespace

const std::vector<CommandSpec>& commands()
{
    static const std::vector<CommandSpec> all = makeCommands();
    return all;
}

const std::vector<OptionSpec>& globalOptions()
{
    static const std::vector<OptionSpec> all = {
        flag("help", "Show this help; vmbox COMMAND --help shows a command's.",
             [](Invocation& inv) { inv.help = true; }),
        flag("version", "Show the program's version.", [](Invocation& inv) { inv.version = true; }),
        {QStringLiteral("app-folder"), QStringLiteral("DIR"),
         QStringLiteral("The application folder (default: $VMBOX_APP_FOLDER, else the folder of this program). It "
                        "must hold the engine's files, QV.INI or data."),
         [](const QString& v, Invocation& inv) {
             inv.appFolder = v;
             inv.appFolderFrom = QStringLiteral("--app-folder");
         }},
        {QStringLiteral("wait"), QStringLiteral("SECONDS"),
         QStringLiteral("How long a change waits for another manager to let the folder go (default 0, at most "
                        "86400)."),
         [](const QString& value, Invocation& inv) {
             bool ok = false;
             const double seconds = QLocale::c().toDouble(value, &ok);
             if (!ok || seconds < 0 || seconds > 86400)
                 failUsage(QStringLiteral("--wait takes a number of seconds from 0 to 86400, not \"%1\"").arg(value));
             inv.wait = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
         }},
        flag("quiet", "Show no progress on standard error.", [](Invocation& inv) { inv.quiet = true; }),
    };
    return all;
}

}  // namespace vm::vmbox
