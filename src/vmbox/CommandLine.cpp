#include "CommandLine.h"

#include "CommandFailure.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>

#include <array>

namespace vm::vmbox {

namespace {

struct CommandSyntax {
    Command command;
    const char* name;
    int arguments;  // exactly this many
    const char* usage;
    const char* summary;
    const char* details;
};

const char* const kFieldOptions =
    "Fields (a value of any length; text keeps no blanks at either end):\n"
    "  --pin DIGITS                  PIN: digits only, the first four are kept\n"
    "  --description TEXT            comment shown beside the box\n"
    "  --groups TEXT                 voicemail groups\n"
    "  --email-forward ADDRESS       e-mail address new messages go to\n"
    "  --phone-forward NUMBER        telephone number new messages go to\n"
    "  --pager-number NUMBER         numeric pager telephone number\n"
    "  --pager-message DIGITS        digits sent to the pager\n"
    "  --on-receive COMMAND          command line run when a message arrives\n"
    "  --ftp-upload 0|1              upload new messages to the FTP server\n"
    "  --delete-after-forward 0|1    delete a message once forwarded\n";

const std::array<CommandSyntax, 7> kCommands = {{
    {Command::List, "list", 0, "vmbox list [--format table|csv|json]", "show the boxes in table order",
     "Shows the boxes as the window would (a legacy list is read too) and changes no file.\n"
     "  --format table   ID, PIN and comment in aligned columns (the default)\n"
     "  --format csv     every field, as export writes it (windows-1252, CR LF)\n"
     "  --format json    every field, as an array of objects (UTF-8)\n"},
    {Command::Export, "export", 1, "vmbox export FILE.csv", "write every box to a CSV file",
     "Writes a header row naming the eleven fields (Id, Pin, Description, Groups, EmailForward,\n"
     "PhoneForward, PagerNumber, PagerMessage, OnReceive, FtpUpload, DeleteAfterForward) and one row\n"
     "a box, in windows-1252 with CR LF line ends. Changes no file of the application folder;\n"
     "importing the file again changes nothing.\n"},
    {Command::Import, "import", 1, "vmbox import FILE.csv [--dry-run] [--encoding E]",
     "add and change boxes from a CSV file",
     "The header row names the columns: any of the eleven fields, in any order, letter case ignored;\n"
     "Id is required. A row whose Id names a box changes that box, any other row adds one (sorted\n"
     "into place as the window adds). A missing column keeps the stored value, or is empty for a new\n"
     "box; a value equal to the stored one is kept as it is. Other values are stored as the window\n"
     "stores typed text: Id and Pin keep their digits (a PIN the first four), text loses the blanks\n"
     "at either end, the flags take 0 or 1. New boxes need a PIN. The file is UTF-8 (recognised by\n"
     "its byte-order mark or its content) or windows-1252; characters windows-1252 lacks are\n"
     "refused. Quoting follows RFC 4180. A box may appear once per file. Any bad row, reported as\n"
     "FILE:LINE:COLUMN: what, makes the whole import write nothing.\n"
     "  --dry-run            show what would be added, changed and left alone; write nothing\n"
     "  --encoding windows-1252|utf-8\n"
     "                       read the file in this encoding; windows-1252 text whose bytes happen to\n"
     "                       form UTF-8 is otherwise read as UTF-8\n"},
    {Command::Add, "add", 2, "vmbox add ID PIN [FIELD OPTIONS]", "add a box",
     "Adds the box as the window's Add / Modify button does: ID and PIN keep their digits (the PIN\n"
     "its first four) and the new box is sorted into place. Fails when the box exists.\n"},
    {Command::Set, "set", 1, "vmbox set ID FIELD OPTIONS", "change fields of a box",
     "Changes the fields given and keeps the others. ID names the box as the window does (its\n"
     "digits), unless a box has exactly that number.\n"},
    {Command::Delete, "delete", 1, "vmbox delete ID [--keep-greeting]", "delete a box and its greeting",
     "Deletes the box as the window's delete button does, greeting included; its messages stay.\n"
     "A folder's only box cannot be deleted: a list without boxes is never saved.\n"
     "  --keep-greeting   leave the box's greeting file in place\n"},
    {Command::Greeting, "greeting", 2, "vmbox greeting ID FILE.wav", "install a box's welcome greeting",
     "Copies FILE.wav as the box's greeting after checking that the engine can play it: a WAV file\n"
     "in the recording template's format, PCM, 8 kHz, 16 bit, mono. Other formats are refused.\n"},
}};

const CommandSyntax& syntaxOf(Command command) { return kCommands[static_cast<std::size_t>(command)]; }

std::optional<Command> commandNamed(const QString& name)
{
    for (const CommandSyntax& s : kCommands)
        if (name == QLatin1String(s.name))
            return s.command;
    return std::nullopt;
}

enum class Takes { Nothing, Value };

// The options a command accepts besides the global ones; a field option is
// reported through `field`.
std::optional<Takes> commandOption(Command command, const QString& name, std::optional<Column>& field)
{
    switch (command) {
        case Command::List:
            if (name == QLatin1String("format"))
                return Takes::Value;
            break;
        case Command::Import:
            if (name == QLatin1String("dry-run"))
                return Takes::Nothing;
            if (name == QLatin1String("encoding"))
                return Takes::Value;
            break;
        case Command::Delete:
            if (name == QLatin1String("keep-greeting"))
                return Takes::Nothing;
            break;
        case Command::Add:
        case Command::Set:
            field = columnOfOption(name);
            if (field)
                return Takes::Value;
            break;
        default: break;
    }
    return std::nullopt;
}

class Parser {
public:
    explicit Parser(const QStringList& arguments) : args_(arguments) {}

