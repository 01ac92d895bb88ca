#include "CsvWriter.h"

namespace vm::vmbox {

namespace {

bool needsQuotes(const QString& value)
{
    for (const QChar c : value) {
        if (c == u',' || c == u'"' || c == u'\r' || c == u'\n')
            return true;
    }
    return false;
}

}  // namespace

void appendCsvRecord(QString& out, const QStringList& fields)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        if (i > 0)
            out += u',';
        const QString& value = fields[i];
        if (needsQuotes(value) || (fields.size() == 1 && value.isEmpty())) {
            out += u'"';
            out += QString(value).replace(QLatin1Char('"'), QStringLiteral("\"\""));
            out += u'"';
        } else {
            out += value;
        }
    }
    out += QStringLiteral("\r\n");
}

}  // namespace vm::vmbox
