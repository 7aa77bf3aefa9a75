#include "datakit/kit_goals.h"

#include "datakit/kit_battle_road.h"
#include "datakit/kit_maps.h"
#include "world/game_state.h"

namespace vorn1::kit {

namespace {

constexpr int kHx = kGoalHeroX, kHy = kGoalHeroY;

// The rival's corner: a mountain ridge closes it off but for one pass, held by a band no computer
// rival can beat within a month, so a rival castle there never reaches the player's side in a game
// that a goal decides.
void rival_corner(MapBuilder& b) {
    for (int i = kRivalRidge; i < 36; ++i) {
        b.mountain(i, kRivalRidge);
        if (i != kRivalPassY) b.mountain(kRivalRidge, i);
    }
    b.monster(kRivalRidge, kRivalPassY, kPassGuardCreature, kPassGuardCount);
    b.town(30, 30, FACTION_WARLOCK, 1, true, "Duskmoor", (uint16_t)(BLD_DWELLING1 | BLD_TAVERN));
    b.hero(31, 31, 27, 1);
}

// The player's castle and hero (the strongest band of the pool, so the one battle of a goal is its),
// and, unless the goal is about the rival itself, a rival castle with its hero in the closed corner.
MapBuilder goal_map(const std::string& name, const std::string& description, bool rival_far_off = true) {
    MapBuilder b(36, 36, G_GRASS, name);
    b.map.description = description;
    b.town(kGoalCastleX, kGoalCastleY, FACTION_KNIGHT, 0, true, "Oakhold", (uint16_t)(BLD_DWELLING1 | BLD_TAVERN));
    b.hero(kHx, kHy, kStrongestWarlock[0], 0);
    if (rival_far_off) rival_corner(b);
    return b;
}

// A rival hero stands beside the player's: a second band of the player's holds the castle, too strong
// for that hero to besiege, so the castle stands while the player seeks the battle.
void castle_guard(MapBuilder& b) { b.hero(kGoalCastleX, kGoalCastleY, kStrongestWarlock[1], 0); }

GameMap defeat_all_map() {
    MapBuilder b = goal_map("Lone Rival", "Win by defeating every rival: your one rival is a hero without a town, two steps east.", false);
    b.hero(kHx + 2, kHy, kWeakestKnight[0], 1);
    castle_guard(b);
    b.victory(VICTORY_DEFEAT_ALL);
    return b.map;
}

GameMap artifact_map() {
    MapBuilder b = goal_map("Crown in Grass", "Win by finding the ultimate artifact: it lies two steps east.");
    b.artifact(kHx + 2, kHy, 0);
    b.victory(VICTORY_ULTIMATE_ARTIFACT);
    return b.map;
}

GameMap gold_map() {
    MapBuilder b = goal_map("Gold Rush", "Win by gathering 100000 gold: two heaps lie east of your hero.");
    b.resource(kHx + 1, kHy, MINE_GOLD, kGoldHeap);
    b.resource(kHx + 2, kHy, MINE_GOLD, kGoldHeap);
    b.victory(VICTORY_GATHER_GOLD);
    return b.map;
}

GameMap dragon_city_map() {
    MapBuilder b = goal_map("Dragon's Roost",
                            "Hold the Dragon City two steps east to win; five dragons guard it: hire the paladins north-east first.");
    b.dragon_city(kHx + 2, kHy);
    b.dwelling(kHx + 1, kHy - 1, kCreaturePaladin, kRoostPaladins);
    b.victory(VICTORY_DRAGON_CITY);
    return b.map;
}

GameMap kill_hero_map() {
    MapBuilder b = goal_map("The Hunted Lord", "Win by defeating the rival lord two steps east.");
    b.hero(kHx + 2, kHy, kWeakestKnight[0], 1);
    castle_guard(b);
    b.victory(VICTORY_KILL_HERO, kHx + 2, kHy);
    return b.map;
}

GameMap calendar_map() {
    MapBuilder b = goal_map("The Long Watch", "Win by holding out until the first month has passed.");
    b.victory(VICTORY_SURVIVE_MONTHS, 1, 0);
    return b.map;
}

GameMap sites_map() {
    MapBuilder b = goal_map("Pilgrim's Way", "Win by visiting the fountain and the faerie ring east of your hero.");
    b.site(kHx + 2, kHy, OBJ_FOUNTAIN);
    b.victory_site(kHx + 2, kHy);
    b.site(kHx + 4, kHy, OBJ_FAERIE_RING);
    b.victory_site(kHx + 4, kHy);
    b.victory(VICTORY_VISIT_SITES);
    return b.map;
}

}  // namespace

std::vector<std::pair<std::string, GameMap>> kit_goal_maps() {
    return {{kDefeatAllGoalFile, defeat_all_map()},  {kArtifactGoalFile, artifact_map()},
            {kGoldGoalFile, gold_map()},              {kDragonCityGoalFile, dragon_city_map()},
            {kHuntedLordGoalFile, kill_hero_map()},   {kCalendarGoalFile, calendar_map()},
            {kSitesGoalFile, sites_map()}};
}

}  // namespace vorn1::kit
