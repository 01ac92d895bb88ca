#pragma once
// What a start-up load could not take from a list file. The load itself goes
// on as it always has (a line it cannot read is skipped, a file it cannot
// read is left alone); these notes are for whoever would save the table
// afterwards, since a save writes the table and so loses what the load left
// out.

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace vm::mailbox {

struct LoadProblem {
    QString file;        // the file's path
    QString what;        // in plain words, without the file's name
    int line = 0;        // 1-based line where it shows; 0 when no line is meant
    qint64 offset = -1;  // byte offset where it shows; -1 when none is meant

    // "file: what (line 7, byte offset 1234)".
    QString describe() const;
};

// "UTF-16 (little-endian, with a byte-order mark)" and the like when `bytes`
// are UTF-16 or UTF-32 text, told by a byte-order mark or by the pattern of
// NUL bytes that ASCII text leaves in its first four bytes; empty otherwise.
QString unicodeEncodingOf(QByteArrayView bytes);

// A file in another encoding than windows-1252 (UTF-16 or UTF-32, told by
// its byte-order mark or by the pattern of its NUL bytes) or holding NUL
// bytes at all, which no text line of ours contains. Nothing for plain text.
std::optional<LoadProblem> encodingProblem(const QString& file, QByteArrayView bytes);

}  // namespace vm::mailbox
