#include "WaveFormat.h"

namespace vm::vmbox {

namespace {

std::uint32_t little32(const QByteArray& b, qsizetype at)
{
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k)
        v = (v << 8) | static_cast<unsigned char>(b[at + k]);
    return v;
}

std::uint16_t little16(const QByteArray& b, qsizetype at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}

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
    const auto refuse = [&](const QString& why) -> std::optional<WaveFormat> {
        problem = why;
        return std::nullopt;
    };
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return refuse(QStringLiteral("not a WAV file (no RIFF/WAVE header)"));
    const qint64 riffEnd = qint64(little32(bytes, 4)) + 8;
    if (riffEnd != bytes.size())
        return refuse(
            QStringLiteral("its RIFF header gives a file of %1 bytes, but it holds %2").arg(riffEnd).arg(bytes.size()));
    std::optional<WaveFormat> format;
    bool data = false;
    qsizetype at = 12;
    while (at < bytes.size()) {
        if (at + 8 > bytes.size())
            return refuse(QStringLiteral("it ends inside the chunk header at byte %1").arg(at));
        const QString id = QString::fromLatin1(bytes.mid(at, 4));
        const std::uint32_t size = little32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (body + qint64(size) > bytes.size())
            return refuse(QStringLiteral("its \"%1\" chunk at byte %2 gives %3 bytes, but only %4 follow")
                              .arg(id)
                              .arg(at)
                              .arg(size)
                              .arg(bytes.size() - body));
        if (id == QLatin1String("fmt ")) {
            if (format || size < 16)
                return refuse(format ? QStringLiteral("it has two format chunks")
                                     : QStringLiteral("its format chunk has %1 bytes, not 16").arg(size));
            format = WaveFormat{little16(bytes, body), little16(bytes, body + 2), little32(bytes, body + 4),
                                little16(bytes, body + 14)};
        } else if (id == QLatin1String("data")) {
            if (data || !format)
                return refuse(data ? QStringLiteral("it has two data chunks")
                                   : QStringLiteral("its data chunk comes before a format chunk"));
            const std::uint32_t sample = format->channels * ((format->bitsPerSample + 7u) / 8u);
            if (sample == 0 || size % sample != 0)
                return refuse(QStringLiteral("its data chunk has %1 bytes, not a whole number of %2-byte samples")
                                  .arg(size)
                                  .arg(sample));
            data = true;
        }
        // Chunks are padded to an even size (the last one's pad byte may be missing).
        at = body + static_cast<qsizetype>(size) + (size & 1);
    }
    if (!data)
        return refuse(format ? QStringLiteral("it has no data chunk") : QStringLiteral("it has no format chunk"));
    return format;
}

}  // namespace vm::vmbox
