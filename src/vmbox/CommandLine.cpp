#include "CommandLine.h"

#include "CommandFailure.h"

#include "platform/FileSystem.h"

#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <algorithm>
#include <array>

namespace vm::vmbox {

namespace {

struct Argument {
    const char* name;
    const char* description;
};

struct CommandSyntax {
    Command command;
    const char* name;
    std::array<Argument, 2> arguments;  // those with a name, in order
    const char* summary;
    const char* details;
};

const Argument kId = {"ID", "the box number: digits"};
const Argument kNone = {nullptr, nullptr};
const Argument kFile = {"FILE", "a message: its path, or its bare name in data/VmSave/"};

const std::array<CommandSyntax, 14> kCommands = {{
    {Command::List,
     "list",
     {kNone, kNone},
     "show the boxes in table order on standard output",
     "Shows the boxes as the window would (a legacy list is read too) and changes no file. The table\n"
     "shows control characters as \\xHH; csv is what export writes, json is UTF-8.\n"},
    {Command::Export,
     "export",
     {{{"FILE.csv", "the file to write, or - for standard output"}, kNone}},
     "write every box as CSV",
     "Writes a header row naming the eleven fields (Id, Pin, Description, Groups, EmailForward,\n"
     "PhoneForward, PagerNumber, PagerMessage, OnReceive, FtpUpload, DeleteAfterForward) and one row\n"
     "a box, in windows-1252 with CR LF line ends. Importing the file again changes nothing. FILE.csv\n"
     "must be a regular file (a link is written at its target) outside the application folder's\n"
     "shared files: data/, QV.INI, VmEmailForwardBody.txt, FSCLIENT.INI and system/ are refused.\n"},
    {Command::Import,
     "import",
     {{{"FILE.csv", "a regular file of at most 64 MiB"}, kNone}},
     "add and change boxes from a CSV file",
     "The header row names the columns: any of the eleven fields, in any order, letter case ignored;\n"
     "Id is required. A row whose Id names a box changes that box, any other row adds one (sorted\n"
     "into place as the window adds). A missing column keeps the stored value, or is empty for a new\n"
     "box; a value equal to the stored one is kept as it is. Other values lose the blanks at either\n"
     "end and must fit their field: Id digits, Pin one to four digits, the flags 0 or 1, text without\n"
     "control characters (tabs aside). New boxes need a PIN. The file is UTF-8 (recognised by its\n"
     "byte-order mark or its content) or windows-1252; characters windows-1252 lacks are refused.\n"
     "Quoting follows RFC 4180. A box may appear once per file. Any bad row, reported as\n"
     "FILE:LINE:COLUMN: what, makes the whole import write nothing.\n"},
    {Command::Add,
     "add",
     {{kId, {"PIN", "one to four digits"}}},
     "add a box",
     "Adds the box as the window's Add / Modify button does; it is sorted into place. Fails when the\n"
     "box exists. Text values lose the blanks at either end.\n"},
    {Command::Set,
     "set",
     {kId, kNone},
     "change fields of a box",
     "Changes the fields given and keeps the others. ID names the box as the window does, or by the\n"
     "exact number it has in the list file. Text values lose the blanks at either end.\n"},
    {Command::Delete,
     "delete",
     {kId, kNone},
     "delete a box and its greeting",
     "Deletes the box as the window's delete button does, greeting included; its messages stay.\n"
     "A folder's only box cannot be deleted: a list without boxes is never saved. Either the box and\n"
     "its greeting both go, or nothing changes.\n"},
    {Command::Greeting,
     "greeting",
     {{kId, {"FILE.wav", "a regular file of at most 64 MiB"}}},
     "install a box's welcome greeting",
     "Copies FILE.wav as the box's greeting after checking that the engine can play it to its end: a\n"
     "whole WAV file in the recording template's format, PCM, 8 kHz, 16 bit, mono.\n"},
    // Messages: a message is its file in data/VmSave/, named Id_stamp_marker_line_caller.wav.
    {Command::Messages,
     "messages",
     {{{"[ID]", "only this box's messages"}, kNone}},
     "show the messages of every box or of one",
     "Lists every entry of data/VmSave/ (or those whose name begins with ID_) with its box, the file's\n"
     "date and time, its length in seconds from the WAV header, new or saved, line, caller and file\n"
     "name. A name without a message's form, a file still being written (its WAV sizes disagree with\n"
     "its length) and anything that is no regular file are listed too, with a note saying so.\n"
     "Changes no file.\n"},
    {Command::MessageCopy,
     "message copy",
     {{kFile, kId}},
     "copy a message to another box",
     "The copy keeps the stamp, line, caller and file time, takes the box's number and is new for it.\n"
     "Where that name is taken, the copy takes the next free second of the stamp; nothing is replaced.\n"
     "The box must exist.\n"},
    {Command::MessageMark,
     "message mark",
     {{kFile, {"new|saved", "what the message becomes"}}},
     "mark a message new or saved",
     "Renames the message with the new-marker 1 (new) or 0 (saved) in one step that never replaces\n"
     "another file; the file's time, which lists show as its date, stays.\n"},
    {Command::MessageExport,
     "message export",
     {{kFile, {"TARGET", "a new file to write, or - for standard output"}}},
     "save a copy of a message outside the folder",
     "Writes the message's bytes to TARGET, which must not exist yet (nothing is replaced), with the\n"
     "message's file time.\n"},
    {Command::MessageDelete,
     "message delete",
     {kFile, kNone},
     "delete a message to the trash",
     "Moves the message to the desktop's trash, from where a file manager or gio trash --restore puts\n"
     "it back. Where no trash takes the file (no trash of this account on its file system) it is\n"
     "deleted for good, and the output says so. A message marked read-only is kept.\n"},
    {Command::MessageForward,
     "message forward",
     {{kFile, {"ADDRESS", "the e-mail address to send it to"}}},
     "send a message by e-mail",
     "Sends the message as a WAV attachment with the subject and body of the window's Email tab, by\n"
     "the method it selects: through the SMTP server from the return address (with the login when\n"
     "one is set, encrypted when the server offers STARTTLS), or with the system's mail program,\n"
     "/usr/sbin/sendmail -t -i. Prints where it went; a refusal gives the server's or the mail\n"
     "program's reply. Changes no file.\n"},
    {Command::Purge,
     "purge",
     {kNone, kNone},
     "delete old messages",
     "Deletes the messages whose file time is more than DAYS days old, and prints each one deleted and\n"
     "a summary. Only regular files whose names have a message's form are deleted. A message marked\n"
     "read-only is kept and listed as kept. Purge frees space: what it deletes is gone for good, and\n"
     "its last line says how much space that was.\n"},
}};

struct FieldHelp {
    Column column;
    const char* value;
    const char* description;
};

const std::array<FieldHelp, 10> kFieldHelp = {{
    {Column::Pin, "DIGITS", "PIN: one to four digits"},
    {Column::Description, "TEXT", "comment shown beside the box"},
    {Column::Groups, "TEXT", "voicemail groups"},
    {Column::EmailForward, "ADDRESS", "e-mail address new messages go to"},
    {Column::PhoneForward, "NUMBER", "telephone number new messages go to"},
    {Column::PagerNumber, "NUMBER", "numeric pager telephone number"},
    {Column::PagerMessage, "DIGITS", "digits sent to the pager"},
    {Column::OnReceive, "COMMAND", "command line run when a message arrives"},
    {Column::FtpUpload, "0|1", "upload new messages to the FTP server"},
    {Column::DeleteAfterForward, "0|1", "delete a message once forwarded"},
}};

const CommandSyntax& syntaxOf(Command command) { return kCommands[static_cast<std::size_t>(command)]; }

int argumentCount(const CommandSyntax& s) { return s.arguments[0].name ? (s.arguments[1].name ? 2 : 1) : 0; }

QString usageOf(const CommandSyntax& s)
{
    QString usage = QLatin1String(s.name);
    for (const Argument& a : s.arguments)
        if (a.name)
            usage += QLatin1Char(' ') + QLatin1String(a.name);
    return usage;
}

std::optional<Command> commandNamed(const QString& name)
{
    for (const CommandSyntax& s : kCommands)
        if (name == QLatin1String(s.name))
            return s.command;
    return std::nullopt;
}

const QString kProgram = QStringLiteral("vmbox");

// The options every command takes.
struct GlobalOptions {
    QCommandLineOption help{{QStringLiteral("h"), QStringLiteral("help")},
                            QStringLiteral("Show this help; vmbox COMMAND --help shows a command's.")};
    QCommandLineOption version{QStringLiteral("version"), QStringLiteral("Show the program's version.")};
    QCommandLineOption appFolder{QStringLiteral("app-folder"),
                                 QStringLiteral("The application folder (default: the folder of this program). It "
                                                "must hold the engine's files, QV.INI or data."),
                                 QStringLiteral("DIR")};
    QCommandLineOption wait{QStringLiteral("wait"),
                            QStringLiteral("How long a change waits for another manager to let the folder go "
                                           "(default 0, at most 86400)."),
                            QStringLiteral("SECONDS")};

