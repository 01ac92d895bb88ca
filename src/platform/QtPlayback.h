#pragma once
// The playback output of this platform: Qt Multimedia's media player on the
// system's default sound output, as the sound buttons use. The sound is
// played from the bytes it was opened with (kept in a temporary file of the
// operator's), so what is heard is what was read and checked, whatever
// happens to the message file meanwhile.
//
// Create, use and destroy it on the thread that runs the event loop, and
// destroy its playbacks before the application object.

#include "Playback.h"

namespace vm::platform {

class QtPlaybackOutput final : public PlaybackOutput {
public:
    std::unique_ptr<Playback> open(const FileContent& wave) override;
};

}  // namespace vm::platform
