#pragma once
// vmbox's commands on messages: messages, message copy, message mark,
// message export and purge, each on the message operations the window
// uses too.

#include "CommandLine.h"

#include "mailbox/MessageListing.h"

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace vm::vmbox {

Handler showMessages;
Handler copyMessageTo;
Handler markMessageAs;
Handler exportMessageTo;
Handler purgeMessages;
Handler deleteMessageFile;

// The listing of `vmbox messages` in each format.
QByteArray messagesAsTable(std::vector<mailbox::MessageInfo> messages);
QByteArray messagesAsCsv(std::vector<mailbox::MessageInfo> messages);
QByteArray messagesAsJson(std::vector<mailbox::MessageInfo> messages);

// A file time as listings show it: "yyyy-MM-dd HH:mm:ss", local time.
QString localTimeText(std::int64_t seconds);

}  // namespace vm::vmbox
