// vmbox's message commands on a throw-away application folder, each checked
// against every file of the folder afterwards, byte for byte.
#include "vmbox/Vmbox.h"

#include "vmbox/Stats.h"

#include "mailbox/LengthCache.h"
#include "mailbox/MailboxListFile.h"
#include "platform/FileSystem.h"
#include "platform/NativeName.h"
#include "support/EnvironmentScope.h"
#include "support/FaultInjection.h"
#include "support/SmtpSink.h"
#include "support/TempAppFolder.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <thread>

#include <gtest/gtest.h>

#pragma GCC diagnostic ignored "-Wmissing-field-initializers"

namespace {

using vm::mailbox::LengthCache;
using Files = std::map<QString, QByteArray>;
const QString kSave = QStringLiteral("data/VmSave/");

// A whole WAV file of PCM, 8 kHz, 16 bit, mono (16,000 bytes a second).
QByteArray wave(int dataBytes, int riffExtra = 0, std::uint32_t byteRate = 16000)
{
    const auto le = [](std::uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    return "RIFF" + le(36 + dataBytes + riffExtra) + "WAVEfmt " + le(16) + QByteArray("\x01\x00\x01\x00", 4) +
           le(8000) + le(byteRate) + QByteArray("\x02\x00\x10\x00", 4) + "data" + le(dataBytes) +
           QByteArray(dataBytes, '\x05');
}

const QDateTime kTime = QDateTime::fromSecsSinceEpoch(1733326212);  // 2024-12-04 15:30:12 UTC

class Messages : public ::testing::Test {
protected:
    Messages()
    {
        vm::mailbox::MailboxTable table;
        table.resetToElementZero();
        table.append({.Id = "101", .Pin = "1"});
        table.append({.Id = "102", .Pin = "2"});
        folder.write(QStringLiteral("data/VmBoxList.xml"), vm::mailbox::mailboxListBytes(table));
    }

    int run(const QStringList& args, const QString& appFolder = {})
    {
        QBuffer o, e;
        o.open(QIODevice::WriteOnly);
        e.open(QIODevice::WriteOnly);
        const QString app = appFolder.isEmpty() ? folder.path() : appFolder;
        const int status = vm::vmbox::runVmbox(QStringList{QStringLiteral("--app-folder"), app} + args, o, e);
        out = o.data();
        err = QString::fromUtf8(e.data());
        return status;
    }

    // A message file with its time `daysAgo` days before now, or at kTime.
    void message(const QString& name, const QByteArray& bytes, std::optional<int> daysAgo = std::nullopt)
    {
        folder.write(kSave + name, bytes);
        vm::platform::setLastWriteTime(folder.file(kSave + name),
                                       daysAgo ? QDateTime::currentDateTime().addDays(-*daysAgo) : kTime);
    }
    QDateTime timeOf(const QString& name) const { return vm::platform::lastWriteTime(folder.file(kSave + name)); }

    vm::test::TempAppFolder folder;
    QByteArray out;
    QString err;
};

const QString kA = QStringLiteral("101_1204153012_0_3_5551234.wav");

}  // namespace

TEST_F(Messages, CopyTakesTheBoxAndTheNextFreeSecondAndKeepsTheRest)
{
    message(kA, wave(32));
    message(QStringLiteral("102_1204153012_1_3_5551234.wav"), wave(2));  // taken by another message
    Files expected = folder.contents();
    ASSERT_EQ(run({"message", "copy", kA, "102"}), 0) << err.toStdString();
    EXPECT_EQ(out, "copied " + kA.toUtf8() + " to box 102 as 102_1204153013_1_3_5551234.wav\n");
    expected[kSave + "102_1204153013_1_3_5551234.wav"] = wave(32);
    EXPECT_EQ(folder.contents(), expected);
    EXPECT_EQ(timeOf(QStringLiteral("102_1204153013_1_3_5551234.wav")), kTime);

    EXPECT_EQ(run({"message", "copy", folder.file(kSave + kA), "103"}), 1);
    EXPECT_EQ(err, "vmbox: " + folder.file("data/VmBoxList.xml") + ": no box 103\n");
    EXPECT_EQ(folder.contents(), expected);
}

TEST_F(Messages, MarkRenamesBothWaysKeepingTheTimeAndNeverReplaces)
{
    message(kA, wave(8));
    const Files before = folder.contents();
    const QString asNew = QStringLiteral("101_1204153012_1_3_5551234.wav");
    ASSERT_EQ(run({"message", "mark", kA, "new"}), 0) << err.toStdString();
    Files renamed = before;
    renamed.erase(kSave + kA);
    renamed[kSave + asNew] = wave(8);
    EXPECT_EQ(folder.contents(), renamed);
    EXPECT_EQ(timeOf(asNew), kTime);
    ASSERT_EQ(run({"message", "mark", asNew, "new"}), 0);
    EXPECT_EQ(out, asNew.toUtf8() + " is new already; nothing changed\n");
    ASSERT_EQ(run({"message", "mark", asNew, "saved"}), 0);
    EXPECT_EQ(folder.contents(), before);
    EXPECT_EQ(timeOf(kA), kTime);

    folder.write(kSave + asNew, "other");
    const Files taken = folder.contents();
    EXPECT_EQ(run({"message", "mark", kA, "new"}), 1);
    EXPECT_EQ(err,
              "vmbox: " + folder.file(kSave + kA) + ": " + asNew + " exists already; the message was left as it is\n");
    EXPECT_EQ(folder.contents(), taken);
}

TEST_F(Messages, ExportWritesANewFileOrStandardOutputAndRefusesWhatIsNoWholeMessage)
{
    message(kA, wave(16));
    ASSERT_EQ(run({"message", "export", kA, "-"}), 0) << err.toStdString();
    EXPECT_EQ(out, wave(16));
    ASSERT_EQ(run({"message", "export", kA, folder.file("copy.wav")}), 0) << err.toStdString();
    EXPECT_EQ(folder.read("copy.wav"), wave(16));
    EXPECT_EQ(vm::platform::lastWriteTime(folder.file("copy.wav")), kTime);

    message(QStringLiteral("101_1204153013_1_3_1.wav"), wave(16, 4000));  // the engine's header, not yet its data
    folder.write("outside.wav", wave(16));
    QDir().mkpath(folder.file(kSave + "101_1204153014_1_3_2.wav"));
    QFile::link(folder.file(kSave + kA), folder.file(kSave + "101_1204153015_1_3_3.wav"));
    ::mkfifo(QFile::encodeName(folder.file(kSave + "101_1204153016_1_3_4.wav")).constData(), 0600);
    const Files before = folder.contents();
    const struct {
        QString file;
        QString target;
        QString error;
    } refused[] = {
        {kA, folder.file("copy.wav"), folder.file("copy.wav") + ": exists already; a saved copy never replaces a file"},
        {"/dev/null", "-", "/dev/null is a device, not a regular file"},
        {"101_1204153013_1_3_1.wav", "-",
         folder.file(kSave + "101_1204153013_1_3_1.wav") +
             ": still being written or cut off: its RIFF header gives a file of 4060 bytes, but it holds 60; it was "
             "left as it is"},
        {folder.file("outside.wav"), "-",
         folder.file("outside.wav") + ": not a message: messages are the files in " + folder.file(kSave)},
        {"101_1204153014_1_3_2.wav", "-",
         folder.file(kSave + "101_1204153014_1_3_2.wav") + " is a folder, not a regular file"},
        {"101_1204153015_1_3_3.wav", "-",
         folder.file(kSave + "101_1204153015_1_3_3.wav") + " is a symbolic link; it is not followed"},
        {"101_1204153016_1_3_4.wav", "-",
         folder.file(kSave + "101_1204153016_1_3_4.wav") + " is a FIFO, not a regular file"},
    };
    for (const auto& r : refused) {
        EXPECT_EQ(run({"message", "export", r.file, r.target}), 1) << r.file.toStdString();
        EXPECT_EQ(err, "vmbox: " + r.error + "\n");
        EXPECT_TRUE(out.isEmpty());
        EXPECT_EQ(folder.contents(), before);
    }
    // A delete takes nothing outside the folder either.
    EXPECT_EQ(run({"message", "delete", folder.file("outside.wav")}), 1);
    EXPECT_EQ(err, "vmbox: " + refused[3].error + "\n");
    EXPECT_EQ(folder.contents(), before);
}

TEST_F(Messages, ListShowsEveryEntryWithWhatItIs)
{
    message(kA, wave(24000));
    message(QStringLiteral("102_1204153013_1_1000_999.wav"), wave(16, 2));
    message(QStringLiteral("notes\x1b.txt"), "x");
    QDir().mkpath(folder.file(kSave + "sub"));
    ASSERT_EQ(run({"messages", "--format", "json"}), 0) << err.toStdString();
    EXPECT_EQ(
        out.toStdString(),
        R"([
  {"Box": "101", "Date": "2024-12-04 15:30:12", "Seconds": 2, "Status": "saved", "Line": "3", "Caller": "5551234", "File": "101_1204153012_0_3_5551234.wav", "Note": ""},
  {"Box": "102", "Date": "2024-12-04 15:30:12", "Seconds": null, "Status": "new", "Line": "1000", "Caller": "999", "File": "102_1204153013_1_1000_999.wav", "Note": "still being written or cut off: its RIFF header gives a file of 62 bytes, but it holds 60"},
  {"Box": "", "Date": "2024-12-04 15:30:12", "Seconds": null, "Status": "", "Line": "", "Caller": "", "File": "notes\u001b.txt", "Note": "the name has no message's form; still being written or cut off: it has no RIFF/WAVE header"},
)" + std::string(R"(  {"Box": "", "Date": ")") +
            QFileInfo(folder.file(kSave + "sub")).lastModified().toString("yyyy-MM-dd HH:mm:ss").toStdString() +
            R"(", "Seconds": null, "Status": "", "Line": "", "Caller": "", "File": "sub", "Note": "a folder, not a message file"}
]
)");
    ASSERT_EQ(run({"messages", "101"}), 0) << err.toStdString();
    EXPECT_EQ(out,
              "BOX  DATE                 SECONDS  STATUS  LINE  CALLER   FILE                            NOTE\n"
              "101  2024-12-04 15:30:12  2        saved   3     5551234  101_1204153012_0_3_5551234.wav\n");
}

