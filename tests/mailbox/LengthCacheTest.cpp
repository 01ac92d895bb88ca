#include "mailbox/LengthCache.h"

#include <QFile>
#include <QTemporaryDir>

#include <chrono>
#include <cstdlib>

#include <gtest/gtest.h>

using vm::mailbox::LengthCache;

namespace {

struct stat statusOf(std::uint64_t inode)
{
    struct stat s {};
    s.st_dev = 7;
    s.st_ino = inode;
    s.st_size = 1044;
    s.st_mtim = {1700000000, 5};
    s.st_ctim = {1700000001, 6};
    return s;
}

constexpr std::int64_t kSettled = 1700000002'000'000'000;  // after both times above

// A cache file in `dir` that knows files 3 and 9.
QString savedCache(const QTemporaryDir& dir)
{
    const QString file = dir.filePath(QStringLiteral("lengths"));
    LengthCache written(file, 2);
    written.update({LengthCache::entryOf(statusOf(3), 2.5), LengthCache::entryOf(statusOf(9), 4)}, true, kSettled);
    written.save();
    return file;
}

}  // namespace

TEST(LengthCache, KnowsAFileOnlyInTheStateItWasReadInAndAfterItSettled)
{
    const QTemporaryDir dir;
    LengthCache cache(savedCache(dir), 2);
    EXPECT_EQ(cache.secondsOf(statusOf(3)), 2.5);
    EXPECT_EQ(cache.secondsOf(statusOf(9)), 4);
    struct stat changed[5] = {statusOf(3), statusOf(3), statusOf(3), statusOf(3), statusOf(3)};
    ++changed[0].st_dev, ++changed[1].st_ino, ++changed[2].st_size, ++changed[3].st_mtim.tv_nsec;
    ++changed[4].st_ctim.tv_nsec;
    for (const struct stat& s : changed)
        EXPECT_EQ(cache.secondsOf(s), std::nullopt) << &s - changed;

    // A box's listing adds what it read; a whole listing forgets what it did not see.
    cache.update({LengthCache::entryOf(statusOf(4), 2)}, false, kSettled);
    cache.update({LengthCache::entryOf(statusOf(5), 3)}, false, 1700000001'000'000'006);  // changed then
    EXPECT_EQ(cache.secondsOf(statusOf(3)), 2.5);
    EXPECT_EQ(cache.secondsOf(statusOf(4)), 2);
    EXPECT_EQ(cache.secondsOf(statusOf(5)), std::nullopt);
    cache.update({LengthCache::entryOf(statusOf(4), 2)}, true, kSettled);
    EXPECT_EQ(cache.secondsOf(statusOf(3)), std::nullopt);
    EXPECT_EQ(cache.secondsOf(statusOf(4)), 2);
    const auto twoSecondsAgo = std::chrono::system_clock::now() - std::chrono::seconds(2);
    const std::int64_t off =
        LengthCache::settledBeforeNow() -
        std::chrono::duration_cast<std::chrono::nanoseconds>(twoSecondsAgo.time_since_epoch()).count();
    EXPECT_LT(std::abs(off), 100'000'000) << off;  // a tenth of a second either way
}

TEST(LengthCache, ADamagedFileIsAnEmptyCache)
{
    const QTemporaryDir dir;
    const QString file = savedCache(dir);
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    const QByteArray good = f.readAll();
    const auto entry = [&](int i) { return good.mid(8 + 48 * i, 48); };
    for (const QByteArray& bytes : {
             good.left(good.size() - 1),                                // cut off
             "QVLEN\r\n2" + good.mid(8),                                // another format
             good.left(8) + entry(1) + entry(0),                        // out of order
             good.left(8) + entry(0).left(40) + QByteArray(8, '\xFF'),  // a length that is no number
         }) {
        ASSERT_TRUE(f.resize(0) && f.seek(0) && f.write(bytes) == bytes.size() && f.flush());
        EXPECT_EQ(LengthCache(file, 2).secondsOf(statusOf(3)), std::nullopt) << bytes.toHex().left(40).constData();
    }
    // More entries than a folder of one name could need: not read at all.
    EXPECT_EQ(LengthCache(savedCache(dir), 1).secondsOf(statusOf(3)), std::nullopt);
    ASSERT_TRUE(QFile::remove(file) && QFile::link(dir.filePath(QStringLiteral("elsewhere")), file));
    savedCache(dir);  // a link at the cache's name is never written through
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("elsewhere"))));
}
