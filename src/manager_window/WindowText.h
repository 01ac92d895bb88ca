#pragma once
// Texts the window works out: message lengths and dates and hours of the
// statistics. Sound files count 11025 bytes to the second of playing time,
// header included, whatever their real format. Typed box fields are filtered
// by the store's rules (mailbox/BoxText.h).

#include <QString>

#include <cstdint>

namespace vm::manager_window {

inline constexpr int kBytesPerSecond = 11025;

// Whole seconds of playing time: size / 11025 rounded to the nearest (an odd
// divisor never gives an exact half).
std::int32_t playingSeconds(std::int64_t bytes);

// "m:ss": minutes without leading zeros, two-digit seconds (0:00, 1:00, 75:00).
QString lengthText(std::int32_t seconds);

// Last-write times of message files as "mmm dd, hh:nn:ss": the locale's
// abbreviated month name and a 24-hour clock, e.g. "Jan 05, 14:03:09", in
// local time with the daylight-saving rule of that moment. A box lists
// thousands of files: the time zone is read and the month names looked up
// once, when the object is made, instead of for every file.
class MessageDates {
public:
    MessageDates();
    QString text(std::int64_t secsSinceEpoch) const;

private:
    QString months_[12];
};

// Minutes as hours with one decimal, truncated to whole tenths and without a
// leading zero under one hour: 125 -> "2.0", 59 -> ".9", 0 -> ".0".
QString hoursText(std::int32_t minutes);

}  // namespace vm::manager_window
