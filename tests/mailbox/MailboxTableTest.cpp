#include "MailboxTestSupport.h"
#include "mailbox/MailboxTable.h"
#include "mailbox/VmbSort.h"

#include <gtest/gtest.h>

#include <random>

using vm::mailbox::MailboxTable;
using vm::test::boxWithId;
using vm::test::errorNumberOf;

TEST(MailboxTable, LimitsAndErrors)
{
    vm::mailbox::MailboxTable t;
    EXPECT_EQ(t.find(QString()), -1);
    EXPECT_EQ(errorNumberOf([&] { t.append(); }), vm::platform::err::SubscriptOutOfRange);
    t.resetToElementZero();
    EXPECT_EQ(t.find(QString()), -1);
    EXPECT_EQ(errorNumberOf([&] { t.at(1); }), vm::platform::err::SubscriptOutOfRange);
    EXPECT_EQ(errorNumberOf([&] { t.remove(0); }), vm::platform::err::SubscriptOutOfRange);
    t.store(t.append(), boxWithId(QStringLiteral("1")));
    t.remove(1);  // the only box: element 0 alone remains
    EXPECT_EQ(t.upperBound(), 0);
    EXPECT_EQ(t.find(QStringLiteral("1")), -1);
    for (int i = 0; i < 32767; ++i)
        t.append();
    EXPECT_EQ(errorNumberOf([&] { t.append(); }), vm::platform::err::Overflow);
    EXPECT_EQ(t.upperBound(), 32767);
}

// Long random sequences of every kind of change; after each one the index
// must answer exactly what a plain scan answers, for every Id in play.
TEST(MailboxTable, IndexAgreesWithPlainScanAfterEveryChange)
{
    // The lookup by its definition: the first entry whose Id is equal code
    // unit by code unit after simple case folding.
    const auto scanFind = [](const vm::mailbox::MailboxTable& t, const QString& id) {
        for (int i = 1; i <= t.upperBound(); ++i) {
            const QString& e = t.at(i).Id;
            bool equal = e.size() == id.size();
            for (qsizetype k = 0; equal && k < e.size(); ++k)
                equal = e[k].toCaseFolded() == id[k].toCaseFolded();
            if (equal)
                return i;
        }
        return -1;
    };
    const QStringList ids = {"",       "a",      "A",      "b",      "10",     "9",
                             "\u00df", "\u03a3", "\u03c3", "\u03c2", "\u212a", "k"};  // the Kelvin sign folds to k
    const QStringList probes = ids + QStringList{"zz", "K"};
    for (const unsigned seed : {1u, 7u, 42u, 2024u, 31337u}) {
        std::mt19937 rng(seed);
        const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        const auto anyId = [&] { return boxWithId(ids[pick(0, static_cast<int>(ids.size()) - 1)]); };
        vm::mailbox::MailboxTable t;
        t.resetToElementZero();
        for (int step = 0; step < 4000; ++step) {
            const int n = t.upperBound();
            const int op = n == 0 ? 0 : pick(0, 9);
            switch (op) {
                case 0:
                case 1:
                case 2:
                    if (n < 60)
                        t.store(t.append(), anyId());
                    break;
                case 3: t.remove(pick(1, n)); break;
                case 4: t.blank(pick(1, n)); break;
                case 5: t.store(pick(1, n), anyId()); break;
                case 6: t.setId(pick(1, n), anyId().Id); break;
                case 7: t.moveEntry(pick(1, n), pick(1, n)); break;
                case 8: {
                    // Half the sorts take the whole table: a table known to be in order skips its sort.
                    const bool whole = pick(0, 1) == 1;
                    const int lo = whole ? 1 : pick(1, n);
                    const int hi = whole ? n : pick(lo, n);
                    vm::mailbox::sortById(t, static_cast<std::int16_t>(lo), static_cast<std::int16_t>(hi));
                    for (int k = lo; k < hi; ++k)
                        ASSERT_FALSE(vm::mailbox::foldedKeyGreater(vm::mailbox::foldCase(t.at(k).Id),
                                                                   vm::mailbox::foldCase(t.at(k + 1).Id)))
                            << "seed " << seed << " step " << step;
                    break;
                }
                default:
                    if (pick(0, 40) == 0)
                        t.resetToElementZero();
                    else
                        t.put(pick(1, n), anyId());
            }
            for (const QString& probe : probes)
                ASSERT_EQ(t.find(probe), scanFind(t, probe))
                    << "seed " << seed << " step " << step << " op " << op << " probe " << probe.toStdString();
        }
    }
}
