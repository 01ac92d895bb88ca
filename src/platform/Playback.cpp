#include "Playback.h"

namespace vm::platform {

namespace {

class NoSound final : public Playback {
public:
    void play() override {}
    void pause() override {}
    bool playing() const override { return false; }
    void seek(std::int64_t /*ms*/) override {}
    std::int64_t position() const override { return 0; }
    QString problem() const override { return QStringLiteral("This program has no sound output here."); }
};

class NoSoundOutput final : public PlaybackOutput {
public:
    std::unique_ptr<Playback> open(const FileContent& /*wave*/) override { return std::make_unique<NoSound>(); }
};

}  // namespace

Replaceable<PlaybackOutput*>& playbackOutput()
{
    static NoSoundOutput none;
    static Replaceable<PlaybackOutput*> inForce(&none);
    return inForce;
}

}  // namespace vm::platform
