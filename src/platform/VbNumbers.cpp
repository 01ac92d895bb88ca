#include "VbNumbers.h"

#include "RuntimeError.h"

#include <cmath>
#include <limits>

namespace vm::platform {

double roundHalfEven(double value)
{
    // nearbyint honours the current rounding mode, which is to-nearest-even
    // unless someone changed it; do not depend on that.
    const double lower = std::floor(value);
    const double diff = value - lower;
    if (diff < 0.5)
        return lower;
    if (diff > 0.5)
        return lower + 1.0;
    return std::fmod(lower, 2.0) == 0.0 ? lower : lower + 1.0;
}

std::int16_t toInt16(long long value)
{
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max())
        raiseError(err::Overflow);
    return static_cast<std::int16_t>(value);
}

std::int32_t toInt32(long long value)
{
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        raiseError(err::Overflow);
    return static_cast<std::int32_t>(value);
}

static long long roundedInRange(double value, double lo, double hi)
{
    if (std::isnan(value))
        raiseError(err::Overflow);
    const double r = roundHalfEven(value);
    if (r < lo || r > hi)
        raiseError(err::Overflow);
    return static_cast<long long>(r);
}

std::int16_t roundToInt16(double value) { return static_cast<std::int16_t>(roundedInRange(value, -32768.0, 32767.0)); }

std::int32_t roundToInt32(double value)
{
    return static_cast<std::int32_t>(roundedInRange(value, -2147483648.0, 2147483647.0));
}

}  // namespace vm::platform
