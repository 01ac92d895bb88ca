#include "MailboxTestSupport.h"
#include "mailbox/LegacyImport.h"
#include "mailbox/VmailLib.h"
#include "support/TempAppFolder.h"

#include <gtest/gtest.h>

using B = vm::VoicemailBox;

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
        vm::VmbLoadArray();
    }
    vm::test::TempAppFolder app;
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
        vm::LegacyFieldReader reader(QString::fromLatin1(text));
        QStringList fields;
        for (QString field; reader.read(field);)
            fields << field;
        EXPECT_EQ(fields, expected) << text;
    }
}

// The first line's "," count picks the fields of every record; a first
// record shorter than its layout takes the rest from the next line.
TEST_F(LegacyImport, FiveLayouts)
{
    const std::vector<QString B::*> eight = {&B::Id,           &B::Pin,          &B::Groups,      &B::Description,
                                             &B::EmailForward, &B::PhoneForward, &B::PagerNumber, &B::PagerMessage};
    const std::pair<int, std::vector<QString B::*>> cases[] = {
        {3, {&B::Id, &B::Pin, &B::Description}},
        {4, {&B::Id, &B::Pin, &B::Description, &B::EmailForward}},
        {5, {&B::Id, &B::Pin, &B::Description, &B::EmailForward, &B::PhoneForward}},
        {7, {&B::Id, &B::Pin, &B::Description, &B::EmailForward, &B::PhoneForward, &B::PagerNumber, &B::PagerMessage}},
        {1, eight},
        {2, eight},
        {6, eight},
        {8, eight},
    };
    for (const auto& [firstLineFields, fields] : cases) {
        const int n = static_cast<int>(fields.size());
        QByteArray text = quotedFields(firstLineFields, "a");
        if (firstLineFields < n)
            text += quotedFields(n - firstLineFields, "x");
        load(text + quotedFields(n, "b"));
        ASSERT_EQ(vm::VmbArray().upperBound(), 2) << firstLineFields;
        B expected;
        for (int f = 0; f < n; ++f)
            expected.*fields[static_cast<std::size_t>(f)] = QStringLiteral("b") + QString::number(f + 1);
        expected.SeenInFile = 1;
        EXPECT_EQ(vm::VmbArray().at(2), expected) << firstLineFields;
        EXPECT_FALSE(app.exists("data/VmBoxList.txt"));
        EXPECT_FALSE(app.exists("data/VmBoxList.xml"));
    }
}

TEST_F(LegacyImport, RecordsAcrossLinesRepeatedAndEmptyIds)
{
    load("");
    EXPECT_EQ(vm::VmbArray().upperBound(), 0);
    EXPECT_FALSE(app.exists("data/VmBoxList.txt"));

    // 9 -> 1, "" -> 2, 10 -> 3 (Description from the next line), 9 again -> 1,
    // so only 1..1 is sorted; the partial last record is dropped.
    load("\"9\",\"p1\",\"d\"\r\n\"\",\"blank\",\"\"\r\n\"10\",\"p2\"\r\n\"e\"\r\n\"9\",\"p3\",\"\"\r\n\"11\",\"q\"");
    EXPECT_EQ(vm::test::column(&B::Id), (QStringList{"9", "", "10"}));
    EXPECT_EQ(vm::test::column(&B::Pin), (QStringList{"p3", "blank", "p2"}));
    EXPECT_EQ(vm::test::column(&B::Description), (QStringList{"", "", "e"}));
}
