// Model-based soak of the Voicemail Manager window: thousands of random
// operator actions driven through the real window on the offscreen platform
// (mouse clicks on buttons, tabs and grid rows, drags, keys typed into the
// fields, focus changes), while the voice-response engine adds, removes and
// locks files behind the window's back. After every action the window, the
// message and greeting folders, the INI keys written at once and what the
// window asked, played and started are compared with SoakModel; after every
// close the files written on unload are compared byte for byte, and the next
// session starts from them.
//
// Seeded and reproducible: VM_SOAK_SEED (default 1) and VM_SOAK_STEPS
// (default 1500, the short run of ctest). The actions depend on the seed
// alone; names of recorded messages carry the time of day. A long run:
//   VM_SOAK_SEED=7 VM_SOAK_STEPS=100000 QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8 TZ=UTC
//     build/tests/window_soak_tests
// takes about five minutes. A failure names the seed, the step, the last
// actions and every difference from the model.
#include "SoakModel.h"

#include "manager_window/WindowTestSupport.h"

#include "config/GlobalStuff.h"
#include "mailbox/VmailLib.h"
#include "manager_window/HtmlHelpQvLib.h"

#include <QApplication>
#include <QCheckBox>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QKeySequence>
#include <QLabel>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTabBar>
#include <QTemporaryDir>
#include <QThread>

#include <deque>
#include <functional>
#include <iostream>
#include <random>

using namespace vm::soak;

