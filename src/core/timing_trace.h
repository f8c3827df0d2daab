#pragma once

// An opt-in trace for the latency benchmarks: with SCRIBO_TIMING_TRACE=1 in the environment,
// each mark writes "scribo-timing <ms> <event>" to standard error at once, <ms> being the
// monotonic clock (steady_clock, the same clock in every process of the machine) in
// milliseconds with microseconds. Without the variable a mark costs one test of a flag.
namespace timing {
bool enabled();
void mark(const char* event, int detail = -1);
}  // namespace timing
