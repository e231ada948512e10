// Helpers for the tests of play: seating two players, laying out an exact
// position (table, hands, stock) that moves can then be played from, reading
// the move list, and driving scripted or computer moves through requests.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "logic.h"
#include "moves.h"
#include "test_support.h"

namespace kzq::test {

// A fresh library, begun with 9 columns; both players human unless levels say
// otherwise. The delay is 5, so that "D" items are recognisable.
inline void Seat(int level1 = 0, int level2 = 0) {
    FreshLibrary();
    Call("<B>9<I>55<I>1" + std::to_string(level1) + "Ann<I>2" + std::to_string(level2) + "Bob</>");
}

inline Card C(const std::string& text) {
    return ParseCard(text.at(0), text.at(1));
}

// One table column, bottom card first; `block` marks a block.
struct Pile {
    std::vector<std::string> cards;
    bool block = false;
};

// Lays out a position on a seated library: table columns 0.. as given, the
// hands ("" leaves a slot empty), the player to move and the moves made so
// far. Every card not placed goes to the stock, so that 52 cards are in play
// and moves can be applied (a card placed twice stands for an unplaced one).
inline void Arrange(const std::vector<Pile>& table, const std::vector<std::string>& hand1,
                    const std::vector<std::string>& hand2, int toMove = 0, int moveNr = 0) {
    Game& g = TheGame();
    for (Stack& s : g.tableau)
        s.Clear();
    for (Player& p : g.players) {
        p.pile.Clear();
        p.hand.Clear();
        p.sweeps = 0;
    }
    g.deck.Clear();
    bool used[5][14] = {};
    int placed = 0;
    auto place = [&](const std::string& text) {
        Card c = C(text);
        used[c.suit][c.rank] = true;
        ++placed;
        return c;
    };
    for (std::size_t col = 0; col < table.size(); ++col) {
        Stack& s = g.tableau[col];
        for (const auto& text : table[col].cards)
            s.Push(place(text));
        if (table[col].block) s.isBlock = 1, s.value = s.cards[0].rank;
    }
    g.RecountPiles();
    const std::vector<std::string>* hands[2] = {&hand1, &hand2};
    for (int p = 0; p < 2; ++p)
        for (std::size_t slot = 0; slot < hands[p]->size(); ++slot)
            if (!(*hands[p])[slot].empty())
                g.players[p].hand.Set(place((*hands[p])[slot]), int(slot));
    for (int s = kClubs; s <= kSpades; ++s)
        for (int r = 1; r <= 13; ++r)
            if (!used[s][r] && placed + g.deck.numCards < kSizeDeck)
                g.deck.Push(Card{std::uint8_t(r), std::uint8_t(s)});
    g.curPlayer = &g.players[toMove];
    g.moveNr = moveNr;
    g.numMoves = 0;
    for (auto& m : theLogic.ambiguousMoves)
        m = 0;
}

// "Put1", "Build0@1", "Take3@01": kind, hand slot and 0-based columns.
inline std::string Describe(Move m) {
    static const char* const kKinds[] = {"Build", "Take", "Block", "Put"};
    std::string s = kKinds[MoveKindOf(m)] + std::to_string(MoveSlot(m));
    if (MoveMask(m) != 0) {
        s += '@';
        for (int c = 0; c < kMaxColumns; ++c)
            if (InMask(m, c)) s += char(c < 10 ? '0' + c : 'a' + c - 10);
    }
    return s;
}

// Generates the move list of the player to move and describes it.
inline std::vector<std::string> ListedMoves() {
    GenerateMoves(TheGame(), theLogic.cardWeight);
    std::vector<std::string> out;
    for (int i = 0; i < TheGame().numMoves; ++i)
        out.push_back(Describe(Move(TheGame().moves[i])));
    return out;
}

// The entries of `list` that start with `prefix` ("Take0", "Block").
inline std::vector<std::string> Only(const std::vector<std::string>& list,
                                     const std::string& prefix) {
    std::vector<std::string> out;
    for (const auto& m : list)
        if (m.compare(0, prefix.size(), prefix) == 0) out.push_back(m);
    return out;
}

// The scores of the list last generated, in list order.
inline std::vector<int> Scores() {
    std::vector<int> out;
    for (int i = 0; i < TheGame().numMoves; ++i)
        out.push_back(std::int16_t(TheGame().moves[i] >> 16));
    return out;
}

// The items of a reply with the given code, without "<c>".
inline std::vector<std::string> Texts(const std::string& reply, char code) {
    std::vector<std::string> out;
    for (const auto& item : Items(reply))
        if (item.size() >= 3 && item[1] == code) out.push_back(item.substr(3));
    return out;
}

// Puts the first card in the hand of the player to move.
inline std::string PutFirst() {
    const Game& g = TheGame();
    int slot = 0;
    while (slot < kMaxHand && !g.curPlayer->hand.Occupied(slot))
        ++slot;
    std::string who(1, char('1' + g.CurIndex()));
    return Call("<" + who + ">" + std::to_string(slot + 1) + "</>");
}

// Plays the round to its end: the request of `script` for the moves it names
// (by move number, 1 to 48), a Put of the first card in hand otherwise.
// Returns the reply of every move.
inline std::vector<std::string> PlayScript(const std::map<int, std::string>& script) {
    std::vector<std::string> replies;
    for (int move = 1; move <= kMovesPerRound; ++move) {
        auto it = script.find(move);
        replies.push_back(it != script.end() ? Call(it->second) : PutFirst());
        EXPECT_EQ(TheGame().moveNr, move) << replies.back();
    }
    return replies;
}

// Computer moves for whoever is to move until the round ends; the last reply.
inline std::string FinishRound() {
    for (int i = 0; i < 60; ++i) {
        std::string reply = Call("<C></>");
        if (reply.find("<M>") != std::string::npos) return reply;
    }
    ADD_FAILURE() << "the round did not end";
    return {};
}

// A round whose every card is known (starter player 1, Puts unless said):
// moves 1 to 5 fill the table (Tc Td Th 9c dealt, then Ac 8c 2c 7c 3c), moves
// 6 to 9 go to the capture piles, move 10 is player 2's Ts taking all nine
// columns; moves 11 to 19 fill the table again (Jc 9d Jd 2d Jh 8d 3d 4d 7d),
// and move 48 is player 2's Js taking all nine. Played that way, player 1
// ends with 16 cards (three aces, the 2 of spades, seven spades: 5 points)
// and player 2 with 36 (Ac, Td, two sweeps, 36 cards: 8 points).
inline std::vector<std::uint8_t> SweepRoundDeal() {
    return DealRecord({{"Ac", "2c", "3c", "4c", "8c", "7c", "Qd", "Kd"},
                       {"5c", "Jc", "Jd", "Jh", "Ts", "9d", "2d", "8d"},
                       {"3d", "7d", "6c", "Qc", "4d", "2h", "3h", "4h"},
                       {"Kc", "Ad", "5d", "6d", "5h", "6h", "7h", "8h"},
                       {"Ah", "As", "2s", "3s", "9h", "Qh", "Kh", "8s"},
                       {"4s", "5s", "6s", "7s", "9s", "Qs", "Ks", "Js"}},
                      {"Tc", "Td", "Th", "9c"});
}

inline const std::map<int, std::string> kSweepScript = {{10, "<2>1123456789</>"},
                                                        {48, "<2>4123456789</>"}};

}  // namespace kzq::test
