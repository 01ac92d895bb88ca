// Soak of the Voicemail Manager window: thousands of seeded random operator
// actions on the real window (tabs, buttons, list rows, typing, closes and
// restarts) while the voice-response engine adds and removes files behind
// its back. Nothing here predicts what the window shows; after every
// action the soak checks what must hold between the window, the mailbox table
// and the files: the mailbox list shows the table once rebuilt; right after a
// selection the message list names exactly the box's files; icons follow the
// new-markers, counts the icons, buttons the selection; a deleted box takes
// its entry, row and greeting and nothing else; stored and loaded boxes are
// what the fields show; limits and mechanism agree with the INI file. Each
// start reads back the table and settings of the last close. Exact texts
// (dates, lengths, digit filter, clamping) belong to the focused tests.
//
// VM_SOAK_SEED (default 1) and VM_SOAK_STEPS (default 1500, the ctest run);
// DEVELOPERS.md gives a long run. A failure names the seed, the step, the
// last actions, every broken property and the message list.
#include "mailbox/BoxText.h"
#include "manager_window/WindowTestSupport.h"
#include "support/EnvironmentNumber.h"
#include "widgets/StatusImages.h"

#include "config/RegistryIni.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSet>
#include <QTabBar>

#include <deque>
#include <functional>
#include <iostream>
#include <optional>
#include <random>
#include <utility>

namespace {

using Table = QList<QStringList>;
using vm::manager_window::MsgAnswer;

// Typed texts: Latin-1 letters that windows-1252 shares, XML and INI specials.
const QString kFreeText = QStringLiteral(
    "abcdefghijklmnopqrstuvwxyz ABCXYZ 0123456789 <>&\"'/-_.,;=[]#!?\u00e9\u00fc\u00df\u00a3");
// The INI reader takes quotes off a value: none in settings.
const QString kIniText = QString(kFreeText).remove(u'"').remove(u'\'');

QString joined(const QStringList& cells) { return cells.join(QChar(0x1f)); }

// The table, each entry in the order of the fields txtNewVmb(0..8) and the two check boxes.
Table tableNow(const vm::mailbox::MailboxTable& table)
{
    Table t;
    for (int i = 1; i <= table.upperBound(); ++i) {
        const vm::mailbox::VoicemailBox& e = table.at(i);
        t << QStringList{e.Id, e.Pin, e.Description, e.EmailForward, e.PhoneForward, e.PagerNumber, e.PagerMessage} +
                 QStringList{e.Groups, e.OnReceive, QString::number(e.FtpUpload),
                             QString::number(e.DeleteAfterForward)};
    }
    return t;
}

// What the soak compares from one action to the next.
struct Snapshot {
    Table table;
    QStringList boxRows;      // the mailbox list, cells joined
    QStringList messageRows;  // the message list's file names (column 4)
    QSet<QString> messages, greetings;
    QStringList fields;  // the "Add / Modify" fields and check boxes
    int tab = 0;
    qsizetype shown = 0;
};

// What an action may do beyond what every action may.
struct Allowed {
    QSet<QString> messagesGone, greetingsGone;
    int questions = 0;
    bool boxDeleted = false;
};

class WindowSoak : public vm::test::WindowTest {
protected:
    using Check = std::function<void(const Snapshot& before, const Snapshot& after)>;

    void SetUp() override
    {
        vm::failsafe::resetState();
        overrides.replace(vm::failsafe::errorDialog(), &errors_);
    }
    void TearDown() override
    {
        win.reset();
        vm::failsafe::resetState();
    }
    bool on(const char* name, int index = -1) const { return button(name, index)->isEnabled(); }

