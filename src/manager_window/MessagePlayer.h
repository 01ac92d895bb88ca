#pragma once
// MessagePlayer: the small window "Listen" (object name frmListen) a message
// is listened to in: play and pause, a position that can be dragged, the
// time played and the whole time (from the WAV header), and the message's
// box, date and caller. Keys: Space plays or pauses, Left and Right go 5 s
// back or on, Home and End to the start and the end, Esc closes it.
//
// The message is read and checked as every message command reads it (a
// regular file of the message folder, whole), then played from what was
// read through the playback output in force (platform/Playback.h). What
// cannot be played is said in the window. Its procedures are traced under
// the module name "frmListen.frm".

#include "MessageList.h"

#include <QWidget>

#include <cstdint>
#include <memory>

class QLabel;
class QPushButton;
class QSlider;

namespace vm::platform {
class Playback;
}  // namespace vm::platform

namespace vm::manager_window {

inline const QString kListenModule = QStringLiteral("frmListen.frm");

class MessagePlayer final : public QWidget {
    Q_OBJECT
public:
    explicit MessagePlayer(QWidget* parent);
    ~MessagePlayer() override;

    // Stops what plays, opens `message` and plays it from its start.
    void open(const ListedMessage& message);

    void cmdListenPlay_Click();
    void sldListenPosition_Change();
    void Form_KeyDown(int KeyCode);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void seekTo(std::int64_t ms);
    void showPlayback();
    void showProblem(const QString& problem);

    std::unique_ptr<platform::Playback> playback_;
    std::int64_t totalMs_ = 0;
    bool showing_ = false;  // the slider is being set to the playback's position, not moved by the operator

    QLabel* lblListenBox = nullptr;
    QLabel* lblListenDate = nullptr;
    QLabel* lblListenCaller = nullptr;
    QPushButton* cmdListenPlay = nullptr;
    QSlider* sldListenPosition = nullptr;
    QLabel* lblListenElapsed = nullptr;
    QLabel* lblListenTotal = nullptr;
    QLabel* lblListenProblem = nullptr;
};

}  // namespace vm::manager_window
