#include "DefaultSound.h"

#include <QDataStream>
#include <QIODevice>

#include <cmath>
#include <numbers>

namespace vm::platform {

QByteArray pcm16MonoWave(const std::vector<std::int16_t>& samples, int sampleRate)
{
    const auto dataBytes = static_cast<quint32>(samples.size() * sizeof(std::int16_t));
    QByteArray wave;
    QDataStream out(&wave, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataBytes);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(1)  // chunk size, PCM, mono
        << quint32(sampleRate) << quint32(sampleRate * 2) << quint16(2) << quint16(16);
    out.writeRawData("data", 4);
    out << dataBytes;
    for (std::int16_t s : samples)
        out << qint16(s);
    return wave;
}

QByteArray defaultSoundWave()
{
    constexpr int rate = 22050;
    constexpr int toneSamples = rate * 75 / 1000;  // two tones, 75 thousandths of a second each
    constexpr double amplitude = 6000.0;
    constexpr double fadeSamples = 220.0;  // a hundredth of a second in and out, no clicks
    std::vector<std::int16_t> samples;
    samples.reserve(std::size_t{2} * toneSamples);
    for (double frequency : {880.0, 660.0}) {
        for (int i = 0; i < toneSamples; ++i) {
            const double fade = std::min({1.0, i / fadeSamples, (toneSamples - 1 - i) / fadeSamples});
            const double value = amplitude * fade * std::sin(2.0 * std::numbers::pi * frequency * i / rate);
            samples.push_back(static_cast<std::int16_t>(std::lround(value)));
        }
    }
    return pcm16MonoWave(samples, rate);
}

}  // namespace vm::platform
