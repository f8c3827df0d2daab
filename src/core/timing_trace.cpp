#include "core/timing_trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace timing {
bool enabled() {
    static const bool on = [] {
        const char* value = std::getenv("SCRIBO_TIMING_TRACE");
        return value && std::strcmp(value, "1") == 0;
    }();
    return on;
}

void mark(const char* event, int detail) {
    if (!enabled()) return;
    using namespace std::chrono;
    const double ms = duration<double, std::milli>(steady_clock::now().time_since_epoch()).count();
    if (detail >= 0)
        std::fprintf(stderr, "scribo-timing %.3f %s %d\n", ms, event, detail);
    else
        std::fprintf(stderr, "scribo-timing %.3f %s\n", ms, event);
    std::fflush(stderr);
}
}  // namespace timing
