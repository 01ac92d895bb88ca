// The built RiVaVaz started on a fixture folder, closed like a user closes
// it, and the files it wrote compared byte for byte.
#include "support/TempAppFolder.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

const QByteArray kHead = "<?xml version=\"1.0\"?>\r\n<VoicemailBoxes>\r\n";
const QByteArray kBox10 =
    "<VoicemailBox Id=\"10\"><Pin>1010</Pin><Groups>g</Groups><Description>Ten \xe9</Description><EmailForward>"
    "</EmailForward><PhoneForward></PhoneForward><PagerNumber></PagerNumber><PagerMessage></PagerMessage>"
    "<OnReceive></OnReceive><FtpUpload>1</FtpUpload><DeleteAfterForward>0</DeleteAfterForward></VoicemailBox>\r\n";
const QByteArray kBox9 =
    "<VoicemailBox Id=\"9\"><Pin>9</Pin><Groups></Groups><Description></Description><EmailForward></EmailForward>"
    "<PhoneForward></PhoneForward><PagerNumber></PagerNumber><PagerMessage></PagerMessage><OnReceive></OnReceive>"
    "<FtpUpload>0</FtpUpload><DeleteAfterForward>1</DeleteAfterForward></VoicemailBox>\r\n";
const QByteArray kTail = "</VoicemailBoxes>\r\n";

int run(const QString& folder, const QStringList& extra = {})
{
    QProcess app;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    app.setProcessEnvironment(env);
    app.start(QStringLiteral(RIVAVAZ_PATH), QStringList{QStringLiteral("--app-folder"), folder} + extra);
    if (!app.waitForFinished(60000)) {
        app.kill();
        return -1;
    }
    return app.exitStatus() == QProcess::NormalExit ? app.exitCode() : -2;
}

}  // namespace

TEST(EndToEnd, ClosingTheWindowWritesListBodyAndSettings)
{
    vm::test::TempAppFolder folder;
    // Unsorted: the program writes it sorted.
    folder.write(QStringLiteral("data/VmBoxList.xml"), kHead + kBox9 + kBox10 + kTail);
    folder.write(QStringLiteral("QV.INI"), "[Voicemail]\r\nForwardEmailSubject=New message\r\nRecLengthMin=4\r\n");
    folder.write(QStringLiteral("VmEmailForwardBody.txt"), "Dear,\r\nyou have mail\r\n");

    ASSERT_EQ(run(folder.path(), {QStringLiteral("--close-after-load")}), 0);

    EXPECT_EQ(folder.read(QStringLiteral("data/VmBoxList.xml")), kHead + kBox10 + kBox9 + kTail);
    EXPECT_EQ(folder.read(QStringLiteral("VmEmailForwardBody.txt")), QByteArray("Dear,\r\nyou have mail\r\n"));
    EXPECT_EQ(folder.read(QStringLiteral("QV.INI")),
              QByteArray("[Voicemail]\r\nForwardEmailSubject=New message\r\nRecLengthMin=4\r\n"
                         "ForwardEmailMechanism=MAPI\r\nForwardEmailSmtpServer=\r\nForwardEmailSmtpEmailAddress=\r\n"
                         "FtpServer=\r\nFtpDir=\r\nFtpUser=\r\nFtpPassword=\r\nRunCommandAfterRec=\r\n"));
}