namespace {

quint64 envNumber(const char* name, quint64 fallback)
{
    bool ok = false;
    const quint64 v = qEnvironmentVariable(name).toULongLong(&ok);
    return ok ? v : fallback;
}

QStringList g_helpOpened;
bool noteHelp(const QString& path)
{
    g_helpOpened << path;
    return true;
}

QString join(const QStringList& l) { return l.join(QStringLiteral(" | ")); }
QString flags(std::initializer_list<bool> on)
{
    QString s;
    for (bool b : on)
        s += b ? QLatin1Char('1') : QLatin1Char('0');
    return s;
}
QString boxText(const Box& b)
{
    return QStringList{b.id,
                       b.pin,
                       b.description,
                       b.groups,
                       b.emailForward,
                       b.phoneForward,
                       b.pagerNumber,
                       b.pagerMessage,
                       b.onReceive,
                       QString::number(b.ftpUpload),
                       QString::number(b.deleteAfterForward)}
        .join(QLatin1Char(','));
}
QString shownText(const QString& caption, bool question, const QString& text)
{
    return caption + (question ? QStringLiteral("|YNC|") : QStringLiteral("|OK|")) + text;
}

// Typed texts: Latin-1 letters that windows-1252 shares, XML and INI specials.
const QString kFreeText = QStringLiteral(
    "abcdefghijklmnopqrstuvwxyz ABCXYZ 0123456789 <>&\"'/-_.,;=[]#!?\u00e9\u00fc\u00df\u00a3");
// Quotes around an INI value are taken off when it is read back: none here.
const QString kIniText = QString(kFreeText).remove(QLatin1Char('"')).remove(QLatin1Char('\''));

// One observed property per line: (what, value).
using View = std::vector<std::pair<QString, QString>>;

class WindowSoak : public vm::test::WindowTest {
protected:
    void SetUp() override
    {
        vm::failsafe::resetState();
        vm::failsafe::setErrorDialogHost(&errors_);
        vm::window::setHelpOpener(&noteHelp);
        // The stand-in recorder notes the file it was started on.
        QFile rec(recorder_.filePath(QStringLiteral("rec.sh")));
        ASSERT_TRUE(rec.open(QIODevice::WriteOnly));
        rec.write("#!/bin/sh\nprintf '%s\\n' \"$*\" >> \"$(dirname \"$0\")/rec.log\"\n");
        rec.close();
        rec.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    void TearDown() override
    {
        win.reset();
        vm::window::setHelpOpener(nullptr);
        vm::failsafe::setErrorDialogHost(nullptr);
        vm::failsafe::resetState();
    }

    vm::window::frmVmailCfg& W() const { return *win; }
    SoakModel& M() const { return *model_; }

    // --- random choices (one draw per statement, so the order is fixed) ---
    int pick(int n) { return n <= 1 ? 0 : static_cast<int>(rng_() % static_cast<quint64>(n)); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    template <class T>
    T oneOf(const std::vector<T>& v)
    {
        return v[static_cast<std::size_t>(pick(static_cast<int>(v.size())))];
    }
    QString randomText(const QString& alphabet, int maxLength)
    {
        QString s;
        for (int n = pick(maxLength + 1); n > 0; --n)
            s += alphabet[pick(static_cast<int>(alphabet.size()))];
        // No tag-like text: a comment holding "<Pin" or "</" reads back from the wrong place.
        for (qsizetype i = 0; i + 1 < s.size(); ++i)
            if (s[i] == QLatin1Char('<') && (s[i + 1].isLetter() || s[i + 1] == QLatin1Char('/')))
                s[i] = QLatin1Char('(');
        return s;
    }
    QString digits(int minLength, int maxLength)
    {
        QString s;
        for (int n = minLength + pick(maxLength - minLength + 1); n > 0; --n)
            s += QChar(u'0' + pick(10));
        return s;
    }
    QString boxNumberText()
    {
        if (!M().table.empty() && chance(0.45)) {
            const QString id = oneOf(M().table).id;
            return chance(0.8) ? id : QStringLiteral(" ") + id + QStringLiteral("x");
        }
        if (chance(0.7)) {
            const QString id = oneOf<QString>({"1", "2", "7", "9", "10", "11", "100", "101", "1010", "12"});
            return chance(0.3) ? id + digits(0, 2) : id;
        }
        return oneOf<QString>({"12a", " 3-4 ", "abc", "", "0042", "123456789012", "a1b2", "  "});
    }
    QString pinText() { return chance(0.75) ? digits(1, 7) : oneOf<QString>({"x9", "", "12 34", "abc", " 0007 "}); }
    QString limitText()
    {
        if (chance(0.2))
            return QString::number(pick(100000));
        return oneOf<QString>({"",       "0",  "1",   "2",   "5",   "30",  "31",  "45",   "300", "9999", "10000",
                               "123456", "-5", "2.5", "3.5", "abc", "12a", " 7 ", "1.49", ".5",  "10.55"});
    }
    QString bodyText()
    {
        QStringList lines;
        for (int n = 1 + pick(3); n > 0; --n)
            lines << randomText(kFreeText, 20);
        return lines.join(QLatin1Char('\n'));
    }

    // --- the world before the first session ---
    void seedWorld()
    {
        model_ = std::make_unique<SoakModel>(folder.path());
        model_->templateBytes = "RIFF" + QByteArray(4 + pick(40000), 't');
        folder.write(QStringLiteral("system/8pcm16m.wav"), model_->templateBytes);
        folder.write(QStringLiteral("system/VeryShort.wav"), "RIFF stop");

        QByteArray ini = "[PlayRecordConfig]\r\nRecEditor=" + recorder_.filePath(QStringLiteral("rec.sh")).toUtf8() +
                         "\r\n[Voicemail]\r\n";
        const auto seedKey = [&](double p, const QString& key, const QString& value) {
            if (!chance(p))
                return;
            ini += (key + QLatin1Char('=') + value + QStringLiteral("\r\n")).toLatin1();
            model_->iniKeys[key] = value;
        };
        seedKey(0.5, QStringLiteral("RecLengthMin"), QString::number(1 + pick(30)));
        seedKey(0.5, QStringLiteral("RecLengthMax"), QString::number(2 + pick(600)));
        seedKey(0.7, QStringLiteral("ForwardEmailMechanism"), oneOf<QString>({"SMTP", "smtp", "MAPI"}));
        seedKey(0.5, QStringLiteral("ForwardEmailSubject"), QStringLiteral("New voicemail"));
        seedKey(0.5, QStringLiteral("FtpServer"), QStringLiteral("ftp.example.com"));
        folder.write(QStringLiteral("QV.INI"), ini);
        if (chance(0.5)) {
            model_->bodyFile = "You have a new message,\r\nfrom the voicemail.\r\n";
            folder.write(QStringLiteral("VmEmailForwardBody.txt"), model_->bodyFile);
        }

        // Ids of which some begin others, and letters in either case. The list
        // file is not sorted and may repeat a box on its last line; a legacy
        // list may name boxes the list file does not (they become blank rows).
        std::vector<QString> ids = {"1", "10", "101", "1010", "2", "7", "9", "A7", "b12", "C3", "20"};
        std::shuffle(ids.begin(), ids.end(), rng_);
        const auto someBox = [this](const QString& id) {
            Box b;
            b.id = id;
            b.pin = digits(1, 4);
            b.description = randomText(QString(kFreeText).remove(QLatin1Char('"')), 12).trimmed();
            b.groups = chance(0.3) ? QStringLiteral("sales") : QString();
            b.emailForward = chance(0.3) ? QStringLiteral("a@b.example") : QString();
            b.ftpUpload = pick(2);
            b.deleteAfterForward = pick(2);
            return b;
        };
        for (int n = pick(static_cast<int>(ids.size()) + 1); n > 0; --n)
            model_->listRecords.push_back(someBox(ids[static_cast<std::size_t>(n - 1)]));
        if (model_->listRecords.size() > 2 && chance(0.3))
            model_->listRecords.push_back(someBox(oneOf(model_->listRecords).id.toLower()));
        if (!model_->listRecords.empty() || chance(0.2)) {
            model_->listFile = listFileBytes(model_->listRecords, false);
            folder.write(QStringLiteral("data/VmBoxList.xml"), model_->listFile);
        }
        if (chance(0.4)) {
            QByteArray legacy;
            for (int n = 1 + pick(5); n > 0; --n) {
                Box b;
                b.id = oneOf(ids).toUpper();
                if (std::any_of(model_->legacyRecords.begin(), model_->legacyRecords.end(),
                                [&](const Box& e) { return e.id == b.id; }))
                    continue;
                b.pin = digits(1, 4);
                b.description = someBox(b.id).description;
                model_->legacyRecords.push_back(b);
                legacy += QStringLiteral("\"%1\",\"%2\",\"%3\"\r\n").arg(b.id, b.pin, b.description).toLatin1();
            }
            folder.write(QStringLiteral("data/VmBoxList.txt"), legacy);
        }
        for (int n = pick(12); n > 0; --n)
            messageArrives(oneOf(ids));
        for (int n = pick(5); n > 0; --n)
            greetingArrives(oneOf(ids));
        folder.write(QStringLiteral("data/VmSave/notes.txt"), "not a message");
        model_->messages[QStringLiteral("notes.txt")] = {13, {}, false};
    }

    // --- the engine behind the window's back ---
    void messageArrives(const QString& id)
    {
        const QString stamp = digits(10, 10);
        const QString marker = oneOf<QString>({"1", "1", "0", "01", ""});
        const QString line = QString::number(1 + pick(8));
        const QString caller = oneOf<QString>({"5551234", "", "999", "0123"});
        const QString extension = chance(0.9) ? QStringLiteral("wav") : QStringLiteral("WAV");
        const QString name = QStringLiteral("%1_%2_%3_%4_%5.%6").arg(id, stamp, marker, line, caller, extension);
        qint64 size = oneOf<qint64>({0, 11025, 16537, 16538, 661500});
        if (chance(0.5))
            size += pick(3000000);
        const QDate day(2025, 1 + pick(12), 1 + pick(28));
        const int hour = pick(24);
        const int minute = pick(60);
        const QDateTime when(day, QTime(hour, minute, pick(60)));
        message(name, size, when);
        model_->messageArrives(name, size, when);
    }
    void greetingArrives(const QString& id)
    {
        const QByteArray bytes = "greeting of " + id.toLatin1();
        folder.write(QStringLiteral("data/VmWelc/") + id + QStringLiteral(".wav"), bytes);
        model_->greetingArrives(id + QStringLiteral(".wav"), bytes);
    }
    QString someMessage()
    {
        auto it = model_->messages.begin();
        std::advance(it, pick(static_cast<int>(model_->messages.size())));
        return it->first;
    }

    // --- sessions ---
    void openSession()
    {
        model_->helpFilePresent = chance(0.5);
        if (model_->helpFilePresent)
            folder.write(QStringLiteral("qv.chm"), "help");
        else
            QFile::remove(folder.file(QStringLiteral("qv.chm")));
        boxes.shown.clear();
        played_.clear();
        g_helpOpened.clear();
        errors_.errors.clear();
        QFile::remove(recorder_.filePath(QStringLiteral("rec.log")));
        load();
        win->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
        model_->openWindow();
        ++sessions_;
        action_ = QStringLiteral("open the window");
        check(actualView(), expectedView());
    }

    // Exit, or the close box (which moves no focus); then the files written
    // on unload and the recorder's starts.
    void closeSession(bool exitButton)
    {
        act(
            exitButton ? QStringLiteral("Exit") : QStringLiteral("close box"),
            [&] {
                if (exitButton)
                    QTest::mouseClick(win->cmdVmCfgExit, Qt::LeftButton);
                else
                    win->close();
            },
            [&] { model_->closeWindow(); }, exitButton);
        View actual = filesView();
        View expected = expectedFilesView();
        actual.emplace_back(QStringLiteral("window closed"), flags({win->unloaded(), win->isVisible()}));
        expected.emplace_back(QStringLiteral("window closed"), QStringLiteral("10"));
        actual.emplace_back(QStringLiteral("run-time errors"), join(errors_.errors));
        expected.emplace_back(QStringLiteral("run-time errors"), join(model_->errors));
        QStringList started = recorderLog(model_->recorded.size());
        QStringList expectedStarts = model_->recorded;
        started.sort();
        expectedStarts.sort();
        actual.emplace_back(QStringLiteral("recorder started on"), join(started));
        expected.emplace_back(QStringLiteral("recorder started on"), join(expectedStarts));
        check(actual, expected);
        win.reset();
    }

    // The recorder runs on its own; its notes are waited for.
    QStringList recorderLog(qsizetype expected) const
    {
        QFile log(recorder_.filePath(QStringLiteral("rec.log")));
        QStringList lines;
        for (QDeadlineTimer deadline(10000); !deadline.hasExpired(); QThread::msleep(5)) {
            if (log.open(QIODevice::ReadOnly)) {
                lines = QString::fromUtf8(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
                log.close();
            }
            if (lines.size() >= expected)
                break;
        }
        return lines;
    }

    // --- one action: on the window, then on the model, then the comparison ---
    void act(const QString& what, const std::function<void()>& onWindow, const std::function<void()>& onModel,
             bool focusCounts = true)
    {
        action_ = what;
        static const QRegularExpression detail(QStringLiteral("\".*\"|\\S*\\d\\S*"));
        ++kinds_[QString(what).remove(detail).simplified()];
        recent_.push_back(QString::number(step_) + QStringLiteral(": ") + what);
        if (recent_.size() > 40)
            recent_.pop_front();
        // Between two operator actions the window handles its pending events
        // (layout, repaint), as it does on screen.
        QCoreApplication::processEvents();
        QWidget* before = QApplication::focusWidget();
        onWindow();
        QWidget* after = QApplication::focusWidget();
        // Focus moves are the operator's doing: the model hears of them first.
        if (after != before && focusCounts) {
            for (std::size_t i = 0; i < 2; ++i)
                if (before == win->Text1[i])
                    model_->limitFieldLeft(static_cast<int>(i));
            for (QWidget* field : win->txtNewVmb)
                if (after == field)
                    model_->boxFieldEntered();
        }
        onModel();
        ++step_;
        if (!win->unloaded())
            check(actualView(), expectedView());
    }

    void click(QWidget* w, const QString& what, const std::function<void()>& onModel)
    {
        act(
            what, [w] { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2)); }, onModel);
    }

    QPoint cellCenter(vm::widgets::FlexGrid& grid, int row, int col)
    {
        const QModelIndex index = grid.model()->index(row - 1, col);
        grid.scrollTo(index);  // the operator scrolls the row into view first
        QCoreApplication::processEvents();
        return grid.visualRect(index).center();
    }

    // A click into the field, then select all and delete (`replace`) or go to
    // the end, then the keys; a line break is the Return key.
    void typeInto(QWidget* field, const QString& typed, bool replace)
    {
        auto* body = qobject_cast<QPlainTextEdit*>(field);
        QTest::mouseClick(body ? body->viewport() : field, Qt::LeftButton, {}, QPoint(4, 6));
        if (replace) {
            QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
            QTest::keyClick(field, Qt::Key_Delete);
        } else {
            QTest::keyClick(field, Qt::Key_End, body ? Qt::ControlModifier : Qt::NoModifier);
        }
        for (const QChar c : typed) {
            if (c == QLatin1Char('\n'))
                QTest::keyClick(field, Qt::Key_Return);
            else if (c.unicode() < 0x80)
                QTest::keyClick(field, c.toLatin1());
            else  // a Latin-1 letter's key code is its upper-case code point
                QTest::sendKeyEvent(QTest::Click, field, Qt::Key(c.toUpper().unicode()), QString(c), Qt::NoModifier);
        }
    }

    void pressButton(QPushButton* button, Button b, const QString& name)
    {
        const bool asks = b == DeleteVmb || b == DeleteMsg;
        const Answer a = asks ? oneOf<Answer>({Answer::Yes, Answer::Yes, Answer::No, Answer::Cancel}) : Answer::Yes;
        if (asks && model_->enabled[b])
            boxes.answers.push_back(a == Answer::Yes  ? vm::window::MsgAnswer::Yes
                                    : a == Answer::No ? vm::window::MsgAnswer::No
                                                      : vm::window::MsgAnswer::Cancel);
        const QString what = name + (!asks              ? QString()
                                     : a == Answer::Yes ? QStringLiteral(" (Yes)")
                                                        : QStringLiteral(" (No/Cancel)"));
        if (b != RecMsg) {
            click(button, what, [this, b, a] { model_->clickButton(b, a); });
            return;
        }
        QDateTime from;
        QDateTime to;
        act(
            what,
            [&] {
                from = QDateTime::currentDateTime();
                QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
                to = QDateTime::currentDateTime();
            },
            [&] {
                // The name carries the second of the recording: the new file of
                // those seconds, else one that was overwritten, else the first.
                QStringList names;
                for (QDateTime t = from.addMSecs(-from.time().msec()); t <= to; t = t.addSecs(1))
                    names << model_->recordedMessageName(t.toString(QStringLiteral("MMddHHmmss")));
                QString made, overwritten;
                for (const QString& n : names)
                    if (QFileInfo::exists(model_->messagePath(n)))
                        (model_->messages.count(n) ? overwritten : made) = n;
                if (made.isEmpty())
                    made = overwritten.isEmpty() ? names.front() : overwritten;
                model_->clickButton(RecMsg, a, made);
                if (model_->messages.count(made))
                    model_->messages[made].written = QFileInfo(model_->messagePath(made)).lastModified();
            });
    }

    // --- choosing the next action by weight, from what the operator sees ---
    using Choices = std::vector<std::pair<int, std::function<void()>>>;

    void chooseAndAct()
    {
        if (!pending_.empty()) {
            const auto next = std::move(pending_.front());
            pending_.pop_front();
            next();
            return;
        }
        Choices choices;
        anyTabChoices(choices);
        switch (M().tab) {
            case 0: mailboxesTabChoices(choices); break;
            case 1: addModifyTabChoices(choices); break;
            case 2: lengthFieldChoices(choices); break;
            default: settingsTabChoices(choices); break;
        }
        int total = 0;
        for (const auto& c : choices)
            total += c.first;
        int at = pick(total);
        for (const auto& c : choices) {
            if ((at -= c.first) < 0) {
                c.second();
                return;
            }
        }
    }

    void anyTabChoices(Choices& add)
    {
        add.emplace_back(6, [this] {
            const int t = chance(0.3) ? 0 : pick(5);  // the first tab has the most to do
            QTabBar* bar = W().SSTab1->tabBar();
            act(
                QStringLiteral("tab %1").arg(t),
                [&] { QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(t).center()); },
                [&] { M().clickTab(t); });
        });
        add.emplace_back(1, [this] { click(W().cmdVmCfgHelp, QStringLiteral("Help"), [this] { M().clickHelp(); }); });
        QWidget* focused = QApplication::focusWidget();
        if (focused && focused != W().txtEmailBody)  // the body takes a Tab as text
            add.emplace_back(2, [this, focused] {
                act(
                    QStringLiteral("Tab key"), [&] { QTest::keyClick(focused, Qt::Key_Tab); }, [] {});
            });
        if (chance(0.3))
            add.emplace_back(1, [this] { closeSession(chance(0.5)); });
        if (M().messages.size() < 150)
            add.emplace_back(2, [this] {
                const QString id = !M().table.empty() && chance(0.8) ? oneOf(M().table).id : digits(1, 4);
                act(
                    QStringLiteral("a message arrives for ") + id, [&] { messageArrives(id); }, [] {});
            });
        if (!M().table.empty())
            add.emplace_back(1, [this] {
                const QString id = oneOf(M().table).id;
                act(
                    QStringLiteral("a greeting arrives for ") + id, [&] { greetingArrives(id); }, [] {});
            });
        // The recording template goes missing now and then: recording fails
        // with a run-time error, which is reported, and the window goes on.
        add.emplace_back(1, [this] {
            const bool present = !M().templatePresent;
            act(
                present ? QStringLiteral("template restored") : QStringLiteral("template removed"),
                [&] {
                    if (present)
                        folder.write(QStringLiteral("system/8pcm16m.wav"), M().templateBytes);
                    else
                        QFile::remove(folder.file(QStringLiteral("system/8pcm16m.wav")));
                },
                [&] { M().templatePresent = present; });
        });
        if (M().messages.empty())
            return;
        add.emplace_back(1, [this] {
            const QString name = someMessage();
            act(
                QStringLiteral("engine removes ") + name, [&] { QFile::remove(M().messagePath(name)); },
                [&] { M().messageVanishes(name); });
        });
        add.emplace_back(1, [this] {
            // The engine holds on to messages it received, not to recordings made here.
            const QString name = someMessage();
            if (!name.endsWith(QStringLiteral("_1000_999.wav")))
                act(
                    QStringLiteral("engine locks ") + name,
                    [&] { QFile::setPermissions(M().messagePath(name), QFileDevice::ReadOwner); },
                    [&] { M().messageLocked(name); });
        });
    }

