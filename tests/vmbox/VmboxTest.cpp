// vmbox's commands run in-process on a throw-away application folder: the
// export/import round trip, what a change loads, writes and removes (and
// what a failed one leaves alone), greetings and the command line.
#include "vmbox/Vmbox.h"

#include "vmbox/CommandTable.h"
#include "vmbox/Progress.h"

#include "mailbox/MailboxListFile.h"
#include "mailbox/VmbSort.h"
#include "platform/Trash.h"
#include "support/EnvironmentScope.h"
#include "support/FaultInjection.h"
#include "support/TempAppFolder.h"

#include <QBuffer>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// Boxes are built with designated initializers; the fields left out are meant to be empty.
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

class Vmbox : public ::testing::Test {
protected:
    // Without --app-folder first, the folder is named for the command; `input` is its standard input.
    int run(QStringList args, QByteArray input = {}, bool named = true)
    {
        QBuffer outBuffer;
        QBuffer errBuffer;
        QBuffer inBuffer(&input);
        outBuffer.open(QIODevice::WriteOnly);
        errBuffer.open(QIODevice::WriteOnly);
        inBuffer.open(QIODevice::ReadOnly);
        if (named && args.value(0) != QLatin1String("--app-folder"))
            args = QStringList{QStringLiteral("--app-folder"), folder.path()} + args;
        const int status = vm::vmbox::runVmbox(args, outBuffer, errBuffer, &inBuffer);
        out = QString::fromUtf8(outBuffer.data());
        err = QString::fromUtf8(errBuffer.data());
        return status;
    }

    // The folder's files, hidden ones included.
    QStringList names() const
    {
        QStringList all;
        for (const auto& file : folder.contents())
            all << file.first;
        return all;
    }

    vm::test::TempAppFolder folder;
    QString out;
    QString err;
};

QByteArray little(std::uint32_t v, int size)
{
    QByteArray bytes;
    for (int k = 0; k < size; ++k)
        bytes += static_cast<char>(v >> (8 * k));
    return bytes;
}

QByteArray fmt(std::uint16_t encoding, std::uint16_t channels, std::uint32_t rate, std::uint16_t bits)
{
    return "fmt " + little(16, 4) + little(encoding, 2) + little(channels, 2) + little(rate, 4) +
           little(rate * channels * bits / 8, 4) + little(channels * bits / 8, 2) + little(bits, 2);
}
QByteArray data(std::uint32_t claimed, int held) { return "data" + little(claimed, 4) + QByteArray(held, '\x01'); }
// A RIFF/WAVE file of `chunks`, its size `extra` bytes more than it holds.
QByteArray riff(const QByteArray& chunks, std::uint32_t extra = 0)
{
    return "RIFF" + little(static_cast<std::uint32_t>(chunks.size()) + 4 + extra, 4) + "WAVE" + chunks;
}
const QByteArray kGreeting = riff(fmt(1, 1, 8000, 16) + data(8, 8));

}  // namespace

