#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <tuple>

#include "world/creature_table.h"
#include "datakit/kit_maps.h"
#include "datakit/kit_roads.h"
#include "events/event.h"
#include "town/shipyard_dialog.h"
#include "world/buildings.h"
#include "world/recruit_rules.h"
#include "world/game_setup.h"
#include "world/hero_pool.h"
#include "world/levels.h"
#include "world/new_day.h"
#include "world/route.h"
#include "world/tile_rules.h"
#include "world/victory.h"

using namespace vorn1;
using namespace vorn1::kit;

namespace {

GameMap two_seat_map() {
    MapBuilder b(20, 12);
    b.town(3, 3, FACTION_SORCERESS, 0, true, "Home");
    b.town(15, 3, FACTION_BARBARIAN, 1, true, "Away");
    b.town(9, 9, FACTION_KNIGHT, -1, false, "Middle");
    b.hero(4, 5, 20, 0);
    b.mine(8, 2, MINE_GOLD, 0);
    b.mine(9, 2, MINE_ORE, 0);
    b.mine(10, 2, MINE_GEMS, 1);
    b.chest(6, 6);
    b.campfire(13, 8, MINE_ORE, 5, 7);
    b.monster(12, 6, 3, 0, true);
    b.fill(0, 11, 19, 11, G_WATER);
    b.boat(5, 11);
    b.lighthouse(2, 10);
    b.victory(VICTORY_CAPTURE_TOWN, 9, 9);
    return b.map;
}

}  // namespace

TEST(GameSetup, StandardGame) {
    GameMap map = two_seat_map();
    NewGameConfig cfg;
    cfg.color = COLOR_YELLOW;
    cfg.difficulty = DIFF_HARD;
    cfg.opponents = {OPP_GENIUS, OPP_NONE, OPP_NONE};
    GameState s;
    init_game_state(s, map, cfg, 42);

    EXPECT_EQ(s.num_players, 2);
    EXPECT_EQ(s.player_color[0], COLOR_YELLOW);
    EXPECT_EQ(s.player_color[1], COLOR_RED);  // the others ascending
    EXPECT_EQ(s.player_is_human[0], 1);
    EXPECT_EQ(s.player_is_human[1], 0);
    EXPECT_EQ(s.player_ai_level[1], AI_GENIUS);
    EXPECT_EQ(s.player_in_play[2], 0xFF);
    EXPECT_EQ(s.resources[0], starting_resources(DIFF_HARD));
    EXPECT_EQ(s.resources[1], starting_resources(DIFF_NORMAL));
    EXPECT_GT(starting_resources(DIFF_EASY).gold, starting_resources(DIFF_EXPERT).gold);

    ASSERT_EQ(s.castles.size(), 3u);
    EXPECT_EQ(s.castles[2].owner, -1);
    EXPECT_TRUE(s.castles[2].buildings & BLD_TENT);
    EXPECT_GT(s.castles[0].available[0], 0);  // first dwelling stocked
    EXPECT_EQ(s.castles[0].available[5], 0);
    for (uint8_t sp : s.castles[0].guild_spells) EXPECT_LT(sp, SPELL_COUNT);
    ASSERT_EQ(s.garrisons.size(), 1u);  // the neutral town is guarded
    EXPECT_EQ(s.garrisons[0].x, 9);
    EXPECT_GT(s.garrisons[0].counts[0], 0);

    ASSERT_EQ(s.mines.size(), 3u);
    EXPECT_EQ(s.mines[0].owner, 0);
    ASSERT_EQ(s.chests.size(), 1u);
    EXPECT_TRUE(s.chests[0].value == 1000 || s.chests[0].value == 1500 || s.chests[0].value == 2000);
    ASSERT_EQ(s.campfires.size(), 1u);
    EXPECT_EQ(s.campfires[0].gold, 700) << "the map's gold, in hundreds";
    EXPECT_EQ(s.campfires[0].amount, 5);
    ASSERT_EQ(s.monsters.size(), 1u);
    EXPECT_GE(s.monsters[0].count, CREATURE_JOIN_TABLE[3].min_count);
    EXPECT_LE(s.monsters[0].count, CREATURE_JOIN_TABLE[3].max_count);
    EXPECT_EQ(s.monsters[0].willing, 1);
    EXPECT_TRUE(map.guarded(11, 5));
    ASSERT_EQ(s.boats.size(), 1u);
    EXPECT_EQ(map.tile(5, 11)->boat, 1);
    EXPECT_EQ(s.lighthouse.active, 1);

    // The map's hero for seat 0, a hero of the right faction for seat 1 at its castle.
    ASSERT_EQ(s.heroes.size(), 2u);
    EXPECT_EQ(s.heroes[0].name, "Ziriduz");
    EXPECT_EQ(s.heroes[0].owner, 0);
    EXPECT_EQ(s.heroes[1].owner, 1);
    EXPECT_EQ(s.pool.entries[s.heroes[1].portrait].faction, FACTION_BARBARIAN);
    EXPECT_EQ(s.pool.entries[20].status, POOL_IN_PLAY);
    EXPECT_NE(map.tile(4, 5)->hero_figure, 0);
    EXPECT_NE(s.offers[0][0], -1);
    EXPECT_EQ(s.offers[2][0], -1);

    EXPECT_EQ(s.victory.kind, VICTORY_CAPTURE_TOWN);
    EXPECT_EQ(s.victory.target_name, "Middle");
    EXPECT_TRUE(s.fog[0].is_explored(4, 5));
    EXPECT_TRUE(s.fog[0].is_explored(8, 5));
    EXPECT_FALSE(s.fog[0].is_explored(15, 3));
    EXPECT_TRUE(s.fog[1].is_explored(15, 3));

    // Same seed, same game.
    GameMap map2 = two_seat_map();
    GameState t;
    init_game_state(t, map2, cfg, 42);
    EXPECT_EQ(t.chests[0].value, s.chests[0].value);
    EXPECT_EQ(t.castles[1].guild_spells, s.castles[1].guild_spells);

    // Computer levels are not saved: they come back from the configuration.
    t.player_ai_level = {};
    restore_seat_ai_levels(t, cfg);
    EXPECT_EQ(t.player_ai_level[1], AI_GENIUS);
    EXPECT_EQ(t.player_ai_level[0], AI_NONE);
}

