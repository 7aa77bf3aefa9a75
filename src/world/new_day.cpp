#include "world/new_day.h"

#include <algorithm>
#include <cstdlib>

#include "world/creature_table.h"
#include "world/recruit_rules.h"
#include "world/hero_pool.h"
#include "world/tile_rules.h"

namespace vorn1 {

const int MINE_INCOME[MINE_KIND_COUNT] = {2, 1, 2, 1, 1, 1, 1000};
const char* const PERIOD_NAMES[8] = {"Heron", "Badger", "Lantern", "Thistle", "Otter", "Bramble", "Kestrel", "Millstone"};

// Gold a day from artifacts 26, 27 and 28.
static int artifact_gold(int id) { return id == 26 ? 1000 : id == 27 ? 750 : id == 28 ? 500 : 0; }

static int32_t sat_add(int32_t a, int64_t b) {
    const int64_t s = (int64_t)a + b;
    return (int32_t)std::clamp<int64_t>(s, INT32_MIN, INT32_MAX);
}

int32_t calendar_day_count(int32_t day, int32_t week, int32_t month) {
    return sat_add(0, (int64_t{month} - 1) * 28 + (int64_t{week} - 1) * 7 + day);
}

int32_t calendar_week_count(int32_t week, int32_t month) { return sat_add(0, (int64_t{month} - 1) * 4 + week); }

PlayerResources daily_income(const GameState& state, int player) {
    PlayerResources inc;
    if (!is_player_index(player)) return inc;
    for (const CastleState& c : state.castles)
        if (c.live && c.owner == player) inc.gold += c.is_castle ? CASTLE_GOLD_INCOME : TOWN_GOLD_INCOME;
    for (const MineState& m : state.mines)
        if (m.live && m.owner == player && m.kind < MINE_KIND_COUNT) inc[resource_index_of_kind(m.kind)] += MINE_INCOME[m.kind];
    for (const HeroState& h : state.heroes)
        if (h.live && h.owner == player)
            for (uint8_t a : h.artifacts) inc.gold += artifact_gold(a);
    return inc;
}

WeekEvent advance_day(GameState& state, GameMap& map, std::vector<int>& mp_left, std::vector<int>& mp_max,
                      EventSystem* /*events*/, uint32_t seed) {
    XorShift32 rng(seed);
    bool new_week = false, new_month = false;
    // The last day of the last month a save may hold comes round again: a game the calendar turned
    // past it could be saved but never loaded.
    const bool calendar_end = state.day >= 7 && state.week >= 4 && state.month >= CALENDAR_MAX_MONTH;
    if (!calendar_end && ++state.day > 7) {
        state.day = 1;
        new_week = true;
        if (++state.week > 4) {
            state.week = 1;
            new_month = true;
            ++state.month;
        }
    }
    state.day_over = 0;
    for (HeroState& h : state.heroes) h.selected_at_save = 0;
    for (CastleState& c : state.castles) c.built_today = 0;

    for (int p = 0; p < MAX_PLAYERS; ++p) {
        if (!state.seat_active(p)) continue;
        const PlayerResources inc = daily_income(state, p);
        for (int r = 0; r < RES_COUNT; ++r) state.resources[p][r] = sat_add(state.resources[p][r], inc[r]);
        AIPlayerVars& v = state.ai_vars[p];
        v.gold_income = inc.gold;
        for (int k = 0; k < 6; ++k) v.income[k] = inc[resource_index_of_kind(k)];
    }

    mp_left.assign(state.heroes.size(), 0);
    mp_max.assign(state.heroes.size(), 0);
    for (int i = 0; i < (int)state.heroes.size(); ++i)
        if (state.heroes[i].live) mp_left[i] = mp_max[i] = hero_day_mp(state, map, i);

    WeekEvent ev;
    if (!new_week) return ev;
    add_town_weekly_growth(state);
    for (MillState& m : state.mills) m.flag = 0;  // a mill pays again each week
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if (state.seat_active(p)) refresh_hero_offers(state, p, rng);

    ev.monthly = new_month;
    const int roll = rng.below(10);
    if (new_month && roll == 0) {
        // Plague: every dwelling loses half of what waits in it.
        ev.kind = 2;
        for (CastleState& c : state.castles)
            for (int32_t& n : c.available) n /= 2;
        for (MapCreatureHutState& h : state.huts) h.available /= 2;
    } else if (roll < 4) {
        // A creature's week (or month): its wandering stacks grow.
        ev.kind = 3;
        ev.creature = (uint8_t)rng.below(CREATURE_COUNT);
        // The announcement falls back on the name for creatures without catalogue forms.
        ev.name = creature_name(ev.creature);
        for (MonsterStackState& m : state.monsters)
            if (!m.removed && m.creature == ev.creature && m.count > 0)
                m.count = sat_add(m.count, new_month ? m.count : std::max(1, m.count / 10));
    } else {
        ev.kind = 1;
        ev.name = PERIOD_NAMES[rng.below(8)];
    }
    return ev;
}

WeekEvent advance_day(GameState& state, GameMap& map, std::vector<int>& mp_left, std::vector<int>& mp_max,
                      EventSystem& events) {
    return advance_day(state, map, mp_left, mp_max, &events, (uint32_t)std::rand());
}

}  // namespace vorn1
