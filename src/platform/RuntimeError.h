#pragma once
// The classic numbered run-time error: every failure that a traced procedure
// can meet travels as one of these, so the error module can classify it by
// number and show the description the operator knows.

#include <QString>
#include <exception>
#include <new>
#include <string>

namespace vm::platform {

// Source text of errors raised by this program itself.
inline const QString kProjectName = QStringLiteral("VoicemailManager");

struct err {
    static constexpr int InvalidProcedureCall = 5;
    static constexpr int Overflow = 6;
    static constexpr int OutOfMemory = 7;
    static constexpr int SubscriptOutOfRange = 9;
    static constexpr int DivisionByZero = 11;
    static constexpr int TypeMismatch = 13;
    static constexpr int InternalError = 51;
    static constexpr int BadFileNameOrNumber = 52;
    static constexpr int FileNotFound = 53;
    static constexpr int BadFileMode = 54;
    static constexpr int FileAlreadyOpen = 55;
    static constexpr int DeviceIOError = 57;
    static constexpr int FileAlreadyExists = 58;
    static constexpr int DiskFull = 61;
    static constexpr int InputPastEndOfFile = 62;
    static constexpr int TooManyFiles = 67;
    static constexpr int DeviceUnavailable = 68;
    static constexpr int PermissionDenied = 70;
    static constexpr int DiskNotReady = 71;
    static constexpr int PathFileAccessError = 75;
    static constexpr int PathNotFound = 76;
};

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

// As ignoreErrors, except that running out of memory is no error a step may
// pass over: it goes on to the caller (as std::bad_alloc or error 7), which
// must not take a half-done read or load for a whole one.
template <class Step>
bool ignoreErrorsButMemory(Step&& step)
{
    try {
        step();
        return true;
    } catch (const std::bad_alloc&) {
        throw;
    } catch (const RuntimeError& e) {
        if (e.number() == err::OutOfMemory)
            throw;
        return false;
    } catch (...) {
        return false;
    }
}

// Converts whatever escaped a procedure body into a run-time error, so the
// error handler always has a number to classify: out-of-memory becomes 7,
// anything unknown 51.
RuntimeError toRuntimeError(std::exception_ptr failure);

}  // namespace vm::platform
