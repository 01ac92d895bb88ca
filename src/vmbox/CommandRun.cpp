#include "CommandRun.h"

#include "SafeText.h"

namespace vm::vmbox {

void CommandRun::print(const QString& line) const
{
    out_.write((withControlsEscaped(line) + QLatin1Char('\n')).toUtf8());
}

}  // namespace vm::vmbox
