#include "SoakModel.h"

#include <QLocale>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

namespace vm::soak {

namespace {

const QString kCaption = QStringLiteral("Quorvane Voicemail Manager");
const QString kAppTitle = QStringLiteral("RiVaVaz");

bool sameText(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

bool isWaveName(const QString& name)
{
    return !name.startsWith(QLatin1Char('.')) && name.endsWith(QStringLiteral(".wav"), Qt::CaseInsensitive);
}

std::array<QString, 9> fieldsOf(const Box& b)
{
    return {b.id,          b.pin,          b.description, b.emailForward, b.phoneForward,
            b.pagerNumber, b.pagerMessage, b.groups,      b.onReceive};
}

int iniNumber(const std::map<QString, QString>& keys, const QString& key, int fallback)
{
    const auto it = keys.find(key);
    const QString value = it == keys.end() ? QString() : iniReadBack(it->second);
    return value.isEmpty() ? fallback : value.toInt();
}

// The typed length limit as a whole number: blanks trimmed, four characters
// at most, a plain decimal number rounded half to even, else 0.
int limitValue(const QString& typed)
{
    const QString text = trimBlanks(trimBlanks(typed).left(4));  // blanks around a number are allowed
    static const QRegularExpression number(QStringLiteral("^[+-]?(\\d+\\.?\\d*|\\.\\d+)$"));
    if (!number.match(text).hasMatch())
        return 0;
    const double v = text.toDouble();
    const double whole = std::floor(v);
    const double rest = v - whole;
    if (rest > 0.5 || (rest == 0.5 && std::fmod(whole, 2.0) != 0.0))
        return static_cast<int>(whole) + 1;
    return static_cast<int>(whole);
}

}  // namespace

QString settingKey(Setting s)
{
    switch (s) {
        case Subject: return QStringLiteral("ForwardEmailSubject");
        case SmtpHost: return QStringLiteral("ForwardEmailSmtpServer");
        case SmtpAddress: return QStringLiteral("ForwardEmailSmtpEmailAddress");
        case FtpServer: return QStringLiteral("FtpServer");
        case FtpDir: return QStringLiteral("FtpDir");
        case FtpUser: return QStringLiteral("FtpUser");
        case FtpPassword: return QStringLiteral("FtpPassword");
        case RunCommand: return QStringLiteral("RunCommandAfterRec");
        default: return {};
    }
}

QString digitsOnly(const QString& text)
{
    QString digits;
    for (const QChar c : text)
        if (c.unicode() >= '0' && c.unicode() <= '9')
            digits += c;
    return digits;
}

QString trimBlanks(const QString& text)
{
    static const QRegularExpression ends(QStringLiteral("^ +| +$"));
    return QString(text).remove(ends);
}

QString lengthText(qint64 bytes)
{
    const qint64 seconds = (2 * bytes + 11025) / 22050;  // nearest whole second; never a half
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString dateText(const QDateTime& written)
{
    return QLocale::system().toString(written, QStringLiteral("MMM dd, HH:mm:ss"));
}

QString hoursText(int minutes)
{
    const int tenths = minutes / 6;
    return (tenths >= 10 ? QString::number(tenths / 10) : QString()) + QLatin1Char('.') + QString::number(tenths % 10);
}

void parseMessageName(const QString& name, QString& newMarker, QString& caller)
{
    // 1-based positions; 0 when not found, and the next search then starts at 1.
    const auto find = [&](QChar c, qsizetype from) {
        const qsizetype at = name.indexOf(c, from - 1);
        return at < 0 ? qsizetype(0) : at + 1;
    };
    const qsizetype p1 = find(QLatin1Char('_'), 1);
    const qsizetype p2 = find(QLatin1Char('_'), p1 + 1);
    const qsizetype p3 = find(QLatin1Char('_'), p2 + 1);
    newMarker = p3 > p2 ? name.mid(p2, p3 - p2 - 1) : QString();
    const qsizetype p4 = find(QLatin1Char('_'), p3 + 1);
    const qsizetype p5 = find(QLatin1Char('.'), p4 + 1);
    caller = p5 > p4 ? name.mid(p4, p5 - p4 - 1) : QString();
}

QString iniReadBack(const QString& raw)
{
    QString v = raw;
    while (!v.isEmpty() && (v.front() == QLatin1Char(' ') || v.front() == QLatin1Char('\t')))
        v.remove(0, 1);
    while (!v.isEmpty() && (v.back() == QLatin1Char(' ') || v.back() == QLatin1Char('\t')))
        v.chop(1);
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

bool idLess(const Box& a, const Box& b) { return a.id.compare(b.id, Qt::CaseInsensitive) < 0; }

QByteArray listFileBytes(std::vector<Box> boxes, bool sorted)
{
    if (sorted)
        std::stable_sort(boxes.begin(), boxes.end(), idLess);
    QString text = QStringLiteral("<?xml version=\"1.0\"?>\r\n<VoicemailBoxes>\r\n");
    const auto element = [](const char* tag, const QString& value) {
        return QStringLiteral("<%1>%2</%1>").arg(QLatin1String(tag), value);
    };
    for (const Box& b : boxes) {
        text += QStringLiteral("<VoicemailBox Id=\"") + b.id + QStringLiteral("\">") + element("Pin", b.pin) +
                element("Groups", b.groups) + element("Description", b.description) +
                element("EmailForward", b.emailForward) + element("PhoneForward", b.phoneForward) +
                element("PagerNumber", b.pagerNumber) + element("PagerMessage", b.pagerMessage) +
                element("OnReceive", b.onReceive) + element("FtpUpload", QString::number(b.ftpUpload)) +
                element("DeleteAfterForward", QString::number(b.deleteAfterForward)) +
                QStringLiteral("</VoicemailBox>\r\n");
    }
    text += QStringLiteral("</VoicemailBoxes>\r\n");
    return text.toLatin1();  // the soak types only characters that windows-1252 and Latin-1 share
}

SoakModel::SoakModel(const QString& folder) : appFolder(folder) {}

QString SoakModel::messagePath(const QString& name) const { return appFolder + QStringLiteral("/data/VmSave/") + name; }
QString SoakModel::greetingPath(const QString& name) const
{
    return appFolder + QStringLiteral("/data/VmWelc/") + name;
}

// --- sessions ---

void SoakModel::openWindow()
{
    tab = 0;
    table.clear();
    if (!legacyRecords.empty())
        merge(legacyRecords, true);
    legacyRecords.clear();
    if (!listFile.isEmpty()) {
        std::vector<Box> records;  // the reader passes over records without an Id
        std::copy_if(listRecords.begin(), listRecords.end(), std::back_inserter(records),
                     [](const Box& b) { return !b.id.isEmpty(); });
        merge(records, false);
    }
    rebuildBoxList();
    countLabels[0] = countLabels[1] = QStringLiteral("0");
    messageRows.clear();
    messageRow = messageRowSel = 0;
    messageCol0Width = 360;
    enabled.fill(false);
    selectedId.clear();
    lastMessageRow = 0;
    currentBoxIndex = 0;
    boxFields = {};
    checks = {};
    addedOK.clear();
    recLengthMin = iniNumber(iniKeys, QStringLiteral("RecLengthMin"), 2);
    recLengthMax = iniNumber(iniKeys, QStringLiteral("RecLengthMax"), 300);
    limitFields = {QString::number(recLengthMin), QString::number(recLengthMax), QStringLiteral("60")};
    for (int s = 0; s < kSettings; ++s) {
        const QString key = settingKey(Setting(s));
        settings[s] = key.isEmpty() || !iniKeys.count(key) ? QString() : iniReadBack(iniKeys.at(key));
    }
    if (!bodyFile.isEmpty()) {
        QString body = QString::fromLatin1(bodyFile);
        if (body.endsWith(QStringLiteral("\r\n")))
            body.chop(2);
        settings[Body] = body.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    }
    const QString mechanism = QStringLiteral("ForwardEmailMechanism");
    smtp = iniKeys.count(mechanism) && iniReadBack(iniKeys.at(mechanism)) == QStringLiteral("SMTP");
    iniKeys[mechanism] = smtp ? QStringLiteral("SMTP") : QStringLiteral("MAPI");
    stats = statistics();
    played.clear();
    recorded.clear();
    helpOpened.clear();
    errors.clear();
    shown.clear();
}

void SoakModel::closeWindow()
{
    if (!table.empty()) {
        listRecords = table;
        std::stable_sort(listRecords.begin(), listRecords.end(), idLess);
        listFile = listFileBytes(table);
    }
    bodyFile = (QString(settings[Body]).replace(QLatin1Char('\n'), QStringLiteral("\r\n")) + QStringLiteral("\r\n"))
                   .toLatin1();
    for (int s = 0; s < kSettings; ++s) {
        const QString key = settingKey(Setting(s));
        if (!key.isEmpty())
            iniKeys[key] = settings[s];
    }
}

// Records update the box of the same Id (or a new one at the end); boxes the
// records do not name lose their greeting and become blank; then entries 1
// to the one the last record went to are sorted.
void SoakModel::merge(const std::vector<Box>& records, bool legacy)
{
    std::vector<bool> seen(table.size(), false);
    std::size_t last = 0;
    for (const Box& r : records) {
        auto it = std::find_if(table.begin(), table.end(), [&](const Box& e) { return sameText(e.id, r.id); });
        if (it == table.end()) {
            table.push_back(Box());
            seen.push_back(false);
            it = table.end() - 1;
        }
        Box& e = *it;
        if (legacy) {  // the legacy list has no command line and no flags
            const Box kept = e;
            e = r;
            e.onReceive = kept.onReceive;
            e.ftpUpload = kept.ftpUpload;
            e.deleteAfterForward = kept.deleteAfterForward;
        } else {
            e = r;
        }
        last = static_cast<std::size_t>(it - table.begin()) + 1;
        seen[last - 1] = true;
    }
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (!seen[i]) {
            greetings.erase(table[i].id + QStringLiteral(".wav"));
            table[i] = Box();
        }
    }
    std::stable_sort(table.begin(), table.begin() + static_cast<std::ptrdiff_t>(last), idLess);
}

std::array<QString, 3> SoakModel::statistics() const
{
    int newCount = 0, savedCount = 0;
    qint64 seconds = 0;
    for (const auto& [name, file] : messages) {
        if (!isWaveName(name))
            continue;
        seconds += (2 * file.size + 11025) / 22050;
        QString marker, caller;
        parseMessageName(name, marker, caller);
        ++(marker == QStringLiteral("1") ? newCount : savedCount);
    }
    const qint64 rest = seconds % 60;
    qint64 minutes = seconds / 60;
    if (rest > 30 || (rest == 30 && minutes % 2 == 1))
        ++minutes;
    return {QString::number(newCount), QString::number(savedCount), hoursText(static_cast<int>(minutes))};
}

// --- focus ---

void SoakModel::limitFieldLeft(int index)
{
    if (index > 1)
        return;
    const int value = std::clamp(limitValue(limitFields[index]), index == 0 ? 1 : 2, index == 0 ? 30 : 9999);
    (index == 0 ? recLengthMin : recLengthMax) = value;
    limitFields[index] = QString::number(value);
    iniKeys[index == 0 ? QStringLiteral("RecLengthMin") : QStringLiteral("RecLengthMax")] = limitFields[index];
}

void SoakModel::boxFieldEntered() { addedOK.clear(); }

// --- the mailbox and message lists ---

void SoakModel::clickTab(int index)
{
    if (index == tab)
        return;
    tab = index;
    addedOK.clear();
    if (index == 0)
        rebuildBoxList();
}

void SoakModel::rebuildBoxList()
{
    countLabels[2] = QString::number(table.size());
    boxRows.clear();
    for (const Box& b : table)
        boxRows.push_back({b.id, b.pin, b.description});
    boxRow = boxRowSel = 0;
    boxCol = boxColSel = 3;
}

void SoakModel::clickBoxRow(int row, bool extend)
{
    const std::array<int, 4> before = {boxRow, boxCol, boxRowSel, boxColSel};
    extend = extend && boxRow >= 1;  // nothing to grow from with the heading row current
    boxRowSel = row;
    boxColSel = 3;  // the whole row
    if (!extend) {
        boxRow = row;
        boxCol = 0;
    }
    if (before != std::array<int, 4>{boxRow, boxCol, boxRowSel, boxColSel})
        selectBox();  // only a changed selection raises the event
}

int SoakModel::keyTarget(int key, int from, int last)
{
    from = from >= 1 ? from : 1;
    return key == Qt::Key_Up     ? std::max(1, from - 1)
           : key == Qt::Key_Down ? std::min(last, from + 1)
           : key == Qt::Key_Home ? 1
                                 : last;
}

void SoakModel::boxListKey(int key, bool extend)
{
    if (!boxRows.empty())
        clickBoxRow(keyTarget(key, boxRowSel, static_cast<int>(boxRows.size())), extend);
}

void SoakModel::messageListKey(int key, bool extend)
{
    if (messageRows.empty())
        return;
    messageRowSel = keyTarget(key, messageRowSel, static_cast<int>(messageRows.size()));
    if (!extend || messageRow < 1)
        messageRow = messageRowSel;
}

void SoakModel::doubleClickBoxRow(int row)
{
    clickBoxRow(row);
    clickModify();
}

void SoakModel::selectBox()
{
    // The operator always selects a data row; anything else shows as a difference.
    const QString id = boxRow >= 1 ? boxRows[static_cast<std::size_t>(boxRow - 1)][0] : QStringLiteral("(heading row)");
    messageRows.clear();
    countLabels[0] = countLabels[1] = QString();
    enabled[RecIntro] = enabled[PlayIntro] = enabled[StopIntro] = enabled[DeleteVmb] = true;
    if (!greetingExists(id + QStringLiteral(".wav")))
        enabled[PlayIntro] = enabled[StopIntro] = false;
    selectedId = id;
    lastMessageRow = -1;

    const QString prefix = id + QLatin1Char('_');
    int newCount = 0, savedCount = 0;
    for (const auto& [name, file] : messages) {
        if (!isWaveName(name) || !name.startsWith(prefix, Qt::CaseInsensitive) || name.size() < prefix.size() + 4)
            continue;
        QString marker, caller;
        parseMessageName(name, marker, caller);
        const bool isNew = marker == QStringLiteral("1");
        ++(isNew ? newCount : savedCount);
        messageRows.push_back(
            {{QString(), dateText(file.written), lengthText(file.size), caller, name}, isNew ? 0 : 1});
    }
    std::stable_sort(messageRows.begin(), messageRows.end(), [](const MessageRow& a, const MessageRow& b) {
        return a.cells[4].compare(b.cells[4], Qt::CaseInsensitive) < 0;
    });
    if (messageRows.empty()) {
        messageRows.push_back({{QStringLiteral("No Messages"), QString(), QString(), QString(), QString()}, -1});
        messageCol0Width = 10000;
        setMessageButtons(false);
        enabled[RecMsg] = true;
        messageRow = messageRowSel = 0;
    } else {
        messageCol0Width = 360;
        setMessageButtons(true);
        countLabels[0] = QString::number(newCount);
        countLabels[1] = QString::number(savedCount);
        messageRow = messageRowSel = 1;
    }
}

void SoakModel::setMessageButtons(bool on)
{
    enabled[RecMsg] = enabled[PlayMsg] = enabled[StopMsg] = enabled[DeleteMsg] = on;
}

QString SoakModel::messageFileAt(int row) const
{
    return row >= 1 && row <= static_cast<int>(messageRows.size())
               ? messageRows[static_cast<std::size_t>(row - 1)].cells[4]
               : QString();
}

QString SoakModel::boxCell0(int row) const
{
    return row == 0 ? QStringLiteral("ID") : boxRows[static_cast<std::size_t>(row - 1)][0];
}

void SoakModel::pressMessageRow(int row, bool extend)
{
    messageRowSel = row;
    if (!extend || messageRow < 1)
        messageRow = row;
    if (lastMessageRow == messageRow)
        return;
    // Restoring the previous row's icon moves the current cell there and back.
    if (lastMessageRow > 0 && !messageFileAt(lastMessageRow).isEmpty())
        messageRowSel = messageRow;
    if (messageFileAt(messageRow).isEmpty())
        return;
    messageRowSel = messageRow;
    lastMessageRow = messageRow;
    setMessageButtons(true);
}

void SoakModel::dragMessagesTo(int row) { messageRowSel = row; }

// --- the sound and delete buttons of the first tab ---

bool SoakModel::fileExists(const std::map<QString, MessageFile>& files, const QString& name) const
{
    return !name.isEmpty() && !name.startsWith(QLatin1Char('.')) && files.count(name);
}

bool SoakModel::greetingExists(const QString& name) const
{
    return !name.startsWith(QLatin1Char('.')) && greetings.count(name);
}

QString SoakModel::recordedMessageName(const QString& stamp) const
{
    const QString id = digitsOnly(boxCell0(boxRow));
    return id.isEmpty() ? stamp + QStringLiteral("_1000_999.wav")
                        : id + QLatin1Char('_') + stamp + QStringLiteral("_1_1000_999.wav");
}

void SoakModel::clickButton(Button b, Answer answer, const QString& recordedName)
{
    if (!enabled[b])
        return;
    const QString boxNumber = digitsOnly(boxCell0(boxRow));
    switch (b) {
        case RecIntro: {
            const QString name = boxNumber + QStringLiteral(".wav");
            if (!greetingExists(name)) {
                if (!templatePresent) {
                    errors << QStringLiteral("53 in Sub cmdRecIntro_Click");  // file not found
                    break;
                }
                greetings[name] = templateBytes;
            }
            recorded << greetingPath(name);
            break;
        }
        case PlayIntro:
            if (greetingExists(boxNumber + QStringLiteral(".wav")))
                played << greetingPath(boxNumber + QStringLiteral(".wav"));
            else
                shown.push_back(
                    {QStringLiteral("No welcome message recorded for mailbox ") + boxNumber, false, kAppTitle});
            break;
        case StopIntro:
        case StopMsg: played << appFolder + QStringLiteral("/system/VeryShort.wav"); break;
        case DeleteVmb: removeBox(answer); break;
        case RecMsg:
            if (!templatePresent) {
                errors << QStringLiteral("53 in Sub cmdRecMsg_Click");
                break;
            }
            messages[recordedName] = {templateBytes.size(), QDateTime(), false};
            recorded << messagePath(recordedName);
            break;
        case PlayMsg: {
            const QString file = messageFileAt(messageRow);
            if (fileExists(messages, file))
                played << messagePath(file);
            else
                shown.push_back({QStringLiteral("Message could not be found ") + file, false, kAppTitle});
            break;
        }
        case DeleteMsg: deleteMessages(answer); break;
        default: break;
    }
}

void SoakModel::removeBox(Answer answer)
{
    const int r = boxRow;
    const QString t = r >= 1 ? boxRows[static_cast<std::size_t>(r - 1)][0] : QString();
    shown.push_back(
        {QStringLiteral("Are you sure you want to delete mailbox ") + t + QStringLiteral(" ?"), true, kCaption});
    if (answer != Answer::Yes)
        return;
    if (r < 1)
        return;  // the heading row names no box
    greetings.erase(t + QStringLiteral(".wav"));
    if (boxRows.size() >= 2) {
        boxRows.erase(boxRows.begin() + (r - 1));
        boxRow = std::min(boxRow, static_cast<int>(boxRows.size()));
        boxRowSel = std::min(boxRowSel, static_cast<int>(boxRows.size()));
    } else {
        boxRows.clear();
        boxRow = boxRowSel = 0;
    }
    table.erase(table.begin() + (r - 1));
    countLabels[2] = QString::number(table.size());
}

void SoakModel::deleteMessages(Answer answer)
{
    const int first = std::min(messageRow, messageRowSel);
    const int last = std::max(messageRow, messageRowSel);
    shown.push_back({first == last ? QStringLiteral("Are you sure you want to delete this message ?")
                                   : QStringLiteral("Are you sure you want to delete these messages ?"),
                     true, kCaption});
    if (answer != Answer::Yes)
        return;
    for (int pass = first; pass <= last; ++pass) {
        const QString file = messageFileAt(first);
        if (messageRows.size() > 1) {
            messageRows.erase(messageRows.begin() + (first - 1));
            messageRow = std::min(first, static_cast<int>(messageRows.size()));
        } else {
            messageRows[0] = {{QStringLiteral("No Messages"), QString(), QString(), QString(), QString()}, -1};
            messageCol0Width = 10000;
            messageRow = 0;
            setMessageButtons(false);
        }
        const auto it = messages.find(file);
        if (it != messages.end() && !it->second.readOnly)
            messages.erase(it);
        else
            shown.push_back({QStringLiteral("Could not delete voicemail message.\r\n"
                                            "Please check that the file is not used by any other application"),
                             false, kCaption});
    }
    messageRowSel = messageRow;
}

// --- mailbox editing ---

void SoakModel::setBoxFields(const std::array<QString, 9>& texts)
{
    for (std::size_t i = 0; i < texts.size(); ++i) {
        if (boxFields[i] != texts[i]) {
            boxFields[i] = texts[i];
            addedOK.clear();
        }
    }
}

void SoakModel::loadBox(int index)
{
    const Box& b = table[static_cast<std::size_t>(index - 1)];
    setBoxFields(fieldsOf(b));
    checks = {b.ftpUpload, b.deleteAfterForward};
    clickTab(1);
    currentBoxIndex = index;
}

void SoakModel::clickModify()
{
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (sameText(table[i].id, selectedId)) {
            loadBox(static_cast<int>(i + 1));
            return;
        }
    }
}

void SoakModel::clickAdd()
{
    const QString id = digitsOnly(boxFields[0]);
    const QString pin = digitsOnly(boxFields[1]).left(4);
    if (id.isEmpty()) {
        shown.push_back({QStringLiteral("Please specify the Voicemail Box number."), false, kAppTitle});
        return;
    }
    if (pin.isEmpty()) {
        shown.push_back({QStringLiteral("Please specify the Voicemail Box's PIN number."), false, kCaption});
        return;
    }
    const Box b{id,
                pin,
                trimBlanks(boxFields[2]),
                trimBlanks(boxFields[7]),
                trimBlanks(boxFields[3]),
                trimBlanks(boxFields[4]),
                trimBlanks(boxFields[5]),
                trimBlanks(boxFields[6]),
                trimBlanks(boxFields[8]),
                checks[0],
                checks[1]};
    const auto found = std::find_if(table.begin(), table.end(), [&](const Box& e) { return sameText(e.id, id); });
    const bool addition = found == table.end();
    if (addition)
        table.push_back(b);
    else
        *found = b;
    setBoxFields({});
    checks = {};
    if (addition)
        std::stable_sort(table.begin(), table.end(), idLess);
    addedOK = addition ? QStringLiteral("Mailbox was added OK") : QStringLiteral("Mailbox info changed OK");
}

void SoakModel::clickNext()
{
    const int k = currentBoxIndex + 1;
    if (k >= 1 && k <= static_cast<int>(table.size()) && !table[static_cast<std::size_t>(k - 1)].id.isEmpty()) {
        selectedId = table[static_cast<std::size_t>(k - 1)].id;
        clickModify();
    }
}

void SoakModel::clickPrev()
{
    const int k = currentBoxIndex - 1;
    if (k >= 1 && k <= static_cast<int>(table.size()) && !table[static_cast<std::size_t>(k - 1)].id.isEmpty()) {
        selectedId = table[static_cast<std::size_t>(k - 1)].id;
        clickModify();
    }
}

void SoakModel::typeBoxField(int index, const QString& text, bool replace)
{
    QString& field = boxFields[static_cast<std::size_t>(index)];
    if ((replace && !field.isEmpty()) || !text.isEmpty())
        addedOK.clear();
    field = replace ? text : field + text;
}

void SoakModel::toggleCheck(int index) { checks[static_cast<std::size_t>(index)] ^= 1; }

// --- settings ---

void SoakModel::typeLimit(int index, const QString& text, bool replace)
{
    QString& field = limitFields[static_cast<std::size_t>(index)];
    field = replace ? text : field + text;
}

void SoakModel::typeSetting(Setting s, const QString& text, bool replace)
{
    settings[s] = replace ? text : settings[s] + text;
}

void SoakModel::clickMechanism(bool smtpOption)
{
    if (smtp == smtpOption)
        return;
    smtp = smtpOption;
    iniKeys[QStringLiteral("ForwardEmailMechanism")] = smtp ? QStringLiteral("SMTP") : QStringLiteral("MAPI");
}

void SoakModel::clickHelp()
{
    if (helpFilePresent)
        helpOpened << appFolder + QStringLiteral("/qv.chm");
}

// --- the disk behind the window's back ---

void SoakModel::messageArrives(const QString& name, qint64 size, const QDateTime& written)
{
    messages[name] = {size, written, false};
}

void SoakModel::messageVanishes(const QString& name) { messages.erase(name); }

void SoakModel::messageLocked(const QString& name) { messages[name].readOnly = true; }

void SoakModel::greetingArrives(const QString& name, const QByteArray& bytes) { greetings[name] = bytes; }

}  // namespace vm::soak