// A large folder is read and its rows made by several threads at once.
TEST_F(Messages, ListOfManyHasEachMessageOnceInOrderWithItsOwnLength)
{
    std::map<QString, int> seconds;
    for (int i = 0; i < 1500; ++i) {
        const QString name = QStringLiteral("%1_1204%2_0_1_5.wav").arg(100 + i % 7).arg(100000 + i * 37 % 1500);
        seconds[name] = i % 50;
        folder.write(kSave + name, wave(i % 50, 0, 1));
    }
    ASSERT_EQ(run({"messages", "--format", "csv"}), 0) << err.toStdString();
    const QList<QByteArray> rows = out.trimmed().split('\n').mid(1);
    ASSERT_EQ(rows.size(), 1500);
    auto expected = seconds.begin();
    for (const QByteArray& row : rows) {
        const QList<QByteArray> f = row.trimmed().split(',');
        EXPECT_EQ(f[6], expected->first.toLatin1());
        EXPECT_EQ(f[2] + ' ' + f[3], QByteArray::number(expected->second) + " saved") << row.constData();
        ++expected;
    }
}

TEST_F(Messages, ListingKeepsTheLengthsOfSettledFilesAndTrustsThemUntilAFileChanges)
{
    QTemporaryDir cache;
    const vm::test::EnvironmentScope environment{{"XDG_CACHE_HOME", QFile::encodeName(cache.path())}};
    message(kA, wave(32000));
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));  // after which its times hold
    const auto statusOf = [&](const QString& name) {
        struct stat s {};
        return vm::platform::readFileAtName(folder.file(kSave + name), &s), s;
    };
    const auto seconds = [&] {
        EXPECT_EQ(run({"messages", "--format", "csv"}), 0) << err.toStdString();
        return out.split('\n')[1].split(',')[2];
    };
    EXPECT_EQ(seconds(), "2");
    LengthCache told(LengthCache::fileFor(folder.path()), 1);
    EXPECT_EQ(told.secondsOf(statusOf(kA)), 2);
    told.update({LengthCache::entryOf(statusOf(kA), 42)}, false, LengthCache::settledBeforeNow() + 9'000'000'000);
    told.save();
    EXPECT_EQ(seconds(), "42");
    message(kA, wave(48000));
    EXPECT_EQ(seconds(), "3");
}

