#pragma once
#include <cstdio>
#include <cstdlib>

// Ends the run as a finding when a rule breaks one of its promises; libFuzzer keeps the input.
inline void require(bool holds, const char* promise)
{
    if (!holds) {
        std::fprintf(stderr, "broken promise: %s\n", promise);
        std::abort();
    }
}