// Values a CSV round trip (or the JSON and table listings) could get wrong:
// blanks at either end, quotes, commas, line breaks and control characters,
// a backslash, text outside ASCII, an Id that is not digits only, a PIN and
// flags the window would not store.
TEST_F(Vmbox, ExportWritesEveryFieldAndImportingItChangesNoByte)
{
    vm::mailbox::MailboxTable table;
    table.resetToElementZero();
    table.append({.Id = "10",
                  .Pin = "123456",
                  .Description = " say \"hi\",\x1b then\x7f ",
                  .Groups = "x\ny\t\x01",
                  .FtpUpload = 2});
    table.append(
        {.Id = "9a", .Pin = "1", .Description = "caf\u00e9 \u20ac", .OnReceive = "<i>\\", .DeleteAfterForward = 1});
    const QByteArray before = vm::mailbox::mailboxListBytes(table);
    folder.write(QStringLiteral("data/VmBoxList.xml"), before);
    const QString csv = folder.file(QStringLiteral("boxes.csv"));
    ASSERT_EQ(run({QStringLiteral("export"), csv}), 0) << err.toStdString();
    EXPECT_EQ(
        folder.read(QStringLiteral("boxes.csv")),
        QByteArray(
            "Id,Pin,Description,Groups,EmailForward,PhoneForward,PagerNumber,PagerMessage,OnReceive,"
            "FtpUpload,DeleteAfterForward\r\n10,123456,\" say \"\"hi\"\",\x1b then\x7f \",\"x\ny\t\x01\",,,,,,2,0\r\n"
            "9a,1,caf\xe9 \x80,,,,,,<i>\\,0,1\r\n"));
    ASSERT_EQ(run({QStringLiteral("list"), QStringLiteral("--format"), QStringLiteral("json")}), 0);
    EXPECT_EQ(out.toStdString(),
              R"([
  {"Id": "10", "Pin": "123456", "Description": " say \"hi\",\u001b then\u007f ", "Groups": "x\ny\t\u0001", "EmailForward": "", )"
              R"("PhoneForward": "", "PagerNumber": "", "PagerMessage": "", "OnReceive": "", "FtpUpload": 2, )"
              R"("DeleteAfterForward": 0},
  {"Id": "9a", "Pin": "1", "Description": "café €", "Groups": "", "EmailForward": "", "PhoneForward": "", )"
              R"("PagerNumber": "", "PagerMessage": "", "OnReceive": "<i>\\", "FtpUpload": 0, "DeleteAfterForward": 1}
]
)");
    ASSERT_EQ(run({QStringLiteral("list")}), 0);
    EXPECT_EQ(out,
              QStringLiteral(
                  "ID  PIN     Comments\n10  123456   say \"hi\",\\x1b then\\x7f\n9a  1       caf\u00e9 \u20ac\n"));
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
        {{"add", "9\x1b[2J", "1"}, 1},     // shown, not obeyed, by the terminal
        {{"add", "7", "1"}, 1},            // exists already
        {{"set", "6", "--pin", "1"}, 1},   // no such box
        {{"list", "--format", "xml"}, 2},  // bad usage
    };
    for (const auto& r : refused) {
        EXPECT_EQ(run(r.args), r.status) << r.args.join(u' ').toStdString();
        EXPECT_EQ(err.count(u'\n'), 1) << err.toStdString();
        EXPECT_FALSE(err.contains(u'\x1b'));
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
    // Greetings of 5 and 8 gone, the message and the legacy list's removal kept, no lock.
    EXPECT_EQ(names(), (QStringList{"data/VmBoxList.xml", "data/VmSave/8_0101120000_1_1_5.wav", "data/VmWelc/7.wav",
                                    "omega.csv"}));
    // Box 5's blank row went with the reload (the list file's reader skips
    // it), so box 9 is the only one left, and the last box cannot go.
    const QByteArray list = folder.read(QStringLiteral("data/VmBoxList.xml"));
    EXPECT_EQ(run({"delete", "9"}), 1);
    EXPECT_EQ(folder.read(QStringLiteral("data/VmBoxList.xml")), list);
}

