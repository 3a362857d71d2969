#include "core/Assert.h"

#include <cstdio>
#include <cstdlib>

void DruvelAssertFailed(const char* condition, const char* file, int line) noexcept {
    std::fprintf(stderr, "Assertion failed: %s, file %s, line %d\n", condition, file, line);
    std::fflush(stderr);
    std::abort();
}
