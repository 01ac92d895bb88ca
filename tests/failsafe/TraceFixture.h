#pragma once
// A fresh error module for each test: its own application folder, a fixed
// executable name, a hand-driven clock, fixed memory figures, and a private
// temporary folder (with no runtime folder) so no monitor running on the
// machine is found by accident.

#include "failsafe/ErrorDialogHost.h"
#include "failsafe/FailSafe.h"
#include "failsafe/FailSafeHooks.h"
#include "failsafe/FailSafeState.h"
#include "support/EnvironmentScope.h"
#include "support/Overrides.h"
#include "support/TempAppFolder.h"

#include "platform/AnsiText.h"
#include "platform/AppFolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>

namespace vm::test {

using namespace Qt::StringLiterals;

inline const QString kForm = u"frmVmailCfg.frm"_s;

// The error report dialog's stand-in: keeps the report text it is given and
// answers `answer` once `onShow` has run.
class StubDialog : public failsafe::ErrorDialogHost {
public:
    void setSystemInfoText(const QString& text) override { report = text, ++reportsSet; }
    QString systemInfoText() const override { return report; }
    int showModal() override { return ++shown, onShow(), answer; }
    QString comment() const override { return {}; }
    void unload() override {}
    int answer = 0, shown = 0, reportsSet = 0;
    QString report;
    std::function<void()> onShow = [] {};
};

class TraceFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        overrides_.replace(platform::executableNameSource(), u"RiVaVaz"_s);
        overrides_.replace(failsafe::clock(), [this] { return now_; });
        overrides_.replace(failsafe::memorySource(), [] { return platform::MemoryStatus{42, 0, 23134208}; });
        overrides_.replace(failsafe::stopHook(), [this] { ++stops_; });
    }

    void writeSettings(const QString& text) const { app_.write(u"FSCLIENT.INI"_s, platform::encodeAnsi(text)); }
    static void push(const QString& proc, const QString& args = u"()"_s, const QString& module = kForm)
    {
        failsafe::fsPUSH(module, proc, args);
    }
    static void pop(const QString& proc, const QString& args = u"()"_s, const QString& module = kForm)
    {
        failsafe::fsPOP(module, proc, args);
    }
    QStringList fileLines(const QString& name, Qt::SplitBehavior how = Qt::KeepEmptyParts) const
    {
        return platform::decodeAnsi(app_.read(name)).split(u"\r\n"_s, how);
    }

    QTemporaryDir sockets_;
    TempAppFolder app_;
    std::int64_t now_ = 1000000;
    int stops_ = 0;
    Overrides overrides_;
    EnvironmentScope environment_{{"TMPDIR", QFile::encodeName(sockets_.path())}, {"XDG_RUNTIME_DIR", {}}};
};

}  // namespace vm::test
