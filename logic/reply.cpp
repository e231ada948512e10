#include "reply.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>

#include "logic.h"

namespace kzq {

namespace {
constexpr char kTerminator[] = "</>";
constexpr int kRoomForItems = kReplyLimit - 3;
}  // namespace

char PosDigit(int v) {
    if (v < -1) v = -1;
    if (v > 8) v = 8;
    return char('1' + v);
}

void ReplyReset() {
    theLogic.replyPos = 0;
    theLogic.replyBuffer[0] = 0;
}

void WriteItem(char code, const char* text, int len) {
    int& pos = theLogic.replyPos;
    if (pos + 3 + len > kRoomForItems) return;  // left out whole
    char* out = theLogic.replyBuffer + pos;
    out[0] = '<';
    out[1] = code;
    out[2] = '>';
    std::memcpy(out + 3, text, std::size_t(len));
    pos += 3 + len;
    theLogic.replyBuffer[pos] = 0;
}

void WriteItem(char code, const char* text) {
    WriteItem(code, text, int(std::strlen(text)));
}

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

ItemText& ItemText::Number(int v, int width) {
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

void WriteCardItem(char code, int index, int pos, Card c) {
    char text[4] = {PosDigit(index), PosDigit(pos), 0, 0};
    CardText(c, text + 2);
    WriteItem(code, text, 4);
}

int ReplyFinish(char* out) {
    int& pos = theLogic.replyPos;
    std::memcpy(theLogic.replyBuffer + pos, kTerminator, sizeof kTerminator);
    pos += 3;
    std::memcpy(out, theLogic.replyBuffer, std::size_t(pos) + 1);
    return pos;
}

}  // namespace kzq
