#pragma once
// Message file names: Id "_" stamp "_" new-marker "_" line "_" caller ".wav".
// MsgFileNameNew and MsgFileNameParse are in VmailLib.h; this is the form
// with an explicit moment, for callers that already hold one.

#include <QDate>
#include <QLatin1StringView>
#include <QString>
#include <QStringView>
#include <QTime>

#include <cstdint>

namespace vm {

// Recordings made with this program carry this line number and caller.
inline constexpr std::int16_t kOwnRecordingLine = 1000;

QString MsgFileNameNew(const QString& id, std::int16_t line, const QDate& date, const QTime& time);

// True when MsgFileNameParse would give the name the new-marker "1": the
// statistics ask this of every file of the folder, on its name's bytes,
// without making a text of it.
bool isNewMessageName(QLatin1StringView name);
bool isNewMessageName(QStringView name);

}  // namespace vm
