#include "MessagePlayer.h"

#include "WindowText.h"

#include "config/Paths.h"
#include "failsafe/Traced.h"
#include "mailbox/MessageOperations.h"
#include "mailbox/MessageRefusal.h"
#include "platform/Playback.h"
#include "platform/RuntimeError.h"
#include "platform/VbNumbers.h"

#include <QDateTime>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QVBoxLayout>

#include <algorithm>
#include <optional>

namespace vm::manager_window {

using failsafe::argumentList;
using failsafe::eventArg;
using failsafe::noArguments;
using failsafe::runTraced;

namespace {

constexpr std::int64_t kStepMs = 5000;

QString timeText(std::int64_t ms) { return lengthText(static_cast<std::int32_t>(ms / 1000)); }

}  // namespace

MessagePlayer::MessagePlayer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setObjectName(QStringLiteral("frmListen"));
    setWindowTitle(QStringLiteral("Listen"));
    // The window takes every key itself: Space and the arrows never move
    // the focus or a control's own value.
    setFocusPolicy(Qt::StrongFocus);
    const auto label = [this](QLabel*& l, const char* name) {
        l = new QLabel(this);
        l->setObjectName(QLatin1String(name));
    };
    label(lblListenBox, "lblListenBox");
    label(lblListenDate, "lblListenDate");
    label(lblListenCaller, "lblListenCaller");
    label(lblListenElapsed, "lblListenElapsed");
    label(lblListenTotal, "lblListenTotal");
    label(lblListenProblem, "lblListenProblem");
    lblListenProblem->setWordWrap(true);

    cmdListenPlay = new QPushButton(this);
    cmdListenPlay->setObjectName(QStringLiteral("cmdListenPlay"));
    cmdListenPlay->setFocusPolicy(Qt::NoFocus);
    connect(cmdListenPlay, &QPushButton::clicked, this, [this] { cmdListenPlay_Click(); });
    sldListenPosition = new QSlider(Qt::Horizontal, this);
    sldListenPosition->setObjectName(QStringLiteral("sldListenPosition"));
    sldListenPosition->setAccessibleName(QStringLiteral("Position"));
    sldListenPosition->setFocusPolicy(Qt::NoFocus);
    sldListenPosition->setSingleStep(static_cast<int>(kStepMs));
    sldListenPosition->setPageStep(static_cast<int>(kStepMs));
    connect(sldListenPosition, &QSlider::valueChanged, this, [this] {
        if (!showing_)
            sldListenPosition_Change();
    });

    auto* about = new QFormLayout;
    about->addRow(QStringLiteral("Box:"), lblListenBox);
    about->addRow(QStringLiteral("Date:"), lblListenDate);
    about->addRow(QStringLiteral("Caller:"), lblListenCaller);
    auto* controls = new QHBoxLayout;
    controls->addWidget(cmdListenPlay);
    controls->addWidget(lblListenElapsed);
    controls->addWidget(sldListenPosition, 1);
    controls->addWidget(lblListenTotal);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(about);
    layout->addLayout(controls);
    layout->addWidget(lblListenProblem);
    resize(420, sizeHint().height());
}

MessagePlayer::~MessagePlayer() = default;

void MessagePlayer::open(const ListedMessage& message)
{
    playback_.reset();
    totalMs_ = 0;
    lblListenBox->setText(message.box);
    lblListenDate->setText(
        QDateTime::fromSecsSinceEpoch(message.writtenSecs).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")));
    lblListenCaller->setText(message.caller);
    std::optional<mailbox::CheckedMessage> wave;
    try {
        wave = mailbox::checkedMessage(config::messageFolder() + message.fileName);
    } catch (const mailbox::MessageRefusal& refusal) {
        return showProblem(refusal.line());
    } catch (const platform::RuntimeError& e) {
        return showProblem(QStringLiteral("%1 could not be read: %2").arg(message.fileName, e.description()));
    }
    totalMs_ = static_cast<std::int64_t>(platform::roundHalfEven(wave->seconds * 1000));
    playback_ = platform::playbackOutput().get()->open(wave->content());
    playback_->onChange([this] { showPlayback(); });
    playback_->play();
    showPlayback();
}

void MessagePlayer::showProblem(const QString& problem)
{
    lblListenProblem->setText(problem);
    showPlayback();
}

void MessagePlayer::showPlayback()
{
    const QString problem = playback_ ? playback_->problem() : lblListenProblem->text();
    lblListenProblem->setText(problem);
    lblListenProblem->setVisible(!problem.isEmpty());
    if (!problem.isEmpty())  // room for every line of it
        resize(width(), std::max(height(), heightForWidth(width())));
    const bool playable = playback_ && problem.isEmpty();
    cmdListenPlay->setEnabled(playable);
    sldListenPosition->setEnabled(playable);
    const bool playing = playable && playback_->playing();
    cmdListenPlay->setText(playing ? QStringLiteral("Pause") : QStringLiteral("Play"));
    const std::int64_t at = playable ? std::clamp(playback_->position(), std::int64_t{0}, totalMs_) : 0;
    showing_ = true;
    sldListenPosition->setRange(0, static_cast<int>(totalMs_));
    // A drag in progress is the operator's: the playback follows the slider.
    if (!sldListenPosition->isSliderDown())
        sldListenPosition->setValue(static_cast<int>(at));
    showing_ = false;
    lblListenElapsed->setText(timeText(at));
    lblListenTotal->setText(timeText(totalMs_));
}

void MessagePlayer::seekTo(std::int64_t ms)
{
    if (!playback_ || !playback_->problem().isEmpty())
        return;
    playback_->seek(std::clamp(ms, std::int64_t{0}, totalMs_));
    showPlayback();
}

void MessagePlayer::cmdListenPlay_Click()
{
    runTraced(kListenModule, QStringLiteral("Sub cmdListenPlay_Click"), noArguments, [this] {
        if (!playback_ || !playback_->problem().isEmpty())
            return;
        if (playback_->playing())
            playback_->pause();
        else
            playback_->play();
        showPlayback();
    });
}

void MessagePlayer::sldListenPosition_Change()
{
    runTraced(kListenModule, QStringLiteral("Sub sldListenPosition_Change"), noArguments,
              [this] { seekTo(sldListenPosition->value()); });
}

void MessagePlayer::Form_KeyDown(int KeyCode)
{
    runTraced(
        kListenModule, QStringLiteral("Sub Form_KeyDown"),
        [&] { return argumentList({eventArg(QStringLiteral("KeyCode"), static_cast<long long>(KeyCode))}); },
        [this, KeyCode] {
            const std::int64_t at = playback_ ? playback_->position() : 0;
            switch (KeyCode) {
                case Qt::Key_Left: return seekTo(at - kStepMs);
                case Qt::Key_Right: return seekTo(at + kStepMs);
                case Qt::Key_Home: return seekTo(0);
                case Qt::Key_End: return seekTo(totalMs_);
                default: return;
            }
        });
}

void MessagePlayer::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
        case Qt::Key_Space: cmdListenPlay_Click(); break;
        case Qt::Key_Left:
        case Qt::Key_Right:
        case Qt::Key_Home:
        case Qt::Key_End: Form_KeyDown(event->key()); break;
        case Qt::Key_Escape: close(); break;
        default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void MessagePlayer::closeEvent(QCloseEvent* event)
{
    playback_.reset();  // a closed player is silent
    showPlayback();
    QWidget::closeEvent(event);
}

}  // namespace vm::manager_window
