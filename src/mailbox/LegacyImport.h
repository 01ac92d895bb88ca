#pragma once
// The legacy list VmBoxList.txt: comma-separated fields in double quotes,
// read field by field from the running text (a record may span lines), with
// the number of fields per record taken from the first line alone.

#include <QString>

#include <vector>

namespace vm::mailbox {

// Reads fields the way the classic sequential-file input statement does:
// blanks before a field are skipped; a field in double quotes runs to the
// next double quote (commas and line ends inside belong to it) and the rest
// up to the next comma or line end is dropped; any other field runs to the
// next comma or line end (CR or CR LF; a lone LF is an ordinary character)
// and loses its trailing blanks.
class LegacyFieldReader {
public:
    explicit LegacyFieldReader(QString text);

    // The next field; false when nothing is left to read. A comma at the
    // very end of the text still promises one (empty) field.
    bool read(QString& field);

private:
    qsizetype findDelimiter(qsizetype from) const;
    void consumeDelimiter();

    QString text_;
    qsizetype pos_ = 0;
    bool fieldPromised_ = false;
};

enum class LegacyField { Id, Pin, Groups, Description, EmailForward, PhoneForward, PagerNumber, PagerMessage };

// The fields of every record, chosen by how often the three characters
// "," (quote, comma, quote) occur in the first line.
std::vector<LegacyField> legacyLayout(const QString& firstLine);

}  // namespace vm::mailbox
