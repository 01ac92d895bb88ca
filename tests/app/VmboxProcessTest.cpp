// The real RiVaVaz and vmbox as separate processes: the owner, group and mode
// of the files they replace, the very list file the window writes, one writer
// per folder across processes.
#include "ProgramRun.h"

#include "support/EnvironmentScope.h"
#include "support/TempAppFolder.h"

#include "mailbox/FolderLoad.h"
#include "mailbox/LengthCache.h"
#include "mailbox/MailboxListFile.h"
#include "platform/FolderLock.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

using namespace vm::test;

Outcome vmbox(const TempAppFolder& folder, const QStringList& args)
{
    return runProgram(QStringLiteral(VMBOX_PATH), QStringList{QStringLiteral("--app-folder"), folder.path()} + args);
}

Outcome window(const TempAppFolder& folder)
{
    return runProgram(QStringLiteral(RIVAVAZ_PATH),
                      {QStringLiteral("--app-folder"), folder.path(), QStringLiteral("--close-after-load")});
}

const QString kList = QStringLiteral("data/VmBoxList.xml");

}  // namespace

// The engine's account reads the shared files through their group, or owns
// the folder: a window's close and a vmbox change keep owner, group and mode
// of every file they replace, and the engine's account can still work there.
TEST(EndToEnd, ReplacedFilesKeepTheirOwnerGroupAndMode)
{
    vm::test::TempAppFolder folder;
    folder.write(kList, "<VoicemailBox Id=\"1\"><Pin>1</Pin></VoicemailBox>\r\n");
    for (const char* name : {"QV.INI", "VmEmailForwardBody.txt"})
        folder.write(QLatin1String(name), "\r\n");
    const auto shell = [&](const char* command) {
        return runProgram(QStringLiteral("sh"), {"-c", QLatin1String("cd \"$0\" && ") + command, folder.path()}).out;
    };
    shell("chown root:daemon QV.INI VmEmailForwardBody.txt data/VmBoxList.xml && chmod 640 QV.INI data/VmBoxList.xml");
    const QStringList asDaemon = {"--reuid=daemon", "--regid=daemon", "--clear-groups",
                                  VMBOX_PATH,       "--app-folder",   folder.path()};
    for (const char* box : {"2", "3"}) {
        const QString before = shell("find . -type f | sort | xargs stat -c '%n %U:%G %a'");
        ASSERT_TRUE(before.contains(box == QLatin1String("2") ? "VmBoxList.xml root:daemon 640" : "daemon:daemon"));
        ASSERT_EQ(window(folder).status, 0);
        ASSERT_EQ(vmbox(folder, {QStringLiteral("add"), box, box}).status, 0);
        EXPECT_EQ(shell("find . -type f | sort | xargs stat -c '%n %U:%G %a'"), before);
        if (box == QLatin1String("3"))
            break;
        EXPECT_EQ(runProgram(QStringLiteral("setpriv"), asDaemon + QStringList{"list"}).err,
                  QStringLiteral("vmbox: %1: cannot be read: Permission denied\n").arg(folder.path()));
        shell("chown -R daemon:daemon .");
    }
    const Outcome change = runProgram(QStringLiteral("setpriv"), asDaemon + QStringList{"add", "4", "4"});
    EXPECT_EQ(change.status, 0) << change.err.toStdString();
}

TEST(VmboxProcess, AnImportWritesTheListTheWindowWrites)
{
    vm::test::TempAppFolder folder;
    folder.write(QStringLiteral("data/VmBoxList.txt"), "\"7\",\"77\",\"seven\"\r\n");
    folder.write(QStringLiteral("good.csv"), "Id,Pin,Description,FtpUpload\r\n102,1,\" fine \",1\r\n7,7,,0\r\n");
    const Outcome o = vmbox(folder, {QStringLiteral("import"), folder.file(QStringLiteral("good.csv"))});
    ASSERT_EQ(o.status, 0) << o.err.toStdString();
    EXPECT_FALSE(folder.exists(QStringLiteral("data/VmBoxList.txt")));
    const QByteArray saved = folder.read(kList);
    EXPECT_TRUE(saved.contains("<VoicemailBox Id=\"7\"><Pin>7</Pin><Groups></Groups><Description></Description>"));
    ASSERT_EQ(window(folder).status, 0);
    EXPECT_EQ(folder.read(kList), saved);
}

