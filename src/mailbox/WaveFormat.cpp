#include "WaveFormat.h"

#include "RiffChunks.h"

namespace vm::mailbox {

namespace {

QString encodingName(std::uint16_t tag)
{
    switch (tag) {
        case 0x0001: return QStringLiteral("PCM");
        case 0x0002: return QStringLiteral("Microsoft ADPCM");
        case 0x0003: return QStringLiteral("IEEE float");
        case 0x0006: return QStringLiteral("A-law");
        case 0x0007: return QStringLiteral("mu-law");
        case 0x0011: return QStringLiteral("IMA ADPCM");
        case 0x0031: return QStringLiteral("GSM 6.10");
        case 0x0055: return QStringLiteral("MPEG layer 3");
        case 0xFFFE: return QStringLiteral("extensible format");
        default: return QStringLiteral("format tag 0x%1").arg(tag, 4, 16, QLatin1Char('0'));
    }
}

QString channelsText(std::uint16_t channels)
{
    switch (channels) {
        case 1: return QStringLiteral("mono");
        case 2: return QStringLiteral("stereo");
        default: return QStringLiteral("%1 channels").arg(channels);
    }
}

}  // namespace

bool WaveFormat::playableByEngine() const
{
    return encoding == 1 && channels == 1 && sampleRate == 8000 && bitsPerSample == 16;
}

QString WaveFormat::describe() const
{
    return QStringLiteral("%1, %2 kHz, %3 bit, %4")
        .arg(encodingName(encoding), QString::number(sampleRate / 1000.0))
        .arg(bitsPerSample)
        .arg(channelsText(channels));
}

std::optional<WaveFormat> waveFormatOf(const QByteArray& bytes, QString& problem)
{
    QString why;
    std::optional<WaveFormat> format;
    bool data = false;
    const RiffWalk walk = walkRiffChunks(bytes, bytes.size(), [&](const RiffChunk& chunk) {
        if (chunk.id == "fmt ") {
            if (format || chunk.size < 16) {
                why = format ? QStringLiteral("it has two format chunks")
                             : QStringLiteral("its format chunk has %1 bytes, not 16").arg(chunk.size);
                return false;
            }
            const QByteArrayView b = chunk.body;
            format = WaveFormat{little16(b, 0), little16(b, 2), little32(b, 4), little16(b, 14)};
        } else if (chunk.id == "data") {
            if (data || !format) {
                why = data ? QStringLiteral("it has two data chunks")
                           : QStringLiteral("its data chunk comes before a format chunk");
                return false;
            }
            const std::uint32_t sample = format->channels * ((format->bitsPerSample + 7u) / 8u);
            if (sample == 0 || chunk.size % sample != 0) {
                why = QStringLiteral("its data chunk has %1 bytes, not a whole number of %2-byte samples")
                          .arg(chunk.size)
                          .arg(sample);
                return false;
            }
            data = true;
        }
        return true;
    });
    switch (why.isEmpty() ? walk.stop : RiffStop::End) {
        case RiffStop::NoHeader: why = QStringLiteral("not a WAV file (no RIFF/WAVE header)"); break;
        case RiffStop::SizeMismatch:
            why = QStringLiteral("its RIFF header gives a file of %1 bytes, but it holds %2")
                      .arg(walk.riffEnd)
                      .arg(bytes.size());
            break;
        case RiffStop::EndsInHeader:
        case RiffStop::PastBytes:  // the whole file is at hand: only where it ends
            why = QStringLiteral("it ends inside the chunk header at byte %1").arg(walk.at);
            break;
        case RiffStop::PastEnd:
            why = QStringLiteral("its \"%1\" chunk at byte %2 gives %3 bytes, but only %4 follow")
                      .arg(QString::fromLatin1(walk.chunk.id))
                      .arg(walk.chunk.at)
                      .arg(walk.chunk.size)
                      .arg(bytes.size() - walk.chunk.at - 8);
            break;
        case RiffStop::End:
            if (why.isEmpty() && !data)
                why = format ? QStringLiteral("it has no data chunk") : QStringLiteral("it has no format chunk");
            break;
    }
    if (!why.isEmpty()) {
        problem = why;
        return std::nullopt;
    }
    return format;
}

}  // namespace vm::mailbox
