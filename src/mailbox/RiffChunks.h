#pragma once
// The chunks of a RIFF/WAVE file, walked once for every rule that reads
// them: a message's header (its playing time, whether it is whole) and a
// greeting's sound format.

#include <QByteArrayView>

#include <cstdint>
#include <functional>

namespace vm::mailbox {

// Little-endian numbers at `at` of `bytes`, which must hold them.
std::uint32_t little32(QByteArrayView bytes, qsizetype at);
std::uint16_t little16(QByteArrayView bytes, qsizetype at);

struct RiffChunk {
    QByteArrayView id;       // four letters ("fmt ", "data", ...)
    std::uint32_t size = 0;  // as its header gives it
    std::int64_t at = 0;     // where its header begins in the file
    QByteArrayView body;     // as much of it as the bytes at hand hold
};

// Where a walk stopped.
enum class RiffStop {
    End,           // at the file's end, or where `each` asked
    NoHeader,      // the file does not begin "RIFF" size "WAVE"
    SizeMismatch,  // the RIFF header's size is not the file's size less 8
    EndsInHeader,  // the file ends inside a chunk's header
    PastBytes,     // a chunk's header lies within the file but past the bytes at hand
    PastEnd,       // a chunk's size reaches past the file's end
};

struct RiffWalk {
    RiffStop stop = RiffStop::End;
    std::int64_t riffEnd = 0;  // the file's size as the RIFF header gives it
    std::int64_t at = 0;       // EndsInHeader, PastBytes: where the chunk's header begins
    RiffChunk chunk;           // PastEnd: the chunk
};

// Walks a file of `fileSize` bytes that begins with `bytes` (all of it or
// its start), calling `each` with every chunk in order until `each` returns
// false or a chunk cannot be walked. Chunks are padded to an even size; the
// last one's pad byte may be missing.
RiffWalk walkRiffChunks(QByteArrayView bytes, std::int64_t fileSize, const std::function<bool(const RiffChunk&)>& each);

}  // namespace vm::mailbox