// message delete moves a message to the trash, whence it comes back whole;
// where no trash can be made it deletes for good and says so; a read-only
// message stays.
TEST(VmboxProcess, MessageDeleteGoesToTheTrashOrSaysItWasForGood)
{
    vm::test::TempAppFolder folder;
    folder.write(kList, "<VoicemailBox Id=\"1\"><Pin>1</Pin></VoicemailBox>\r\n");
    const QString save = QStringLiteral("data/VmSave/"), kept = QStringLiteral("1_1204153012_0_3_555.wav");
    for (const QString& name : {kept, QStringLiteral("1_1204153013_0_3_555.wav")})
        folder.write(save + name, name.toUtf8());
    QFile::setPermissions(folder.file(save + kept), QFile::ReadOwner);
    const QTemporaryDir home;
    const auto remove = [&](const QString& name, const QString& trash) {
        return runProgram(
            QStringLiteral(VMBOX_PATH),
            {QStringLiteral("--app-folder"), folder.path(), QStringLiteral("message"), QStringLiteral("delete"), name},
            {{QStringLiteral("XDG_DATA_HOME"), trash}});
    };
    const Outcome trashed = remove(QStringLiteral("1_1204153013_0_3_555.wav"), home.path());
    EXPECT_EQ(trashed.out, "moved 1_1204153013_0_3_555.wav to the trash, from where it can be restored\n");
    ASSERT_TRUE(QFile::rename(home.path() + "/Trash/files/1_1204153013_0_3_555.wav",
                              folder.file(save + "1_1204153013_0_3_555.wav")));
    EXPECT_EQ(folder.read(save + "1_1204153013_0_3_555.wav"), "1_1204153013_0_3_555.wav");
    const Outcome forGood = remove(QStringLiteral("1_1204153013_0_3_555.wav"), QStringLiteral("/proc/none"));
    EXPECT_EQ(forGood.status, 0);
    EXPECT_TRUE(forGood.out.startsWith("deleted 1_1204153013_0_3_555.wav for good: no trash took it ("))
        << forGood.out.toStdString();
    EXPECT_FALSE(folder.exists(save + "1_1204153013_0_3_555.wav"));
    const Outcome refused = remove(kept, home.path());
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "vmbox: " + folder.file(save + kept) + ": the message is marked read-only; it is kept\n");
    EXPECT_EQ(folder.read(save + kept), kept.toUtf8());
}

TEST(FolderLockProcess, OneWriterPerFolder)
{
    vm::test::TempAppFolder folder;
    folder.write(kList, "<VoicemailBox Id=\"1\"><Pin>1</Pin></VoicemailBox>\r\n");
    const QString holder = QStringLiteral("app_tests (process %1 on host ").arg(QCoreApplication::applicationPid());
    {
        auto held = std::make_unique<vm::platform::FolderLock>(folder.path());
        ASSERT_TRUE(held->tryLock());
        const auto before = folder.contents();
        const Outcome refusedChange = vmbox(folder, {QStringLiteral("add"), QStringLiteral("2"), QStringLiteral("2")});
        EXPECT_EQ(refusedChange.status, 1);
        EXPECT_TRUE(refusedChange.err.contains(holder)) << refusedChange.err.toStdString();
        const Outcome refusedWindow = window(folder);
        EXPECT_EQ(refusedWindow.status, 1);
        EXPECT_TRUE(refusedWindow.err.contains(QStringLiteral("RiVaVaz: The application folder ") + folder.path() +
                                               QStringLiteral(" is in use by ") + holder))
            << refusedWindow.err.toStdString();
        EXPECT_EQ(folder.contents(), before) << "a refused manager reads and writes nothing, no trace either";

        QProcess* waiting = startProgram(
            QStringLiteral(VMBOX_PATH),
            {QStringLiteral("--app-folder"), folder.path(), QStringLiteral("--wait"), QStringLiteral("20"),
             QStringLiteral("add"), QStringLiteral("3"), QStringLiteral("3")});
        QThread::msleep(500);
        held.reset();
        const Outcome waited = finishProgram(waiting);
        EXPECT_EQ(waited.status, 0) << waited.err.toStdString();
    }
}

