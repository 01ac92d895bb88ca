// vmbox's message commands on a throw-away application folder, each checked
// against every file of the folder afterwards, byte for byte.
#include "vmbox/Vmbox.h"

#include "mailbox/LengthCache.h"
#include "mailbox/MailboxListFile.h"
#include "platform/FileSystem.h"
#include "platform/NativeName.h"
#include "support/EnvironmentScope.h"
#include "support/FaultInjection.h"
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

TEST_F(Messages, PurgeDeletesOldMessagesByRuleAndADryRunNothing)
{
    const QString oldSaved = kA, oldNew = "101_0101000000_1_1_1.wav", other = "102_0101000000_0_1_1.wav",
                  young = "101_0101000001_0_1_1.wav", stranger = "old.wav";
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
        for (const QString& name : {oldSaved, oldNew, other, stranger})
            message(name, wave(4), 40);
        message(young, wave(4), 20);
        const Files before = folder.contents();
        QByteArray listed;
        for (const QString& name : c.deleted)
            listed += "would delete " + name.toUtf8() + " (" + timeOf(name).toString("yyyy-MM-dd HH:mm:ss").toUtf8() +
                      ")\n";
        ASSERT_EQ(run(QStringList{"purge", "--dry-run"} + c.options), 0) << err.toStdString();
        EXPECT_EQ(out, listed + "would delete " + QByteArray::number(c.deleted.size()) +
                           " messages older than 30 days (" + QByteArray::number(c.deleted.size() * 48) +
                           " bytes); nothing deleted\n");
        EXPECT_EQ(folder.contents(), before);
        ASSERT_EQ(run(QStringList{"purge"} + c.options), 0) << err.toStdString();
        EXPECT_EQ(out, listed.replace("would delete", "deleted") + "deleted " + QByteArray::number(c.deleted.size()) +
                           " messages older than 30 days (" + QByteArray::number(c.deleted.size() * 48) + " bytes)\n");
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
