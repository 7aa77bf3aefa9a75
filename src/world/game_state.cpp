#include "world/game_state.h"

#include <algorithm>

namespace vorn1 {

int resource_index_of_kind(int kind) {
    static const int MAP[MINE_KIND_COUNT] = {RES_WOOD, RES_MERCURY, RES_ORE, RES_SULFUR, RES_CRYSTAL, RES_GEMS, RES_GOLD};
    return kind >= 0 && kind < MINE_KIND_COUNT ? MAP[kind] : -1;
}

int32_t& PlayerResources::operator[](int i) {
    switch (i) {
    case RES_GOLD: return gold;
    case RES_WOOD: return wood;
    case RES_ORE: return ore;
    case RES_CRYSTAL: return crystal;
    case RES_MERCURY: return mercury;
    case RES_GEMS: return gems;
    case RES_SULFUR: return sulfur;
    }
    static thread_local int32_t scratch;
    scratch = 0;
    return scratch;
}

int32_t PlayerResources::operator[](int i) const { return const_cast<PlayerResources&>(*this)[i]; }

bool PlayerResources::covers(const PlayerResources& cost) const {
    for (int i = 0; i < RES_COUNT; ++i)
        if ((*this)[i] < cost[i]) return false;
    return true;
}

PlayerResources& PlayerResources::operator+=(const PlayerResources& o) {
    for (int i = 0; i < RES_COUNT; ++i) (*this)[i] += o[i];
    return *this;
}

PlayerResources& PlayerResources::operator-=(const PlayerResources& o) {
    for (int i = 0; i < RES_COUNT; ++i) (*this)[i] -= o[i];
    return *this;
}

bool Army::empty() const { return stack_count() == 0; }

int Army::stack_count() const {
    int n = 0;
    for (int i = 0; i < ARMY_SLOTS; ++i) n += slot_empty(i) ? 0 : 1;
    return n;
}

void Army::clear() { *this = Army{}; }

bool FogOfWar::is_explored(int x, int y) const {
    if (x < 0 || y < 0 || x >= FOG_DIM || y >= FOG_DIM) return false;
    return explored[x + FOG_DIM * y] != 0;
}

void FogOfWar::set_explored(int x, int y, bool on) {
    if (x < 0 || y < 0 || x >= FOG_DIM || y >= FOG_DIM) return;
    explored[x + FOG_DIM * y] = on ? 1 : 0;
}

void FogOfWar::reveal_radius(int x, int y, int r) {
    if (r < 0) return;
    r = std::min(r, FOG_DIM * 2);
    const int reach = r + r / 2;
    for (int dy = -r; dy <= r; ++dy) {
        const int ty = y + dy;
        if (ty < 0 || ty >= FOG_DIM) continue;
        for (int dx = -r; dx <= r; ++dx) {
            const int tx = x + dx;
            if (tx < 0 || tx >= FOG_DIM) continue;
            if (std::abs(dx) + std::abs(dy) <= reach) explored[tx + FOG_DIM * ty] = 1;
        }
    }
}

bool HeroState::has_artifact(int id) const { return artifact_count(id) > 0; }

int HeroState::artifact_count(int id) const {
    if (id < 0 || id >= EMPTY_ID) return 0;
    return (int)std::count(artifacts.begin(), artifacts.end(), (uint8_t)id);
}

int HeroState::free_artifact_slot() const {
    for (int i = 0; i < ARTIFACT_SLOTS; ++i)
        if (artifacts[i] == EMPTY_ID) return i;
    return -1;
}

uint16_t dwelling_bit(int slot) { return slot >= 1 && slot <= 5 ? (uint16_t)(0x100u << (slot - 1)) : 0; }

bool dwelling_built(uint16_t buildings, int slot) {
    if (slot == 0) return true;
    const uint16_t bit = dwelling_bit(slot);
    return bit != 0 && (buildings & bit) != 0;
}

int GameState::hero_at(int x, int y) const {
    for (int i = 0; i < (int)heroes.size(); ++i)
        if (heroes[i].live && heroes[i].x == x && heroes[i].y == y) return i;
    return -1;
}

int GameState::castle_at(int x, int y) const {
    for (int i = 0; i < (int)castles.size(); ++i)
        if (castles[i].live && castles[i].x == x && castles[i].y == y) return i;
    return -1;
}

int GameState::monster_at(int x, int y) const {
    for (int i = 0; i < (int)monsters.size(); ++i)
        if (!monsters[i].removed && monsters[i].x == x && monsters[i].y == y) return i;
    return -1;
}

int GameState::garrison_at(int x, int y) const {
    for (int i = 0; i < (int)garrisons.size(); ++i)
        if (garrisons[i].live && garrisons[i].x == x && garrisons[i].y == y) return i;
    return -1;
}

int GameState::mine_at(int x, int y) const {
    for (int i = 0; i < (int)mines.size(); ++i)
        if (mines[i].live && mines[i].x == x && mines[i].y == y) return i;
    return -1;
}

int GameState::boat_at(int x, int y) const {
    for (int i = 0; i < (int)boats.size(); ++i)
        if (boats[i].active && boats[i].x == x && boats[i].y == y) return i;
    return -1;
}

int HeroPool::count_player_heroes(int player, const GameState& state) {
    if (!is_player_index(player)) return 0;
    int n = 0;
    for (const HeroState& h : state.heroes)
        if (h.live && h.owner == player) ++n;
    return n;
}

const CreatureJoinRow CREATURE_JOIN_TABLE[CREATURE_COUNT] = {
    {18, 30, 80},   {256, 20, 30},  {399, 20, 30},  {399, 12, 25},  {1274, 8, 16},  {4014, 6, 12},
    {57, 25, 40},   {241, 15, 30},  {482, 20, 35},  {902, 10, 20},  {2627, 7, 10},  {5721, 5, 7},
    {74, 20, 40},   {380, 10, 25},  {567, 15, 30},  {1019, 10, 25}, {1866, 8, 15},  {11177, 7, 12},
    {94, 20, 50},   {379, 15, 30},  {739, 10, 25},  {1248, 10, 16}, {3142, 6, 8},   {45258, 3, 7},
    {112, 20, 40},  {544, 12, 25},  {1263, 10, 20}, {3831, 4, 9},
};

const int32_t ARTIFACT_BASE_RV[ARTIFACT_COUNT] = {
    9000, 22000, 18000, 14000, 6000, 4000, 4000, 5600, 1200, 1200, 1200, 1200, -1200,
    2000, 1800, 1800, 2000, 1000, 3600, 5600, 4000, 5040, 2700, 3900, 4950, 5850,
    7000, 6000, 4000, 4500, 2250, 1200, 1200, 1200, 1200, 3500, 1500,
};

}  // namespace vorn1