    void mailboxesTabChoices(Choices& add)
    {
        const int boxRows = static_cast<int>(M().boxRows.size());
        const int messageRows = static_cast<int>(M().messageRows.size());
        if (boxRows > 0) {
            add.emplace_back(12, [this, boxRows] {
                const int r = 1 + pick(boxRows);
                const bool shift = chance(0.1);
                act(
                    QStringLiteral("click box row %1%2").arg(r).arg(shift ? " shift" : ""),
                    [&] {
                        QTest::mouseClick(W().gridVmbList->viewport(), Qt::LeftButton,
                                          shift ? Qt::ShiftModifier : Qt::NoModifier,
                                          cellCenter(*W().gridVmbList, r, 1));
                    },
                    [&] { M().clickBoxRow(r, shift); });
            });
            add.emplace_back(3, [this, boxRows] {
                const int r = 1 + pick(boxRows);
                act(
                    QStringLiteral("double-click box row %1").arg(r),
                    [&] {
                        QWidget* v = W().gridVmbList->viewport();
                        const QPoint at = cellCenter(*W().gridVmbList, r, 0);
                        QTest::mousePress(v, Qt::LeftButton, {}, at);
                        QTest::mouseRelease(v, Qt::LeftButton, {}, at);
                        QTest::mouseDClick(v, Qt::LeftButton, {}, at);
                        QTest::mouseRelease(v, Qt::LeftButton, {}, at);
                    },
                    [&] { M().doubleClickBoxRow(r); });
            });
        }
        // Keys move the selection of the list that has the focus.
        for (const bool boxList : {true, false}) {
            auto* grid = boxList ? W().gridVmbList : W().gridMsgList;
            if (QApplication::focusWidget() == grid)
                add.emplace_back(4, [this, grid, boxList] {
                    const int key = oneOf<int>({Qt::Key_Up, Qt::Key_Down, Qt::Key_Down, Qt::Key_Home, Qt::Key_End});
                    const bool shift = chance(0.3);
                    act(
                        QStringLiteral("key %1%2 in the %3 list")
                            .arg(QKeySequence(key).toString(), shift ? " shift" : "", boxList ? "box" : "message"),
                        [&] { QTest::keyClick(grid, Qt::Key(key), shift ? Qt::ShiftModifier : Qt::NoModifier); },
                        [&] { boxList ? M().boxListKey(key, shift) : M().messageListKey(key, shift); });
                });
        }
        if (messageRows > 0) {
            add.emplace_back(8, [this, messageRows] {
                const int r = 1 + pick(messageRows);
                const auto button = oneOf<Qt::MouseButton>(
                    {Qt::LeftButton, Qt::LeftButton, Qt::RightButton, Qt::MiddleButton});
                const bool shift = button == Qt::LeftButton && chance(0.15);
                act(
                    QStringLiteral("press message row %1 button %2%3")
                        .arg(r)
                        .arg(int(button))
                        .arg(shift ? " shift" : ""),
                    [&] {
                        QTest::mouseClick(W().gridMsgList->viewport(), button,
                                          shift ? Qt::ShiftModifier : Qt::NoModifier,
                                          cellCenter(*W().gridMsgList, r, 2));
                    },
                    [&] { M().pressMessageRow(r, shift); });
            });
            add.emplace_back(5, [this, messageRows] {
                const int from = 1 + pick(messageRows);
                int to = from;
                act(
                    QStringLiteral("drag messages from %1").arg(from),
                    [&] {
                        auto& grid = *W().gridMsgList;
                        const QPoint start = cellCenter(grid, from, 2);
                        std::vector<int> visible;  // rows the drag reaches without scrolling, either way
                        for (int r = 1; r <= messageRows; ++r)
                            if (grid.viewport()->rect().contains(grid.visualRect(grid.model()->index(r - 1, 2))))
                                visible.push_back(r);
                        to = visible.empty() ? from : oneOf(visible);
                        recent_.back() += QStringLiteral(" to %1").arg(to);
                        QTest::mousePress(grid.viewport(), Qt::LeftButton, {}, start);
                        QCoreApplication::processEvents();
                        const QPoint end = grid.visualRect(grid.model()->index(to - 1, 2)).center();
                        QTest::mouseMove(grid.viewport(), end);
                        QTest::mouseRelease(grid.viewport(), Qt::LeftButton, {}, end);
                    },
                    [&] {
                        M().pressMessageRow(from, false);
                        M().dragMessagesTo(to);
                    });
            });
        }
        add.emplace_back(2,
                         [this] { click(W().cmdVmbModify, QStringLiteral("Modify"), [this] { M().clickModify(); }); });
        const struct {
            int weight;
            QPushButton* button;
            Button which;
            const char* name;
        } buttons[] = {
            {3, W().cmdDeleteVmb, DeleteVmb, "delete box"},
            {2, W().cmdRecIntro, RecIntro, "record greeting"},
            {2, W().cmdPlayIntro, PlayIntro, "play greeting"},
            {1, W().cmdStopPlay[0], StopIntro, "stop greeting"},
            {5, W().cmdDeleteMsg, DeleteMsg, "delete messages"},
            {M().messages.size() < 200 ? 3 : 0, W().cmdRecMsg, RecMsg, "record message"},
            {3, W().cmdPlayMsg, PlayMsg, "play message"},
            {1, W().cmdStopPlay[1], StopMsg, "stop message"},
        };
        for (const auto& b : buttons)
            add.emplace_back(b.weight, [this, b] { pressButton(b.button, b.which, QString::fromLatin1(b.name)); });
    }

