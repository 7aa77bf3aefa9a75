#pragma once
// The creature rules table and the battle's questions about a creature.
#include <array>
#include <cstdint>
#include <string>

#include "lang/runtime_strings.h"

namespace vorn1 {

struct CreatureStats {
    const char* name = "";
    int32_t attack = 0;
    int32_t defense = 0;
    int32_t shots = 0;
    int32_t min_dmg = 0;
    int32_t max_dmg = 0;
    int32_t hp = 0;
    int32_t speed = 0;
    bool shooter = false;
};

constexpr int kCreatureCount = 28;
extern const std::array<CreatureStats, kCreatureCount> CSV_STATS;

// Key stems by creature id ("CREATURE_" + stem + "_PLURAL" / "_ACC").
inline const std::array<const char*, kCreatureCount>& kBattleCreatureStem = kCreatureKeyStem;

// Row copy with `shooter` set from shots; ids above 27: empty name, zeros, speed 2.
CreatureStats creature_stats(uint8_t id);
bool creature_can_fly(uint8_t id);
int creature_speed_rank(uint8_t id);
int movement_range(uint8_t id);
bool creature_is_magic_immune(uint8_t id);
const char* creature_name(uint8_t id);
// Localised plural (nominative) and object-case names; "Unknown" above id 27.
const std::string& creature_name_nom(uint8_t id);
const std::string& creature_name_obj(uint8_t id);

// Whether the creature resists the spell; steps `rng` only when a roll is needed.
bool roll_spell_resistance(uint8_t id, int spell, uint32_t& rng);

// Key of the morale / luck label for a value (exposed for tests), and its localised text.
const char* morale_label_key(int8_t value);
const char* luck_label_key(int8_t value);
const std::string& morale_label(int8_t value);
const std::string& luck_label(int8_t value);

}  // namespace vorn1