// Files a command may not touch, inputs it cannot take whole (greetings the
// engine could not play to their end among them) and a list the load cannot
// read are refused in one line, before anything is written.
TEST_F(Vmbox, RefusalsChangeNothing)
{
    folder.write(QStringLiteral("data/VmBoxList.xml"), QByteArrayLiteral("\xFF\xFE<\0?\0"));
    QTemporaryDir outside;
    int files = 0;
    const auto wav = [&](const QByteArray& bytes) {
        QFile file(outside.filePath(QStringLiteral("%1.wav").arg(++files)));
        file.open(QIODevice::WriteOnly) && file.write(bytes);
        return file.fileName();
    };
    const QString big = outside.filePath(QStringLiteral("big.csv"));
    QFile bigFile(big);
    ASSERT_TRUE(bigFile.open(QIODevice::WriteOnly) && bigFile.resize(64 * 1024 * 1024 + 1));
    QFile::link(folder.file(QStringLiteral("VmEmailForwardBody.txt")), outside.filePath(QStringLiteral("body.csv")));
    const QByteArray pcm = fmt(1, 1, 8000, 16);
    const auto before = folder.contents();
    const std::pair<QStringList, const char*> cases[] = {
        {{"export", "/dev/full"}, "/dev/full is a device, not a regular file"},
        {{"export", folder.file("data/VmBoxList.xml")}, "shared files (data/)"},
        {{"export", folder.file("system/../QV.INI")}, "shared files (QV.INI)"},
        {{"export", outside.filePath("body.csv")}, "shared files (VmEmailForwardBody.txt)"},
        {{"import", "/dev/zero"}, "/dev/zero is a device"},
        {{"import", big}, "holds more than 67108864 bytes"},
        {{"greeting", "3", wav(riff(fmt(1, 2, 44100, 16) + data(8, 8)))}, "PCM, 44.1 kHz, 16 bit, stereo"},
        {{"greeting", "3", wav(riff(fmt(7, 1, 8000, 8) + data(4, 4)))}, "mu-law, 8 kHz, 8 bit, mono"},
        {{"greeting", "3", wav("ID3\x04")}, "not a WAV file"},
        {{"greeting", "3", wav(riff(pcm))}, "no data chunk"},
        {{"greeting", "3", wav(riff(data(2, 2) + pcm))}, "its data chunk comes before a format chunk"},
        {{"greeting", "3", wav(riff(pcm + data(2, 2), 1u << 30))}, "gives a file of 1073741870 bytes, but it holds"},
        {{"greeting", "3", wav(riff(pcm + data(~0u, 6)))}, "chunk at byte 36 gives 4294967295 bytes, but only 6"},
        {{"greeting", "3", wav(riff(pcm + data(7, 7)))}, "7 bytes, not a whole number of 2-byte samples"},
        {{"list"}, "VmBoxList.xml: is UTF-16 (little-endian, with a byte-order mark) text"},
        {{"--app-folder", outside.path(), "list"}, "holds neither QV.INI nor data"},
    };
    for (const auto& [args, said] : cases) {
        EXPECT_EQ(run(args), args.startsWith("--app-folder") ? 2 : 1) << args.join(u' ').toStdString();
        EXPECT_TRUE(err.startsWith(QStringLiteral("vmbox: ")) && err.contains(QLatin1String(said)))
            << err.toStdString();
    }
    EXPECT_EQ(folder.contents(), before);
    folder.write(QStringLiteral("data/VmBoxList.xml"), "<VoicemailBox Id=\"3\"><Pin>1</Pin></VoicemailBox>\r\n");
    ASSERT_EQ(run({"export", "-"}), 0);
    EXPECT_TRUE(out.endsWith(QStringLiteral("DeleteAfterForward\r\n3,1,,,,,,,,0,0\r\n"))) << out.toStdString();
}

// A list file that is there but cannot be read (an I/O error, no memory to
// read or load it, a lookup that fails) is no missing list: a command stops
// before it writes, and the legacy list stays.
TEST_F(Vmbox, AListThatCannotBeReadIsNoMissingList)
{
    using vm::test::FileStep;
    folder.write(QStringLiteral("data/VmBoxList.xml"), "<VoicemailBox Id=\"3\"><Pin>1</Pin></VoicemailBox>\r\n");
    folder.write(QStringLiteral("data/VmBoxList.txt"), "\"7\",\"77\",\"seven\"\r\n");
    const auto before = folder.contents();
    const std::tuple<const char*, FileStep, int, const char*> cases[] = {
        {"VmBoxList.xml", FileStep::Read, EIO, "Device I/O error (error 57)"},
        {"VmBoxList.xml", FileStep::Read, vm::test::kNoMemory, "Out of memory (error 7)"},
        {"VmBoxList.xml", FileStep::Status, EIO, "Device I/O error (error 57)"},
        {"VmBoxList.txt", FileStep::Read, vm::test::kNoMemory, "Out of memory (error 7)"},
        {"VmBoxList.txt", FileStep::Status, EACCES, "Permission denied (error 70)"},
    };
    for (const auto& [file, step, error, reason] : cases)
        for (const QStringList& args : {QStringList{"list"}, QStringList{"add", "99999", "1234"}}) {
            const vm::test::ScopedFault fault(
                [step = step, file = file, error = error](FileStep s, const QString& path) {
                    return s == step && path.endsWith(QLatin1String(file)) ? error : 0;
                });
            EXPECT_EQ(run(args), 1) << file << reason;
            EXPECT_TRUE(err.startsWith(
                QStringLiteral("vmbox: %1%2: cannot be read: %3\n").arg(folder.file("data/"), file, reason)))
                << err.toStdString();
            EXPECT_EQ(folder.contents(), before) << file << reason;
        }
}

