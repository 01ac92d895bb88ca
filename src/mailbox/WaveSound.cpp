#include "WaveSound.h"

#include "RiffChunks.h"

#include <optional>

namespace vm::mailbox {

namespace {

WaveSound incomplete(const QString& why) { return {false, 0, why}; }

}  // namespace

WaveSound waveSoundOf(QByteArrayView head, std::int64_t fileSize)
{
    std::uint32_t byteRate = 0;
    std::optional<WaveSound> sound;
    const RiffWalk walk = walkRiffChunks(head, fileSize, [&](const RiffChunk& chunk) {
        if (chunk.id == "fmt ") {
            if (chunk.size < 16 || chunk.body.size() < 16)
                sound = incomplete(QStringLiteral("its format chunk is short or out of reach"));
            else
                byteRate = little32(chunk.body, 8);
        } else if (chunk.id == "data") {
            sound = byteRate == 0 ? incomplete(QStringLiteral("no format with a byte rate comes before its data"))
                                  : WaveSound{true, static_cast<double>(chunk.size) / byteRate, QString()};
        }
        return !sound;
    });
    if (sound)
        return *sound;
    switch (walk.stop) {
        case RiffStop::NoHeader: return incomplete(QStringLiteral("it has no RIFF/WAVE header"));
        case RiffStop::SizeMismatch:
            return incomplete(QStringLiteral("its RIFF header gives a file of %1 bytes, but it holds %2")
                                  .arg(walk.riffEnd)
                                  .arg(fileSize));
        case RiffStop::PastBytes: return incomplete(QStringLiteral("its header goes on past byte %1").arg(head.size()));
        case RiffStop::PastEnd:
            return incomplete(QStringLiteral("its \"%1\" chunk gives %2 bytes, but only %3 follow")
                                  .arg(QString::fromLatin1(walk.chunk.id))
                                  .arg(walk.chunk.size)
                                  .arg(fileSize - walk.chunk.at - 8));
        case RiffStop::End:
        case RiffStop::EndsInHeader: break;
    }
    return incomplete(QStringLiteral("it has no data chunk"));
}

}  // namespace vm::mailbox
