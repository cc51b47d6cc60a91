// A property check for the fuzz targets: a broken property must stop the run with a
// crash, so that libFuzzer saves the input, whether or not the build has NDEBUG.
#pragma once

#include <cstdio>
#include <cstdlib>

#define KVL_FUZZ_CHECK(condition)                                                                            \
    do {                                                                                                     \
        if (!(condition)) {                                                                                  \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__);           \
            std::abort();                                                                                    \
        }                                                                                                    \
    } while (false)
