#pragma once
// The spell table and the level of a town's mage guild.
#include <array>
#include <cstdint>
#include <string>

namespace vorn1 {

struct CastleState;

struct SpellInfo {
    int32_t id;
    int32_t level;      // 1..4
    const char* name;   // English; screens show spell_name
    int32_t icon;       // SPELLS.ICN frame
};

constexpr int kSpellCount = 29;

extern const std::array<SpellInfo, kSpellCount> SPELL_TABLE;

// The row of a spell id 0..28; null for any other value.
const SpellInfo* spell_info(int spell);

// The localised name ("SPELLNAME_nn"); empty for an id outside 0..28.
// The text is owned by the string table and stays valid until its next load.
const std::string& spell_name(int spell);

// 0..4 from a building set: the highest guild bit present wins.
int mage_guild_level_of(uint16_t buildings);
int mage_guild_level(const CastleState& castle);

}  // namespace vorn1
