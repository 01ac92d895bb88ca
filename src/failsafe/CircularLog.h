#pragma once
// The circular trace log: a binary file of fixed-size text records after a
// "CIRCULAR" CR LF header. Slot 0 takes the first line of a run; slots 1 to
// MaxRecords are used in rotation. The file is reopened after every record so
// each record reaches the disk at once.

#include "FailSafeState.h"

#include <QByteArray>

namespace vm::failsafe {

inline constexpr char kCircularHeader[] = "CIRCULAR\r\n";
inline constexpr int kCircularHeaderSize = 10;

// One record: the line without its CR LF, cut or blank-padded to
// recordSize - 2 bytes, then CR LF.
QByteArray circularRecord(const QByteArray& line, int recordSize);

// Byte offset of record slot n.
qint64 circularRecordOffset(int slot, int recordSize);

// Opens (creating) the file, writes the header, closes and opens it again.
// On failure the log is switched off. Never raises.
void openCircularLog(CircularLog& log);

// Writes one trace line (with or without its CR LF) into the next slot.
// Reopens the file first if it is not open; if that fails the log is off for
// the rest of the run. Never raises.
void writeCircularRecord(CircularLog& log, const QByteArray& line);

// Closes the file, leaving the log switched as it is.
void closeCircularLog(CircularLog& log);

}  // namespace vm::failsafe
