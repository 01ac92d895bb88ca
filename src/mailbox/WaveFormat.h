#pragma once
// Recognising a WAV file's sound format from its header, so that a greeting
// the engine cannot play is refused before it is installed. The engine plays
// what its recording template holds: PCM, 8 kHz, 16 bit, mono.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

namespace vm::mailbox {

struct WaveFormat {
    std::uint16_t encoding = 0;  // the format tag: 1 PCM, 3 float, 6 A-law, 7 mu-law, ...
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t bitsPerSample = 0;

    bool playableByEngine() const;
    // "PCM, 8 kHz, 16 bit, mono", "IMA ADPCM, 44.1 kHz, 4 bit, stereo".
    QString describe() const;
};

// The format of a whole RIFF/WAVE file, or none with the reason in
// `problem`: the RIFF size and every chunk's size must agree with the file's
// size, one "fmt " chunk must come before one "data" chunk, and the data
// must be a whole number of samples. A file that passes plays to its end.
std::optional<WaveFormat> waveFormatOf(const QByteArray& bytes, QString& problem);

}  // namespace vm::mailbox
