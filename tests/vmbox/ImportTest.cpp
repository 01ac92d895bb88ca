// The CSV import against a table: the reader's edge cases and the store's
// rules, each case a file and what the import makes of it.
#include "vmbox/ImportPlan.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

using namespace vm::vmbox;

vm::mailbox::MailboxTable tableWith101()
{
    vm::mailbox::MailboxTable table;
    table.resetToElementZero();
    vm::mailbox::VoicemailBox b;
    b.Id = QStringLiteral("101");
    b.Pin = QStringLiteral("11111");  // more digits than a typed PIN keeps
    b.Description = QStringLiteral(" old ");
    b.FtpUpload = 2;
    table.append(std::move(b));
    return table;
}

// "L:C" for each problem, else "add ID" / "change ID(Field,...)" for each row.
QString outcome(const ImportPlan& plan)
{
    QStringList parts;
    for (const ImportProblem& p : plan.problems)
        parts << QStringLiteral("%1:%2").arg(p.line).arg(p.column);
    if (!parts.isEmpty())
        return parts.join(u' ');
    for (const ImportRow& r : plan.additions)
        parts << QStringLiteral("add ") + r.edit.box.Id;
    for (const ImportRow& r : plan.changes) {
        QStringList names;
        for (const Column c : r.edit.changed)
            names << columnName(c);
        parts << QStringLiteral("change %1(%2)").arg(r.edit.box.Id, names.join(u','));
    }
    return parts.join(u' ');
}

// Its last byte is outside the data the reader is given.
const char kCutOff[] = "Id,Pin,Description\r\n102,1,caf\xC3\xA9";

}  // namespace

