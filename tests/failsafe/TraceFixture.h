#pragma once
// A fresh error module for each test: its own application folder, a fixed
// executable name, a hand-driven clock, fixed memory figures, and a private
// socket folder so no monitor running on the machine is found by accident.

#include "failsafe/FailSafeHooks.h"
#include "failsafe/FailSafeState.h"
#include "support/TempAppFolder.h"

#include "platform/AnsiText.h"
#include "platform/AppFolder.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>

namespace vm::test {

class TraceFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        previousTmp_ = qgetenv("TMPDIR");
        qputenv("TMPDIR", sockets_.path().toLocal8Bit());
        failsafe::resetState();
        setExecutableName(QStringLiteral("RiVaVaz"));
        failsafe::setClock([this] { return now_; });
        failsafe::setMemorySource([] {
            sys::MemoryStatus m;
            m.memoryLoad = 42;
            m.availPhysical = 23134208;
            return m;
        });
        failsafe::setStopHook([this] { ++stops_; });
    }

    void TearDown() override
    {
        failsafe::resetState();
        failsafe::setClock(nullptr);
        failsafe::setMemorySource(nullptr);
        failsafe::setStopHook(nullptr);
        failsafe::setMessageBoxHook(nullptr);
        failsafe::setWindowsEnabledHook(nullptr);
        if (previousTmp_.isNull())
            qunsetenv("TMPDIR");
        else
            qputenv("TMPDIR", previousTmp_);
    }

    void writeSettings(const QString& text) const { app_.write(QStringLiteral("FSCLIENT.INI"), ansi::encode(text)); }

    QString socketFolder() const { return sockets_.path(); }

    QTemporaryDir sockets_;
    TempAppFolder app_;
    std::int64_t now_ = 1000000;
    int stops_ = 0;

private:
    QByteArray previousTmp_;
};

}  // namespace vm::test
