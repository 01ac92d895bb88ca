#include "platform/FileSystem.h"
#include "platform/KeptCopy.h"
#include "platform/RuntimeError.h"
#include "support/ErrorNumberOf.h"
#include "support/FaultInjection.h"
#include "support/TempAppFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <tuple>

using namespace vm;
using test::errorNumberOf;

TEST(FileSystem, PatternMatchingIgnoresCase)
{
    const struct {
        const char* name;
        const char* pattern;
        bool match;
    } cases[] = {
        {"101_1204153012_1_1000_999.wav", "101*.wav", true},
        {"101_x.WAV", "*.wav", true},
        {"1010_x.wav", "101_*.wav", false},
        {"abc.wav", "ABC.wav", true},
        {"a.wav", "?.wav", true},
        {"ab.wav", "?.wav", false},
        {"x.wave", "*.wav", false},
        {"", "*", true},
        {"a*b", "a*b", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::matchesPattern(QString::fromLatin1(c.name), QString::fromLatin1(c.pattern)), c.match)
            << c.name << " ~ " << c.pattern;
}

class FileSystemFolder : public ::testing::Test {
protected:
    test::TempAppFolder app;
};

TEST_F(FileSystemFolder, FoldersAndHiddenFilesAreNotFound)
{
    for (const char* name : {"b.wav", ".hidden.wav"})
        app.write(QStringLiteral("data/VmSave/") + name, "1");
    QDir(app.file("data/VmSave")).mkdir("d.wav");
    EXPECT_TRUE(platform::fileExists(app.file("data/VmSave/b.wav")));
    EXPECT_FALSE(platform::fileExists(app.file("data/VmSave/.hidden.wav")));
    EXPECT_FALSE(platform::fileExists(app.file("data/VmSave/d.wav")));
}

TEST_F(FileSystemFolder, FailuresRaiseTheMatchingErrors)
{
    EXPECT_EQ(errorNumberOf([&] { platform::deleteFile(app.file("data/none.wav")); }), 53);
    EXPECT_EQ(errorNumberOf([&] { platform::deleteFile(app.file("nofolder/none.wav")); }), 76);
    EXPECT_EQ(errorNumberOf([&] { platform::fileSize(app.file("data/none.wav")); }), 53);
    EXPECT_EQ(errorNumberOf([&] { platform::copyToNewFile(app.file("system/none.wav"), app.file("x.wav")); }), 53);
    EXPECT_EQ(errorNumberOf([&] { platform::createNewFile(app.file("nofolder/x.txt"), "x"); }), 76);
}

TEST_F(FileSystemFolder, NewFilesNeverReplaceWhatIsThere)
{
    const QByteArray bytes = QByteArray("\x00\x07\x0e\xff\x80\x7f\r\n", 8).repeated(12500);
    app.write("system/8pcm16m.wav", bytes);
    platform::copyToNewFile(app.file("system/8pcm16m.wav"), app.file("data/VmSave/1.wav"));
    EXPECT_EQ(app.read("data/VmSave/1.wav"), bytes);
    app.write("data/VmSave/2.wav", "recorded");
    QFile::link(app.file("elsewhere.wav"), app.file("data/VmSave/3.wav"));  // dangling
    for (const char* name : {"data/VmSave/2.wav", "data/VmSave/3.wav"})
        EXPECT_EQ(errorNumberOf([&] { platform::copyToNewFile(app.file("system/8pcm16m.wav"), app.file(name)); }), 58);
    EXPECT_EQ(app.read("data/VmSave/2.wav"), "recorded");
    EXPECT_FALSE(QFile::exists(app.file("elsewhere.wav")));
}

// What another account can plant in the shared folder: a link of its own at
// a file's name or in place of a folder, a FIFO. None of them is written
// through, none blocks, and the files they point at stay as they were.
TEST_F(FileSystemFolder, WritesRefuseLinksOfOtherAccountsAndFilesThatAreNotRegular)
{
    if (::geteuid() != 0)
        GTEST_SKIP() << "making another account's link needs root";
    app.write("secret/target.txt", "untouched");
    QDir(app.file("data")).mkdir("sub");
    const auto plantLink = [&](const char* name, const char* target, uid_t owner) {
        QFile::remove(app.file(name));
        QFile::link(app.file(target), app.file(name));
        ASSERT_EQ(::lchown(QFile::encodeName(app.file(name)).constData(), owner, owner), 0);
    };
    const std::function<void(const QString&)> writes[] = {
        [](const QString& p) { platform::appendFile(p, "x"); },
        [](const QString& p) { ::close(platform::openForUpdate(p)); },
        [](const QString& p) { platform::replaceFileAtomically(p, "x"); },
        [](const QString& p) { platform::createNewFile(p + ".new", "x"); },
    };
    plantLink("data/link.txt", "secret/target.txt", 1);
    plantLink("data/folder", "secret", 1);
    ASSERT_EQ(::mkfifo(QFile::encodeName(app.file("data/fifo.txt")).constData(), 0666), 0);
    for (const char* name : {"data/link.txt", "data/folder/target.txt", "data/fifo.txt"}) {
        SCOPED_TRACE(name);
        EXPECT_TRUE(platform::writeRefusal(app.file(name)).has_value());
        for (std::size_t w = 0; w < std::size(writes); ++w) {
            if (w == 3 && QByteArray(name) != "data/folder/target.txt")
                continue;  // a new file is never made through the name itself anyway
            EXPECT_EQ(errorNumberOf([&] { writes[w](app.file(name)); }), 75) << "write " << w;
        }
        EXPECT_EQ(errorNumberOf([&] { platform::readFile(app.file("data/fifo.txt")); }), 75);
    }
    EXPECT_EQ(app.read("secret/target.txt"), "untouched");
    EXPECT_EQ(QDir(app.file("secret")).entryList(QDir::Files | QDir::Hidden), QStringList{"target.txt"});

    // The operator's own link is followed: the target is replaced in its own
    // folder and the link stays a link.
    plantLink("data/link.txt", "secret/target.txt", ::geteuid());
    EXPECT_FALSE(platform::writeRefusal(app.file("data/link.txt")).has_value());
    platform::replaceFileAtomically(app.file("data/link.txt"), "replaced");
    EXPECT_EQ(app.read("secret/target.txt"), "replaced");
    EXPECT_TRUE(QFileInfo(app.file("data/link.txt")).isSymLink());
}

// A kept copy never goes over anything, a link planted at its name included,
// and no account reads it that could not read the original. Where it can, it
// is a second name of the file, else a copy.
TEST_F(FileSystemFolder, KeptCopyIsASecondNameOrACopyThatNoMoreAccountsRead)
{
    const QString list = app.file("data/list.xml");
    app.write("data/list.xml", "boxes");
    app.write("data/list.xml.S.why", "earlier");
    QFile::link(app.file("elsewhere"), app.file("data/list.xml.S-2.why"));  // dangling
    const auto status = [](const QString& path) {
        struct stat st {};
        ::stat(QFile::encodeName(path).constData(), &st);
        return st;
    };
    EXPECT_EQ(platform::keepCopy(list, "S", "why"), app.file("data/list.xml.S-3.why"));
    EXPECT_EQ(status(app.file("data/list.xml.S-3.why")).st_ino, status(list).st_ino);
    EXPECT_EQ(app.read("data/list.xml.S.why"), "earlier");
    EXPECT_FALSE(QFile::exists(app.file("elsewhere")));

    const bool root = ::geteuid() == 0;
    const QByteArray native = QFile::encodeName(list);
    ASSERT_TRUE(!root || (::chown(native.constData(), 0, 1) == 0 && ::chmod(native.constData(), 0640) == 0));
    const test::ScopedFault noLinkNoGroup([](test::FileStep step, const QString&) {
        return step == test::FileStep::Rename ? EXDEV : step == test::FileStep::Owner ? EPERM : 0;
    });
    const struct stat copy = status(platform::keepCopy(list, "T", "why"));
    EXPECT_EQ(app.read("data/list.xml.T.why"), app.read("data/list.xml"));
    EXPECT_EQ(copy.st_mode & 0777, root ? 0600u : status(list).st_mode & 0777);
}

TEST_F(FileSystemFolder, ReplacementKeepsOwnerGroupAndModeOrLeavesTheFile)
{
    app.write("data/list.xml", "old");
    const QByteArray path = QFile::encodeName(app.file("data/list.xml"));
    const bool root = ::geteuid() == 0;
    if (root) {
        ASSERT_EQ(::chown(path.constData(), 1, 1), 0);
    }
    ASSERT_EQ(::chmod(path.constData(), 0640), 0);
    struct stat before {};
    ::stat(path.constData(), &before);
    platform::replaceFileAtomically(app.file("data/list.xml"), "new");
    struct stat after {};
    ::stat(path.constData(), &after);
    EXPECT_EQ(std::tuple(after.st_uid, after.st_gid, after.st_mode),
              std::tuple(before.st_uid, before.st_gid, before.st_mode));
    EXPECT_NE(after.st_ino, before.st_ino);  // replaced, not rewritten in place
    if (!root)
        return;
    const test::ScopedFault refused(test::failStep(test::FileStep::Owner, "data/list.xml", 70));
    try {
        platform::replaceFileAtomically(app.file("data/list.xml"), "newer");
        ADD_FAILURE() << "an owner the system refuses must stop the replacement";
    } catch (const platform::RuntimeError& e) {
        EXPECT_EQ(e.number(), 70);
        EXPECT_TRUE(e.description().contains("owner daemon and group daemon (Permission denied)"))
            << e.description().toStdString();
    }
    EXPECT_EQ(app.read("data/list.xml"), "new");
    EXPECT_EQ(QDir(app.file("data")).entryList(QDir::Files | QDir::Hidden), QStringList{"list.xml"});
}

TEST_F(FileSystemFolder, AtomicReplaceLeavesOldFileOnFailure)
{
    app.write("data/list.xml", "old");
    platform::replaceFileAtomically(app.file("data/list.xml"), "new");
    EXPECT_EQ(app.read("data/list.xml"), "new");

    const struct {
        test::FileStep step;
        int error;
    } cases[] = {{test::FileStep::Open, 70},
                 {test::FileStep::Write, 61},
                 {test::FileStep::Sync, 57},
                 {test::FileStep::Rename, 70}};
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.step));
        const test::ScopedFault fault(test::failStep(c.step, "data/list.xml", c.error));
        EXPECT_EQ(errorNumberOf([&] { platform::replaceFileAtomically(app.file("data/list.xml"), "newer"); }), c.error);
        EXPECT_EQ(app.read("data/list.xml"), "new");
        EXPECT_EQ(QDir(app.file("data")).entryList(QDir::Files | QDir::Hidden), QStringList{"list.xml"});
    }
    // A file without write permission is not replaced, even by root.
    QFile::setPermissions(app.file("data/list.xml"), QFile::ReadOwner);
    EXPECT_EQ(errorNumberOf([&] { platform::replaceFileAtomically(app.file("data/list.xml"), "newer"); }), 70);
    EXPECT_EQ(app.read("data/list.xml"), "new");
}

