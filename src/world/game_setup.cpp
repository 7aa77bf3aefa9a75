#include "world/game_setup.h"

#include <algorithm>
#include <bit>
#include <utility>

#include "world/recruit_rules.h"
#include "world/spell_table.h"
#include "world/hero_pool.h"
#include "world/levels.h"
#include "world/tile_rules.h"
#include "world/victory.h"

namespace vorn1 {

PlayerResources starting_resources(int difficulty) {
    static const int32_t GOLD[4] = {10000, 7500, 5000, 2500};
    static const int32_t COMMON[4] = {30, 20, 10, 5};
    static const int32_t RARE[4] = {10, 5, 2, 0};
    const int d = std::clamp(difficulty, 0, 3);
    PlayerResources r;
    r.gold = GOLD[d];
    r.wood = r.ore = COMMON[d];
    r.crystal = r.mercury = r.gems = r.sulfur = RARE[d];
    return r;
}

namespace {

struct SeatPlan {
    bool in_play = false;
    uint8_t color = COLOR_NONE;
    bool human = false;
    uint8_t ai_level = AI_NONE;
};

// Seats a map uses: every owner named by a town, castle or hero record (at least one).
int map_seat_count(const GameMap& map) {
    int n = 1;
    for (const MapObject& o : map.objects)
        if ((o.kind == MOBJ_TOWN || o.kind == MOBJ_CASTLE || o.kind == MOBJ_HERO) && is_player_index(o.owner))
            n = std::max(n, o.owner + 1);
    return n;
}

// The chosen colour first, then the others ascending.
std::array<uint8_t, 4> colour_order(int first) {
    std::array<uint8_t, 4> out{};
    const int c = first >= 0 && first < 4 ? first : 0;
    out[0] = (uint8_t)c;
    int k = 1;
    for (int i = 0; i < 4; ++i)
        if (i != c) out[k++] = (uint8_t)i;
    return out;
}

std::array<SeatPlan, 4> plan_seats(const NewGameConfig& cfg, const GameMap& map) {
    std::array<SeatPlan, 4> seats{};
    if (cfg.mode == MODE_HOTSEAT) {
        for (int i = 0; i < 4; ++i) {
            const SeatConfig& sc = cfg.seats[i];
            if (sc.kind == SEAT_NONE || sc.color > 3) continue;
            seats[i].in_play = true;
            seats[i].color = sc.color;
            seats[i].human = sc.kind == SEAT_HUMAN;
            seats[i].ai_level = seats[i].human ? uint8_t{AI_NONE} : (uint8_t)std::clamp(sc.ai_level, 1, 4);
        }
        return seats;
    }
    const int n = map_seat_count(map);
    const auto colours = colour_order(cfg.color);
    for (int i = 0; i < n; ++i) {
        SeatPlan& s = seats[i];
        s.color = colours[i];
        if (i == 0) {
            s.in_play = true;
            s.human = true;
        } else {
            const int lvl = cfg.mode == MODE_CAMPAIGN ? OPP_AVERAGE : (int)cfg.opponents[std::min(i - 1, 2)];
            s.in_play = lvl > OPP_NONE;
            s.ai_level = (uint8_t)std::clamp(lvl, 0, 4);
        }
        if (!s.in_play) s.color = COLOR_NONE;
    }
    return seats;
}

// A seat the placement left with nothing is out before the first turn: it never plays nor counts as a
// rival, and what the map gave it besides (a mine, the lighthouse, the Dragon City) stands neutral.
void leave_out_seat(GameState& state, int p) {
    state.player_in_play[(size_t)p] = 0xFF;
    state.player_color[(size_t)p] = COLOR_NONE;
    state.player_is_human[(size_t)p] = 0;
    state.player_ai_level[(size_t)p] = AI_NONE;
    state.resources[(size_t)p] = PlayerResources{};
    for (MineState& m : state.mines)
        if (m.owner == p) m.owner = -1;
    if (state.dragon_city.owner == p) state.dragon_city.owner = -1;
    if (state.lighthouse.owner == p) state.lighthouse.owner = -1;
}

void choose_guild_spells(CastleState& c, XorShift32& rng) {
    // Slots 0-2 first circle, 3-4 second, 5-6 third, 7-8 fourth; no spell twice.
    static const int SLOT_LEVEL[9] = {1, 1, 1, 2, 2, 3, 3, 4, 4};
    for (int s = 0; s < 9; ++s) {
        std::vector<int> pick;
        for (int sp = 0; sp < SPELL_COUNT; ++sp) {
            const SpellInfo* info = spell_info(sp);
            if (!info || info->level != SLOT_LEVEL[s]) continue;
            if (std::find(c.guild_spells.begin(), c.guild_spells.begin() + s, (uint8_t)sp) != c.guild_spells.begin() + s)
                continue;
            pick.push_back(sp);
        }
        c.guild_spells[s] = pick.empty() ? EMPTY_ID : (uint8_t)pick[rng.below((int)pick.size())];
    }
}

int seat_owner(const std::array<SeatPlan, 4>& seats, int owner) {
    return is_player_index(owner) && seats[owner].in_play ? owner : -1;
}

int random_in(XorShift32& rng, int lo, int hi) { return lo + rng.below(hi - lo + 1); }

// Some seat in play can still meet the goal by a deed of its own. A goal the load's rebuilding leaves met
// was met by no deed (a save is made only after the check), so it is no road.
bool a_seat_can_still_win(const GameState& s, const GoalContext& ctx) {
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if (const GoalRoad r = goal_road(s, p, ctx); r == GoalRoad::Own || r == GoalRoad::EveryRival) return true;
    return false;
}

}  // namespace

SetUpFault set_up_fault(const GameMap& map, const NewGameConfig& cfg) {
    // The game's own set-up, on a copy of the map, decides which seats are in play and what each holds.
    GameMap scratch = map;
    GameState s;
    init_game_state(s, scratch, cfg, 1);
    // Nobody is out before the first turn. The first seat must hold something to play from, and a shared
    // game needs a second seat the map gives a place.
    if (!(s.victory.start_holders & 1u) || goal_road(s, 0, GoalContext{}) == GoalRoad::None ||
        (cfg.mode == MODE_HOTSEAT && s.num_players < 2))
        return SetUpFault::NoRival;
    // A hot seat's human whose seat the map gives nothing would never play.
    if (cfg.mode == MODE_HOTSEAT)
        for (int p = 0; p < MAX_PLAYERS; ++p)
            if (cfg.seats[(size_t)p].kind == SEAT_HUMAN && !(s.victory.start_holders >> p & 1u))
                return SetUpFault::HumanLeftOut;
    return SetUpFault::None;
}

void restore_victory_from_map(GameState& state, const GameMap& map, unsigned start_holders) {
    ScenarioVictory& v = state.victory;
    v.kind = map.victory_kind <= VICTORY_NO_GOAL ? map.victory_kind : 0;
    v.target_x = map.victory_x;
    v.target_y = map.victory_y;
    v.target_name.clear();
    v.sites.clear();
    v.start_target_owner = v.start_dragon_owner = -1;
    v.start_holders = (uint8_t)(start_holders & 0x0Fu);
    v.lord_entry = v.lord_seat = -1;
    v.lord_beaten_by = -1;
    if (const int c = state.castle_at(v.target_x, v.target_y); c >= 0) v.target_name = state.castles[(size_t)c].name;
    // The start as the map's records placed it (seats not in play held nothing), never as a save finds
    // the map: heroes walk, towns change hands.
    const auto seat = [&](int owner) { return is_player_index(owner) && state.player_in_play[(size_t)owner] != 0xFF ? owner : -1; };
    for (const MapObject& o : map.objects) {
        const int owner = seat(o.owner);
        const bool on_target = o.x == v.target_x && o.y == v.target_y;
        switch (o.kind) {
        case MOBJ_TOWN:
        case MOBJ_CASTLE:
            if (on_target) v.start_target_owner = owner;
            break;
        case MOBJ_DRAGON_CITY: v.start_dragon_owner = owner; break;
        case MOBJ_HERO: {
            const int entry = o.a % HERO_POOL_SIZE;
            if (owner < 0 || state.pool.entries[(size_t)entry].faction == EMPTY_ID) continue;  // nobody placed
            if (v.kind == VICTORY_KILL_HERO && on_target && v.lord_entry < 0) {
                v.lord_entry = entry;
                v.lord_seat = owner;
                v.target_name = state.pool.entries[(size_t)entry].name;
            }
            break;
        }
        case MOBJ_VICTORY_SITE: v.sites.emplace_back(o.x, o.y); break;
        default: break;
        }
    }
    v.site_visitors.assign(v.sites.size(), 0);
    // A save is made only after the check that follows a battle: a lord gone in it was beaten by no seat.
    if (v.lord_entry >= 0 && !hunted_lord_standing(state)) v.lord_beaten_by = LORD_BEATEN_BY_NOBODY;
}

MaplessGoal victory_start_without_map(GameState& state, const GoalContext& ctx) {
    ScenarioVictory& v = state.victory;
    v.start_target_owner = v.start_dragon_owner = -1;
    v.lord_entry = v.lord_seat = -1;
    // The target town's and the Dragon City's first holders, the lord and the sites are the map's records:
    // the state alone cannot tell such a goal met, so it becomes every rival beaten, kept by a later save.
    const int kind = v.kind;
    if (kind == VICTORY_NO_GOAL) return MaplessGoal::Lost;  // so told at an earlier load
    if (kind != VICTORY_CAPTURE_TOWN && kind != VICTORY_DRAGON_CITY && kind != VICTORY_KILL_HERO &&
        kind != VICTORY_VISIT_SITES)
        return MaplessGoal::Stays;
    v.kind = VICTORY_DEFEAT_ALL;
    v.target_name.clear();
    // A seat's road to every rival beaten is a rival still standing; a rival out of the game stands no
    // more, whatever it left on the map.
    if (a_seat_can_still_win(state, ctx)) return MaplessGoal::EveryRival;
    // With no rival left to beat, a town or the city keeps its goal: its holder now is taken as its first,
    // which is right unless it changed hands, and then the saved progress already counts the retake.
    if (kind == VICTORY_CAPTURE_TOWN || kind == VICTORY_DRAGON_CITY) {
        v.kind = (uint8_t)kind;
        if (const int c = state.castle_at(v.target_x, v.target_y); c >= 0) {
            v.start_target_owner = state.castles[(size_t)c].owner;
            v.target_name = state.castles[(size_t)c].name;
        }
        if (state.dragon_city.active) v.start_dragon_owner = state.dragon_city.owner;
        if (a_seat_can_still_win(state, ctx)) return MaplessGoal::Stays;
        v.start_target_owner = v.start_dragon_owner = -1;
        v.target_name.clear();
    }
    v.kind = VICTORY_NO_GOAL;
    return MaplessGoal::Lost;
}

void restore_seat_ai_levels(GameState& state, const NewGameConfig& cfg) {
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        state.player_ai_level[p] = AI_NONE;
        if (!state.seat_active(p) || state.player_is_human[p]) continue;
        int lvl;
        // A save keeps no seats, only the opponents' levels, which stand for seats 1 to 3 in a shared
        // game too.
        if (cfg.mode == MODE_HOTSEAT && cfg.seats[p].kind == SEAT_COMPUTER) lvl = cfg.seats[p].ai_level;
        else if (cfg.mode == MODE_CAMPAIGN) lvl = OPP_AVERAGE;
        else lvl = p >= 1 ? cfg.opponents[std::min(p - 1, 2)] : OPP_AVERAGE;
        state.player_ai_level[p] = (uint8_t)std::clamp(lvl, 1, 4);
    }
}

