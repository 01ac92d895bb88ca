#include "SoundPlayer.h"

namespace vm::sound {

namespace {

class SilentSoundPlayer final : public SoundPlayer {
public:
    void play(const QString&) override {}
};

std::unique_ptr<SoundPlayer>& installed()
{
    static std::unique_ptr<SoundPlayer> player = std::make_unique<SilentSoundPlayer>();
    return player;
}

}  // namespace

SoundPlayer& soundPlayer() { return *installed(); }

std::unique_ptr<SoundPlayer> installSoundPlayer(std::unique_ptr<SoundPlayer> player)
{
    if (!player)
        player = std::make_unique<SilentSoundPlayer>();
    installed().swap(player);
    return player;
}

ScopedSoundPlayer::ScopedSoundPlayer(std::unique_ptr<SoundPlayer> player)
    : previous_(installSoundPlayer(std::move(player)))
{}

ScopedSoundPlayer::~ScopedSoundPlayer() { installSoundPlayer(std::move(previous_)); }

void playSoundAsync(const QString& path) { soundPlayer().play(path); }

}  // namespace vm::sound