    // --- random choices; one draw per statement, so their order is fixed ---
    int pick(qsizetype n) { return n <= 1 ? 0 : static_cast<int>(rng_() % static_cast<quint64>(n)); }
    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
    QString oneOf(const QStringList& texts) { return texts[pick(texts.size())]; }
    QString randomText(const QString& alphabet, int maxLength)
    {
        QString s;
        for (int n = pick(maxLength + 1); n > 0; --n)
            s += alphabet[pick(alphabet.size())];
        // No tag-like text: a comment holding "<Pin" or "</" reads back from the wrong place.
        for (qsizetype i = 0; i + 1 < s.size(); ++i)
            if (s[i] == u'<' && (s[i + 1].isLetter() || s[i + 1] == u'/'))
                s[i] = u'(';
        return s;
    }
    QString digits(int minLength, int maxLength)
    {
        QString s;
        for (int n = minLength + pick(maxLength - minLength + 1); n > 0; --n)
            s += QChar(u'0' + pick(10));
        return s;
    }
    QString someId() { return last_.table.isEmpty() ? digits(1, 4) : last_.table[pick(last_.table.size())][0]; }
    QString fieldText(int i)
    {
        if (i == 1)
            return chance(0.75) ? digits(1, 7) : oneOf({"x9", "", "12 34", " 0007 "});
        if (i > 0)
            return randomText(kFreeText, 16);
        if (chance(0.4))
            return someId();
        const QString id = oneOf({"1", "2", "7", "9", "10", "101", "1010", "12a", " 3-4 ", "abc", "", "0042"});
        return id + digits(0, 1);
    }

    // --- the world before the first session, and the engine behind the window's back ---
    void seedWorld()
    {
        folder.write("system/8pcm16m.wav", "RIFF template");
        QString ini = QStringLiteral("[PlayRecordConfig]\r\nRecEditor=/bin/true\r\n[Voicemail]\r\nRecLengthMin=%1\r\n")
                          .arg(1 + pick(30));
        ini += QStringLiteral("RecLengthMax=%1\r\n").arg(2 + pick(600));
        if (chance(0.7))
            ini += "ForwardEmailMechanism=" + oneOf({"SMTP", "smtp", "MAPI"}) + "\r\n";
        folder.write("QV.INI", ini.toLatin1());
        // Ids of which some begin others and letters in either case, in an unsorted list file.
        QStringList ids = {"1", "10", "101", "1010", "2", "7", "9", "A7", "b12", "C3", "20"};
        std::shuffle(ids.begin(), ids.end(), rng_);
        QByteArrayList lines;
        for (int n = 0, listed = pick(ids.size() + 1); n < listed; ++n) {
            const QString pin = digits(1, 4);
            const QString comment = randomText(kFreeText, 12).trimmed();
            lines << vm::test::mailboxLine(ids[n], pin, comment, pick(2));
        }
        if (!lines.isEmpty())
            folder.write("data/VmBoxList.xml", vm::test::mailboxFile(lines));
        for (int n = pick(12); n > 0; --n)
            messageArrives(oneOf(ids));
        for (int n = pick(5); n > 0; --n)
            greetingArrives(oneOf(ids));
        folder.write("data/VmSave/notes.txt", "not a message");
    }
    void messageArrives(const QString& id)
    {
        const QString stamp = digits(10, 10);
        const QString marker = oneOf({"1", "1", "0", "01", ""});
        const QString caller = oneOf({"5551234", "", "999"});
        const QString extension = chance(0.9) ? "wav" : "WAV";
        const qint64 size = pick(3000000);
        message(QStringLiteral("%1_%2_%3_4_%4.%5").arg(id, stamp, marker, caller, extension), size,
                QDateTime(QDate(2025, 3, 7), QTime(9, 0)).addSecs(pick(30000000)));
    }
    void greetingArrives(const QString& id) { folder.write("data/VmWelc/" + id + ".wav", "RIFF " + id.toLatin1()); }

