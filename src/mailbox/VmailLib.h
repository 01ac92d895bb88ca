#pragma once
// The mailbox store (module VmailLib): the table VmbArray, its lookup and
// sort, the list file writer, the start-up load and the message
// file names. Not traced: errors are ignored locally or passed to the
// calling window procedure.

#include "MailboxTable.h"

#include <QString>

#include <cstdint>

namespace vm {

struct FolderLoad;

// The program's one mailbox table.
MailboxTable& VmbArray();

// First index 1..N whose Id equals `id` ignoring case; -1 when none or N < 1.
std::int16_t VmbFind(const QString& id);

// Shell sort of entries lo..hi on Id (case-insensitive text order).
void VmbSort(std::int16_t& lo, std::int16_t& hi);

// Writes the table to data/VmBoxList.xml (sorting it first); a table without
// boxes leaves the file untouched. Failures raise run-time errors.
void VmbSaveXML();

// Start-up load: legacy import, merge of the list file, deletion of the legacy file.
void VmbLoadArray();
// VmbLoadArray handing back what the load could not take from the list files.
FolderLoad VmbLoadArrayWithReport();
int VmbLoadArrayLoadTXT();
int VmbLoadArrayLoadXML();

// Message file names: Id_mmddhhnnss_1_line_caller.wav.
QString MsgFileNameNew(const QString& id, std::int16_t line);
void MsgFileNameParse(const QString& name, QString& newMarker, QString& caller);

}  // namespace vm
