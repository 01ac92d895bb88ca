#pragma once
// Which of the listed messages an operator asks for, and in what order: the
// one rule behind the window's find and vmbox's message listing.
//
// The criteria are plain values, each left at its default taking every
// message, so a command line or a form fills only what it was given. A
// filter is made once from them and then asked of every message: a folder
// of 100,000 messages is filtered again on each key the operator types.

#include "mailbox/MessageListing.h"

#include <QDate>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace vm::mailbox {

enum class MessageKind { All, New, Saved };

struct MessageCriteria {
    QString caller;             // the caller field contains this (letter case ignored)
    QString box;                // the leading Id is this (letter case ignored)
    std::optional<QDate> from;  // last written on this local day or later
    std::optional<QDate> to;    // last written on this local day or earlier
    MessageKind kind = MessageKind::All;
    std::int64_t minSeconds = 0;  // plays at least this long, in whole seconds
};

// A message is new when its name's new-marker is "1" and saved when its name
// has a message's form with any other marker; a name without that form is
// neither, and has no caller. Its length is known from a whole WAV header
// only, and is counted in whole seconds (halves to even), as it is shown:
// a message of unknown length meets no shortest length above 0.
class MessageFilter {
public:
    explicit MessageFilter(const MessageCriteria& criteria);
    bool matches(const MessageInfo& m) const;

private:
    MessageCriteria criteria_;
    std::int64_t fromSecs_;   // the first second of the first day
    std::int64_t untilSecs_;  // the first second after the last day
};

enum class MessageKey { Box, Date, Length, Caller, Kind, Line };

struct MessageOrder {
    MessageKey key = MessageKey::Box;
    bool reverse = false;
};

// Below zero, zero or above zero as box or line number `a` comes before, with
// or after `b`: digits compared as numbers, any other text after them, as text.
int compareNumbered(const QString& a, const QString& b);

// True when `a` comes before `b`. Boxes and lines go by their number (digits
// compared as numbers; any other text after them, as text), dates by the
// last write, lengths shortest first with unknown lengths before all,
// callers as text, kinds new, saved, then neither. Equal keys go by box,
// then date, then file name, so the order is the same however the messages
// were listed; reverse turns all of it round.
bool comesBefore(const MessageInfo& a, const MessageInfo& b, MessageOrder order);

// The messages of `listing` that `criteria` takes, in `order`.
std::vector<MessageInfo> findMessages(std::vector<MessageInfo> listing, const MessageCriteria& criteria,
                                      MessageOrder order);

}  // namespace vm::mailbox