// A window killed while it holds the folder leaves its lock behind: another
// manager takes it over, but never a live window's. As root, that manager is
// another operator of the same group on a group-writable folder, and each
// has umask 022.
TEST(FolderLockProcess, AStaleLockIsTakenOverByAnyOperatorButALiveOneNever)
{
    vm::test::TempAppFolder folder;
    folder.write(kList, "<VoicemailBox Id=\"1\"><Pin>1</Pin></VoicemailBox>\r\n");
    folder.write(QStringLiteral("QV.INI"), "[Voicemail]\r\nForwardEmailMechanism=MAPI\r\n");
    const bool root = ::geteuid() == 0;
    if (root)
        runProgram(QStringLiteral("sh"), {"-c", "chown -R 4202:4200 \"$0\" && chmod -R g+rwX \"$0\"", folder.path()});
    const QString runAs = root ? QStringLiteral("setpriv") : QStringLiteral("env");
    const auto as = [&](const QString& uid, const char* program, const QString& arguments) {
        const QStringList shell{
            "sh", "-c", QStringLiteral("umask 022 && exec \"%1\" --app-folder \"$0\" %2").arg(program, arguments),
            folder.path()};
        return root ? QStringList{"--reuid=" + uid, "--regid=4200", "--clear-groups"} + shell : shell;
    };
    const auto before = folder.contents();
    QProcess* window = startProgram(runAs, as("4201", RIVAVAZ_PATH, {}));
    ASSERT_TRUE(
        waitUntil([&] { return QFileInfo(folder.file(vm::platform::FolderLock::fileName())).size() > 0; }, 30000));
    for (const bool killed : {false, true}) {
        if (killed)
            window->kill(), finishProgram(window);
        const Outcome o = runProgram(runAs, as("4202", VMBOX_PATH, "purge --older-than 1"));
        EXPECT_EQ(o.status, killed ? 0 : 1) << o.err.toStdString();
    }
    EXPECT_EQ(folder.contents(), before);
}

// Whether the programs run under AddressSanitizer: GCC says so with a macro,
// clang through __has_feature.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kAddressSanitizer = true;
#elif defined(__has_feature)
constexpr bool kAddressSanitizer = __has_feature(address_sanitizer);
#else
constexpr bool kAddressSanitizer = false;
#endif

