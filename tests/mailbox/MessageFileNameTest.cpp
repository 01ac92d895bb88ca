#include "mailbox/MessageFileName.h"
#include "mailbox/VmailLib.h"

#include <QRegularExpression>

#include <gtest/gtest.h>

TEST(MsgFileNameParse, TakesNewMarkerAndCallerByPosition)
{
    struct Case {
        const char* name;
        const char* newMarker;
        const char* caller;
    };
    const std::vector<Case> cases = {
        {"101_1204153012_1_1000_999.wav", "1", "999"},
        {"101_1204153012_0_3_5551234.wav", "0", "5551234"},
        {"101_1204153012_1_1000_.wav", "1", ""},
        {"abc.wav", "", "abc"},
        {"101_1204153012.wav", "101", "101_1204153012"},
        {"1204153012_1000_999.wav", "", "1000_999"},  // made without a box Id
        {"1_2_3_4_5", "3", ""},
        {"1_2_3_4_5.a.b", "3", "5"},
        {"", "", ""},
        {"_", "", ""},
        {"a_b_c", "", ""},
    };
    for (const Case& c : cases) {
        QString newMarker = QStringLiteral("stale");
        QString caller = QStringLiteral("stale");
        vm::MsgFileNameParse(QString::fromLatin1(c.name), newMarker, caller);
        EXPECT_EQ(newMarker, QString::fromLatin1(c.newMarker)) << c.name;
        EXPECT_EQ(caller, QString::fromLatin1(c.caller)) << c.name;
    }
}

TEST(MsgFileNameNew, BuildsNameFromIdStampLineAndCaller)
{
    struct Case {
        const char* id;
        std::int16_t line;
        QDate date;
        QTime time;
        const char* name;
    };
    const std::vector<Case> cases = {
        {"101", 1000, QDate(2024, 12, 4), QTime(15, 30, 12), "101_1204153012_1_1000_999.wav"},
        {"", 1000, QDate(2024, 12, 4), QTime(15, 30, 12), "1204153012_1000_999.wav"},
        {"7", 3, QDate(2025, 1, 2), QTime(3, 4, 5), "7_0102030405_1_3_.wav"},
        {"7", 1000, QDate(2025, 1, 2), QTime(23, 59, 59), "7_0102235959_1_1000_999.wav"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vm::MsgFileNameNew(QString::fromLatin1(c.id), c.line, c.date, c.time), QString::fromLatin1(c.name));
}

TEST(MsgFileNameNew, UsesTheCurrentMomentAndRepeatsWithinASecond)
{
    const QRegularExpression form(QStringLiteral("^101_\\d{10}_1_1000_999\\.wav$"));
    for (int attempt = 0; attempt < 5; ++attempt) {
        const QTime before = QTime::currentTime();
        const QString a = vm::MsgFileNameNew(QStringLiteral("101"), 1000);
        const QString b = vm::MsgFileNameNew(QStringLiteral("101"), 1000);
        if (QTime::currentTime().second() != before.second())
            continue;  // crossed a second boundary: try again
        EXPECT_TRUE(form.match(a).hasMatch()) << a.toStdString();
        EXPECT_EQ(a, b);
        QString marker, caller;
        vm::MsgFileNameParse(a, marker, caller);
        EXPECT_EQ(marker, QStringLiteral("1"));
        EXPECT_EQ(caller, QStringLiteral("999"));
        return;
    }
    FAIL() << "clock kept crossing second boundaries";
}
