// The main window on a large application folder: start-up with 32,767 boxes
// and 100,000 message files, selecting a box with 10,000 messages, and the
// mailbox list rebuild, each beside the file-system work it cannot avoid;
// resizing the window with all of them listed; refining a search of the
// whole folder in the find window.
// Runs on the offscreen platform when there is no display.
#include "Floors.h"
#include "manager_window/ManagerWindow.h"
#include "widgets/FlexGrid.h"

#include "config/Paths.h"
#include "mailbox/MailboxListFile.h"
#include "platform/AppFolder.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fstream>
#include <memory>
#include <string>

namespace {

constexpr int kBoxes = 32767;
constexpr int kMessages = 100000;
constexpr int kBigBoxMessages = 10000;
const QString kBigBox = QStringLiteral("5000");

// Resident memory of this process, in megabytes.
double residentMegabytes()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            double kb = 0;
            status >> kb;
            return kb / 1024.0;
        }
        status.ignore(4096, '\n');
    }
    return 0;
}

// One generated application folder for every benchmark of this file.
void useLargeFolder()
{
    static QTemporaryDir dir;
    static bool made = false;
    if (!made) {
        made = true;
        QDir root(dir.path());
        root.mkpath(QStringLiteral("data/VmSave"));
        root.mkpath(QStringLiteral("data/VmWelc"));
        vm::mailbox::MailboxTable boxes;
        boxes.resetToElementZero();
        for (int i = 1; i <= kBoxes; ++i) {
            vm::mailbox::VoicemailBox b;
            b.Id = QString::number(i);
            b.Pin = QString::number(1000 + i % 9000);
            b.Description = QStringLiteral("Box number %1").arg(i);
            boxes.append(std::move(b));
        }
        const QByteArray list = vm::mailbox::mailboxListBytes(boxes);
        QFile file(root.filePath(QStringLiteral("data/VmBoxList.xml")));
        if (file.open(QIODevice::WriteOnly))
            file.write(list);
        const QString save = root.filePath(QStringLiteral("data/VmSave/"));
        for (int m = 0; m < kMessages; ++m) {
            QString box = m < kBigBoxMessages ? kBigBox : QString::number(1 + m % kBoxes);
            if (m >= kBigBoxMessages && box == kBigBox)
                box = QStringLiteral("1");
            const QString name = QStringLiteral("%1_%2_%3_1_%4.wav")
                                     .arg(box)
                                     .arg(1000000000 + m)
                                     .arg(m % 3 == 0 ? 1 : 0)
                                     .arg(5550000 + m);
            QFile message(save + name);
            if (message.open(QIODevice::WriteOnly))
                message.resize(11025 * (1 + m % 90));
        }
    }
    vm::platform::setAppFolder(dir.path());
}

constexpr int kFloorRuns = 5;

// Selecting the big box: its files listed and each one's status read.
vm::bench::Cost selectBoxFloor()
{
    const QString folder = vm::config::messageFolder();
    const QByteArray prefix = kBigBox.toLatin1() + '_';
    return vm::bench::bestOf(kFloorRuns, [&] { return vm::bench::listBoxFiles(folder, prefix); });
}

// Start-up: the list file read and decoded, and the statistics' pass over
// the message files.
vm::bench::Cost startupFloor()
{
    const QString list = vm::config::mailboxList();
    const QString folder = vm::config::messageFolder();
    vm::bench::TextFileReader reader;
    vm::bench::Cost floor = vm::bench::bestOf(kFloorRuns, [&] { return reader.read(list); });
    floor += vm::bench::bestOf(kFloorRuns, [&] { return vm::bench::statWaveFilesAsCounted(folder); });
    return floor;
}

// One of the window's lists, by its design name.
vm::widgets::FlexGrid& grid(const QWidget& window, const char* name)
{
    return *window.findChild<vm::widgets::FlexGrid*>(QLatin1String(name));
}

std::unique_ptr<vm::manager_window::ManagerWindow> loadedWindow()
{
    auto window = std::make_unique<vm::manager_window::ManagerWindow>();
    window->Form_Load();
    return window;
}

