#include "moves.h"

#include "apply.h"
#include "reply.h"

namespace kzq {

namespace {

struct Generator {
    Generator(Game& game, const CardWeights& weights)
        : g(game), piles(game.piles), scores(game.piles, weights) {}

    Game& g;
    const Piles& piles;
    MoveScorer scores;
    int slot = 0;

    // An entry with its score. A Take is scored from what the piles it
    // takes are worth (MoveScorer::TakeWorth), summed as the search adds
    // each pile.
    void Add(std::uint32_t entry) { g.moves[g.numMoves++] = entry; }
    bool TakesFull() const { return g.numMoves >= kTakeLimit; }
    void AddTake(int mask, int worth) {
        if (!TakesFull())
            Add(ScoredMove(MakeMove(mask, kTake, slot), scores.Take(slot, mask, worth)));
    }

    // The sets of piles that a card of rank r takes on its own, found depth
    // first in column order: a block of value r alone, or piles that are not
    // blocks adding up to r; an ace also a build of 14 alone, or piles adding
    // up to 14. A set is grown only while the piles after its last one can
    // still make up what it lacks (Piles::reach), so that every pile the
    // search adds leads to a set that is listed.
    void Search(int r) {
        // The sums wanted, as a mask like Piles::sums.
        unsigned wanted = r == 1 ? Piles::RankSum(1) | Piles::RankSum(14) : Piles::RankSum(r);
        // The columns that begin a listed set are found first without a test
        // of each (which columns they are follows the play), then visited.
        int starts = 0;
        for (int rest = piles.occupied; rest != 0; rest = WithoutLowest(rest)) {
            int c = LowestColumn(rest);
            bool start = piles.blocks >> c & 1 ? piles.value[c] == r : Lacking(c, wanted) != 0;
            starts |= int(start) << c;
        }
        for (int rest = starts; rest != 0; rest = WithoutLowest(rest)) {
            int c = LowestColumn(rest);
            if (piles.blocks >> c & 1)
                AddTake(1 << c, scores.TakeWorth(c));
            else
                Grow(c, Lacking(c, wanted), 0, 0);
        }
    }

    // What a set that lacks the sums in `wanted` still lacks with the pile in
    // column c (not a block) added, bit 0 for nothing; 0 when the piles after
    // c cannot make up any of it.
    unsigned Lacking(int c, unsigned wanted) const {
        int v = piles.value[c];
        unsigned lacking = unsigned(v) <= 14u ? wanted >> v : 0;
        return lacking & piles.reach[c];
    }

    // Adds the pile in column c (not a block) to the set `mask`, worth
    // `worth`, which then lacks the sums in `lacking` (Lacking): lists the
    // set when the pile makes up one of them, then every larger set through
    // the piles after c.
    void Grow(int c, unsigned lacking, int mask, int worth) {
        mask |= 1 << c;
        worth += scores.TakeWorth(c);
        if (lacking & 1) AddTake(mask, worth);
        lacking &= ~1u;
        for (int rest = lacking != 0 ? piles.NotBlocks() & ~((2 << c) - 1) : 0; rest != 0;
             rest = WithoutLowest(rest)) {
            int d = LowestColumn(rest);
            if (unsigned next = Lacking(d, lacking)) Grow(d, next, mask, worth);
        }
    }

    bool Listed(Move code, int from, int to) const {
        for (int k = from; k < to; ++k)
            if (Move(g.moves[k]) == code) return true;
        return false;
    }

