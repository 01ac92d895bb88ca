#include "MailboxTestSupport.h"
#include "mailbox/FolderLoad.h"
#include "mailbox/LegacyImport.h"
#include "support/Digest.h"
#include "support/TempAppFolder.h"

#include <gtest/gtest.h>

using B = vm::mailbox::VoicemailBox;

namespace {

QByteArray quotedFields(int count, const QByteArray& prefix)
{
    QByteArrayList values;
    for (int f = 1; f <= count; ++f)
        values << '"' + prefix + QByteArray::number(f) + '"';
    return values.join(',') + "\r\n";
}

class LegacyImport : public ::testing::Test {
protected:
    void load(const QByteArray& legacy)
    {
        app.write("data/VmBoxList.txt", legacy);
        vm::mailbox::VmbLoadArray(table);
    }
    vm::test::TempAppFolder app;
    vm::mailbox::MailboxTable table;
};

}  // namespace

TEST(LegacyFieldReader, ReadsFieldsLikeTheClassicInputStatement)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"\"1\",\"2\",\"3\"\r\n", {"1", "2", "3"}},
        {"  \"a\" , b  ,c\r\n", {"a", "b", "c"}},
        {"\"a,b\",c", {"a,b", "c"}},
        {"\"x\"junk,y", {"x", "y"}},
        {"\"multi\r\nline\",z", {"multi\r\nline", "z"}},
        {"a,", {"a", ""}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\nb,c", {"a\nb", "c"}},  // a lone LF does not end a field
        {"\"open", {"open"}},
        {"", {}},
        {"   ", {}},
        {"\"\",\"\"\r\n", {"", ""}},
    };
    for (const auto& [text, expected] : cases) {
        vm::mailbox::LegacyFieldReader reader(QString::fromLatin1(text));
        QStringList fields;
        for (QString field; reader.read(field);)
            fields << field;
        EXPECT_EQ(fields, expected) << text;
    }
}

// The first line's "," count picks the fields of every record (3, 4, 5 or 7
// fields, else all eight); a record may run across lines. Every layout's
// table is pinned as a whole.
TEST_F(LegacyImport, FiveLayouts)
{
    QStringList tables;
    for (int firstLineFields = 1; firstLineFields <= 8; ++firstLineFields) {
        load(quotedFields(firstLineFields, "a") + quotedFields(8, "b") + quotedFields(8, "c"));
        for (int i = 1; i <= table.upperBound(); ++i) {
            const B& b = table.at(i);
            tables << QStringList{b.Id,           b.Pin,          b.Groups,      b.Description,
                                  b.EmailForward, b.PhoneForward, b.PagerNumber, b.PagerMessage}
                          .join(u'|');
        }
        tables << QString();
    }
    EXPECT_EQ(vm::test::digest(tables), "1a2d21cc624fd741") << tables.join(u'\n').toStdString();
    EXPECT_FALSE(app.exists("data/VmBoxList.txt"));
    EXPECT_FALSE(app.exists("data/VmBoxList.xml"));
}

TEST_F(LegacyImport, RecordsAcrossLinesRepeatedAndEmptyIds)
{
    load("");
    EXPECT_EQ(table.upperBound(), 0);
    EXPECT_FALSE(app.exists("data/VmBoxList.txt"));

    // 9 -> 1, "" -> 2, 10 -> 3 (Description from the next line), 9 again -> 1,
    // so only 1..1 is sorted; the partial last record is dropped.
    load("\"9\",\"p1\",\"d\"\r\n\"\",\"blank\",\"\"\r\n\"10\",\"p2\"\r\n\"e\"\r\n\"9\",\"p3\",\"\"\r\n\"11\",\"q\"");
    EXPECT_EQ(vm::test::column(table, &B::Id), (QStringList{"9", "", "10"}));
    EXPECT_EQ(vm::test::column(table, &B::Pin), (QStringList{"p3", "blank", "p2"}));
    EXPECT_EQ(vm::test::column(table, &B::Description), (QStringList{"", "", "e"}));
}
