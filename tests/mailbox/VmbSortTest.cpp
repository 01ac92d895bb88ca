#include "mailbox/VmailLib.h"
#include "mailbox/VmbSort.h"
#include "MailboxTestSupport.h"

#include <gtest/gtest.h>

#include <random>

using vm::test::column;

namespace {

// Fills the global table; each entry's Pin tags it to follow it through the sort.
vm::MailboxTable& fill(const QStringList& ids)
{
    vm::MailboxTable& t = vm::VmbArray();
    t.resetToElementZero();
    for (int i = 0; i < ids.size(); ++i) {
        vm::VoicemailBox b;
        b.Id = ids[i];
        b.Pin = QString::number(i);
        t.store(t.append(), b);
    }
    return t;
}

// Textbook gapped insertion sort with the gaps given; returns the tags.
QStringList referenceOrder(const QStringList& ids, const std::vector<int>& gaps)
{
    std::vector<std::pair<QString, QString>> v;
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
    struct Case {
        QStringList in;
        std::int16_t lo, hi;
        QStringList out;
    };
    const std::vector<Case> cases = {
        {{"9", "10", "2", ""}, 1, 4, {"", "10", "2", "9"}},
        {{"Z", "y", "X"}, 1, 3, {"X", "y", "Z"}},
        {{"b", "A", "a", "B"}, 1, 4, {"A", "a", "b", "B"}},  // insertion sort keeps equal Ids in order
        {{"100", "1", "10", "1a"}, 1, 4, {"1", "10", "100", "1a"}},
        {{"5", "4", "3", "2", "1"}, 2, 4, {"5", "2", "3", "4", "1"}},
        {{"b", "a"}, 2, 1, {"b", "a"}},
    };
    for (Case c : cases) {
        fill(c.in);
        vm::VmbSort(c.lo, c.hi);
        EXPECT_EQ(column(&vm::VoicemailBox::Id), c.out) << c.in.join(QLatin1Char(',')).toStdString();
        int first = 0;  // lookups follow the moved entries
        while (c.out[first].compare(c.out.last(), Qt::CaseInsensitive) != 0)
            ++first;
        EXPECT_EQ(vm::VmbFind(c.out.last()), first + 1);
    }
    vm::VmbArray().unsize();
}

TEST(VmbSort, GapSequence)
{
    const std::vector<std::pair<int, std::vector<int>>> cases = {
        {2, {1}}, {13, {1}},
        {14, {4, 1}},  // climbs to 40, falls to 13, and 13 > 11.2 so once more to 4
        {16, {4, 1}}, {17, {13, 4, 1}}, {40, {13, 4, 1}}, {41, {13, 4, 1}}, {100, {40, 13, 4, 1}},
        {32767, {9841, 3280, 1093, 364, 121, 40, 13, 4, 1}},
    };
    for (const auto& [count, gaps] : cases)
        EXPECT_EQ(vm::shellSortGaps(count), gaps) << count;
}

// Where equal Ids end up depends on the exact gaps: the sort must place them
// where the gapped insertion sort with these gaps does.
TEST(VmbSort, EqualIdsLandWhereTheGapRulePutsThem)
{
    struct Case {
        int count;
        std::vector<int> gaps, wrongGaps;  // a plausible wrong rule proves the check bites
    };
    const std::vector<Case> cases = {
        {14, {4, 1}, {13, 4, 1}}, {100, {40, 13, 4, 1}, {13, 4, 1}}, {1000, {364, 121, 40, 13, 4, 1}, {121, 40, 13, 4, 1}},
    };
    const QStringList pool = {"a", "A", "b", "B", "c", "10", "9"};
    for (const Case& c : cases) {
        bool wrongDiffers = false;
        for (unsigned seed = 1; seed <= 20; ++seed) {
            std::mt19937 rng(seed);
            QStringList ids;
            for (int i = 0; i < c.count; ++i)
                ids << pool[static_cast<int>(rng() % pool.size())];
            fill(ids);
            vm::sortById(vm::VmbArray(), 1, vm::VmbArray().upperBound());
            ASSERT_EQ(column(&vm::VoicemailBox::Pin), referenceOrder(ids, c.gaps)) << c.count << " seed " << seed;
            wrongDiffers |= referenceOrder(ids, c.wrongGaps) != column(&vm::VoicemailBox::Pin);
        }
        EXPECT_TRUE(wrongDiffers) << c.count;
    }
    vm::VmbArray().unsize();
}
