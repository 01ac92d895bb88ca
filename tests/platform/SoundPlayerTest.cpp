// The Qt Multimedia sound player run for real. It must behave the same on
// machines without a sound device, where playing is silent but must neither
// fail nor hang.
#include "platform/DefaultSound.h"
#include "platform/QtSoundPlayer.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QSoundEffect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct SoundFolder {
    QString add(const QString& name, const QByteArray& bytes) const
    {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return f.fileName();
    }
    QTemporaryDir dir;
};

// Runs the event loop for `ms` milliseconds or until `done` holds.
template <class Done>
bool runEventsFor(int ms, Done done)
{
    for (QDeadlineTimer deadline(ms); !done() && !deadline.hasExpired();)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

}  // namespace

TEST(QtSoundPlayer, PlaysAWaveFileAndANewSoundCutsOffTheOnePlaying)
{
    SoundFolder folder;
    const QString first = folder.add(QStringLiteral("first message.wav"), vm::sound::defaultSoundWave());
    const QString second = folder.add(QStringLiteral("second.wav"), vm::sound::defaultSoundWave());
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
    SoundFolder folder;
    const QString broken = folder.add(QStringLiteral("broken.wav"), QByteArray(4000, 'x'));
    vm::sound::QtSoundPlayer player;

    player.play(folder.dir.filePath(QStringLiteral("VeryShort.wav")));
    EXPECT_TRUE(player.playingDefaultSound());
    player.play(broken);
    EXPECT_TRUE(runEventsFor(2000, [&] { return player.playingDefaultSound(); }));
}