// A message marked read-only is chosen but kept, and listed so.
TEST_F(Messages, PurgeDeletesOldMessagesByRuleAndADryRunNothing)
{
    const QString oldSaved = kA, oldNew = "101_0101000000_1_1_1.wav", other = "102_0101000000_0_1_1.wav",
                  young = "101_0101000001_0_1_1.wav", stranger = "old.wav", readOnly = "101_0101000002_0_1_1.wav";
    const struct {
        QStringList options;
        QStringList deleted;
    } cases[] = {
        {{"--older-than", "30"}, {oldNew, oldSaved, other}},
        {{"--older-than", "30", "--saved-only"}, {oldSaved, other}},
        {{"--older-than", "30", "--box", "101"}, {oldNew, oldSaved}},
        {{"--older-than", "30", "--box", "101", "--saved-only"}, {oldSaved}},
    };
    for (const auto& c : cases) {
        for (const QString& name : {oldSaved, oldNew, other, stranger, readOnly})
            message(name, wave(4), 40);
        QFile::setPermissions(folder.file(kSave + readOnly), QFile::ReadOwner);
        message(young, wave(4), 20);
        const Files before = folder.contents();
        QStringList shown = c.deleted;
        shown.sort();
        shown.insert(std::upper_bound(shown.begin(), shown.end(), readOnly), readOnly);
        QByteArray listed;
        for (const QString& name : shown)
            listed += (name == readOnly ? "would keep " : "would delete ") + name.toUtf8() + " (" +
                      timeOf(name).toString("yyyy-MM-dd HH:mm:ss").toUtf8() +
                      (name == readOnly ? "): marked read-only\n" : ")\n");
        const QByteArray n = QByteArray::number(c.deleted.size()), bytes = QByteArray::number(c.deleted.size() * 48);
        ASSERT_EQ(run(QStringList{"purge", "--dry-run"} + c.options), 0) << err.toStdString();
        EXPECT_EQ(out, listed + "would delete " + n + " messages older than 30 days (" + bytes +
                           " bytes); nothing deleted\nwould keep 1 messages marked read-only\nwould free " + bytes +
                           " bytes\n");
        EXPECT_EQ(folder.contents(), before);
        ASSERT_EQ(run(QStringList{"purge"} + c.options), 0) << err.toStdString();
        EXPECT_EQ(out, listed.replace("would delete", "deleted").replace("would keep", "kept") + "deleted " + n +
                           " messages older than 30 days (" + bytes +
                           " bytes)\nkept 1 messages marked read-only\nfreed " + bytes + " bytes\n");
        Files after = before;
        for (const QString& name : c.deleted)
            after.erase(kSave + name);
        EXPECT_EQ(folder.contents(), after);
        QDir(folder.file(kSave)).removeRecursively();
        QDir().mkpath(folder.file(kSave));
    }
}

