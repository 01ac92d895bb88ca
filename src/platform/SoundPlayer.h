#pragma once
// Asynchronous playback of wave files, with the behaviour the program's sound
// buttons are built on:
//  - play(path) returns at once; the sound goes on after the caller returns;
//  - a new play() cuts off the sound in progress and starts the new one, so
//    "stop" is simply playing a very short sound;
//  - a file that is missing or cannot be played gives the default sound
//    instead (no error is raised, nothing is reported);
//  - with no sound device nothing is heard, and nothing fails or waits.
//
// Until a real player is put in force, nothing is heard, so code and tests
// that never replace it need no audio stack.

#include "platform/Replaceable.h"

#include <QString>

namespace vm::platform {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing the wave file at `path`. Never raises, never blocks.
    virtual void play(const QString& path) = 0;
};

// The player in force: a silent one until main() or a test replaces it.
// Players that own toolkit objects must be gone before the application
// object is, which a scope inside main() guarantees.
Replaceable<SoundPlayer*>& soundPlayer();

// Plays `path` on the installed player: the program's one playback call.
void playSoundAsync(const QString& path);

}  // namespace vm::platform
