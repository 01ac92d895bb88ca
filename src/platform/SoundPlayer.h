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
// The program holds one replaceable player. Until a real one is installed it
// is silent, so code and tests that never install one need no audio stack.

#include <QString>

#include <memory>

namespace vm::sound {

class SoundPlayer {
public:
    virtual ~SoundPlayer() = default;
    // Starts playing the wave file at `path`. Never raises, never blocks.
    virtual void play(const QString& path) = 0;
};

// The installed player (the silent one when none is installed).
SoundPlayer& soundPlayer();

// Makes `player` the program's player and hands back the one it replaces;
// nullptr reinstalls the silent player.
std::unique_ptr<SoundPlayer> installSoundPlayer(std::unique_ptr<SoundPlayer> player);

// Installs a player for the life of the object and puts the previous one
// back afterwards. Players that own toolkit objects must be gone before the
// application object is, which a scope inside main() guarantees.
class ScopedSoundPlayer {
public:
    explicit ScopedSoundPlayer(std::unique_ptr<SoundPlayer> player);
    ~ScopedSoundPlayer();
    ScopedSoundPlayer(const ScopedSoundPlayer&) = delete;
    ScopedSoundPlayer& operator=(const ScopedSoundPlayer&) = delete;

private:
    std::unique_ptr<SoundPlayer> previous_;
};

// Plays `path` on the installed player: the program's one playback call.
void playSoundAsync(const QString& path);

}  // namespace vm::sound
