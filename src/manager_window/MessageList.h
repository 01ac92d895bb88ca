#pragma once
// MessageList: the messages of the selected box, one entry a row of the
// message list in row order. The window owns one and the grid gridMsgList is
// its view: a message click, the delete and the context menu find their
// messages here, never in the grid's cells. The selection stays the grid's,
// where the operator moves it; the list says which messages a span of rows
// means and which rows hold given files.
//
// Rows are counted as the grid counts them: row 0 is the heading, row r
// (from 1) shows entry r - 1. A box without messages shows the "No Messages"
// row, which holds no entry.

#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace vm::manager_window {

struct ListedMessage {
    QString fileName;              // as the folder holds it, without folder
    QString box;                   // Id of the box it is listed for
    std::int64_t writtenSecs = 0;  // last write, seconds since the epoch
    std::int32_t seconds = 0;      // playing time
    bool isNew = false;            // the name's new-marker is "1"
    QString caller;
};

// The message of file `name`, listed for `box`: its marker and caller as the
// name gives them, its playing time from its size.
ListedMessage listedMessage(const QString& name, const QString& box, std::int64_t writtenSecs, std::int64_t bytes);

// Rows `first` to `last`, both included.
struct RowSpan {
    int first = 0;
    int last = 0;
    bool operator==(const RowSpan&) const = default;
};

class MessageList {
public:
    void clear() { messages_.clear(); }
    // Adds rows after the last.
    void append(std::vector<ListedMessage>&& messages);
    // Takes out the message of `row`; the rows after it move up. A row that
    // holds no message is left alone.
    void removeRow(int row);

    int count() const { return static_cast<int>(messages_.size()); }
    // The message `row` shows; null for the heading, the "No Messages" row
    // and rows beyond the last.
    const ListedMessage* atRow(int row) const;
    // Its file name; empty where the row holds no message.
    QString fileNameAt(int row) const;
    // The messages of the rows from `row` to `rowSel`, in either order, as
    // far as the list reaches: what a selection means.
    std::vector<ListedMessage> messagesIn(int row, int rowSel) const;
    // From the first to the last row showing one of `fileNames`: what to
    // select again once the box is listed anew (one name: the row of that
    // file). Nothing when none of them is listed.
    std::optional<RowSpan> rowsOf(const QStringList& fileNames) const;

private:
    std::vector<ListedMessage> messages_;
};

}  // namespace vm::manager_window
