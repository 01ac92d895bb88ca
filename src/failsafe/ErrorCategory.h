#pragma once
// Classification of run-time error numbers into the error categories the
// error report names ("File System (disk, directory or file) access" ...).

#include <QString>

#include <cstdint>

namespace vm::failsafe {

// The category code of an error number: the first matching row of the
// category table; 15 ("User defined ") for an unlisted non-negative number,
// 62 for every negative number.
int errorCategory(std::int32_t number);

// The name of a category code, trailing blanks included; "Unknown Error
// Class" for a code without a name.
QString categoryName(int code);

// The category text the error record shows: name + " error".
QString categoryText(std::int32_t number);

}  // namespace vm::failsafe