// A step that fails once, anywhere in a greeting or a deletion, leaves the
// folder as it was.
TEST_F(Vmbox, GreetingAndDeleteDoEveryStepOrNone)
{
    using vm::test::FileStep;
    folder.write(
        QStringLiteral("data/VmBoxList.xml"),
        "<VoicemailBox Id=\"3\"><Pin>1</Pin></VoicemailBox>\r\n<VoicemailBox Id=\"4\"><Pin>1</Pin></VoicemailBox>"
        "\r\n<VoicemailBox Id=\"5\"><Pin>1</Pin></VoicemailBox>\r\n");
    folder.write(QStringLiteral("data/VmWelc/3.wav"), "old");
    folder.write(QStringLiteral("new.wav"), kGreeting);
    const auto before = folder.contents();
    const QString wav = folder.file(QStringLiteral("new.wav"));
    const struct {
        QStringList args;
        FileStep step;
        const char* file;
        bool trash = true;
    } cases[] = {
        {{"greeting", "3", wav}, FileStep::Rename, "/3.wav"},         // the new one cannot take its place
        {{"greeting", "3", wav}, FileStep::Rename, "VmBoxList.xml"},  // no list saved: the old one is back
        {{"greeting", "4", wav}, FileStep::Rename, "VmBoxList.xml"},  // and where there was none, none is
        {{"delete", "3"}, FileStep::Open, "/3.wav", false},           // no trash, and it cannot be moved aside
        {{"delete", "3"}, FileStep::Rename, "VmBoxList.xml"},         // no list saved: back from the trash
        {{"delete", "3"}, FileStep::Rename, "VmBoxList.xml", false},  // or from aside
    };
    for (const auto& c : cases) {
        int faults = 0;
        const vm::test::ScopedFault fault([&](FileStep step, const QString& path) {
            return step == c.step && path.endsWith(QLatin1String(c.file)) && faults++ == 0 ? EACCES : 0;
        });
        const auto noTrash = vm::platform::trashMove().replace(
            c.trash ? vm::platform::trashMove().get() : vm::platform::TrashMove([](const QString&) {
                return vm::platform::TrashOutcome{{}, QStringLiteral("none")};
            }));
        EXPECT_EQ(run(c.args), 1) << c.args.join(u' ').toStdString() << " " << c.file;
        EXPECT_EQ(folder.contents(), before) << c.args.join(u' ').toStdString() << " " << c.file;
    }
    // Done, they leave nothing aside; and the temporary files of a killed
    // writer (only those, links never followed) go with the next lock.
    for (const char* name : {"data/.VmBoxList.xml.Ab12Cd", ".QV.INI.xyz789", ".VmEmailForwardBody.txt.a1B2c3",
                             "data/.VmBoxList.xml.keep", "data/VmWelc/.3.wav.Ab12Cd"})
        folder.write(QLatin1String(name), "x");
    QFile::link(wav, folder.file(QStringLiteral(".QV.INI.LnK123")));
    ASSERT_EQ(run({"greeting", "3", wav}), 0);
    ASSERT_EQ(run({"delete", "5"}), 0);
    EXPECT_EQ(folder.read(QStringLiteral("data/VmWelc/3.wav")), kGreeting);
    EXPECT_EQ(names(), (QStringList{"data/.VmBoxList.xml.keep", "data/VmBoxList.xml", "data/VmWelc/.3.wav.Ab12Cd",
                                    "data/VmWelc/3.wav", "new.wav"}));
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
    EXPECT_TRUE(out.contains(QStringLiteral("--pin <DIGITS>")) && out.contains(QStringLiteral("--wait <SECONDS>")) &&
                out.contains(QStringLiteral("--delete-after-forward <0|1>")));
    ASSERT_EQ(run({"add", "--help"}), 0);
    EXPECT_FALSE(out.contains(QStringLiteral("--pin"))) << "add takes the PIN as its argument";
}

TEST_F(Vmbox, EveryCommandAndGroupAnswersHelpAndHelpCommandSaysTheSame)
{
    for (const vm::vmbox::CommandSpec& c : vm::vmbox::commands()) {
        const QStringList words = c.fullName().split(u' ');
        ASSERT_EQ(run(words + QStringList{"--help"}), 0) << err.toStdString();
        EXPECT_TRUE(out.startsWith("Usage: vmbox [options] " + vm::vmbox::usageOf(c) + "\n")) << out.toStdString();
        const QString help = out;
        ASSERT_EQ(run(QStringList{"help"} + words), 0) << err.toStdString();
        EXPECT_EQ(out, help);
    }
    ASSERT_EQ(run({"purge", "--help"}), 0);
    EXPECT_TRUE(out.startsWith("Usage: vmbox [options] purge --older-than DAYS\n")) << "a required option is shown";
    ASSERT_EQ(run({"message", "--help"}), 0);
    const QString group = out;
    for (const char* sub : {"message copy FILE ID ", "message mark FILE new|saved ", "message export FILE TARGET "})
        EXPECT_TRUE(group.contains(QLatin1String(sub))) << sub;
    ASSERT_EQ(run({"help", "message"}), 0);
    EXPECT_EQ(out, group);
    EXPECT_EQ(run({"message"}), 2);
    EXPECT_EQ(run({"help", "list", "extra"}), 2);
}

