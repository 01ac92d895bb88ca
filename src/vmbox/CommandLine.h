#pragma once
// The command line of vmbox:
//   vmbox [--app-folder DIR] [--wait SECONDS] [--quiet] COMMAND [ARGUMENTS] [OPTIONS]
// (a command may be two words, a group and its subcommand: message copy)
//   vmbox --help | --version | help [COMMAND] | COMMAND --help | GROUP --help
// Global options may stand anywhere; a command's own options after it. The
// commands, their arguments, options and handlers are one table
// (CommandTable.h); each command gets a parser of its own
// (QCommandLineParser), so its help lists exactly the options it takes.

#include "BoxEdit.h"
#include "CsvReader.h"

#include "mailbox/MessageQuery.h"

#include <QIODevice>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <optional>
#include <vector>

namespace vm::vmbox {

enum class ListFormat { Table, Csv, Json };

struct CommandSpec;

struct Invocation {
    const CommandSpec* command = nullptr;  // none: the program's help or version
    QString group;                         // with help and no command: the group whose help is asked
    bool help = false;
    bool version = false;
    bool quiet = false;     // no progress on standard error
    QString appFolder;      // empty: VMBOX_APP_FOLDER, else the program's own folder
    QString appFolderFrom;  // what named it: "--app-folder" or "VMBOX_APP_FOLDER"
    std::chrono::milliseconds wait{0};
    QStringList arguments;  // the command's own arguments (ID, PIN, FILE; mark's new or saved)
    ListFormat format = ListFormat::Table;
    bool dryRun = false;
    std::optional<CsvEncoding> encoding;  // none: recognised from the file
    bool keepGreeting = false;
    std::vector<GivenValue> fields;  // --pin VALUE ... in the order given; add's PIN among them
    // purge's rule
    int olderThanDays = -1;
    bool savedOnly = false;
    QString box;
    // which messages a listing shows, and in what order; `found` when any
    // option of the two was given
    mailbox::MessageCriteria criteria;
    mailbox::MessageOrder order;
    bool found = false;
};

// Where a command reads and writes: `in` for a file named "-".
struct Streams {
    QIODevice& in;
    QIODevice& out;
    QIODevice& err;
};

// What runs a command: each command is a function of this type.
using Handler = void(const Invocation& inv, Streams& streams);

// An option of a command. `read` takes its value ("" for a flag) into the
// invocation, raising CommandFailure (status 2) for a value it refuses.
struct OptionSpec {
    QString name;
    QString value;  // the value's name in help; empty: a flag
    QString description;
    std::function<void(const QString& value, Invocation& inv)> read;
    bool required = false;
};

struct Argument {
    const char* name;  // "[ID]" may be left out
    const char* description;
};

struct CommandSpec {
    QString group;  // "" or the first word ("message")
    QString name;
    std::vector<Argument> arguments;
    QString summary;
    QString details;
    std::vector<OptionSpec> options;
    Handler* run;
    // Checks what the options cannot check alone (raises status 2); may be none.
    void (*check)(Invocation& inv) = nullptr;
    bool hidden = false;  // left out of the program's help (the completion's helper)

    QString fullName() const { return group.isEmpty() ? name : group + u' ' + name; }
};

// Raises CommandFailure (status 2) for anything it cannot make sense of;
// a mistyped command or option is answered with the closest one.
Invocation parseCommandLine(const QStringList& arguments);

QString programHelp();
QString groupHelp(const QString& group);
QString commandHelp(const CommandSpec& command);

// The command's usage: its words, arguments and required options.
QString usageOf(const CommandSpec& command);

// The name among `candidates` closest to `typed` by edit distance, when it
// is close enough to be what was meant.
std::optional<QString> closestName(const QString& typed, const QStringList& candidates);

}  // namespace vm::vmbox
