#pragma once
// The sound player of this platform, on Qt Multimedia's wave-file effect
// player. Each play() replaces the effect in progress with a fresh one, so
// the old sound is cut off and no late signal of it can affect the new one.
// A missing file is noticed at once; a file that exists but does not decode
// is noticed when loading fails, and in both cases the default sound
// (DefaultSound.h) plays instead. Without a sound device Qt Multimedia stays
// silent and reports nothing, so neither does this player.
//
// Create, use and destroy it on the thread that runs the event loop, and
// destroy it before the application object.

#include "FileContent.h"
#include "SoundPlayer.h"

#include <QObject>
#include <QPointer>
#include <QUrl>

#include <memory>

class QSoundEffect;
class QTemporaryFile;

namespace vm::platform {

class QtSoundPlayer final : public QObject, public SoundPlayer {
    Q_OBJECT
public:
    QtSoundPlayer();
    ~QtSoundPlayer() override;

    void play(const QString& path) override;

    // What the current effect plays: the requested file, or the default
    // sound's file once the request could not be played. Empty before the
    // first play.
    QUrl currentSource() const;
    bool playingDefaultSound() const;

private:
    void start(const QUrl& source);
    void playDefaultSound();
    QUrl defaultSoundUrl();
    void onStatusChanged(QSoundEffect* effect);

    QPointer<QSoundEffect> current_;
    OpenFile playing_;  // the file played by its descriptor, when its name is no UTF-8
    std::unique_ptr<QTemporaryFile> defaultSoundFile_;
};

}  // namespace vm::platform
