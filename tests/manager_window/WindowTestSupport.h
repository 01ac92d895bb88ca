#pragma once
// Shared set-up of the window's widget tests: a throw-away application
// folder, scripted message boxes, the real window driven through its controls.

#include "failsafe/ErrorDialogHost.h"
#include "failsafe/FailSafeState.h"
#include "mailbox/MailboxListFile.h"
#include "manager_window/ManagerWindow.h"
#include "manager_window/MessageBoxService.h"
#include "widgets/FlexGrid.h"
#include "widgets/TabControl.h"
#include "widgets/TextBox.h"

#include "platform/SoundPlayer.h"
#include "support/Control.h"
#include "support/Overrides.h"
#include "support/TempAppFolder.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>

namespace vm::test {

struct ShownBox {
    QString text;
    manager_window::MsgButtons buttons;
    QString caption;
    QString note;
};

// Answers from a queue (then Yes to questions, OK otherwise); notes every box.
class ScriptedBoxes final : public manager_window::MessageBoxService {
public:
    manager_window::MsgAnswer show(const QString& text, manager_window::MsgButtons buttons,
                                   const QString& caption) override
    {
        shown.push_back({text, buttons, caption, {}});
        if (!answers.empty()) {
            const manager_window::MsgAnswer a = answers.front();
            answers.pop_front();
            return a;
        }
        return buttons == manager_window::MsgButtons::YesNoCancel ? manager_window::MsgAnswer::Yes
                                                                  : manager_window::MsgAnswer::Ok;
    }
    manager_window::MsgAnswer ask(const QString& text, manager_window::MsgButtons buttons, const QString& caption,
                                  const QString& note) override
    {
        const manager_window::MsgAnswer a = show(text, buttons, caption);
        shown.back().note = note;
        return a;
    }
    std::vector<ShownBox> shown;
    std::deque<manager_window::MsgAnswer> answers;
};

// A sound player that notes every path it is handed.
struct RecordingPlayer final : platform::SoundPlayer {
    explicit RecordingPlayer(QStringList* paths) : log(paths) {}
    void play(const QString& path) override { log->append(path); }
    QStringList* log;
};

// The error report dialog's stand-in: notes "number in procedure", continues.
struct ErrorsSeen final : failsafe::ErrorDialogHost {
    void setSystemInfoText(const QString&) override {}
    QString systemInfoText() const override { return {}; }
    int showModal() override
    {
        const auto& slot = failsafe::state().error.slot[0];
        errors << QStringLiteral("%1 in %2").arg(slot.number).arg(slot.procedureTrail);
        return 0;
    }
    QString comment() const override { return {}; }
    void unload() override {}
    QStringList errors;
};

// A box's line of the list file, as the program writes it.
inline QByteArray mailboxLine(const QString& id, const QString& pin, const QString& description = {}, int ftpUpload = 0)
{
    mailbox::VoicemailBox box;
    box.Id = id;
    box.Pin = pin;
    box.Description = description;
    box.FtpUpload = static_cast<std::int16_t>(ftpUpload);
    return mailbox::mailboxLineBytes(box);
}

// A whole WAV file of 8 kHz 16-bit mono sound, 16,000 bytes a second.
inline QByteArray wave(const QByteArray& sound)
{
    const auto le = [](std::uint32_t v) { return QByteArray(reinterpret_cast<const char*>(&v), 4); };
    return "RIFF" + le(static_cast<std::uint32_t>(36 + sound.size())) + "WAVEfmt " + le(16) +
           QByteArray("\x01\x00\x01\x00", 4) + le(8000) + le(16000) + QByteArray("\x02\x00\x10\x00", 4) + "data" +
           le(static_cast<std::uint32_t>(sound.size())) + sound;
}

inline QByteArray mailboxFile(const QByteArrayList& lines)
{
    return "<?xml version=\"1.0\"?>\r\n<VoicemailBoxes>\r\n" + lines.join() + "</VoicemailBoxes>\r\n";
}

class WindowTest : public ::testing::Test {
protected:
    WindowTest() { overrides.replace(manager_window::messageBoxService(), &boxes); }

