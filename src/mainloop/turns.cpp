#include "mainloop/turns.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "adventure/adv_geometry.h"
#include "adventure/elimination_messages.h"
#include "adventure/new_day_panel.h"
#include "adventure/player_elimination.h"
#include "assets/resources.h"
#include "events/event_actions.h"
#include "lang/runtime_strings.h"
#include "mainloop/boats.h"
#include "mainloop/computer_turn.h"
#include "mainloop/frame_loop.h"
#include "mainloop/game_end.h"
#include "mainloop/game_files.h"
#include "mainloop/hero_move.h"
#include "mainloop/transitions.h"
#include "mainloop/victory_check.h"
#include "persist/savegame.h"
#include "world/hero_pool.h"
#include "world/new_day.h"
#include "world/route.h"

namespace vorn1 {

namespace {

constexpr int kStepDx[8] = {0, 1, 0, -1, 1, 1, -1, -1};
constexpr int kStepDy[8] = {-1, 0, 1, 0, -1, 1, 1, -1};
constexpr int kStemCount = 24;  // creatures with a key stem of their own

bool seat_is_human(const GameState& s, int p) { return is_player_index(p) && s.player_is_human[p] != 0; }

std::string creature_period_text(int creature, const std::string& fallback, const char* first_form) {
    if (creature < 0 || creature >= kStemCount) return fallback;
    for (const char* form : {first_form, "SG"}) {
        char key[32];
        std::snprintf(key, sizeof key, "CREATURE_%s_%s", kCreatureKeyStem[creature], form);
        if (strings().has(key)) return strings().get(key);
    }
    return fallback;
}

// The first seat of the day's order from `start` on that is still in play; -1 when none is.
int seat_in_play_from(const GameSession& g, size_t start) {
    const std::vector<int>& order = g.loop.player_order;
    for (size_t i = start; i < order.size(); ++i)
        if (order[i] >= 0 && order[i] < 4 && !is_player_eliminated(g.elimination, order[i])) return order[i];
    return -1;
}

EventDef elimination_text(const GameState& s, int p) {
    EventDef def;
    def.text = elimination_message(s, p);
    def.buttons = {EVENT_BUTTON_OK};
    return def;
}

// The days left that a human seat's turn start tells, without taking anything; -1 when it tells none.
int32_t countdown_told(const PlayerEliminationState& e, int p) {
    if (!is_player_index(p) || is_player_eliminated(e, p)) return -1;
    const PlayerEliminationRecord& r = e.players[(size_t)p];
    return r.days_left > 0 && (r.countdown_notice || r.notice_pending) ? r.days_left : -1;
}

// The seat whose turn it is is out: that is said over the hidden map, then the turn passes.
void announce_elimination_and_pass(MainState& m, int p) {
    GameSession& g = game_of(m);
    // Whatever the seat left on the map, it is out: a rival may now stand alone.
    run_victory_check(m);
    g.loop.announcement_open = true;
    g.events.open_announcement(elimination_text(g.state, p), kMapViewArea, [&m](EventResult) {
        if (!m.game) return;
        game_of(m).loop.announcement_open = false;
        if (!goal_decided(game_of(m))) end_current_turn(m);
    });
}

}  // namespace

int next_player_in_order(const GameSession& g) {
    const std::vector<int>& order = g.loop.player_order;
    if (order.empty()) return -1;
    const auto it = std::find(order.begin(), order.end(), g.loop.current_player);
    size_t start = 0;
    if (it != order.end()) {
        if (it + 1 == order.end()) return -1;
        start = (size_t)(it - order.begin()) + 1;
    }
    return seat_in_play_from(g, start);
}

int opening_seat(const GameSession& g, int p) {
    const std::vector<int>& order = g.loop.player_order;
    const auto it = std::find(order.begin(), order.end(), p);
    int seat = it == order.end() ? -1 : seat_in_play_from(g, (size_t)(it - order.begin()));
    if (seat < 0) seat = seat_in_play_from(g, 0);
    if (seat < 0) seat = order.empty() ? 0 : order[0];
    return seat;
}

std::string player_turn_text(const GameState& s, int p) {
    static const char* const kNames[4] = {"Red", "Green", "Blue", "Yellow"};
    const int colour = is_player_index(p) ? s.player_color[p] : 255;
    const char* name = colour >= 0 && colour < 4 ? kNames[colour] : "None";
    return std::string(name) + " player turn.";
}

namespace {

enum class TurnOpening { Start, Resume, ViewOnly };

// The day turns over (the autosave before it aside): the turnover, the guard map, the calendar
// copies, a goal the new day meets and the new-day pause.
void turn_the_day(MainState& m);

// The seat's lists for its turn, the outgoing human's view kept when a computer follows, the map's
// modals closed and each hero's stored plan planned again on the day's points, so a route longer than
// one day goes on where it stopped; a resumed turn plans it on the points left, and keeps it without any.
void open_seat_lists(MainState& m, int p, bool resumed) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    store_selected_destination(g);
    if (seat_is_human(g.state, l.current_player) && !seat_is_human(g.state, p))
        l.human_view = SeatView{l.current_player, l.view_x,    l.view_y, l.selected_hero, l.hero_order,
                                l.town_order,     l.locator,   l.active_markers};
    l.current_player = p;
    l.selected_hero = -1;
    l.hero_order.clear();
    l.town_order.clear();
    sync_owned_lists(l, g.state);
    l.locator.hero_scroll = l.locator.town_scroll = 0;
    l.locator.selected_hero_row = -1;
    grow_hero_routes(l, g.state);
    close_dim_door(l.dim_door);
    l.spellbook = SpellbookModal{};
    close_quick_info(l.quick_info);
    if (seat_is_human(g.state, p))
        for (int h : l.hero_order)
            if (g.state.heroes[(size_t)h].dest_x >= 0)
                plan_hero_route(m, h, g.state.heroes[(size_t)h].dest_x, g.state.heroes[(size_t)h].dest_y, resumed);
}

// The turn's hero: the first of the list, or on a resumed turn the one selected when the game was
// saved, with the view on it; without a hero no plan and the view on the first town.
void select_turn_hero(GameSession& g, bool resumed) {
    LoopState& l = g.loop;
    if (l.hero_order.empty()) {
        end_walk(l);
        l.route_dest_x = l.route_dest_y = -1;
        l.active_route.clear();
        l.active_markers.clear();
        // Without a hero the turn opens on the player's first town, not wherever the view was.
        if (!l.town_order.empty()) {
            const CastleState& c = g.state.castles[(size_t)l.town_order[0]];
            centre_view_on_tile(g.map, c.x, c.y, l.view_x, l.view_y);
        }
        return;
    }
    l.selected_hero = l.hero_order[0];
    if (resumed)
        for (int h : l.hero_order)
            if (g.state.heroes[(size_t)h].selected_at_save) l.selected_hero = h;
    sync_hero_list_row(l);
    load_hero_route(l, l.selected_hero);
    centre_view_on_hero(g, l.selected_hero);
}

// A human's turn starts its music afresh on the selected hero's ground; without a hero, none.
void restart_turn_music(MainState& m, int p) {
    if (!m.audio_on || !m.sounds.terrain_restart || !seat_is_human(game_of(m).state, p)) return;
    start_hero_music(m);
}

// A human seat's turn is announced: the seats knocked out since the last human turn first (not again
// on a resumed turn), then the turn with the seat's crest, then the days a player without a town has
// left (a resumed turn tells them again, as its start told them).
void announce_human_turn(MainState& m, int p, bool resumed) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    l.computer_turn_pending = false;
    const int colour = is_player_index(p) ? g.state.player_color[p] : 255;
    SDL_Texture* crest = m.res && colour >= 0 && colour < 4 ? m.res->colour_crests[colour] : nullptr;
    l.announcement_open = true;
    // Over the still hidden map.
    for (int out = resumed ? -1 : take_elimination_announcement(g.elimination); out >= 0;
         out = take_elimination_announcement(g.elimination))
        g.events.open_announcement(elimination_text(g.state, out), kMapViewArea, [](EventResult) {});
    g.events.open_crest_announcement(player_turn_text(g.state, p), crest, m.res ? m.res->second_crest : nullptr, 2,
                                     kMapViewArea, [&m](EventResult) {
                                         if (!m.game) return;
                                         LoopState& loop = game_of(m).loop;
                                         loop.announcement_open = false;
                                         // The turn opens on the date.
                                         loop.summary_view = SummaryView{SUMMARY_DATE, m.now_ms + kSummaryViewMs};
                                     });
    // The dialog queues behind the turn's.
    const int32_t days_left = resumed ? countdown_told(g.elimination, p) : take_elimination_warning(g.elimination, p);
    if (days_left >= 0) {
        EventDef warn;
        warn.text = elimination_warning_message(days_left);
        warn.buttons = {EVENT_BUTTON_OK};
        g.events.open_announcement(warn, kMapViewArea, [](EventResult) {});
    }
}