    // Every union of pairwise disjoint single captures, each once.
    void Unions(int start) {
        for (int i = start; i < g.numMoves - 1 && !TakesFull(); ++i) {
            int end = g.numMoves;
            for (int j = start + 1; j < end && !TakesFull(); ++j) {
                std::uint32_t a = g.moves[i], b = g.moves[j];
                if (MoveMask(Move(a)) & MoveMask(Move(b))) continue;
                Move u = Move(a | b);
                if (!Listed(u, start, g.numMoves))
                    Add(ScoredMove(u, scores.Union(slot, MoveMask(u), ScoreOf(a), ScoreOf(b))));
            }
        }
    }
};

}  // namespace

int GenerateMoves(Game& g, const CardWeights& weights) {
    g.numMoves = 0;
    const Hand& hand = g.curPlayer->hand;
    int countOfRank[16] = {};  // 15: what a build past 14 would need, never held
    unsigned held = 0;         // bit t for each rank t held, bit 14 for an ace
    unsigned twice = 0;        // bit t for each rank t held more than once
    for (int i = 0; i < kMaxHand; ++i) {
        int rank = hand.slots[i].rank;
        int r = rank < 14 ? rank : 0;
        ++countOfRank[r];
        twice |= held & 1u << r;
        held |= 1u << r;
    }
    held = (held & ~1u) | (countOfRank[1] != 0 ? 1u << 14 : 0);
    const Piles& piles = g.piles;
    Generator gen(g, weights);
    MoveScorer& scores = gen.scores;

    // The occupied slots by their bits (the hand keeps them): which slots are
    // empty follows the play, and a test of each slot would be guessed wrong
    // by the processor.
    for (int rest = hand.occupied; rest != 0; rest = WithoutLowest(rest)) {
        int i = LowestColumn(rest);
        Card card = hand.slots[i];
        int r = card.rank;
        scores.Hold(i, card, hand, r < 14 && (twice >> r & 1) != 0);
        gen.slot = i;
        gen.Add(ScoredMove(MakeMove(0, kPut, i), scores.Put(i)));
        if (piles.MayBuild(r, held)) {
            for (int rest = piles.NotBlocks(); rest != 0; rest = WithoutLowest(rest)) {
                int c = LowestColumn(rest);
                int t = r + piles.value[c];
                t = t == 14 ? 1 : t > 14 ? 15 : t;  // 14 is taken by an ace; more by nothing
                // One Build for every other hand card that takes the result.
                int takers = countOfRank[t] - (r == t);
                if (takers <= 0) continue;
                std::uint32_t build = ScoredMove(MakeMove(1 << c, kBuild, i), scores.OnPile(i, c));
                for (int n = 0; n < takers; ++n)
                    gen.Add(build);
            }
        }
        if (countOfRank[r] >= 2) {
            // A single card or a block of this rank.
            for (int rest = piles.occupied & (piles.singles | piles.blocks); rest != 0;
                 rest = WithoutLowest(rest)) {
                int c = LowestColumn(rest);
                if (piles.value[c] == r)
                    gen.Add(ScoredMove(MakeMove(1 << c, kBlock, i), scores.OnPile(i, c)));
            }
        }
        if (piles.Takes(r)) {
            int start = g.numMoves;
            gen.Search(r);
            gen.Unions(start);
        }
    }
    return g.numMoves;
}

bool IsListed(const Game& g, Move code) {
    for (int i = 0; i < g.numMoves; ++i)
        if (Move(g.moves[i]) == code) return true;
    return false;
}

bool PlayHumanMove(Game& g, AmbiguousMoves& ambiguous, const char* selection, char code,
                   int length) {
    if (code - '1' != g.CurIndex()) {
        WriteItem('E', "Wrong Player");
        return false;
    }
    int slot = length >= 1 ? selection[0] - '1' : -1;
    if (slot < 0 || slot >= kMaxHand || !g.curPlayer->hand.Occupied(slot)) {
        WriteItem('E', "Player card selection illegal");
        return false;
    }
    Move candidates[3];
    int numCandidates = 0;
    if (length == 1) {
        candidates[numCandidates++] = MakeMove(0, kPut, slot);
    } else {
        int mask = 0;
        for (int k = 1; k < length; ++k) {
            int c = selection[k] - '1';
            if (c < 0 || c >= g.numColumns) {
                WriteItem('E', "Tableau column selection out of range");
                return false;
            }
            mask |= 1 << c;
        }
        candidates[numCandidates++] = MakeMove(mask, kTake, slot);
        if (__builtin_popcount(unsigned(mask)) == 1) {
            candidates[numCandidates++] = MakeMove(mask, kBuild, slot);
            candidates[numCandidates++] = MakeMove(mask, kBlock, slot);
        }
    }
    for (int k = 0; k < 4; ++k)
        ambiguous[k] = 0;
    int kinds = 1 << kPut;
    int found = 0;
    Move match = 0;
    for (int k = 0; k < numCandidates; ++k) {
        Move m = candidates[k];
        if (!IsListed(g, m)) continue;
        ambiguous[MoveKindOf(m)] = m;
        kinds += 1 << MoveKindOf(m);
        ++found;
        match = m;
    }
    if (found == 1) {
        PlayMove(g, match, Turn::kHuman);
        return true;
    }
    ambiguous[kPut] = MakeMove(0, kPut, slot);
    WriteItemf('M', "%02d", kinds);
    return false;
}

void PlayMenuAnswer(Game& g, const CardWeights& weights, AmbiguousMoves& ambiguous,
                    const char* param, int length) {
    if (length < 1) {
        WriteItem('E', "ReplyMsg needs parameter");
        return;
    }
    int kind = param[0] - '1';
    if (kind < 0 || kind > 3) {
        for (int k = 0; k < 4; ++k)
            ambiguous[k] = 0;
        return;
    }
    Move m = Move(ambiguous[kind]);
    // The entry is played only while it is still legal: the table may have
    // changed since the menu was offered.
    if (m == 0 || !g.curPlayer->hand.Occupied(MoveSlot(m)) || GenerateMoves(g, weights) == 0 ||
        !IsListed(g, m)) {
        WriteItem('E', "Illegal menu selection");
        return;
    }
    PlayMove(g, m, Turn::kMenuAnswer);
}

}  // namespace kzq
