#include "mailbox/MailboxTable.h"
#include "mailbox/VmailLib.h"
#include "mailbox/VmbSort.h"
#include "platform/RuntimeError.h"

#include <gtest/gtest.h>

#include <random>

using vm::MailboxTable;
using vm::VoicemailBox;

namespace {

VoicemailBox boxWithId(const QString& id, const QString& pin = {})
{
    VoicemailBox b;
    b.Id = id;
    b.Pin = pin;
    return b;
}

int errorNumberOf(const std::function<void()>& step)
{
    try {
        step();
    } catch (const vm::RuntimeError& e) {
        return e.number();
    }
    return 0;
}

// The lookup as the table defines it: first entry from 1 to N whose Id
// equals, code unit by code unit after simple case folding.
int scanFind(const MailboxTable& t, const QString& id)
{
    const auto equalFolded = [](const QString& a, const QString& b) {
        if (a.size() != b.size())
            return false;
        for (qsizetype i = 0; i < a.size(); ++i)
            if (a[i].toCaseFolded() != b[i].toCaseFolded())
                return false;
        return true;
    };
    for (int i = 1; i <= t.upperBound(); ++i)
        if (equalFolded(t.at(i).Id, id))
            return i;
    return -1;
}

}  // namespace

TEST(MailboxTable, EmptyTableFindsNothing)
{
    MailboxTable t;
    EXPECT_EQ(t.find(QStringLiteral("1")), -1);
    t.resetToElementZero();
    EXPECT_EQ(t.upperBound(), 0);
    for (const QString& id : {QString(), QStringLiteral("1"), QStringLiteral("abc")})
        EXPECT_EQ(t.find(id), -1) << id.toStdString();
}

TEST(MailboxTable, FindIgnoresLetterCaseAndReturnsFirstMatch)
{
    MailboxTable t;
    t.resetToElementZero();
    for (const char* id : {"x", "ABC", "", "abc", ""})
        t.store(t.append(), boxWithId(QString::fromLatin1(id)));
    EXPECT_EQ(t.find(QStringLiteral("abc")), 2);
    EXPECT_EQ(t.find(QStringLiteral("aBc")), 2);
    EXPECT_EQ(t.find(QString()), 3);  // the first blank entry
    EXPECT_EQ(t.find(QStringLiteral("ab")), -1);
    EXPECT_EQ(t.find(QString::fromUtf8("\u03a3")), -1);
}

TEST(MailboxTable, RemoveMovesLaterEntriesDown)
{
    MailboxTable t;
    t.resetToElementZero();
    for (const char* id : {"1", "2", "3"})
        t.store(t.append(), boxWithId(QString::fromLatin1(id)));
    t.remove(1);
    ASSERT_EQ(t.upperBound(), 2);
    EXPECT_EQ(t.at(1).Id, QStringLiteral("2"));
    EXPECT_EQ(t.find(QStringLiteral("3")), 2);
    EXPECT_EQ(t.find(QStringLiteral("1")), -1);
    t.remove(2);
    t.remove(1);
    EXPECT_EQ(t.upperBound(), 0);  // element 0 alone
    EXPECT_EQ(t.find(QStringLiteral("2")), -1);
}

TEST(MailboxTable, BlankKeepsOnlyTheMergeMark)
{
    MailboxTable t;
    t.resetToElementZero();
    VoicemailBox full = boxWithId(QStringLiteral("5"), QStringLiteral("1234"));
    full.OnReceive = QStringLiteral("cmd");
    full.FtpUpload = 1;
    full.DeleteAfterForward = 1;
    full.SeenInFile = 1;
    t.store(t.append(), full);
    t.blank(1);
    VoicemailBox expected;
    expected.SeenInFile = 1;
    EXPECT_EQ(t.at(1), expected);
    EXPECT_EQ(t.find(QString()), 1);
    EXPECT_EQ(t.find(QStringLiteral("5")), -1);
}

