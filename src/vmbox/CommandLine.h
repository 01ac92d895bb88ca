#pragma once
// The command line of vmbox:
//   vmbox [--app-folder DIR] [--wait SECONDS] COMMAND [ARGUMENTS] [OPTIONS]
// (a command may be two words: message copy, mark, export, delete, forward)
//   vmbox --help | --version | COMMAND --help
// Global options may stand anywhere; a command's own options after it. Each
// command has a parser of its own (QCommandLineParser), so its help lists
// exactly the options it takes.

#include "BoxEdit.h"
#include "CsvReader.h"

#include <QString>
#include <QStringList>

#include <chrono>
#include <optional>
#include <vector>

namespace vm::vmbox {

enum class Command {
    List,
    Export,
    Import,
    Add,
    Set,
    Delete,
    Greeting,
    Messages,
    MessageCopy,
    MessageMark,
    MessageExport,
    MessageDelete,
    MessageForward,
    Purge
};

enum class ListFormat { Table, Csv, Json };

struct Invocation {
    std::optional<Command> command;
    bool help = false;
    bool version = false;
    QString appFolder;  // empty: the program's own folder
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
};

// Raises CommandFailure (status 2) for anything it cannot make sense of.
Invocation parseCommandLine(const QStringList& arguments);

QString programHelp();
QString commandHelp(Command command);

}  // namespace vm::vmbox
