#include "MessageList.h"

#include "WindowText.h"

#include "mailbox/MessageFileName.h"

#include <algorithm>
#include <iterator>

namespace vm::manager_window {

ListedMessage listedMessage(const QString& name, const QString& box, std::int64_t writtenSecs, std::int64_t bytes)
{
    QString newMarker;
    QString caller;
    mailbox::MsgFileNameParse(name, newMarker, caller);
    return {name, box, writtenSecs, playingSeconds(bytes), newMarker == QStringLiteral("1"), caller};
}

void MessageList::append(std::vector<ListedMessage>&& messages)
{
    messages_.insert(messages_.end(), std::make_move_iterator(messages.begin()),
                     std::make_move_iterator(messages.end()));
}

void MessageList::removeRow(int row)
{
    if (atRow(row))
        messages_.erase(messages_.begin() + (row - 1));
}

const ListedMessage* MessageList::atRow(int row) const
{
    return row >= 1 && row <= count() ? &messages_[static_cast<std::size_t>(row - 1)] : nullptr;
}

QString MessageList::fileNameAt(int row) const
{
    const ListedMessage* message = atRow(row);
    return message ? message->fileName : QString();
}

std::vector<ListedMessage> MessageList::messagesIn(int row, int rowSel) const
{
    const int first = std::max(1, std::min(row, rowSel));
    const int last = std::min(count(), std::max(row, rowSel));
    if (first > last)
        return {};
    return {messages_.begin() + (first - 1), messages_.begin() + last};
}

std::optional<RowSpan> MessageList::rowsOf(const QStringList& fileNames) const
{
    std::optional<RowSpan> span;
    for (int r = 1; r <= count(); ++r) {
        if (fileNames.contains(fileNameAt(r)))
            span = RowSpan{span ? span->first : r, r};
    }
    return span;
}

}  // namespace vm::manager_window
