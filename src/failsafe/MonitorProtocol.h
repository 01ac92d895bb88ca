#pragma once
// How the program talks to an external trace monitor. A monitor is a local
// socket server (QLocalServer) whose server name is its window title:
// exactly "Tarvik FailSafe", or beginning with "Tarvik FailSafe -". On this
// platform such a server is a socket file of that name in QDir::tempPath().
//
// The program sends messages in the shape of the window messages of old and
// waits for each answer, as a synchronous send would:
//   message: message id (uint32), first parameter (int32), text length in
//            bytes (uint32), text bytes (windows-1252); all big-endian;
//   answer:  one int32, big-endian.
// Messages used: the window text (id 12; first parameter = the line length
// in characters; text = the trace line) and the poll (id 1124; first
// parameter 1 or 2; no text).
//
// Pause: a monitor that answers a line with 128 holds the program. The
// program then polls with 1124/1 ("still holding?": non-zero while paused)
// and, while held, with 1124/2 ("released?": non-zero once resumed).

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <optional>

namespace vm::failsafe {

inline const QString kMonitorTitle = QStringLiteral("Tarvik FailSafe");
inline const QString kMonitorTitlePrefix = QStringLiteral("Tarvik FailSafe -");

inline constexpr std::uint32_t kSetText = 12;  // the window-text message
inline constexpr std::uint32_t kPoll = 1124;   // the user message of the pause protocol
inline constexpr std::int32_t kPollHolding = 1;
inline constexpr std::int32_t kPollReleased = 2;
inline constexpr std::int32_t kPauseAnswer = 128;

struct Message {
    std::uint32_t id = 0;
    std::int32_t param = 0;
    QByteArray text;
};

QByteArray encodeMessage(const Message& message);
// Removes one complete message from the front of `buffer`; nothing when the
// buffer does not yet hold a whole one.
std::optional<Message> takeMessage(QByteArray& buffer);

QByteArray encodeAnswer(std::int32_t answer);
std::optional<std::int32_t> takeAnswer(QByteArray& buffer);

// True for a monitor's title: "Tarvik FailSafe" or beginning "Tarvik FailSafe -".
bool isMonitorTitle(const QString& title);

// The monitor titles among `names`, in the order they are tried: the plain
// title first, then the others by name.
QStringList monitorCandidates(const QStringList& names);

}  // namespace vm::failsafe
