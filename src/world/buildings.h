#pragma once
// Town building rules.
#include <cstdint>

#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

enum BuildSlot : uint8_t {
    BS_MAGE_GUILD = 0, BS_SHIPYARD = 1, BS_DWELLING_1 = 2, BS_DWELLING_4 = 3, BS_THIEVES_GUILD = 4, BS_WELL = 5,
    BS_DWELLING_2 = 6, BS_DWELLING_5 = 7, BS_TAVERN = 8, BS_DWELLING_0 = 9, BS_DWELLING_3 = 10, BS_RECRUIT_HERO = 11,
};
enum BuildStatus : uint8_t { BUILD_OK = 0, BUILD_BUILT = 1, BUILD_NOT_ALLOWED = 2, BUILD_CANNOT_AFFORD = 3 };

struct StructureDef {
    const char* name;             // English
    int32_t picture;              // BUILDING.ICN frame
    uint16_t bit;                 // 0 for the first dwelling and the recruit-hero entry
    int32_t cost[7];              // gold, wood, ore, crystal, gems, mercury, sulfur
    uint16_t requires_bits;       // "requires": bits that must all stand
    const char* creature_plural;  // dwellings only
    int32_t panel_rows;           // 5; 6 for the thieves' guild
    const char* description;      // buildings other than dwellings
    bool requires_first_dwelling;
};

// Dwelling slot (0..5) of a build slot; -1 for the others.
int build_slot_dwelling(BuildSlot slot);
// The record of a slot; null for a faction outside 0..3 or a slot above 11. Slot 0 gives guild level 1.
const StructureDef* get_structure_def(BuildSlot slot, int faction);
// The record of mage guild level 1..4; null outside.
const StructureDef* mage_guild_def(int level);
const StructureDef* castle_def(int faction);
// Price of a record as PlayerResources.
PlayerResources structure_cost(const StructureDef& def);

BuildStatus get_build_status(BuildSlot slot, const CastleState& castle, const PlayerResources& res,
                             const GameMap& map, bool built_today);
// Whether a castle's build screen sells the building of `slot` today with `res` (hiring a hero is
// not building).
bool build_screen_sells(BuildSlot slot, const CastleState& castle, const PlayerResources& res, const GameMap& map);
// Whether a player's town has a build screen (a castle) that sells some building today.
bool town_can_build_today(const CastleState& castle, const GameState& state, const GameMap& map);
// Sets the slot's bit, pays its price and sets built_today. Nothing happens for slot 11 or an unknown slot.
void apply_build(BuildSlot slot, CastleState& castle, PlayerResources& res, bool& built_today);
// Castle flag set, castle bit set, tent bit cleared, and the footprint on the map rewritten.
void upgrade_town_to_castle(GameMap& map, CastleState& castle);
// 5000 gold, 20 wood, 20 ore.
PlayerResources castle_upgrade_cost();

}  // namespace vorn1
