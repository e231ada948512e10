// Numbered deals: game number k takes its first stock from the k-th 52-byte
// record of the deals file, so that the same number always deals the same cards.
#pragma once

#include "cards.h"

namespace kzq {

constexpr int kMaxGameNumber = 32000;
constexpr char kDealsFile[] = "Games.py";

// Card of a deals-file byte (1 the ace of spades ... 52 the king of clubs).
Card DecodeDealByte(int b);
// Fills `deck` with deal k; false (deck untouched) when the caller must shuffle.
bool LoadNumberedDeal(Deck& deck, int k);

}  // namespace kzq
