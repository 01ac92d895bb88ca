// Faults that hit the whole process: the real program killed (SIGKILL) at a
// random moment while its closing save writes leaves the list file byte for byte the
// old or the new one, and a killed save's temporary files are never read as
// the list; a file size limit is a full disk to the program, not its end.
// FAULT_SEED repeats a run; FAULT_KILLS sets the number of kills.
#include "support/TempAppFolder.h"

#include "mailbox/MailboxListFile.h"
#include "mailbox/VmbSort.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <thread>

#include <poll.h>
#include <sys/inotify.h>
#include <sys/resource.h>
#include <unistd.h>

namespace vm::test {
namespace {

const QString kList = QStringLiteral("data/VmBoxList.xml");

unsigned environmentNumber(const char* name, unsigned fallback)
{
    bool ok = false;
    const unsigned value = qEnvironmentVariable(name).toUInt(&ok);
    return ok ? value : fallback;
}

// `count` boxes in descending number order (the writer sorts them as text),
// every text field marked with `mark`.
std::vector<VoicemailBox> boxes(int count, const QString& mark)
{
    std::vector<VoicemailBox> table;
    for (int i = count; i >= 1; --i) {
        VoicemailBox b;
        b.Id = QString::number(i);
        b.Pin = QString::number(i * 7 % 10000);
        b.Description = mark + QStringLiteral(" box ") + b.Id + QString(40, QLatin1Char('.'));
        b.EmailForward = mark + QStringLiteral("@example.com");
        b.OnReceive = QStringLiteral("notify ") + mark;
        b.FtpUpload = static_cast<std::int16_t>(i % 2);
        table.push_back(b);
    }
    return table;
}

// The list file of `table` in its own order, or as a complete save writes it.
QByteArray listBytes(const std::vector<VoicemailBox>& table, bool asSaved = true)
{
    MailboxTable copy;
    copy.resetToElementZero();
    for (const VoicemailBox& b : table)
        copy.store(copy.append(), b);
    if (asSaved)
        sortById(copy, 1, copy.upperBound());
    return mailboxListBytes(copy);
}

// Reports a save's steps in a folder: its temporary file is created when it
// begins writing and renamed over the list when done.
class FolderWatch {
public:
    explicit FolderWatch(const QString& folder) : fd_(::inotify_init1(IN_CLOEXEC | IN_NONBLOCK))
    {
        ::inotify_add_watch(fd_, QFile::encodeName(folder).constData(), IN_CREATE | IN_MOVED_TO);
    }
    ~FolderWatch() { ::close(fd_); }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    void forget()
    {
        while (::read(fd_, buffer_, sizeof buffer_) > 0) {
        }
    }
    // True once an event of `mask` arrives within `timeoutMs`.
    bool waitFor(std::uint32_t mask, int timeoutMs)
    {
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            const ssize_t n = ::read(fd_, buffer_, sizeof buffer_);
            for (ssize_t at = 0; at < n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(buffer_ + at);
                if (event->mask & mask)
                    return true;
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
            const int left = timeoutMs - static_cast<int>(clock.elapsed());
            pollfd p{fd_, POLLIN, 0};
            if (left <= 0 || ::poll(&p, 1, left) <= 0)
                return false;
        }
    }

private:
    int fd_;
    alignas(inotify_event) char buffer_[4096];
};

// How long a save writes, from the creation of its temporary file to the
// rename over the list, in one run started by `start` and awaited by `finish`.
template <class Start, class Finish>
qint64 writingMicros(FolderWatch& watch, Start start, Finish finish)
{
    watch.forget();
    start();
    qint64 micros = 100;
    if (watch.waitFor(IN_CREATE, 60000)) {
        QElapsedTimer writing;
        writing.start();
        if (watch.waitFor(IN_MOVED_TO, 60000))
            micros = std::max<qint64>(writing.nsecsElapsed() / 1000, 100);
    }
    finish();
    return micros;
}

class ProcessFaults : public ::testing::Test {
protected:
    QByteArray list() const { return app.read(kList); }
    QString data() const { return app.file(QStringLiteral("data")); }
    // Removes a killed save's temporary (hidden) files; true when there were any.
    bool removeStrays() const
    {
        bool any = false;
        for (const QString& name : QDir(data()).entryList(QDir::Files | QDir::Hidden))
            if (name.startsWith(QLatin1Char('.')))
                any = QFile::remove(data() + QLatin1Char('/') + name) || any;
        return any;
    }
    // Sleeps until a random moment of the save's writing (or a little after).
    void waitToKill(FolderWatch& watch, qint64 writing)
    {
        if (watch.waitFor(IN_CREATE, 10000))
            std::this_thread::sleep_for(
                std::chrono::microseconds(std::uniform_int_distribution<qint64>(0, writing * 6 / 5)(random)));
    }

