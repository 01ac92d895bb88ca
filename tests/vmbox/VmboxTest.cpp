// vmbox's commands run in-process on a throw-away application folder: the
// export/import round trip, what a change loads, writes and removes (and
// what a failed one leaves alone), greetings and the command line.
#include "vmbox/Vmbox.h"

#include "mailbox/MailboxListFile.h"
#include "mailbox/VmbSort.h"
#include "support/TempAppFolder.h"

#include <QBuffer>
#include <QDir>

#include <gtest/gtest.h>

// Boxes are built with designated initializers; the fields left out are meant to be empty.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

class Vmbox : public ::testing::Test {
protected:
    int run(QStringList args)
    {
        QBuffer outBuffer;
        QBuffer errBuffer;
        outBuffer.open(QIODevice::WriteOnly);
        errBuffer.open(QIODevice::WriteOnly);
        args = QStringList{QStringLiteral("--app-folder"), folder.path()} + args;
        const int status = vm::vmbox::runVmbox(args, outBuffer, errBuffer);
        out = QString::fromUtf8(outBuffer.data());
        err = QString::fromUtf8(errBuffer.data());
        return status;
    }

    vm::test::TempAppFolder folder;
    QString out;
    QString err;
};

QByteArray wave(std::uint16_t encoding, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    QByteArray fmt(16, '\0');
    const auto put = [&](int at, std::uint32_t v, int size) {
        for (int k = 0; k < size; ++k)
            fmt[at + k] = static_cast<char>(v >> (8 * k));
    };
    put(0, encoding, 2);
    put(2, channels, 2);
    put(4, rate, 4);
    put(8, rate * channels * bits / 8, 4);
    put(12, channels * bits / 8, 2);
    put(14, bits, 2);
    return QByteArray("RIFF\x2c\0\0\0WAVEfmt \x10\0\0\0", 20) + fmt + QByteArray("data\x08\0\0\0", 8) +
           QByteArray(8, '\x01');
}

}  // namespace

// Values a CSV round trip (or the JSON listing) could get wrong: blanks at
// either end, quotes, commas, line breaks and control characters, a
// backslash, text outside ASCII, an Id that is not digits only, a PIN and
// flags the window would not store.
TEST_F(Vmbox, ExportWritesEveryFieldAndImportingItChangesNoByte)
{
    vm::MailboxTable table;
    table.resetToElementZero();
    table.append(
        {.Id = "10", .Pin = "123456", .Description = " say \"hi\", then ", .Groups = "x\ny\t\x01", .FtpUpload = 2});
    table.append(
        {.Id = "9a", .Pin = "1", .Description = "caf\u00e9 \u20ac", .OnReceive = "<i>\\", .DeleteAfterForward = 1});
    const QByteArray before = vm::mailboxListBytes(table);
    folder.write(QStringLiteral("data/VmBoxList.xml"), before);
    const QString csv = folder.file(QStringLiteral("boxes.csv"));
    ASSERT_EQ(run({QStringLiteral("export"), csv}), 0) << err.toStdString();
    EXPECT_EQ(
        folder.read(QStringLiteral("boxes.csv")),
        QByteArray("Id,Pin,Description,Groups,EmailForward,PhoneForward,PagerNumber,PagerMessage,OnReceive,"
                   "FtpUpload,DeleteAfterForward\r\n10,123456,\" say \"\"hi\"\", then \",\"x\ny\t\x01\",,,,,,2,0\r\n"
                   "9a,1,caf\xe9 \x80,,,,,,<i>\\,0,1\r\n"));
    ASSERT_EQ(run({QStringLiteral("list"), QStringLiteral("--format"), QStringLiteral("json")}), 0);
    EXPECT_EQ(out.toStdString(),
              R"([
  {"Id": "10", "Pin": "123456", "Description": " say \"hi\", then ", "Groups": "x\ny\t\u0001", "EmailForward": "", )"
              R"("PhoneForward": "", "PagerNumber": "", "PagerMessage": "", "OnReceive": "", "FtpUpload": 2, )"
              R"("DeleteAfterForward": 0},
  {"Id": "9a", "Pin": "1", "Description": "café €", "Groups": "", "EmailForward": "", "PhoneForward": "", )"
              R"("PagerNumber": "", "PagerMessage": "", "OnReceive": "<i>\\", "FtpUpload": 0, "DeleteAfterForward": 1}
]
)");
    ASSERT_EQ(run({QStringLiteral("import"), csv, QStringLiteral("--dry-run")}), 0) << err.toStdString();
    EXPECT_TRUE(out.startsWith(QStringLiteral("would add 0, change 0 and leave"))) << out.toStdString();
    ASSERT_EQ(run({QStringLiteral("import"), csv}), 0) << err.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("data/VmBoxList.xml")), before);
}