// A folder and messages whose names are no UTF-8 (or hold what a terminal
// obeys) are listed with those bytes escaped, and copied, marked, exported
// and purged by their bytes.
TEST_F(Messages, NamesOfAnyBytesAreShownEscapedAndActedOnByTheirBytes)
{
    namespace fs = std::filesystem;
    const fs::path root = fs::path(folder.path().toStdString()) / "caf\xe9", saved = root / "data/VmSave";
    fs::create_directories(saved);
    const std::shared_ptr<void> removed(nullptr, [&](void*) { fs::remove_all(root); });  // Qt cannot name it
    fs::copy_file(folder.file("data/VmBoxList.xml").toStdString(), root / "data/VmBoxList.xml");
    for (const char* name : {"101_1204153012_0_3_55\xe9.wav", "101_1204153013_0_3_\x1b[2J.wav"})
        std::ofstream(saved / name, std::ios::binary).write(wave(8).constData(), 52);
    const auto vmbox = [&](const QStringList& args) { return run(args, vm::platform::nameText(root.c_str())); };
    ASSERT_EQ(vmbox({"messages", "--format", "json"}), 0) << err.toStdString();
    EXPECT_TRUE(out.contains(R"("Caller": "55\udce9", "File": "101_1204153012_0_3_55\udce9.wav")")) << out.data();
    ASSERT_EQ(vmbox({"messages"}), 0);
    EXPECT_TRUE(out.contains(" 55\\xe9   101_1204153012_0_3_55\\xe9.wav\n") && out.contains(" \\x1b[2J  101_"));
    const QString odd = vm::platform::nameText("101_1204153012_0_3_55\xe9.wav");
    EXPECT_EQ(vmbox({"message", "copy", odd, "102"}) + vmbox({"message", "mark", odd, "new"}) +
                  vmbox({"message", "export", QString(odd).replace("_0_3", "_1_3"),
                         vm::platform::nameText((root / "out\xe9.wav").c_str())}),
              0)
        << err.toStdString();
    std::set<std::string> files;
    for (const fs::directory_entry& e : fs::directory_iterator(saved)) {
        files.insert(e.path().filename().string());
        fs::last_write_time(e.path(), fs::file_time_type::clock::now() - std::chrono::hours(48));
    }
    EXPECT_EQ(files, (std::set<std::string>{"101_1204153012_1_3_55\xe9.wav", "101_1204153013_0_3_\x1b[2J.wav",
                                            "102_1204153012_1_3_55\xe9.wav"}));
    EXPECT_EQ(fs::file_size(root / "out\xe9.wav"), 52u);
    EXPECT_EQ(vmbox({"purge", "--older-than", "1"}), 0) << err.toStdString();
    EXPECT_TRUE(fs::is_empty(saved));
}

