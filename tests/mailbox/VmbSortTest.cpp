#include "MailboxTestSupport.h"
#include "mailbox/VmbSort.h"

#include <gtest/gtest.h>

#include <random>

using vm::test::column;

namespace {

// Fills the table; each entry's Pin tags it to follow it through the sort.
vm::mailbox::MailboxTable fill(const QStringList& ids)
{
    std::vector<vm::mailbox::VoicemailBox> boxes;
    for (int i = 0; i < ids.size(); ++i) {
        boxes.push_back(vm::test::boxWithId(ids[i]));
        boxes.back().Pin = QString::number(i);
    }
    vm::mailbox::MailboxTable table;
    vm::test::setTable(table, boxes);
    return table;
}

// Textbook gapped insertion sort with the gaps given; returns the tags.
QStringList referenceOrder(const QStringList& ids, const std::vector<int>& gaps)
{
    std::vector<std::pair<QString, QString>> v;  // folded Id, tag
    for (int i = 0; i < ids.size(); ++i)
        v.emplace_back(ids[i].toCaseFolded(), QString::number(i));
    for (const int gap : gaps) {
        for (int i = gap; i < static_cast<int>(v.size()); ++i) {
            const auto held = v[i];
            int j = i - gap;
            for (; j >= 0 && v[j].first > held.first; j -= gap)
                v[j + gap] = v[j];
            v[j + gap] = held;
        }
    }
    QStringList tags;
    for (const auto& p : v)
        tags << p.second;
    return tags;
}

}  // namespace

TEST(VmbSort, OrdersIdsAsCaseInsensitiveTextWithinTheRange)
{
    const struct {
        QStringList in;
        std::int16_t lo, hi;
        QStringList out;
    } cases[] = {
        {{"9", "10", "2", ""}, 1, 4, {"", "10", "2", "9"}},           {{"Z", "y", "X"}, 1, 3, {"X", "y", "Z"}},
        {{"b", "A", "a", "B"}, 1, 4, {"A", "a", "b", "B"}},  // insertion sort keeps equal Ids in order
        {{"100", "1", "10", "1a"}, 1, 4, {"1", "10", "100", "1a"}},   {{"10001", "10000"}, 1, 2, {"10000", "10001"}},
        {{"5", "4", "3", "2", "1"}, 2, 4, {"5", "2", "3", "4", "1"}}, {{"b", "a"}, 2, 1, {"b", "a"}},
    };
    for (auto c : cases) {  // the sort takes its bounds by reference
        vm::mailbox::MailboxTable table = fill(c.in);
        vm::mailbox::VmbSort(table, c.lo, c.hi);
        EXPECT_EQ(column(table, &vm::mailbox::VoicemailBox::Id), c.out) << c.in.join(QLatin1Char(',')).toStdString();
        const auto first = std::find_if(c.out.begin(), c.out.end(), [&](const QString& id) {
            return id.compare(c.out.last(), Qt::CaseInsensitive) == 0;
        });
        EXPECT_EQ(vm::mailbox::VmbFind(table, c.out.last()),
                  first - c.out.begin() + 1);  // lookups follow the moved entries
    }
}

TEST(VmbSort, GapSequence)
{
    // 14: climbs to 40, falls to 13 > 11.2, so on to 4; at 50, 40 is not more than 0.8 * 50.
    const std::pair<int, const char*> cases[] = {
        {2, "1"},           {13, "1"},
        {14, "4 1"},        {16, "4 1"},
        {17, "13 4 1"},     {40, "13 4 1"},
        {41, "13 4 1"},     {50, "40 13 4 1"},
        {100, "40 13 4 1"}, {32767, "9841 3280 1093 364 121 40 13 4 1"},
    };
    for (const auto& [count, gaps] : cases) {
        QStringList got;
        for (const int gap : vm::mailbox::shellSortGaps(count))
            got << QString::number(gap);
        EXPECT_EQ(got.join(u' '), QLatin1String(gaps)) << count;
    }
}

// Where equal Ids end up depends on the exact gaps: the sort must place them
// where the gapped insertion sort with these gaps does.
TEST(VmbSort, EqualIdsLandWhereTheGapRulePutsThem)
{
    const QStringList pool = {"a", "A", "b", "B", "c", "10", "9"};
    for (const int count : {14, 100, 1000}) {
        for (unsigned seed = 1; seed <= 20; ++seed) {
            std::mt19937 rng(seed);
            QStringList ids;
            for (int i = 0; i < count; ++i)
                ids << pool[static_cast<int>(rng() % pool.size())];
            vm::mailbox::MailboxTable table = fill(ids);
            vm::mailbox::sortById(table, 1, table.upperBound());
            ASSERT_EQ(column(table, &vm::mailbox::VoicemailBox::Pin),
                      referenceOrder(ids, vm::mailbox::shellSortGaps(count)))
                << count << " " << seed;
        }
    }
}
