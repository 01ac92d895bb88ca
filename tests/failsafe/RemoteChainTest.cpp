// Remote error chains: fields read from the source text, missing ones
// marked, the local slot turned into the end of the chain.
#include "failsafe/RemoteChain.h"

#include <QString>

#include <gtest/gtest.h>

namespace vm::failsafe {
namespace {

TEST(RemoteChain, FramesFromTheSourceText)
{
    const auto frames = parseRemoteChain(QStringLiteral("1!MailLib!modSend.bas!Function SendNow!12!53!File not found"));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].source, QStringLiteral("MailLib"));
    EXPECT_EQ(frames[0].module, QStringLiteral("modSend.bas"));
    EXPECT_EQ(frames[0].procedure, QStringLiteral("Function SendNow"));
    EXPECT_EQ(frames[0].line, 12);
    EXPECT_EQ(frames[0].number, 53);
    EXPECT_EQ(frames[0].description, QStringLiteral("File not found"));
}

TEST(RemoteChain, MissingFieldsAndOddCounts)
{
    const struct {
        const char* source;
        size_t frames;
        const char* lastModule;
        std::int32_t lastNumber;
        const char* lastDescription;
    } cases[] = {
        {"2!A!m1.bas!Sub P!0!5!first", 2, "<unknown>", 0, "<unknown>"},
        {"1!A!!Sub P", 1, "<unknown>", 0, "<unknown>"},
        {"1!", 1, "<unknown>", 0, "<unknown>"},
        {"3 levels!A!m.bas!Sub P!x!9!d", 3, "<unknown>", 0, "<unknown>"},
        {"0!A!m.bas", 0, "", 0, ""},
        {"-2!A", 0, "", 0, ""},
        {"!A!m.bas", 0, "", 0, ""},
        {"99!A!m.bas!Sub P!1!2!d", 10, "<unknown>", 0, "<unknown>"},
        {"no chain here", 0, "", 0, ""},
    };
    for (const auto& c : cases) {
        const auto frames = parseRemoteChain(QString::fromLatin1(c.source));
        ASSERT_EQ(frames.size(), c.frames) << c.source;
        if (frames.empty())
            continue;
        EXPECT_EQ(frames.back().module, QString::fromLatin1(c.lastModule)) << c.source;
        EXPECT_EQ(frames.back().number, c.lastNumber) << c.source;
        EXPECT_EQ(frames.back().description, QString::fromLatin1(c.lastDescription)) << c.source;
    }
}

TEST(RemoteChain, LocalSlotBecomesTheEndOfTheChain)
{
    ErrorRecord record;
    record.slot[0] = {QStringLiteral("Custom Control or user defined error"), QStringLiteral("frmVmailCfg.frm"),
                      QStringLiteral("Sub cmdVmbAdd_Click"), 0, QStringLiteral("x (remote)"), 32100, QStringLiteral("d")};
    recordRemoteChain(record, QStringLiteral("1!Lib!modA.bas!Sub A!3!91!Object variable not set"), 32100,
                      QStringLiteral("VoicemailManager"));
    EXPECT_EQ(record.remoteLevels, 1);
    EXPECT_EQ(record.slot[0].number, 440);
    EXPECT_EQ(record.slot[0].source, QStringLiteral("VoicemailManager (local)"));
    EXPECT_EQ(record.slot[0].description, QStringLiteral("Remote Application-defined or object-defined error"));
    EXPECT_EQ(record.slot[0].category, QStringLiteral("Custom Control or user defined error"));
    EXPECT_EQ(record.slot[1].category, QStringLiteral("Non-initialzed object or variant error"));
    EXPECT_EQ(record.slot[1].source, QStringLiteral("Lib (remote)"));
    EXPECT_EQ(record.slot[1].moduleTrail, QStringLiteral("frmVmailCfg.frm << modA.bas"));
    EXPECT_EQ(record.slot[1].procedureTrail, QStringLiteral("Sub cmdVmbAdd_Click << Sub A"));
    EXPECT_EQ(record.slot[1].line, 3);
}

TEST(RemoteChain, ChainWithoutFramesChangesNothing)
{
    ErrorRecord record;
    record.slot[0].number = 53;
    recordRemoteChain(record, QStringLiteral("0!Lib"), 53, QStringLiteral("VoicemailManager"));
    EXPECT_EQ(record.slot[0].number, 53);
    EXPECT_EQ(record.remoteLevels, 0);
}

}  // namespace
}  // namespace vm::failsafe