// A seat's turn opens: started afresh, or resumed from a save, in which case nothing the turn's start
// already did in the saved game is done again (a day off the countdown, a computer's turn begun, the
// seats knocked out told) and the hero selected then is selected again. ViewOnly resumes the seat's
// lists, selection and view and stops there.
void open_turn(MainState& m, int p, TurnOpening how) {
    GameSession& g = game_of(m);
    const bool resumed = how != TurnOpening::Start;
    open_seat_lists(m, p, resumed);
    select_turn_hero(g, resumed);
    g.loop.summary_view = SummaryView{};
    restart_turn_music(m, p);
    if (how == TurnOpening::ViewOnly) return;
    if (!resumed && process_turn_start_elimination_warning(g.elimination, p)) {
        // The no-town countdown ran out: the player is out, and the turn passes once that is said.
        announce_elimination_and_pass(m, p);
        return;
    }
    if (is_player_index(p) && !seat_is_human(g.state, p)) {
        begin_computer_turn(m, p);
        return;
    }
    announce_human_turn(m, p, resumed);
}

}  // namespace

void start_player_turn(MainState& m, int p) { open_turn(m, p, TurnOpening::Start); }

void resume_loaded_game(MainState& m, int saved) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    const std::vector<int>& order = l.player_order;
    const bool human = seat_is_human(g.state, saved) && g.state.seat_active(saved);
    if (g.state.day_over) {
        // Through the new-day pause the screen is a human's: the saved seat's, else the first to play.
        int shown = saved;
        for (size_t i = 0; i < order.size() && !human; ++i)
            if (seat_is_human(g.state, order[i])) {
                shown = order[i];
                break;
            }
        open_turn(m, shown, TurnOpening::ViewOnly);
        l.day_over = order.size() > 1;
        turn_the_day(m);
        return;
    }
    // A computer's turn is only ever saved once the day is over: it has no turn to resume.
    if (human && std::find(order.begin(), order.end(), saved) != order.end() &&
        !is_player_eliminated(g.elimination, saved)) {
        open_turn(m, saved, TurnOpening::Resume);
        return;
    }
    start_player_turn(m, opening_seat(g, human ? saved : -1));
}

