// The circular log file: record shape, header, slot 0 for the start line,
// rotation, a new run over an old file, and paths that cannot be opened.
#include "TraceFixture.h"

#include "failsafe/CircularLog.h"
#include "failsafe/FailSafe.h"
#include "platform/RuntimeError.h"
#include "support/FaultInjection.h"

#include <QDir>
#include <QFile>

namespace vm::failsafe {
namespace {

using test::kForm;

TEST(CircularRecordTest, LinesAreCutOrPaddedToTheRecord)
{
    const struct {
        int length;
        int kept;
    } cases[] = {{600, 510}, {18, 18}, {511, 510}, {512, 510}, {510, 510}, {0, 0}};
    for (const auto& c : cases) {
        const QByteArray line(c.length, 'a');
        for (const QByteArray& given : {line, line + "\r\n"}) {
            const QByteArray record = circularRecord(given, 512);
            ASSERT_EQ(record.size(), 512) << c.length;
            EXPECT_EQ(record.left(c.kept), line.left(c.kept));
            EXPECT_EQ(record.mid(c.kept, 510 - c.kept), QByteArray(510 - c.kept, ' '));
            EXPECT_EQ(record.right(2), QByteArray("\r\n"));
        }
    }
    EXPECT_EQ(circularRecordOffset(0, 512), 10);
    EXPECT_EQ(circularRecordOffset(1, 512), 522);
}

class CircularLogTest : public test::TraceFixture {
protected:
    void enable(const QString& extra = QString()) const
    {
        writeSettings(
            QStringLiteral("[Log File]\r\nCircularLog=1\r\n[CircularLog]\r\nRecordSize=512\r\nMaxRecords=100\r\n") +
            extra);
    }
    QByteArray file() const { return app_.read(QStringLiteral("circ0001.log")); }
    static QByteArray slot(const QByteArray& bytes, int n) { return bytes.mid(circularRecordOffset(n, 512), 512); }
};

TEST_F(CircularLogTest, StartLineInSlotZeroThenRotationFromOne)
{
    enable();
    fsSTART();
    for (int i = 0; i < 50; ++i) {
        fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
        fsPOP(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    }
    QByteArray bytes = file();
    ASSERT_EQ(bytes.size(), 10 + 101 * 512);  // 51 722 bytes: the bound of the default settings
    EXPECT_EQ(bytes.left(10), QByteArray("CIRCULAR\r\n"));
    EXPECT_TRUE(slot(bytes, 0).startsWith("[RiVaVaz] ") && slot(bytes, 0).contains(" - start FailSafe client v6.6"));
    for (int n = 1; n <= 100; ++n)
        EXPECT_TRUE(
            slot(bytes, n).startsWith(QStringLiteral("[RiVaVaz] [%1] ").arg(n, 5, 10, QLatin1Char('0')).toLatin1()) &&
            slot(bytes, n).endsWith("\r\n"))
            << slot(bytes, n).constData();

    // The 101st line after the start line goes to slot 1 at offset 522, never to slot 0.
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    bytes = file();
    EXPECT_EQ(bytes.size(), 10 + 101 * 512);
    EXPECT_TRUE(bytes.mid(522).startsWith("[RiVaVaz] [00101] "));
    EXPECT_TRUE(slot(bytes, 0).contains(" - start FailSafe client"));
    EXPECT_TRUE(slot(bytes, 2).startsWith("[RiVaVaz] [00002] "));
}

TEST_F(CircularLogTest, NewRunRewritesHeaderWithoutTruncating)
{
    enable();
    app_.write(QStringLiteral("circ0001.log"), QByteArray(60000, 'x'));
    fsSTART();
    const QByteArray bytes = file();
    EXPECT_EQ(bytes.size(), 60000);
    EXPECT_EQ(bytes.left(10), QByteArray("CIRCULAR\r\n"));
    EXPECT_TRUE(slot(bytes, 0).startsWith("[RiVaVaz] "));
    EXPECT_EQ(slot(bytes, 1), QByteArray(512, 'x'));
}

TEST_F(CircularLogTest, AHeaderThatCannotBeWrittenSwitchesTheLogOff)
{
    enable();
    const test::ScopedFault diskFull(
        test::failStep(test::FileStep::Write, QStringLiteral("circ0001.log"), platform::err::DiskFull));
    fsSTART();
    EXPECT_FALSE(state().circular.on);
    EXPECT_EQ(state().circular.fd, -1);
}

TEST_F(CircularLogTest, UnopenablePathsLeaveTheLogOff)
{
    // A missing folder. (A name that is no regular file is refused before it
    // is opened, as a planted link is.)
    enable(QStringLiteral("FileName=missing/circ.log\r\n"));
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    fsPOP(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    EXPECT_FALSE(state().circular.on);
    EXPECT_EQ(state().stack.depth, 0);
    EXPECT_FALSE(app_.exists(QStringLiteral("missing")));

    // A folder that vanishes while the log is closed switches it off on reopening.
    resetState();
    QDir(app_.path()).mkdir(QStringLiteral("afolder"));
    enable(QStringLiteral("FileName=afolder/circ.log\r\n"));
    fsPUSH(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    ASSERT_TRUE(state().circular.on);
    QDir(app_.file(QStringLiteral("afolder"))).removeRecursively();
    closeCircularLog(state().circular);
    fsPOP(kForm, QStringLiteral("Sub Form_Load"), QStringLiteral("()"));
    EXPECT_FALSE(state().circular.on);
    EXPECT_EQ(state().stack.depth, 0);
}

}  // namespace
}  // namespace vm::failsafe
