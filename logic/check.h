// Internal checks of the logic library.
//
// A broken invariant (a card lost, a pile overfilled) means the game state can
// no longer be trusted, so the process ends with a message naming the check and
// its fixed check number rather than carrying on with corrupt state.
#pragma once

namespace kzq {

[[noreturn]] void CheckFailed(const char* condition, int number);

}  // namespace kzq

// KZQ_CHECK(condition, "condition text", check number)
#define KZQ_CHECK(cond, text, number)                  \
    do {                                               \
        if (!(cond)) ::kzq::CheckFailed(text, number); \
    } while (0)
