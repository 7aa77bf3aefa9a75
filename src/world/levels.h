#pragma once
// Hero experience levels.
#include <array>
#include <cstdint>
#include <deque>
#include <string>

#include "world/game_state.h"

namespace vorn1 {

constexpr int MAX_HERO_LEVEL = 75;
// LEVEL_XP[level]: the experience at which a hero of that level reaches the next one.
extern const std::array<uint32_t, MAX_HERO_LEVEL> LEVEL_XP;

struct LevelUpGain {
    int levels_gained = 0;
    int new_level = 0;
    std::array<int, 4> gains{};   // attack, defense, power, knowledge
};

// Raises level and skills while the experience has passed LEVEL_XP[level]; rng picks the skills.
LevelUpGain apply_levelups(HeroState& hero, XorShift32& rng);
// A level-up waiting for its dialog.
struct LevelUpEvent {
    int32_t hero = -1;                 // index in the game state's hero list
    int32_t levels_gained = 0;         // 1 or more
    int32_t new_level = 0;
    std::array<int32_t, 4> gains{};    // attack, defense, spell power, knowledge
    std::string name;
    uint8_t portrait = 0;
};

// The same for a hero of the game, the skills drawn from `rng`; when levels were gained, one record goes
// to the back of the level-up queue. Returns whether the hero gained a level.
bool check_and_apply_levelups(HeroState& hero, int hero_index, std::deque<LevelUpEvent>& queue, XorShift32& rng);
// As above, the generator seeded from the C library generator.
bool check_and_apply_levelups(HeroState& hero, int hero_index, std::deque<LevelUpEvent>& queue);

}  // namespace vorn1
