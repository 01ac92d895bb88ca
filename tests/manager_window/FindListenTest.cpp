// The find window, the player and F5, driven through their controls: what the
// results show and in which order, what Return and the results' menu do to
// the files and the main window, and where the player moves.
#include "WindowTestSupport.h"

#include "platform/Playback.h"

#include <QAction>
#include <QDir>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>

using namespace vm::test;

namespace {

const QString kA = "101_0307090501_1_3_5551234.wav";  // New, 1:05
const QString kB = "20_0306120000_0_1_5559999.wav";   // Saved, 0:04
const QString kC = "20_0301080000_1_2_4441234.wav";   // New, 0:02
const QString kD = "7_0308080000_0_2_999.wav";        // Saved, 0:10

struct FakePlayback final : vm::platform::Playback {
    void play() override { reach(at, true); }
    void pause() override { reach(at, false); }
    bool playing() const override { return on; }
    void seek(std::int64_t ms) override { reach(ms, on); }
    std::int64_t position() const override { return at; }
    QString problem() const override { return trouble; }
    void reach(std::int64_t ms, bool playing)
    {
        at = ms;
        on = playing;
        changed();
    }
    bool on = false;
    std::int64_t at = 0;
    QString trouble;
};

struct FakeOutput final : vm::platform::PlaybackOutput {
    std::unique_ptr<vm::platform::Playback> open(const vm::platform::FileContent& wave) override
    {
        QByteArray& bytes = opened.emplace_back();
        wave.forEachPiece([&](QByteArrayView piece) { bytes += piece; });
        auto playback = std::make_unique<FakePlayback>();
        playback->trouble = trouble;
        last = playback.get();
        return playback;
    }
    QByteArrayList opened;
    FakePlayback* last = nullptr;
    QString trouble;
};

class FindAndListen : public WindowTest {
protected:
    FindAndListen()
    {
        overrides.replace(vm::failsafe::errorDialog(), &errors);
        overrides.replace(vm::platform::soundPlayer(), &player);
        overrides.replace(vm::platform::playbackOutput(), &output);
        folder.write("data/VmBoxList.xml",
                     mailboxFile({mailboxLine("7", "7"), mailboxLine("20", "20"), mailboxLine("101", "101")}));
        recording(kA, 65, QDateTime(QDate(2026, 3, 7), QTime(9, 5, 1)));
        recording(kB, 4, QDateTime(QDate(2026, 3, 6), QTime(12, 0)));
        recording(kC, 2, QDateTime(QDate(2026, 3, 1), QTime(8, 0)));
        recording(kD, 10, QDateTime(QDate(2026, 3, 8), QTime(8, 0)));
    }
    ~FindAndListen() override { win.reset(); }

    void recording(const QString& name, int seconds, const QDateTime& when)
    {
        folder.write("data/VmSave/" + name, wave(QByteArray(seconds * 16000, '\0')));
        QFile f(folder.file("data/VmSave/" + name));
        ASSERT_TRUE(f.open(QIODevice::Append) && f.setFileTime(when, QFileDevice::FileModificationTime));
    }
    void activate()
    {
        win->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
    }
    QWidget* openFind()
    {
        load();
        activate();
        QTest::keyClick(win.get(), Qt::Key_F, Qt::ControlModifier);
        return ui<QWidget>("frmFindMessages");
    }
    QTableView* results() const { return ui<QTableView>("gridFound"); }
    // Each result's cells joined by "|", or only column `c` of each, joined by blanks.
    QString found(int c = -1) const
    {
        QStringList rows;
        for (int r = 0; r < results()->model()->rowCount(); ++r) {
            QStringList cells;
            for (int k = c < 0 ? 0 : c; k <= (c < 0 ? 6 : c); ++k)
                cells << results()->model()->index(r, k).data().toString();
            rows << cells.join('|');
        }
        return rows.join(c < 0 ? "\n" : " ");
    }
    void clickHeading(int c)
    {
        QHeaderView* h = results()->horizontalHeader();
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {},
                          QPoint(h->sectionViewportPosition(c) + 4, h->height() / 2));
    }
    void selectResults(const QList<int>& rows)
    {
        results()->clearSelection();
        for (int r : rows)
            results()->selectionModel()->select(results()->model()->index(r, 0),
                                                QItemSelectionModel::Select | QItemSelectionModel::Rows);
        results()->selectionModel()->setCurrentIndex(results()->model()->index(rows.front(), 0),
                                                     QItemSelectionModel::NoUpdate);
    }
    std::string saved() const
    {
        return QDir(folder.file("data/VmSave")).entryList(QDir::Files).join(' ').toStdString();
    }
    QString playerShows() const
    {
        QStringList texts;
        for (const char* name :
             {"lblListenBox", "lblListenDate", "lblListenCaller", "lblListenElapsed", "lblListenTotal"})
            texts << label(name)->text();
        return texts.join('|') + '|' + button("cmdListenPlay")->text();
    }

