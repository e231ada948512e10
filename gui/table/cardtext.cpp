#include "table/cardtext.h"

#include <QStringList>
#include <algorithm>
#include <cstring>

#include "core/mirror.h"

namespace {

constexpr char kRanks[] = "A23456789TJQK";  // by rank value 1 to 13

// The suit offset of a picture number; -1 for no suit.
int SuitOffset(char suit) {
    switch (suit) {
        case 'c':
        case 'C':
            return 0;
        case 'd':
        case 'D':
            return 13;
        case 'h':
        case 'H':
            return 26;
        case 's':
        case 'S':
            return 39;
        case 'b':
        case 'B':
            return kBackPictures;
        default:
            return -1;
    }
}

}  // namespace

int RankValue(char rank) {
    const char* at = rank ? std::strchr(kRanks, rank) : nullptr;
    return at ? int(at - kRanks) + 1 : 0;
}

char RankChar(int value) {
    CheckRange(value, 1, 13, "rank");
    return kRanks[value - 1];
}

int CardPicture(char rank, char suit) {
    const int value = RankValue(rank);
    if (value == 0) return 0;
    // An unknown suit reads as clubs.
    return value + std::max(SuitOffset(suit), 0);
}

int PictureRank(int picture) {
    if (picture < 1 || picture > kBackPictures) return 0;
    return (picture - 1) % 13 + 1;
}

namespace {

// The rank of value 1 to 13 in words: "ace", "2" .. "10", "jack", "queen", "king".
QString RankWord(int value) {
    switch (value) {
        case 1:
            return QStringLiteral("ace");
        case 11:
            return QStringLiteral("jack");
        case 12:
            return QStringLiteral("queen");
        case 13:
            return QStringLiteral("king");
        default:
            return QString::number(value);
    }
}

}  // namespace

QString CardName(char rank, char suit) {
    const int value = RankValue(rank);
    const int offset = SuitOffset(suit);
    if (value == 0 || offset < 0 || offset == kBackPictures) return {};
    Checked<const char*, 0, 3> suits;
    suits[0] = "clubs";
    suits[1] = "diamonds";
    suits[2] = "hearts";
    suits[3] = "spades";
    return RankWord(value) + QStringLiteral(" of ") + QString::fromLatin1(suits[offset / 13]);
}

QString PictureName(int picture) {
    if (picture < 1 || picture > kBackPictures) return {};
    return CardName(RankChar((picture - 1) % 13 + 1), "CDHS"[(picture - 1) / 13]);
}

QString RankPlural(char rank) {
    const int value = RankValue(rank);
    if (value == 0) return {};
    return RankWord(value) + QLatin1Char('s');
}

int RemainingRowOf(char suit) {
    const char lower = suit >= 'A' && suit <= 'Z' ? char(suit - 'A' + 'a') : suit;
    const char* at = lower ? std::strchr(kRemainingSuits, lower) : nullptr;
    return at ? int(at - kRemainingSuits) + 1 : 0;
}

QString RemainingRow(char suit, int mask) {
    const int row = RemainingRowOf(suit);
    if (row == 0) return {};
    Checked<const char*, 1, kRemainingRows> titles;
    titles[1] = "Clubs:      ";
    titles[2] = "Hearts:     ";
    titles[3] = "Spades:     ";
    titles[4] = "Diamonds:   ";
    // The two to the ace, one bit each from bit 0.
    QString ranks = QStringLiteral("2 3 4 5 6 7 8 9 T J Q K A");
    for (int k = 0; k < 13; ++k)
        if ((mask & (1 << k)) == 0) ranks[2 * k] = QLatin1Char(' ');
    return QString::fromLatin1(titles[row]) + ranks;
}

QString RemainingWords(char suit, int mask) {
    const QString row = RemainingRow(suit, mask);
    if (row.isEmpty()) return {};
    QStringList ranks;
    for (int k = 0; k < 13; ++k)
        if (mask & (1 << k)) ranks << RankWord(k == 12 ? 1 : k + 2);
    const QString title = row.section(QLatin1Char(':'), 0, 0);
    return title + QStringLiteral(" not yet seen: ") +
           (ranks.isEmpty() ? QStringLiteral("none") : ranks.join(QStringLiteral(", ")));
}

QString WireToText(const std::string& wire) {
    return QString::fromLatin1(wire.data(), qsizetype(wire.size()));
}

std::string TextToWire(const QString& text) {
    return text.toLatin1().toStdString();
}
