#include "QtSoundPlayer.h"

#include "DefaultSound.h"

#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTemporaryFile>

namespace vm::platform {

QtSoundPlayer::QtSoundPlayer() = default;

// The effects are children and go with the object; the current one is
// deleted first so it stops before its default-sound file disappears.
QtSoundPlayer::~QtSoundPlayer() { delete current_.data(); }

void QtSoundPlayer::play(const QString& path)
{
    const QFileInfo file(path);
    if (!file.isFile()) {
        playDefaultSound();
        return;
    }
    start(QUrl::fromLocalFile(file.absoluteFilePath()));
}

QUrl QtSoundPlayer::currentSource() const { return current_ ? current_->source() : QUrl(); }

bool QtSoundPlayer::playingDefaultSound() const
{
    return current_ && defaultSoundFile_ && current_->source() == QUrl::fromLocalFile(defaultSoundFile_->fileName());
}

void QtSoundPlayer::start(const QUrl& source)
{
    if (current_) {
        current_->stop();
        current_->deleteLater();  // may be inside one of its own signals
    }
    auto* effect = new QSoundEffect(this);
    current_ = effect;
    connect(effect, &QSoundEffect::statusChanged, this, [this, effect] { onStatusChanged(effect); });
    effect->setSource(source);
    effect->play();
}

void QtSoundPlayer::onStatusChanged(QSoundEffect* effect)
{
    if (effect != current_ || effect->status() != QSoundEffect::Error || playingDefaultSound())
        return;
    playDefaultSound();
}

void QtSoundPlayer::playDefaultSound()
{
    const QUrl url = defaultSoundUrl();
    if (url.isEmpty()) {  // nowhere to put it: stay silent, but still cut off
        if (current_)
            current_->stop();
        return;
    }
    start(url);
}

QUrl QtSoundPlayer::defaultSoundUrl()
{
    if (!defaultSoundFile_) {
        auto file = std::make_unique<QTemporaryFile>(
            QStringLiteral("%1/vm-default-sound-XXXXXX.wav").arg(QDir::tempPath()));
        if (!file->open() || file->write(defaultSoundWave()) < 0 || !file->flush())
            return {};
        file->close();
        defaultSoundFile_ = std::move(file);
    }
    return QUrl::fromLocalFile(defaultSoundFile_->fileName());
}

}  // namespace vm::platform
