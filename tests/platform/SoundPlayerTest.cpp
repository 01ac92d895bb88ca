// The sound layer: the replaceable player, the default sound, and the Qt
// Multimedia player run for real. These must pass on machines without any
// sound device, where playing is silent but must neither fail nor hang.
#include "platform/DefaultSound.h"
#include "platform/QtSoundPlayer.h"
#include "platform/SoundPlayer.h"

#include <QCoreApplication>
#include <QDataStream>
#include <QDeadlineTimer>
#include <QFile>
#include <QSoundEffect>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RecordingPlayer final : public vm::sound::SoundPlayer {
public:
    explicit RecordingPlayer(QStringList* log) : log_(log) {}
    void play(const QString& path) override { log_->append(path); }

private:
    QStringList* log_;
};

QString writeFile(const QTemporaryDir& dir, const QString& name, const QByteArray& bytes)
{
    const QString path = dir.filePath(name);
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

// Lets the event loop run until `done` holds or two seconds have passed.
template <class Condition>
bool processEventsUntil(Condition done)
{
    QDeadlineTimer deadline(2000);
    while (!done() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

void processEventsFor(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

}  // namespace

TEST(SoundPlayer, PlaysGoToTheInstalledPlayerAndTheScopeRestoresThePrevious)
{
    QStringList outer;
    QStringList inner;
    vm::sound::ScopedSoundPlayer outerScope(std::make_unique<RecordingPlayer>(&outer));
    {
        vm::sound::ScopedSoundPlayer innerScope(std::make_unique<RecordingPlayer>(&inner));
        vm::sound::playSoundAsync(QStringLiteral("/a.wav"));
    }
    vm::sound::playSoundAsync(QStringLiteral("/b.wav"));

    EXPECT_EQ(inner, QStringList{QStringLiteral("/a.wav")});
    EXPECT_EQ(outer, QStringList{QStringLiteral("/b.wav")});
}

TEST(DefaultSound, IsAShortPcmWaveFile)
{
    const QByteArray wave = vm::sound::defaultSoundWave();
    QDataStream in(wave);
    in.setByteOrder(QDataStream::LittleEndian);
    char riff[4], format[8], data[4];
    quint32 riffSize, fmtSize, rate, byteRate, dataSize;
    quint16 pcm, channels, blockAlign, bits;
    in.readRawData(riff, 4);
    in >> riffSize;
    in.readRawData(format, 8);
    in >> fmtSize >> pcm >> channels >> rate >> byteRate >> blockAlign >> bits;
    in.readRawData(data, 4);
    in >> dataSize;

    EXPECT_EQ(QByteArray(riff, 4), "RIFF");
    EXPECT_EQ(QByteArray(format, 8), "WAVEfmt ");
    EXPECT_EQ(QByteArray(data, 4), "data");
    EXPECT_EQ(riffSize, quint32(wave.size() - 8));
    EXPECT_EQ(dataSize, quint32(wave.size() - 44));
    EXPECT_EQ(pcm, 1);
    EXPECT_EQ(channels, 1);
    EXPECT_EQ(bits, 16);
    EXPECT_EQ(byteRate, rate * 2);
    const double seconds = double(dataSize) / byteRate;
    EXPECT_GT(seconds, 0.05);
    EXPECT_LT(seconds, 0.5);
}

TEST(QtSoundPlayer, PlaysAWaveFileAndReturnsWithoutWaiting)
{
    QTemporaryDir dir;
    const QString wave = writeFile(dir, QStringLiteral("greeting one.wav"), vm::sound::defaultSoundWave());
    vm::sound::QtSoundPlayer player;

    player.play(wave);
    EXPECT_EQ(player.currentSource(), QUrl::fromLocalFile(wave));
    processEventsFor(300);

    EXPECT_EQ(player.currentSource(), QUrl::fromLocalFile(wave)) << "a playable file must not fall back";
    EXPECT_FALSE(player.playingDefaultSound());
}

TEST(QtSoundPlayer, AMissingOrUndecodableFilePlaysTheDefaultSound)
{
    QTemporaryDir dir;
    const QString broken = writeFile(dir, QStringLiteral("broken.wav"), QByteArray(4000, 'x'));
    vm::sound::QtSoundPlayer player;

    player.play(dir.filePath(QStringLiteral("VeryShort.wav")));
    EXPECT_TRUE(player.playingDefaultSound());

    player.play(broken);
    EXPECT_TRUE(processEventsUntil([&] { return player.playingDefaultSound(); }));
}

TEST(QtSoundPlayer, ANewSoundCutsOffTheOnePlaying)
{
    QTemporaryDir dir;
    const QString first = writeFile(dir, QStringLiteral("first.wav"), vm::sound::defaultSoundWave());
    const QString second = writeFile(dir, QStringLiteral("second.wav"), vm::sound::defaultSoundWave());
    vm::sound::QtSoundPlayer player;

    player.play(first);
    processEventsFor(50);
    player.play(second);
    processEventsFor(50);

    EXPECT_EQ(player.currentSource(), QUrl::fromLocalFile(second));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);  // as the event loop would
    int others = 0;
    for (QSoundEffect* effect : player.findChildren<QSoundEffect*>()) {
        if (effect->source() != player.currentSource()) {
            ++others;
            EXPECT_FALSE(effect->isPlaying());
        }
    }
    EXPECT_EQ(others, 0) << "the replaced sound is released";
}
