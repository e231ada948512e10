// Benchmarks of the game-logic library: whole computer-against-computer games
// through CallTheLogic, the time of each kind of request in games with a
// human seat, and the move generator on crowded tables.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>

#include "game.h"
#include "logic.h"
#include "moves.h"
#include "protocol.h"

namespace {

char reply[kzq::kReplySize];

void Call(const char* request) {
    CallTheLogic(request, reply);
}

// A fresh, begun library with two computer players.
void Begin() {
    kzq::ResetLogic();
    Call("<B>9<I>11Bench One<I>29Bench Two");
}

// One game from its deal to the winner, as the program's send loop plays it:
// "<C>" after every player item, "<R>" after a round without a winner.
// Returns the number of calls.
int PlayGame() {
    int calls = 1;
    Call("<N>");
    for (;;) {
        Call("<C>");
        ++calls;
        const char* end = std::strstr(reply, "<M>");
        if (!end) continue;
        if (end[3] == '5') return calls;  // 50 or 51: a winner
        Call("<R>");
        ++calls;
    }
}

void BM_FullGame(benchmark::State& state) {
    Begin();
    long calls = 0;
    for (auto _ : state)
        calls += PlayGame();
    state.SetItemsProcessed(state.iterations());
    state.counters["calls_per_game"] = double(calls) / double(state.iterations());
    state.counters["games_per_s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_FullGame)->Unit(benchmark::kMicrosecond);

// Games of a human seat (player 1, moving by the hint as the program would:
// "?", then its selection, then "Y" when a menu asks which kind was meant)
// against the computer, with the time of every request summed by its code,
// so that the cost of a game can be read by request: N (deal), C (computer
// move), ? (hint), 1 (human move), Y (menu answer), R (next round).
class RequestClock {
  public:
    void Call(const char* request) {
        auto start = std::chrono::steady_clock::now();
        CallTheLogic(request, reply);
        auto end = std::chrono::steady_clock::now();
        int k = Kind(request[1]);
        ns_[k] += std::chrono::duration<double, std::nano>(end - start).count();
        ++count_[k];
    }
    void Report(benchmark::State& state, double games) const {
        for (int k = 0; k < kKinds; ++k) {
            if (count_[k] == 0) continue;
            std::string name(1, kCodes[k]);
            state.counters["ns_" + name] = ns_[k] / count_[k];
            state.counters["per_game_" + name] = count_[k] / games;
        }
    }

  private:
    static constexpr const char* kCodes = "NC?1YR";
    static constexpr int kKinds = 6;
    static int Kind(char code) {
        const char* at = std::strchr(kCodes, code);
        return at && *at ? int(at - kCodes) : 0;
    }
    double ns_[kKinds] = {};
    double count_[kKinds] = {};
};

// Plays one game to its winner through `clock`.
void PlayHumanGame(RequestClock& clock) {
    clock.Call("<N>");
    char request[32];
    for (;;) {
        if (kzq::TheGame().CurIndex() == 0) {
            clock.Call("<?>");
            const char* hint = std::strstr(reply, "<?>");
            if (!hint) return;
            std::snprintf(request, sizeof request, "<1>%.*s", int(std::strcspn(hint + 4, "<")),
                          hint + 4);
            clock.Call(request);
            const char* menu = std::strstr(reply, "<M>");
            if (menu && menu[5] == '<') {  // a choice of kinds, not the end of a round
                int kinds = (menu[3] - '0') * 10 + (menu[4] - '0');
                int kind = kinds & 2 ? 1 : __builtin_ctz(unsigned(kinds));  // a Take when offered
                std::snprintf(request, sizeof request, "<Y>%d", kind + 1);
                clock.Call(request);
            }
        } else {
            clock.Call("<C>");
        }
        const char* end = std::strstr(reply, "<M>");
        if (!end || end[5] == '<') continue;
        if (end[3] == '5') return;  // 50 or 51: a winner
        clock.Call("<R>");
    }
}

void BM_RequestKinds(benchmark::State& state) {
    kzq::ResetLogic();
    Call("<B>9<I>10Bench Human<I>29Bench Two");
    RequestClock clock;
    for (auto _ : state)
        PlayHumanGame(clock);
    clock.Report(state, double(state.iterations()));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RequestKinds)->Unit(benchmark::kMicrosecond);

// One computer move in the middle of a game, without the deal and the end of
// a round: the cost of a single "<C>" exchange.
void BM_ComputerMove(benchmark::State& state) {
    Begin();
    Call("<N>");
    for (auto _ : state) {
        Call("<C>");
        if (std::strstr(reply, "<M>")) Call("<R>");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ComputerMove);

// Sets player 1 to move with `hand` against single cards in `table`
// (column 1 first), through the debugging request that places cards.
void SetUp(const char* const hand[4], const char* const* table, int columns) {
    Begin();
    Call("<N>");
    char request[16];
    for (int c = 0; c < columns; ++c) {
        std::snprintf(request, sizeof request, "<J>0%d%s", c + 1, table[c]);
        Call(request);
    }
    for (int s = 0; s < 4; ++s) {
        std::snprintf(request, sizeof request, "<J>1%d%s", s + 1, hand[s]);
        Call(request);
    }
}

// Times GenerateMoves for the hand against nine table piles.
void GenerateOn(benchmark::State& state, const char* const hand[4], const char* const table[9]) {
    SetUp(hand, table, 9);
    int n = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(n = kzq::GenerateMoves(kzq::TheGame(), kzq::theLogic.cardWeight));
    state.counters["moves"] = n;
    state.SetItemsProcessed(state.iterations());
}

// Nine small piles: the ten and the nine in hand have dozens of captures.
void BM_GenerateMovesCrowded(benchmark::State& state) {
    static const char* const hand[4] = {"Tc", "9c", "8c", "7c"};
    static const char* const table[9] = {"Ad", "2d", "3d", "4d", "5d", "6d", "7d", "8d", "9d"};
    GenerateOn(state, hand, table);
}
BENCHMARK(BM_GenerateMovesCrowded);

// Nine piles of 5 against two fives: the first five fills the list with 511
// captures, the most a hand card can list.
void BM_GenerateMovesFullList(benchmark::State& state) {
    static const char* const hand[4] = {"5c", "5h", "Kc", "Qc"};
    static const char* const table[9] = {"5d", "5s", "5d", "5s", "5d", "5s", "5d", "5s", "5d"};
    GenerateOn(state, hand, table);
}
BENCHMARK(BM_GenerateMovesFullList)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
