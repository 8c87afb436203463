#include <benchmark/benchmark.h>

// The one entry point of the core benchmark program; each benchmark file
// only registers its cases.
BENCHMARK_MAIN();