void own_elimination_step(MainState& m) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    const int p = g.loop.current_player;
    if (g.events.dialog_open || g.loop.battle_open || g.new_day.active || !seat_is_human(g.state, p)) return;
    if (game_outcome(g) != GameOutcome::None) return;
    if (take_elimination_announcement(g.elimination, p)) announce_elimination_and_pass(m, p);
}

bool hot_seat_map_hidden(const GameSession& g) {
    if (!g.hot_seat) return false;
    const LoopState& l = g.loop;
    return l.announcement_open || g.new_day.active || l.day_over || !seat_is_human(g.state, l.current_player);
}

bool hero_can_still_move(const GameMap& map, const HeroState& hero, int points, const FogOfWar* fog) {
    const bool flat = (hero.crest & 0x0F) == MOVE_FLAT;
    for (int i = 0; i < 8; ++i) {
        const int cost =
            hero_step_cost(map, hero.x, hero.y, hero.x + kStepDx[i], hero.y + kStepDy[i], hero.on_boat != 0, flat, fog);
        if (cost >= 0 && points >= cost) return true;
    }
    return false;
}

void request_end_turn(MainState& m) {
    GameSession& g = game_of(m);
    const LoopState& l = g.loop;
    const int p = l.current_player;
    const FogOfWar* fog = p >= 0 && p < 4 ? &g.state.fog[p] : nullptr;
    for (size_t i = 0; i < g.state.heroes.size(); ++i) {
        const HeroState& h = g.state.heroes[i];
        if (!h.live || h.owner != p || i >= l.hero_move_points.size() || l.hero_move_points[i] <= 0) continue;
        if (!hero_can_still_move(g.map, h, l.hero_move_points[i], fog)) continue;
        EventDef def;
        def.text = strings().get("GAME_END_TURN_CONFIRM");
        def.buttons = {EVENT_BUTTON_ACCEPT, EVENT_BUTTON_DECLINE};
        def.mode = 3;
        g.events.open_announcement(def, kFullScreenArea, [&m](EventResult r) { end_turn_confirmed(m, r); });
        return;
    }
    end_current_turn(m);
}

