#pragma once
// The window soak still puts its stand-ins in force with the set/reset calls
// and the player scope the rest of the suite has left behind. These keep it
// building, on Replaceable scopes, until it is moved to scopes of its own;
// delete this file then.

#include "failsafe/ErrorDialogHost.h"
#include "manager_window/HtmlHelpQvLib.h"
#include "platform/SoundPlayer.h"

#include <memory>

namespace vm {
namespace test {
template <class T>
void replaceUntilReset(Replaceable<T>& target, T value)
{
    static std::unique_ptr<typename Replaceable<T>::Scope> scope;
    scope.reset();
    if (value)
        scope = std::make_unique<typename Replaceable<T>::Scope>(target, value);
}
}  // namespace test

namespace failsafe {
inline void setErrorDialogHost(ErrorDialogHost* host) { test::replaceUntilReset(errorDialog(), host); }
}  // namespace failsafe

namespace window {
inline void setHelpOpener(HelpOpener opener) { test::replaceUntilReset(helpOpener(), opener); }
}  // namespace window

namespace sound {
class ScopedSoundPlayer {
public:
    explicit ScopedSoundPlayer(std::unique_ptr<SoundPlayer> player)
        : player_(std::move(player)), scope_(sound::player().replace(player_.get()))
    {}

private:
    std::unique_ptr<SoundPlayer> player_;
    Replaceable<SoundPlayer*>::Scope scope_;
};
}  // namespace sound
}  // namespace vm
