#pragma once
// Errors passed on by another component that uses the same error scheme: its
// error source text carries the component's own error record as a chain of
// "!"-separated fields.
//
//   count "!" then, for each remote frame from the outermost inwards,
//   source "!" module "!" procedure "!" line "!" number "!" description
//
// e.g. "1!MailLib!modSend.bas!Function SendNow!12!53!File not found".

#include "FailSafeState.h"

#include <QString>

#include <cstdint>
#include <vector>

namespace vm::failsafe {

inline const QString kUnknownField = QStringLiteral("<unknown>");

struct RemoteFrame {
    QString source;
    QString module;
    QString procedure;
    std::int32_t line = 0;
    std::int32_t number = 0;
    QString description;
};

// True when the source text announces a remote chain (it contains "!").
bool isRemoteSource(const QString& sourceText);

// The frames of a remote chain: as many as the leading count says (at most
// the slots the error record has). Missing text fields read "<unknown>",
// missing numbers 0.
std::vector<RemoteFrame> parseRemoteChain(const QString& sourceText);

// Stores the chain in slots 1..n of `record` and turns slot 0 into the local
// end of the chain: number 440, source `ownSource` + " (local)" and the
// description "Remote " + the standard description of `pendingNumber`; its
// category stays that of the number the error arrived with. Each
// remote slot's trails continue the trails of the slot before it, joined with
// " << ". Does nothing for a chain without frames.
void recordRemoteChain(ErrorRecord& record, const QString& sourceText, std::int32_t pendingNumber,
                       const QString& ownSource);

}  // namespace vm::failsafe
