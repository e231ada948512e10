// The words for a move: what a player just did, told in a sentence such as
// "Benjamin Cox took the 6 of clubs and the 3 of hearts with the 9 of
// diamonds", built only from the items of the move's reply (where cards left
// and arrived, the tag of a build or block, the score lines). The program
// keeps no rules, so the words say only what the reply shows. Pure functions:
// the reply handlers call them, and tests feed them recorded replies.
#pragma once

#include <QString>
#include <string>
#include <vector>

#include "core/mirror.h"

// One item of a reply: its code and its text up to the next item.
struct ReplyItem {
    char code;
    std::string text;
};
// The items of a reply text in order, the terminator "</>" as code '/'; the
// words are read from them, and the tests read replies with it too.
std::vector<ReplyItem> ReplyItems(const std::string& reply);

// What the words need besides the reply, as it stood before the move.
struct MoveContext {
    Checked<std::string, 1, 2> names;  // wire text
    // Each player's sweeps, from the last score lines.
    Checked<int, 1, 2> sweeps;
    // The rank value of the bottom card of each table pile, 0 for an empty
    // column: a tag "A" over an ace is a build of 14 on any other card and a
    // block of aces on an ace.
    Checked<int, 1, kNumColumns> bottomRank;
};

// True when `reply` opens as a computer's move does: the card it plays shown
// face up in its hand, then the pause before the move.
bool IsComputerMove(const std::string& reply);

// A card as the words need it: its wire form, rank and suit characters.
struct WireCard {
    char rank = 0;
    char suit = 0;
};
// What a hint's words need: the hand card it plays, the player's other hand
// cards, the table piles it uses (each pile's cards, first card first, and
// its tag letter or 0), how many piles the table holds, and whether a column
// is free for a card put down.
struct HintTable {
    WireCard handCard;
    std::vector<WireCard> otherHandCards;
    struct Pile {
        std::vector<WireCard> cards;
        char tag = 0;
    };
    std::vector<Pile> chosen;
    int occupiedPiles = 0;
    bool freeColumn = true;
};
// The hint's move told from the player's side, "Take the 8 of clubs with
// the 8 of hearts", and on a second line what it gains: "It wins 2 cards
// and a sweep.". The same words as the move sentences. Empty when the cards
// make no move the words know.
QString DescribeHint(const HintTable& hint);
// The kind of move those words name, as the answer to the Choose Action
// question: the same cards may also allow another kind, and the hint
// accepted plays the one it named. 0 when the words name none.
enum MoveChoice { kBuildChoice = 1, kTakeChoice = 2, kBlockChoice = 3, kPutChoice = 4 };
int HintChoice(const HintTable& hint);

// The sentence for the move that `reply` reports and, on a second line, the
// pickup of the last cards that ends a round; empty when the reply reports
// no move (a deal, a menu, an error, a Hall of Fame row).
QString DescribeMove(const std::string& reply, const MoveContext& before);
