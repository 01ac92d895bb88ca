#pragma once
// The free-space query of the statistics.

#include <QString>

#include <cstdint>

namespace vm::config {

// Bytes free for the calling user on the volume holding `root`; 0 when the
// query fails. On this platform give it any existing path on the volume (the
// application folder): a drive root such as "C:\" does not exist here.
std::int64_t GetFreeDiskSpace(const QString& root);

}  // namespace vm::config
