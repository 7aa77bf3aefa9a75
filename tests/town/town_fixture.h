#pragma once
// Small game states built in code for the town rule tests.
#include <gtest/gtest.h>

#include <initializer_list>
#include <utility>

#include "world/game_state.h"

namespace vorn1 {

inline GameState make_game(int players) {
    GameState g;
    g.num_players = players;
    for (int p = 0; p < players && p < MAX_PLAYERS; ++p) {
        g.player_in_play[p] = 1;
        g.player_color[p] = static_cast<uint8_t>(p);
    }
    return g;
}

inline CastleState& add_castle(GameState& g, int owner, uint8_t faction, uint16_t buildings) {
    CastleState c;
    c.live = 1;
    c.x = static_cast<int32_t>(g.castles.size()) * 4;
    c.y = 10;
    c.owner = owner;
    c.faction = faction;
    c.buildings = buildings;
    g.castles.push_back(c);
    return g.castles.back();
}

inline int add_hero(GameState& g, int owner) {
    HeroState h;
    h.live = 1;
    h.owner = owner;
    g.heroes.push_back(h);
    return static_cast<int>(g.heroes.size()) - 1;
}

inline void set_army(CastleState& c, std::initializer_list<std::pair<int, int>> slots) {
    int i = 0;
    for (const auto& [id, count] : slots) {
        c.garrison.ids[i] = static_cast<uint8_t>(id);
        c.garrison.counts[i] = static_cast<uint16_t>(count);
        ++i;
    }
}

inline void expect_same_town_and_treasury(const GameState& a, const GameState& b, int castle, int player) {
    const CastleState& x = a.castles[castle];
    const CastleState& y = b.castles[castle];
    EXPECT_EQ(x.garrison.ids, y.garrison.ids);
    EXPECT_EQ(x.garrison.counts, y.garrison.counts);
    EXPECT_EQ(x.available, y.available);
    EXPECT_EQ(a.resources[player], b.resources[player]);
}

}  // namespace vorn1
