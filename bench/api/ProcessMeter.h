// What a benchmark reads off its own process: wall time, CPU time and resident memory.
#pragma once

#include <chrono>

namespace bench {

double wallSeconds();
// User plus system time of the whole process (every thread), in seconds.
double cpuSeconds();
// Resident set size, in MiB, from /proc/self/status.
double residentMiB();

} // namespace bench