    // --- what the window and the folders hold ---
    Snapshot snapshot() const
    {
        Snapshot s;
        s.table = tableNow(win->mailboxes());
        for (int r = 1; r < boxList()->rows(); ++r)
            s.boxRows << joined({boxList()->textMatrix(r, 0), boxList()->textMatrix(r, 1), boxList()->textMatrix(r, 2),
                                 boxList()->textMatrix(r, 3)});
        s.messageRows = listedFiles();
        const QStringList messages = QDir(folder.file("data/VmSave")).entryList(QDir::Files);
        const QStringList greetings = QDir(folder.file("data/VmWelc")).entryList(QDir::Files);
        s.messages = {messages.begin(), messages.end()};
        s.greetings = {greetings.begin(), greetings.end()};
        for (int i = 0; i < 9; ++i)
            s.fields << edit("txtNewVmb", i)->text();
        s.fields << QString::number(ui<QCheckBox>("chkUploadToFtp")->isChecked())
                 << QString::number(ui<QCheckBox>("chkDeleteAfterForward")->isChecked());
        s.tab = tabs()->tab();
        s.shown = static_cast<qsizetype>(boxes.shown.size());
        return s;
    }
    // Status icon of message row r: 0 new, 1 saved, -1 none, 9 another picture.
    int icon(int r) const
    {
        const auto& grid = *messageList();
        const auto picture = grid.model()->data(grid.model()->index(r - 1, 0), Qt::DecorationRole).value<QPixmap>();
        const QImage image = picture.toImage();
        return picture.isNull() ? -1 : image == newIcon_ ? 0 : image == savedIcon_ ? 1 : 9;
    }
    QStringList settingsShown() const
    {
        QStringList s;
        for (const char* name : {"txtEmailSubject", "txtSmtpMailHost", "txtSmtpEmailAddress", "txtFtpServer",
                                 "txtFtpDir", "txtFtpUser", "txtFtpPassword", "txtRunCommand"})
            s << edit(name)->text();
        return s << ui<QPlainTextEdit>("txtEmailBody")->toPlainText();
    }

    // --- checking ---
    void require(bool ok, const char* what)
    {
        if (!ok && !problems_.contains(QLatin1String(what)))
            problems_ << QString::fromLatin1(what);
    }
    void report()
    {
        if (problems_.isEmpty() || failed_)
            return;
        failed_ = true;
        ADD_FAILURE() << "soak seed " << seed_ << ", session " << sessions_ << ", step " << step_
                      << "\nlast actions:\n  " << QStringList(recent_.begin(), recent_.end()).join("\n  ").toStdString()
                      << "\nbroken:\n  " << problems_.join("\n  ").toStdString()
                      << "\nmessage list: " << last_.messageRows.join(" | ").toStdString();
    }

    // One operator (or engine) action, then the properties. `check` runs
    // first: it may note what the action changed for the lasting properties.
    void act(const QString& what, const std::function<void()>& doIt, const Check& check = {})
    {
        recent_.push_back(QString::number(step_) + ": " + what);
        if (recent_.size() > 40)
            recent_.pop_front();
        // Between two actions the window handles its pending events (layout, repaint), as on screen.
        QCoreApplication::processEvents();
        allowed_ = {};
        selections_ = 0;
        rebuilt_ = false;
        doIt();
        ++step_;
        const Snapshot before = std::exchange(last_, snapshot());
        if (check)
            check(before, last_);
        checkAlways(before, last_);
        report();
    }

    void checkAlways(const Snapshot& b, const Snapshot& a)
    {
        require((b.greetings - a.greetings - allowed_.greetingsGone).isEmpty(),
                "only deleting a box removes a greeting, and only its own");
        require((b.messages - a.messages - allowed_.messagesGone).isEmpty(),
                "only deleting messages removes message files, and only the selected ones");
        const auto asked = std::count_if(boxes.shown.begin() + b.shown, boxes.shown.end(), [](const auto& s) {
            return s.buttons == vm::manager_window::MsgButtons::YesNoCancel;
        });
        require(errors_.errors.isEmpty() && boxes.answers.empty() && asked == allowed_.questions,
                "no run-time error; a delete asks once, nothing else asks");

        // The mailbox list and its count are rebuilt on entering the first tab;
        // a deletion changes them with the table; any other change of the
        // table leaves them behind until the next rebuild.
        listFresh_ = rebuilt_ || (listFresh_ && (allowed_.boxDeleted || a.table == b.table));
        QStringList rows;
        for (const QStringList& e : a.table)
            rows << joined({e[0], e[1], e[2], QString()});
        require(
            !listFresh_ || (a.boxRows == rows && label("lblMsgCount", 2)->text() == QString::number(a.table.size())),
            "the mailbox list and its count show the table's entries in table order");

        if (selections_ > 0)
            checkSelection(a);
        // The soak names messages Id_stamp_marker_line_caller.wav (a recording made
        // without a box number has no Id and no marker); new means a marker of "1".
        for (int r = 1; r <= a.messageRows.size(); ++r) {
            const QStringList p = a.messageRows[r - 1].split(u'_');
            const bool named = p.size() == 5;
            require(a.messageRows[r - 1].isEmpty()
                        ? a.messageRows.size() == 1 && messageList()->textMatrix(1, 0) == "No Messages" && icon(1) == -1
                        : icon(r) == (named && p[2] == "1" ? 0 : 1) &&
                              messageList()->textMatrix(r, 3) == (named ? p[4].section(u'.', 0, 0) : QString()),
                    "a message row shows its file's caller and the icon of its new-marker; No Messages is alone");
        }
        // The message buttons work on listed messages; the greeting's and the box's come in pairs.
        const bool messages = a.messageRows.size() > 1 || !a.messageRows.value(0).isEmpty();
        require(on("cmdPlayMsg") == messages && on("cmdStopPlay", 1) == messages && on("cmdDeleteMsg") == messages &&
                    (on("cmdRecMsg") || !messages) && on("cmdPlayIntro") == on("cmdStopPlay", 0) &&
                    on("cmdRecIntro") == on("cmdDeleteVmb") && (on("cmdRecIntro") || !on("cmdPlayIntro")),
                "the message buttons follow the message rows, the greeting's and the box's go together");
        checkSettings();
    }

