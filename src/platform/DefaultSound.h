#pragma once
// The default sound: what the player gives when the file it was asked to play
// is missing or cannot be played. A short, soft two-tone beep, made here as a
// complete RIFF wave file (16-bit mono PCM) so it needs no installed file.

#include <QByteArray>

#include <cstdint>
#include <vector>

namespace vm::platform {

// A RIFF/WAVE file holding `samples` as 16-bit mono PCM at `sampleRate`.
QByteArray pcm16MonoWave(const std::vector<std::int16_t>& samples, int sampleRate);

// The default sound as a wave file (about 0.15 s).
QByteArray defaultSoundWave();

}  // namespace vm::platform