    // Sparse file of `size` bytes in the message folder, last written at `when`.
    void message(const QString& name, qint64 size, const QDateTime& when = QDateTime(QDate(2026, 3, 7), QTime(9, 5, 1)))
    {
        QFile f(folder.file(QStringLiteral("data/VmSave/") + name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.resize(size);
        f.setFileTime(when, QFileDevice::FileModificationTime);
    }

    manager_window::ManagerWindow& load()
    {
        win = std::make_unique<manager_window::ManagerWindow>();
        win->Form_Load();
        win->show();
        return *win;
    }

    // The window's controls, by their design names.
    template <class T>
    T* ui(const QString& name, int index = -1) const
    {
        return control<T>(*win, name, index);
    }
    widgets::TextBox* edit(const QString& name, int index = -1) const { return ui<widgets::TextBox>(name, index); }
    QPushButton* button(const QString& name, int index = -1) const { return ui<QPushButton>(name, index); }
    QLabel* label(const QString& name, int index = -1) const { return ui<QLabel>(name, index); }
    widgets::FlexGrid* boxList() const { return ui<widgets::FlexGrid>(QStringLiteral("gridVmbList")); }
    widgets::FlexGrid* messageList() const { return ui<widgets::FlexGrid>(QStringLiteral("gridMsgList")); }
    widgets::TabControl* tabs() const { return ui<widgets::TabControl>(QStringLiteral("SSTab1")); }

    QPoint cell(widgets::FlexGrid& grid, int row, int col) const
    {
        return grid.visualRect(grid.model()->index(row - 1, col)).center();
    }
    void clickBox(int row) { QTest::mouseClick(boxList()->viewport(), Qt::LeftButton, {}, cell(*boxList(), row, 1)); }
    void clickMessage(int row, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(messageList()->viewport(), button, {}, cell(*messageList(), row, 2));
    }
    // Every box shown so far as "caption|OK|text" or "caption|YNC|text".
    QStringList shownBoxes() const
    {
        QStringList list;
        for (const ShownBox& b : boxes.shown)
            list << b.caption + (b.buttons == manager_window::MsgButtons::YesNoCancel ? "|YNC|" : "|OK|") + b.text;
        return list;
    }
    void type(widgets::TextBox* field, const QString& text)
    {
        field->setFocus(Qt::TabFocusReason);
        field->selectAll();
        QTest::keyClick(field, Qt::Key_Delete);
        QTest::keyClicks(field, text);
    }
    QStringList column(widgets::FlexGrid& grid, int col) const
    {
        QStringList cells;
        for (int r = 1; r < grid.rows(); ++r)
            cells << grid.textMatrix(r, col);
        return cells;
    }
    // The file each row of the message list shows, as the window lists it; empty for a row that is no message.
    QStringList listedFiles() const
    {
        QStringList names;
        for (int r = 1; r < messageList()->rows(); ++r)
            names << win->messages().fileNameAt(r);
        return names;
    }
    QString ini() const { return QString::fromLatin1(folder.read(QStringLiteral("QV.INI"))); }

    // From here on the trace goes to trace.log (the error module starts afresh).
    void traceToFile()
    {
        failsafe::resetState();
        folder.write("FSCLIENT.INI", "[log file]\r\nWrite To Disk=1\r\nCapture To Disk=1\r\nLog File=trace.log\r\n");
    }
    // The calls `commands` trace, entries and exits without their times and counts.
    QStringList traced(const std::function<void()>& commands)
    {
        QFile::remove(folder.file("trace.log"));
        commands();
        QStringList calls;
        static const QRegularExpression call("(?:->|<-)\\t*\\S+ : \\w+ \\w+ : \\([^)]*\\)");
        for (auto m = call.globalMatch(QString::fromLatin1(folder.read("trace.log"))); m.hasNext();)
            calls << m.next().captured();
        return calls;
    }

    TempAppFolder folder;
    ScriptedBoxes boxes;
    std::unique_ptr<manager_window::ManagerWindow> win;
    Overrides overrides;
};

}  // namespace vm::test
