// The library's one global object: everything the library knows lives here,
// built when the library is loaded and never freed. Only the entry
// (protocol.cpp) reaches it by name; it hands every function below it what
// that function works on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "cards.h"
#include "computer.h"
#include "game.h"
#include "moves.h"
#include "records.h"
#include "reply.h"

namespace kzq {

struct Logic {
    Reply reply;  // first: the reply writer reaches it at the object's address (reply.h)
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
static_assert(std::is_standard_layout_v<Logic> && offsetof(Logic, reply) == 0,
              "the reply writer takes the object's address for the reply's");

inline Game& TheGame() {
    return theLogic.game;
}

// Rebuilds the global object as at load (for tests; not exported).
void ResetLogic();

}  // namespace kzq
