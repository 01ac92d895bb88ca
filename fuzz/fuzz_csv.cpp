// The CSV reader and the import on arbitrary bytes, against a small table.
// Whatever the file holds, reading ends without a crash; records read back
// to the same fields once written again; and every box the import would
// store comes back from the list file exactly as it goes in, obeys the
// store's rules (no control characters among them) and leaves the table's
// lookup consistent.
#include "FuzzSupport.h"

#include "mailbox/ListLineParser.h"
#include "mailbox/MailboxListFile.h"
#include "platform/RuntimeError.h"
#include "vmbox/CsvWriter.h"
#include "vmbox/ImportPlan.h"
#include "vmbox/SafeText.h"

#include <cstdlib>
#include <optional>

namespace {

using namespace vm;
using namespace vm::vmbox;

void check(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<CsvRecord> readAll(const QByteArray& bytes, std::optional<CsvEncoding> encoding)
{
    std::vector<CsvRecord> records;
    try {
        CsvReader reader(bytes, encoding);
        CsvRecord r;
        while (reader.next(r))
            records.push_back(r);
    } catch (const CsvError&) {
        records.clear();
    }
    return records;
}

void checkWriterAgrees(const std::vector<CsvRecord>& records)
{
    QString text;
    for (const CsvRecord& r : records)
        appendCsvRecord(text, r.fields);
    const std::vector<CsvRecord> again = readAll("\xEF\xBB\xBF" + text.toUtf8(), std::nullopt);
    check(again.size() == records.size());
    for (std::size_t i = 0; i < records.size(); ++i)
        check(again[i].fields == records[i].fields);
}

mailbox::MailboxTable smallTable()
{
    mailbox::MailboxTable t;
    t.resetToElementZero();
    for (const char* id : {"101", "102", "abc"}) {
        mailbox::VoicemailBox b;
        b.Id = QLatin1String(id);
        b.Pin = QStringLiteral("123456");
        b.Description = QStringLiteral(" x ");
        b.FtpUpload = 2;
        t.append(std::move(b));
    }
    return t;
}

bool digitsOnly(const QString& s)
{
    return std::all_of(s.begin(), s.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

void checkStored(const mailbox::VoicemailBox& box, bool added)
{
    QByteArray line = mailbox::mailboxLineBytes(box);
    line.chop(2);
    mailbox::VoicemailBox back;
    check(line.size() <= mailbox::kLongestListLine &&
          platform::ignoreErrors([&] { mailbox::parseListLine(line, back); }));
    back.SeenInFile = box.SeenInFile;
    check(back == box);
    if (!added)
        return;
    check(!box.Id.isEmpty() && digitsOnly(box.Id));
    check(!box.Pin.isEmpty() && box.Pin.size() <= 4 && digitsOnly(box.Pin));
    check(box.FtpUpload == 0 || box.FtpUpload == 1);
    check(box.DeleteAfterForward == 0 || box.DeleteAfterForward == 1);
    check(!box.Description.startsWith(u' ') && !box.Description.endsWith(u' '));
    for (const Column c : kAllColumns)
        check(isFlag(c) || firstControlCharacter(box.*textMember(c)) < 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::fuzzFolder();
    // The first byte chooses the encoding: recognised, windows-1252 or UTF-8.
    const int choice = size > 0 ? data[0] % 3 : 0;
    const std::optional<CsvEncoding> encoding = choice == 0 ? std::nullopt
                                                            : std::optional(choice == 1 ? CsvEncoding::Windows1252
                                                                                        : CsvEncoding::Utf8);
    const QByteArray bytes(reinterpret_cast<const char*>(data) + (size > 0), static_cast<qsizetype>(size - (size > 0)));

    checkWriterAgrees(readAll(bytes, encoding));

    mailbox::MailboxTable table = smallTable();
    const ImportPlan plan = planImport(table, bytes, encoding);
    if (!plan.problems.empty())
        return 0;
    for (const ImportRow& row : plan.additions)
        checkStored(row.edit.box, true);
    for (const ImportRow& row : plan.changes)
        checkStored(row.edit.box, false);
    applyImport(table, plan);
    const int n = table.upperBound();
    check(n == 3 + static_cast<int>(plan.additions.size()));
    for (int i = 1; i <= n; ++i)
        check(table.find(table.at(i).Id) == i);
    return 0;
}
