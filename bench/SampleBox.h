#pragma once
// The boxes every benchmark's generated folder holds.

#include "mailbox/VoicemailBox.h"

#include <QString>

namespace vm::bench {

// A box as an operator would set one up; lines come to about 300 bytes.
inline vm::mailbox::VoicemailBox realisticBox(int n)
{
    vm::mailbox::VoicemailBox b;
    b.Id = QString::number(1000 + n);
    b.Pin = QString::number(1000 + (n * 7919) % 9000);
    b.Groups = QStringLiteral("%1,%2").arg(n % 7).arg(n % 3);
    b.Description = QStringLiteral("Desk %1").arg(n % 500);
    b.EmailForward = QStringLiteral("user%1@example.com").arg(n);
    b.PhoneForward = QStringLiteral("555%1").arg(n % 10000, 4, 10, QLatin1Char('0'));
    b.PagerNumber = n % 4 == 0 ? QStringLiteral("5559%1").arg(n % 1000, 3, 10, QLatin1Char('0')) : QString();
    b.PagerMessage = b.PagerNumber.isEmpty() ? QString() : b.Id;
    b.OnReceive = n % 10 == 0 ? QStringLiteral("notify.exe %1").arg(n) : QString();
    b.FtpUpload = static_cast<std::int16_t>(n % 2);
    b.DeleteAfterForward = static_cast<std::int16_t>(n % 5 == 0);
    return b;
}

}  // namespace vm::bench
