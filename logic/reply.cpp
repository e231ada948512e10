#include "reply.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace kzq {

const char kTwoDigits[201] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

void WriteItemf(char code, const char* format, ...) {
    char text[128];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(text, sizeof text, format, args);
    va_end(args);
    if (n < 0) return;
    if (n >= int(sizeof text)) n = int(sizeof text) - 1;
    WriteItem(code, text, n);
}

ItemText& ItemText::LongNumber(int v, int width) {
    if (unsigned(v) < 10000u && width == 4 && n_ <= kCapacity - 4) {  // the unseen-cards masks
        const char* hi = kTwoDigits + 2 * (v / 100);
        const char* lo = kTwoDigits + 2 * (v % 100);
        text_[n_++] = hi[0];
        text_[n_++] = hi[1];
        text_[n_++] = lo[0];
        text_[n_++] = lo[1];
        return *this;
    }
    unsigned magnitude = v < 0 ? 0u - unsigned(v) : unsigned(v);
    char digits[12];
    int count = 0;
    do {
        digits[count++] = char('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (v < 0) {
        Char('-');
        --width;
    }
    for (int i = count; i < width; ++i)
        Char('0');
    while (count > 0)
        Char(digits[--count]);
    return *this;
}

}  // namespace kzq
