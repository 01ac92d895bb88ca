#include "ParallelLines.h"

#include "platform/ParallelFor.h"

#include <numeric>
#include <vector>

namespace vm::vmbox {

QByteArray joinedLines(QByteArray first, std::size_t count, const std::function<QByteArray(std::size_t)>& line)
{
    std::vector<QByteArray> lines(count);
    platform::parallelFor(count, platform::workerThreads(), [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i)
            lines[i] = line(i);
    });
    first.reserve(std::accumulate(lines.begin(), lines.end(), first.size(),
                                  [](qsizetype n, const QByteArray& l) { return n + l.size(); }));
    for (const QByteArray& l : lines)
        first += l;
    return first;
}

}  // namespace vm::vmbox
