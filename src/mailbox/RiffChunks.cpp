#include "RiffChunks.h"

#include <algorithm>

namespace vm::mailbox {

std::uint32_t little32(QByteArrayView bytes, qsizetype at)
{
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
    return v;
}

std::uint16_t little16(QByteArrayView bytes, qsizetype at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                      (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

RiffWalk walkRiffChunks(QByteArrayView bytes, std::int64_t fileSize, const std::function<bool(const RiffChunk&)>& each)
{
    RiffWalk walk;
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.sliced(8, 4) != "WAVE") {
        walk.stop = RiffStop::NoHeader;
        return walk;
    }
    walk.riffEnd = std::int64_t{little32(bytes, 4)} + 8;
    if (walk.riffEnd != fileSize) {
        walk.stop = RiffStop::SizeMismatch;
        return walk;
    }
    std::int64_t at = 12;
    while (at < fileSize) {
        walk.at = at;
        if (at + 8 > fileSize) {
            walk.stop = RiffStop::EndsInHeader;
            return walk;
        }
        if (at + 8 > bytes.size()) {
            walk.stop = RiffStop::PastBytes;
            return walk;
        }
        const std::int64_t body = at + 8;
        const std::uint32_t size = little32(bytes, at + 4);
        const qsizetype held = static_cast<qsizetype>(std::min<std::int64_t>(size, bytes.size() - body));
        const RiffChunk chunk{bytes.sliced(at, 4), size, at, bytes.sliced(body, held)};
        if (body + size > fileSize) {
            walk.stop = RiffStop::PastEnd;
            walk.chunk = chunk;
            return walk;
        }
        if (!each(chunk))
            return walk;
        at = body + size + (size & 1);
    }
    return walk;
}

}  // namespace vm::mailbox
