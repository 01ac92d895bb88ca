#include "CircularLog.h"

#include "FailSafeHooks.h"

#include "platform/AppFolder.h"

#include <QFile>

#include <cerrno>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vm::failsafe {

namespace {

int openReadWrite(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(native.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

bool writeAt(int fd, const char* data, std::size_t size, qint64 offset)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
        offset += n;
    }
    return true;
}

bool writeHeader(int fd)
{
    return writeAt(fd, kCircularHeader, kCircularHeaderSize, 0);
}

// Opens the file and writes the header; the log is off when that fails.
bool reopenWithHeader(CircularLog& log)
{
    log.fd = openReadWrite(log.path);
    if (log.fd >= 0 && writeHeader(log.fd))
        return true;
    closeCircularLog(log);
    log.on = false;
    if (state().devEnvironment)
        showMessageBox(BoxIcon::Critical, BoxButtons::Ok, executableName(),
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

qint64 circularRecordOffset(int slot, int recordSize)
{
    return kCircularHeaderSize + qint64(slot) * recordSize;
}

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
    writeAt(log.fd, record.constData(), static_cast<std::size_t>(record.size()),
            circularRecordOffset(log.nextRecord, log.recordSize));
    closeCircularLog(log);
    log.fd = openReadWrite(log.path);
    ++log.nextRecord;
}

}  // namespace vm::failsafe