TEST(GameSetup, CampaignAndHotSeat) {
    GameMap map = two_seat_map();
    NewGameConfig camp;
    camp.mode = MODE_CAMPAIGN;
    camp.campaign_map_path = "maps/CAMP1.CMP";
    GameState c;
    init_game_state(c, map, camp, 1);
    EXPECT_EQ(c.map_path, "maps/CAMP1.CMP");
    EXPECT_EQ(c.player_is_human[0], 1);
    EXPECT_EQ(c.player_ai_level[1], AI_AVERAGE);

    GameMap hmap = two_seat_map();
    NewGameConfig hot;
    hot.mode = MODE_HOTSEAT;
    hot.player_count = 3;
    hot.seats[0] = {COLOR_GREEN, SEAT_HUMAN, 1, 2, 0, "Ann"};
    hot.seats[1] = {COLOR_RED, SEAT_COMPUTER, 1, 3, 0, ""};
    hot.seats[2] = {COLOR_BLUE, SEAT_HUMAN, 1, 2, 0, "Bo"};
    GameState h;
    init_game_state(h, hmap, hot, 2);
    EXPECT_EQ(h.player_color[0], COLOR_GREEN);
    EXPECT_EQ(h.player_is_human[1], 0);
    EXPECT_EQ(h.player_ai_level[1], AI_SMART);
    // Seat 2 has nothing on this map: like seat 3, it is not in play.
    EXPECT_EQ(h.num_players, 2);
    EXPECT_EQ(h.player_in_play, (std::array<uint8_t, 4>{1, 1, 0xFF, 0xFF}));
    EXPECT_EQ(h.player_color[2], COLOR_NONE);
    EXPECT_EQ(HeroPool::count_player_heroes(0, h), 1);
    EXPECT_EQ(HeroPool::count_player_heroes(1, h), 1);

    // Every kit map sets up for four seats without trouble.
    GameMap big = make_scenario_map(2, 4, 13, "Big");
    NewGameConfig four;
    four.opponents = {OPP_DUMB, OPP_SMART, OPP_GENIUS};
    GameState g;
    init_game_state(g, big, four, 3);
    EXPECT_EQ(g.num_players, 4);
    for (int p = 0; p < 4; ++p) EXPECT_EQ(HeroPool::count_player_heroes(p, g), 1);
    EXPECT_EQ(g.mines.size(), 7u);
}