// A message is marked by a rename that never replaces. Where the file system
// has no such rename, a second name and then the first one removed do it.
// Whatever step fails, the message is under one of its names, whole, with
// its time.
TEST_F(FileSystemFolder, RenameWithoutReplacingLosesNothingWhateverStepFails)
{
    const struct {
        std::vector<int> renames;  // errno of each step that puts the file under the new name, in order
        int removeOld;             // errno of removing the old name after a second name was made
        int error;                 // raised, 0 for none
    } cases[] = {
        {{EXDEV}, 0, 57},          {{EPERM}, 0, 70},          {{ENOSPC}, 0, 61},        {{EEXIST}, 0, 58},
        {{EINVAL, 0}, 0, 0},       {{ENOSYS, 0}, 0, 0},       {{EINVAL, EPERM}, 0, 70}, {{ENOSYS, EEXIST}, 0, 58},
        {{EINVAL, ENOSPC}, 0, 61}, {{EINVAL, 0}, EACCES, 70},
    };
    const QString oldName = QStringLiteral("data/VmSave/1_0101000000_1_1_.wav");
    const QString newName = QStringLiteral("data/VmSave/1_0101000000_0_1_.wav");
    const QString from = app.file(oldName);
    const QString to = app.file(newName);
    const QDateTime time = QDateTime::fromSecsSinceEpoch(1733326212);
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.renames) + " " + std::to_string(c.removeOld));
        QDir(app.file("data/VmSave")).removeRecursively();
        app.write(oldName, "sound");
        platform::setLastWriteTime(from, time);
        const auto before = app.contents();
        std::size_t step = 0;
        const test::ScopedFault fault([&](test::FileStep s, const QString& path) {
            if (s == test::FileStep::Rename && path == to)
                return step < c.renames.size() ? c.renames[step++] : 0;
            return s == test::FileStep::Remove && path == from ? c.removeOld : 0;
        });
        EXPECT_EQ(errorNumberOf([&] { platform::renameNoReplace(from, to); }), c.error);
        EXPECT_EQ(step, c.renames.size()) << "steps taken";
        auto expected = before;
        expected.erase(oldName);
        expected[c.error ? oldName : newName] = "sound";
        EXPECT_EQ(app.contents(), expected);
        EXPECT_EQ(platform::lastWriteTime(c.error ? from : to), time);
    }
}
