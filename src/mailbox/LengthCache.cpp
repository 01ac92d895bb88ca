#include "LengthCache.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <ctime>
#include <tuple>
#include <type_traits>

namespace vm::mailbox {

namespace {

// The file: this mark, then the entries as they lie in memory. It never
// leaves the machine that wrote it, so its byte order is the machine's own.
constexpr char kMark[8] = {'Q', 'V', 'L', 'E', 'N', '\r', '\n', '1'};
using Entry = LengthCache::Entry;
static_assert(std::is_trivially_copyable_v<Entry> && sizeof(Entry) == 48);

std::int64_t nanoseconds(const timespec& t) { return std::int64_t{t.tv_sec} * 1'000'000'000 + t.tv_nsec; }

bool before(const Entry& a, const Entry& b) { return std::tie(a.device, a.inode) < std::tie(b.device, b.inode); }
bool sameFile(const Entry& a, const Entry& b) { return a.device == b.device && a.inode == b.inode; }
bool sameState(const Entry& a, const Entry& b)
{
    return sameFile(a, b) && a.bytes == b.bytes && a.writtenNs == b.writtenNs && a.changedNs == b.changedNs;
}

std::vector<Entry> entriesIn(QByteArrayView bytes)
{
    const qsizetype body = bytes.size() - qsizetype{sizeof kMark};
    if (body <= 0 || body % qsizetype{sizeof(Entry)} != 0 || std::memcmp(bytes.constData(), kMark, sizeof kMark) != 0)
        return {};
    std::vector<Entry> entries(static_cast<std::size_t>(body) / sizeof(Entry));
    const QByteArrayView stored = bytes.sliced(sizeof kMark);
    std::memcpy(entries.data(), stored.data(), static_cast<std::size_t>(stored.size()));
    const bool ordered = std::adjacent_find(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
                             return !before(a, b);
                         }) == entries.end();
    const bool plausible = std::all_of(entries.begin(), entries.end(),
                                       [](const Entry& e) { return std::isfinite(e.seconds) && e.seconds >= 0; });
    return ordered && plausible ? entries : std::vector<Entry>{};
}

// Whether `path` names no entry or a regular file: a link there is not one.
bool nothingElseAt(const QString& path)
{
    try {
        return !platform::notRegularAtName(path);
    } catch (const platform::RuntimeError&) {
        return true;  // nothing there yet
    }
}

}  // namespace

Entry LengthCache::entryOf(const struct stat& status, double seconds)
{
    return {status.st_dev, status.st_ino, status.st_size, nanoseconds(status.st_mtim), nanoseconds(status.st_ctim),
            seconds};
}

QString LengthCache::fileFor(const QString& appFolder)
{
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (cache.isEmpty())
        return {};
    const QByteArray folder = platform::nativeName(QFileInfo(appFolder).absoluteFilePath());
    return cache + QStringLiteral("/quorvane-voicemail-manager/") +
           QString::fromLatin1(QCryptographicHash::hash(folder, QCryptographicHash::Sha256).toHex().left(32)) +
           QStringLiteral(".lengths");
}

LengthCache::LengthCache(QString file, std::size_t mostEntries) : file_(std::move(file))
{
    if (file_.isEmpty())
        return;
    try {
        const auto largest = static_cast<std::int64_t>(sizeof kMark + mostEntries * sizeof(Entry));
        entries_ = entriesIn(platform::readFileAtName(file_, nullptr, largest));
    } catch (const platform::RuntimeError&) {
        // None yet, or not ours to read: the listing reads every header.
    }
}

std::optional<double> LengthCache::secondsOf(const struct stat& status) const
{
    const Entry wanted = entryOf(status, 0);
    const auto found = std::lower_bound(entries_.begin(), entries_.end(), wanted, before);
    if (found == entries_.end() || !sameState(*found, wanted))
        return std::nullopt;
    return found->seconds;
}

std::int64_t LengthCache::settledBeforeNow()
{
    timespec now{};
    ::clock_gettime(CLOCK_REALTIME, &now);
    return nanoseconds(now) - 2'000'000'000;
}

void LengthCache::update(std::vector<Entry> read, bool wholeFolder, std::int64_t settledBeforeNs)
{
    std::erase_if(read, [&](const Entry& e) { return e.changedNs >= settledBeforeNs; });
    if (!wholeFolder)
        read.insert(read.end(), entries_.begin(), entries_.end());
    // What was just read comes first and so outlives what was known of its file.
    std::stable_sort(read.begin(), read.end(), before);
    read.erase(std::unique(read.begin(), read.end(), sameFile), read.end());
    const bool same = read.size() == entries_.size() &&
                      std::equal(read.begin(), read.end(), entries_.begin(), [](const Entry& a, const Entry& b) {
                          return sameState(a, b) && a.seconds == b.seconds;
                      });
    changed_ = changed_ || !same;
    entries_ = std::move(read);
}

void LengthCache::save() const
{
    if (!changed_ || file_.isEmpty())
        return;
    QByteArray bytes(kMark, sizeof kMark);
    bytes.append(reinterpret_cast<const char*>(entries_.data()),
                 static_cast<qsizetype>(entries_.size() * sizeof(Entry)));
    try {
        QDir().mkpath(QFileInfo(file_).path());
        // The cache is written only as a file of its own: a link or anything
        // else at its name is left alone, as reading it leaves it.
        if (nothingElseAt(file_))
            platform::replaceFileAtomically(file_, bytes);
    } catch (const platform::RuntimeError&) {
        // The next listing reads the headers again.
    }
}

}  // namespace vm::mailbox
