#include "Stats.h"

#include "CsvWriter.h"
#include "JsonText.h"
#include "MessageCommands.h"
#include "ParallelLines.h"
#include "Progress.h"
#include "SafeText.h"

#include "config/FreeDiskSpace.h"
#include "config/Paths.h"
#include "mailbox/MessageListing.h"
#include "mailbox/MessageQuery.h"
#include "platform/AppFolder.h"
#include "platform/ParallelFor.h"
#include "platform/VbNumbers.h"

#include <algorithm>
#include <array>
#include <limits>
#include <vector>

namespace vm::vmbox {

namespace {

struct Tally {
    QString box;
    std::int64_t fresh = 0;
    std::int64_t saved = 0;
    std::int64_t seconds = 0;
    std::int64_t oldest = std::numeric_limits<std::int64_t>::max();
    std::int64_t newest = std::numeric_limits<std::int64_t>::min();
    std::int64_t bytes = 0;

    void add(const mailbox::MessageInfo& m)
    {
        (m.isNew() ? fresh : saved) += 1;
        // Counted as the listing shows each length: whole seconds, halves to even.
        if (m.sound.complete)
            seconds += static_cast<std::int64_t>(platform::roundHalfEven(m.sound.seconds));
        oldest = std::min(oldest, m.seconds);
        newest = std::max(newest, m.seconds);
        bytes += m.bytes;
    }
    void add(const Tally& t)
    {
        fresh += t.fresh;
        saved += t.saved;
        seconds += t.seconds;
        oldest = std::min(oldest, t.oldest);
        newest = std::max(newest, t.newest);
        bytes += t.bytes;
    }
    QString date(std::int64_t at) const { return fresh + saved > 0 ? localTimeText(at) : QString(); }
};

// Boxes in the order every listing of messages gives them.
bool boxBefore(const Tally& a, const Tally& b) { return mailbox::compareNumbered(a.box, b.box) < 0; }

// The messages of each box: regular files whose names have a message's form.
std::vector<Tally> tallies(Tally& total)
{
    std::vector<Tally> runs;
    std::vector<mailbox::MessageInfo> messages = mailbox::listMessages(
        QString(), mailbox::LengthCache::fileFor(platform::appFolder()));
    // The listing goes by the names' bytes, so a box's messages come together:
    // a tally is begun where the box changes, rather than looked up for each
    // message (BM_VmboxStats), and tallies of one box are merged once sorted.
    for (const mailbox::MessageInfo& m : messages) {
        if (!m.parts || !m.notAFile.isEmpty())
            continue;
        if (runs.empty() || runs.back().box != m.box)
            runs.push_back({m.box});
        runs.back().add(m);
        total.add(m);
    }
    // Freed on every core rather than all at the end on one (BM_VmboxStats).
    platform::parallelFor(messages.size(), platform::workerThreads(), [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            messages[i] = {};
    });
    std::stable_sort(runs.begin(), runs.end(), boxBefore);
    std::vector<Tally> boxes;
    for (Tally& t : runs) {
        if (!boxes.empty() && boxes.back().box == t.box)
            boxes.back().add(t);
        else
            boxes.push_back(std::move(t));
    }
    return boxes;
}

enum Field { Box, New, Saved, Seconds, Oldest, Newest, Bytes, Free, kFields };
using Row = std::array<QString, kFields>;
const Row kHeader = {QStringLiteral("Box"),     QStringLiteral("New"),    QStringLiteral("Saved"),
                     QStringLiteral("Seconds"), QStringLiteral("Oldest"), QStringLiteral("Newest"),
                     QStringLiteral("Bytes"),   QStringLiteral("Free")};

Row rowOf(const Tally& t, bool human)
{
    const auto size = [&](std::int64_t bytes) { return human ? humanSize(bytes) : QString::number(bytes); };
    return {t.box,
            QString::number(t.fresh),
            QString::number(t.saved),
            QString::number(t.seconds),
            t.date(t.oldest),
            t.date(t.newest),
            size(t.bytes),
            QString()};
}

// A row a box, then the folder's totals with the space left. The dates and
// sizes are made on every core (BM_VmboxStats).
std::vector<Row> rowsOf(const std::vector<Tally>& boxes, const Tally& total, std::int64_t free, bool human)
{
    std::vector<Row> rows(boxes.size() + 1);
    platform::parallelFor(boxes.size(), platform::workerThreads(), [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            rows[i] = rowOf(boxes[i], human);
    });
    rows.back() = rowOf(total, human);
    rows.back()[Box] = QStringLiteral("total");
    rows.back()[Free] = human ? humanSize(free) : QString::number(free);
    return rows;
}

QByteArray asTable(std::vector<Row> rows)
{
    const Row header = {QStringLiteral("BOX"),     QStringLiteral("NEW"),    QStringLiteral("SAVED"),
                        QStringLiteral("SECONDS"), QStringLiteral("OLDEST"), QStringLiteral("NEWEST"),
                        QStringLiteral("SIZE"),    QStringLiteral("FREE")};
    std::array<qsizetype, kFields> width{};
    for (Row& r : rows) {
        r[Box] = withControlsEscaped(r[Box]);
        for (int f = 0; f < kFields; ++f)
            width[f] = std::max({width[f], r[f].size(), header[f].size()});
    }
    const auto line = [&](const Row& r) {
        QString text;
        for (int f = 0; f < kFields; ++f) {
            // Numbers stand to the right of their column, texts to the left.
            const bool number = f != Box && f != Oldest && f != Newest;
            text += number ? r[f].rightJustified(width[f]) : r[f].leftJustified(width[f]);
            text += QStringLiteral("  ");
        }
        while (text.endsWith(u' '))
            text.chop(1);
        return (text += u'\n').toUtf8();
    };
    return joinedLines(line(header), rows.size(), [&](std::size_t i) {
        QByteArray text = line(rows[i]);
        rows[i] = {};  // freed here, on every core
        return text;
    });
}

QByteArray asCsv(const std::vector<Row>& rows)
{
    QString text;
    appendCsvRecord(text, QStringList(kHeader.begin(), kHeader.end()));
    for (const Row& r : rows)
        appendCsvRecord(text, QStringList(r.begin(), r.end()));
    return text.toUtf8();
}

// The fields of `r` from `from` on; an empty date is null, an empty Free left out.
void appendObject(QString& text, const Row& r, int from)
{
    text += u'{';
    for (int f = from; f < kFields; ++f) {
        if (f == Free && r[f].isEmpty())
            continue;
        if (f > from)
            text += QStringLiteral(", ");
        appendJsonString(text, kHeader[f]);
        text += QStringLiteral(": ");
        if ((f == Oldest || f == Newest) && r[f].isEmpty())
            text += QStringLiteral("null");
        else if (f == Box || f == Oldest || f == Newest)
            appendJsonString(text, r[f]);
        else
            text += r[f];
    }
    text += u'}';
}

QByteArray asJson(const std::vector<Row>& rows)
{
    QString text = QStringLiteral("{\n\"boxes\": [");
    for (std::size_t i = 0; i + 1 < rows.size(); ++i) {
        text += i == 0 ? QStringLiteral("\n  ") : QStringLiteral(",\n  ");
        appendObject(text, rows[i], Box);
    }
    text += rows.size() == 1 ? QStringLiteral("],\n\"total\": ") : QStringLiteral("\n],\n\"total\": ");
    appendObject(text, rows.back(), New);  // the total has no box
    text += QStringLiteral("\n}\n");
    return text.toUtf8();
}

}  // namespace

QString humanSize(std::int64_t bytes)
{
    static const std::array<const char*, 6> units = {"KiB", "MiB", "GiB", "TiB", "PiB", "EiB"};
    if (bytes < 1024)
        return QStringLiteral("%1 B").arg(bytes);
    auto value = static_cast<double>(bytes) / 1024;
    std::size_t unit = 0;
    while (value >= 1024 && unit + 1 < units.size()) {
        value /= 1024;
        ++unit;
    }
    return QStringLiteral("%1 %2").arg(QString::number(value, 'f', 1), QLatin1String(units[unit]));
}

void showStats(const Invocation& inv, Streams& streams)
{
    QByteArray text;
    {
        const Progress progress(streams.err, inv.quiet, QStringLiteral("counting messages"));
        Tally total;
        const std::vector<Tally> boxes = tallies(total);
        const std::int64_t free = config::GetFreeDiskSpace(platform::appFolder());
        const bool human = inv.format == ListFormat::Table;
        switch (inv.format) {
            case ListFormat::Table: text = asTable(rowsOf(boxes, total, free, human)); break;
            case ListFormat::Csv: text = asCsv(rowsOf(boxes, total, free, human)); break;
            case ListFormat::Json: text = asJson(rowsOf(boxes, total, free, human)); break;
        }
    }
    streams.out.write(text);
}

}  // namespace vm::vmbox
