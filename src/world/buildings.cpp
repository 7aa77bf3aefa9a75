#include "world/buildings.h"

#include "world/spell_table.h"

namespace vorn1 {

namespace {

#define COST(g, w, o, c, ge, m, s) {g, w, o, c, ge, m, s}

const StructureDef GUILD[4] = {
    {"Mage Guild, Level 1", 1, BLD_GUILD1, COST(2000, 5, 5, 0, 0, 0, 0), 0, nullptr, 5, "Teaches the spells of the first circle.", false},
    {"Mage Guild, Level 2", 1, BLD_GUILD2, COST(1000, 5, 5, 4, 4, 4, 4), BLD_GUILD1, nullptr, 5, "Teaches the spells of the second circle.", false},
    {"Mage Guild, Level 3", 1, BLD_GUILD3, COST(1000, 5, 5, 6, 6, 6, 6), BLD_GUILD2, nullptr, 5, "Teaches the spells of the third circle.", false},
    {"Mage Guild, Level 4", 1, BLD_GUILD4, COST(1000, 5, 5, 10, 10, 10, 10), BLD_GUILD3, nullptr, 5, "Teaches the spells of the fourth circle.", false},
};
const StructureDef THIEVES{"Thieves' Guild", 2, BLD_THIEVES_GUILD, COST(750, 5, 0, 0, 0, 0, 0), 0, nullptr, 6,
                           "Tells what is known of the other rulers.", false};
const StructureDef TAVERN{"Tavern", 3, BLD_TAVERN, COST(500, 5, 0, 0, 0, 0, 0), 0, nullptr, 5,
                          "Raises the morale of troops defending the town.", false};
const StructureDef SHIPYARD{"Shipyard", 4, BLD_SHIPYARD, COST(2000, 20, 0, 0, 0, 0, 0), 0, nullptr, 5,
                            "Builds boats for heroes who must cross water.", false};
const StructureDef WELL{"Well", 5, BLD_WELL, COST(500, 0, 0, 0, 0, 0, 0), 0, nullptr, 5,
                        "Raises the weekly growth of every dwelling.", false};
const StructureDef RECRUIT{"Recruit Hero", 6, 0, COST(2500, 0, 0, 0, 0, 0, 0), 0, nullptr, 5, "Hire a hero.", false};
const StructureDef CASTLE[4] = {
    {"Castle", 7, BLD_CASTLE, COST(5000, 20, 20, 0, 0, 0, 0), 0, nullptr, 5, "Walls and towers guard the town.", false},
    {"Castle", 21, BLD_CASTLE, COST(5000, 20, 20, 0, 0, 0, 0), 0, nullptr, 5, "Walls and towers guard the town.", false},
    {"Castle", 14, BLD_CASTLE, COST(5000, 20, 20, 0, 0, 0, 0), 0, nullptr, 5, "Walls and towers guard the town.", false},
    {"Castle", 28, BLD_CASTLE, COST(5000, 20, 20, 0, 0, 0, 0), 0, nullptr, 5, "Walls and towers guard the town.", false},
};

// Dwellings by faction and slot 0..5; each needs the one before it.
const StructureDef DWELLING[4][6] = {
    {{"Thatched Hut", 8, 0, COST(200, 0, 0, 0, 0, 0, 0), 0, "Peasants", 5, nullptr, false},
     {"Archery Range", 9, BLD_DWELLING1, COST(1000, 0, 0, 0, 0, 0, 0), 0, "Archers", 5, nullptr, true},
     {"Blacksmith", 10, BLD_DWELLING2, COST(1000, 0, 5, 0, 0, 0, 0), BLD_DWELLING1, "Pikemen", 5, nullptr, false},
     {"Armory", 11, BLD_DWELLING3, COST(2000, 10, 10, 0, 0, 0, 0), BLD_DWELLING2, "Swordsmen", 5, nullptr, false},
     {"Jousting Arena", 12, BLD_DWELLING4, COST(3000, 20, 0, 0, 0, 0, 0), BLD_DWELLING3, "Cavalry", 5, nullptr, false},
     {"Cathedral", 13, BLD_DWELLING5, COST(5000, 20, 0, 20, 0, 0, 0), BLD_DWELLING4, "Paladins", 5, nullptr, false}},
    {{"Hut", 22, 0, COST(500, 5, 0, 0, 0, 0, 0), 0, "Goblins", 5, nullptr, false},
     {"Stick Hut", 23, BLD_DWELLING1, COST(1000, 5, 0, 0, 0, 0, 0), 0, "Orcs", 5, nullptr, true},
     {"Den", 24, BLD_DWELLING2, COST(1500, 0, 0, 0, 0, 0, 0), BLD_DWELLING1, "Wolves", 5, nullptr, false},
     {"Adobe", 25, BLD_DWELLING3, COST(2500, 0, 10, 0, 0, 10, 0), BLD_DWELLING2, "Ogres", 5, nullptr, false},
     {"Bridge", 26, BLD_DWELLING4, COST(3000, 10, 0, 0, 10, 0, 0), BLD_DWELLING3, "Trolls", 5, nullptr, false},
     {"Pyramid", 27, BLD_DWELLING5, COST(10000, 0, 30, 0, 0, 20, 0), BLD_DWELLING4, "Cyclopes", 5, nullptr, false}},
    {{"Treehouse", 15, 0, COST(300, 0, 0, 0, 0, 0, 0), 0, "Sprites", 5, nullptr, false},
     {"Cottage", 16, BLD_DWELLING1, COST(800, 5, 0, 0, 0, 0, 0), 0, "Dwarves", 5, nullptr, true},
     {"Archery Range", 17, BLD_DWELLING2, COST(1000, 0, 0, 0, 0, 0, 0), BLD_DWELLING1, "Elves", 5, nullptr, false},
     {"Stonehenge", 18, BLD_DWELLING3, COST(2000, 10, 10, 0, 0, 0, 0), BLD_DWELLING2, "Druids", 5, nullptr, false},
     {"Fenced Meadow", 19, BLD_DWELLING4, COST(4000, 0, 20, 0, 0, 0, 0), BLD_DWELLING3, "Unicorns", 5, nullptr, false},
     {"Red Tower", 20, BLD_DWELLING5, COST(6000, 0, 20, 20, 0, 0, 0), BLD_DWELLING4, "Phoenixes", 5, nullptr, false}},
    {{"Cave", 29, 0, COST(500, 0, 0, 0, 0, 0, 0), 0, "Centaurs", 5, nullptr, false},
     {"Crypt", 30, BLD_DWELLING1, COST(1000, 0, 10, 0, 0, 0, 0), 0, "Gargoyles", 5, nullptr, true},
     {"Nest", 31, BLD_DWELLING2, COST(2000, 0, 0, 0, 0, 0, 0), BLD_DWELLING1, "Griffins", 5, nullptr, false},
     {"Maze", 32, BLD_DWELLING3, COST(3000, 0, 0, 0, 10, 0, 0), BLD_DWELLING2, "Minotaurs", 5, nullptr, false},
     {"Swamp", 33, BLD_DWELLING4, COST(4000, 0, 0, 0, 0, 0, 10), BLD_DWELLING3, "Hydras", 5, nullptr, false},
     {"Black Tower", 34, BLD_DWELLING5, COST(15000, 0, 30, 0, 0, 0, 20), BLD_DWELLING4, "Dragons", 5, nullptr, false}},
};

#undef COST

}  // namespace

int build_slot_dwelling(BuildSlot slot) {
    switch (slot) {
    case BS_DWELLING_0: return 0;
    case BS_DWELLING_1: return 1;
    case BS_DWELLING_2: return 2;
    case BS_DWELLING_3: return 3;
    case BS_DWELLING_4: return 4;
    case BS_DWELLING_5: return 5;
    default: return -1;
    }
}

const StructureDef* mage_guild_def(int level) { return level >= 1 && level <= 4 ? &GUILD[level - 1] : nullptr; }

const StructureDef* castle_def(int faction) { return faction >= 0 && faction < 4 ? &CASTLE[faction] : nullptr; }

const StructureDef* get_structure_def(BuildSlot slot, int faction) {
    if (faction < 0 || faction > 3 || slot > BS_RECRUIT_HERO) return nullptr;
    switch (slot) {
    case BS_MAGE_GUILD: return &GUILD[0];
    case BS_SHIPYARD: return &SHIPYARD;
    case BS_THIEVES_GUILD: return &THIEVES;
    case BS_WELL: return &WELL;
    case BS_TAVERN: return &TAVERN;
    case BS_RECRUIT_HERO: return &RECRUIT;
    default: return &DWELLING[faction][build_slot_dwelling(slot)];
    }
}

PlayerResources structure_cost(const StructureDef& d) {
    PlayerResources r;
    r.gold = d.cost[0];
    r.wood = d.cost[1];
    r.ore = d.cost[2];
    r.crystal = d.cost[3];
    r.gems = d.cost[4];
    r.mercury = d.cost[5];
    r.sulfur = d.cost[6];
    return r;
}

// The record a slot builds next (slot 0 climbs the guild); null when nothing is left to build there.
static const StructureDef* next_def(BuildSlot slot, const CastleState& castle, bool& all_built) {
    all_built = false;
    if (slot == BS_MAGE_GUILD) {
        const int level = mage_guild_level_of(castle.buildings);
        if (level >= 4) {
            all_built = true;
            return nullptr;
        }
        return mage_guild_def(level + 1);
    }
    return get_structure_def(slot, castle.faction);
}

BuildStatus get_build_status(BuildSlot slot, const CastleState& castle, const PlayerResources& res, const GameMap& map,
                             bool built_today) {
    if (slot == BS_RECRUIT_HERO) return BUILD_OK;
    bool all_built;
    const StructureDef* d = next_def(slot, castle, all_built);
    if (all_built) return BUILD_BUILT;
    if (!d) return BUILD_NOT_ALLOWED;
    if (d->bit == 0 || (castle.buildings & d->bit)) return BUILD_BUILT;
    if (slot == BS_SHIPYARD && !water_within(map, castle.x, castle.y, 2)) return BUILD_NOT_ALLOWED;
    if ((castle.buildings & d->requires_bits) != d->requires_bits || built_today) return BUILD_NOT_ALLOWED;
    if (!res.covers(structure_cost(*d))) return BUILD_CANNOT_AFFORD;
    return BUILD_OK;
}

bool build_screen_sells(BuildSlot slot, const CastleState& castle, const PlayerResources& res, const GameMap& map) {
    return slot != BS_RECRUIT_HERO && get_build_status(slot, castle, res, map, castle.built_today != 0) == BUILD_OK;
}

bool town_can_build_today(const CastleState& castle, const GameState& state, const GameMap& map) {
    if (!castle.live || !castle.is_castle || !(castle.buildings & BLD_CASTLE) || !is_player_index(castle.owner))
        return false;
    const PlayerResources& res = state.resources[(size_t)castle.owner];
    for (int slot = 0; slot < BS_RECRUIT_HERO; ++slot)
        if (build_screen_sells(static_cast<BuildSlot>(slot), castle, res, map)) return true;
    return false;
}

void apply_build(BuildSlot slot, CastleState& castle, PlayerResources& res, bool& built_today) {
    if (slot == BS_RECRUIT_HERO) return;
    bool all_built;
    const StructureDef* d = next_def(slot, castle, all_built);
    if (!d || d->bit == 0) return;
    castle.buildings |= d->bit;
    res -= structure_cost(*d);
    built_today = true;
    castle.built_today = 1;
}

PlayerResources castle_upgrade_cost() { return structure_cost(CASTLE[0]); }

void upgrade_town_to_castle(GameMap& map, CastleState& castle) {
    castle.is_castle = 1;
    castle.buildings = (uint16_t)((castle.buildings | BLD_CASTLE) & ~BLD_TENT);
    write_town_footprint(map, castle.x, castle.y, castle.faction, true);
}

}  // namespace vorn1