// A failure is told of the file that failed: the new file a copy or export
// could not make, the message that could not be read or deleted; a purge
// goes on with the others and says how many it did.
TEST_F(Messages, FailuresNameTheFileThatFailedAndChangeNothing)
{
    using vm::test::FileStep;
    folder.write(QStringLiteral("data/VmBoxList.xml"),
                 "<VoicemailBox Id=\"101\"></VoicemailBox>\r\n<VoicemailBox Id=\"1020000\"></VoicemailBox>\r\n");
    const QString longName = "101_1204153012_0_3_" + QString(232, u'5') + ".wav";  // 255 bytes
    message(kA, wave(8), 40);
    message(longName, wave(8), 40);
    const QString saved = folder.file(kSave), target = folder.file("copy.wav");
    const std::tuple<QStringList, FileStep, const char*, int, QString> cases[] = {
        {{"message", "copy", longName, "1020000"},
         FileStep::Open,
         "-",
         0,
         saved + "1020000_1204153012_1_3_" + QString(232, u'5') +
             ".wav: the name is longer than the file system takes (error 76)"},
        {{"message", "copy", kA, "101"},
         FileStep::Write,
         "_1_3_5551234.wav",
         ENOSPC,
         saved + "101_1204153012_1_3_5551234.wav: Disk full (error 61)"},
        {{"message", "export", kA, target},
         FileStep::Open,
         "copy.wav",
         EACCES,
         target + ": Permission denied (error 70)"},
        {{"message", "export", kA, target},
         FileStep::Read,
         "5551234.wav",
         EIO,
         saved + kA + ": Device I/O error (error 57)"},
        {{"purge", "--older-than", "30"},
         FileStep::Remove,
         "5551234.wav",
         EIO,
         saved + kA + ": Device I/O error (error 57)\nvmbox: could not delete 1 of the 2 messages chosen; deleted 1"},
    };
    for (const auto& [args, failing, file, error, said] : cases) {
        Files expected = folder.contents();
        if (failing == FileStep::Remove)
            expected.erase(kSave + longName);
        const vm::test::ScopedFault fault(
            [failing = failing, file = file, error = error](FileStep step, const QString& path) {
                return step == failing && path.endsWith(QLatin1String(file)) ? error : 0;
            });
        EXPECT_EQ(run(args), 1) << said.toStdString();
        EXPECT_EQ(err.toStdString(), ("vmbox: " + said + "\n").toStdString());
        EXPECT_EQ(folder.contents(), expected) << said.toStdString();
    }
}

