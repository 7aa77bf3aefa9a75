#include "world/levels.h"

#include <cstdlib>

namespace vorn1 {

static std::array<uint32_t, MAX_HERO_LEVEL> make_level_xp() {
    std::array<uint32_t, MAX_HERO_LEVEL> t{};
    static const uint32_t FIRST[12] = {0, 1000, 2000, 3200, 4500, 6000, 7700, 10000, 12500, 15500, 19000, 23000};
    for (int i = 0; i < 12; ++i) t[i] = FIRST[i];
    for (int i = 12; i < MAX_HERO_LEVEL; ++i) {
        const uint64_t next = (uint64_t)t[i - 1] + (t[i - 1] - t[i - 2]) * 6 / 5;
        t[i] = next > 0xF0000000u ? 0xF0000000u : (uint32_t)next;
    }
    return t;
}

const std::array<uint32_t, MAX_HERO_LEVEL> LEVEL_XP = make_level_xp();

LevelUpGain apply_levelups(HeroState& hero, XorShift32& rng) {
    // Chance in percent of each skill (attack, defense, power, knowledge) by class.
    static const int WEIGHT[4][4] = {{35, 45, 10, 10}, {55, 35, 5, 5}, {10, 10, 30, 50}, {10, 10, 50, 30}};
    LevelUpGain g;
    const int cls = hero.hero_class() & 3;
    while (hero.level < MAX_HERO_LEVEL && hero.experience >= LEVEL_XP[hero.level]) {
        ++hero.level;
        ++g.levels_gained;
        int roll = rng.below(100), skill = 0;
        while (skill < 3 && roll >= WEIGHT[cls][skill]) roll -= WEIGHT[cls][skill++];
        uint8_t* s[4] = {&hero.attack, &hero.defense, &hero.power, &hero.knowledge};
        if (*s[skill] < 99) {
            ++*s[skill];
            ++g.gains[skill];
        }
    }
    g.new_level = hero.level;
    return g;
}

bool check_and_apply_levelups(HeroState& hero, int hero_index, std::deque<LevelUpEvent>& queue) {
    if (hero.level >= MAX_HERO_LEVEL || hero.experience < LEVEL_XP[hero.level]) return false;
    XorShift32 rng((uint32_t)std::rand());
    return check_and_apply_levelups(hero, hero_index, queue, rng);
}

bool check_and_apply_levelups(HeroState& hero, int hero_index, std::deque<LevelUpEvent>& queue, XorShift32& rng) {
    const LevelUpGain g = apply_levelups(hero, rng);
    if (g.levels_gained <= 0) return false;
    LevelUpEvent ev;
    ev.hero = hero_index;
    ev.levels_gained = g.levels_gained;
    ev.new_level = g.new_level;
    for (int i = 0; i < 4; ++i) ev.gains[i] = g.gains[i];
    ev.name = hero.name;
    ev.portrait = hero.portrait;
    queue.push_back(std::move(ev));
    return true;
}

}  // namespace vorn1
