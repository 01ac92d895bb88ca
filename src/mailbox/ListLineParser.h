#pragma once
// The list file's line reader: each field is the text between its start
// tag and the end tag that follows it, both found by plain text search
// ignoring case. XmlTagValue and VmbParseXmlLine (VmailLib.h) work on text;
// the start-up load reads the file's raw bytes with the very same search,
// decoding only the values it takes out.

#include "VoicemailBox.h"

#include <QByteArrayView>
#include <QStringView>

#include <array>
#include <cstdint>

namespace vm {

// Character positions in a line are 16-bit: the reader leaves longer lines alone.
inline constexpr qsizetype kLongestListLine = 32767;

// One line of the list file in its windows-1252 bytes: fills all eleven
// fields of `record` and returns true, or returns false when the line holds
// no Id. Raises what VmbParseXmlLine raises for the same text.
bool parseListLine(QByteArrayView line, VoicemailBox& record);

// A line exactly as the writer makes it (tags as written, in writer order,
// no "<" in any value, nothing after the record), taken apart without
// copying: its Id and the ten element texts from Pin to DeleteAfterForward.
// False for any other line, which parseListLine reads the general way; for
// a written line both give the same record.
struct WrittenRecord {
    QByteArrayView id;
    std::array<QByteArrayView, 10> values;
};
bool splitWrittenLine(QByteArrayView line, WrittenRecord& record);

// Sets all eleven fields of `box` from a written record, reusing the
// memory its texts already have where it can.
void assignWrittenRecord(const WrittenRecord& w, VoicemailBox& r);

// A windows-1252 value as text (empty bytes give a null string), assigned
// in the memory `to` already has where it can.
void assignText(QString& to, QByteArrayView bytes);

// The value of a flag element's text: a number (blanks around it allowed,
// sign, decimals, exponent) rounded half to even; 0 for text that is not a
// number or does not fit in 16 bits.
std::int16_t flagFromText(QStringView text);

}  // namespace vm
