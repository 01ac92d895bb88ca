#pragma once
// Module-level state of the error-trapping module (modFailSafe): its
// settings from FSCLIENT.INI, the call stack, the error record and the trace
// sinks. One instance for the whole run, owned by this module and touched
// only on the user-interface thread.

#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <optional>

namespace vm::failsafe {

class MonitorLink;

inline constexpr int kMaxFrames = 1000;  // frames 1..1000; slot 0 is the bottom entry
inline constexpr int kErrorSlots = 11;   // error record slots 0..10
inline const QString kFailSafeVersion = QStringLiteral("6.6 (for Visual Basic 5.0 and 6.0)");

// FSCLIENT.INI, as read by fsSTART. Booleans start false and strings empty;
// only "Log File"/"CircularLog" and "CircularLog"/"FileName" are read when the
// settings file is missing.
struct Settings {
    bool circularLog = false;
    QString circularFileName;
    std::int16_t recordSize = 512;
    std::int16_t maxRecords = 100;
    bool forceSystemInfo = false;
    QString emailAddress;
    bool writeToDisk = false;
    bool captureToDisk = false;
    QString logFileName;  // as read ("error.log" when empty), only with Write To Disk on
    QString logFile;      // where it goes, placed by fsSTART
    bool silentRun = false;
    bool displayMode = false;
    bool includeResources = false;
    bool includeMemory = false;
    bool includeArguments = false;
    bool includeUser = false;
    QString bugDatabase;
    QString bugAddress;
    QString bugProject;
    QString bugAssignedTo;
    bool attachLog = false;
};

struct CallStack {
    std::array<QString, kMaxFrames + 1> entry;  // slot 0: bottom entry
    std::array<std::int16_t, kMaxFrames + 1> codePointer{};
    std::array<std::int64_t, kMaxFrames + 1> frameTime{};  // slot 0: program start time
    std::int32_t depth = 0;
};

struct ErrorSlot {
    QString category;  // category name + " error"
    QString moduleTrail;
    QString procedureTrail;
    std::int32_t line = 0;
    QString source;  // source + " (local)" / " (remote)"
    std::int32_t number = 0;
    QString description;
};

struct ErrorRecord {
    std::array<ErrorSlot, kErrorSlots> slot;
    std::int16_t remoteLevels = 0;
    std::array<QString, kMaxFrames + 1> stackCopy;  // slot 0: depth text
    std::int16_t codePointer = 0;
    QString systemInfo;
    QString userComment;
    std::optional<int> dialogResult;
};

struct CircularLog {
    bool on = false;
    QString path;
    int fd = -1;  // open file, -1 when closed
    std::int16_t recordSize = 512;
    std::int16_t maxRecords = 100;
    std::int32_t nextRecord = 0;
};

struct FailSafeState {
    bool started = false;
    QString appFolder;     // without trailing separator
    QString settingsPath;  // appFolder + "/FSCLIENT.INI"
    QString appTag;        // "[" + exe name + "] "
    Settings settings;
    CallStack stack;
    ErrorRecord error;
    CircularLog circular;
    std::int32_t lineCounter = 0;
    std::int64_t startTime = 0;        // ms clock at start-up
    std::int64_t entryCorrection = 0;  // monitor self-timing, ms
    std::int64_t exitCorrection = 0;
    std::int64_t timingNote = -1;  // start of a measured call, -1 when none
    bool devEnvironment = false;
    bool monitorPresent = false;
    QString monitorName;  // title of the monitor found
    std::shared_ptr<MonitorLink> monitorLink;
    bool dialogShowing = false;
    QString ownSource;  // source text of this program's errors
    QString startNote;  // why a log named in the settings is off; ends the start line
};

FailSafeState& state();

// Back to the state before fsSTART, for tests that start the module afresh.
void resetState();

// The module's numbered message table; "" for numbers not in it.
QString message(int number);

}  // namespace vm::failsafe