void end_turn_confirmed(MainState& m, const EventResult& r) {
    if (m.game && r.button == EVENT_BUTTON_ACCEPT) end_current_turn(m);
}

void end_current_turn(MainState& m) {
    GameSession& g = game_of(m);
    stop_hero_movement(m);
    end_identify_hero(g.loop.identify, g.loop.current_player);
    g.loop.computer_turn_pending = false;
    if (g.loop.player_order.size() <= 1) {
        finish_day(m);
        return;
    }
    const int next = next_player_in_order(g);
    if (next >= 0) {
        start_player_turn(m, next);
    } else {
        g.loop.day_over = true;
        finish_day(m);
    }
}

void finish_day(MainState& m) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    // Every seat has played the day: the autosave says so, and its load goes on with the turnover.
    g.state.day_over = 1;
    if (m.settings.autosave) {
        const SavedEliminationState elim = refresh_before_save(g);
        AutosaveRequest req;
        req.state = &g.state;
        req.map = &g.map;
        req.config = &g.config;
        req.day = l.day;
        req.week = l.week;
        req.month = l.month;
        req.current_player = l.current_player;
        req.puzzle = &g.puzzle;
        req.elimination = &elim;
        const SaveOutcome saved = m.autosave ? m.autosave(req) : write_autosave(req);
        if (!saved.ok) {
            std::fprintf(stderr, "Autosave failed: %s (%s)\n", saved.path.c_str(), saved.reason.c_str());
            // A player relying on the autosave must know, and know it was the autosave.
            report_save_result(m, saved, true);
        }
    }
    turn_the_day(m);
}

namespace {

void turn_the_day(MainState& m) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    const int month_before = g.state.month;
    const uint32_t seed = (m.now_ms * 2654435761u) ^ (uint32_t)g.state.day;
    const WeekEvent ev = advance_day(g.state, g.map, l.hero_move_points, l.hero_day_points, &g.events, seed);
    rebuild_monster_guard_map(g.map);
    l.day = g.state.day;
    l.week = g.state.week;
    l.month = g.state.month;
    // Income and the calendar decide goals too: the new day may win the game.
    run_victory_check(m);
    g.new_day.month_changed = g.state.month != month_before;
    g.new_day.event_present = g.new_day.event_present_copy = ev.kind != 0;
    if (ev.kind != 0) {
        g.new_day.event_kind = ev.kind;
        g.new_day.event_name = ev.name;
        g.new_day.event_creature = ev.creature;
    }
    l.last_week_event = ev;
    l.week_announcement_pending = ev.kind != 0;
    l.summary_view = SummaryView{};
    g.events.timed_status = false;
    g.events.timed_status_ms = 0.0f;
    const bool audio = m.audio_on;
    std::array<bool, 4> eliminated{};
    for (int p = 0; p < 4; ++p) eliminated[(size_t)p] = is_player_eliminated(g.elimination, p);
    begin_new_day_animation(
        g.new_day, m.new_day_res, g.state, audio,
        [&m] {
            if (m.sounds.new_day_start) m.sounds.new_day_start();
            else if (m.play_sound) m.play_sound("NEWDAY.82M");
        },
        eliminated);
}

}  // namespace

