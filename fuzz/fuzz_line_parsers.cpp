// The line-level parsers on arbitrary text: one list file line, one message
// file name. They must return without crashing or hanging.
#include "FuzzSupport.h"

#include "mailbox/ListLineParser.h"
#include "mailbox/MessageFileName.h"

#include "platform/RuntimeError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vm;
    fuzz::fuzzFolder();
    mailbox::VoicemailBox box;
    platform::ignoreErrors([&] { mailbox::parseListLine(QByteArrayView(data, static_cast<qsizetype>(size)), box); });
    const QString text = fuzz::latin1(data, size);
    QString marker, caller;
    mailbox::MsgFileNameParse(text, marker, caller);
    return 0;
}
