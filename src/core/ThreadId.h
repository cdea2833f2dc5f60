#pragma once

#include <cstdint>

namespace pavlora {

// The kernel's id of the calling thread (what `ps -L` and gdb show), used in
// log lines so that a report can be matched with a thread of a running
// program.
std::int64_t CurrentThreadId();

} // namespace pavlora
