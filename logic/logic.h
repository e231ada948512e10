// The library's one global object: everything the library knows lives here,
// built when the library is loaded and never freed.
#pragma once

#include <cstdint>

#include "computer.h"
#include "game.h"
#include "records.h"
#include "reply.h"

namespace kzq {

struct Logic {
    char replyBuffer[kReplySize];
    int replyPos;
    std::uint32_t ambiguousMoves[4];  // the choices of the last ambiguous selection, by kind
    CardWeights cardWeight;
    std::uint8_t hallOrder[kMaxPlayerRecords];  // record indices in Hall of Fame order
    Game game;
    RecordsFound recordsFound = RecordsFound::kNone;  // by the last begin request

    Logic();
};

extern Logic theLogic;

inline Game& TheGame() {
    return theLogic.game;
}

// Rebuilds the global object as at load (for tests; not exported).
void ResetLogic();

}  // namespace kzq
