#include "CircularLog.h"

#include "FailSafeHooks.h"

#include "platform/AppFolder.h"
#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <unistd.h>

namespace vm::failsafe {

namespace {

int openReadWrite(const QString& path)
{
    int fd = -1;
    platform::ignoreErrors([&] { fd = platform::openForUpdate(path); });
    return fd;
}

bool writeAt(int fd, const QString& path, const QByteArray& bytes, qint64 offset)
{
    return platform::ignoreErrors([&] { platform::writeAt(fd, path, bytes, offset); });
}

bool writeHeader(int fd, const QString& path)
{
    return writeAt(fd, path, QByteArray::fromRawData(kCircularHeader, kCircularHeaderSize), 0);
}

// Opens the file and writes the header; the log is off when that fails.
bool reopenWithHeader(CircularLog& log)
{
    log.fd = openReadWrite(log.path);
    if (log.fd >= 0 && writeHeader(log.fd, log.path))
        return true;
    closeCircularLog(log);
    log.on = false;
    if (state().devEnvironment)
        showMessageBox(BoxIcon::Critical, BoxButtons::Ok, platform::executableName(),
                       QStringLiteral("Could not open circular log file ") + log.path);
    return false;
}

}  // namespace

QByteArray circularRecord(const QByteArray& line, int recordSize)
{
    QByteArray text = line;
    if (text.endsWith("\r\n"))
        text.chop(2);
    const int width = recordSize - 2;
    QByteArray record = text.left(width);
    record.append(width - record.size(), ' ');
    record.append("\r\n");
    return record;
}

qint64 circularRecordOffset(int slot, int recordSize) { return kCircularHeaderSize + qint64(slot) * recordSize; }

void closeCircularLog(CircularLog& log)
{
    if (log.fd >= 0)
        ::close(log.fd);
    log.fd = -1;
}

void openCircularLog(CircularLog& log)
{
    if (!log.on)
        return;
    if (!reopenWithHeader(log))
        return;
    // Close and open again so the header is on disk before the first record.
    closeCircularLog(log);
    log.fd = openReadWrite(log.path);
    if (log.fd < 0)
        log.on = false;
}

void writeCircularRecord(CircularLog& log, const QByteArray& line)
{
    if (!log.on)
        return;
    if (log.fd < 0 && !reopenWithHeader(log))
        return;
    if (log.nextRecord > log.maxRecords)
        log.nextRecord = 1;
    const QByteArray record = circularRecord(line, log.recordSize);
    writeAt(log.fd, log.path, record, circularRecordOffset(log.nextRecord, log.recordSize));
    closeCircularLog(log);
    log.fd = openReadWrite(log.path);
    ++log.nextRecord;
}

}  // namespace vm::failsafe
