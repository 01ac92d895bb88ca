#pragma once
// The classic numbered run-time error: every failure that a traced procedure
// can meet travels as one of these, so the error module can classify it by
// number and show the description the operator knows.

#include <QString>
#include <exception>
#include <string>

namespace vm {

// Source text of errors raised by this program itself.
inline const QString kProjectName = QStringLiteral("VoicemailManager");

namespace err {
inline constexpr int InvalidProcedureCall = 5;
inline constexpr int Overflow = 6;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int DivisionByZero = 11;
inline constexpr int TypeMismatch = 13;
inline constexpr int InternalError = 51;
inline constexpr int BadFileNameOrNumber = 52;
inline constexpr int FileNotFound = 53;
inline constexpr int BadFileMode = 54;
inline constexpr int FileAlreadyOpen = 55;
inline constexpr int DeviceIOError = 57;
inline constexpr int FileAlreadyExists = 58;
inline constexpr int DiskFull = 61;
inline constexpr int InputPastEndOfFile = 62;
inline constexpr int TooManyFiles = 67;
inline constexpr int DeviceUnavailable = 68;
inline constexpr int PermissionDenied = 70;
inline constexpr int DiskNotReady = 71;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
}  // namespace err

// The standard description of a run-time error number, or
// "Application-defined or object-defined error" for numbers without one.
QString standardErrorDescription(int number);

class RuntimeError : public std::exception {
public:
    explicit RuntimeError(int number);
    RuntimeError(int number, QString description, QString source = kProjectName);

    int number() const noexcept { return number_; }
    const QString& description() const noexcept { return description_; }
    const QString& source() const noexcept { return source_; }
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int number_;
    QString description_;
    QString source_;
    std::string what_;
};

// Raises the run-time error `number` with its standard description.
[[noreturn]] void raiseError(int number);

// Runs `step` and swallows any run-time error it raises: the "errors are
// ignored, the next step runs" statements. Returns false when it failed.
template <class Step>
bool ignoreErrors(Step&& step) noexcept
{
    try {
        step();
        return true;
    } catch (...) {
        return false;
    }
}

// Converts whatever escaped a procedure body into a run-time error, so the
// error handler always has a number to classify: out-of-memory becomes 7,
// anything unknown 51.
RuntimeError toRuntimeError(std::exception_ptr failure);

}  // namespace vm
