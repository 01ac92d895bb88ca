#include "QtPlayback.h"

#include "platform/RuntimeError.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QDir>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QTemporaryFile>

namespace vm::platform {

namespace {

class QtPlayback final : public Playback {
public:
    explicit QtPlayback(const FileContent& wave)
    {
        if (QMediaDevices::audioOutputs().isEmpty()) {
            problem_ = QStringLiteral("This machine has no sound output.");
            return;
        }
        // Not every media backend plays from memory, so the bytes go to a file
        // of the operator's own, never to be swapped by another account.
        copy_.setFileTemplate(QDir::tempPath() + QStringLiteral("/vm-listen-XXXXXX.wav"));
        if (!copy_.open()) {
            problem_ = QStringLiteral("The message could not be made ready to play: %1").arg(copy_.errorString());
            return;
        }
        try {
            wave.writeTo(copy_.handle(), copy_.fileName());
        } catch (const RuntimeError& e) {
            problem_ = QStringLiteral("The message could not be made ready to play: %1").arg(e.description());
            return;
        }
        copy_.close();
        player_.setAudioOutput(&output_);
        QObject::connect(&player_, &QMediaPlayer::positionChanged, [this] { changed(); });
        QObject::connect(&player_, &QMediaPlayer::playbackStateChanged, [this] { changed(); });
        QObject::connect(&player_, &QMediaPlayer::errorOccurred, [this] {
            problem_ = QStringLiteral("The sound output cannot play it: %1").arg(player_.errorString());
            changed();
        });
        player_.setSource(QUrl::fromLocalFile(copy_.fileName()));
    }
    ~QtPlayback() override
    {
        // No signal of the player may reach a half-destroyed object.
        QObject::disconnect(&player_, nullptr, nullptr, nullptr);
        player_.stop();
    }

    void play() override
    {
        if (problem_.isEmpty())
            player_.play();
    }
    void pause() override { player_.pause(); }
    bool playing() const override { return player_.playbackState() == QMediaPlayer::PlayingState; }
    void seek(std::int64_t ms) override { player_.setPosition(ms); }
    std::int64_t position() const override { return player_.position(); }
    QString problem() const override { return problem_; }

private:
    // Destroyed in reverse order: the player first, then its output and the file it reads.
    QTemporaryFile copy_;
    QAudioOutput output_;
    QMediaPlayer player_;
    QString problem_;
};

}  // namespace

std::unique_ptr<Playback> QtPlaybackOutput::open(const FileContent& wave) { return std::make_unique<QtPlayback>(wave); }

}  // namespace vm::platform