TEST(NewDay, CalendarIncomeAndPoints) {
    GameMap map = two_seat_map();
    NewGameConfig cfg;
    cfg.opponents = {OPP_SMART, OPP_NONE, OPP_NONE};
    GameState s;
    init_game_state(s, map, cfg, 7);
    s.heroes[0].artifacts[0] = 27;  // 750 gold a day
    s.heroes[0].artifacts[1] = 26;  // 1000
    s.heroes[0].artifacts[2] = 28;  // 500
    s.castles[0].built_today = 1;
    s.day_over = 1;
    s.heroes[1].selected_at_save = 1;
    s.heroes.push_back(s.heroes[1]);
    s.heroes.back().live = 0;
    const PlayerResources before0 = s.resources[0];
    const PlayerResources before1 = s.resources[1];
    std::vector<int> left, max;
    WeekEvent ev = advance_day(s, map, left, max, nullptr, 11);
    EXPECT_EQ(ev.kind, 0);
    EXPECT_EQ(s.day, 2);
    EXPECT_EQ(s.castles[0].built_today, 0);
    EXPECT_EQ(s.day_over, 0);
    EXPECT_EQ(s.heroes[1].selected_at_save, 0);
    // Castle 1000 + gold mine 1000 + artifacts 2250; ore mine 2. The other seat has its castle and gems only.
    EXPECT_EQ(s.resources[0].gold - before0.gold, 4250);
    EXPECT_EQ(s.resources[0].ore - before0.ore, 2);
    EXPECT_EQ(s.resources[1].gems - before1.gems, 1);
    EXPECT_EQ(s.resources[1].gold - before1.gold, 1000);
    EXPECT_EQ(s.ai_vars[0].gold_income, 4250);
    EXPECT_EQ(s.ai_vars[0].income[2], 2);  // ore
    EXPECT_EQ(s.ai_vars[1].income[5], 1);  // gems
    ASSERT_EQ(left.size(), s.heroes.size());
    EXPECT_EQ(max[0], hero_day_mp(s, map, 0));
    EXPECT_EQ(max[1], hero_day_mp(s, map, 1));
    EXPECT_EQ(max[1] - compute_hero_max_mp(s, map, 1), 3);  // Smart owner
    EXPECT_EQ(left[2] + max[2], 0);                         // a dead hero has no points

    // One mine of each kind: wood 2, mercury 1, ore 2, sulfur 1, crystal 1, gems 1, gold 1000 a day.
    const int32_t mine_yield[MINE_KIND_COUNT] = {2, 1, 2, 1, 1, 1, 1000};
    for (uint8_t kind = 0; kind < MINE_KIND_COUNT; ++kind) {
        GameState g;
        g.mines = {MineState{1, 0, 0, kind, 0}};
        const PlayerResources inc = daily_income(g, 0);
        EXPECT_EQ(inc[resource_index_of_kind(kind)], mine_yield[kind]) << int(kind);
        EXPECT_EQ(inc.gold + inc.wood + inc.ore + inc.crystal + inc.mercury + inc.gems + inc.sulfur, mine_yield[kind]);
    }

    // The week turns after day 7, the month after week 4; towns grow weekly.
    const int32_t stock = s.castles[0].available[0];
    while (s.day != 7) advance_day(s, map, left, max, nullptr, 1);
    ev = advance_day(s, map, left, max, nullptr, 3);
    EXPECT_EQ(s.day, 1);
    EXPECT_EQ(s.week, 2);
    EXPECT_NE(ev.kind, 0);
    EXPECT_FALSE(ev.monthly);
    if (ev.kind != 2) {
        EXPECT_GT(s.castles[0].available[0], stock);
    }
    s.week = 4;
    s.day = 7;
    ev = advance_day(s, map, left, max, nullptr, 5);
    EXPECT_EQ(s.week, 1);
    EXPECT_EQ(s.month, 2);
    EXPECT_TRUE(ev.monthly);
    // Counts of days and weeks, and a month past any save's, stop at the limit instead of wrapping.
    EXPECT_EQ(calendar_day_count(2, 1, 2), 30);
    EXPECT_EQ(calendar_week_count(1, 2), 5);
    EXPECT_EQ(calendar_day_count(7, 4, CALENDAR_MAX_MONTH + 1), 2147483632);
    EXPECT_EQ(calendar_day_count(2, 3, CALENDAR_MAX_MONTH + 2), INT32_MAX);
    EXPECT_EQ(calendar_week_count(4, INT32_MAX), INT32_MAX);
    // The last day of the last month a save may hold comes round again, with no new week or month.
    s.month = CALENDAR_MAX_MONTH;
    s.week = 4;
    s.day = 7;
    ev = advance_day(s, map, left, max, nullptr, 5);
    EXPECT_EQ(std::make_tuple(s.day, s.week, s.month), std::make_tuple(7, 4, CALENDAR_MAX_MONTH));
    EXPECT_EQ(ev.kind, 0);

    // Treasuries saturate instead of wrapping.
    s.resources[0].gold = INT32_MAX - 10;
    advance_day(s, map, left, max, nullptr, 1);
    EXPECT_EQ(s.resources[0].gold, INT32_MAX);
}

