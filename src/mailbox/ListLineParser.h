#pragma once
// The list file's line reader, over the file's windows-1252 bytes: each
// field is the text between its start tag and the first end tag at or after
// it, both found ignoring letter case; only the values taken out are
// decoded. Element order does not matter, a missing element reads as "" or
// 0, and of several records on one line only the first Id is found.

#include "BoxFields.h"
#include "VoicemailBox.h"

#include <QByteArrayView>
#include <QStringView>

#include <array>
#include <cstdint>

namespace vm::mailbox {

// Character positions in a line are 16-bit: the reader takes no longer line.
inline constexpr qsizetype kLongestListLine = 32767;

// One line taken apart: where each field's text lies in it.
class ListLine {
public:
    // Raises 6 for a line longer than kLongestListLine and 5 when the Id's
    // end marker overlaps its start marker (`<VoicemailBox Id=">`).
    explicit ListLine(QByteArrayView line);

    // False when the line holds no Id (or an empty one): no box.
    bool holdsBox() const { return !id().isEmpty(); }
    QByteArrayView id() const { return values_[static_cast<std::size_t>(mailbox::Field::Id)]; }

    // Sets all eleven fields of `box`, in the order of the line, reusing the
    // memory its texts already have where it can.
    void assignTo(VoicemailBox& box) const;

private:
    std::array<QByteArrayView, mailbox::kBoxFields.size()> values_;  // by Field
};

// One line into `record`: all eleven fields and true, or false (only the Id
// set, to "") when the line holds no box. Raises what ListLine raises.
bool parseListLine(QByteArrayView line, VoicemailBox& record);

// A windows-1252 value as text (empty bytes give a null string), assigned
// in the memory `to` already has where it can.
void assignText(QString& to, QByteArrayView bytes);

// The value of a flag element's text: a number (blanks around it allowed,
// sign, decimals, exponent) rounded half to even; 0 for text that is not a
// number or does not fit in 16 bits.
std::int16_t flagFromText(QStringView text);

}  // namespace vm::mailbox