    ErrorsSeen errors;
    QStringList played;
    RecordingPlayer player{&played};
    FakeOutput output;
};

TEST_F(FindAndListen, CtrlFFindsAsTheOperatorTypesAndAHeadingOrdersTheResults)
{
    QWidget* find = openFind();
    EXPECT_TRUE(find->isVisible());
    EXPECT_EQ(find->windowTitle(), "Find messages");
    EXPECT_EQ(found().toStdString(),
              "7|2026-03-08|08:00:00|0:10|Saved|2|999\n20|2026-03-01|08:00:00|0:02|New|2|4441234\n"
              "20|2026-03-06|12:00:00|0:04|Saved|1|5559999\n101|2026-03-07|09:05:01|1:05|New|3|5551234");
    const struct {
        int heading;
        const char* callers;
    } orders[] = {{1, "999 5551234 5559999 4441234"},
                  {1, "4441234 5559999 5551234 999"},
                  {3, "4441234 5559999 999 5551234"},
                  {6, "4441234 5551234 5559999 999"},
                  {0, "999 4441234 5559999 5551234"}};
    for (const auto& o : orders) {
        clickHeading(o.heading);
        EXPECT_EQ(found(6).toStdString(), o.callers) << o.heading;
    }

    const auto type = [&](const char* field, const QString& text) { QTest::keyClicks(ui<QLineEdit>(field), text); };
    const struct {
        std::function<void()> ask;
        const char* boxes;
    } cases[] = {
        {[&] { type("txtFindCaller", "555"); }, "20 101"},
        {[&] { type("txtFindBox", "20"); }, "20 20"},
        {[&] { type("txtFindFrom", "2026-03-07"); }, "7 101"},
        {[&] { type("txtFindTo", "2026-03-06"); }, "20 20"},
        {[&] { ui<QRadioButton>("optFindNew")->click(); }, "20 101"},
        {[&] { ui<QRadioButton>("optFindSaved")->click(); }, "7 20"},
        {[&] { ui<QSpinBox>("spnFindMinLength")->setValue(4); }, "7 20 101"},
        {[&] { type("txtFindTo", "2026-3-"); }, "7 20 20 101"},
    };
    for (const auto& c : cases) {
        for (const char* field : {"txtFindCaller", "txtFindBox", "txtFindFrom", "txtFindTo"})
            ui<QLineEdit>(field)->clear();
        ui<QSpinBox>("spnFindMinLength")->setValue(0);
        ui<QRadioButton>("optFindAll")->click();
        c.ask();
        EXPECT_EQ(found(0).toStdString(), c.boxes);
        EXPECT_EQ(label("lblFoundCount")->text(), QString("%1 of 4 messages match").arg(found(0).count(' ') + 1));
    }
    EXPECT_EQ(label("lblFindNote")->text(), "The last day is not used until it reads like 2026-03-07.");
}

TEST_F(FindAndListen, ReturnShowsTheMessageInTheMainWindowAndTheResultsMenuActsOnTheSelection)
{
    traceToFile();
    QWidget* find = openFind();
    selectResults({2});
    const QStringList calls = traced([&] { QTest::keyClick(results(), Qt::Key_Return); });
    EXPECT_EQ(calls.value(0), "->frmFindMessages.frm : Sub gridFound_DblClick : ()");
    EXPECT_TRUE(calls.contains("->\tfrmVmailCfg.frm : Sub gridVmbList_SelChange : ()"));
    EXPECT_EQ(boxList()->textMatrix(boxList()->row(), 0), "20");
    EXPECT_EQ(win->messages().fileNameAt(messageList()->row()), kB);
    QTest::mouseClick(button("cmdPlayMsg"), Qt::LeftButton);
    EXPECT_EQ(played.join(' ').toStdString(), folder.file("data/VmSave/" + kB).toStdString());

    const auto command = [&](const char* name, QList<int> rows) {
        selectResults(rows);
        ui<QMenu>("mnuFound")->findChild<QAction*>(name)->trigger();
    };
    command("mnuFoundListen", {3});
    EXPECT_EQ(output.opened, QByteArrayList{folder.read("data/VmSave/" + kA)});

    const QString cSaved = "20_0301080000_0_2_4441234.wav";
    command("mnuFoundMarkSaved", {0, 1});
    EXPECT_EQ(saved(), (QStringList{kA, cSaved, kB, kD}).join(' ').toStdString());
    EXPECT_EQ(listedFiles().join(' ').toStdString(), (cSaved + ' ' + kB).toStdString())
        << "the main window lists box 20 again";
    EXPECT_EQ(results()->selectionModel()->selectedRows().size(), 2);
    EXPECT_EQ(found(4).toStdString(), "Saved Saved Saved New");

    boxes.answers = {vm::manager_window::MsgAnswer::Yes};
    command("mnuFoundDelete", {0, 1});
    EXPECT_EQ(shownBoxes().join('\n').toStdString(),
              "Quorvane Voicemail Manager|YNC|Are you sure you want to delete these messages ?");
    EXPECT_EQ(saved(), (kA + ' ' + kB).toStdString());
    EXPECT_EQ(listedFiles().join(' ').toStdString(), kB.toStdString());
    EXPECT_EQ(found(0).toStdString(), "20 101");

    QTest::keyClick(results(), Qt::Key_Escape);
    EXPECT_FALSE(find->isVisible());
    EXPECT_TRUE(errors.errors.isEmpty());
}

