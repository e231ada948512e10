#include "check.h"

#include <cstdio>
#include <cstdlib>

namespace kzq {

// The message keeps the form "..., line <n>" that the check numbers have
// always been reported in.
void CheckFailed(const char* condition, int number) {
    std::fprintf(stderr, "Assertion failed: %s, file kzqlogic, line %d\n", condition, number);
    std::fflush(stderr);
    std::abort();
}

}  // namespace kzq