TEST(NewDay, WeekEventsNameTheirCreatureAndFollowTheCallersSeed) {
    GameMap map = two_seat_map();
    GameState s;
    init_game_state(s, map, NewGameConfig{}, 3);
    std::vector<int> left, max;
    // Every creature event carries the creature's name, the announcement's fallback text.
    int creature_events = 0;
    for (uint32_t seed = 1; seed <= 40; ++seed) {
        GameState w = s;
        w.day = 7;
        const WeekEvent ev = advance_day(w, map, left, max, nullptr, seed);
        ASSERT_NE(ev.kind, 0);
        if (ev.kind != 3) continue;
        ++creature_events;
        ASSERT_LT(ev.creature, CREATURE_COUNT);
        EXPECT_EQ(ev.name, creature_name(ev.creature));
    }
    EXPECT_GT(creature_events, 0);

    // The loop's form draws from the C library generator: the same srand gives the same week.
    EventSystem events;
    GameState a = s, b = s;
    a.day = b.day = 7;
    std::srand(77);
    const WeekEvent ea = advance_day(a, map, left, max, events);
    std::srand(77);
    const WeekEvent eb = advance_day(b, map, left, max, events);
    EXPECT_EQ(a.week, 2);
    EXPECT_EQ(a.day, 1);
    EXPECT_EQ(ea.kind, eb.kind);
    EXPECT_EQ(ea.creature, eb.creature);
    EXPECT_EQ(ea.name, eb.name);
    EXPECT_EQ(a.offers, b.offers);
}