    void checkSelection(const Snapshot& a)
    {
        const QString id = boxList()->textMatrix(boxList()->row(), 0);
        QStringList files, listed = a.messageRows;
        for (const QString& name : a.messages)
            if (name.startsWith(id + u'_', Qt::CaseInsensitive) && name.endsWith(".wav", Qt::CaseInsensitive))
                files << name;
        listed.removeAll(QString());
        files.sort();
        listed.sort();
        require(listed == files && files.isEmpty() == (a.messageRows == QStringList{QString()}),
                "right after selecting a row the list names exactly its box's files, or says No Messages");
        int icons[2] = {0, 0};
        for (int r = 1; r <= a.messageRows.size(); ++r)
            if (const int i = icon(r); i == 0 || i == 1)
                ++icons[i];
        const auto count = [&](int i) { return files.isEmpty() ? QString() : QString::number(icons[i]); };
        require(label("lblMsgCount", 0)->text() == count(0) && label("lblMsgCount", 1)->text() == count(1),
                "the new and saved counts are the numbers of new and saved icons, blank without messages");
        selectedId_ = id;
        require(on("cmdRecIntro") && on("cmdRecMsg") && on("cmdPlayIntro") == a.greetings.contains(id + ".wav"),
                "a selection lets the box be recorded for, and its greeting be played when it has one");
    }

    void checkSettings()
    {
        const auto ini = [this](const char* key) {
            return vm::config::ReadIniString(folder.file("QV.INI"), "Voicemail", QLatin1String(key));
        };
        for (int i = 0; i < 2; ++i) {
            const QString limit = ini(i ? "RecLengthMax" : "RecLengthMin");
            const auto* field = edit("Text1", i);
            require(QApplication::focusWidget() == field ||
                        (field->text() == limit && limit.toInt() >= i + 1 && limit.toInt() <= (i ? 9999 : 30)),
                    "a length limit not being edited shows the value in range that the INI file holds");
        }
        const bool smtp = ui<QRadioButton>("optEmailMechanism", 2)->isChecked();
        require(smtp != ui<QRadioButton>("optEmailMechanism", 1)->isChecked() &&
                    ini("ForwardEmailMechanism") == (smtp ? "SMTP" : "MAPI") &&
                    edit("txtSmtpMailHost")->isEnabled() == smtp && edit("txtSmtpEmailAddress")->isEnabled() == smtp &&
                    label("lblSmtpDesc", 0)->isEnabled() == smtp && label("lblSmtpDesc", 1)->isEnabled() == smtp &&
                    edit("txtSmtpLoginName")->isEnabled(),
                "the mechanism chosen is the one in the INI file and switches the SMTP fields, not the login");
    }

