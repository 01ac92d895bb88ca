#include "CommandLine.h"

#include "CommandFailure.h"
#include "CommandTable.h"

#include <QCommandLineParser>

#include <algorithm>

namespace vm::vmbox {

namespace {

const QString kProgram = QStringLiteral("vmbox");

QCommandLineOption optionOf(const OptionSpec& o)
{
    QStringList names{o.name};
    // -h is help's short form, as most programs have it.
    if (o.name == QLatin1String("help"))
        names.prepend(QStringLiteral("h"));
    return o.value.isEmpty() ? QCommandLineOption(names, o.description)
                             : QCommandLineOption(names, o.description, o.value);
}

void addOptions(QCommandLineParser& parser, const std::vector<OptionSpec>& options)
{
    for (const OptionSpec& o : options)
        parser.addOption(optionOf(o));
}

std::vector<const CommandSpec*> commandsOf(const QString& group)
{
    std::vector<const CommandSpec*> found;
    for (const CommandSpec& s : commands())
        if (s.group == group)
            found.push_back(&s);
    return found;
}

bool isGroup(const QString& word)
{
    return !word.isEmpty() &&
           std::any_of(commands().begin(), commands().end(), [&](const CommandSpec& s) { return s.group == word; });
}

const CommandSpec* commandNamed(const QString& group, const QString& name)
{
    for (const CommandSpec* s : commandsOf(group))
        if (s->name == name)
            return s;
    return nullptr;
}

// The words a command may begin with: the commands without a group, and the groups.
QStringList firstWords()
{
    QStringList words;
    for (const CommandSpec& s : commands())
        if (!s.hidden && !words.contains(s.group.isEmpty() ? s.name : s.group))
            words << (s.group.isEmpty() ? s.name : s.group);
    return words;
}

QStringList subcommandNames(const QString& group)
{
    QStringList names;
    for (const CommandSpec* s : commandsOf(group))
        names << s->name;
    return names;
}

QString orList(QStringList words)
{
    const QString last = words.takeLast();
    return words.isEmpty() ? last : words.join(QStringLiteral(", ")) + QStringLiteral(" or ") + last;
}

// "did you mean `messages`?" when a name is close to what was typed, else `otherwise`.
QString suggestion(const QString& typed, const QStringList& candidates, const QString& prefix, const QString& otherwise)
{
    const std::optional<QString> close = closestName(typed, candidates);
    return close ? QStringLiteral("did you mean `%1%2`?").arg(prefix, *close) : otherwise;
}

QString unknownSubcommand(const QString& group, const QString& typed)
{
    return suggestion(typed, subcommandNames(group), group + u' ',
                      QStringLiteral("%1 takes %2").arg(group, orList(subcommandNames(group))));
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

void parseOrFail(QCommandLineParser& parser, const QStringList& arguments, const CommandSpec* s,
                 const std::vector<OptionSpec>& known)
{
    if (parser.parse(QStringList{kProgram} + arguments))
        return;
    const QString where = s ? QStringLiteral("vmbox %1 --help").arg(s->fullName()) : QStringLiteral("vmbox --help");
    const QStringList unknown = parser.unknownOptionNames();
    if (unknown.isEmpty())
        failUsage(parser.errorText() + QStringLiteral(" See %1.").arg(where));
    const QString option = (unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + unknown.first();
    QStringList names;
    for (const OptionSpec& o : known)
        names << o.name;
    const QString hint = suggestion(unknown.first(), names, QStringLiteral("--"), QStringLiteral("see ") + where);
    failUsage(s ? QStringLiteral("unknown option %1 for %2; %3").arg(option, s->fullName(), hint)
                : QStringLiteral("unknown option %1; %2").arg(option, hint));
}

// Each option given to the parser goes through that option's reader, in the
// order of the table; an option given twice is refused.
void readOptions(const QCommandLineParser& parser, const std::vector<OptionSpec>& options, Invocation& inv)
{
    const QStringList given = parser.optionNames();
    for (const OptionSpec& o : options) {
        if (given.count(o.name) > 1)
            failUsage(QStringLiteral("--%1 is given twice").arg(o.name));
        if (parser.isSet(o.name))
            o.read(parser.value(o.name), inv);
    }
}

void checkArguments(const CommandSpec& s, Invocation& inv)
{
    const auto count = static_cast<qsizetype>(s.arguments.size());
    // An argument written [ID] may be left out.
    const bool optional = count == 1 && s.arguments[0].name[0] == '[';
    if (inv.arguments.size() != count && !(optional && inv.arguments.isEmpty()))
        failUsage(QStringLiteral("%1 takes %2; usage: vmbox %3")
                      .arg(s.fullName(),
                           count == 0   ? QStringLiteral("no arguments")
                           : count == 1 ? QStringLiteral("one argument")
                                        : QStringLiteral("two arguments"),
                           usageOf(s)));
    if (s.check)
        s.check(inv);
}

// The parser's help with the command's usage line.
QString helpOf(const QCommandLineParser& parser, const QString& usage)
{
    const QString text = parser.helpText();
    return QStringLiteral("Usage: %1 [options] %2").arg(kProgram, usage) + text.mid(text.indexOf(u'\n'));
}

std::vector<OptionSpec> allOptionsOf(const CommandSpec& s)
{
    std::vector<OptionSpec> all = s.options;
    all.insert(all.end(), globalOptions().begin(), globalOptions().end());
    return all;
}

void describeCommand(QCommandLineParser& parser, const CommandSpec& s)
{
    parser.setApplicationDescription(s.details);
    addOptions(parser, allOptionsOf(s));
    parser.addPositionalArgument(s.fullName(), s.summary.left(1).toUpper() + s.summary.mid(1) + u'.');
    for (const Argument& a : s.arguments) {
        QString text = QLatin1String(a.description) + u'.';
        text[0] = text[0].toUpper();
        parser.addPositionalArgument(QLatin1String(a.name), text);
    }
}

// `help [GROUP] [COMMAND]`: the help of what the words name.
Invocation helpFor(const QStringList& words)
{
    Invocation inv;
    inv.help = true;
    if (words.isEmpty())
        return inv;
    if (isGroup(words[0])) {
        if (words.size() == 1) {
            inv.group = words[0];
            return inv;
        }
        inv.command = commandNamed(words[0], words[1]);
        if (!inv.command)
            failUsage(QStringLiteral("unknown command \"%1 %2\"; %3")
                          .arg(words[0], words[1], unknownSubcommand(words[0], words[1])));
    } else {
        inv.command = commandNamed(QString(), words[0]);
    }
    if (!inv.command)
        failUsage(
            QStringLiteral("unknown command \"%1\"; %2")
                .arg(words[0], suggestion(words[0], firstWords(), QString(), QStringLiteral("see vmbox --help"))));
    if (words.size() > (inv.command->group.isEmpty() ? 1 : 2))
        failUsage(QStringLiteral("help takes one command; usage: vmbox help [COMMAND]"));
    return inv;
}

}  // namespace

std::optional<QString> closestName(const QString& typed, const QStringList& candidates)
{
    const auto distance = [](const QString& a, const QString& b) {
        std::vector<qsizetype> row(static_cast<std::size_t>(b.size()) + 1);
        for (qsizetype j = 0; j <= b.size(); ++j)
            row[static_cast<std::size_t>(j)] = j;
        for (qsizetype i = 1; i <= a.size(); ++i) {
            qsizetype diagonal = row[0];
            row[0] = i;
            for (qsizetype j = 1; j <= b.size(); ++j) {
                const auto at = static_cast<std::size_t>(j);
                const qsizetype above = row[at];
                row[at] = std::min(
                    {row[at] + 1, row[at - 1] + 1, diagonal + (a[i - 1].toLower() == b[j - 1].toLower() ? 0 : 1)});
                diagonal = above;
            }
        }
        return row.back();
    };
    std::optional<QString> best;
    qsizetype bestDistance = 0;
    for (const QString& c : candidates) {
        const qsizetype d = distance(typed, c);
        // Close: two edits at most, and fewer than half the name's letters.
        if (d <= 2 && 2 * d < c.size() && (!best || d < bestDistance)) {
            best = c;
            bestDistance = d;
        }
    }
    return best;
}

QString usageOf(const CommandSpec& command)
{
    QString usage = command.fullName();
    for (const Argument& a : command.arguments)
        usage += u' ' + QLatin1String(a.name);
    for (const OptionSpec& o : command.options)
        if (o.required)
            usage += QStringLiteral(" --%1 %2").arg(o.name, o.value);
    return usage;
}

Invocation parseCommandLine(const QStringList& arguments)
{
    const qsizetype at = commandPosition(arguments);
    // Before the command only global options may stand.
    QCommandLineParser leading;
    addOptions(leading, globalOptions());
    parseOrFail(leading, at < 0 ? arguments : arguments.mid(0, at), nullptr, globalOptions());
    Invocation inv;
    if (at < 0) {
        readOptions(leading, globalOptions(), inv);
        if (!inv.help && !inv.version)
            failUsage(QStringLiteral("no command given; see vmbox --help"));
        return inv;
    }
    const QString& word = arguments[at];
    if (isGroup(word)) {
        const QString sub = arguments.value(at + 1);
        if (sub.isEmpty() || sub.startsWith(u'-')) {
            // The group alone: its help, when asked for.
            QCommandLineParser parser;
            addOptions(parser, globalOptions());
            parseOrFail(parser, arguments.mid(0, at) + arguments.mid(at + 1), nullptr, globalOptions());
            readOptions(parser, globalOptions(), inv);
            if (!inv.help)
                failUsage(QStringLiteral("%1 needs a command: %2; see vmbox %1 --help")
                              .arg(word, orList(subcommandNames(word))));
            inv.group = word;
            return inv;
        }
        inv.command = commandNamed(word, sub);
        if (!inv.command)
            failUsage(QStringLiteral("unknown command \"%1 %2\"; %3").arg(word, sub, unknownSubcommand(word, sub)));
    } else {
        inv.command = commandNamed(QString(), word);
        if (!inv.command)
            failUsage(QStringLiteral("unknown command \"%1\"; %2")
                          .arg(word, suggestion(word, firstWords(), QString(),
                                                QStringLiteral("the commands are ") + orList(firstWords()))));
    }
    const CommandSpec& s = *inv.command;
    QCommandLineParser parser;
    describeCommand(parser, s);
    const std::vector<OptionSpec> known = allOptionsOf(s);
    parseOrFail(parser, arguments, &s, known);
    readOptions(parser, globalOptions(), inv);
    if (inv.help || inv.version)
        return inv;
    inv.arguments = parser.positionalArguments().mid(s.group.isEmpty() ? 1 : 2);
    if (s.name == QLatin1String("help") && s.group.isEmpty()) {
        Invocation help = helpFor(inv.arguments);
        help.quiet = inv.quiet;
        return help;
    }
    readOptions(parser, s.options, inv);
    for (const OptionSpec& o : s.options)
        if (o.required && !parser.isSet(o.name))
            failUsage(QStringLiteral("%1 needs --%2 %3; see vmbox %1 --help").arg(s.fullName(), o.name, o.value));
    checkArguments(s, inv);
    return inv;
}

QString programHelp()
{
    QString description = QStringLiteral(
        "Bulk administration of the voicemail boxes of a Quorvane application folder, on the files the\n"
        "Voicemail Manager window uses.\n\nCommands:\n");
    for (const CommandSpec& s : commands())
        if (!s.hidden)
            description += QStringLiteral("  %1%2\n").arg(usageOf(s).leftJustified(30), s.summary);
    description += QStringLiteral(
        "\nA file to read may be - for standard input, one to write - for standard output. A change\n"
        "locks the folder as the window does, loads it as the window's start-up does and saves it as its\n"
        "close does (the list file is replaced whole). Exit status: 0 done, 1 bad data or a failed file\n"
        "operation (nothing written), 2 bad usage.");
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    addOptions(parser, globalOptions());
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("One of the commands above."),
                                 QStringLiteral("COMMAND [ARGUMENTS]"));
    return helpOf(parser, QStringLiteral("COMMAND [ARGUMENTS]"));
}

QString groupHelp(const QString& group)
{
    QString description = QStringLiteral("The commands of %1:\n").arg(group);
    for (const CommandSpec* s : commandsOf(group))
        description += QStringLiteral("  %1%2\n").arg(usageOf(*s).leftJustified(30), s->summary);
    description += QStringLiteral("\nvmbox %1 COMMAND --help shows a command's help.").arg(group);
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    addOptions(parser, globalOptions());
    parser.addPositionalArgument(QStringLiteral("command"), QStringLiteral("One of the commands above."),
                                 QStringLiteral("COMMAND [ARGUMENTS]"));
    return helpOf(parser, group + QStringLiteral(" COMMAND [ARGUMENTS]"));
}

QString commandHelp(const CommandSpec& command)
{
    QCommandLineParser parser;
    describeCommand(parser, command);
    return helpOf(parser, usageOf(command));
}

}  // namespace vm::vmbox