TEST(NewDay, AWholeMonthAndEachEventKind) {
    GameMap map = two_seat_map();
    GameState s;
    init_game_state(s, map, NewGameConfig{}, 3);
    std::vector<int> left, max;
    // Four weeks of seven days: an event after every seventh day, the month's after the 28th. Every day
    // clears the heroes' day marks; every week brings new heroes to the taverns.
    MillState mill;
    mill.active = 1;
    s.mills = {mill};
    for (int d = 1; d <= 28; ++d) {
        s.heroes[0].selected_at_save = 1;
        s.offers[0] = {-1, -1};
        s.mills[0].flag = 1;
        const WeekEvent ev = advance_day(s, map, left, max, nullptr, 100 + d);
        EXPECT_EQ(ev.kind != 0, d % 7 == 0) << d;
        EXPECT_EQ(ev.monthly, d == 28) << d;
        EXPECT_EQ(s.heroes[0].selected_at_save, 0);
        EXPECT_EQ(s.offers[0][0] >= 0 && s.offers[0][1] >= 0, d % 7 == 0) << d;
        EXPECT_EQ(s.mills[0].flag, d % 7 == 0 ? 0 : 1) << d;  // a mill pays again each week
    }
    EXPECT_EQ(s.day, 1);
    EXPECT_EQ(s.week, 1);
    EXPECT_EQ(s.month, 2);

    // The last day of a week or of a month, with Sprites wandering in stacks of 25, 5 and none, one stack
    // removed, Swordsmen beside them, a map dwelling of 9 and 9 in every dwelling of the home castle.
    s.day = 7;
    s.monsters.clear();
    for (int32_t n : {25, 5, 0, 25}) s.monsters.push_back({0, 0, 12, n, 0, 0, 0});
    s.monsters[3].removed = 1;
    s.monsters.push_back({0, 0, 3, 25, 0, 0, 0});
    MapCreatureHutState hut;
    hut.live = 1;
    hut.available = 9;
    s.huts = {hut};
    s.castles[0].available.fill(9);
    auto turn = [&](uint32_t seed, int week, WeekEvent& ev) {
        GameState w = s;
        w.week = week;
        ev = advance_day(w, map, left, max, nullptr, seed);
        return w;
    };
    auto counts = [](const GameState& w) {
        std::vector<int32_t> v;
        for (const MonsterStackState& m : w.monsters) v.push_back(m.count);
        return v;
    };
    auto stock = [&](const GameState& w, bool plague) {
        for (int k = 0; k < 6; ++k) {
            const int32_t grown = 9 + town_slot_growth(s, s.castles[0], k);
            EXPECT_EQ(w.castles[0].available[k], plague ? grown / 2 : grown) << k;
        }
        EXPECT_EQ(w.huts[0].available, plague ? 4 : 9);
    };
    // The seeds' draws of one in ten: 6 draws 0, 1 draws 3, 2 draws 4.
    WeekEvent ev;
    GameState w = turn(6, 1, ev);  // 0 in a week: a week of the Sprite, not the plague
    EXPECT_EQ(ev.kind, 3);
    EXPECT_EQ(ev.creature, 12);
    EXPECT_FALSE(ev.monthly);
    EXPECT_EQ(counts(w), (std::vector<int32_t>{27, 6, 0, 25, 25}));  // a tenth, at least one
    stock(w, false);
    w = turn(6, 4, ev);  // 0 at a month's end: the plague halves every dwelling, after the week's growth
    EXPECT_EQ(ev.kind, 2);
    EXPECT_TRUE(ev.monthly);
    EXPECT_EQ(counts(w), counts(s));
    stock(w, true);
    w = turn(1, 4, ev);  // 3: a month of the Sprite doubles its stacks
    EXPECT_EQ(ev.kind, 3);
    EXPECT_EQ(ev.creature, 12);
    EXPECT_EQ(counts(w), (std::vector<int32_t>{50, 10, 0, 25, 25}));
    stock(w, false);
    for (int week : {1, 4}) {
        w = turn(2, week, ev);  // 4: a named week or month, and nothing else happens
        EXPECT_EQ(ev.kind, 1);
        EXPECT_EQ(ev.monthly, week == 4);
        EXPECT_EQ(ev.name, "Thistle");
        EXPECT_EQ(counts(w), counts(s));
        stock(w, false);
    }
}

TEST(Victory, KindsAndLatch) {
    GameState s;
    s.player_in_play = {1, 1, 0xFF, 0xFF};
    s.player_color = {0, 1, 255, 255};
    s.castles.resize(2);
    s.castles[0] = CastleState{};
    s.castles[0].live = 1;
    s.castles[0].owner = 0;
    s.castles[1].live = 1;
    s.castles[1].owner = 1;
    s.castles[1].x = 5;
    s.castles[1].y = 6;
    s.victory.kind = VICTORY_DEFEAT_ALL;
    EXPECT_FALSE(check_victory(s));
    EXPECT_EQ(victorious_player(s), -1);
    s.castles[1].owner = -1;  // the rival lost its last town
    s.heroes.resize(1);
    s.heroes[0].live = 1;
    s.heroes[0].owner = 0;  // the player's own hero is no rival
    EXPECT_TRUE(check_victory(s));
    EXPECT_FALSE(check_victory(s));  // once only
    EXPECT_EQ(s.victory.won, 1);
    EXPECT_EQ(victorious_player(s), 0);

    s.victory = ScenarioVictory{};
    s.victory.kind = VICTORY_CAPTURE_TOWN;
    s.victory.target_x = 5;
    s.victory.target_y = 6;
    EXPECT_EQ(victorious_player(s), -1);
    s.castles[1].owner = 1;
    EXPECT_EQ(victorious_player(s), 1);

    s.victory.kind = VICTORY_ULTIMATE_ARTIFACT;
    s.heroes[0].owner = 1;
    EXPECT_EQ(victorious_player(s), -1);
    s.heroes[0].artifacts[13] = 2;
    EXPECT_EQ(victorious_player(s), 1);

    // A calendar goal that names no month asks for the first one: month 1 is not won at the start.
    s.victory.kind = VICTORY_SURVIVE_MONTHS;
    s.victory.target_x = 0;
    s.month = 1;
    EXPECT_EQ(victorious_player(s), -1);
    s.month = 2;
    EXPECT_EQ(victorious_player(s), 0);

    s.victory.kind = VICTORY_DRAGON_CITY;
    s.dragon_city = {1, 3, 3, 0};
    EXPECT_EQ(victorious_player(s), 0);

    s.victory.kind = VICTORY_VISIT_SITES;
    s.victory.sites = {{1, 2}, {300, 4}};
    s.victory.site_visitors = {0b011, 0b010};
    EXPECT_FALSE(victory_condition_met(s, 0));
    EXPECT_EQ(victorious_player(s), 1) << "each seat's own visits";
    s.victory.site_visitors[1] |= 1;
    EXPECT_TRUE(victory_condition_met(s, 0));
    EXPECT_FALSE(victory_condition_met(s, 2));  // not in play
}


