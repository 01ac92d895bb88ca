// The line-level parsers on arbitrary text: one list file line, one message
// file name. They must return without crashing or hanging.
#include "FuzzSupport.h"

#include "mailbox/ListLine.h"
#include "mailbox/MessageFileName.h"

#include "platform/RuntimeError.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace vm;
    fuzz::fuzzFolder();
    const QString text = fuzz::latin1(data, size);
    QString id, pin, groups, description, email, phone, pagerNumber, pagerMessage, onReceive;
    std::int16_t ftp = 0, del = 0;
    ignoreErrors([&] {
        VmbParseXmlLine(text, id, pin, groups, description, email, phone, pagerNumber, pagerMessage, onReceive, ftp,
                        del);
    });
    QString marker, caller;
    MsgFileNameParse(text, marker, caller);
    return 0;
}