    // --- sessions ---
    void openSession()
    {
        boxes.shown.clear();
        listAtOpen_ = folder.read("data/VmBoxList.xml");
        load();
        win->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(win.get()));
        QObject::connect(boxList(), &vm::widgets::FlexGrid::selChange, win.get(), [this] { ++selections_; });
        QObject::connect(tabs(), &vm::widgets::TabControl::click, win.get(),
                         [this](int previous) { rebuilt_ = rebuilt_ || (previous != 0 && tabs()->tab() == 0); });
        newIcon_ = vm::widgets::StatusImages().picture(0).toImage();
        savedIcon_ = vm::widgets::StatusImages().picture(1).toImage();
        ++sessions_;
        recent_.push_back("open the window");
        rebuilt_ = false;
        selectedId_.clear();
        listFresh_ = true;
        last_ = snapshot();
        allowed_ = {};
        selections_ = 0;
        checkAlways(last_, last_);

        require(last_.tab == 0 && messageList()->rows() == 1 && !on("cmdRecIntro") && !on("cmdRecMsg"),
                "the window opens on the first tab, no message listed, no box to record for");
        tableAtOpen_ = last_.table;
        require(!expectedTable_ || last_.table == *expectedTable_,
                "start-up reads back the table written at the last close");
        require(!expectedSettings_ || settingsShown() == *expectedSettings_,
                "start-up shows the settings as they were at the last close");
        report();
    }

    // Exit, or the close box (which moves no focus); then what the files must
    // hold for the next start.
    void closeSession(bool exitButton)
    {
        recent_.push_back(QString::number(step_++) + (exitButton ? ": Exit" : ": close"));
        expectedSettings_ = settingsShown();
        QCoreApplication::processEvents();
        if (exitButton)
            press(button("cmdVmCfgExit(2)"));
        else
            win->close();
        require(win->unloaded() && !win->isVisible() && errors_.errors.isEmpty(), "closing closes, without error");
        const Table closing = tableNow(win->mailboxes());
        const QByteArray written = folder.read("data/VmBoxList.xml");
        require(!closing.isEmpty() || written == listAtOpen_, "a table without boxes leaves the list file as it was");
        require(!listOurs_ || closing != tableAtOpen_ || written == listAtOpen_,
                "a session that changed no box writes the list file it read");
        listOurs_ = listOurs_ || !closing.isEmpty();
        expectedTable_ = closing.isEmpty() ? std::nullopt : std::optional<Table>(closing);
        report();
        win.reset();
    }

