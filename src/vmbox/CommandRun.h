#pragma once
// What every command's run holds: its invocation, where it reads and
// writes, and how it prints a line of its result.

#include "CommandLine.h"

#include <QString>

namespace vm::vmbox {

class CommandRun {
public:
    CommandRun(const Invocation& inv, Streams& streams) : inv_(inv), streams_(streams), out_(streams.out) {}

protected:
    // A line of the result; names and values from files are shown, never obeyed, by the terminal.
    void print(const QString& line) const;

    const Invocation& inv_;
    Streams& streams_;
    QIODevice& out_;
};

}  // namespace vm::vmbox
