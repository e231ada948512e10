// The library's text protocol: the one exported entry and the dispatcher
// that runs each request item against the game and writes the reply items.
#pragma once

#include <cstdint>

#define CASINO_EXPORT __attribute__((visibility("default")))

extern "C" {
// Runs the request text and writes the reply (at least 1001 bytes of room) to
// `reply`; returns the reply's length, terminator included, NUL excluded.
CASINO_EXPORT std::int32_t CallTheLogic(const char* request, char* reply);
}

namespace kzq {

// The version banner; it starts with the records file's signature.
extern const char kVersionBanner[];

}  // namespace kzq