    // --- actions ---
    static void press(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2)); }

    // A click on the row, scrolled into view first as the operator would.
    void clickRow(vm::widgets::FlexGrid& grid, int row, Qt::MouseButton button = Qt::LeftButton,
                  Qt::KeyboardModifiers keys = {})
    {
        const QModelIndex index = grid.model()->index(row - 1, 1);
        grid.scrollTo(index);
        QCoreApplication::processEvents();
        QTest::mouseClick(grid.viewport(), button, keys, grid.visualRect(index).center());
    }

    // A click into the field, then select all and delete, or go to the end;
    // then the keys, a line break being the Return key.
    void type(QWidget* field, const QString& typed)
    {
        const bool replace = chance(0.75);
        act(QStringLiteral("type \"%1\" into %2").arg(QString(typed).replace(u'\n', "\\n"), field->objectName()), [&] {
            auto* body = qobject_cast<QPlainTextEdit*>(field);
            QTest::mouseClick(body ? body->viewport() : field, Qt::LeftButton, {}, QPoint(4, 6));
            QTest::keyClick(field, replace ? Qt::Key_A : Qt::Key_End,
                            replace || body ? Qt::ControlModifier : Qt::NoModifier);
            if (replace)
                QTest::keyClick(field, Qt::Key_Delete);
            for (const QChar c : typed) {
                if (c == u'\n')
                    QTest::keyClick(field, Qt::Key_Return);
                else if (c.unicode() < 0x80)
                    QTest::keyClick(field, c.toLatin1());
                else  // a Latin-1 letter's key code is its upper-case code point
                    QTest::sendKeyEvent(QTest::Click, field, Qt::Key(c.toUpper().unicode()), QString(c), {});
            }
        });
    }

    // The answer to a delete's question, queued only when the button works.
    bool confirmed(const QPushButton* button)
    {
        const bool yes = chance(0.6) && button->isEnabled();
        if (button->isEnabled()) {
            boxes.answers.push_back(yes ? MsgAnswer::Yes : MsgAnswer::No);
            allowed_.questions = 1;
        }
        recent_.back() += yes ? " (Yes)" : " (not done)";
        return yes;
    }

    void deleteBox()
    {
        const int r = boxList()->row();
        const QString greeting = boxList()->textMatrix(r, 0) + ".wav";
        const auto check = [&](const Snapshot& b, const Snapshot& a) {
            Table table = b.table;
            QStringList rows = b.boxRows;
            if (allowed_.boxDeleted) {
                table.removeAt(r - 1);
                rows.removeAt(r - 1);
            }
            require(a.table == table && a.boxRows == rows && !(allowed_.boxDeleted && a.greetings.contains(greeting)),
                    "a confirmed delete takes the current row's entry, row and greeting away, else nothing");
        };
        act(
            QStringLiteral("delete box row %1").arg(r),
            [&] {
                allowed_.boxDeleted = confirmed(button("cmdDeleteVmb")) && r >= 1;
                if (allowed_.boxDeleted)
                    allowed_.greetingsGone = {greeting};
                press(button("cmdDeleteVmb"));
            },
            check);
    }

    void deleteMessages()
    {
        const int first = std::min(messageList()->row(), messageList()->rowSel());
        const int last = std::max(messageList()->row(), messageList()->rowSel());
        const QStringList names = first < 1 ? QStringList() : last_.messageRows.mid(first - 1, last - first + 1);
        bool done = false;
        const auto check = [&](const Snapshot& b, const Snapshot& a) {
            QStringList rows = b.messageRows;
            if (done) {
                rows.remove(first - 1, names.size());
                if (rows.isEmpty())
                    rows = QStringList{QString()};
                const auto gone = std::count_if(names.begin(), names.end(), [&](const QString& n) {
                    return !b.messages.contains(n);  // the engine took it first
                });
                const auto reported = std::count_if(boxes.shown.begin() + b.shown, boxes.shown.end(),
                                                    [](const auto& s) { return s.text.startsWith("Could not"); });
                require(!a.messages.intersects(QSet<QString>(names.begin(), names.end())) && reported == gone,
                        "deleted messages leave the disk, and each one that cannot be deleted is reported once");
            }
            require(a.messageRows == rows, "a confirmed delete takes the selected rows out of the list, else nothing");
        };
        act(
            QStringLiteral("delete messages %1 to %2").arg(first).arg(last),
            [&] {
                done = confirmed(button("cmdDeleteMsg")) && first >= 1;
                if (done)
                    allowed_.messagesGone = QSet<QString>(names.begin(), names.end());
                press(button("cmdDeleteMsg"));
            },
            check);
    }

    // Modify loads the box last selected, if there is one; browsing opens
    // another entry of the table, or nothing.
    void openBox(QPushButton* button, bool modify)
    {
        const auto check = [this, modify](const Snapshot& b, const Snapshot& a) {
            const auto idx = modify ? vm::mailbox::VmbFind(win->mailboxes(), selectedId_)
                                    : a.table.indexOf(a.fields) + 1;
            require(idx > 0 ? a.fields == a.table[idx - 1] && (!modify || a.tab == 1) : a.fields == b.fields,
                    "Modify opens the selected box in the fields, browsing another entry; either does nothing "
                    "without a box there");
            if (idx > 0 && !modify)
                selectedId_ = a.table[idx - 1][0];
        };
        act(
            button->objectName(), [button] { press(button); }, check);
    }

    void store()
    {
        const auto check = [this](const Snapshot& b, const Snapshot& a) {
            if (a.shown > b.shown) {  // refused, and the outcome of the last store stays shown
                require(a.table == b.table && a.fields == b.fields, "a refused store changes nothing");
                return;
            }
            // The one entry the store wrote: every other entry stays as it was.
            Table written = a.table;
            for (const QStringList& e : b.table)
                written.removeOne(e);
            const bool sorted = std::is_sorted(a.table.begin(), a.table.end(), [](const auto& x, const auto& y) {
                return x[0].compare(y[0], Qt::CaseInsensitive) < 0;
            });
            const bool added = label("lblAddedOK")->text() == "Mailbox was added OK";
            require(a.fields == QStringList(9, QString()) + QStringList{"0", "0"} &&
                        (added || label("lblAddedOK")->text() == "Mailbox info changed OK"),
                    "a store empties the fields and tells whether it added or changed a box");
            require(added ? a.table.size() == b.table.size() + 1 && written.size() == 1 && sorted
                          : a.table.size() == b.table.size() && written.size() <= 1,
                    "an addition adds one entry in Id order, a change rewrites one, the others stay");
            const QStringList stored = written.value(0);
            if (stored.size() < 11)
                return;
            bool asTyped = stored[9] == b.fields[9] && stored[10] == b.fields[10];
            for (int i = 2; i < 9; ++i)
                asTyped = asTyped && stored[i] == b.fields[i].trimmed();
            require(asTyped && stored[0] == vm::mailbox::boxIdFromText(b.fields[0]) &&
                        stored[1] == vm::mailbox::boxPinFromText(b.fields[1]),
                    "a stored box holds the fields trimmed and the number and PIN the typed text gives");
        };
        act(
            "Add / Modify", [this] { press(button("cmdVmbAdd")); }, check);
    }

    // --- the next action, chosen by weight from what the operator sees ---
    void chooseAndAct()
    {
        if (!pending_.empty()) {
            const auto next = std::move(pending_.front());
            pending_.pop_front();
            return next();
        }
        std::vector<std::pair<int, std::function<void()>>> add;
        // Room for every action up front: GCC otherwise sees the first insert's
        // reallocation of an empty vector as a null dereference.
        add.reserve(32);
        add.emplace_back(6, [this] {
            const int t = chance(0.3) ? 0 : pick(5);  // the first tab has the most to do
            QTabBar* bar = tabs()->tabBar();
            act(QStringLiteral("tab %1").arg(t),
                [&] { QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(t).center()); });
        });
        if (chance(0.3))
            add.emplace_back(1, [this] { closeSession(chance(0.5)); });
        if (last_.messages.size() < 150)
            add.emplace_back(2, [this] {
                const QString id = someId();
                act("a message arrives for " + id, [&] { messageArrives(id); });
            });
        add.emplace_back(1, [this] {
            const QString id = someId();
            act("a greeting arrives for " + id, [&] { greetingArrives(id); });
        });
        if (!last_.messages.isEmpty())
            add.emplace_back(2, [this] {
                QStringList names = last_.messages.values();
                names.sort();  // a set's order differs from run to run
                const QString name = names[pick(names.size())];
                act("engine removes " + name, [&] {
                    allowed_.messagesGone = {name};
                    QFile::remove(folder.file("data/VmSave/" + name));
                });
            });
        const int boxRows = boxList()->rows() - 1;
        const int messageRows = messageList()->rows() - 1;
        switch (tabs()->tab()) {
            case 0:
                add.emplace_back(boxRows > 0 ? 12 : 0, [this, boxRows] {
                    const int r = 1 + pick(boxRows);
                    act(QStringLiteral("click box row %1").arg(r), [&] { clickRow(*boxList(), r); });
                });
                // Any button selects a message; a shift-click extends the selection for a delete.
                add.emplace_back(messageRows > 0 ? 12 : 0, [this, messageRows] {
                    const int r = 1 + pick(messageRows);
                    const int how = pick(4);
                    act(QStringLiteral("press message row %1 (%2)").arg(r).arg(how), [&] {
                        clickRow(*messageList(), r, how == 3 ? Qt::RightButton : Qt::LeftButton,
                                 how == 2 ? Qt::ShiftModifier : Qt::NoModifier);
                    });
                });
                add.emplace_back(3, [this] { openBox(button("cmdVmbModify"), true); });
                add.emplace_back(3, [this] { deleteBox(); });
                add.emplace_back(5, [this] { deleteMessages(); });
                // The new message shows at the next selection of its box.
                add.emplace_back(last_.messages.size() < 200 ? 3 : 0,
                                 [this] { act("record message", [this] { press(button("cmdRecMsg")); }); });
                break;
            case 1:
                add.emplace_back(10, [this] {
                    const int i = pick(9);
                    type(edit("txtNewVmb", i), fieldText(i));
                });
                add.emplace_back(3, [this] {
                    QWidget* check = chance(0.5) ? ui<QCheckBox>("chkUploadToFtp")
                                                 : ui<QCheckBox>("chkDeleteAfterForward");
                    act("toggle " + check->objectName(), [&] { press(check); });
                });
                add.emplace_back(4, [this] { store(); });
                add.emplace_back(4, [this] { openBox(button("cmdNext"), false); });
                add.emplace_back(3, [this] { openBox(button("cmdPrev"), false); });
                add.emplace_back(last_.table.size() < 40 ? 6 : 0, [this] {
                    for (int i = 0; i < 9; ++i)  // a whole addition or change, one action at a time
                        if (i < 2 || chance(0.3))
                            pending_.push_back([this, i] { type(edit("txtNewVmb", i), fieldText(i)); });
                    pending_.push_back([this] { store(); });
                });
                break;
            case 2:
                add.emplace_back(10, [this] {
                    const int i = pick(3);
                    const QString typed = chance(0.3) ? QString::number(pick(100000))
                                                      : oneOf({"", "0", "1", "2", "30", "31", "9999", "10000", "-5",
                                                               "2.5", "3.5", "abc", "12a", " 7 ", ".5"});
                    type(edit("Text1", i), typed);
                });
                break;
            default:
                for (QWidget* field : tabs()->tab() == 3
                                          ? QList<QWidget*>{edit("txtEmailSubject"), edit("txtSmtpMailHost"),
                                                            edit("txtSmtpEmailAddress"), edit("txtSmtpLoginName"),
                                                            ui<QPlainTextEdit>("txtEmailBody")}
                                          : QList<QWidget*>{edit("txtFtpServer"), edit("txtFtpDir"), edit("txtFtpUser"),
                                                            edit("txtFtpPassword"), edit("txtRunCommand")})
                    add.emplace_back(field->isEnabled() ? 2 : 0, [this, field] {
                        QString typed = randomText(kIniText, 16).trimmed();  // the INI reader trims values
                        if (field == ui<QPlainTextEdit>("txtEmailBody"))
                            typed += u'\n' + randomText(kFreeText, 20);
                        type(field, typed);
                    });
                add.emplace_back(tabs()->tab() == 3 ? 4 : 0, [this] {
                    QRadioButton* option = ui<QRadioButton>("optEmailMechanism", 1 + pick(2));
                    act("choose " + option->objectName(), [&] { QTest::mouseClick(option, Qt::LeftButton); });
                });
        }
        int at = 0;
        for (const auto& c : add)
            at += c.first;
        at = pick(at);
        for (const auto& c : add)
            if ((at -= c.first) < 0)
                return c.second();
    }

    quint64 seed_ = vm::test::environmentNumber("VM_SOAK_SEED", 1);
    std::mt19937_64 rng_{seed_};
    vm::test::ErrorsSeen errors_;

    // What the soak has seen: the last snapshot, and facts that outlast one action.
    Snapshot last_;
    Allowed allowed_;
    int selections_ = 0;
    bool rebuilt_ = false, listFresh_ = true;
    QString selectedId_;  // the box Modify opens: the last one selected or browsed to
    QImage newIcon_, savedIcon_;
    Table tableAtOpen_;
    QByteArray listAtOpen_;
    bool listOurs_ = false;  // the list file was written by a close of this soak
    std::optional<Table> expectedTable_;
    std::optional<QStringList> expectedSettings_;

    std::deque<std::function<void()>> pending_;
    std::deque<QString> recent_;
    QStringList problems_;
    quint64 step_ = 0;
    int sessions_ = 0;
    bool failed_ = false;
};

TEST_F(WindowSoak, RandomOperatorActionsKeepWindowTableAndFilesConsistent)
{
    const quint64 steps = vm::test::environmentNumber("VM_SOAK_STEPS", 1500);
    seedWorld();
    while (step_ < steps && !failed_)
        win ? chooseAndAct() : openSession();
    if (win && !failed_)
        closeSession(true);
    if (!failed_)
        openSession();  // the last close is read back too
    std::cout << "soak seed " << seed_ << ": " << step_ << " actions in " << sessions_ << " sessions\n";
}

}  // namespace
