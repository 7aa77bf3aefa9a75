#include "battle/morale_luck.h"

#include <algorithm>

#include "world/game_state.h"

namespace vorn1 {

bool g_zizezo_bad_luck = false;

namespace {
constexpr uint8_t kZizezo = 12;
}

int creature_faction_group(uint8_t id) {
    if (id == 255) return -1;
    return id >= 24 ? 4 : id / 6;
}

int8_t battle_morale(const MoraleLuckInputs& in, bool bad_luck_option) {
    int m = in.morale;
    if (in.hero_class == 0) m += 1;

    int stacks = 0;
    bool seen[5] = {false, false, false, false, false};
    int factions = 0;
    for (int i = 0; i < 5; ++i) {
        if (in.army_counts[i] == 0) continue;
        ++stacks;  // a slot with troops counts as a stack whatever its id
        int f = creature_faction_group(in.army_ids[i]);
        if (f >= 0 && !seen[f]) {
            seen[f] = true;
            ++factions;
        }
    }
    if (stacks >= 2) {
        if (factions <= 1) m += 1;
        else if (factions >= 3) m -= 1;
    }

    uint8_t f = in.bonus_flags;
    if (f & 0x04) m += 2;
    if (f & 0x08) m += 1;
    if (f & 0x10) m += 1;
    if (f & 0x20) m -= 1;
    if (f & 0x40) m -= 1;

    for (uint8_t a : in.artifacts) {
        if (a >= 8 && a <= 11) m += 1;
        if (a == kZizezo && !bad_luck_option) m -= 2;
    }
    return static_cast<int8_t>(std::clamp(m, -3, 3));
}

int8_t battle_luck(const MoraleLuckInputs& in, bool bad_luck_option) {
    int l = in.luck;
    if (in.bonus_flags & 0x01) l += 1;
    if (in.bonus_flags & 0x02) l += 1;
    bool zizezo = false;
    for (uint8_t a : in.artifacts) {
        if (a >= 31 && a <= 34) l += 1;
        if (a == kZizezo) zizezo = true;
    }
    if (bad_luck_option) {
        if (zizezo) l -= 3;
        return static_cast<int8_t>(std::clamp(l, -3, 3));
    }
    return static_cast<int8_t>(std::clamp(l, 0, 3));
}

// ---- morale and luck of a hero

MoraleLuckInputs morale_luck_inputs(const HeroState& hero) {
    MoraleLuckInputs in;
    in.morale = hero.morale;
    in.luck = hero.luck;
    in.hero_class = static_cast<uint8_t>(hero.crest & 0x0F);
    for (int i = 0; i < 5; ++i) {
        in.army_ids[i] = hero.army.ids[i];
        in.army_counts[i] = hero.army.counts[i];
    }
    in.bonus_flags = hero.visit_flags;
    for (int i = 0; i < 14; ++i) in.artifacts[i] = hero.artifacts[i];
    return in;
}

int8_t hero_battle_morale(const HeroState& hero) { return battle_morale(morale_luck_inputs(hero), g_zizezo_bad_luck); }
int8_t hero_battle_luck(const HeroState& hero) { return battle_luck(morale_luck_inputs(hero), g_zizezo_bad_luck); }

}  // namespace vorn1
