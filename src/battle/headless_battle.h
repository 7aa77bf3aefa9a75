#pragma once
// A whole battle settled without the battle screen: deterministic from its inputs and seed.
#include <array>
#include <cstdint>

namespace vorn1 {

struct HeroState;

struct HeadlessSideInput {
    std::array<uint8_t, 5> ids{255, 255, 255, 255, 255};
    std::array<int32_t, 5> counts{};
    int32_t attack = 0;
    int32_t defense = 0;
    int32_t luck = 0;
    int32_t morale = 0;  // carried for callers; the simulation does not read it
    uint8_t defending = 0;
};

struct HeadlessResult {
    uint8_t attacker_won = 0;
    std::array<int32_t, 5> attacker_survivors{};
    std::array<int32_t, 5> defender_survivors{};
    std::array<uint8_t, 5> attacker_ids{255, 255, 255, 255, 255};
    std::array<uint8_t, 5> defender_ids{255, 255, 255, 255, 255};
    int32_t experience = 0;
    uint8_t timed_out = 0;
};

// Optional counters of what a simulation did, per side (0 attacker, 1 defender).
struct HeadlessTrace {
    int rounds = 0;
    std::array<int, 2> shots{};
    std::array<int, 2> melee_strikes{};
    std::array<int, 2> retaliations{};
};

constexpr uint32_t kHeadlessZeroSeed = 0x1234567u;
constexpr int kHeadlessMaxRounds = 100;

HeadlessSideInput headless_side_from_hero(const HeroState& hero, bool defending);
HeadlessResult simulate_headless_battle(const HeadlessSideInput& attacker, const HeadlessSideInput& defender,
                                        unsigned seed, HeadlessTrace* trace = nullptr);

}  // namespace vorn1