    void typeBoxField(int i, const QString& typed, bool replace)
    {
        act(
            QStringLiteral("type \"%1\" into box field %2").arg(typed).arg(i),
            [&] { typeInto(W().txtNewVmb[static_cast<std::size_t>(i)], typed, replace); },
            [&] { M().typeBoxField(i, typed, replace); });
    }
    void clickAdd()
    {
        click(W().cmdVmbAdd, QStringLiteral("Add / Modify"), [this] { M().clickAdd(); });
    }
    void toggleCheck(int i)
    {
        click(i == 0 ? static_cast<QWidget*>(W().chkUploadToFtp) : W().chkDeleteAfterForward,
              QStringLiteral("toggle check box %1").arg(i), [this, i] { M().toggleCheck(i); });
    }

    void addModifyTabChoices(Choices& add)
    {
        add.emplace_back(10, [this] {
            const int i = pick(9);
            const QString typed = i == 0 ? boxNumberText() : i == 1 ? pinText() : randomText(kFreeText, 16);
            typeBoxField(i, typed, chance(0.8));
        });
        add.emplace_back(3, [this] { toggleCheck(pick(2)); });
        add.emplace_back(4, [this] { clickAdd(); });
        add.emplace_back(4, [this] { click(W().cmdNext, QStringLiteral("next box"), [this] { M().clickNext(); }); });
        add.emplace_back(3,
                         [this] { click(W().cmdPrev, QStringLiteral("previous box"), [this] { M().clickPrev(); }); });
        if (M().table.size() < 40)
            add.emplace_back(6, [this] {
                // A whole addition or change, one action at a time.
                pending_.push_back([this] { typeBoxField(0, boxNumberText(), true); });
                pending_.push_back([this] { typeBoxField(1, pinText(), true); });
                for (int i = 2; i < 9; ++i)
                    if (chance(0.3))
                        pending_.push_back([this, i] { typeBoxField(i, randomText(kFreeText, 16), true); });
                if (chance(0.3))
                    pending_.push_back([this] { toggleCheck(0); });
                pending_.push_back([this] { clickAdd(); });
            });
    }

