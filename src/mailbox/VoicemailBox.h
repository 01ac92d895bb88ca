#pragma once
// One voicemail box, as the engine and this program share it.

#include <QString>

#include <cstdint>

namespace vm::mailbox {

struct VoicemailBox {
    QString Id;  // box number as text; "" marks a blank entry
    QString Pin;
    QString Description;
    QString Groups;
    QString EmailForward;
    QString PhoneForward;
    QString PagerNumber;
    QString PagerMessage;
    QString OnReceive;
    std::int16_t FtpUpload = 0;           // 0/1
    std::int16_t DeleteAfterForward = 0;  // 0/1
    std::int16_t SeenInFile = 0;          // merge mark only, never written

    friend bool operator==(const VoicemailBox&, const VoicemailBox&) = default;
};

}  // namespace vm::mailbox