std::string week_announcement_text(const WeekEvent& e, bool month_changed) {
    switch (e.kind) {
        case 0: return std::string();
        case 1:
            return strings().format(month_changed ? "ASTRO_AMBIENT_MONTH" : "ASTRO_AMBIENT_WEEK", {period_name_loc(e.name)});
        case 2: return strings().get("ASTRO_PLAGUE");
        default:
            return strings().format(e.monthly ? "ASTRO_MONTH_CREATURE" : "ASTRO_WEEK_CREATURE",
                                    {creature_period_plural(e.creature, e.name), creature_period_gen(e.creature, e.name)});
    }
}

void on_new_day_finished(MainState& m) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    if (m.audio_on && m.sounds.new_day_end) m.sounds.new_day_end();
    // A game the turnover decided ends on the new day, before any seat's turn opens over it.
    if (goal_decided(g)) return;
    // The announcement queues behind any dialog already open, so the turn announcement follows it.
    if (l.week_announcement_pending) {
        l.week_announcement_pending = false;
        EventDef def;
        def.text = week_announcement_text(l.last_week_event, g.new_day.month_changed);
        def.buttons = {EVENT_BUTTON_OK};
        if (!def.text.empty()) g.events.open_announcement(def, kMapViewArea, [](EventResult) {});
    }
    if (l.day_over) {
        l.day_over = false;
        // Only a turn's start makes a seat current: it keeps the outgoing human's view from the loop's
        // lists, which are still the last seat's.
        start_player_turn(m, opening_seat(g, -1));
    }
}

std::string period_name_loc(const std::string& name) {
    if (name.empty()) return std::string();
    std::string key = "NAME_";
    for (unsigned char c : name) key += std::isalpha(c) ? (char)std::toupper(c) : '_';
    key += "_GEN";
    const std::string& text = strings().get(key);
    return text != key ? text : name;
}

std::string creature_period_plural(int creature, const std::string& fallback) {
    return creature_period_text(creature, fallback, "PLURAL");
}

std::string creature_period_gen(int creature, const std::string& fallback) {
    return creature_period_text(creature, fallback, "GEN");
}

void remove_hero_from_map(MainState& m, int hero, bool keep_selection) {
    GameSession& g = game_of(m);
    if (!g.state.valid_hero(hero) || !g.state.heroes[hero].live) return;
    LoopState& l = g.loop;
    const auto it = std::find(l.hero_order.begin(), l.hero_order.end(), hero);
    const int row = it == l.hero_order.end() ? 0 : (int)(it - l.hero_order.begin());
    const HeroState& h = g.state.heroes[hero];
    const int x = h.x, y = h.y;
    fade_out_map_tile(m, h.x, h.y, "KILLFADE.82M");
    clear_hero_boat(g.state, g.map, hero);
    return_hero_to_pool(g.state, g.map, hero, 3);
    reset_hero_movement(g, hero);
    // Plans to the hero's tile led to the hero, unless it stood in a town's gate.
    if (const MapTile* t = g.map.tile(x, y); t && !t->is_town_entrance()) forget_routes_to(g, x, y);
    if (keep_selection) return;
    select_hero_at_list_index(g, row);
}

void dismiss_hero_from_play(MainState& m, int hero) {
    GameSession& g = game_of(m);
    if (!g.state.valid_hero(hero) || !g.state.heroes[(size_t)hero].live) return;
    remove_hero_from_map(m, hero, false);
    check_post_battle_eliminations(g.state, g.map, g.elimination, g.loop.current_player);
    // A seat's last hero gone may leave a rival alone on the map.
    run_victory_check(m);
}

}  // namespace vorn1
