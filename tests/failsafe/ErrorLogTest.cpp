// Pieces of the error log that the end-to-end tests do not pin down: the
// label column, call texts, the code pointer lines and append-only writing.
#include "failsafe/CallTree.h"
#include "failsafe/ErrorLog.h"

#include "platform/FileSystem.h"
#include "platform/RuntimeError.h"
#include "support/TempAppFolder.h"

#include <QDateTime>
#include <QDir>

#include <gtest/gtest.h>

namespace vm::failsafe {
namespace {

TEST(ErrorLog, ValuesStartInColumnThirty)
{
    for (const char* label : {"Category ", "Source ", "Procedure ", "Description "}) {
        const QString line = labelLine(QString::fromLatin1(label), QStringLiteral("V"));
        EXPECT_EQ(line.indexOf(QLatin1Char('V')), 29) << label;
        EXPECT_TRUE(line.startsWith(QString::fromLatin1(label)));
    }
}

TEST(ErrorLog, CallTextDropsDepthAndIndent)
{
    EXPECT_EQ(callTextOfEntry(QStringLiteral(" 3 : \t\tfrmVmailCfg.frm : Sub cmdVmbAdd_Click : ()")),
              QStringLiteral("frmVmailCfg.frm : Sub cmdVmbAdd_Click : ()"));
    EXPECT_EQ(callTextOfEntry(QStringLiteral(" 1 : frmVmailCfg.frm : Sub Form_Load : (Cancel=0)")),
              QStringLiteral("frmVmailCfg.frm : Sub Form_Load : (Cancel=0)"));
}

TEST(ErrorLog, CodePointersAddTheirLines)
{
    ErrorRecord record;
    record.stackCopy[0] = QStringLiteral(" 1");
    record.stackCopy[1] = QStringLiteral(" 1 : frmVmailCfg.frm : Sub Form_Load : ()");
    record.slot[0] = {QStringLiteral("General run-time error"), QStringLiteral("frmVmailCfg.frm"),
                      QStringLiteral("Sub Form_Load"), 7, QStringLiteral("VoicemailManager (local)"), 6,
                      QStringLiteral("Overflow")};
    record.codePointer = 4;
    CallStack stack;
    stack.codePointer[1] = 4;
    EXPECT_EQ(callTreeLines(record, stack.codePointer),
              (QStringList{QStringLiteral(" 1 : Call\tfrmVmailCfg.frm : Sub Form_Load : ()"),
                           QStringLiteral(" 2 : Code\t\tCode Pointer = 4"),
                           QStringLiteral(" 3 : Trap\t\tRuntime error 6, Overflow on line 7")}));
    const QString entry = errorLogEntry(record, stack, ErrorLogTexts{});
    EXPECT_TRUE(entry.contains(QStringLiteral("Description                  Overflow\r\n\tCode Pointer : 4\r\n\r\n")))
        << entry.toStdString();
}

TEST(ErrorLog, StampLinesMatchTheMessageTable)
{
    const QDateTime moment(QDate(2026, 1, 2), QTime(3, 4, 5));
    const QString start = captureStampLine(moment, true);
    EXPECT_TRUE(start.endsWith(message(20).mid(message(20).indexOf(QStringLiteral(" - start")))));
    EXPECT_TRUE(captureStampLine(moment, false).endsWith(message(31).mid(message(31).indexOf(QStringLiteral(" - stop")))));
}

TEST(ErrorLog, AppendingIsWholeOrNothing)
{
    test::TempAppFolder app;
    const QString path = app.file(QStringLiteral("error.log"));
    EXPECT_TRUE(appendWholeOrNothing(path, "first\r\n"));
    EXPECT_TRUE(appendWholeOrNothing(path, "second\r\n"));
    EXPECT_EQ(app.read(QStringLiteral("error.log")), QByteArray("first\r\nsecond\r\n"));

    fs::setWriteFaultHook([](const QString&, std::int64_t) { raiseError(err::DiskFull); });
    EXPECT_FALSE(appendWholeOrNothing(path, "third\r\n"));
    fs::setWriteFaultHook(nullptr);
    EXPECT_EQ(app.read(QStringLiteral("error.log")), QByteArray("first\r\nsecond\r\n"));

    EXPECT_FALSE(appendWholeOrNothing(app.file(QStringLiteral("missing/error.log")), "x"));
    QDir(app.path()).mkdir(QStringLiteral("adir"));
    EXPECT_FALSE(appendWholeOrNothing(app.file(QStringLiteral("adir")), "x"));
}

}  // namespace
}  // namespace vm::failsafe
