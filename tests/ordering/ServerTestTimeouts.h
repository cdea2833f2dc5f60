#pragma once

#include "ordering/INA.h"

#include <chrono>

namespace pavlora::test {

// Time-outs for transfers to a server on loopback: short enough that a
// hanging test fails quickly, long enough for a loaded machine.
inline TINATimeouts ServerTestTimeouts()
{
    TINATimeouts timeouts;
    timeouts.connect = std::chrono::milliseconds(3000);
    timeouts.read = std::chrono::milliseconds(10000);
    return timeouts;
}

} // namespace pavlora::test