    void addTo(QCommandLineParser& parser) const { parser.addOptions({help, version, appFolder, wait}); }
};

QString sentence(const char* phrase)
{
    QString text = QLatin1String(phrase) + QLatin1Char('.');
    text[0] = text[0].toUpper();
    return text;
}

// A command's parser: its own options, the global ones, the command's own, its arguments.
void describeCommand(QCommandLineParser& parser, const CommandSyntax& s, const GlobalOptions& global)
{
    parser.setApplicationDescription(QLatin1String(s.details).trimmed());
    switch (s.command) {
        case Command::List:
            parser.addOption({QStringLiteral("format"), QStringLiteral("table (the default), csv or json."),
                              QStringLiteral("table|csv|json")});
            break;
        case Command::Import:
            parser.addOption({QStringLiteral("dry-run"),
                              QStringLiteral("Show what would be added, changed and left alone; write nothing.")});
            parser.addOption({QStringLiteral("encoding"),
                              QStringLiteral("Read the file in this encoding (windows-1252 text whose bytes happen "
                                             "to form UTF-8 is otherwise read as UTF-8)."),
                              QStringLiteral("windows-1252|utf-8")});
            break;
        case Command::Delete:
            parser.addOption(
                {QStringLiteral("keep-greeting"), QStringLiteral("Leave the box's greeting file in place.")});
            break;
        case Command::Add:
        case Command::Set:
            // Add takes the PIN as its argument.
            for (const FieldHelp& f : kFieldHelp)
                if (s.command == Command::Set || f.column != Column::Pin)
                    parser.addOption({optionName(f.column), sentence(f.description), QLatin1String(f.value)});
            break;
        case Command::Messages:
            parser.addOption({QStringLiteral("format"), QStringLiteral("table (the default), csv or json."),
                              QStringLiteral("table|csv|json")});
            break;
        case Command::Purge:
            parser.addOption({QStringLiteral("older-than"),
                              QStringLiteral("Delete messages whose file time is more than this many days old "
                                             "(required; 0 takes every message older than now)."),
                              QStringLiteral("DAYS")});
            parser.addOption({QStringLiteral("saved-only"), QStringLiteral("Leave new messages alone.")});
            parser.addOption(
                {QStringLiteral("box"), QStringLiteral("Only this box's messages."), QStringLiteral("ID")});
            parser.addOption(
                {QStringLiteral("dry-run"), QStringLiteral("Show what would be deleted; delete nothing.")});
            break;
        case Command::Export:
        case Command::Greeting:
        case Command::MessageCopy:
        case Command::MessageMark:
        case Command::MessageExport:
        case Command::MessageDelete: break;
        case Command::MessageForward: break;
    }
    global.addTo(parser);
    parser.addPositionalArgument(QLatin1String(s.name), sentence(s.summary));
    for (const Argument& a : s.arguments)
        if (a.name)
            parser.addPositionalArgument(QLatin1String(a.name), sentence(a.description));
}

// Where the command stands: the first argument that is neither an option nor
// the value of a global one; -1 when there is none.
qsizetype commandPosition(const QStringList& arguments)
{
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (a == QLatin1String("--"))
            return i + 1 < arguments.size() ? i + 1 : -1;
        if (a == QLatin1String("--app-folder") || a == QLatin1String("--wait"))
            ++i;
        else if (!a.startsWith(u'-') || a.size() == 1)
            return i;
    }
    return -1;
}

void parseOrFail(QCommandLineParser& parser, const QStringList& arguments, const CommandSyntax* s)
{
    if (parser.parse(QStringList{kProgram} + arguments))
        return;
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty())
        failUsage(parser.errorText() + (s ? QStringLiteral(" See vmbox %1 --help.").arg(QLatin1String(s->name))
                                          : QStringLiteral(" See vmbox --help.")));
    const QString option = (unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + unknown.first();
    failUsage(s ? QStringLiteral("unknown option %1 for %2; see vmbox %2 --help").arg(option, QLatin1String(s->name))
                : QStringLiteral("unknown option %1; see vmbox --help").arg(option));
}

void readGlobalOptions(const QCommandLineParser& parser, const GlobalOptions& global, Invocation& inv)
{
    inv.help = parser.isSet(global.help);
    inv.version = parser.isSet(global.version);
    if (parser.isSet(global.appFolder)) {
        const QFileInfo dir(parser.value(global.appFolder));
        if (!platform::isFolder(dir.filePath()))
            failUsage(QStringLiteral("--app-folder: not a folder: %1").arg(dir.filePath()));
        inv.appFolder = QDir::cleanPath(dir.absoluteFilePath());
    }
    if (parser.isSet(global.wait)) {
        bool ok = false;
        const QString value = parser.value(global.wait);
        const double seconds = QLocale::c().toDouble(value, &ok);
        if (!ok || seconds < 0 || seconds > 86400)
            failUsage(QStringLiteral("--wait takes a number of seconds from 0 to 86400, not \"%1\"").arg(value));
        inv.wait = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
    }
}

void readCommandOptions(const QCommandLineParser& parser, Invocation& inv)
{
    const QStringList given = parser.optionNames();
    for (const QString& name : given) {
        if (given.count(name) > 1)
            failUsage(QStringLiteral("--%1 is given twice").arg(name));
        if (const std::optional<Column> field = columnOfOption(name))
            inv.fields.push_back({*field, parser.value(name)});
    }
    inv.dryRun = (inv.command == Command::Import || inv.command == Command::Purge) &&
                 parser.isSet(QStringLiteral("dry-run"));
    inv.keepGreeting = inv.command == Command::Delete && parser.isSet(QStringLiteral("keep-greeting"));
    if ((inv.command == Command::List || inv.command == Command::Messages) && parser.isSet(QStringLiteral("format"))) {
        const QString value = parser.value(QStringLiteral("format"));
        if (value == QLatin1String("csv"))
            inv.format = ListFormat::Csv;
        else if (value == QLatin1String("json"))
            inv.format = ListFormat::Json;
        else if (value != QLatin1String("table"))
            failUsage(QStringLiteral("--format takes table, csv or json, not \"%1\"").arg(value));
    }
    if (inv.command == Command::Import && parser.isSet(QStringLiteral("encoding"))) {
        const QString value = parser.value(QStringLiteral("encoding"));
        if (value.compare(QLatin1String("windows-1252"), Qt::CaseInsensitive) == 0)
            inv.encoding = CsvEncoding::Windows1252;
        else if (value.compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0)
            inv.encoding = CsvEncoding::Utf8;
        else
            failUsage(QStringLiteral("--encoding takes windows-1252 or utf-8, not \"%1\"").arg(value));
    }
}

// Purge's rule: the days required, a box given by its digits.
void readPurgeOptions(const QCommandLineParser& parser, Invocation& inv)
{
    if (inv.command != Command::Purge)
        return;
    inv.savedOnly = parser.isSet(QStringLiteral("saved-only"));
    if (!parser.isSet(QStringLiteral("older-than")))
        failUsage(QStringLiteral("purge needs --older-than DAYS; see vmbox purge --help"));
    const QString days = parser.value(QStringLiteral("older-than"));
    bool ok = false;
    inv.olderThanDays = days.toInt(&ok);
    if (!ok || inv.olderThanDays < 0 || inv.olderThanDays > 36500 || days.startsWith(u'+'))
        failUsage(QStringLiteral("--older-than takes a number of days from 0 to 36500, not \"%1\"").arg(days));
    if (parser.isSet(QStringLiteral("box"))) {
        inv.box = parser.value(QStringLiteral("box"));
        if (inv.box.isEmpty() || !std::all_of(inv.box.begin(), inv.box.end(), [](QChar c) { return c.isDigit(); }))
            failUsage(QStringLiteral("--box takes a box number, not \"%1\"").arg(inv.box));
    }
}

void checkArguments(const CommandSyntax& s, Invocation& inv)
{
    const int count = argumentCount(s);
    // An argument written [ID] may be left out.
    const bool optional = count == 1 && s.arguments[0].name[0] == '[';
    if (inv.arguments.size() != count && !(optional && inv.arguments.isEmpty()))
        failUsage(QStringLiteral("%1 takes %2; usage: vmbox %3")
                      .arg(QLatin1String(s.name),
                           count == 0   ? QStringLiteral("no arguments")
                           : count == 1 ? QStringLiteral("one argument")
                                        : QStringLiteral("two arguments"),
                           usageOf(s)));
    if (s.command == Command::Set && inv.fields.empty())
        failUsage(QStringLiteral("set needs at least one field option; see vmbox set --help"));
    if (s.command == Command::MessageMark && inv.arguments[1] != QLatin1String("new") &&
        inv.arguments[1] != QLatin1String("saved"))
        failUsage(QStringLiteral("message mark takes new or saved, not \"%1\"").arg(inv.arguments[1]));
    if (s.command == Command::Add)
        inv.fields.insert(inv.fields.begin(), GivenValue{Column::Pin, inv.arguments[1]});
}

// The parser's help with the program's own name in its usage line (the
// parser takes the name of the running executable, a test's in tests).
QString helpOf(const QCommandLineParser& parser)
{
    const QString text = parser.helpText();
    return QStringLiteral("Usage: ") + kProgram + text.mid(text.indexOf(QStringLiteral(" [options]")));
}

}  // namespace

