#pragma once
// What a message's WAV header tells: its playing time, and whether the file
// is whole. The engine writes a message's header sizes when the recording
// ends, so a file whose sizes disagree with its length is still being
// written (or was cut off): it is listed as such and never copied, renamed
// or exported half-done.

#include <QByteArrayView>
#include <QString>

#include <cstdint>

namespace vm::mailbox {

struct WaveSound {
    bool complete = false;  // the RIFF size and the data chunk agree with the file's size
    double seconds = 0;     // the data chunk's playing time, when complete
    QString problem;        // why not, when not complete
};

// Reads the header in `head`, the first bytes of a file of `fileSize`
// bytes (the whole file or a part of its start): the RIFF size must be the
// file's size less 8, a "fmt " chunk with a byte rate must come before the
// "data" chunk, and the data chunk must end within the file. A header that
// reaches past `head` is told as such.
WaveSound waveSoundOf(QByteArrayView head, std::int64_t fileSize);

}  // namespace vm::mailbox
