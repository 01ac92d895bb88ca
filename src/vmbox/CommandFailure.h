#pragma once
// How a vmbox command gives up: the lines it leaves on standard error (each
// without the program's name) and its exit status. It is raised before
// anything has been written, or once what was written has been taken back,
// so a failed command has changed nothing; where taking back failed too,
// its lines say what was done.

#include <QString>
#include <QStringList>

#include <exception>

namespace vm::vmbox {

inline constexpr int kExitBadData = 1;
inline constexpr int kExitBadUsage = 2;

class CommandFailure : public std::exception {
public:
    CommandFailure(int exitStatus, QStringList lines) : exitStatus_(exitStatus), lines_(std::move(lines)) {}
    int exitStatus() const { return exitStatus_; }
    const QStringList& lines() const { return lines_; }
    const char* what() const noexcept override { return "command failed"; }

private:
    int exitStatus_;
    QStringList lines_;
};

[[noreturn]] inline void failData(const QString& line) { throw CommandFailure(kExitBadData, {line}); }
[[noreturn]] inline void failUsage(const QString& line) { throw CommandFailure(kExitBadUsage, {line}); }

}  // namespace vm::vmbox
