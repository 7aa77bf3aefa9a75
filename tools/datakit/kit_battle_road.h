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
// The ground under red's hero: the first tile of the grass band (map music track 1).
constexpr uint8_t kBattleMapHeroGround = 20;

GameMap make_battle_map();

// The spell map: red's hero with a spellbook, a shrine of View All north of it and one of Meteor
// Shower south, and ogres three tiles east.
constexpr int kSpellMapMonsterX = 13;
constexpr const char* kSpellMapFile = "KITSPELL.MAP";
GameMap make_spell_map();

// Hero pool entries of the sieges (src/world/hero_pool.cpp): the two weakest knights, 10 peasants and 2
// archers and 15 peasants and 2 archers, defend the castles; the two strongest warlock bands, 20 centaurs
// and 5 gargoyles and 20 centaurs and 3 gargoyles, besiege them.
constexpr int kWeakestKnight[2] = {0, 4};
constexpr int kStrongestWarlock[2] = {35, 29};

// The siege map: the player's hero in its castle, a computer hero waiting below the gate.
constexpr int kSiegeMapCastleX = 10, kSiegeMapCastleY = 10;
constexpr const char* kSiegeMapFile = "KITSIEGE.MAP";
GameMap make_siege_map();

// The hot-seat sieges, for two humans (seats 0 and 1, who play in that order) and two computers
// (seats 2 and 3): a castle for every seat in a corner, and seat 2's band waits at the gate of seat
// `gate_seat`'s castle (0: the human who does not play just before that computer, 1: the one who does).
// The humans' castles are their only towns, each with its human's hero inside, so a lost siege puts the
// defender out of the game. The files' names end in the player counts they take (1 to 4), as the
// multi-player maps' do.
constexpr int kHotSeatCastleX[2] = {8, 27}, kHotSeatCastleY[2] = {8, 8};
constexpr const char* kHotSeatSiegeFile[2] = {"KITA1234.MAP", "KITB1234.MAP"};
GameMap make_hot_seat_siege_map(int gate_seat);
// The same humans and first computer without a fourth ruler, seat 2's bands at both humans' gates: one
// computer turn can beat both humans and leave seat 2 the only ruler standing.
constexpr const char* kHotSeatRoutFile = "KITR1230.MAP";
GameMap make_hot_seat_rout_map();

const StringMap& battle_road_english_strings();

}  // namespace vorn1::kit
