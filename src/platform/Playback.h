#pragma once
// Listening to one sound file with a position: play and pause it, move to
// any point, know where it is. The message player is built on it; the sound
// buttons keep the one-shot SoundPlayer.
//
// Until a real output is put in force (main() does, with the sound output of
// this platform) every playback says it has no sound output, so code and
// tests that never replace it need no audio stack; tests put a playback of
// their own in force to follow its position without a sound device.

#include "platform/FileContent.h"
#include "platform/Replaceable.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

namespace vm::platform {

// One sound, paused at its start until played. Positions are milliseconds
// from the start.
class Playback {
public:
    Playback() = default;
    Playback(const Playback&) = delete;
    Playback& operator=(const Playback&) = delete;
    virtual ~Playback() = default;

    virtual void play() = 0;
    virtual void pause() = 0;
    virtual bool playing() const = 0;
    virtual void seek(std::int64_t ms) = 0;
    virtual std::int64_t position() const = 0;
    // Why the sound cannot be played, in words for the operator; empty while it can.
    virtual QString problem() const = 0;

    // `changed` runs, on the thread of the event loop, whenever the position,
    // the playing or the problem changed.
    void onChange(std::function<void()> changed) { changed_ = std::move(changed); }

protected:
    void changed() const
    {
        if (changed_)
            changed_();
    }

private:
    std::function<void()> changed_;
};

class PlaybackOutput {
public:
    virtual ~PlaybackOutput() = default;
    // A playback of the WAV file whose whole content is `wave`, taken piece
    // by piece: a long message is never held in memory whole.
    virtual std::unique_ptr<Playback> open(const FileContent& wave) = 0;
};

// The output in force: one without sound until main() or a test replaces it.
Replaceable<PlaybackOutput*>& playbackOutput();

}  // namespace vm::platform
