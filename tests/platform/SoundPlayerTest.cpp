// The real sound player. On machines without a sound device playing is
// silent but must neither fail nor hang.
#include "platform/DefaultSound.h"
#include "platform/FileSystem.h"
#include "platform/QtSoundPlayer.h"
#include "support/TempAppFolder.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QSoundEffect>

#include <gtest/gtest.h>

namespace {

// Runs the event loop for `ms` milliseconds or until `done` holds.
bool runEventsFor(int ms, auto done)
{
    for (QDeadlineTimer deadline(ms); !done() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace

TEST(QtSoundPlayer, PlaysAWaveFileAndANewSoundCutsOffTheOnePlaying)
{
    vm::test::TempAppFolder dir;
    const QString first = dir.file("first message.wav"), second = dir.file("second.wav");
    dir.write("first message.wav", vm::platform::defaultSoundWave());
    dir.write("second.wav", vm::platform::defaultSoundWave());
    vm::platform::QtSoundPlayer player;

    player.play(first);
    runEventsFor(200, [] { return false; });
    EXPECT_EQ(player.currentSource(), QUrl::fromLocalFile(first)) << "a playable file does not fall back";
    player.play(second);
    runEventsFor(100, [] { return false; });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // as the event loop would
    EXPECT_EQ(player.currentSource(), QUrl::fromLocalFile(second));
    EXPECT_FALSE(player.playingDefaultSound());
    EXPECT_EQ(player.findChildren<QSoundEffect*>().size(), 1) << "the cut-off sound is released";

    // A name that is no UTF-8 plays too, through the file held open.
    const QString odd = dir.file(vm::platform::nameText("caf\xe9.wav"));
    vm::platform::createNewFile(odd, vm::platform::defaultSoundWave());
    player.play(odd);
    runEventsFor(200, [] { return false; });
    EXPECT_TRUE(player.currentSource().toLocalFile().startsWith("/proc/self/fd/") && !player.playingDefaultSound());
    vm::platform::deleteFile(odd);
}

TEST(QtSoundPlayer, AMissingOrUndecodableFilePlaysTheDefaultSound)
{
    vm::test::TempAppFolder dir;
    vm::platform::QtSoundPlayer player;
    player.play(dir.file("VeryShort.wav"));
    EXPECT_TRUE(player.playingDefaultSound());
    dir.write("broken.wav", QByteArray(4000, 'x'));
    player.play(dir.file("broken.wav"));
    EXPECT_TRUE(runEventsFor(2000, [&] { return player.playingDefaultSound(); }));
}