TEST(Import, CsvEdgeCasesAndStoreRules)
{
    const struct {
        const char* name;
        QByteArray csv;
        const char* outcome;
        const char* description = nullptr;  // of the first box added or changed, or in the first problem
        std::optional<CsvEncoding> encoding = std::nullopt;
    } cases[] = {
        {"doubled quotes and commas in a quoted value", "Id,Pin,Description\r\n102,1,\"say \"\"hi\"\", then\"\r\n",
         "add 102", "say \"hi\", then"},
        {"line ends in a quoted value are refused; later lines keep their numbers",
         "Id,Pin,Description\r\n102,1,\"two\r\nlines\"\r\n103,x,y\r\n", "2:3 4:2"},
        {"blank lines anywhere; LF and lone CR end lines too", "\r\nID,pin\r\n\r\n102,1\n\n103,2\r104,3",
         "add 102 add 103 add 104"},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBFId,Pin,Description\r\n102,1,Caf\xC3\xA9\r\n", "add 102", "Caf\u00e9"},
        {"malformed UTF-8 after a mark names its line; CR LF ends one line",
         "\xEF\xBB\xBFId,Pin\r\n102,1\r103,\xC0\xAF\r\n", "3:1"},
        {"a second byte-order mark is text", "\xEF\xBB\xBF\xEF\xBB\xBFId,Pin\r\n102,1\r\n", "1:1"},
        {"UTF-8 recognised without a mark", "Id,Pin,Description\n102,1,\xE2\x80\x9Cq\xE2\x80\x9D\n", "add 102",
         "\u201cq\u201d"},
        {"windows-1252", "Id,Pin,Description\r\n102,1,\x93q\x94 \xA0\r\n", "add 102", "\u201cq\u201d \u00a0"},
        {"windows-1252 whose bytes form UTF-8 reads as UTF-8", "Id,Pin,Description\r\n102,1,\xE9\xA0\x80\r\n", "2:3"},
        {"unless the encoding is given", "Id,Pin,Description\r\n102,1,\xE9\xA0\x80\r\n", "add 102",
         "\u00e9\u00a0\u20ac", CsvEncoding::Windows1252},
        {"a character cut off at the very end, whatever follows the data",
         QByteArray::fromRawData(kCutOff, sizeof kCutOff - 2), "add 102", "caf\u00c3"},
        {"a character windows-1252 lacks", "Id,Pin,Description\r\n102,1,ok\r\n103,1,\xCE\xA9\r\n", "3:3"},
        {"UTF-16 without a mark", QByteArrayLiteral("\0I\0d\0,\0P"), "1:1",
         "UTF-16 (big-endian, without a byte-order mark)"},
        {"UTF-32 is not UTF-16", QByteArrayLiteral("\xFF\xFE\0\0I\0\0\0"), "1:1",
         "UTF-32 (little-endian, with a byte-order mark)"},
        {"a control character in the header", QByteArrayLiteral("Id\0,Pin\r\n"), "1:1", "control character U+0000"},
        {"control characters in values, a tab aside",
         "Id,Pin,Description\r\n2,1,\"a\x1b[2J\"\r\n3,1,\x7f\r\n4,1,a\tb\r\n", "2:3 3:3"},
        {"Ids and PINs are digits as given, never filtered or cut", "Id,Pin\r\n1e3,1\r\n102,12345\r\n103,1 2\r\n",
         "2:1 3:2 4:2"},
        {"duplicate Id in one file, also with blanks around it", "Id,Pin\r\n105,1\r\n101,2\r\n 105 ,3\r\n", "4:1"},
        {"unknown column", "Id,Pin,Colour\r\n102,1,red\r\n", "1:3"},
        {"a column twice", "Id,Pin,pin\r\n", "1:3"},
        {"no Id column", "Pin\r\n1\r\n", "1:1"},
        {"missing columns keep stored values", "Groups,Id\r\n g ,101\r\n", "change 101(Groups)", " old "},
        {"values equal to the stored ones are kept as they are",
         "Id,Pin,Description,FtpUpload\r\n101,11111, old ,2\r\n", ""},
        {"changed values lose the blanks around them", "Id,Pin,Description\r\n101, 0123 , new \r\n",
         "change 101(Pin,Description)", "new"},
        {"a new box needs a PIN", "Id,Description\r\n102,x\r\n", "2:1"},
        {"an Id without digits, a PIN without digits, a flag that is no 0 or 1",
         "Id,Pin,FtpUpload\r\nabc,1,0\r\n102,-,1\r\n103,1,yes\r\n", "2:1 3:2 4:3"},
        {"rows with too few or too many values", "Id,Pin\r\n102\r\n103,1,x\r\n", "2:1 3:3"},
        {"quote never closed", "Id,Pin\r\n102,\"1\r\n", "2:2"},
        {"text after a closing quote", "Id,Pin\r\n102,\"1\"2\r\n", "2:2"},
        {"a value the list file would read back wrong", "Id,Pin,Description\r\n102,1,a<PagerNumber>b\r\n", "2:3"},
        {"header only", "Id,Pin\r\n", ""},
        {"empty file", "", "1:1"},
    };
    const vm::mailbox::MailboxTable table = tableWith101();
    for (const auto& c : cases) {
        const ImportPlan plan = planImport(table, c.csv, c.encoding);
        EXPECT_EQ(outcome(plan), QLatin1String(c.outcome)) << c.name;
        if (c.description && !plan.problems.empty())
            EXPECT_TRUE(plan.problems[0].what.contains(QLatin1String(c.description))) << c.name;
        else if (c.description) {
            const BoxEdit& edit = plan.additions.empty() ? plan.changes.front().edit : plan.additions.front().edit;
            EXPECT_EQ(edit.box.Description, QString::fromUtf8(c.description)) << c.name;
        }
    }
}

TEST(Import, TheLastFreeEntryIsTakenAndTheNextRefused)
{
    vm::mailbox::MailboxTable table;
    table.resetToElementZero();
    for (int i = 0; i < 32765; ++i)
        table.append();
    const ImportPlan plan = planImport(table, "Id,Pin\r\n1,1\r\n2,2\r\n3,3\r\n");
    EXPECT_EQ(outcome(plan), QStringLiteral("4:1"));
    ASSERT_EQ(plan.problems.size(), 1u);
    EXPECT_TRUE(plan.problems[0].what.contains(QStringLiteral("32768"))) << plan.problems[0].what.toStdString();
}