void BM_WindowStartup(benchmark::State& state)
{
    useLargeFolder();
    vm::bench::FloorRatio ratio(startupFloor());
    for (auto _ : state) {
        std::unique_ptr<vm::manager_window::ManagerWindow> window;
        ratio.measure([&] { window = loadedWindow(); });
        benchmark::DoNotOptimize(grid(*window, "gridVmbList").rows());
        state.PauseTiming();
        window.reset();
        state.ResumeTiming();
    }
    ratio.report(state);
}
BENCHMARK(BM_WindowStartup)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_Floor_ListBoxFiles(benchmark::State& state)
{
    useLargeFolder();
    const QString folder = vm::config::messageFolder();
    const QByteArray prefix = kBigBox.toLatin1() + '_';
    vm::bench::runFloor(state, [&] { return vm::bench::listBoxFiles(folder, prefix); });
}
BENCHMARK(BM_Floor_ListBoxFiles)->Unit(benchmark::kMillisecond);

// RSS_MB is the process's resident memory after start-up and the first
// selection; run this benchmark alone for a figure no earlier one inflates.
void BM_SelectBox(benchmark::State& state)
{
    useLargeFolder();
    auto window = loadedWindow();
    window->show();
    const int row = window->mailboxes().find(kBigBox);
    vm::bench::FloorRatio ratio(selectBoxFloor());
    double resident = 0;
    for (auto _ : state) {
        ratio.measure([&] {
            grid(*window, "gridVmbList").setRow(row);
            window->gridVmbList_SelChange();
        });
        if (resident == 0)
            resident = residentMegabytes();
    }
    if (grid(*window, "gridMsgList").rows() != kBigBoxMessages + 1)
        state.SkipWithError("the box did not list its messages");
    state.counters["RSS_MB"] = resident;
    ratio.report(state);
}
BENCHMARK(BM_SelectBox)->Unit(benchmark::kMillisecond)->Iterations(10);

void BM_RebuildMailboxList(benchmark::State& state)
{
    useLargeFolder();
    auto window = loadedWindow();
    window->show();
    for (auto _ : state) {
        std::int16_t previousTab = 1;
        window->SSTab1_Click(previousTab);
    }
    if (grid(*window, "gridVmbList").rows() != state.range(0) + 1)
        state.SkipWithError("the list does not show every box");
}
BENCHMARK(BM_RebuildMailboxList)->Arg(32767)->Unit(benchmark::kMillisecond)->Iterations(10);

// One step of an operator dragging the window's corner, with every box
// listed and the big box's 10,000 messages shown: the controls placed and the
// window painted. The goal is a step within a 60 Hz frame (16 ms).
void BM_ResizeLargestList(benchmark::State& state)
{
    useLargeFolder();
    auto window = loadedWindow();
    window->show();
    grid(*window, "gridVmbList").setRow(vm::mailbox::VmbFind(window->mailboxes(), kBigBox));
    window->gridVmbList_SelChange();
    const QSize designed = window->size();
    int step = 0;
    for (auto _ : state) {
        step = (step + 7) % 400;  // out and back, as a drag goes
        window->resize(designed + QSize(step, step));
        window->repaint();
    }
    if (grid(*window, "gridMsgList").rows() != kBigBoxMessages + 1)
        state.SkipWithError("the box did not list its messages");
}
BENCHMARK(BM_ResizeLargestList)->Unit(benchmark::kMillisecond);

// One more character typed into the open find window's caller field, until
// its results are shown: every message of the folder filtered again, the
// results and their count painted. The goal is 50 ms.
void BM_FindRefine(benchmark::State& state)
{
    useLargeFolder();
    auto window = loadedWindow();
    window->show();
    window->mnuMsgFind_Click();
    auto* find = window->findChild<QWidget*>(QStringLiteral("frmFindMessages"));
    auto* caller = find->findChild<QLineEdit*>(QStringLiteral("txtFindCaller"));
    const auto type = [&](int key, const QString& text) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
        QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
        QApplication::sendEvent(caller, &press);
        QApplication::sendEvent(caller, &release);
    };
    caller->setText(QStringLiteral("555"));  // most of the folder's callers start so
    for (auto _ : state) {
        type(Qt::Key_1, QStringLiteral("1"));
        find->repaint();
        state.PauseTiming();
        type(Qt::Key_Backspace, QString());
        state.ResumeTiming();
    }
    const QString count = find->findChild<QLabel*>(QStringLiteral("lblFoundCount"))->text();
    if (!count.endsWith(QStringLiteral(" of %1 messages match").arg(state.range(0))))
        state.SkipWithError(qPrintable("the window did not list the folder: " + count));
}
BENCHMARK(BM_FindRefine)->Arg(kMessages)->Unit(benchmark::kMillisecond);

}  // namespace