TEST_F(Messages, ForwardSendsByTheSettingsOfQvIniAndSaysWhyNotWithoutWritingAnything)
{
    vm::test::SmtpSink sink({"--refuse", "nobody@example.com"});
    if (!sink.available())
        GTEST_SKIP() << "python3 with aiosmtpd is not installed";
    folder.write("QV.INI", "[Voicemail]\r\nForwardEmailSubject=New message\r\nForwardEmailSmtpServer=" +
                               sink.server().toLatin1() +
                               "\r\nForwardEmailSmtpEmailAddress=vm@example.com\r\nForwardEmailMechanism=SMTP\r\n");
    message(kA, wave(16000));
    const Files before = folder.contents();
    const QString path = folder.file(kSave + kA);
    const struct {
        QStringList args;
        int status;
        QString out, err;
    } cases[] = {
        {{kA, "ops@example.com"}, 0, "sent " + kA + " to ops@example.com through " + sink.server() + "\n", ""},
        {{path, "nobody@example.com"},
         1,
         "",
         "vmbox: " + path +
             ": not sent: RCPT failed: 550; the server said: 550 5.1.1 <nobody@example.com>: "
             "Recipient address rejected: User unknown\n"},
        {{kA}, 2, "", "vmbox: message forward takes two arguments; usage: vmbox message forward FILE ADDRESS\n"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(run(QStringList{"message", "forward"} + c.args), c.status) << err.toStdString();
        EXPECT_EQ(QString::fromUtf8(out), c.out);
        EXPECT_EQ(err.toStdString(), c.err.toStdString());
    }
    EXPECT_EQ(sink.count(), 1);
    EXPECT_EQ(sink.received(0).last(), "Part=application/octet-stream|" + kA + "|" + wave(16000).toBase64());
    EXPECT_EQ(folder.contents(), before);
}

// Filters and orders combine, and apply before the output in every format.
TEST_F(Messages, FindsByCallerDateKindAndLengthInTheOrderAsked)
{
    const QString a = kA, b = "102_1204153012_1_1_5559999.wav", c = "101_1204153013_1_2_4441234.wav", d = "notes.txt";
    message(a, wave(48000), 10);  // 3 s, saved
    message(b, wave(16000), 0);   // 1 s, new
    message(c, wave(80000), 3);   // 5 s, new
    message(d, "x");
    const QString day = QDate::currentDate().addDays(-5).toString(Qt::ISODate);
    const QString yesterday = QDate::currentDate().addDays(-1).toString(Qt::ISODate);
    const std::pair<QStringList, QStringList> cases[] = {
        {{"--caller", "1234"}, {a, c}},
        {{"--new"}, {c, b}},
        {{"--saved"}, {a}},
        {{"--min-length", "3"}, {a, c}},
        {{"--since", "5d"}, {c, b}},
        {{"--since", day, "--until", yesterday}, {c}},
        {{"--caller", "1234", "--new"}, {c}},
        {{"--sort", "length"}, {d, b, a, c}},
        {{"--sort", "date", "--reverse"}, {b, c, a, d}},
        {{"--sort", "caller"}, {d, c, a, b}},
        {{"101", "--reverse"}, {c, a}},
    };
    for (const auto& [options, files] : cases) {
        ASSERT_EQ(run(QStringList{"messages", "--format", "csv"} + options), 0) << err.toStdString();
        QStringList shown;
        for (const QByteArray& row : out.trimmed().split('\n').mid(1))
            shown << QString::fromUtf8(row.split(',')[6]).trimmed();
        EXPECT_EQ(shown, files) << options.join(u' ').toStdString();
    }
    ASSERT_EQ(run({"messages", "--new", "--format", "json"}), 0);
    EXPECT_EQ(out.count("\"File\""), 2);
    ASSERT_EQ(run({"messages", "--saved"}), 0);
    EXPECT_EQ(out.count('\n'), 2);
    // Bad values name their option; a box the list does not hold is bad data.
    const std::pair<QStringList, const char*> refused[] = {
        {{"--since", "2024-02-30"}, "--since"},
        {{"--since", "0d"}, "--since"},
        {{"--until", "5d"}, "--until"},
        {{"--min-length", "-1"}, "--min-length"},
        {{"--min-length", "1x"}, "--min-length"},
        {{"--sort", "size"}, "--sort"},
        {{"--since", "2024-02-02", "--until", "2024-02-01"}, "--since"},
    };
    for (const auto& [options, named] : refused) {
        EXPECT_EQ(run(QStringList{"messages"} + options), 2) << options.join(u' ').toStdString();
        EXPECT_TRUE(err.startsWith(QStringLiteral("vmbox: ") + QLatin1String(named))) << err.toStdString();
    }
    EXPECT_EQ(run({"messages", "999"}), 1);
    EXPECT_TRUE(err.endsWith(QStringLiteral("VmBoxList.xml: no box 999\n"))) << err.toStdString();
}

TEST_F(Messages, StatsCountEachBoxAndTheFolderWithExactBytesOrSizesForAPerson)
{
    const QString b = "102_1204153012_1_1_5559999.wav", c = "101_1204153013_1_2_4441234.wav";
    message(kA, wave(48000), 10);
    message(b, wave(16000), 0);
    message(c, wave(80000), 3);
    message("notes.txt", "x");
    const auto when = [&](const QString& name) { return timeOf(name).toString("yyyy-MM-dd HH:mm:ss"); };
    ASSERT_EQ(run({"stats", "--format", "csv"}), 0) << err.toStdString();
    QList<QByteArray> rows = out.trimmed().split('\n');
    ASSERT_EQ(rows.size(), 4);
    for (QByteArray& row : rows)
        row = row.trimmed();
    EXPECT_EQ(rows[0], "Box,New,Saved,Seconds,Oldest,Newest,Bytes,Free");
    EXPECT_EQ(QString::fromUtf8(rows[1]), QStringLiteral("101,1,1,8,%1,%2,128088,").arg(when(kA), when(c)));
    EXPECT_EQ(QString::fromUtf8(rows[2]), QStringLiteral("102,1,0,1,%1,%1,16044,").arg(when(b)));
    EXPECT_TRUE(
        QString::fromUtf8(rows[3]).startsWith(QStringLiteral("total,2,1,9,%1,%2,144132,").arg(when(kA), when(b))));
    EXPECT_GT(rows[3].split(',').last().toLongLong(), 0) << "the space left";
    ASSERT_EQ(run({"stats"}), 0);
    EXPECT_TRUE(out.contains(" 125.1 KiB\n") && out.contains(" 15.7 KiB\n")) << out.constData();
    const std::pair<std::int64_t, const char*> sizes[] = {
        {0, "0 B"}, {1023, "1023 B"}, {1024, "1.0 KiB"}, {1536, "1.5 KiB"}, {5LL << 30, "5.0 GiB"}};
    for (const auto& [bytes, text] : sizes)
        EXPECT_EQ(vm::vmbox::humanSize(bytes), QLatin1String(text));
    ASSERT_EQ(run({"stats", "--format", "json"}), 0);
    EXPECT_TRUE(out.contains("\"total\": {\"New\": 2, \"Saved\": 1, \"Seconds\": 9,")) << out.constData();
}
