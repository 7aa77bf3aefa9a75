#include "world/hero_pool.h"

#include <algorithm>

#include "world/new_day.h"
#include "world/tile_rules.h"

namespace vorn1 {

const char* const HERO_POOL_NAMES[HERO_POOL_SIZE] = {
    "Lord Zevoraz", "Lord Vaziv", "Sir Gallant", "Arturius", "Tyro",    "Maxiumus",  "Ector",   "Zureriz",
    "Zedarov",      "Zerarur",    "Ergon",       "Kelzen",   "Razud",   "Vaza Zide", "Diduvo",  "Atlas",
    "Yog",          "Ruvuvaz",    "Rerev",       "Redazur",  "Ziriduz", "Vizedav",   "Luna",    "Razov",
    "Zivozer",      "Gem",        "Zurizu",      "Rero",     "Zorud",   "Dazezir",   "Rovod",   "Arie",
    "Zivozoz",      "Revuza",     "Zazizuviv",   "Dodora"};

void init_hero_pool(HeroPool& pool) {
    // Nine heroes per faction in pool order: knights, barbarians, sorceresses, warlocks.
    static const uint8_t SKILLS[4][4] = {{2, 2, 1, 1}, {3, 1, 1, 1}, {0, 0, 2, 3}, {0, 0, 3, 2}};
    pool = HeroPool{};
    for (int i = 0; i < HERO_POOL_SIZE; ++i) {
        HeroPoolEntry& e = pool.entries[i];
        const int f = i / 9;
        e.faction = (uint8_t)f;
        e.name = HERO_POOL_NAMES[i];
        e.kind = (uint8_t)f;
        for (int k = 0; k < 4; ++k) e.start_skills[k] = SKILLS[f][k];
        e.start_army.ids[0] = (uint8_t)(f * 6);
        e.start_army.counts[0] = (uint16_t)(10 + (i % 3) * 5);
        e.start_army.ids[1] = (uint8_t)(f * 6 + 1);
        e.start_army.counts[1] = (uint16_t)(2 + i % 4);
        e.start_spellbook = f >= 2 ? 1 : 0;
        pool.free_entries.push_back(i);
    }
}

static void drop_from_offers(GameState& state, int pool_index) {
    for (auto& o : state.offers)
        for (int32_t& v : o)
            if (v == pool_index) v = -1;
}

void refresh_hero_offers(GameState& state, int player, XorShift32& rng) {
    if (!is_player_index(player)) return;
    auto offered_elsewhere = [&](int e) {
        for (int p = 0; p < MAX_PLAYERS; ++p)
            if (p != player && (state.offers[p][0] == e || state.offers[p][1] == e)) return true;
        return false;
    };
    std::vector<int> pick, spare;
    for (int32_t e : state.pool.free_entries) {
        if (e < 0 || e >= HERO_POOL_SIZE || state.pool.entries[e].status == POOL_IN_PLAY) continue;
        (offered_elsewhere(e) ? spare : pick).push_back(e);
    }
    if (pick.size() < 2) pick.insert(pick.end(), spare.begin(), spare.end());
    for (int k = 0; k < 2; ++k) {
        if (pick.empty()) {
            state.offers[player][k] = -1;
            continue;
        }
        const int j = rng.below((int)pick.size());
        state.offers[player][k] = pick[j];
        pick.erase(pick.begin() + j);
    }
}

HeroState hero_state_from_pool_entry(const GameState& state, int pool_index, int owner) {
    HeroState h;
    if (pool_index < 0 || pool_index >= HERO_POOL_SIZE) return h;
    const HeroPoolEntry& e = state.pool.entries[pool_index];
    const int color = is_player_index(owner) && state.player_color[owner] < 4 ? state.player_color[owner] : 0;
    h.owner = owner;
    h.portrait = (uint8_t)pool_index;
    h.name = e.name;
    h.crest = (uint8_t)((e.kind & 0x0F) | (color << 4));
    h.figure = (uint8_t)(pool_index + 1);
    h.level = 1;
    if (e.status == POOL_RETURNED) {
        h.army = e.kept_army;
        h.artifacts = e.kept_artifacts;
        h.experience = (uint32_t)std::max(0, e.kept_experience);
        h.has_spellbook = e.kept_spellbook;
        h.spell_charges = e.kept_charges;
        h.attack = e.kept_skills[0];
        h.defense = e.kept_skills[1];
        h.power = e.kept_skills[2];
        h.knowledge = e.kept_skills[3];
        h.level = std::max<uint8_t>(1, e.kept_level);
    } else {
        h.army = e.start_army;
        h.experience = (uint32_t)std::max(0, e.start_experience);
        h.has_spellbook = e.start_spellbook;
        h.attack = e.start_skills[0];
        h.defense = e.start_skills[1];
        h.power = e.start_skills[2];
        h.knowledge = e.start_skills[3];
    }
    if (h.has_spellbook && h.free_artifact_slot() >= 0 && !h.has_artifact(ART_MAGIC_BOOK))
        h.artifacts[h.free_artifact_slot()] = ART_MAGIC_BOOK;
    return h;
}

int recruit_hero_from_pool(GameState& state, GameMap& map, int pool_index, int player, int x, int y) {
    if (pool_index < 0 || pool_index >= HERO_POOL_SIZE || !is_player_index(player)) return -1;
    HeroPoolEntry& e = state.pool.entries[pool_index];
    if (e.status == POOL_IN_PLAY || e.faction == EMPTY_ID) return -1;
    HeroState h = hero_state_from_pool_entry(state, pool_index, player);
    h.live = 1;
    h.x = x;
    h.y = y;
    int idx = -1;
    for (int i = 0; i < (int)state.heroes.size() && idx < 0; ++i)
        if (!state.heroes[i].live) idx = i;
    if (idx < 0) {
        idx = (int)state.heroes.size();
        state.heroes.push_back(h);
    } else {
        state.heroes[idx] = h;
    }
    e.status = POOL_IN_PLAY;
    e.last_owner = player;
    // The hunted lord back on the map is to be beaten anew, whoever beat him before.
    if (pool_index == state.victory.lord_entry) state.victory.lord_beaten_by = -1;
    auto& fl = state.pool.free_entries;
    fl.erase(std::remove(fl.begin(), fl.end(), pool_index), fl.end());
    drop_from_offers(state, pool_index);
    place_hero_on_map(map, state.heroes[idx]);
    return idx;
}

int hire_hero(GameState& state, GameMap& map, int pool_index, int player, int x, int y) {
    if (!is_player_index(player) || state.resources[player].gold < HERO_HIRE_COST) return -1;
    if (HeroPool::count_player_heroes(player, state) >= MAX_HEROES_PER_PLAYER) return -1;
    const int h = recruit_hero_from_pool(state, map, pool_index, player, x, y);
    if (h >= 0) state.resources[player].gold -= HERO_HIRE_COST;
    return h;
}

int pool_index_of_hero(const GameState& state, int hero) {
    if (!state.valid_hero(hero)) return -1;
    const HeroState& h = state.heroes[hero];
    if (h.portrait < HERO_POOL_SIZE && state.pool.entries[h.portrait].name == h.name) return h.portrait;
    for (int i = 0; i < HERO_POOL_SIZE; ++i)
        if (state.pool.entries[i].name == h.name) return i;
    return -1;
}

void return_hero_to_pool(GameState& state, GameMap& map, int hero, int /*reason*/) {
    if (!state.valid_hero(hero)) return;
    HeroState& h = state.heroes[hero];
    if (h.live) clear_hero_from_map(map, h);
    const int pi = pool_index_of_hero(state, hero);
    if (pi >= 0) {
        HeroPoolEntry& e = state.pool.entries[pi];
        e.status = POOL_RETURNED;
        e.last_owner = h.owner;
        e.week_returned = calendar_week_count(state.week, state.month);
        e.kept_army = h.army;
        e.kept_artifacts = h.artifacts;
        e.kept_experience = (int32_t)std::min<uint32_t>(h.experience, INT32_MAX);
        e.kept_spellbook = h.has_spellbook;
        e.kept_charges = h.spell_charges;
        e.kept_skills = {h.attack, h.defense, h.power, h.knowledge};
        e.kept_level = h.level;
        auto& fl = state.pool.free_entries;
        if (std::find(fl.begin(), fl.end(), pi) == fl.end()) fl.push_back(pi);
    }
    h.live = 0;
    h.on_boat = 0;
    h.boat_index = -1;
    h.army.clear();
    h.dest_x = h.dest_y = -1;
}

}  // namespace vorn1
