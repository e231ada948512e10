// The library's one global object: everything the library knows lives here,
// built when the library is loaded and never freed. Only the entry
// (protocol.cpp) reaches it by name; it hands every function below it what
// that function works on.
#pragma once

#include <cstdint>

#include "cards.h"
#include "computer.h"
#include "game.h"
#include "moves.h"
#include "records.h"
#include "reply.h"

namespace kzq {

struct Logic {
    char replyBuffer[kReplySize];  // written through replyText and replyEnd (reply.h)
    int replyPos;
    AmbiguousMoves ambiguousMoves;  // the choices of the last ambiguous selection, by kind
    CardWeights cardWeight;
    // Record indices in Hall of Fame order as last sorted: kept from one sort
    // request to the next, not redone when the records change.
    std::uint8_t hallOrder[kMaxPlayerRecords];
    RandomSource random;  // behind every shuffle
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