void init_game_state(GameState& state, GameMap& map, const NewGameConfig& cfg, uint32_t seed) {
    state = GameState{};
    XorShift32 rng(seed);
    state.rng_state = seed;
    state.map_name = map.name;
    state.map_path = cfg.mode == MODE_CAMPAIGN && !cfg.campaign_map_path.empty() ? cfg.campaign_map_path : cfg.map_path;
    state.map_width = map.width;
    state.map_height = map.height;
    if (!map.has_tiles()) map.tiles.assign((size_t)std::max(0, map.width) * std::max(0, map.height), MapTile{});

    const auto seats = plan_seats(cfg, map);
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        if (!seats[p].in_play) continue;
        state.player_in_play[p] = 1;
        state.player_color[p] = seats[p].color;
        state.player_is_human[p] = seats[p].human ? 1 : 0;
        state.player_ai_level[p] = seats[p].ai_level;
        state.resources[p] = starting_resources(seats[p].human ? (int)cfg.difficulty : (int)DIFF_NORMAL);
    }

    init_hero_pool(state.pool);
    for (const MapObject& o : map.objects) {
        const int owner = seat_owner(seats, o.owner);
        switch (o.kind) {
        case MOBJ_TOWN:
        case MOBJ_CASTLE: {
            CastleState c;
            c.live = 1;
            c.x = o.x;
            c.y = o.y;
            c.is_castle = o.kind == MOBJ_CASTLE ? 1 : 0;
            c.faction = (uint8_t)(o.a & 3);
            c.owner = owner;
            c.name = o.name;
            c.buildings = (uint16_t)(o.value | (c.is_castle ? BLD_CASTLE : BLD_TENT));
            choose_guild_spells(c, rng);
            if (owner < 0) {
                // A neutral town is held by a garrison of its first two dwellings' creatures.
                NeutralTownGarrison g;
                g.live = 1;
                g.x = o.x;
                g.y = o.y;
                g.ids[0] = (uint8_t)dwelling_slot_creature(c.faction, 0);
                g.counts[0] = random_in(rng, 10, 20) + 5 * (int)cfg.difficulty;
                g.ids[1] = (uint8_t)dwelling_slot_creature(c.faction, 1);
                g.counts[1] = random_in(rng, 3, 8) + 2 * (int)cfg.difficulty;
                state.garrisons.push_back(g);
            }
            if (owner == 0 && state.human_castle_slot < 0 && seats[0].human) state.human_castle_slot = (int)state.castles.size();
            state.castles.push_back(std::move(c));
            break;
        }
        case MOBJ_MINE: {
            MineState m;
            m.live = 1;
            m.x = o.x;
            m.y = o.y;
            m.kind = (uint8_t)(o.a % MINE_KIND_COUNT);
            m.owner = owner;
            state.mines.push_back(m);
            break;
        }
        case MOBJ_CHEST: {
            static const int VALUES[3] = {1000, 1500, 2000};
            state.chests.push_back({o.x, o.y, o.value ? (int32_t)o.value : VALUES[rng.below(3)], 0});
            break;
        }
        case MOBJ_ARTIFACT: {
            ArtifactState a;
            a.x = o.x;
            a.y = o.y;
            a.artifact = o.a < ARTIFACT_COUNT ? o.a : EMPTY_ID;
            a.guard_kind = artifact_guard_from_object(o);
            state.map_artifacts.push_back(a);
            break;
        }
        case MOBJ_RESOURCE: {
            ResourcePileState r;
            r.x = o.x;
            r.y = o.y;
            r.kind = (uint8_t)(o.a % MINE_KIND_COUNT);
            r.amount = o.value ? o.value
                       : r.kind == MINE_GOLD ? 100 * random_in(rng, 5, 10)
                       : (r.kind == MINE_WOOD || r.kind == MINE_ORE) ? random_in(rng, 5, 10)
                                                                    : random_in(rng, 3, 6);
            state.resource_piles.push_back(r);
            break;
        }
        case MOBJ_CAMPFIRE: {
            CampfireState c;
            c.active = 1;
            c.x = o.x;
            c.y = o.y;
            c.kind = (uint8_t)(o.a % MINE_KIND_COUNT);
            c.gold = o.b ? 100 * o.b : 100 * random_in(rng, 4, 6);
            c.amount = c.kind == MINE_GOLD ? 0 : (o.value ? o.value : random_in(rng, 4, 6));
            state.campfires.push_back(c);
            break;
        }
        case MOBJ_MONSTER: {
            if (o.a >= CREATURE_COUNT) break;
            MonsterStackState m;
            m.x = o.x;
            m.y = o.y;
            m.creature = o.a;
            const CreatureJoinRow& row = CREATURE_JOIN_TABLE[o.a];
            m.count = o.value ? o.value : random_in(rng, row.min_count, row.max_count);
            m.willing = monster_willing_from_object(o);
            state.monsters.push_back(m);
            if (MapTile* t = map.tile(o.x, o.y)) {
                t->object_type = OBJ_MONSTER;
                t->layer1_set = SET_MONSTER;
                t->layer1_frame = o.a;
                t->object_detail = (uint8_t)std::min(m.count, 255);
            }
            break;
        }
        case MOBJ_BOAT: {
            BoatState b;
            b.active = 1;
            b.x = o.x;
            b.y = o.y;
            state.boats.push_back(b);
            break;
        }
        case MOBJ_SHRINE: state.shrines.push_back({o.x, o.y, o.a < SPELL_COUNT ? o.a : EMPTY_ID}); break;
        case MOBJ_DWELLING: {
            MapCreatureHutState h;
            h.live = 1;
            h.x = o.x;
            h.y = o.y;
            h.creature = o.a < CREATURE_COUNT ? o.a : EMPTY_ID;
            h.available = o.value;
            state.huts.push_back(h);
            break;
        }
        case MOBJ_MILL: {
            MillState m;
            m.active = 1;
            m.x = o.x;
            m.y = o.y;
            m.amount = o.value;
            state.mills.push_back(m);
            break;
        }
        case MOBJ_DRAGON_CITY: state.dragon_city = {1, o.x, o.y, owner}; break;
        case MOBJ_LIGHTHOUSE: state.lighthouse = {1, o.x, o.y, owner}; break;
        default: break;
        }
    }

    // Heroes named by the map, then one at the first town of every seat still without a hero.
    for (const MapObject& o : map.objects) {
        if (o.kind != MOBJ_HERO) continue;
        const int owner = seat_owner(seats, o.owner);
        if (owner < 0) continue;
        const int h = recruit_hero_from_pool(state, map, o.a % HERO_POOL_SIZE, owner, o.x, o.y);
        // A map may start its hero with experience of its own (kept below the level it would reach).
        if (h >= 0 && o.value > 0) state.heroes[(size_t)h].experience = std::min<uint32_t>(o.value, LEVEL_XP[1] - 1);
    }
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        if (!seats[p].in_play || HeroPool::count_player_heroes(p, state) > 0) continue;
        int town = -1;
        for (int i = 0; i < (int)state.castles.size() && town < 0; ++i)
            if (state.castles[i].owner == p) town = i;
        if (town < 0) continue;
        const CastleState& c = state.castles[town];
        std::vector<int> same;
        for (int e : state.pool.free_entries)
            if (state.pool.entries[e].faction == c.faction) same.push_back(e);
        if (!same.empty()) recruit_hero_from_pool(state, map, same[rng.below((int)same.size())], p, c.x, c.y);
    }
    // Who holds what at the start is decided here, once, from the placement itself: the seats in play and
    // the goal's rivals follow from it. The first seat stays in play, as the game is played from it; the
    // set-up page refuses a start that leaves it nothing.
    const unsigned held = seats_holding_anything(state);
    int in_play = 0;
    for (int p = 0; p < MAX_PLAYERS; ++p) {
        if (p > 0 && !(held >> p & 1u) && seats[p].in_play) leave_out_seat(state, p);
        if (state.player_in_play[p] != 0xFF) ++in_play;
    }
    state.num_players = in_play;
    for (AIPlayerVars& v : state.ai_vars) v.player_share = 1.0f / (float)std::max(1, in_play);
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if (state.player_in_play[p] != 0xFF) refresh_hero_offers(state, p, rng);

    set_town_available_counts(state);
    restore_victory_from_map(state, map, held);
    rebuild_boat_bytes(map, state);
    rebuild_monster_guard_map(map);

    // First sight: around every hero and town of each seat.
    for (const HeroState& h : state.heroes)
        if (h.live && is_player_index(h.owner)) state.fog[h.owner].reveal_radius(h.x, h.y, h.hero_class() == 3 ? 6 : 5);
    for (const CastleState& c : state.castles)
        if (c.live && is_player_index(c.owner)) state.fog[c.owner].reveal_radius(c.x, c.y, 5);
}

}  // namespace vorn1
