#pragma once
// The lines of a long listing, each made on whichever core is free and
// joined in order after `first`.

#include <QByteArray>

#include <cstddef>
#include <functional>

namespace vm::vmbox {

// `line(i)` makes line i (0 .. count - 1); it is called from several threads at once.
QByteArray joinedLines(QByteArray first, std::size_t count, const std::function<QByteArray(std::size_t)>& line);

}  // namespace vm::vmbox
