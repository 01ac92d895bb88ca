#include "SoundPlayer.h"

namespace vm::sound {

namespace {

class SilentSoundPlayer final : public SoundPlayer {
public:
    void play(const QString& /*file*/) override {}
};

}  // namespace

Replaceable<SoundPlayer*>& player()
{
    static SilentSoundPlayer silent;
    static Replaceable<SoundPlayer*> inForce(&silent);
    return inForce;
}

void playSoundAsync(const QString& path) { player().get()->play(path); }

}  // namespace vm::sound