// Under a memory limit far below the files' sizes (sparse files, cheap to
// make): a 4 GB message is copied and exported whole with its holes, a 2 GB
// length cache costs only time, and a list file beyond the largest the
// reader takes is refused with the limit named.
TEST(MemoryLimit, MemoryFollowsTheWorkNotTheSizeOfTheFiles)
{
    if (kAddressSanitizer)
        GTEST_SKIP() << "the sanitizer reserves more address space than the limit";
    TempAppFolder folder;
    QTemporaryDir cache;
    const EnvironmentScope environment{{"XDG_CACHE_HOME", QFile::encodeName(cache.path())}};
    const auto sparse = [](const QString& path, const QByteArray& head, qint64 size) {
        QDir().mkpath(QFileInfo(path).path());
        QFile f(path);
        return f.open(QIODevice::WriteOnly) && f.write(head) == head.size() && f.resize(size);
    };
    const auto le = [](std::uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    const qint64 size = 4'000'000'000;
    const QByteArray header = "RIFF" + le(size - 8) + "WAVEfmt " +
                              QByteArray::fromHex("1000000001000100401f0000803e000002001000") + "data" + le(size - 44);
    folder.write(kList, "<VoicemailBox Id=\"1\"><Pin>1</Pin></VoicemailBox>\r\n");
    ASSERT_TRUE(sparse(folder.file("data/VmSave/1_0101120000_1_1_5.wav"), header, size));
    ASSERT_TRUE(sparse(vm::mailbox::LengthCache::fileFor(folder.path()), "QVLEN\r\n1", 2'000'000'008));
    ASSERT_TRUE(sparse(folder.file("big.xml"), {}, vm::mailbox::kLargestListFile + 1));
    // Each command in a shell whose memory is limited; only the last fails, and says why.
    const Outcome o = runProgram(
        "sh", {"-c",
               "ulimit -v 400000 && f=\"$1\" && cd \"$f\" && v() { \"$0\" --app-folder \"$f\" \"$@\"; } && "
               "v message copy 1_0101120000_1_1_5.wav 1 >/dev/null && v message export 1_0101120000_1_1_5.wav out.wav "
               "&& v messages >/dev/null && mv big.xml data/VmBoxList.xml && ! v list 2>&1",
               VMBOX_PATH, folder.path()});
    EXPECT_EQ(o.out, "vmbox: " + folder.file(kList) +
                         ": cannot be read: it holds 1,073,840,131 bytes; the largest list read is 1,073,840,130 bytes "
                         "(32,767 boxes of 32,767 characters) (error 75)\n")
        << o.err.toStdString();
    for (const QString& copy : {folder.file("data/VmSave/1_0101120001_1_1_5.wav"), folder.file("out.wav")}) {
        QFile f(copy);
        struct stat st {};
        EXPECT_TRUE(f.open(QIODevice::ReadOnly) && f.read(header.size()) == header && f.size() == size &&
                    ::stat(QFile::encodeName(copy).constData(), &st) == 0 && st.st_blocks < 64)
            << copy.toStdString() << " whole, its holes kept";
    }
}

// The bash completion as bash runs it: words, options and their values, and
// the boxes and messages of the folder on the line or in the environment.
TEST(VmboxCompletion, OffersWordsBoxesAndMessagesWhereTheyAreTaken)
{
    TempAppFolder folder;
    vm::mailbox::MailboxTable table;
    table.resetToElementZero();
    for (const char* id : {"101", "102"}) {
        vm::mailbox::VoicemailBox box;
        box.Id = QLatin1String(id);
        box.Pin = QStringLiteral("1");
        table.append(std::move(box));
    }
    folder.write(kList, vm::mailbox::mailboxListBytes(table));
    folder.write(QStringLiteral("data/VmSave/101_1204153012_0_3_555.wav"), "x");
    const QString f = folder.path();
    const std::tuple<QStringList, QString, QString> cases[] = {
        {{""}, "", "list export import add set delete greeting messages message purge stats help --app-folder"},
        {{"message", ""}, "", "copy mark export delete forward"},
        {{"messages", "--sort", ""}, "", "date box length caller"},
        {{"--app-folder", f, "set", ""}, "", "101 102"},
        {{"purge", "--box", ""}, f, "101 102"},
        {{"messages", "--caller", "x", ""}, f, "101 102"},
        {{"--app-folder", f, "message", "copy", "101_"}, "", "101_1204153012_0_3_555.wav"},
        {{"message", "copy", "101_1204153012_0_3_555.wav", "1"}, f, "101 102"},
        {{"message", "mark", "a.wav", ""}, "", "new saved"},
        {{"help", "me"}, "", "messages message"},
    };
    for (const auto& [words, environment, offered] : cases) {
        const Outcome o = runProgram(
            QStringLiteral("bash"),
            QStringList{"-c",
                        R"(source "$1"; COMP_WORDS=("${@:2}"); COMP_CWORD=$(($# - 2)); _vmbox; echo "${COMPREPLY[*]}")",
                        "_", VMBOX_COMPLETION, VMBOX_PATH} +
                words,
            {{"VMBOX_APP_FOLDER", environment}});
        EXPECT_TRUE(o.out.startsWith(offered + (offered.endsWith("folder") ? " " : "\n")))
            << words.join(u' ').toStdString() << ": " << o.out.toStdString() << o.err.toStdString();
    }
}
