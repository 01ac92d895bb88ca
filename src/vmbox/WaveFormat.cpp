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

std::optional<WaveFormat> waveFormatOf(const QByteArray& bytes)
{
    if (bytes.size() < 12 || !bytes.startsWith("RIFF") || bytes.mid(8, 4) != "WAVE")
        return std::nullopt;
    std::optional<WaveFormat> format;
    qsizetype at = 12;
    while (at + 8 <= bytes.size()) {
        const QByteArray id = bytes.mid(at, 4);
        const std::uint32_t size = little32(bytes, at + 4);
        const qsizetype body = at + 8;
        if (id == "fmt ") {
            if (size < 16 || body + 16 > bytes.size())
                return std::nullopt;
            format = WaveFormat{little16(bytes, body), little16(bytes, body + 2), little32(bytes, body + 4),
                                little16(bytes, body + 14)};
        } else if (id == "data") {
            return format;  // the format comes before the sound, or there is none
        }
        // Chunks are padded to an even size.
        at = body + static_cast<qsizetype>(size) + (size & 1);
    }
    return std::nullopt;
}

}  // namespace vm::vmbox