TEST_F(Vmbox, ChangesLoadLikeTheWindowAndRemoveFilesOnlyOnceSaved)
{
    // Boxes 7 and 8 only in the legacy list; greetings of both, a message of 8.
    folder.write(QStringLiteral("data/VmBoxList.txt"), "\"8\",\"88\",\"eight\"\r\n\"7\",\"77\",\"seven\"\r\n");
    folder.write(QStringLiteral("data/VmWelc/7.wav"), "RIFF7");
    folder.write(QStringLiteral("data/VmWelc/8.wav"), "RIFF8");
    folder.write(QStringLiteral("data/VmSave/8_0101120000_1_1_5.wav"), "RIFF");
    folder.write(QStringLiteral("omega.csv"), "Id,Pin,Description\r\n103,1,\xCE\xA9\r\n");
    const auto untouched = folder.contents();

    const struct {
        QStringList args;
        int status;
    } refused[] = {
        {{"add", "9", "abc"}, 1},          // a PIN without digits
        {{"add", "7", "1"}, 1},            // exists already
        {{"set", "6", "--pin", "1"}, 1},   // no such box
        {{"list", "--format", "xml"}, 2},  // bad usage
    };
    for (const auto& r : refused) {
        EXPECT_EQ(run(r.args), r.status) << r.args.join(u' ').toStdString();
        EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
    }
    EXPECT_EQ(run({"import", folder.file("omega.csv")}), 1);
    EXPECT_TRUE(err.contains(":2:3: Description holds \u03a9 (U+03a9), which windows-1252 lacks")) << err.toStdString();
    ASSERT_EQ(run({"list"}), 0);
    EXPECT_EQ(out, QStringLiteral("ID  PIN  Comments\n7   77   seven\n8   88   eight\n"));
    EXPECT_EQ(folder.contents(), untouched) << "refusals and list change no file";

    ASSERT_EQ(run({"add", "9", "9"}), 0) << err.toStdString();
    EXPECT_FALSE(folder.exists(QStringLiteral("data/VmBoxList.txt"))) << "its boxes are in the list file now";
    ASSERT_EQ(run({"list"}), 0);
    EXPECT_EQ(out, QStringLiteral("ID  PIN  Comments\n7   77   seven\n8   88   eight\n9   9\n"));

    // The legacy list returns with box 5, whom the list file does not know:
    // the load blanks it and drops its greeting, but only a saved change does.
    folder.write(QStringLiteral("data/VmBoxList.txt"), "\"5\",\"5\",\"five\"\r\n");
    folder.write(QStringLiteral("data/VmWelc/5.wav"), "RIFF5");
    EXPECT_EQ(run({"set", "7", "--ftp-upload", "3"}), 1);
    EXPECT_TRUE(folder.exists(QStringLiteral("data/VmWelc/5.wav")));
    ASSERT_EQ(run({"delete", "8"}), 0) << err.toStdString();
    ASSERT_EQ(run({"delete", "7", "--keep-greeting"}), 0) << err.toStdString();
    QStringList left;  // greetings of 5 and 8 gone, the message and the legacy list's removal kept, no lock
    for (const auto& file : folder.contents())
        left << file.first;
    EXPECT_EQ(left, (QStringList{"data/VmBoxList.xml", "data/VmSave/8_0101120000_1_1_5.wav", "data/VmWelc/7.wav",
                                 "omega.csv"}));
    // Box 5's blank row went with the reload (the list file's reader skips
    // it), so box 9 is the only one left, and the last box cannot go.
    const QByteArray list = folder.read(QStringLiteral("data/VmBoxList.xml"));
    EXPECT_EQ(run({"delete", "9"}), 1);
    EXPECT_EQ(folder.read(QStringLiteral("data/VmBoxList.xml")), list);
}

TEST_F(Vmbox, GreetingsTheEngineCannotPlayAreRefused)
{
    folder.write(
        QStringLiteral("data/VmBoxList.xml"),
        "<VoicemailBox Id=\"3\"><Pin>1</Pin></VoicemailBox>\r\n<VoicemailBox Id=\"4\"><Pin>1</Pin></VoicemailBox>\r\n");
    const struct {
        QByteArray file;
        int status;
        const char* said;
    } cases[] = {
        {wave(1, 1, 8000, 16), 0, ""},
        {wave(1, 2, 44100, 16), 1, "PCM, 44.1 kHz, 16 bit, stereo"},
        {wave(7, 1, 8000, 8), 1, "mu-law, 8 kHz, 8 bit, mono"},
        {"ID3\x04", 1, "not a WAV file"},
        {wave(1, 1, 8000, 16).left(36), 1, "not a WAV file"},  // no data chunk
    };
    for (const auto& c : cases) {
        folder.write(QStringLiteral("new.wav"), c.file);
        EXPECT_EQ(run({"greeting", "3", folder.file(QStringLiteral("new.wav"))}), c.status) << c.said;
        EXPECT_TRUE(err.contains(QLatin1String(c.said))) << err.toStdString();
    }
    EXPECT_EQ(folder.read(QStringLiteral("data/VmWelc/3.wav")), cases[0].file);
}

TEST_F(Vmbox, CommandLineUsage)
{
    // Each command line and the exit status it gives: 2 for bad usage.
    const std::pair<const char*, int> cases[] = {{"", 2},
                                                 {"frobnicate", 2},
                                                 {"add 1", 2},
                                                 {"set 1", 2},
                                                 {"add 5 1 --pin 2", 2},
                                                 {"set 5 --pin 1 --pin 2", 2},
                                                 {"delete 5 --keep-greeting=1", 2},
                                                 {"--wait -1 list", 2},
                                                 {"--wait 86401 list", 2},
                                                 {"--format csv list", 2},
                                                 {"list --dry-run", 2},
                                                 {"--help", 0},
                                                 {"list --format=json --wait 0.5", 0}};
    for (const auto& [line, status] : cases)
        EXPECT_EQ(run(QString::fromLatin1(line).split(u' ', Qt::SkipEmptyParts)), status) << line << err.toStdString();
    ASSERT_EQ(run({"set", "--help"}), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("--delete-after-forward 0|1")));
}
