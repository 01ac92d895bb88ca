#include "mailbox/VmailLib.h"
#include "mailbox/VmbSort.h"
#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

#include <random>

using vm::MailboxTable;
using vm::VoicemailBox;

namespace {

void fill(MailboxTable& t, const QStringList& ids)
{
    t.resetToElementZero();
    for (int i = 0; i < ids.size(); ++i) {
        VoicemailBox b;
        b.Id = ids[i];
        b.Pin = QString::number(i);  // tags each entry to follow it through the sort
        t.store(t.append(), b);
    }
}

QStringList idsOf(const MailboxTable& t)
{
    QStringList ids;
    for (int i = 1; i <= t.upperBound(); ++i)
        ids << t.at(i).Id;
    return ids;
}

QStringList pinsOf(const MailboxTable& t)
{
    QStringList pins;
    for (int i = 1; i <= t.upperBound(); ++i)
        pins << t.at(i).Pin;
    return pins;
}

// Textbook gapped insertion sort with the gaps given, on (Id, tag) pairs.
QStringList referenceShellSortTags(const QStringList& ids, const std::vector<int>& gaps)
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

QStringList randomIdsWithCaseTwins(int count, unsigned seed)
{
    std::mt19937 rng(seed);
    const QStringList pool = {QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("B"),
                              QStringLiteral("c"), QStringLiteral("10"), QStringLiteral("9")};
    QStringList ids;
    for (int i = 0; i < count; ++i)
        ids << pool[std::uniform_int_distribution<int>(0, static_cast<int>(pool.size()) - 1)(rng)];
    return ids;
}

}  // namespace

TEST(VmbSort, OrdersIdsAsCaseInsensitiveText)
{
    struct Case {
        QStringList in;
        QStringList out;
    };
    const std::vector<Case> cases = {
        {{"9", "10", "2", ""}, {"", "10", "2", "9"}},
        {{"Z", "y", "X"}, {"X", "y", "Z"}},
        {{"b", "A", "a", "B"}, {"A", "a", "b", "B"}},  // few entries: insertion sort keeps equal Ids in order
        {{"100", "1", "10", "1a", "1A"}, {"1", "10", "100", "1a", "1A"}},
        {{"7"}, {"7"}},
    };
    MailboxTable t;
    for (const Case& c : cases) {
        fill(t, c.in);
        vm::sortById(t, 1, t.upperBound());
        EXPECT_EQ(idsOf(t), c.out) << c.in.join(QLatin1Char(',')).toStdString();
    }
}

TEST(VmbSort, GapSequence)
{
    struct Case {
        int count;
        std::vector<int> gaps;
    };
    const std::vector<Case> cases = {
        {1, {1}},
        {2, {1}},
        {13, {1}},
        {14, {4, 1}},  // climbs to 40, falls to 13, and 13 > 11.2 so once more to 4
        {16, {4, 1}},
        {17, {13, 4, 1}},  // 13 is not above 13.6
        {40, {13, 4, 1}},
        {41, {13, 4, 1}},
        {100, {40, 13, 4, 1}},
        {32767, {9841, 3280, 1093, 364, 121, 40, 13, 4, 1}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(vm::shellSortGaps(c.count), c.gaps) << c.count;
}

// Equal Ids end up in an order that depends on the exact gaps: the table's
// sort must place them where the gapped insertion sort with these gaps does.
TEST(VmbSort, EqualIdsLandWhereTheGapRulePutsThem)
{
    struct Case {
        int count;
        std::vector<int> gaps;
        std::vector<int> otherGaps;  // a plausible wrong rule, to prove the check bites
    };
    const std::vector<Case> cases = {
        {14, {4, 1}, {13, 4, 1}},
        {100, {40, 13, 4, 1}, {13, 4, 1}},
        {1000, {364, 121, 40, 13, 4, 1}, {121, 40, 13, 4, 1}},
    };
    MailboxTable t;
    for (const Case& c : cases) {
        bool otherDiffers = false;
        for (unsigned seed = 1; seed <= 20; ++seed) {
            const QStringList ids = randomIdsWithCaseTwins(c.count, seed);
            fill(t, ids);
            vm::sortById(t, 1, t.upperBound());
            ASSERT_EQ(pinsOf(t), referenceShellSortTags(ids, c.gaps)) << c.count << " seed " << seed;
            otherDiffers |= referenceShellSortTags(ids, c.otherGaps) != pinsOf(t);
        }
        EXPECT_TRUE(otherDiffers) << c.count;
    }
}

TEST(VmbSort, SortsOnlyTheRangeAndKeepsItsArguments)
{
    vm::MailboxTable& t = vm::VmbArray();
    fill(t, {"5", "4", "3", "2", "1"});
    std::int16_t lo = 2;
    std::int16_t hi = 4;
    vm::VmbSort(lo, hi);
    EXPECT_EQ(idsOf(t), (QStringList{"5", "2", "3", "4", "1"}));
    EXPECT_EQ(lo, 2);
    EXPECT_EQ(hi, 4);
    EXPECT_EQ(t.find(QStringLiteral("4")), 4);  // lookups follow the moved entries
    t.unsize();
}

TEST(VmbSort, RangeBeyondTheTableIsSubscriptError)
{
    MailboxTable t;
    fill(t, {"b", "a"});
    try {
        vm::sortById(t, 1, 3);
        FAIL() << "no error";
    } catch (const vm::RuntimeError& e) {
        EXPECT_EQ(e.number(), vm::err::SubscriptOutOfRange);
    }
    vm::sortById(t, 3, 3);  // nothing to compare: no error
    vm::sortById(t, 2, 1);
    EXPECT_EQ(idsOf(t), (QStringList{"b", "a"}));
}
