#include "support/ErrorNumberOf.h"
#include "platform/FileSystem.h"
#include "support/FaultInjection.h"
#include "support/TempAppFolder.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <unistd.h>

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
        EXPECT_EQ(fs::matchesPattern(QString::fromLatin1(c.name), QString::fromLatin1(c.pattern)), c.match)
            << c.name << " ~ " << c.pattern;
}

class FileSystemFolder : public ::testing::Test {
protected:
    test::TempAppFolder app;
};

TEST_F(FileSystemFolder, ListingSkipsFoldersAndHiddenFilesInNameOrder)
{
    for (const char* name : {"b.wav", "A.wav", ".hidden.wav", "c.txt"})
        app.write(QStringLiteral("data/VmSave/") + name, "1");
    QDir(app.file("data/VmSave")).mkdir("d.wav");
    EXPECT_EQ(fs::listFiles(app.file("data/VmSave"), "*.wav"), (QStringList{"A.wav", "b.wav"}));
    EXPECT_TRUE(fs::listFiles(app.file("missing"), "*").isEmpty());
    EXPECT_TRUE(fs::fileExists(app.file("data/VmSave/b.wav")));
    EXPECT_FALSE(fs::fileExists(app.file("data/VmSave/.hidden.wav")));
    EXPECT_FALSE(fs::fileExists(app.file("data/VmSave/d.wav")));
}

TEST_F(FileSystemFolder, FailuresRaiseTheMatchingErrors)
{
    EXPECT_EQ(errorNumberOf([&] { fs::deleteFile(app.file("data/none.wav")); }), 53);
    EXPECT_EQ(errorNumberOf([&] { fs::deleteFile(app.file("nofolder/none.wav")); }), 76);
    EXPECT_EQ(errorNumberOf([&] { fs::fileSize(app.file("data/none.wav")); }), 53);
    EXPECT_EQ(errorNumberOf([&] { fs::copyFile(app.file("system/none.wav"), app.file("x.wav")); }), 53);
    EXPECT_EQ(errorNumberOf([&] { fs::writeFile(app.file("nofolder/x.txt"), "x"); }), 76);
    if (::geteuid() != 0) {
        QFile::setPermissions(app.file("data"), QFile::ReadOwner | QFile::ExeOwner);
        EXPECT_EQ(errorNumberOf([&] { fs::writeFile(app.file("data/x.txt"), "x"); }), 70);
        QFile::setPermissions(app.file("data"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}

TEST_F(FileSystemFolder, CopyOverwritesAndKeepsBytes)
{
    const QByteArray bytes = QByteArray("\x00\x07\x0e\xff\x80\x7f\r\n", 8).repeated(12500);
    app.write("system/8pcm16m.wav", bytes);
    app.write("data/VmWelc/1.wav", "old content that is longer");
    fs::copyFile(app.file("system/8pcm16m.wav"), app.file("data/VmWelc/1.wav"));
    EXPECT_EQ(app.read("data/VmWelc/1.wav"), bytes);
    EXPECT_EQ(fs::fileSize(app.file("data/VmWelc/1.wav")), bytes.size());
}

TEST_F(FileSystemFolder, AtomicReplaceLeavesOldFileOnFailure)
{
    app.write("data/list.xml", "old");
    fs::replaceFileAtomically(app.file("data/list.xml"), "new");
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
        EXPECT_EQ(errorNumberOf([&] { fs::replaceFileAtomically(app.file("data/list.xml"), "newer"); }), c.error);
        EXPECT_EQ(app.read("data/list.xml"), "new");
        EXPECT_EQ(QDir(app.file("data")).entryList(QDir::Files | QDir::Hidden), QStringList{"list.xml"});
    }
    // A file without write permission is not replaced, even by root.
    QFile::setPermissions(app.file("data/list.xml"), QFile::ReadOwner);
    EXPECT_EQ(errorNumberOf([&] { fs::replaceFileAtomically(app.file("data/list.xml"), "newer"); }), 70);
    EXPECT_EQ(app.read("data/list.xml"), "new");
}
