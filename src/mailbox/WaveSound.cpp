#include "WaveSound.h"

namespace vm::mailbox {

namespace {

std::uint32_t little32(QByteArrayView b, qsizetype at)
{
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k)
        v = (v << 8) | static_cast<unsigned char>(b[at + k]);
    return v;
}

WaveSound incomplete(const QString& why) { return {false, 0, why}; }

}  // namespace

WaveSound waveSoundOf(QByteArrayView head, std::int64_t fileSize)
{
    if (head.size() < 12 || !head.startsWith("RIFF") || head.sliced(8, 4) != "WAVE")
        return incomplete(QStringLiteral("it has no RIFF/WAVE header"));
    const std::int64_t riffEnd = std::int64_t{little32(head, 4)} + 8;
    if (riffEnd != fileSize)
        return incomplete(
            QStringLiteral("its RIFF header gives a file of %1 bytes, but it holds %2").arg(riffEnd).arg(fileSize));
    std::uint32_t byteRate = 0;
    std::int64_t at = 12;
    while (at + 8 <= fileSize) {
        if (at + 8 > head.size())
            return incomplete(QStringLiteral("its header goes on past byte %1").arg(head.size()));
        const QByteArrayView id = head.sliced(at, 4);
        const std::uint32_t size = little32(head, at + 4);
        const std::int64_t body = at + 8;
        if (body + size > fileSize)
            return incomplete(QStringLiteral("its \"%1\" chunk gives %2 bytes, but only %3 follow")
                                  .arg(QString::fromLatin1(id))
                                  .arg(size)
                                  .arg(fileSize - body));
        if (id == "fmt ") {
            if (size < 16 || body + 16 > head.size())
                return incomplete(QStringLiteral("its format chunk is short or out of reach"));
            byteRate = little32(head, body + 8);
        } else if (id == "data") {
            if (byteRate == 0)
                return incomplete(QStringLiteral("no format with a byte rate comes before its data"));
            return {true, static_cast<double>(size) / byteRate, QString()};
        }
        // Chunks are padded to an even size.
        at = body + size + (size & 1);
    }
    return incomplete(QStringLiteral("it has no data chunk"));
}

}  // namespace vm::mailbox
