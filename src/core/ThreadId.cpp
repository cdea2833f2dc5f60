#include "core/ThreadId.h"

#include <unistd.h>

namespace pavlora {

std::int64_t CurrentThreadId()
{
    thread_local const std::int64_t id = ::gettid();
    return id;
}

} // namespace pavlora
