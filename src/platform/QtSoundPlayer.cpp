#include "QtSoundPlayer.h"

#include "DefaultSound.h"
#include "NativeName.h"

#include <QDir>
#include <QFileInfo>
#include <QSoundEffect>
#include <QTemporaryFile>

#include <fcntl.h>
#include <sys/stat.h>

namespace vm::platform {

QtSoundPlayer::QtSoundPlayer() = default;

// The effects are children and go with the object; the current one is
// deleted first so it stops before its default-sound file disappears.
QtSoundPlayer::~QtSoundPlayer() { delete current_.data(); }

void QtSoundPlayer::play(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    const QByteArray native = nativeName(absolute);
    OpenFile file(::open(native.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat status {};
    if (file.fd() < 0 || ::fstat(file.fd(), &status) != 0 || !S_ISREG(status.st_mode)) {
        playDefaultSound();
        return;
    }
    // A name that is no UTF-8 cannot be handed to Qt as text: the open file
    // is, by its descriptor's name, held open while it plays.
    const bool byDescriptor = native != absolute.toUtf8();
    start(QUrl::fromLocalFile(byDescriptor ? QStringLiteral("/proc/self/fd/%1").arg(file.fd()) : absolute));
    playing_ = byDescriptor ? std::move(file) : OpenFile();
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
