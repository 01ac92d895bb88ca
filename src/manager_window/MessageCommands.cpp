// Playback, recording and deletion of messages and greetings: the sound
// buttons of the first tab. The bodies are still to come; every handler is
// already traced so the window's trace shows each press.
#include "frmVmailCfg.h"

#include "failsafe/Traced.h"

namespace vm::window {

using vm::failsafe::argumentList;
using vm::failsafe::eventArg;
using vm::failsafe::runTraced;

namespace {
QString noArguments() { return QStringLiteral("()"); }
}  // namespace

void frmVmailCfg::cmdPlayMsg_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdPlayMsg_Click"), noArguments, [] {});
}

void frmVmailCfg::cmdRecMsg_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdRecMsg_Click"), noArguments, [] {});
}

void frmVmailCfg::cmdDeleteMsg_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdDeleteMsg_Click"), noArguments, [] {});
}

void frmVmailCfg::cmdplayIntro_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdplayIntro_Click"), noArguments, [] {});
}

void frmVmailCfg::cmdRecIntro_Click()
{
    runTraced(kModule, QStringLiteral("Sub cmdRecIntro_Click"), noArguments, [] {});
}

void frmVmailCfg::cmdStopPlay_Click(std::int16_t Index)
{
    runTraced(
        kModule, QStringLiteral("Sub cmdStopPlay_Click"),
        [&] { return argumentList({eventArg(QStringLiteral("Index"), static_cast<long long>(Index))}); }, [] {});
}

}  // namespace vm::window
