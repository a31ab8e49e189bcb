#pragma once
// Memory figures of the running process for the benchmarks that measure
// peak memory in a child process of their own.

// A "VmRSS:" or "VmHWM:" figure of /proc/self/status in KiB, -1 when absent.
long StatusKiB(const char* Key);
