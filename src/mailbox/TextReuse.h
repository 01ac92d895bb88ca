#pragma once
// Assigning a text to a string that may already own memory enough for it:
// a reload fills the entries the table retired in place, and their texts'
// memory is reused instead of being freed and asked for again. The value is
// the same as a fresh copy's.

#include "VoicemailBox.h"

#include <QString>
#include <QStringView>

#include <cstring>

namespace vm::mailbox {

inline void assignReusing(QString& to, QStringView from)
{
    if (from.isEmpty()) {
        // An empty text as a copy of an empty piece is: not null. Memory the
        // string has is kept for the next text.
        if (to.isDetached()) {
            to.resize(0);
        } else {
            static const QChar none;
            to = QString(&none, 0);
        }
        return;
    }
    if (QStringView(to) == from)
        return;  // the same text already: nothing to copy
    to.resize(from.size());
    std::memcpy(static_cast<void*>(to.data()), from.data(), static_cast<std::size_t>(from.size()) * sizeof(QChar));
}

}  // namespace vm::mailbox