TEST_F(Vmbox, AMistypedCommandOrOptionIsAnsweredWithTheClosestOnlyWhenClose)
{
    const std::pair<const char*, const char*> cases[] = {
        {"mesages", "did you mean `messages`?"},
        {"message cpy a.wav 1", "did you mean `message copy`?"},
        {"list --formt json", "did you mean `--format`?"},
        {"purge --older-than 1 --dryrun", "did you mean `--dry-run`?"},
        {"help stat", "did you mean `stats`?"},
        {"frobnicate", "the commands are list, "},
        {"list --zzz", "see vmbox list --help"},
    };
    for (const auto& [line, said] : cases) {
        EXPECT_EQ(run(QString::fromLatin1(line).split(u' ')), 2) << line;
        EXPECT_TRUE(err.contains(QLatin1String(said))) << line << ": " << err.toStdString();
    }
}

TEST_F(Vmbox, DashReadsStandardInput)
{
    ASSERT_EQ(run({"import", "-"}, "Id,Pin\r\n7,1234\r\n"), 0) << err.toStdString();
    ASSERT_EQ(run({"greeting", "7", "-"}, kGreeting), 0) << err.toStdString();
    EXPECT_EQ(folder.read(QStringLiteral("data/VmWelc/7.wav")), kGreeting);
    ASSERT_EQ(run({"export", "-"}), 0);
    EXPECT_TRUE(out.contains(QStringLiteral("\r\n7,1234,"))) << out.toStdString();
    EXPECT_EQ(run({"import", "-"}, "Id,Pin\r\n8,x\r\n"), 1);
    EXPECT_TRUE(err.startsWith(QStringLiteral("vmbox: standard input:2:"))) << err.toStdString();
}

TEST_F(Vmbox, TheEnvironmentNamesTheFolderCheckedAsTheOptionIsAndTheOptionWins)
{
    QTemporaryDir empty;
    const QString missing = folder.path() + "/missing";
    struct Case {
        QString environment;
        QStringList arguments;
        int status;
        QString said;
    } const cases[] = {
        {folder.path(), {"list"}, 0, ""},
        {missing, {"list"}, 2, "vmbox: VMBOX_APP_FOLDER: not a folder: " + missing + "\n"},
        {empty.path(), {"list"}, 2, "VMBOX_APP_FOLDER: " + empty.path() + " is no application folder"},
        {missing, {"--app-folder", folder.path(), "list"}, 0, ""},
        {folder.path(), {"--app-folder", missing, "list"}, 2, "vmbox: --app-folder: not a folder: " + missing},
    };
    for (const Case& c : cases) {
        const vm::test::EnvironmentScope environment{{"VMBOX_APP_FOLDER", c.environment.toUtf8()}};
        EXPECT_EQ(run(c.arguments, {}, false), c.status) << c.environment.toStdString();
        EXPECT_TRUE(err.contains(c.said)) << err.toStdString();
    }
}

// Only a terminal is shown progress, and --quiet silences it even there.
TEST_F(Vmbox, ProgressGoesToATerminalOnlyAndQuietSilencesIt)
{
    const auto noDelay = vm::vmbox::progressDelay().replace(std::chrono::milliseconds(0));
    for (const bool terminal : {false, true}) {
        const auto check = vm::vmbox::errorIsTerminal().replace([terminal] { return terminal; });
        for (const char* command : {"messages", "stats"}) {
            ASSERT_EQ(run({command}), 0) << err.toStdString();
            EXPECT_EQ(err.startsWith("\r\033[Kvmbox: ") && err.endsWith("\r\033[K"), terminal) << err.toStdString();
            ASSERT_EQ(run({"--quiet", command}), 0);
            EXPECT_EQ(err, QString());
        }
    }
}