    Invocation parse()
    {
        bool optionsEnded = false;
        for (i_ = 0; i_ < args_.size(); ++i_) {
            const QString& a = args_[i_];
            if (!optionsEnded && a == QLatin1String("--"))
                optionsEnded = true;
            else if (!optionsEnded && (a == QLatin1String("-h")))
                inv_.help = true;
            else if (!optionsEnded && a.startsWith(QLatin1String("--")))
                option(a.mid(2));
            else if (!optionsEnded && a.startsWith(u'-') && a.size() > 1)
                failUsage(QStringLiteral("unknown option %1; see vmbox --help").arg(a));
            else
                positional(a);
        }
        if (inv_.help || inv_.version)
            return inv_;
        if (!inv_.command)
            failUsage(QStringLiteral("no command given; see vmbox --help"));
        checkArguments();
        return inv_;
    }

private:
    void positional(const QString& a)
    {
        if (inv_.command) {
            inv_.arguments << a;
            return;
        }
        inv_.command = commandNamed(a);
        if (!inv_.command)
            failUsage(QStringLiteral("unknown command \"%1\"; the commands are list, export, import, add, set, "
                                     "delete and greeting")
                          .arg(a));
    }

    void option(const QString& text)
    {
        const qsizetype eq = text.indexOf(u'=');
        const QString name = eq < 0 ? text : text.left(eq);
        std::optional<QString> inlineValue;
        if (eq >= 0)
            inlineValue = text.mid(eq + 1);
        if (!seen_.contains(name))
            seen_ << name;
        else
            failUsage(QStringLiteral("--%1 is given twice").arg(name));

        std::optional<Column> field;
        std::optional<Takes> takes;
        if (name == QLatin1String("help") || name == QLatin1String("version"))
            takes = Takes::Nothing;
        else if (name == QLatin1String("app-folder") || name == QLatin1String("wait"))
            takes = Takes::Value;
        else if (inv_.command)
            takes = commandOption(*inv_.command, name, field);
        if (!takes)
            failUsage(inv_.command ? QStringLiteral("unknown option --%1 for %2; see vmbox %2 --help")
                                         .arg(name, QLatin1String(syntaxOf(*inv_.command).name))
                                   : QStringLiteral("unknown option --%1; see vmbox --help").arg(name));
        if (*takes == Takes::Nothing) {
            if (inlineValue)
                failUsage(QStringLiteral("--%1 takes no value").arg(name));
            switchOn(name);
            return;
        }
        if (!inlineValue) {
            if (i_ + 1 >= args_.size())
                failUsage(QStringLiteral("--%1 needs a value").arg(name));
            inlineValue = args_[++i_];
        }
        if (field)
            inv_.fields.push_back({*field, *inlineValue});
        else
            valueOf(name, *inlineValue);
    }

    void switchOn(const QString& name)
    {
        if (name == QLatin1String("help"))
            inv_.help = true;
        else if (name == QLatin1String("version"))
            inv_.version = true;
        else if (name == QLatin1String("dry-run"))
            inv_.dryRun = true;
        else
            inv_.keepGreeting = true;
    }