// A set-up whose rivals stand nowhere (seat 1 with no town or hero, so not in play, seat 2's opponent
// switched off) is not won before anyone moves: not by beating every rival, nor by a hunt whose target
// has no lord.
TEST(Victory, NoRivalAtTheStartIsNoVictory) {
    kit::MapBuilder b(20, 20, kit::G_GRASS, "Gap");
    b.town(4, 4, FACTION_KNIGHT, 0, true, "Ours");
    b.town(14, 14, FACTION_KNIGHT, 2, true, "Theirs");
    NewGameConfig cfg;
    cfg.opponents = {OPP_AVERAGE, OPP_NONE, OPP_AVERAGE};
    for (int kind : {VICTORY_DEFEAT_ALL, VICTORY_KILL_HERO}) {
        b.victory(kind, 9, 9);
        GameMap map = b.map;
        GameState s;
        init_game_state(s, map, cfg, 5);
        ASSERT_EQ(s.player_in_play[1], 0xFF);
        ASSERT_EQ(s.player_in_play[2], 0xFF);
        EXPECT_FALSE(victory_condition_met(s, 0)) << "goal " << kind;
    }
}

// In a shared game the hunted lord counts only for the seat that beat him: the side his battle named, else
// the seat whose turn it is; gone in his own seat's turn (to a monster), or before a load, for nobody, and
// that holds in later turns until he is hired again.
TEST(Victory, AHuntedLordCountsForTheSeatThatBeatHim) {
    kit::MapBuilder b(20, 20, kit::G_GRASS, "Hunt");
    for (int p = 0; p < 3; ++p) b.town(3 + 6 * p, 4, FACTION_KNIGHT, p, true, "Town " + std::to_string(p));
    b.hero(10, 10, 5, 1);
    b.victory(VICTORY_KILL_HERO, 10, 10);
    NewGameConfig cfg;
    cfg.mode = MODE_HOTSEAT;
    for (int p = 0; p < 3; ++p) {
        cfg.seats[(size_t)p].color = (uint8_t)p;
        cfg.seats[(size_t)p].kind = p < 2 ? SEAT_HUMAN : SEAT_COMPUTER;
    }
    GameMap map = b.map;
    GameState start;
    init_game_state(start, map, cfg, 3);
    const int lord = start.hero_at(10, 10);
    ASSERT_GE(lord, 0);
    ASSERT_EQ(start.victory.lord_seat, 1);
    EXPECT_EQ(victorious_player(start), -1);

    GameState s = start;
    note_hero_beaten(s, lord, 2);
    s.heroes[(size_t)lord].live = 0;
    settle_lord_credit(s, 0);
    EXPECT_EQ(victorious_player(s), 2) << "the side his battle named, not the seat whose turn it is";

    s = start;
    s.heroes[(size_t)lord].live = 0;
    settle_lord_credit(s, 0);
    EXPECT_EQ(victorious_player(s), 0);

    s = start;
    note_hero_beaten(s, lord, -1);
    s.heroes[(size_t)lord].live = 0;
    settle_lord_credit(s, 1);
    settle_lord_credit(s, 0);
    EXPECT_EQ(victorious_player(s), -1) << "beaten by a monster: nobody's, also in the next seat's turn";

    s = start;
    s.heroes[(size_t)lord].live = 0;
    restore_victory_from_map(s, map, seats_in_play(s));
    settle_lord_credit(s, 0);
    EXPECT_EQ(victorious_player(s), -1) << "gone before a load: nobody's";
    EXPECT_FALSE(victory_condition_met(s, 0)) << "nor for one human at the table: every rival must now be beaten";

    s = start;
    note_hero_beaten(s, lord, -1);
    return_hero_to_pool(s, map, lord, 3);
    const int back = recruit_hero_from_pool(s, map, s.victory.lord_entry, 1, 10, 10);
    ASSERT_GE(back, 0);
    s.heroes[(size_t)back].live = 0;
    settle_lord_credit(s, 2);
    EXPECT_EQ(victorious_player(s), 2) << "hired again after a monster: his next fall counts anew";
}

