// casino-sim: plays whole computer-against-computer games through the
// library's text protocol, checks every reply, and prints the figures of the
// run with a signature (a hash over every reply) that changes with any change
// of behaviour.
//
//   casino-sim --games N [--seed S] [--trace]
//
// The library is loaded from the tool's own folder as the game program loads
// it: dlopen, then the entry "_CallTheLogic". Without --seed the first game
// starts with "<Z>" (shuffles seeded from the clock). With --seed S the run is
// repeatable: the tool writes a deals file of shuffles drawn from S into a
// fresh temporary folder, works there, and starts game k with "<K>k"; later
// rounds use the library's own shuffle, which repeats after every load.

#include <dlfcn.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cinttypes>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "mirror.h"

namespace {

using CallTheLogicFn = std::int32_t (*)(const char*, char*);

constexpr int kColumns = 9;
constexpr int kMaxDealNumber = 32000;
constexpr int kMaxRoundsPerGame = 200;  // far beyond any real game: a guard against a loop

struct Options {
    long games = 0;
    bool seeded = false;
    std::uint64_t seed = 0;
    bool trace = false;
};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "casino-sim: %s\n", what.c_str());
    std::exit(1);
}

void Usage() {
    std::fprintf(stderr, "usage: casino-sim --games N [--seed S] [--trace]\n");
    std::exit(2);
}

bool ParseNumber(const char* text, std::uint64_t max, std::uint64_t& out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text, &end, 10);
    if (errno || *end || text[0] == '-' || v > max) return false;
    out = v;
    return true;
}

Options ParseOptions(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        std::uint64_t v = 0;
        if (arg == "--games" && i + 1 < argc && ParseNumber(argv[i + 1], LONG_MAX, v) && v > 0) {
            o.games = long(v);
            ++i;
        } else if (arg == "--seed" && i + 1 < argc && ParseNumber(argv[i + 1], UINT64_MAX, v)) {
            o.seeded = true;
            o.seed = v;
            ++i;
        } else if (arg == "--trace") {
            o.trace = true;
        } else {
            Usage();
        }
    }
    if (o.games == 0) Usage();
    return o;
}

// The folder of the running program, from /proc/self/exe.
std::string OwnFolder() {
    char path[4096];
    ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0) Fail("cannot find the program's own folder");
    path[n] = 0;
    std::string s(path);
    return s.substr(0, s.rfind('/'));
}

CallTheLogicFn LoadLibrary() {
    std::string file = OwnFolder() + "/libcasino.so";
    void* lib = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!lib) Fail(std::string("cannot load the library: ") + dlerror());
    void* entry = dlsym(lib, "_CallTheLogic");
    if (!entry) Fail("the library has no entry _CallTheLogic");
    return reinterpret_cast<CallTheLogicFn>(entry);
}

// splitmix64: a small, fully specified generator, so that a seed gives the
// same deals everywhere.
struct SplitMix {
    std::uint64_t state;
    std::uint64_t Next() {
        std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
};

// A temporary folder holding the deals file "Games.py": record 0 unused, then
// one shuffled deck per game number (card bytes 1 to 52, each once).
class DealsFolder {
  public:
    DealsFolder(std::uint64_t seed, int records) {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/casino-sim-XXXXXX";
        if (!mkdtemp(pattern.data())) Fail("cannot make a temporary folder");
        folder_ = pattern;
        std::string file = folder_ + "/Games.py";
        std::FILE* f = std::fopen(file.c_str(), "wb");
        if (!f) Fail("cannot write " + file);
        SplitMix rng{seed};
        unsigned char record[52] = {};
        std::fwrite(record, 1, sizeof record, f);
        for (int k = 1; k <= records; ++k) {
            for (int i = 0; i < 52; ++i)
                record[i] = static_cast<unsigned char>(i + 1);
            for (int i = 51; i > 0; --i) {
                int j = int(rng.Next() % std::uint64_t(i + 1));
                std::swap(record[i], record[j]);
            }
            std::fwrite(record, 1, sizeof record, f);
        }
        if (std::fclose(f) != 0) Fail("cannot write " + file);
        if (chdir(folder_.c_str()) != 0) Fail("cannot enter " + folder_);
    }
    ~DealsFolder() {
        // Anything the library might leave here goes too.
        for (const char* name : {"Games.py", "kzq.gds", "kzq.gds.tmp"})
            std::remove((folder_ + "/" + name).c_str());
        rmdir(folder_.c_str());
    }

