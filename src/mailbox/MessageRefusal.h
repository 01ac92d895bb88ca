#pragma once
// An operation on a message that is refused before anything changed: one
// line for the operator naming the file and the reason ("FILE: still being
// written ..."). System failures on the way stay run-time errors.

#include <QString>

#include <exception>

namespace vm::mailbox {

class MessageRefusal : public std::exception {
public:
    explicit MessageRefusal(QString line) : line_(std::move(line)) {}
    const QString& line() const { return line_; }
    const char* what() const noexcept override { return "message refused"; }

private:
    QString line_;
};

}  // namespace vm::mailbox
