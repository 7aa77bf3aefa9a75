#pragma once
// Morale and luck of a side led by a hero: the one sum used by the battle, the headless battle,
// the hero screen and the computer player.
#include <array>
#include <cstdint>

namespace vorn1 {

struct HeroState;

// The bad-luck option as the rules read it: luck may go negative and the Zizezo of Misfortune
// costs luck instead of morale.
extern bool g_zizezo_bad_luck;

struct MoraleLuckInputs {
    int8_t morale = 0;       // the hero's own morale byte
    int8_t luck = 0;         // the hero's own luck byte
    uint8_t hero_class = 0;  // 0..3, 0 knight
    std::array<uint8_t, 5> army_ids{255, 255, 255, 255, 255};
    std::array<int32_t, 5> army_counts{};
    uint8_t bonus_flags = 0;  // one-shot visit bonuses
    std::array<uint8_t, 14> artifacts{255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255, 255};
};

// Faction group of a creature for the army-mix rule: 0..4, -1 for an empty id.
int creature_faction_group(uint8_t id);
int8_t battle_morale(const MoraleLuckInputs& in, bool bad_luck_option);
int8_t battle_luck(const MoraleLuckInputs& in, bool bad_luck_option);

MoraleLuckInputs morale_luck_inputs(const HeroState& hero);
// The hero's battle morale and luck under the current bad-luck option.
int8_t hero_battle_morale(const HeroState& hero);
int8_t hero_battle_luck(const HeroState& hero);

}  // namespace vorn1
