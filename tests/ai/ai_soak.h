#pragma once
// Whole games of four computer players, headless: each seat's turn through the step protocol, then the
// day turnover. Shared by the soak test and the benchmark.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "ai/ai_executor.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1::aitest {

// What one seat did; heroes lost counts the seat's own heroes, whoever's turn it was.
struct SeatStats {
    int sites = 0, towns_taken = 0, buildings = 0, recruited = 0, battles = 0, heroes_lost = 0;
};

struct SoakStats {
    std::array<SeatStats, MAX_PLAYERS> seat{};
    int64_t steps = 0;
    int max_pass = 0;  // most results of kinds 3 and 4 in one pass
    int moves = 0, human_battles = 0;  // kinds the headless game must never see
};

struct SoakGame {
    GameMap map;
    GameState state;
    std::vector<int> mp_left, mp_max;
    AIExecutor ai;
    SoakStats stats;
};

// A scenario kit map of size class 0-2 with four computer seats, Dumb, Average, Smart and Genius.
SoakGame make_soak_game(int size_class, uint32_t seed);
// One seat's whole turn (nothing when the seat is out).
void play_seat_turn(SoakGame& g, int player);
// Every seat's turn, then the turnover.
void play_day(SoakGame& g, uint32_t seed);
// First broken invariant as text; empty when all hold.
std::string check_invariants(const SoakGame& g);
// Towns without an owner that the seat's first hero has a route to.
std::vector<int> reachable_neutral_towns(const SoakGame& g, int player);
// Towns the seat holds now.
int towns_held(const SoakGame& g, int player);
// Hash of the saved image of the game.
uint64_t state_hash(const SoakGame& g);

}  // namespace vorn1::aitest