  private:
    std::string folder_;
};

// One call of the library: the request and reply buffers are the program's
// sizes. (The mirror adds every reply to the signature as it reads it.)
//
// The reply buffer holds no NUL before a call, so a reply that lacks its own
// shows: it starts filled, and each call refills only what the previous
// reply wrote (its text and its NUL), not the whole buffer.
class Library {
  public:
    Library(CallTheLogicFn call, bool trace) : call_(call), trace_(trace) {
        std::memset(reply_, kFill, sizeof reply_);
    }

    std::string_view Call(const char* request) {
        if (std::strlen(request) >= sizeof request_) throw sim::Broken("request too long");
        std::strcpy(request_, request);
        std::memset(reply_, kFill, used_);
        used_ = sizeof reply_;  // until this reply is known to end in its NUL
        std::int32_t n = call_(request_, reply_);
        std::size_t len = strnlen(reply_, sizeof reply_);
        if (len == sizeof reply_) throw sim::Broken("reply without a terminating NUL");
        used_ = len + 1;
        if (n < 0 || std::size_t(n) != len)
            throw sim::Broken("reply length does not match the result");
        if (trace_) std::printf("> %s\n< %s\n", request_, reply_);
        return std::string_view(reply_, len);
    }

    const char* lastRequest() const { return request_; }
    // The last reply up to its NUL, or the whole buffer when it has none.
    std::string_view lastReply() const {
        return std::string_view(reply_, strnlen(reply_, sizeof reply_));
    }

  private:
    CallTheLogicFn call_;
    bool trace_;
    char request_[256] = {};
    static constexpr char kFill = 0x55;
    char reply_[1001];
    std::size_t used_ = 0;  // bytes of reply_ the last call wrote
};

}  // namespace

int main(int argc, char** argv) {
    Options o = ParseOptions(argc, argv);
    CallTheLogicFn entry = LoadLibrary();
    int records = int(o.games < kMaxDealNumber ? o.games : kMaxDealNumber);
    std::optional<DealsFolder> deals;
    if (o.seeded) deals.emplace(o.seed, records);

    Library lib(entry, o.trace);
    sim::Mirror mirror(kColumns);
    long game = 0;
    int round = 0;
    try {
        if (mirror.Sign(lib.Call("<B>9")) != "</>")
            throw sim::Broken("the begin request was refused");
        if (mirror.Sign(lib.Call("<I>11Sim One<I>29Sim Two")) != "</>")
            throw sim::Broken("the settings were refused");

        auto start = std::chrono::steady_clock::now();
        char request[32];
        for (game = 1; game <= o.games; ++game) {
            if (o.seeded)
                std::snprintf(request, sizeof request, "<K>%ld", (game - 1) % records + 1);
            else
                std::snprintf(request, sizeof request, "%s<K>0", game == 1 ? "<Z>" : "");
            round = 1;
            sim::Next next = mirror.NewGame(lib.Call(request));
            while (next != sim::Next::kGameOver) {
                if (next == sim::Next::kNewRound) {
                    if (++round > kMaxRoundsPerGame) throw sim::Broken("the game does not end");
                    next = mirror.NewRound(lib.Call("<R>"));
                } else {
                    next = mirror.Move(lib.Call("<C>"));
                }
            }
        }
        double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

        const sim::Totals& t = mirror.totals();
        std::printf("games %ld\n", t.games);
        std::printf("rounds %ld\n", t.rounds);
        std::printf("moves %ld\n", t.moves);
        std::printf("wins player1 %ld player2 %ld\n", t.wins[0], t.wins[1]);
        std::printf("average final points player1 %.2f player2 %.2f\n",
                    double(t.finalPoints[0]) / double(t.games),
                    double(t.finalPoints[1]) / double(t.games));
        std::printf("sweeps per round %.3f\n", double(t.sweeps) / double(t.rounds));
        std::printf("games per second %.0f\n", seconds > 0 ? double(t.games) / seconds : 0.0);
        std::printf("signature %016" PRIx64 "\n", mirror.signature());
    } catch (const sim::Broken& e) {
        std::fprintf(stderr,
                     "casino-sim: game %ld, round %d, move %d: %s\nrequest: %s\nreply: %.*s\n",
                     game, round, mirror.moveNr(), e.what(), lib.lastRequest(),
                     int(lib.lastReply().size()), lib.lastReply().data());
        return 1;
    }
    return 0;
}
