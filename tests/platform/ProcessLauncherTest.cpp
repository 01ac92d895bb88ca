#include "platform/ProcessLauncher.h"
#include "support/EnvironmentScope.h"
#include "support/ErrorNumberOf.h"
#include "support/RecorderFolder.h"

#include <QFile>

#include <gtest/gtest.h>

TEST(ProcessLauncher, ProgramsThatCannotBeStartedRaiseTheirErrors)
{
    vm::test::RecorderFolder dir;
    dir.write("garbage", "\177ELF?");
    const std::pair<QString, int> cases[] = {
        {" \t ", vm::platform::err::InvalidProcedureCall},
        {"vm-no-such-recorder x", vm::platform::err::FileNotFound},        // looked up on PATH
        {dir.path("My\\ Tools/rec.sh"), vm::platform::err::FileNotFound},  // no escapes: two words
        {dir.path(QString()), vm::platform::err::PermissionDenied},        // a folder
        {dir.path("garbage"), vm::platform::err::InvalidProcedureCall},
    };
    for (const auto& [line, error] : cases)
        EXPECT_EQ(vm::test::errorNumberOf(
                      [&words = line] { vm::platform::startProgram(vm::platform::splitCommandLine(words)); }),
                  error)
            << line.toStdString();
}

TEST(ProcessLauncher, PassesEveryWordLiterallyWithoutAShell)
{
    vm::test::RecorderFolder dir;
    const QString trap = dir.path("shell-ran");
    QStringList words = vm::platform::splitCommandLine(dir.path("rec.sh") + " \t /data/My Box ;touch " + trap +
                                                       " $(touch " + trap + ") *");
    vm::platform::startProgram(words << "/data/My Box/1.wav");
    EXPECT_EQ(dir.awaitArguments(),
              (QStringList{"/data/My", "Box", ";touch", trap, "$(touch", trap + ")", "*", "/data/My Box/1.wav"}));
    EXPECT_FALSE(QFile::exists(trap));
}

TEST(ProcessLauncher, FindsABareProgramNameOnPath)
{
    vm::test::RecorderFolder dir;
    const vm::test::EnvironmentScope path({{"PATH", QFile::encodeName(dir.dir.path()) + ":" + qgetenv("PATH")}});
    vm::platform::startProgram({"rec.sh", "one"});
    EXPECT_EQ(dir.awaitArguments(), QStringList{"one"});
}