TEST_F(FindAndListen, ListenPlaysWhatWasReadAndTheKeysAndSliderMoveIt)
{
    load();
    clickBox(1);  // box 101
    ui<QMenu>("mnuMsgList")->findChild<QAction*>("mnuMsgListen")->trigger();
    QWidget* listen = ui<QWidget>("frmListen");
    EXPECT_TRUE(listen->isVisible());
    EXPECT_EQ(output.opened, QByteArrayList{folder.read("data/VmSave/" + kA)});
    EXPECT_EQ(playerShows(), "101|2026-03-07 09:05:01|5551234|0:00|1:05|Pause");

    const struct {
        Qt::Key key;
        std::int64_t at;
        const char* elapsed;
    } keys[] = {{Qt::Key_Right, 5000, "0:05"}, {Qt::Key_Right, 10000, "0:10"}, {Qt::Key_Left, 5000, "0:05"},
                {Qt::Key_End, 65000, "1:05"},  {Qt::Key_Right, 65000, "1:05"}, {Qt::Key_Home, 0, "0:00"},
                {Qt::Key_Left, 0, "0:00"}};
    for (const auto& k : keys) {
        QTest::keyClick(listen, k.key);
        EXPECT_EQ(output.last->at, k.at) << k.key;
        EXPECT_EQ(label("lblListenElapsed")->text(), k.elapsed) << k.key;
    }
    QTest::keyClick(listen, Qt::Key_Space);
    EXPECT_FALSE(output.last->on);
    EXPECT_EQ(button("cmdListenPlay")->text(), "Play");
    QTest::keyClick(listen, Qt::Key_Space);
    EXPECT_TRUE(output.last->on);

    ui<QSlider>("sldListenPosition")->setValue(30000);
    EXPECT_EQ(output.last->at, 30000);
    output.last->reach(61500, true);
    EXPECT_EQ(label("lblListenElapsed")->text(), "1:01");
    EXPECT_EQ(ui<QSlider>("sldListenPosition")->value(), 61500);
}

TEST_F(FindAndListen, ThePlayerSaysWhatCannotBePlayed)
{
    const QByteArray cutOff = wave(QByteArray(16000, '\0')).chopped(100);
    folder.write("data/VmSave/" + kA, cutOff);
    load();
    clickBox(1);
    for (const QString& trouble : {QString(), QString("No sound output here.")}) {
        output.trouble = trouble;
        ui<QMenu>("mnuMsgList")->findChild<QAction*>("mnuMsgListen")->trigger();
        EXPECT_TRUE(
            label("lblListenProblem")
                ->text()
                .startsWith(trouble.isEmpty() ? folder.file("data/VmSave/" + kA) + ": still being written" : trouble))
            << label("lblListenProblem")->text().toStdString();
        EXPECT_FALSE(button("cmdListenPlay")->isEnabled());
        folder.write("data/VmSave/" + kA, wave("sound"));
    }
    EXPECT_EQ(output.opened, QByteArrayList{wave("sound")}) << "a file cut off is never played";
}

TEST_F(FindAndListen, F5ListsTheSelectedBoxAgainAsSelectingItDoes)
{
    traceToFile();
    load();
    clickBox(2);  // box 20
    recording("20_0309100000_1_5_123.wav", 3, QDateTime(QDate(2026, 3, 9), QTime(10, 0)));
    activate();
    const QStringList byKey = traced([&] { QTest::keyClick(win.get(), Qt::Key_F5); });
    const QStringList rows = listedFiles();
    const QString counts = label("lblMsgCount", 0)->text() + "/" + label("lblMsgCount", 1)->text();
    EXPECT_EQ(byKey, traced([&] { win->gridVmbList_SelChange(); }));
    EXPECT_EQ(rows, (QStringList{kC, kB, "20_0309100000_1_5_123.wav"}));
    EXPECT_EQ(rows, listedFiles());
    EXPECT_EQ(counts, "2/1");
}

}  // namespace
