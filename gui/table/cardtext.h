// Card text of the program: a card's wire form (rank and suit characters) and
// its picture number, the ranks of the card backs, the rows of the
// remaining-cards panel, the names of cards and ranks in words, and the
// single-byte wire text of names shown on screen.
#pragma once

#include <QString>
#include <string>

// Rank value of a rank character: A 1, 2 to 9, T 10, J 11, Q 12, K 13; 0 for any other.
int RankValue(char rank);
// The rank character of a value 1 to 13; RangeError otherwise.
char RankChar(int value);

// Picture number of a card: rank value plus 0 clubs, 13 diamonds, 26 hearts,
// 39 spades, 52 backs (either letter case); 0 for no card.
int CardPicture(char rank, char suit);
constexpr int kBackPictures = 52;  // picture of back rank r: 52 + rank value
constexpr char kBackSuit = 'B';
// The rank value of a face picture 1 to 52; 0 for no card or a back.
int PictureRank(int picture);

// A card in words, from its wire form: "9 of diamonds", "queen of spades";
// empty for a card that is not a face.
QString CardName(char rank, char suit);
// A card picture 1 to 52 in words ("9 of hearts"); empty for no card or a back.
QString PictureName(int picture);
// A rank in words, many of them: "aces", "8s", "10s", "jacks"; empty for no rank.
QString RankPlural(char rank);

// The rows of the remaining-cards panel, top to bottom, by suit character.
constexpr char kRemainingSuits[] = "chsd";
constexpr int kRemainingRows = 4;
// The row of suit `suit` (either letter case) with the ranks whose bit is set
// in `mask` (bit 0 the two .. bit 12 the ace) and blanks for the others;
// empty for an unknown suit.
QString RemainingRow(char suit, int mask);
// The same row in words, for a screen reader: "Clubs not yet seen: 2, 10,
// jack, ace" ("none" when no rank is left); empty for an unknown suit.
QString RemainingWords(char suit, int mask);
// Its position among kRemainingSuits, 1 to 4; 0 for an unknown suit.
int RemainingRowOf(char suit);
constexpr int kAllRanks = 8191;

// Single-byte wire text shown on screen, and screen text put on the wire.
QString WireToText(const std::string& wire);
std::string TextToWire(const QString& text);