    TempAppFolder app;
    const unsigned seed = environmentNumber("FAULT_SEED", 20260307);
    std::mt19937 random{seed};
};

// The real program told to close once loaded, which saves the list sorted;
// no file of it may grow past `maxFileSize` (0: no limit).
class ProgramRun {
public:
    explicit ProgramRun(const QString& folder, rlim_t maxFileSize = 0)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        process_.setProcessEnvironment(env);
        process_.setChildProcessModifier([maxFileSize] {
            std::signal(SIGXFSZ, SIG_DFL);  // as a shell would start it
            if (maxFileSize > 0) {
                rlimit limit{};
                ::getrlimit(RLIMIT_FSIZE, &limit);
                limit.rlim_cur = maxFileSize;
                ::setrlimit(RLIMIT_FSIZE, &limit);
            }
        });
        process_.start(QStringLiteral(RIVAVAZ_PATH),
                       {QStringLiteral("--app-folder"), folder, QStringLiteral("--close-after-load")});
        process_.waitForStarted(30000);
    }
    void kill() { ::kill(static_cast<pid_t>(process_.processId()), SIGKILL); }
    // The exit code; -2 when killed, -1 when it did not end.
    int finish()
    {
        if (!process_.waitForFinished(120000)) {
            process_.kill();
            process_.waitForFinished();
            return -1;
        }
        return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -2;
    }

private:
    QProcess process_;
};

TEST_F(ProcessFaults, TheProgramKilledWhileItClosesLeavesTheOldOrTheNewList)
{
    const unsigned kills = environmentNumber("FAULT_KILLS", 20);
    const std::vector<VoicemailBox> table = boxes(30000, QStringLiteral("gamma"));
    const QByteArray old = listBytes(table, false);
    const QByteArray sorted = listBytes(table);
    ASSERT_NE(old, sorted);

    app.write(kList, old);
    FolderWatch watch(data());
    std::optional<ProgramRun> run;
    int exit = 0;
    const qint64 writing = writingMicros(
        watch, [&] { run.emplace(app.path()); }, [&] { exit = run->finish(); });
    ASSERT_EQ(exit, 0);
    ASSERT_EQ(list(), sorted);

    int endedNew = 0, midWrite = 0;
    for (unsigned i = 0; i < kills; ++i) {
        app.write(kList, old);
        watch.forget();
        run.emplace(app.path());
        waitToKill(watch, writing);
        run->kill();
        exit = run->finish();
        const QByteArray now = list();
        ASSERT_TRUE(now == old || now == sorted) << "kill " << i << " of seed " << seed << " (exit " << exit << ")";
        endedNew += now == sorted;
        midWrite += removeStrays();
    }
    std::printf("seed %u: killed %u times while writing (%lld us): %d ended with the new list, %d mid-write\n", seed,
                kills, static_cast<long long>(writing), endedNew, midWrite);
    EXPECT_GT(midWrite, 0) << "no kill fell inside a save";

    // A leftover temporary file with other content is never taken for the list.
    app.write(QStringLiteral("data/.VmBoxList.xml.killed"), listBytes(boxes(3, QStringLiteral("stray"))));
    app.write(kList, old);
    run.emplace(app.path());
    ASSERT_EQ(run->finish(), 0);
    EXPECT_EQ(list(), sorted);
}

TEST_F(ProcessFaults, AFileSizeLimitIsAFullDiskToTheProgram)
{
    const std::vector<VoicemailBox> table = boxes(2000, QStringLiteral("delta"));
    const QByteArray old = listBytes(table, false);
    app.write(kList, old);
    app.write(QStringLiteral("FSCLIENT.INI"),
              "[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\n[preferences]\r\nSilent Run=1\r\n");

    ProgramRun run(app.path(), static_cast<rlim_t>(old.size() / 2));
    EXPECT_EQ(run.finish(), 0);
    EXPECT_EQ(list(), old);
    EXPECT_FALSE(removeStrays());
    EXPECT_TRUE(app.read(QStringLiteral("error.log"))
                    .contains("[RiVaVaz] ERROR 61 at frmVmailCfg.frm : Sub Form_Unload : Line 0 : Disk full\r\n"));
}

}  // namespace
}  // namespace vm::test
