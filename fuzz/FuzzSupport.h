#pragma once

// Shared by the fuzz targets: one check macro that stops the run with the input saved, and the
// sanitizer defaults every target wants.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

// A broken invariant is a finding like a sanitizer report: print it and abort, so that libFuzzer
// keeps the input as crash-<hash>.
#define FUZZ_CHECK(condition)                                                                                          \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #condition);                     \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)

// For the targets' own reference models: their branches are no coverage worth steering by, and
// tracing every comparison in a loop over 65,536 pixels would cost most of the run.
#define FUZZ_MODEL __attribute__((no_sanitize("coverage")))

// Fresh heap memory is filled with 0xBE up to 4 MiB (the default stops at 4 KiB), so a pixel the
// code under test forgets to write shows up as a wrong alpha or colour instead of as whatever the
// allocator happened to hand out. Options given in ASAN_OPTIONS still take precedence.
extern "C" const char *__asan_default_options()
{
    return "malloc_fill_byte=190:max_malloc_fill_size=4194304";
}
