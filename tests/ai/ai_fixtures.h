#pragma once
// Small game states for the computer player's tests: a blank 72 x 72 grass map and records placed by hand.
#include <initializer_list>
#include <utility>

#include "world/game_state.h"
#include "world/map.h"

namespace vorn1::aitest {

inline Army army_of(std::initializer_list<std::pair<int, int>> stacks) {
    Army a;
    int i = 0;
    for (auto [id, n] : stacks) {
        a.ids[i] = static_cast<uint8_t>(id);
        a.counts[i] = static_cast<uint16_t>(n);
        ++i;
    }
    return a;
}

// Two computer seats (Red Average, Green Average) and a human Blue seat, day 1.
inline GameState two_player_state() {
    GameState s;
    s.num_players = 3;
    s.player_color = {COLOR_RED, COLOR_GREEN, COLOR_BLUE, COLOR_NONE};
    s.player_in_play = {1, 1, 1, 0xFF};
    s.player_is_human = {0, 0, 1, 0};
    s.player_ai_level = {AI_AVERAGE, AI_AVERAGE, AI_NONE, AI_NONE};
    for (AIPlayerVars& v : s.ai_vars) v.battle_bias = 0.3f;
    return s;
}

inline int add_hero(GameState& s, GameMap& map, int owner, int x, int y, Army army, uint8_t crest = CLASS_BARBARIAN) {
    HeroState h;
    h.live = 1;
    h.owner = owner;
    h.x = x;
    h.y = y;
    h.army = army;
    h.crest = static_cast<uint8_t>(crest | ((owner & 0xF) << 4));
    h.name = "Hero" + std::to_string(s.heroes.size());
    s.heroes.push_back(h);
    if (MapTile* t = map.tile(x, y)) t->hero_figure = 1;
    return static_cast<int>(s.heroes.size()) - 1;
}

inline int add_town(GameState& s, int owner, int x, int y, bool castle, uint8_t faction = FACTION_KNIGHT,
                    uint16_t buildings = 0) {
    CastleState c;
    c.live = 1;
    c.owner = owner;
    c.x = x;
    c.y = y;
    c.is_castle = castle ? 1 : 0;
    c.faction = faction;
    c.buildings = static_cast<uint16_t>(buildings | (castle ? BLD_CASTLE : BLD_TENT));
    s.castles.push_back(c);
    return static_cast<int>(s.castles.size()) - 1;
}

inline int add_monster(GameState& s, GameMap& map, int x, int y, int creature, int count) {
    MonsterStackState m;
    m.x = x;
    m.y = y;
    m.creature = static_cast<uint8_t>(creature);
    m.count = count;
    s.monsters.push_back(m);
    if (MapTile* t = map.tile(x, y)) {
        t->object_type = OBJ_MONSTER;
        t->layer1_set = SET_MONSTER;
        t->layer1_frame = static_cast<uint8_t>(creature);
        t->object_detail = static_cast<uint8_t>(std::min(count, 255));
        t->blocking = 0;
    }
    return static_cast<int>(s.monsters.size()) - 1;
}

}  // namespace vorn1::aitest
