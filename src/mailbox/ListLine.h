#pragma once
// One line of the list file read as text: a tag's value, and a whole record.

#include <QString>

#include <cstdint>

namespace vm {

QString XmlTagValue(const QString& line, const QString& startMarker, const QString& endMarker);

// 0 when the line holds a record, -1 when it holds no Id (then only Id is set).
std::int16_t VmbParseXmlLine(const QString& line, QString& Id, QString& Pin, QString& Groups, QString& Description,
                             QString& EmailForward, QString& PhoneForward, QString& PagerNumber, QString& PagerMessage,
                             QString& OnReceive, std::int16_t& FtpUpload, std::int16_t& DeleteAfterForward);

}  // namespace vm