Invocation parseCommandLine(const QStringList& arguments)
{
    const GlobalOptions global;
    const qsizetype at = commandPosition(arguments);
    // Before the command only global options may stand.
    QCommandLineParser leading;
    global.addTo(leading);
    parseOrFail(leading, at < 0 ? arguments : arguments.mid(0, at), nullptr);
    Invocation inv;
    if (at < 0) {
        readGlobalOptions(leading, global, inv);
        if (!inv.help && !inv.version)
            failUsage(QStringLiteral("no command given; see vmbox --help"));
        return inv;
    }
    // "message" is the first word of four commands.
    const bool twoWords = arguments[at] == QLatin1String("message");
    inv.command = commandNamed(twoWords ? arguments[at] + u' ' + arguments.value(at + 1) : arguments[at]);
    if (!inv.command && twoWords)
        failUsage(QStringLiteral("unknown command \"message %1\"; message takes copy, mark, export, delete or forward")
                      .arg(arguments.value(at + 1)));
    if (!inv.command)
        failUsage(QStringLiteral("unknown command \"%1\"; the commands are list, export, import, add, set, delete, "
                                 "greeting, messages, message and purge")
                      .arg(arguments[at]));
    const CommandSyntax& s = syntaxOf(*inv.command);
    QCommandLineParser parser;
    describeCommand(parser, s, global);
    parseOrFail(parser, arguments, &s);
    readGlobalOptions(parser, global, inv);
    if (inv.help || inv.version)
        return inv;
    inv.arguments = parser.positionalArguments().mid(twoWords ? 2 : 1);
    readCommandOptions(parser, inv);
    readPurgeOptions(parser, inv);
    checkArguments(s, inv);
    return inv;
}

QString programHelp()
{
    QString description = QStringLiteral(
        "Bulk administration of the voicemail boxes of a Quorvane application folder, on the files the\n"
        "Voicemail Manager window uses.\n\nCommands:\n");
    for (const CommandSyntax& s : kCommands)
        description += QStringLiteral("  %1 %2\n").arg(usageOf(s).leftJustified(27), QLatin1String(s.summary));
    description += QStringLiteral(
        "\nA change locks the folder as the window does, loads it as the window's start-up does and saves\n"
        "it as its close does (the list file is replaced whole). Exit status: 0 done, 1 bad data or a\n"
        "failed file operation (nothing written), 2 bad usage.");
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    GlobalOptions().addTo(parser);
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("One of the commands above."),
                                 QStringLiteral("COMMAND [ARGUMENTS]"));
    return helpOf(parser);
}

QString commandHelp(Command command)
{
    QCommandLineParser parser;
    describeCommand(parser, syntaxOf(command), GlobalOptions());
    return helpOf(parser);
}

}  // namespace vm::vmbox
