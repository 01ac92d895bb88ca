#pragma once
// Message file names: Id "_" stamp "_" new-marker "_" line "_" caller ".wav".
// A new name is made for the moment of recording, or for an explicit moment
// a caller already holds.

#include <QDate>
#include <QLatin1StringView>
#include <QString>
#include <QStringView>
#include <QTime>

#include <cstdint>
#include <optional>

namespace vm::mailbox {

// Recordings made with this program carry this line number and caller.
inline constexpr std::int16_t kOwnRecordingLine = 1000;

// The name of a message recorded now for box `id` on `line`.
QString MsgFileNameNew(const QString& id, std::int16_t line);
QString MsgFileNameNew(const QString& id, std::int16_t line, const QDate& date, const QTime& time);
// The new-marker and caller of a message file name; empty where it has none.
void MsgFileNameParse(const QString& name, QString& newMarker, QString& caller);

// True when MsgFileNameParse would give the name the new-marker "1": the
// statistics ask this of every file of the folder, on its name's bytes,
// without making a text of it.
bool isNewMessageName(QLatin1StringView name);
bool isNewMessageName(QStringView name);

// True for a text of ASCII digits only, at least one: a box number, a line,
// a stamp.
bool isDigits(const QString& text);

// The five fields of a name of the full form, for the operations that make
// one name from another (a copy for another box, a message marked new or
// saved). The stamp is ten digits, the line digits; the Id holds no "_";
// the caller is what stands between the fourth "_" and ".wav" (any letter
// case).
struct MessageNameParts {
    QString id;
    QString stamp;
    QString marker;
    QString line;
    QString caller;

    QString name() const;  // put back together, ".wav" in small letters
};
std::optional<MessageNameParts> messageNameParts(const QString& name);

}  // namespace vm::mailbox
