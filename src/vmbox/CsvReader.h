#pragma once
// Comma-separated values as spreadsheets and telephone-system portals write
// them (RFC 4180): fields separated by commas, records by line ends (CR LF,
// or a lone CR or LF); a field in double quotes may hold commas, line ends
// and doubled quotes. Blank lines are skipped. The bytes are UTF-8 when they
// start with its byte-order mark or are valid UTF-8 holding non-ASCII
// characters, and windows-1252 otherwise.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <exception>
#include <optional>
#include <vector>

namespace vm::vmbox {

// What is wrong where: line and field number, both counted from 1.
class CsvError : public std::exception {
public:
    CsvError(int line, int column, QString what) : line_(line), column_(column), what_(std::move(what)) {}
    int line() const { return line_; }
    int column() const { return column_; }
    const QString& message() const { return what_; }
    const char* what() const noexcept override { return "CSV error"; }

private:
    int line_;
    int column_;
    QString what_;
};

struct CsvRecord {
    QStringList fields;
    std::vector<int> lines;  // the line each field starts on
};

enum class CsvEncoding { Windows1252, Utf8 };

class CsvReader {
public:
    // Decodes `bytes` in the encoding given, or the one recognised; raises
    // CsvError for UTF-16 and UTF-32 text (named with their byte order, marked
    // or not) and for UTF-8 that is not well-formed.
    explicit CsvReader(const QByteArray& bytes, std::optional<CsvEncoding> encoding = std::nullopt);

    CsvEncoding encoding() const { return encoding_; }
    // True when UTF-8 was chosen for the content alone: windows-1252 text
    // whose bytes happen to form UTF-8 is read so too.
    bool guessedUtf8() const { return guessedUtf8_; }

    // The next record; false when none is left. Raises CsvError for a quote
    // that is never closed, text after a closing quote and a quote inside an
    // unquoted field.
    bool next(CsvRecord& record);

private:
    void skipLineEnd();
    QString quotedField(int column);
    QString plainField(int column);

    QString text_;
    qsizetype pos_ = 0;
    int line_ = 1;
    CsvEncoding encoding_ = CsvEncoding::Windows1252;
    bool guessedUtf8_ = false;
};

// Byte offset of the first byte that is not part of well-formed UTF-8; -1
// when there is none.
qsizetype firstInvalidUtf8(const QByteArray& bytes);

}  // namespace vm::vmbox
