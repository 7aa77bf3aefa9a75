#pragma once
// The kit's battle map (a monster beside the first hero, a graveyard, a castle to besiege) and the
// English texts of the battle hand-offs and the result screen.
#include "datakit/kit_lang.h"
#include "world/map.h"

namespace vorn1::kit {

// Tiles of the battle map's pieces.
constexpr int kBattleMapHeroX = 10, kBattleMapHeroY = 10;   // red's hero
constexpr int kBattleMapMonsterX = 11, kBattleMapMonsterY = 10;
constexpr int kBattleMapGraveX = 10, kBattleMapGraveY = 13;
constexpr int kBattleMapCastleX = 16, kBattleMapCastleY = 16;  // blue's castle
constexpr const char* kBattleMapFile = "KITBATTL.MAP";

GameMap make_battle_map();

// The spell map: red's hero with a spellbook, a shrine of View All north of it and one of Meteor
// Shower south, and ogres three tiles east.
constexpr int kSpellMapMonsterX = 13;
constexpr const char* kSpellMapFile = "KITSPELL.MAP";
GameMap make_spell_map();

// The siege map: the player's hero in its castle, a computer hero waiting below the gate.
constexpr int kSiegeMapCastleX = 10, kSiegeMapCastleY = 10;
constexpr const char* kSiegeMapFile = "KITSIEGE.MAP";
GameMap make_siege_map();

const StringMap& battle_road_english_strings();

}  // namespace vorn1::kit
