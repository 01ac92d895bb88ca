#include "mailbox/LegacyImport.h"
#include "mailbox/VmailLib.h"
#include "support/TempAppFolder.h"

#include <gtest/gtest.h>

using vm::VoicemailBox;

namespace {

QStringList readAll(const char* text)
{
    vm::LegacyFieldReader reader(QString::fromLatin1(text));
    QStringList fields;
    QString field;
    while (reader.read(field))
        fields << field;
    return fields;
}

QByteArray recordLine(int fields, const QByteArray& prefix)
{
    QByteArrayList values;
    for (int f = 1; f <= fields; ++f)
        values << '"' + prefix + QByteArray::number(f) + '"';
    return values.join(',') + "\r\n";
}

class LegacyImport : public ::testing::Test {
protected:
    void SetUp() override { vm::VmbArray().unsize(); }
    void TearDown() override { vm::VmbArray().unsize(); }

    void load(const QByteArray& legacy)
    {
        app.write(QStringLiteral("data/VmBoxList.txt"), legacy);
        vm::VmbLoadArray();
    }

    vm::test::TempAppFolder app;
};

}  // namespace

TEST(LegacyFieldReader, ReadsFieldsLikeTheClassicInputStatement)
{
    struct Case {
        const char* text;
        QStringList fields;
    };
    const std::vector<Case> cases = {
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
    for (const Case& c : cases)
        EXPECT_EQ(readAll(c.text), c.fields) << c.text;
}

// The first line's "," count picks the fields of every record.
TEST_F(LegacyImport, FiveLayouts)
{
    struct Case {
        int fieldsInFirstLine;
        std::vector<QString VoicemailBox::*> fields;
    };
    using B = VoicemailBox;
    const std::vector<QString B::*> eight = {&B::Id, &B::Pin, &B::Groups, &B::Description, &B::EmailForward,
                                             &B::PhoneForward, &B::PagerNumber, &B::PagerMessage};
    const std::vector<Case> cases = {
        {3, {&B::Id, &B::Pin, &B::Description}},
        {4, {&B::Id, &B::Pin, &B::Description, &B::EmailForward}},
        {5, {&B::Id, &B::Pin, &B::Description, &B::EmailForward, &B::PhoneForward}},
        {7, {&B::Id, &B::Pin, &B::Description, &B::EmailForward, &B::PhoneForward, &B::PagerNumber,
             &B::PagerMessage}},
        {1, eight}, {2, eight}, {6, eight}, {8, eight},
    };
    for (const Case& c : cases) {
        const int n = static_cast<int>(c.fields.size());
        // A first record shorter than the layout takes its last fields from the next line.
        QByteArray text = recordLine(c.fieldsInFirstLine, "a");
        if (c.fieldsInFirstLine < n)
            text += recordLine(n - c.fieldsInFirstLine, "x");
        text += recordLine(n, "b");
        load(text);
        ASSERT_EQ(vm::VmbArray().upperBound(), 2) << c.fieldsInFirstLine;
        const VoicemailBox& second = vm::VmbArray().at(2);
        VoicemailBox expected;
        for (int f = 0; f < n; ++f)
            expected.*c.fields[static_cast<std::size_t>(f)] = QStringLiteral("b") + QString::number(f + 1);
        expected.SeenInFile = 1;
        EXPECT_EQ(second, expected) << c.fieldsInFirstLine;
        EXPECT_FALSE(app.exists(QStringLiteral("data/VmBoxList.txt")));
        EXPECT_FALSE(app.exists(QStringLiteral("data/VmBoxList.xml")));
    }
}

TEST_F(LegacyImport, RecordsSpanLinesAndAPartialLastRecordIsDropped)
{
    load("\"1\",\"p\",\"d\"\r\n\"2\",\"q\"\r\n\"e\"\r\n\"3\",\"r\"");
    ASSERT_EQ(vm::VmbArray().upperBound(), 2);
    EXPECT_EQ(vm::VmbArray().at(2).Id, QStringLiteral("2"));
    EXPECT_EQ(vm::VmbArray().at(2).Description, QStringLiteral("e"));
}

TEST_F(LegacyImport, EmptyFileImportsNothingAndIsDeleted)
{
    load("");
    EXPECT_EQ(vm::VmbArray().upperBound(), 0);
    EXPECT_FALSE(app.exists(QStringLiteral("data/VmBoxList.txt")));
}

TEST_F(LegacyImport, RepeatedAndEmptyIdsAndSorting)
{
    load("\"9\",\"p1\",\"d\"\r\n\"\",\"blank\",\"\"\r\n\"10\",\"p2\",\"\"\r\n\"9\",\"p3\",\"\"\r\n");
    // 9 -> 1, "" -> 2, 10 -> 3, 9 again -> 1: sorted 1..1 only, so nothing moves.
    ASSERT_EQ(vm::VmbArray().upperBound(), 3);
    EXPECT_EQ(vm::VmbArray().at(1).Pin, QStringLiteral("p3"));
    EXPECT_EQ(vm::VmbArray().at(1).Description, QString());
    EXPECT_EQ(vm::VmbArray().at(2).Pin, QStringLiteral("blank"));  // an empty Id is imported too
    EXPECT_EQ(vm::VmbArray().at(3).Id, QStringLiteral("10"));
}