    void lengthFieldChoices(Choices& add)
    {
        add.emplace_back(10, [this] {
            const int i = pick(3);
            const QString typed = limitText();
            const bool replace = chance(0.8);
            act(
                QStringLiteral("type \"%1\" into length field %2").arg(typed).arg(i),
                [&] { typeInto(W().Text1[static_cast<std::size_t>(i)], typed, replace); },
                [&] { M().typeLimit(i, typed, replace); });
        });
    }

    void settingsTabChoices(Choices& add)
    {
        auto& w = W();
        const std::vector<std::pair<Setting, QWidget*>> fields =
            M().tab == 3 ? std::vector<std::pair<Setting, QWidget*>>{{Subject, w.txtEmailSubject},
                                                                     {SmtpHost, w.txtSmtpMailHost},
                                                                     {SmtpAddress, w.txtSmtpEmailAddress},
                                                                     {LoginName, w.txtSmtpLoginName},
                                                                     {LoginPassword, w.txtSmtpLoginPassword},
                                                                     {Body, w.txtEmailBody}}
                         : std::vector<std::pair<Setting, QWidget*>>{{FtpServer, w.txtFtpServer},
                                                                     {FtpDir, w.txtFtpDir},
                                                                     {FtpUser, w.txtFtpUser},
                                                                     {FtpPassword, w.txtFtpPassword},
                                                                     {RunCommand, w.txtRunCommand}};
        for (const auto& [setting, widget] : fields) {
            // The SMTP fields are switched off with MAPI: nobody can type there.
            if ((setting == SmtpHost || setting == SmtpAddress) && !M().smtp)
                continue;
            add.emplace_back(2, [this, setting, widget] {
                const QString typed = setting == Body ? bodyText() : randomText(kIniText, 16);
                const bool replace = chance(0.7);
                act(
                    QStringLiteral("type \"%1\" into setting %2")
                        .arg(QString(typed).replace(QLatin1Char('\n'), QStringLiteral("\\n")))
                        .arg(int(setting)),
                    [&] { typeInto(widget, typed, replace); }, [&] { M().typeSetting(setting, typed, replace); });
            });
        }
        if (M().tab == 3)
            add.emplace_back(4, [this] {
                const bool smtpOption = chance(0.5);
                act(
                    smtpOption ? QStringLiteral("choose SMTP") : QStringLiteral("choose MAPI"),
                    [&] { QTest::mouseClick(W().optEmailMechanism[smtpOption ? 2 : 1], Qt::LeftButton); },
                    [&] { M().clickMechanism(smtpOption); });
            });
    }