// The kit's road scenarios keep their promise once set up: each road's pieces are a few steps from the
// first seat's hero, and what the player is meant to do there can be done on the first day.
TEST(KitRoads, EachRoadWaitsAFewStepsFromTheFirstHero) {
    NewGameConfig cfg;  // easy: the most gold and wood
    auto set_up = [&](GameMap map, GameState& s) {
        init_game_state(s, map, cfg, 7);
        return map;
    };
    auto steps = [](const GameMap& map, const HeroState& h, int x, int y) {
        return find_route(map, h.x, h.y, x, y, 100000, false, false, true, nullptr, nullptr, false).size();
    };

    // The harbour: the shipyard can be built today, and then its boat bought on the water by the gate.
    GameState s;
    GameMap map = set_up(make_harbour_map(), s);
    const int town = s.castle_at(kHarbourTownX, kHarbourTownY);
    ASSERT_GE(town, 0);
    CastleState& c = s.castles[(size_t)town];
    EXPECT_EQ(c.owner, 0);
    EXPECT_FALSE(c.buildings & BLD_SHIPYARD);
    ASSERT_EQ(get_build_status(BS_SHIPYARD, c, s.resources[0], map, false), BUILD_OK);
    bool built_today = false;
    apply_build(BS_SHIPYARD, c, s.resources[0], built_today);
    ASSERT_TRUE(build_shipyard_boat(s, map, town));
    EXPECT_GE(s.boat_at(kHarbourBoatX, kHarbourBoatY), 0);
    EXPECT_LE(steps(map, s.heroes[0], kHarbourTownX, kHarbourTownY), 1u);

    // The chest and the mine.
    map = set_up(make_treasure_map(), s);
    ASSERT_EQ(s.chests.size(), 1u);
    ASSERT_EQ(s.mines.size(), 1u);
    const HeroState& finder = s.heroes[(size_t)s.hero_at(kTreasureHeroX, kTreasureHeroY)];
    EXPECT_EQ(finder.owner, 0);
    for (const auto& [x, y] : {std::pair{s.chests[0].x, s.chests[0].y}, std::pair{s.mines[0].x, s.mines[0].y}}) {
        const size_t n = steps(map, finder, x, y);
        EXPECT_GE(n, 1u);
        EXPECT_LE(n, 3u);
    }
    EXPECT_EQ(s.mines[0].owner, -1);

    // The level-up: the goblins beside the hero give the experience it lacks; a map's experience never
    // starts a hero above the first level.
    map = set_up(make_veteran_map(), s);
    const HeroState& veteran = s.heroes[(size_t)s.hero_at(kVeteranHeroX, kVeteranHeroY)];
    EXPECT_EQ(veteran.experience, (uint32_t)kVeteranExperience);
    EXPECT_EQ(veteran.level, 1);
    const int band = s.monster_at(kVeteranHeroX + 1, kVeteranHeroY);
    ASSERT_GE(band, 0);
    const MonsterStackState& goblins = s.monsters[(size_t)band];
    EXPECT_GE(veteran.experience + (uint32_t)(goblins.count * CSV_STATS[goblins.creature].hp), LEVEL_XP[1]);
    GameMap eager = make_veteran_map();
    ASSERT_EQ(eager.objects[3].kind, MOBJ_HERO);
    eager.objects[3].value = 5000;
    GameState t;
    init_game_state(t, eager, cfg, 7);
    EXPECT_EQ(t.heroes[(size_t)t.hero_at(kVeteranHeroX, kVeteranHeroY)].experience, LEVEL_XP[1] - 1);

    // The short campaign: each scenario is won by taking the empty town right above the hero.
    for (int row = 0; row < 4; ++row) {
        map = set_up(make_short_campaign_map(row), s);
        EXPECT_EQ(s.victory.kind, VICTORY_CAPTURE_TOWN) << row;
        EXPECT_EQ(steps(map, s.heroes[0], s.victory.target_x, s.victory.target_y), 1u) << row;
    }
}
