#pragma once
// The window-system services that the non-widget modules ask for, in force
// while the object lives: the error report dialog, the error module's message
// boxes, busy pointer and window switch, the display figures of the system
// report, and the sound output of the sound buttons and the message player. Create it after the
// application object and the application folder, and let it go before the
// application object does.

#include "failsafe/ErrorDialogHost.h"
#include "failsafe/FailSafeHooks.h"
#include "failsafe/SystemInfo.h"
#include "failsafe/gui/FailSafeDialogHost.h"
#include "platform/QtPlayback.h"
#include "platform/QtSoundPlayer.h"
#include "platform/SystemQuery.h"

namespace vm::app {

class GuiServices {
public:
    GuiServices();

private:
    failsafe::gui::FailSafeDialogHost dialogHost_;
    platform::QtSoundPlayer soundPlayer_;
    platform::QtPlaybackOutput playbackOutput_;
    platform::Replaceable<failsafe::ErrorDialogHost*>::Scope dialog_;
    platform::Replaceable<failsafe::MessageBoxHook>::Scope messageBoxes_;
    platform::Replaceable<failsafe::WindowsEnabledHook>::Scope windowsEnabled_;
    platform::Replaceable<failsafe::BusyCursorHook>::Scope busyCursor_;
    platform::Replaceable<platform::DisplayInfoProvider>::Scope display_;
    platform::Replaceable<platform::SoundPlayer*>::Scope sound_;
    platform::Replaceable<platform::PlaybackOutput*>::Scope playback_;
};

}  // namespace vm::app
