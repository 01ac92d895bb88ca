#pragma once
// Accounts and groups by name, for messages that say who owns or may write a
// file.

#include <QString>

#include <sys/types.h>

namespace vm::platform {

// The account's login name, or its number when the system knows no name.
QString accountName(uid_t uid);
// The group's name, or its number when the system knows no name.
QString groupName(gid_t gid);

}  // namespace vm::platform
