#include "check.h"

#include <cstdio>
#include <cstdlib>

namespace kzq {

void CheckFailed(const char* condition, int line) {
    std::fprintf(stderr, "Assertion failed: %s, file kzqlogic, line %d\n", condition, line);
    std::fflush(stderr);
    std::abort();
}

}  // namespace kzq
