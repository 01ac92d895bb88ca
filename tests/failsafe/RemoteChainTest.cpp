// Remote error chains read from source texts with missing fields and odd
// counts; a whole chain is checked through fsERROR and the error log.
#include "failsafe/RemoteChain.h"

#include <gtest/gtest.h>

namespace vm::failsafe {
namespace {

TEST(RemoteChain, MissingFieldsAndOddCounts)
{
    // source -> "frames last-module last-number last-description"
    const std::pair<const char*, const char*> cases[] = {
        {"2!A!m1.bas!Sub P!0!5!first", "2 <unknown> 0 <unknown>"},
        {"1!A!!Sub P", "1 <unknown> 0 <unknown>"},
        {"1!", "1 <unknown> 0 <unknown>"},
        {"3 levels!A!m.bas!Sub P!x!9!d", "3 <unknown> 0 <unknown>"},
        {"99!A!m.bas!Sub P!1!2!d", "10 <unknown> 0 <unknown>"},
        {"0!A!m.bas", "0"},
        {"-2!A", "0"},
        {"!A!m.bas", "0"},
        {"no chain here", "0"},
    };
    for (const auto& [source, expected] : cases) {
        const auto frames = parseRemoteChain(QString::fromLatin1(source));
        QString text = QString::number(frames.size());
        if (!frames.empty())
            text += QStringLiteral(" %1 %2 %3")
                        .arg(frames.back().module, QString::number(frames.back().number), frames.back().description);
        EXPECT_EQ(text, QLatin1String(expected)) << source;
    }
}

}  // namespace
}  // namespace vm::failsafe
