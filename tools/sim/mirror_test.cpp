// casino-sim's checker must pass real games and refuse broken ones: replies
// of real games are recorded from the library, replayed through a fresh
// Mirror, and then replayed again with one fault planted in one reply.

#include "mirror.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "logic.h"
#include "protocol.h"

namespace {

struct Exchange {
    char request;  // 'N' new game, 'R' new round, 'C' computer move
    std::string reply;
};

std::string Call(const char* request) {
    char reply[kzq::kReplySize];
    CallTheLogic(request, reply);
    return reply;
}

// Plays `games` whole games from a fresh library and keeps every reply.
std::vector<Exchange> Record(int games) {
    kzq::ResetLogic();
    Call("<B>9<I>11One<I>29Two");
    sim::Mirror m(9);
    std::vector<Exchange> out;
    for (int g = 0; g < games; ++g) {
        out.push_back({'N', Call("<N>")});
        sim::Next next = m.NewGame(out.back().reply);
        while (next != sim::Next::kGameOver) {
            char request = next == sim::Next::kNewRound ? 'R' : 'C';
            out.push_back({request, Call(request == 'R' ? "<R>" : "<C>")});
            next = request == 'R' ? m.NewRound(out.back().reply) : m.Move(out.back().reply);
        }
    }
    return out;
}

sim::Totals Replay(const std::vector<Exchange>& exchanges) {
    sim::Mirror m(9);
    for (const Exchange& e : exchanges) {
        if (e.request == 'N')
            m.NewGame(e.reply);
        else if (e.request == 'R')
            m.NewRound(e.reply);
        else
            m.Move(e.reply);
    }
    return m.totals();
}

const std::vector<Exchange>& Games() {
    static const std::vector<Exchange> games = Record(3);
    return games;
}

// The index of the first exchange whose reply satisfies `test`.
std::size_t Find(const std::vector<Exchange>& ex,
                 const std::function<bool(const Exchange&)>& test) {
    for (std::size_t i = 0; i < ex.size(); ++i)
        if (test(ex[i])) return i;
    ADD_FAILURE() << "no such reply in the recorded games";
    return 0;
}

int Count(const std::string& s, const std::string& part) {
    int n = 0;
    for (std::size_t at = s.find(part); at != std::string::npos; at = s.find(part, at + 1))
        ++n;
    return n;
}

TEST(Mirror, FollowsRealGamesToTheEnd) {
    sim::Totals t = Replay(Games());
    EXPECT_EQ(t.games, 3);
    EXPECT_EQ(t.moves, 48 * t.rounds);
    EXPECT_EQ(t.wins[0] + t.wins[1], 3);
    EXPECT_GE(t.finalPoints[0] + t.finalPoints[1], 3 * 21);
}

struct Fault {
    const char* what;
    std::function<void(std::vector<Exchange>&)> plant;
};

TEST(Mirror, RefusesEveryPlantedFault) {
    const std::vector<Fault> faults = {
        {"a card dealt to both players",
         [](std::vector<Exchange>& ex) {
             std::string& r = ex[0].reply;  // "<1>11Xx<2>11Yy...": player 2 gets Xx too
             r.replace(r.find("<2>11") + 5, 2, r.substr(5, 2));
         }},
        {"a card lost from a Take",
         [](std::vector<Exchange>& ex) {
             std::size_t i = Find(ex, [](const Exchange& e) {
                 return e.request == 'C' && Count(e.reply, "<A>0") >= 2 &&
                        e.reply.find("<D>", 8) == std::string::npos;
             });
             std::string& r = ex[i].reply;
             std::size_t from = r.find("<0>"), to = r.find("<0>", from + 1);
             r.erase(from, to - from);  // the first lifted card never arrives
         }},
        {"a score line that miscounts the cards",
         [](std::vector<Exchange>& ex) {
             std::size_t i = Find(ex, [](const Exchange& e) { return e.request == 'C'; });
             std::string& r = ex[i].reply;
             char& units = r[r.find("<G>1") + 3 + 9];
             units = units == '9' ? '0' : char(units + 1);
         }},
        {"an unseen-cards mask that leaves out a card",
         [](std::vector<Exchange>& ex) {
             std::size_t i = Find(ex, [](const Exchange& e) { return e.request == 'C'; });
             std::string& r = ex[i].reply;
             char& units = r[r.find("<U>s") + 3 + 4];
             units = units == '0' ? '1' : char(units - 1);
         }},
        {"a Build labelled with a value it does not have",
         [](std::vector<Exchange>& ex) {
             std::size_t i = Find(
                 ex, [](const Exchange& e) { return e.reply.find("<T>") != std::string::npos; });
             std::string& r = ex[i].reply;
             char& label = r[r.find('<', r.find("<T>") + 1) - 1];
             label = label == '2' ? '3' : '2';
         }},
        {"a move left out",
         [](std::vector<Exchange>& ex) {
             ex.erase(ex.begin() +
                      std::ptrdiff_t(Find(ex, [](const Exchange& e) { return e.request == 'C'; })));
         }},
        {"game totals that do not add the round's points",
         [](std::vector<Exchange>& ex) {
             std::size_t i = Find(
                 ex, [](const Exchange& e) { return e.reply.find("<M>") != std::string::npos; });
             std::string& r = ex[i].reply;
             char& units = r[r.find("<M>") + 3 + 3];
             units = units == '9' ? '0' : char(units + 1);
         }},
        {"a reply without its terminator",
         [](std::vector<Exchange>& ex) { ex[1].reply.resize(ex[1].reply.size() - 3); }},
        {"an item the move does not produce",
         [](std::vector<Exchange>& ex) { ex[1].reply.insert(ex[1].reply.size() - 3, "<V>x"); }},
    };
    for (const Fault& f : faults) {
        std::vector<Exchange> ex = Games();
        f.plant(ex);
        EXPECT_THROW(Replay(ex), sim::Broken) << f.what;
    }
}

TEST(Mirror, CountsPointsOfACapturePile) {
    // Card indices: (suit - 1) * 13 + rank - 1.
    auto bit = [](int rank, int suit) { return std::uint64_t(1) << ((suit - 1) * 13 + rank - 1); };
    std::uint64_t spades = 0;
    for (int r = 3; r <= 9; ++r)
        spades |= bit(r, 4);
    EXPECT_EQ(sim::PilePoints(spades, 7), 1);                              // seven spades
    EXPECT_EQ(sim::PilePoints(spades & ~bit(9, 4), 26), 0);                // six, and 26 cards
    EXPECT_EQ(sim::PilePoints(bit(1, 1) | bit(1, 4) | bit(2, 4), 27), 6);  // 2 aces, 2s, cards
    EXPECT_EQ(sim::PilePoints(bit(10, 2), 1), 2);
}

}  // namespace
