#include "mailbox/MessageFileName.h"
#include "mailbox/NewMessageFile.h"
#include "support/TempAppFolder.h"

#include <QFile>

#include <gtest/gtest.h>

#include <array>

TEST(MsgFileNameParse, TakesNewMarkerAndCallerByPosition)
{
    const std::array<const char*, 3> cases[] = {
        // name, new-marker, caller
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
        {"a__1_b.wav", "1", "a__1_b"},
        {"x_y_1.wav", "", "y_1"},
        {"1_abc.wav", "1", "1_abc"},
    };
    for (const auto& [name, newMarker, caller] : cases) {
        QString gotMarker = QStringLiteral("stale"), gotCaller = QStringLiteral("stale");
        vm::mailbox::MsgFileNameParse(QString::fromLatin1(name), gotMarker, gotCaller);
        EXPECT_EQ(gotMarker, QString::fromLatin1(newMarker)) << name;
        EXPECT_EQ(gotCaller, QString::fromLatin1(caller)) << name;
        EXPECT_EQ(vm::mailbox::isNewMessageName(QLatin1StringView(name)), gotMarker == QStringLiteral("1")) << name;
    }
}

TEST(MsgFileNameNew, BuildsNameFromIdStampLineAndCaller)
{
    const QDate dec4(2024, 12, 4), jan2(2025, 1, 2);
    EXPECT_EQ(vm::mailbox::MsgFileNameNew("101", 1000, dec4, QTime(15, 30, 12)), "101_1204153012_1_1000_999.wav");
    EXPECT_EQ(vm::mailbox::MsgFileNameNew("", 1000, dec4, QTime(15, 30, 12)), "1204153012_1000_999.wav");
    EXPECT_EQ(vm::mailbox::MsgFileNameNew("7", 3, jan2, QTime(3, 4, 5)), "7_0102030405_1_3_.wav");
    EXPECT_EQ(vm::mailbox::MsgFileNameNew("7", 1000, jan2, QTime(23, 59, 59)), "7_0102235959_1_1000_999.wav");
}

// A recording in the same second as another, or at a name another account
// planted a link at, takes the next free second and leaves both alone.
TEST(NewMessageFile, TakesTheNextFreeSecondAndNeverOverwrites)
{
    const vm::test::TempAppFolder app;
    const QDateTime moment(QDate(2024, 12, 31), QTime(23, 59, 59));
    const auto nameAt = [](const QDateTime& t) { return vm::mailbox::MsgFileNameNew("7", 1000, t.date(), t.time()); };
    app.write("data/VmSave/7_1231235959_1_1000_999.wav", "first recording");
    app.write("outside.wav", "another account's target");
    QFile::link(app.file("outside.wav"), app.file("data/VmSave/7_0101000000_1_1000_999.wav"));
    const QString folder = app.file("data/VmSave/");
    EXPECT_EQ(vm::mailbox::createMessageFile(folder, nameAt, moment, "template"),
              folder + "7_0101000001_1_1000_999.wav");
    EXPECT_EQ(app.read("data/VmSave/7_0101000001_1_1000_999.wav"), "template");
    EXPECT_EQ(app.read("data/VmSave/7_1231235959_1_1000_999.wav"), "first recording");
    EXPECT_EQ(app.read("outside.wav"), "another account's target");
}