TEST(MailboxTable, OutOfRangeAndOverflowErrors)
{
    MailboxTable t;
    EXPECT_EQ(errorNumberOf([&] { t.upperBound(); }), vm::err::SubscriptOutOfRange);
    EXPECT_EQ(errorNumberOf([&] { t.append(); }), vm::err::SubscriptOutOfRange);
    t.resetToElementZero();
    EXPECT_EQ(errorNumberOf([&] { t.at(1); }), vm::err::SubscriptOutOfRange);
    EXPECT_EQ(errorNumberOf([&] { t.remove(0); }), vm::err::SubscriptOutOfRange);
    EXPECT_EQ(errorNumberOf([&] { t.blank(-1); }), vm::err::SubscriptOutOfRange);
    for (int i = 0; i < 32767; ++i)
        t.append();
    EXPECT_EQ(t.upperBound(), 32767);
    EXPECT_EQ(errorNumberOf([&] { t.append(); }), vm::err::Overflow);
    EXPECT_EQ(t.upperBound(), 32767);
    EXPECT_EQ(t.find(QString()), 1);
}

TEST(MailboxTable, GlobalTableLookup)
{
    vm::VmbArray().resetToElementZero();
    EXPECT_EQ(vm::VmbFind(QStringLiteral("abc")), -1);
    vm::VmbArray().store(vm::VmbArray().append(), boxWithId(QStringLiteral("ABC")));
    EXPECT_EQ(vm::VmbFind(QStringLiteral("abc")), 1);
    vm::VmbArray().unsize();
}

// Long random sequences of every kind of change; after each one the index
// must answer exactly what a plain scan answers, for every Id in play.
TEST(MailboxTableIndex, AgreesWithPlainScanAfterEveryChange)
{
    const QStringList ids = {
        QString(), QStringLiteral("a"), QStringLiteral("A"), QStringLiteral("b"), QStringLiteral("10"),
        QStringLiteral("9"), QString::fromUtf8("\u00df"),  // sharp s
        QString::fromUtf8("\u03a3"), QString::fromUtf8("\u03c3"), QString::fromUtf8("\u03c2"),  // sigmas
        QString::fromUtf8("\u212a"), QStringLiteral("k"),  // Kelvin sign folds to k
    };
    const QStringList probes = ids + QStringList{QStringLiteral("zz"), QStringLiteral("K")};

    for (const unsigned seed : {1u, 7u, 42u, 2024u, 31337u}) {
        std::mt19937 rng(seed);
        const auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
        const auto anyId = [&] { return ids[pick(0, static_cast<int>(ids.size()) - 1)]; };
        MailboxTable t;
        t.resetToElementZero();
        for (int step = 0; step < 4000; ++step) {
            const int n = t.upperBound();
            const int op = pick(0, 9);
            if (op <= 2 || n == 0) {
                if (n < 60)
                    t.store(t.append(), boxWithId(anyId()));
            } else if (op == 3) {
                t.remove(pick(1, n));
            } else if (op == 4) {
                t.blank(pick(1, n));
            } else if (op == 5) {
                t.store(pick(1, n), boxWithId(anyId(), QString::number(step)));
            } else if (op == 6) {
                t.setId(pick(1, n), anyId());
            } else if (op == 7) {
                t.moveEntry(pick(1, n), pick(1, n));
            } else if (op == 8) {
                const int lo = pick(1, n);
                vm::sortById(t, static_cast<std::int16_t>(lo), static_cast<std::int16_t>(pick(lo, n)));
            } else if (pick(0, 40) == 0) {
                t.resetToElementZero();
            } else {
                t.put(pick(1, n), boxWithId(anyId()));
            }
            for (const QString& probe : probes)
                ASSERT_EQ(t.find(probe), scanFind(t, probe))
                    << "seed " << seed << " step " << step << " op " << op << " probe " << probe.toStdString();
        }
    }
}
