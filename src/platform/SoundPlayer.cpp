#include "SoundPlayer.h"

namespace vm::platform {

namespace {

class SilentSoundPlayer final : public SoundPlayer {
public:
    void play(const QString& /*file*/) override {}
};

}  // namespace

Replaceable<SoundPlayer*>& soundPlayer()
{
    static SilentSoundPlayer silent;
    static Replaceable<SoundPlayer*> inForce(&silent);
    return inForce;
}

void playSoundAsync(const QString& path) { soundPlayer().get()->play(path); }

}  // namespace vm::platform
