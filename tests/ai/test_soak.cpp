// Four computer players, one of each level, play whole games on the three scenario map sizes.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "ai/ai_soak.h"

using namespace vorn1;
using namespace vorn1::aitest;

namespace {

struct SoakRun {
    SoakStats stats;
    uint64_t hash = 0;
    std::string log;
    int days = 0;
    int genius_towns = 0;
};

SoakRun play(int size_class, uint32_t seed, int days) {
    SoakRun run;
    ai_log_capture(&run.log);
    SoakGame g = make_soak_game(size_class, seed);
    for (int d = 0; d < days; ++d) {
        play_day(g, seed * 977u + static_cast<uint32_t>(d));
        ++run.days;
        const std::string broken = check_invariants(g);
        EXPECT_EQ(broken, "") << "size " << size_class << " day " << d + 1;
        if (!broken.empty()) break;
        int seats_left = 0;
        for (int p = 0; p < MAX_PLAYERS; ++p) {
            bool alive = false;
            for (const CastleState& c : g.state.castles) alive |= c.live && c.owner == p;
            for (const HeroState& h : g.state.heroes) alive |= h.live && h.owner == p;
            seats_left += alive;
        }
        if (seats_left <= 1) break;
    }
    ai_log_capture(nullptr);
    for (const CastleState& c : g.state.castles) run.genius_towns += c.live && c.owner == 3;
    run.stats = g.stats;
    run.hash = state_hash(g);
    return run;
}

}  // namespace

// CI plays 20 days on the small map and 8 on the larger ones (a few seconds under the sanitizers);
// VORN1_SOAK_DAYS=60 plays the long soak on every map.
TEST(AISoak, FourLevelsPlayWholeGamesOnEachMapSize) {
    const char* env = std::getenv("VORN1_SOAK_DAYS");
    for (int size = 0; size < 3; ++size) {
        const int days = env ? std::atoi(env) : size == 0 ? 20 : 8;
        const SoakRun run = play(size, 40 + size, days);
        const SoakStats& s = run.stats;
        std::printf("size %d: %d days, sites %d, towns taken %d, buildings %d, recruited %d, battles %d, heroes lost %d, "
                    "steps %lld, Genius towns %d\n",
                    size, run.days, s.sites, s.towns_taken, s.buildings, s.recruited, s.battles, s.heroes_lost,
                    static_cast<long long>(s.steps), run.genius_towns);
        EXPECT_EQ(s.moves, 0);
        EXPECT_EQ(s.human_battles, 0);
        EXPECT_LT(s.max_pass, kAIStepsPerPass);
        EXPECT_GT(s.sites, 0);
        EXPECT_GT(s.buildings, 0);
        EXPECT_GT(s.recruited, 0);
        if (size == 0) {
            EXPECT_GE(s.towns_taken, 1) << "the small map's neutral town is taken";
        }
    }
}

TEST(AISoak, SameSeedReplaysToTheSameState) {
    const SoakRun a = play(0, 7, 8), b = play(0, 7, 8);
    EXPECT_EQ(a.hash, b.hash);
    EXPECT_EQ(a.log, b.log);
    EXPECT_NE(a.log.find("[done]"), std::string::npos);
}
