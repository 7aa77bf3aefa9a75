#include "world/spell_table.h"

#include <cstdio>

#include "lang/runtime_strings.h"
#include "world/game_state.h"

namespace vorn1 {

const std::array<SpellInfo, kSpellCount> SPELL_TABLE = {{
    {0, 1, "Bless", 8},
    {1, 1, "Curse", 10},
    {2, 1, "Dispel Magic", 13},
    {3, 1, "Protection", 9},
    {4, 1, "Slow", 6},
    {5, 1, "View Mines", 19},
    {6, 1, "View Resources", 20},
    {7, 2, "Anti-Magic", 12},
    {8, 2, "Blind", 7},
    {9, 2, "Cure", 3},
    {10, 2, "Haste", 5},
    {11, 2, "Lightning Bolt", 1},
    {12, 2, "Summon Boat", 26},
    {13, 2, "Turn Undead", 11},
    {14, 2, "View Artifacts", 21},
    {15, 3, "Berserker", 14},
    {16, 3, "Fireball", 0},
    {17, 3, "Identify Hero", 25},
    {18, 3, "Paralyze", 18},
    {19, 3, "Ressurect", 4},
    {20, 3, "Storm", 16},
    {21, 3, "Teleport", 2},
    {22, 3, "View Heroes", 23},
    {23, 3, "View Towns", 22},
    {24, 4, "Armageddon", 15},
    {25, 4, "Dimension Door", 27},
    {26, 4, "Meteor Shower", 17},
    {27, 4, "Town Gate", 28},
    {28, 4, "View All", 24},
}};

const SpellInfo* spell_info(int spell) {
    if (spell < 0 || spell >= kSpellCount) return nullptr;
    return &SPELL_TABLE[static_cast<size_t>(spell)];
}

const std::string& spell_name(int spell) {
    static const std::string empty;
    if (spell < 0 || spell >= kSpellCount) return empty;
    char key[16];
    std::snprintf(key, sizeof key, "SPELLNAME_%02d", spell);
    return strings().get(key);
}

int mage_guild_level_of(uint16_t buildings) {
    if (buildings & BLD_GUILD4) return 4;
    if (buildings & BLD_GUILD3) return 3;
    if (buildings & BLD_GUILD2) return 2;
    if (buildings & BLD_GUILD1) return 1;
    return 0;
}

int mage_guild_level(const CastleState& castle) { return mage_guild_level_of(castle.buildings); }

}  // namespace vorn1
