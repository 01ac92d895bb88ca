#pragma once
// The file-system work a benchmark cannot avoid, measured in the same
// process on the same folder, so each speed benchmark can report how far it
// is above it. A floor does only what the program must: one pass over a
// folder's entries with one status query per file it needs, or a file's
// bytes read and decoded from windows-1252. The ratios are robust on a busy
// machine where the absolute times are not.
//
// ratio_to_floor compares CPU time (user and system, this thread), which
// another process's load hardly changes; wall_ratio_to_floor compares wall
// time.

#include "mailbox/MessageFileName.h"
#include "platform/AnsiText.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vm::bench {

struct Cost {
    double wall = 0;  // seconds
    double cpu = 0;
    Cost& operator+=(const Cost& o)
    {
        wall += o.wall;
        cpu += o.cpu;
        return *this;
    }
};

inline double threadCpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

inline double wallSeconds()
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

template <class Work>
Cost costOf(Work&& work)
{
    const double wall0 = wallSeconds();
    const double cpu0 = threadCpuSeconds();
    work();
    return {wallSeconds() - wall0, threadCpuSeconds() - cpu0};
}

// The best of several runs, wall and CPU each: the least the work can take.
template <class Work>
Cost bestOf(int runs, Work&& work)
{
    Cost best = costOf(work);
    for (int i = 1; i < runs; ++i) {
        const Cost c = costOf(work);
        best.wall = std::min(best.wall, c.wall);
        best.cpu = std::min(best.cpu, c.cpu);
    }
    return best;
}

// ---------------------------------------------------------------- floors

// Selecting a box: every entry of the message folder read once, and one
// status query for each file whose name starts with `prefix` and ends in
// ".wav" (ASCII names, as the benchmark folder has). Returns the files found.
inline int listBoxFiles(const QString& folder, const QByteArray& prefix)
{
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return 0;
    int found = 0;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        const std::size_t length = std::strlen(name);
        if (length < static_cast<std::size_t>(prefix.size()) + 4 ||
            std::memcmp(name, prefix.constData(), static_cast<std::size_t>(prefix.size())) != 0 ||
            std::memcmp(name + length - 4, ".wav", 4) != 0)
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), name, &st, 0) == 0)
            ++found;
    }
    ::closedir(dir);
    return found;
}

// The statistics: the folder's entries read and one status query per ".wav"
// file, up to where a count of new or saved messages passes 32,767: there
// the program's pass stops with error 6, as it does on a folder of 100,000
// messages (the count of a kind is told by the program's own rule).
inline int statWaveFilesAsCounted(const QString& folder)
{
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir)
        return 0;
    int counts[2] = {0, 0};
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        const std::size_t length = std::strlen(name);
        if (length < 4 || std::memcmp(name + length - 4, ".wav", 4) != 0)
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), name, &st, 0) != 0)
            continue;
        const bool isNew = mailbox::isNewMessageName(QLatin1StringView(name, static_cast<qsizetype>(length)));
        if (++counts[isNew ? 1 : 0] > 32767)
            break;
    }
    ::closedir(dir);
    return counts[0] + counts[1];
}

// A text file shared with the engine: its bytes read in one go and decoded
// from windows-1252. The buffers are kept from one read to the next, so
// that what is measured is the reading and decoding, not the memory
// allocator handing out fresh pages.
class TextFileReader {
public:
    // The number of characters read.
    qsizetype read(const QString& path)
    {
        const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return 0;
        struct stat st {};
        qsizetype got = 0;
        if (::fstat(fd, &st) == 0) {
            bytes_.resize(static_cast<qsizetype>(st.st_size));
            while (got < bytes_.size()) {
                const ssize_t n = ::read(fd, bytes_.data() + got, static_cast<std::size_t>(bytes_.size() - got));
                if (n <= 0)
                    break;
                got += n;
            }
        }
        ::close(fd);
        text_.resize(got);
        QChar* out = text_.data();
        const auto* in = reinterpret_cast<const unsigned char*>(bytes_.constData());
        for (qsizetype i = 0; i < got; ++i)
            out[i] = highBytes_[in[i]];
        return got;
    }

private:
    QByteArray bytes_;
    QString text_;
    // Every byte's character, from the program's own decoder.
    const QString highBytes_ = [] {
        QByteArray all(256, Qt::Uninitialized);
        for (int b = 0; b < 256; ++b)
            all[b] = static_cast<char>(b);
        return platform::decodeAnsi(all);
    }();
};

// ---------------------------------------------------------------- ratios

// Times the measured part of each iteration and reports it against a floor.
class FloorRatio {
public:
    explicit FloorRatio(Cost floor) : floor_(floor) {}

    template <class Work>
    void measure(Work&& work)
    {
        spent_ += costOf(work);
        ++iterations_;
    }

    void report(benchmark::State& state) const
    {
        if (iterations_ == 0 || floor_.cpu <= 0 || floor_.wall <= 0)
            return;
        state.counters["ratio_to_floor"] = spent_.cpu / iterations_ / floor_.cpu;
        state.counters["wall_ratio_to_floor"] = spent_.wall / iterations_ / floor_.wall;
        state.counters["floor_ms"] = floor_.wall * 1e3;
        state.counters["floor_cpu_ms"] = floor_.cpu * 1e3;
    }

private:
    Cost floor_;
    Cost spent_;
    int iterations_ = 0;
};

// A floor benchmark: the floor's own work in the timed loop.
template <class Work>
void runFloor(benchmark::State& state, Work&& work)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(work());
}

}  // namespace vm::bench
