#pragma once
// vmbox's commands on messages: messages, message copy, message mark,
// message export and purge, each on the message operations the window
// uses too.

#include "CommandLine.h"

#include <QIODevice>

namespace vm::vmbox {

// Runs one of the message commands of `inv`; output to `out`. Raises
// CommandFailure, MessageRefusal or RuntimeError as the other commands do.
void runMessageCommand(const Invocation& inv, QIODevice& out);

// The listing of `vmbox messages` in each format.
QByteArray messagesAsTable(const QString& box);
QByteArray messagesAsCsv(const QString& box);
QByteArray messagesAsJson(const QString& box);

}  // namespace vm::vmbox
