#include "CsvWriter.h"

#include <algorithm>

namespace vm::vmbox {

namespace {

bool needsQuotes(const QString& value)
{
    return std::any_of(value.cbegin(), value.cend(),
                       [](QChar c) { return c == u',' || c == u'"' || c == u'\r' || c == u'\n'; });
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