    // --- what the window, the folders and the INI file show, and what the model says they should ---
    View filesView() const
    {
        QStringList messages, greetings, keys;
        for (const QFileInfo& f :
             QDir(folder.file(QStringLiteral("data/VmSave"))).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
            messages << QStringLiteral("%1 %2%3")
                            .arg(f.fileName())
                            .arg(f.size())
                            .arg(f.permissions() & QFileDevice::WriteOwner ? "" : " locked");
        for (const QFileInfo& f :
             QDir(folder.file(QStringLiteral("data/VmWelc"))).entryInfoList(QDir::Files | QDir::Hidden, QDir::Name))
            greetings << f.fileName() + QLatin1Char(' ') +
                             QString::fromLatin1(folder.read(QStringLiteral("data/VmWelc/") + f.fileName()).left(16));
        bool voicemail = false;
        for (const QString& line :
             QString::fromLatin1(folder.read(QStringLiteral("QV.INI"))).split(QStringLiteral("\r\n"))) {
            if (line.startsWith(QLatin1Char('[')))
                voicemail = line.compare(QStringLiteral("[Voicemail]"), Qt::CaseInsensitive) == 0;
            else if (voicemail && line.contains(QLatin1Char('=')))
                keys << line;
        }
        keys.sort();
        return {
            {QStringLiteral("message folder"), join(messages)},
            {QStringLiteral("greeting folder"), join(greetings)},
            {QStringLiteral("VmBoxList.xml"), QString::fromLatin1(folder.read(QStringLiteral("data/VmBoxList.xml")))},
            {QStringLiteral("VmBoxList.txt is there"), flags({folder.exists(QStringLiteral("data/VmBoxList.txt"))})},
            {QStringLiteral("VmEmailForwardBody.txt"),
             QString::fromLatin1(folder.read(QStringLiteral("VmEmailForwardBody.txt")))},
            {QStringLiteral("QV.INI [Voicemail]"), join(keys)}};
    }
    View expectedFilesView() const
    {
        const SoakModel& m = M();
        QStringList messages, greetings, keys;
        for (const auto& [name, f] : m.messages)  // std::map orders as QDir::Name does for these names
            messages << QStringLiteral("%1 %2%3").arg(name).arg(f.size).arg(f.readOnly ? " locked" : "");
        for (const auto& [name, bytes] : m.greetings)
            greetings << name + QLatin1Char(' ') + QString::fromLatin1(bytes.left(16));
        for (const auto& [key, value] : m.iniKeys)
            keys << key + QLatin1Char('=') + value;
        keys.sort();
        return {{QStringLiteral("message folder"), join(messages)},
                {QStringLiteral("greeting folder"), join(greetings)},
                {QStringLiteral("VmBoxList.xml"), QString::fromLatin1(m.listFile)},
                {QStringLiteral("VmBoxList.txt is there"), flags({!m.legacyRecords.empty()})},
                {QStringLiteral("VmEmailForwardBody.txt"), QString::fromLatin1(m.bodyFile)},
                {QStringLiteral("QV.INI [Voicemail]"), join(keys)}};
    }

    View actualView() const
    {
        auto& w = W();
        const auto n = [](auto v) { return QString::number(static_cast<long long>(v)); };
        QStringList table, boxRows, messageRows, boxFields, limits, settings, shown;
        for (int i = 1; i <= vm::VmbArray().upperBound(); ++i) {
            const vm::VoicemailBox& e = vm::VmbArray().at(i);
            table << boxText({e.Id, e.Pin, e.Description, e.Groups, e.EmailForward, e.PhoneForward, e.PagerNumber,
                              e.PagerMessage, e.OnReceive, e.FtpUpload, e.DeleteAfterForward});
        }
        for (int r = 1; r < w.gridVmbList->rows(); ++r)
            boxRows << QStringList{w.gridVmbList->textMatrix(r, 0), w.gridVmbList->textMatrix(r, 1),
                                   w.gridVmbList->textMatrix(r, 2), w.gridVmbList->textMatrix(r, 3)}
                           .join(QLatin1Char(','));
        const auto icon = [&](int r) {
            const auto picture = w.gridMsgList->model()
                                     ->data(w.gridMsgList->model()->index(r - 1, 0), Qt::DecorationRole)
                                     .value<QPixmap>();
            if (picture.isNull())
                return -1;
            const QImage image = picture.toImage();
            return image == w.imgSndStatus.picture(0).toImage()   ? 0
                   : image == w.imgSndStatus.picture(1).toImage() ? 1
                                                                  : 9;
        };
        for (int r = 1; r < w.gridMsgList->rows(); ++r) {
            QStringList cells;
            for (int c = 0; c < 5; ++c)
                cells << w.gridMsgList->textMatrix(r, c);
            messageRows << cells.join(QLatin1Char(',')) + QStringLiteral(" icon ") + n(icon(r));
        }
        for (const auto* field : w.txtNewVmb)
            boxFields << field->text();
        for (const auto* field : w.Text1)
            limits << field->text();
        for (const QLineEdit* field :
             {w.txtEmailSubject, w.txtSmtpMailHost, w.txtSmtpEmailAddress, w.txtSmtpLoginName, w.txtSmtpLoginPassword,
              w.txtFtpServer, w.txtFtpDir, w.txtFtpUser, w.txtFtpPassword, w.txtRunCommand})
            settings << field->text();
        settings << w.txtEmailBody->toPlainText();
        for (const auto& s : boxes.shown)
            shown << shownText(s.caption, s.buttons == vm::window::MsgButtons::YesNoCancel, s.text);
        View view = {
            {QStringLiteral("table"), join(table)},
            {QStringLiteral("mailbox list"), join(boxRows)},
            {QStringLiteral("mailbox list row, col, row sel, col sel"),
             QStringList{n(w.gridVmbList->row()), n(w.gridVmbList->col()), n(w.gridVmbList->rowSel()),
                         n(w.gridVmbList->colSel())}
                 .join(QLatin1Char(','))},
            {QStringLiteral("message list"), join(messageRows)},
            {QStringLiteral("message list row, row sel, first column width"),
             QStringList{n(w.gridMsgList->row()), n(w.gridMsgList->rowSel()), n(w.gridMsgList->colWidth(0))}.join(
                 QLatin1Char(','))},
            {QStringLiteral("counts new, saved, boxes"),
             QStringList{w.lblMsgCount[0]->text(), w.lblMsgCount[1]->text(), w.lblMsgCount[2]->text()}.join(
                 QLatin1Char(','))},
            {QStringLiteral("buttons RecIntro PlayIntro StopIntro DeleteVmb RecMsg PlayMsg StopMsg DeleteMsg"),
             flags({w.cmdRecIntro->isEnabled(), w.cmdPlayIntro->isEnabled(), w.cmdStopPlay[0]->isEnabled(),
                    w.cmdDeleteVmb->isEnabled(), w.cmdRecMsg->isEnabled(), w.cmdPlayMsg->isEnabled(),
                    w.cmdStopPlay[1]->isEnabled(), w.cmdDeleteMsg->isEnabled()})},
            {QStringLiteral("tab, sSelectedVmbId, iLastMsgRow, iCurVmbIdx"),
             QStringList{n(w.SSTab1->currentIndex()), w.sSelectedVmbId, n(std::int16_t(w.iLastMsgRow)),
                         n(std::int16_t(w.iCurVmbIdx))}
                 .join(QLatin1Char(','))},
            {QStringLiteral("box fields"), join(boxFields)},
            {QStringLiteral("check boxes, lblAddedOK"), flags({w.chkUploadToFtp->checkState() == Qt::Checked,
                                                               w.chkDeleteAfterForward->checkState() == Qt::Checked}) +
                                                            w.lblAddedOK->text()},
            {QStringLiteral("length fields, RecLengthMin, RecLengthMax"),
             join(limits) + QStringLiteral(" / %1,%2").arg(vm::config::RecLengthMin).arg(vm::config::RecLengthMax)},
            {QStringLiteral("statistics"), join({w.txtStats[0]->text(), w.txtStats[1]->text(), w.txtStats[2]->text()})},
            {QStringLiteral("MAPI, SMTP, SMTP fields and labels enabled"),
             flags({w.optEmailMechanism[1]->isChecked(), w.optEmailMechanism[2]->isChecked(),
                    w.txtSmtpMailHost->isEnabled(), w.txtSmtpEmailAddress->isEnabled(), w.lblSmtpDesc[0]->isEnabled(),
                    w.lblSmtpDesc[1]->isEnabled()})},
            {QStringLiteral("settings fields"), join(settings)},
            {QStringLiteral("message boxes"), join(shown)},
            {QStringLiteral("unanswered questions"), n(boxes.answers.size())},
            {QStringLiteral("played"), join(played_)},
            {QStringLiteral("help opened"), join(g_helpOpened)},
            {QStringLiteral("run-time errors"), join(errors_.errors)},
        };
        const View files = filesView();
        view.insert(view.end(), files.begin(), files.end());
        return view;
    }

    View expectedView() const
    {
        const SoakModel& m = M();
        const auto n = [](auto v) { return QString::number(static_cast<long long>(v)); };
        const bool smtp = m.smtp;
        QStringList table, boxRows, messageRows, shown;
        for (const Box& b : m.table)
            table << boxText(b);
        for (const auto& r : m.boxRows)
            boxRows << QStringList{r[0], r[1], r[2], QString()}.join(QLatin1Char(','));
        for (const MessageRow& r : m.messageRows)
            messageRows << QStringList(r.cells.begin(), r.cells.end()).join(QLatin1Char(',')) +
                               QStringLiteral(" icon ") + n(r.icon);
        for (const Shown& s : m.shown)
            shown << shownText(s.caption, s.question, s.text);
        const auto& on = m.enabled;
        View view = {
            {QStringLiteral("table"), join(table)},
            {QStringLiteral("mailbox list"), join(boxRows)},
            {QStringLiteral("mailbox list row, col, row sel, col sel"),
             QStringList{n(m.boxRow), n(m.boxCol), n(m.boxRowSel), n(m.boxColSel)}.join(QLatin1Char(','))},
            {QStringLiteral("message list"), join(messageRows)},
            {QStringLiteral("message list row, row sel, first column width"),
             QStringList{n(m.messageRow), n(m.messageRowSel), n(m.messageCol0Width)}.join(QLatin1Char(','))},
            {QStringLiteral("counts new, saved, boxes"),
             QStringList(m.countLabels.begin(), m.countLabels.end()).join(QLatin1Char(','))},
            {QStringLiteral("buttons RecIntro PlayIntro StopIntro DeleteVmb RecMsg PlayMsg StopMsg DeleteMsg"),
             flags({on[RecIntro], on[PlayIntro], on[StopIntro], on[DeleteVmb], on[RecMsg], on[PlayMsg], on[StopMsg],
                    on[DeleteMsg]})},
            {QStringLiteral("tab, sSelectedVmbId, iLastMsgRow, iCurVmbIdx"),
             QStringList{n(m.tab), m.selectedId, n(m.lastMessageRow), n(m.currentBoxIndex)}.join(QLatin1Char(','))},
            {QStringLiteral("box fields"), join(QStringList(m.boxFields.begin(), m.boxFields.end()))},
            {QStringLiteral("check boxes, lblAddedOK"), flags({m.checks[0] == 1, m.checks[1] == 1}) + m.addedOK},
            {QStringLiteral("length fields, RecLengthMin, RecLengthMax"),
             join(QStringList(m.limitFields.begin(), m.limitFields.end())) +
                 QStringLiteral(" / %1,%2").arg(m.recLengthMin).arg(m.recLengthMax)},
            {QStringLiteral("statistics"), join(QStringList(m.stats.begin(), m.stats.end()))},
            {QStringLiteral("MAPI, SMTP, SMTP fields and labels enabled"),
             flags({!smtp, smtp, smtp, smtp, smtp, smtp})},
            {QStringLiteral("settings fields"), join(QStringList(m.settings.begin(), m.settings.end()))},
            {QStringLiteral("message boxes"), join(shown)},
            {QStringLiteral("unanswered questions"), QStringLiteral("0")},
            {QStringLiteral("played"), join(m.played)},
            {QStringLiteral("help opened"), join(m.helpOpened)},
            {QStringLiteral("run-time errors"), join(m.errors)},
        };
        const View files = expectedFilesView();
        view.insert(view.end(), files.begin(), files.end());
        return view;
    }

    void check(const View& actual, const View& expected)
    {
        if (failed_)
            return;
        QStringList differences;
        for (std::size_t i = 0; i < actual.size(); ++i)
            if (actual[i].second != expected[i].second)
                differences << actual[i].first + QStringLiteral(":\n    ") + actual[i].second +
                                   QStringLiteral("\n  expected:\n    ") + expected[i].second;
        if (differences.isEmpty())
            return;
        failed_ = true;
        ADD_FAILURE() << "soak seed " << seed_ << ", session " << sessions_ << ", step " << step_ << ", after \""
                      << action_.toStdString() << "\"\nlast actions:\n  "
                      << QStringList(recent_.begin(), recent_.end()).join(QStringLiteral("\n  ")).toStdString()
                      << "\ndifferences:\n  " << differences.join(QStringLiteral("\n  ")).toStdString();
    }

    quint64 seed_ = envNumber("VM_SOAK_SEED", 1);
    std::mt19937_64 rng_{seed_};
    std::unique_ptr<SoakModel> model_;
    vm::test::ErrorsSeen errors_;
    QStringList played_;
    vm::sound::ScopedSoundPlayer player_{std::make_unique<vm::test::RecordingPlayer>(&played_)};
    QTemporaryDir recorder_;
    std::deque<std::function<void()>> pending_;
    std::deque<QString> recent_;
    std::map<QString, int> kinds_;  // actions done, by kind
    QString action_;
    quint64 step_ = 0;
    int sessions_ = 0;
    bool failed_ = false;
};

TEST_F(WindowSoak, RandomOperatorActionsKeepWindowFilesAndSettingsInStepWithTheModel)
{
    const quint64 steps = envNumber("VM_SOAK_STEPS", 1500);
    seedWorld();
    while (step_ < steps && !failed_) {
        if (!win)
            openSession();
        else
            chooseAndAct();
    }
    if (win && !failed_)
        closeSession(true);
    std::cout << "soak seed " << seed_ << ": " << step_ << " actions in " << sessions_ << " sessions";
    for (const auto& [kind, count] : kinds_)
        std::cout << (&kind == &kinds_.begin()->first ? ": " : ", ") << kind.toStdString() << ' ' << count;
    std::cout << '\n';
}

}  // namespace
