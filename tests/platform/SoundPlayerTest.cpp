// The real sound player. On machines without a sound device playing is
// silent but must neither fail nor hang.
#include "platform/DefaultSound.h"
#include "platform/QtSoundPlayer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSoundEffect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    QFile f(dir.filePath(name));
    f.open(QIODevice::WriteOnly);
    f.write(bytes);
    return f.fileName();
}

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
    QTemporaryDir dir;
    const QString first = writeFile(dir, "first message.wav", vm::sound::defaultSoundWave());
    const QString second = writeFile(dir, "second.wav", vm::sound::defaultSoundWave());
    vm::sound::QtSoundPlayer player;

    player.play(first);
    runEventsFor(200, [] { return false; });
    EXPECT_EQ(player.currentSource(), QUrl::fromLocalFile(first)) << "a playable file does not fall back";
    player.play(second);
    runEventsFor(100, [] { return false; });
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // as the event loop would
    EXPECT_EQ(player.currentSource(), QUrl::fromLocalFile(second));
    EXPECT_FALSE(player.playingDefaultSound());
    EXPECT_EQ(player.findChildren<QSoundEffect*>().size(), 1) << "the cut-off sound is released";
}

TEST(QtSoundPlayer, AMissingOrUndecodableFilePlaysTheDefaultSound)
{
    QTemporaryDir dir;
    vm::sound::QtSoundPlayer player;
    player.play(dir.filePath("VeryShort.wav"));
    EXPECT_TRUE(player.playingDefaultSound());
    player.play(writeFile(dir, "broken.wav", QByteArray(4000, 'x')));
    EXPECT_TRUE(runEventsFor(2000, [&] { return player.playingDefaultSound(); }));
}
