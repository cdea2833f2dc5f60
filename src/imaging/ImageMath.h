#pragma once

#include <cmath>
#include <cstdint>

namespace pavlora {

// Rounding of the picture code. Plain rounding sends halves to the even
// neighbour (the floating-point default), so 2.5 → 2 and 3.5 → 4; a few
// places round halves up; integer division truncates toward zero (C++'s /).

inline std::int64_t RoundHalfEven(double value)
{
    return static_cast<std::int64_t>(std::nearbyint(value));
}

// The integer part of value + 0.5 (the sizes it is used on are positive).
inline std::int64_t RoundHalfUp(double value)
{
    return static_cast<std::int64_t>(std::trunc(value + 0.5));
}

} // namespace pavlora