    void valueOf(const QString& name, const QString& value)
    {
        if (name == QLatin1String("app-folder")) {
            const QFileInfo dir(value);
            if (!dir.isDir())
                failUsage(QStringLiteral("--app-folder: not a folder: %1").arg(value));
            inv_.appFolder = QDir::cleanPath(dir.absoluteFilePath());
        } else if (name == QLatin1String("wait")) {
            bool ok = false;
            const double seconds = QLocale::c().toDouble(value, &ok);
            if (!ok || seconds < 0 || seconds > 86400)
                failUsage(QStringLiteral("--wait takes a number of seconds from 0 to 86400, not \"%1\"").arg(value));
            inv_.wait = std::chrono::milliseconds(static_cast<long long>(seconds * 1000));
        } else if (name == QLatin1String("format")) {
            if (value == QLatin1String("table"))
                inv_.format = ListFormat::Table;
            else if (value == QLatin1String("csv"))
                inv_.format = ListFormat::Csv;
            else if (value == QLatin1String("json"))
                inv_.format = ListFormat::Json;
            else
                failUsage(QStringLiteral("--format takes table, csv or json, not \"%1\"").arg(value));
        } else if (name == QLatin1String("encoding")) {
            if (value.compare(QLatin1String("windows-1252"), Qt::CaseInsensitive) == 0)
                inv_.encoding = CsvEncoding::Windows1252;
            else if (value.compare(QLatin1String("utf-8"), Qt::CaseInsensitive) == 0)
                inv_.encoding = CsvEncoding::Utf8;
            else
                failUsage(QStringLiteral("--encoding takes windows-1252 or utf-8, not \"%1\"").arg(value));
        }
    }

    void checkArguments()
    {
        const CommandSyntax& syntax = syntaxOf(*inv_.command);
        if (inv_.arguments.size() != syntax.arguments)
            failUsage(QStringLiteral("%1 takes %2; usage: %3")
                          .arg(QLatin1String(syntax.name),
                               syntax.arguments == 0   ? QStringLiteral("no arguments")
                               : syntax.arguments == 1 ? QStringLiteral("one argument")
                                                       : QStringLiteral("two arguments"),
                               QLatin1String(syntax.usage)));
        if (*inv_.command == Command::Set && inv_.fields.empty())
            failUsage(QStringLiteral("set needs at least one field option; see vmbox set --help"));
        if (*inv_.command == Command::Add) {
            for (const GivenValue& v : inv_.fields)
                if (v.column == Column::Pin)
                    failUsage(QStringLiteral("add takes the PIN as its second argument, not as --pin"));
            inv_.fields.insert(inv_.fields.begin(), GivenValue{Column::Pin, inv_.arguments[1]});
        }
    }

    const QStringList& args_;
    qsizetype i_ = 0;
    Invocation inv_;
    QStringList seen_;
};

}  // namespace

Invocation parseCommandLine(const QStringList& arguments) { return Parser(arguments).parse(); }

QString programHelp()
{
    QString text = QStringLiteral(
        "Usage: vmbox [--app-folder DIR] [--wait SECONDS] COMMAND [ARGUMENTS]\n"
        "Bulk administration of the voicemail boxes of a Quorvane application folder, on the files the\n"
        "Voicemail Manager window uses.\n\nCommands:\n");
    for (const CommandSyntax& s : kCommands)
        text +=
            QStringLiteral("  %1%2\n").arg(QString::fromLatin1(s.usage).leftJustified(52), QLatin1String(s.summary));
    text += QStringLiteral(
        "\nOptions:\n"
        "  --app-folder DIR   the application folder (default: the folder of this program)\n"
        "  --wait SECONDS     how long a change waits for another manager to let the folder go (default 0)\n"
        "  -h, --help         this help; vmbox COMMAND --help for a command's\n"
        "  --version          the program's version\n\n"
        "A change locks the folder as the window does, loads it as the window's start-up does and saves\n"
        "it as its close does (the list file is replaced whole). Exit status: 0 done, 1 bad data or a\n"
        "failed file operation (nothing written), 2 bad usage.\n");
    return text;
}

QString commandHelp(Command command)
{
    const CommandSyntax& s = syntaxOf(command);
    QString text = QStringLiteral("Usage: %1\n%2").arg(QLatin1String(s.usage), QLatin1String(s.details));
    if (command == Command::Add || command == Command::Set)
        text += QLatin1Char('\n') + QLatin1String(kFieldOptions);
    text += QStringLiteral("\nGlobal options: --app-folder DIR, --wait SECONDS (see vmbox --help).\n");
    return text;
}

}  // namespace vm::vmbox
