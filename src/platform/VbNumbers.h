#pragma once
// Whole-number rules of the program: 16-bit signed counts and indices that
// overflow with run-time error 6, 32-bit values likewise, and the rounding of
// reals to whole numbers (to nearest, halves to even).

#include <cstdint>

namespace vm::platform {

// Nearest whole number, a half going to the even neighbour (2.5 -> 2, 3.5 -> 4).
double roundHalfEven(double value);

// Raises error 6 unless value fits in -32768..32767.
std::int16_t toInt16(long long value);
// Raises error 6 unless value fits in the 32-bit signed range.
std::int32_t toInt32(long long value);
// Rounds half to even, then checks the range (error 6 when outside, also for NaN).
std::int16_t roundToInt16(double value);
std::int32_t roundToInt32(double value);

// A 16-bit signed count or index: arithmetic that leaves the range raises error 6.
class Int16 {
public:
    constexpr Int16() = default;
    Int16(long long value) : v_(toInt16(value)) {}          // NOLINT: implicit by design
    constexpr operator std::int16_t() const { return v_; }  // NOLINT
    Int16& operator+=(long long d)
    {
        v_ = toInt16(static_cast<long long>(v_) + d);
        return *this;
    }
    Int16& operator-=(long long d)
    {
        v_ = toInt16(static_cast<long long>(v_) - d);
        return *this;
    }
    Int16& operator++() { return *this += 1; }
    Int16& operator--() { return *this -= 1; }

private:
    std::int16_t v_ = 0;
};

}  // namespace vm::platform
