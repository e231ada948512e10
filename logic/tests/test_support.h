// Helpers shared by the library's tests: calls through the protocol on a
// freshly built library state, and crafted files for records and deals.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "protocol.h"

namespace kzq::test {

// Rebuilds the library's global state as at load, and removes the files a
// previous test may have left in the working folder.
void FreshLibrary();

// Sends one request; returns the reply text.
std::string Call(const std::string& request);

// Splits a reply into items "<c>text" (the terminator included as "</>").
std::vector<std::string> Items(const std::string& reply);

// Writes the deals file with `records` (record 0 is filled with zeros).
// A record is 52 card bytes, first byte at the bottom of the stock.
void WriteDeals(const std::vector<std::vector<std::uint8_t>>& records);

// Builds a deal record from what each player should be dealt: the cards are
// given as wire text ("As", "Td", ...). Hands are given in dealing order per
// round of the deal: hands[k] = {p1 slot1..4, p2 slot1..4} for the k-th deal
// (0..5), table = the four first table cards in dealing order (columns
// h, h-1, h+1, h-2). Unnamed cards fill the rest in a fixed order.
std::vector<std::uint8_t> DealRecord(const std::vector<std::vector<std::string>>& hands,
                                     const std::vector<std::string>& table);

// Deals-file byte of a card given as wire text.
std::uint8_t DealByte(const std::string& card);

// Death-test pattern that matches exactly the message of a failed internal
// check: "Assertion failed: <condition>, file kzqlogic, line <check number>".
std::string CheckFailure(const std::string& condition, int number);

}  // namespace kzq::test
